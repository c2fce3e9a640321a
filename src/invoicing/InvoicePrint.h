#pragma once
// Printing from the invoice window: the invoice as the window shows it,
// saved or not, laid out as one tax invoice and shown in the report viewer.

#include "invoicing/InvoiceDocSave.h"

namespace invoicing {

// "Print": refuses without a customer ("Customer must be selected to
// print"); otherwise copies the window's fields into the invoice in memory
// and shows the tax invoice. Nothing is written to the tables; a new
// invoice prints with the provisional number the window shows.
void PrintShownInvoice(const WindowFields& fields);

}  // namespace invoicing
