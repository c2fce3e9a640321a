#pragma once
// The main window put together: the program's windows created once, in
// order, and registered with the platform, and every command of the five
// tabs connected to its control. Each command is a typed hook named after
// its control, so a misspelt control is a build error rather than a dead
// button; a control whose command does not exist yet has no hook and stays
// disabled.

#include <functional>

class TMain;

namespace platform {
class QtPlatform;
}

struct MainCommands {
  using Hook = std::function<void()>;
  // Invoices, and the menus of the print button (invoices, bills,
  // statements).
  Hook BtnInvoice;
  Hook BtnInvLab;
  Hook BtnInvPrint;
  Hook SelectedDates2;
  Hook SelectedInvoices1;
  Hook WithBalancesDue2;
  Hook SelectedBills2;
  Hook WithBalances2;
  Hook SelectedCustomers4;
  // Customers and Products.
  Hook BtnCust;
  Hook BtnGroups;
  Hook BtnProd;
  Hook BtnPurchase;
  Hook Image4;
  Hook Image5;
  // Report Generation: the mail-merge button and the menus of the report
  // buttons (purchasing profile, sales and tax, labels, inventory).
  Hook BtnMMerge;
  Hook SelectedCustomers2;
  Hook SelectedGroups1;
  Hook SalesSummary1;
  Hook ProductSummary1;
  Hook ProductBuyers1;
  Hook IncomeSummary1;
  Hook ReceivableIncome1;
  Hook ReceivablesAging1;
  Hook TaxSummary1;
  Hook GSTVATIncomeandCollections1;
  Hook SelectedCustomers1;
  Hook InvoicesDated1;
  Hook PastDueBilling1;
  Hook BalanceDueStatement1;
  Hook CustomerGroups1;
  Hook Inventory1;
  Hook CostofGoodsSold1;
  Hook StockOnHand1;
  // Preferences.
  Hook BtnStationary;
  Hook BtnSTax;
  Hook BtnLabForms;
};

// The program's own commands.
MainCommands ProgramCommands();

// Connects each hook to its control's click or trigger.
void ConnectCommands(TMain* main, const MainCommands& commands);

// Creates the About box, the drive chooser and every window the logic opens,
// registers them with the platform, routes help and progress to the main
// window, and connects the program's commands.
void AssembleMainWindow(TMain* main, platform::QtPlatform* qt_platform);
