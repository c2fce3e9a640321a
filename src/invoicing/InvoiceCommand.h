#pragma once
// The main window's "Create & Edit Invoices": opens the six tables the
// invoice window needs, loops the invoice pick list (opened on the last
// invoice) and the invoice window until the operator cancels, then closes
// every table and packs them all when a deletion is pending.

namespace invoicing {

void RunInvoiceCommand();

}  // namespace invoicing
