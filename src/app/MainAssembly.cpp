#include "MainAssembly.h"

#include <QAbstractButton>
#include <QAction>
#include <QPushButton>
#include <QToolButton>

#include "AboutU.h"
#include "MainU.h"
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
#include "platform/QtPlatform.h"
#include "reports/MailMerge.h"
#include "reports/ReportU.h"
#include "reports/RptInventory.h"
#include "reports/RptInvoices.h"
#include "reports/RptProfile.h"
#include "reports/RptSales.h"
#include "reports/RptStatements.h"
#include "store/DriveDirU.h"

namespace {

void Connect(TMain* main, QAbstractButton* button, const MainCommands::Hook& hook) {
  if (hook) QObject::connect(button, &QAbstractButton::clicked, main, hook);
}

void Connect(TMain* main, QAction* item, const MainCommands::Hook& hook) {
  if (hook) QObject::connect(item, &QAction::triggered, main, hook);
}

}  // namespace

MainCommands ProgramCommands() {
  MainCommands commands;
  commands.BtnInvoice = invoicing::RunInvoiceCommand;
  commands.BtnInvLab = [] { labels::PrintLabels(labels::kInvoicesDated); };
  commands.BtnInvPrint = [] { PrintInvoices(true, true); };
  commands.SelectedDates2 = [] { PrintInvoices(true, true); };
  commands.SelectedInvoices1 = [] { PrintInvoices(false, true); };
  commands.WithBalancesDue2 = [] { PrintInvoices(true, false); };
  commands.SelectedBills2 = [] { PrintInvoices(false, false); };
  commands.WithBalances2 = [] { PrintStatements(true); };
  commands.SelectedCustomers4 = [] { PrintStatements(false); };
  commands.BtnCust = masterdata::RunCustomerCommand;
  commands.BtnGroups = masterdata::RunGroupCommand;
  commands.BtnProd = masterdata::RunProductCommand;
  commands.BtnPurchase = masterdata::RunPurchaseCommand;
  commands.Image4 = ProductListing;
  commands.Image5 = PurchasingReport;
  commands.BtnMMerge = reports::ExportMailMerge;
  commands.SelectedCustomers2 = [] { reports::CustomerProfile(false); };
  commands.SelectedGroups1 = [] { reports::CustomerProfile(true); };
  commands.SalesSummary1 = reports::SalesSummary;
  commands.ProductSummary1 = reports::SalesByProduct;
  commands.ProductBuyers1 = reports::ProductBuyers;
  commands.IncomeSummary1 = reports::DailyIncome;
  commands.ReceivableIncome1 = reports::Receivables;
  commands.ReceivablesAging1 = reports::ReceivablesAging;
  commands.TaxSummary1 = reports::TaxSummary;
  commands.GSTVATIncomeandCollections1 = reports::TaxCollections;
  commands.SelectedCustomers1 = [] { labels::PrintLabels(labels::kSelectedCustomers); };
  commands.InvoicesDated1 = [] { labels::PrintLabels(labels::kInvoicesDated); };
  commands.PastDueBilling1 = [] { labels::PrintLabels(labels::kPastDueBilling); };
  commands.BalanceDueStatement1 = [] { labels::PrintLabels(labels::kBalanceDue); };
  commands.CustomerGroups1 = [] { labels::PrintLabels(labels::kCustomerGroups); };
  commands.Inventory1 = InventoryReport;
  commands.CostofGoodsSold1 = CostOfGoodsReport;
  commands.StockOnHand1 = StockOnHandReport;
  commands.BtnStationary = masterdata::RunStationeryCommand;
  commands.BtnSTax = invoicing::RunTaxCommand;
  commands.BtnLabForms = labels::RunLabelFormsCommand;
  return commands;
}

