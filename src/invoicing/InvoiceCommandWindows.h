#pragma once
// Creating the invoice window and its line item, payment and payment list
// dialogs once for the run, registering them with the program's platform,
// and letting the invoice pick list's New open the invoice window.

class QWidget;

namespace platform {
class QtPlatform;
}

namespace invoicing {

// Creates TInvoice, TItemDef, TPmtDef and TPickPmt (in that order),
// parented to `parent`, and registers each under its window id. Creates them
// only once.
void CreateInvoiceWindows(QWidget* parent, platform::QtPlatform* qt_platform);

}  // namespace invoicing
