#pragma once
// The main window: on its first show it opens the data directory (with the
// About box as splash) and then offers every command on five tabs, holds the
// preferences (report font, printer, customer order, inventory method) and
// shows the progress of long operations in its status bar.

#include <QMainWindow>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QStatusBar;
class QTabWidget;
class QToolButton;
class ProgressPanel;
class TAboutForm;
class THelpForm;

class TMain final : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr int kSplashMinimumMs = 1728;  // 2e-5 days

  explicit TMain(QWidget* parent = nullptr);
  ~TMain() override;

  // The About box shown as splash and by Help, About.
  void SetAboutForm(TAboutForm* about) { about_form_ = about; }
  // How long the splash stays at least (tests shorten it).
  void SetSplashMinimumMs(int ms) { splash_minimum_ms_ = ms; }

  // First show: runs once; false when the program must end.
  bool FormShow();
  // True once the first show has opened the data directory.
  bool Started() const { return started_; }

  // The status bar's progress display.
  void ShowProgress(const QString& text);
  void SetProgress(int percent);

  // Opens the help window on the topic of a help context.
  void ShowHelp(int context);
  THelpForm* HelpForm() const { return help_form_; }

  // Menus and tabs.
  QAction* Exit1;
  QAction* About1;
  QAction* HelpContents1;
  QTabWidget* PageControl1;
  QWidget* TabSheet1;
  QWidget* TabSheet2;
  QWidget* TabSheet3;
  QWidget* TabSheet4;
  QWidget* TabSheet5;

  // Invoices.
  QToolButton* BtnInvoice;
  QToolButton* BtnInvPrint;
  QToolButton* BtnInvLab;
  // Customers and Products.
  QToolButton* BtnCust;
  QToolButton* BtnGroups;
  QToolButton* BtnProd;
  QToolButton* BtnPurchase;
  QToolButton* Image4;
  QToolButton* Image5;
  // Report Generation.
  QToolButton* BtnRInv;
  QToolButton* BtnRProf;
  QToolButton* BtnRSales;
  QToolButton* BtnRLabels;
  QToolButton* BtnMMerge;
  QToolButton* BtnInvRpts;
  QMenu* PopupMenu1;
  QMenu* PopupMenu2;
  QMenu* PopupMenu3;
  QMenu* PopupMenu4;
  QMenu* PopupMenu5;
  QAction* SelectedCustomers2;
  QAction* SelectedGroups1;
  QAction* SalesSummary1;
  QAction* ProductSummary1;
  QAction* ProductBuyers1;
  QAction* IncomeSummary1;
  QAction* ReceivableIncome1;
  QAction* ReceivablesAging1;
  QAction* TaxSummary1;
  QAction* GSTVATIncomeandCollections1;
  QAction* SelectedDates2;
  QAction* SelectedInvoices1;
  QAction* WithBalancesDue2;
  QAction* SelectedBills2;
  QAction* WithBalances2;
  QAction* SelectedCustomers4;
  QAction* SelectedCustomers1;
  QAction* InvoicesDated1;
  QAction* PastDueBilling1;
  QAction* BalanceDueStatement1;
  QAction* CustomerGroups1;
  QAction* Inventory1;
  QAction* CostofGoodsSold1;
  QAction* StockOnHand1;
  // Preferences.
  QPushButton* BtnStationary;
  QPushButton* BtnFont;
  QLineEdit* Edit1;
  QPushButton* BtnPSetup;
  QLineEdit* Edit2;
  QGroupBox* GroupBox1;
  QRadioButton* RadioButton1;
  QRadioButton* RadioButton2;
  QGroupBox* GroupBox2;
  QRadioButton* RadioButton3;
  QRadioButton* RadioButton4;
  QPushButton* BtnSTax;
  QPushButton* BtnLabForms;
  // File Maintenance.
  QToolButton* BtnBackup;
  QToolButton* BtnRestore;
  QToolButton* BtnIndex;
  QToolButton* BtnPack;
  QToolButton* BtnErase;
  // One help button per tab.
  QPushButton* BitBtn1;
  QPushButton* BitBtn2;
  QPushButton* BitBtn3;
  QPushButton* BitBtn4;
  QPushButton* BitBtn5;
  // Status bar: panel 0 the progress band, panel 1 the text.
  QStatusBar* StatusBar1;
  ProgressPanel* ProgressBar;
  QLabel* StatusText;

  // Command handlers.
  void BtnFontClick();
  void BtnPSetupClick();
  void GroupBox1Exit();
  void GroupBox2Exit();
  void BtnBackupClick();
  void BtnRestoreClick();
  void BtnIndexClick();
  void BtnPackClick();
  void BtnEraseClick();
  void Exit1Click();
  void About1Click();
  void HelpContents1Click();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  QWidget* BuildInvoicesTab();
  QWidget* BuildCustomersTab();
  QWidget* BuildReportsTab();
  QWidget* BuildPreferencesTab();
  QWidget* BuildFileMaintenanceTab();
  QPushButton* AddHelpButton(QWidget* page, const char* name, int context);
  void ShowPrinter();
  void ShowReportFont();
  void StoreSortAndMethod();
  void FocusChanged(QWidget* old_widget, QWidget* new_widget);
  int CurrentHelpContext() const;
  void FormClose();

  TAboutForm* about_form_ = nullptr;
  THelpForm* help_form_ = nullptr;
  int splash_minimum_ms_ = kSplashMinimumMs;
  bool first_show_done_ = false;
  bool started_ = false;
  bool closed_ = false;
};
