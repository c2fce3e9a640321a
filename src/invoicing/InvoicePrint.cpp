#include "invoicing/InvoicePrint.h"

#include "platform/Platform.h"
#include "reports/ReportRun.h"
#include "reports/RptInvoices.h"
#include "store/dbFiles.h"

namespace invoicing {

void PrintShownInvoice(const WindowFields& fields) {
  if (InvRec.CuNo == 0) {
    platform::Current().Inform(QStringLiteral("Customer must be selected to print"));
    return;
  }
  CopyWindowToInvoice(fields);
  InitInvoiceLayout();
  PutInvoice(true);
  // The invoice command keeps its tables open: only the viewer and the buffer.
  reports::ShowReport();
}

}  // namespace invoicing
