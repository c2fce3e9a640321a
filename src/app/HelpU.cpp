#include "HelpU.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "invoicing/InvoiceU.h"
#include "invoicing/ItemDefU.h"
#include "invoicing/TaxDefEdit.h"
#include "labels/LabelDefEdit.h"
#include "masterdata/MasterDataWindows.h"
#include "masterdata/ProdDefEdit.h"
#include "masterdata/PurDefEdit.h"
#include "masterdata/StationaryEdit.h"

namespace {

struct Topic {
  int context;
  const char* page;
};

constexpr Topic kTopics[] = {
    {kHelpMainWindow, "main-window.html"},
    {kHelpInvoices, "invoices.html"},
    {kHelpCustomers, "customers-products.html"},
    {kHelpReports, "reports.html"},
    {kHelpPreferences, "preferences.html"},
    {kHelpFileMaintenance, "file-maintenance.html"},
    {kHelpInvoice, "invoice.html"},
    {kHelpItemDef, "line-item.html"},
    {invoicing::kHelpTaxDef, "sales-tax.html"},
    {masterdata::kHelpCustomer, "customer.html"},
    {masterdata::kHelpGroup, "customer-group.html"},
    {masterdata::kHelpProdDef, "product.html"},
    {masterdata::kHelpPurDef, "purchase.html"},
    {masterdata::kHelpStationary, "stationery.html"},
    {labels::kHelpLabelDef, "label-stock.html"},
};

}  // namespace

// The help pages are compiled into this library; a static library's
// resources must be registered by hand.
static void RegisterHelpPages() {
  static const bool registered = [] {
    Q_INIT_RESOURCE(help);
    return true;
  }();
  (void)registered;
}

QUrl HelpContents() { return QUrl("qrc:/help/contents.html"); }

QUrl HelpTopic(int context) {
  for (const Topic& topic : kTopics) {
    if (topic.context == context) return QUrl(QString("qrc:/help/") + topic.page);
  }
  return HelpContents();
}

THelpForm::THelpForm(QWidget* parent) : QDialog(parent) {
  RegisterHelpPages();
  setObjectName("HelpForm");
  setWindowTitle("Pelmark Invoicing Help");
  setModal(false);

  HelpBrowser = new QTextBrowser(this);
  HelpBrowser->setObjectName("HelpBrowser");
  HelpBrowser->setAccessibleName("Help text");
  HelpBrowser->setOpenLinks(true);

  BtnContents = new QPushButton("&Contents", this);
  BtnContents->setObjectName("BtnContents");
  BtnBack = new QPushButton("&Back", this);
  BtnBack->setObjectName("BtnBack");
  BtnClose = new QPushButton("C&lose", this);
  BtnClose->setObjectName("BtnClose");
  connect(BtnContents, &QPushButton::clicked, this, [this] { ShowPage(HelpContents()); });
  connect(BtnBack, &QPushButton::clicked, HelpBrowser, &QTextBrowser::backward);
  connect(HelpBrowser, &QTextBrowser::backwardAvailable, BtnBack, &QPushButton::setEnabled);
  connect(BtnClose, &QPushButton::clicked, this, &QDialog::close);
  BtnBack->setEnabled(false);

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(BtnContents);
  buttons->addWidget(BtnBack);
  buttons->addStretch(1);
  buttons->addWidget(BtnClose);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(HelpBrowser, 1);
  resize(560, 480);
}

void THelpForm::ShowPage(const QUrl& page) {
  HelpBrowser->setSource(page);
  show();
  raise();
  activateWindow();
}
