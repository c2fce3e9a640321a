#pragma once
// The product and stock reports: the product listing, the purchasing report
// for a span, stock on hand today with the products to reorder, inventory
// value as of a date, and the cost of goods sold for a span. The last three
// cost every tracked product with CostProduct.

void ProductListing();
void PurchasingReport();
void StockOnHandReport();
void InventoryReport();
void CostOfGoodsReport();
