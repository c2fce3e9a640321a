#pragma once
// Tax invoices and bills on the firm's stationery: each invoice one
// document starting on a new page with the letterhead, the customer's
// address, the invoice number and date, a boxed table of the line items,
// the totals box, and (on tax invoices) the product texts and the invoice
// note at the foot. Several documents share one report buffer; the viewer
// prints or exports them together.

// The invoice and bill commands: by a date span (one day for invoices, the
// month for bills; bills without a balance due are left out) or for
// invoices picked one after another from the invoice pick list. Shows the
// documents when there are any.
void PrintInvoices(bool byDates, bool invoiceMode);

// Starts a report of invoices or bills: 73 columns, the boxed item table's
// column codes and headings.
void InitInvoiceLayout();

// Appends the current invoice (InvRec, ItemGrid, PaymentGrid, AddressBlock)
// as one document: a tax invoice, or a bill ("Statement" when nothing is
// due).
void PutInvoice(bool invoiceMode);
