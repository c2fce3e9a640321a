#include "invoicing/InvoiceCommandWindows.h"

#include "invoicing/InvoiceU.h"
#include "invoicing/ItemDefU.h"
#include "invoicing/PickPmtU.h"
#include "invoicing/PmtDefU.h"
#include "masterdata/PickU.h"
#include "platform/QtPlatform.h"

namespace invoicing {

void CreateInvoiceWindows(QWidget* parent, platform::QtPlatform* qt_platform) {
  static bool created = false;
  if (created || qt_platform == nullptr) return;
  created = true;
  using platform::WindowId;
  qt_platform->RegisterWindow(WindowId::kInvoice, new TInvoice(parent));
  qt_platform->RegisterWindow(WindowId::kItemDef, new TItemDef(parent));
  qt_platform->RegisterWindow(WindowId::kPmtDef, new TPmtDef(parent));
  qt_platform->RegisterWindow(WindowId::kPickPmt, new TPickPmt(parent));
  masterdata::SetEditorReady(WindowId::kInvoice, true);
}

}  // namespace invoicing