void ConnectCommands(TMain* main, const MainCommands& commands) {
  Connect(main, main->BtnInvoice, commands.BtnInvoice);
  Connect(main, main->BtnInvLab, commands.BtnInvLab);
  Connect(main, main->BtnInvPrint, commands.BtnInvPrint);
  Connect(main, main->SelectedDates2, commands.SelectedDates2);
  Connect(main, main->SelectedInvoices1, commands.SelectedInvoices1);
  Connect(main, main->WithBalancesDue2, commands.WithBalancesDue2);
  Connect(main, main->SelectedBills2, commands.SelectedBills2);
  Connect(main, main->WithBalances2, commands.WithBalances2);
  Connect(main, main->SelectedCustomers4, commands.SelectedCustomers4);
  Connect(main, main->BtnCust, commands.BtnCust);
  Connect(main, main->BtnGroups, commands.BtnGroups);
  Connect(main, main->BtnProd, commands.BtnProd);
  Connect(main, main->BtnPurchase, commands.BtnPurchase);
  Connect(main, main->Image4, commands.Image4);
  Connect(main, main->Image5, commands.Image5);
  Connect(main, main->BtnMMerge, commands.BtnMMerge);
  Connect(main, main->SelectedCustomers2, commands.SelectedCustomers2);
  Connect(main, main->SelectedGroups1, commands.SelectedGroups1);
  Connect(main, main->SalesSummary1, commands.SalesSummary1);
  Connect(main, main->ProductSummary1, commands.ProductSummary1);
  Connect(main, main->ProductBuyers1, commands.ProductBuyers1);
  Connect(main, main->IncomeSummary1, commands.IncomeSummary1);
  Connect(main, main->ReceivableIncome1, commands.ReceivableIncome1);
  Connect(main, main->ReceivablesAging1, commands.ReceivablesAging1);
  Connect(main, main->TaxSummary1, commands.TaxSummary1);
  Connect(main, main->GSTVATIncomeandCollections1, commands.GSTVATIncomeandCollections1);
  Connect(main, main->SelectedCustomers1, commands.SelectedCustomers1);
  Connect(main, main->InvoicesDated1, commands.InvoicesDated1);
  Connect(main, main->PastDueBilling1, commands.PastDueBilling1);
  Connect(main, main->BalanceDueStatement1, commands.BalanceDueStatement1);
  Connect(main, main->CustomerGroups1, commands.CustomerGroups1);
  Connect(main, main->Inventory1, commands.Inventory1);
  Connect(main, main->CostofGoodsSold1, commands.CostofGoodsSold1);
  Connect(main, main->StockOnHand1, commands.StockOnHand1);
  Connect(main, main->BtnStationary, commands.BtnStationary);
  Connect(main, main->BtnSTax, commands.BtnSTax);
  Connect(main, main->BtnLabForms, commands.BtnLabForms);
}

void AssembleMainWindow(TMain* main, platform::QtPlatform* qt_platform) {
  // Children of the main window, so they live as long as it does.
  auto* about_form = new TAboutForm(main);
  main->SetAboutForm(about_form);
  qt_platform->RegisterWindow(platform::WindowId::kAboutForm, about_form);
  qt_platform->RegisterWindow(platform::WindowId::kDriveDir, new TDriveDir(main));
  masterdata::CreateMasterDataWindows(main, qt_platform);
  masterdata::CreateProdDefWindow(main, qt_platform);
  invoicing::CreateInvoiceWindows(main, qt_platform);
  reports::CreateReportWindows(main, qt_platform);
  masterdata::CreateStationaryWindow(main, qt_platform);
  masterdata::CreatePurDefWindow(main, qt_platform);
  invoicing::CreateTaxDefWindow(main, qt_platform);
  labels::CreateLabelDefWindow(main, qt_platform);
  labels::CreateLabPrintWindow(main, qt_platform);

  masterdata::SetHelpHandler([main](int context) { main->ShowHelp(context); });
  ConnectCommands(main, ProgramCommands());
  qt_platform->SetProgressHandlers([main](const QString& text) { main->ShowProgress(text); },
                                   [main](int percent) { main->SetProgress(percent); });
}
