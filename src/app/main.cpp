// Pelmark Invoicing: creates every window once, in order, and runs the
// message loop until the main window closes.

#include <QApplication>

#include <QAbstractButton>
#include <QAction>
#include <QCommandLineParser>
#include <functional>

#include "AboutU.h"
#include "invoicing/InvoiceCommand.h"
#include "invoicing/InvoiceCommandWindows.h"
#include "invoicing/TaxDefEdit.h"
#include "invoicing/TaxDefU.h"
#include "labels/LabPrintU.h"
#include "labels/LabelDefEdit.h"
#include "labels/LabelDefU.h"
#include "labels/LabelGen.h"
#include "masterdata/MasterCommands.h"
#include "masterdata/MasterDataWindows.h"
#include "masterdata/ProdDefEdit.h"
#include "masterdata/ProdDefU.h"
#include "masterdata/PurDefEdit.h"
#include "masterdata/PurDefU.h"
#include "masterdata/StationaryEdit.h"
#include "masterdata/StationaryU.h"
#include "MainU.h"
#include "OpenDataDir.h"
#include "platform/QtPlatform.h"
#include "reports/MailMerge.h"
#include "reports/ReportU.h"
#include "reports/RptInventory.h"
#include "reports/RptSales.h"
#include "reports/RptProfile.h"
#include "reports/RptInvoices.h"
#include "reports/RptStatements.h"
#include "store/DriveDirU.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Pelmark Invoicing");
  QApplication::setApplicationVersion(PELMARK_VERSION);
  QGuiApplication::setDesktopFileName("pelmark");

  // Plain `pelmark` works on the current directory; the desktop menu starts
  // `pelmark --open`, which first goes to the data directory used last.
  QCommandLineParser options;
  options.setApplicationDescription("Pelmark Invoicing");
  options.addHelpOption();
  options.addVersionOption();
  const QCommandLineOption open_option(
      "open", "Start in the data directory used last, or choose or make one.");
  options.addOption(open_option);
  options.process(app);

  platform::QtPlatform qt_platform;
  platform::Install(&qt_platform);

  TMain Main;
  TAboutForm AboutForm(&Main);
  TDriveDir DriveDir(&Main);
  Main.SetAboutForm(&AboutForm);
  qt_platform.RegisterWindow(platform::WindowId::kAboutForm, &AboutForm);
  qt_platform.RegisterWindow(platform::WindowId::kDriveDir, &DriveDir);
  masterdata::CreateMasterDataWindows(&Main, &qt_platform);
  masterdata::CreateProdDefWindow(&Main, &qt_platform);
  invoicing::CreateInvoiceWindows(&Main, &qt_platform);
  reports::CreateReportWindows(&Main, &qt_platform);
  masterdata::CreateStationaryWindow(&Main, &qt_platform);
  masterdata::CreatePurDefWindow(&Main, &qt_platform);
  invoicing::CreateTaxDefWindow(&Main, &qt_platform);
  labels::CreateLabelDefWindow(&Main, &qt_platform);
  labels::CreateLabPrintWindow(&Main, &qt_platform);

  masterdata::SetHelpHandler([&Main](int context) { Main.ShowHelp(context); });

  // The commands whose windows exist.
  const std::pair<const char*, std::function<void()>> commands[] = {
      {"BtnInvoice", invoicing::RunInvoiceCommand},
      {"BtnCust", masterdata::RunCustomerCommand},
      {"BtnGroups", masterdata::RunGroupCommand},
      {"BtnProd", masterdata::RunProductCommand},
      {"BtnPurchase", masterdata::RunPurchaseCommand},
      {"BtnStationary", masterdata::RunStationeryCommand},
      {"BtnSTax", invoicing::RunTaxCommand},
      {"BtnLabForms", labels::RunLabelFormsCommand},
      {"Image4", ProductListing},
      {"Image5", PurchasingReport},
      {"Inventory1", InventoryReport},
      {"CostofGoodsSold1", CostOfGoodsReport},
      {"StockOnHand1", StockOnHandReport},
      {"SalesSummary1", reports::SalesSummary},
      {"ProductSummary1", reports::SalesByProduct},
      {"ProductBuyers1", reports::ProductBuyers},
      {"IncomeSummary1", reports::DailyIncome},
      {"ReceivableIncome1", reports::Receivables},
      {"ReceivablesAging1", reports::ReceivablesAging},
      {"TaxSummary1", reports::TaxSummary},
      {"GSTVATIncomeandCollections1", reports::TaxCollections},
      {"BtnMMerge", reports::ExportMailMerge},
      {"BtnInvLab", [] { labels::PrintLabels(labels::kInvoicesDated); }},
      // Menu items.
      {"SelectedCustomers2", [] { reports::CustomerProfile(false); }},
      {"SelectedGroups1", [] { reports::CustomerProfile(true); }},
      {"SelectedCustomers1", [] { labels::PrintLabels(labels::kSelectedCustomers); }},
      {"InvoicesDated1", [] { labels::PrintLabels(labels::kInvoicesDated); }},
      {"PastDueBilling1", [] { labels::PrintLabels(labels::kPastDueBilling); }},
      {"BalanceDueStatement1", [] { labels::PrintLabels(labels::kBalanceDue); }},
      {"CustomerGroups1", [] { labels::PrintLabels(labels::kCustomerGroups); }},
      {"BtnInvPrint", [] { PrintInvoices(true, true); }},
      {"SelectedDates2", [] { PrintInvoices(true, true); }},
      {"SelectedInvoices1", [] { PrintInvoices(false, true); }},
      {"WithBalancesDue2", [] { PrintInvoices(true, false); }},
      {"SelectedBills2", [] { PrintInvoices(false, false); }},
      {"WithBalances2", [] { PrintStatements(true); }},
      {"SelectedCustomers4", [] { PrintStatements(false); }},
  };
  for (const auto& [name, run] : commands) {
    if (auto* button = Main.findChild<QAbstractButton*>(name)) {
      QObject::connect(button, &QAbstractButton::clicked, &Main, run);
    } else if (auto* item = Main.findChild<QAction*>(name)) {
      QObject::connect(item, &QAction::triggered, &Main, run);
    }
  }

  if (options.isSet(open_option) && !ChangeToDataDirectory()) {
    platform::Install(nullptr);
    return 0;  // the operator cancelled the chooser
  }

  qt_platform.SetProgressHandlers([&Main](const QString& text) { Main.ShowProgress(text); },
                                  [&Main](int percent) { Main.SetProgress(percent); });

  Main.show();
  const int exit_code = app.exec();
  platform::Install(nullptr);
  return exit_code;
}
