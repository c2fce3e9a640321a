#include "invoicing/InvoiceCommand.h"

#include "engine/TableEngine.h"
#include "masterdata/PickU.h"
#include "platform/Platform.h"
#include "store/CodeBase.h"
#include "store/EngineResult.h"
#include "store/FileMaint.h"
#include "store/dbFiles.h"

namespace invoicing {

void RunInvoiceCommand() {
  if (!OpenCustomers() || !OpenGroups() || !OpenInvoices() || !OpenLineItems() || !OpenPayments() ||
      !OpenProducts()) {
    CloseAllTables();
    return;
  }
  // The list opens on its last page, on the last invoice.
  SelInv = d4bottom(InvDb) == r4success ? d4recNo(InvDb) : 0;
  store::TakeResult(store::Table::kInvoices);
  bool is_new = false;
  while (masterdata::PickInvoice(true, &is_new)) {
    if (!is_new) platform::Current().ShowModal(platform::WindowId::kInvoice);
  }
  CloseAllTables();
  // Customers or products deleted from inside the invoice window.
  if (PackPending) PackAll();
}

}  // namespace invoicing
