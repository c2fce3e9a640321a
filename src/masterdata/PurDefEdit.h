#pragma once
// The inventory purchase editor and the purchase maintenance command without
// their window: opening a purchase (a new one dated today), choosing its
// product through the product pick list, saving it (a product chosen during
// this opening becomes an inventory item), deleting it, and the pick-and-edit
// loop of "Add & Edit Inventory Purchases". Works on PurRec, SelPur, ProdRec,
// SelProd and the open Pur5 and Prod5 tables.

#include <QString>

#include "util/DateUtil.h"

namespace masterdata {

inline constexpr int kHelpPurDef = 450;

// The editor's fields: the product ID shown, the date picked, the amounts as
// their field texts.
struct PurchaseForm {
  QString product_id;
  TDate date = 0;
  QString quantity;  // "%10.2f"
  QString cost;      // "%12.2f"
};

struct PurchaseOpening {
  bool delete_enabled = false;
  PurchaseForm form;  // a new purchase: no product, today, 0.00 and 0.00
};

// Loads the purchase SelPur names (greater than 0), or clears PurRec for a
// new one (dated today) and sets SelPur to -1. Forgets any product chosen during an earlier
// opening.
PurchaseOpening OpenPurchaseEditor();

// The "Product" button: the product pick list (New allowed) opens on the
// first product; when a product was chosen or created it is remembered for
// the save and true is returned with its ID.
[[nodiscard]] bool ChoosePurchaseProduct(QString* product_id);

// Save: false (the editor stays open, nothing written) without a product, for
// an amount that is not a number, or when no record could be appended; true
// when stored (SelPur names the record). A product chosen with the button
// during this opening is then marked as an inventory item.
[[nodiscard]] bool SavePurchase(const PurchaseForm& form);

// Marks the purchase SelPur names for deletion and sets the pack-pending flag.
void DeletePurchase();

// "Add & Edit Inventory Purchases": opens Pur5 and Prod5, loops the purchase
// pick list and the editor until the pick list is cancelled, closes every
// table and packs Pur5 when a deletion is pending.
void RunPurchaseCommand();

}  // namespace masterdata
