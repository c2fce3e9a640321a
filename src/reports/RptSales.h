#pragma once
// The sales, income, receivables and tax reports. Each opens its tables,
// asks what it needs (a date span, a product), composes its lines into the
// report buffer and shows them in the report viewer.

namespace reports {

// Per invoice of the span: items, the two computed charges and the total.
void SalesSummary();
// Quantity and sale total per product over the span.
void SalesByProduct();
// Who bought a chosen product within the span, and at what unit price.
void ProductBuyers();
// Payments of the span by day, with the daily totals.
void DailyIncome();
// Every invoice with an amount due (or a credit), its age and customer.
void Receivables();
// The open invoices of Receivables with their amounts in columns by age:
// 0-30, 31-60, 61-90 and over 90 days, totalled per column and in all.
void ReceivablesAging();
// Net item sales, the sales subject to each charge and the charges over the span.
void TaxSummary();
// Payments of the span with their GST/VAT part.
void TaxCollections();

}  // namespace reports
