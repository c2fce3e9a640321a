#include "MainU.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMetaObject>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include "AboutU.h"
#include "HelpU.h"
#include "ProgressPanel.h"
#include "Startup.h"
#include "VersionText.h"
#include "platform/Platform.h"
#include "platform/PrintSetup.h"
#include "store/FileMaint.h"
#include "store/dbFiles.h"
#include "util/WindowKit.h"

namespace {

constexpr int kIconSize = 40;
constexpr char kHelpContextProperty[] = "helpContext";
constexpr char kHintLabelProperty[] = "hintLabel";
// Edit2's text when the system has no printer.
constexpr char kNoPrinterText[] = "Print to PDF";

// Keeps a preference the moment it is changed. When it cannot be written the
// operator has been told, and the choice still holds for this run.
void KeepSettings() { (void)SaveSettings(); }

// Picture buttons use the desktop's icon theme. Without a desktop (no theme
// set, the system's icon folders unknown) they use Adwaita where installed,
// and the style's own pictures otherwise.
void UseIconTheme() {
  QStringList paths = QIcon::themeSearchPaths();
  for (const QString& dir : QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, "icons",
                                                      QStandardPaths::LocateDirectory)) {
    if (!paths.contains(dir)) paths << dir;
  }
  QIcon::setThemeSearchPaths(paths);
  if (QIcon::fallbackThemeName().isEmpty() || QIcon::fallbackThemeName() == "hicolor") {
    QIcon::setFallbackThemeName("Adwaita");
  }
  if (QIcon::themeName().isEmpty()) QIcon::setThemeName(QIcon::fallbackThemeName());
}

QIcon ThemeIcon(const char* name, QStyle::StandardPixmap fallback) {
  return QIcon::fromTheme(name, QApplication::style()->standardIcon(fallback));
}

// A picture button: the icon, its hint as tool tip and accessible name, and
// the hint written beside it so the tab reads without hovering.
QToolButton* AddPicture(QGridLayout* grid, int row, int column, const char* name,
                        const QString& hint, const char* icon, QStyle::StandardPixmap fallback) {
  auto* button = new QToolButton;
  button->setObjectName(name);
  button->setIcon(ThemeIcon(icon, fallback));
  button->setIconSize(QSize(kIconSize, kIconSize));
  button->setToolTip(hint);
  button->setAccessibleName(hint);
  button->setAutoRaise(false);
  button->setFocusPolicy(Qt::StrongFocus);
  // "&" would mark a mnemonic in a label; the hint shows it as written.
  auto* label = new QLabel(QString(hint).replace("&", "&&"));
  label->setObjectName(QString(name) + "Label");
  label->setBuddy(button);
  label->setWordWrap(true);
  button->setProperty(kHintLabelProperty, QVariant::fromValue<QObject*>(label));
  grid->addWidget(button, row, column * 2);
  grid->addWidget(label, row, column * 2 + 1);
  return button;
}

QGridLayout* CommandGrid() {
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(10);
  grid->setVerticalSpacing(12);
  grid->setColumnStretch(1, 1);
  grid->setColumnStretch(3, 1);
  return grid;
}

// A menu item named as its handler's stem ("SalesSummary1").
QAction* AddItem(QMenu* menu, const char* caption, const char* name) {
  QAction* item = menu->addAction(caption);
  item->setObjectName(name);
  return item;
}

}  // namespace

TMain::TMain(QWidget* parent) : QMainWindow(parent) {
  UseIconTheme();
  setObjectName("Main");
  setWindowTitle("Pelmark Invoicing");
  setWindowIcon(ThemeIcon("accessories-text-editor", QStyle::SP_FileIcon));

  BuildMenus();

  PageControl1 = new QTabWidget(this);
  PageControl1->setObjectName("PageControl1");
  PageControl1->setAccessibleName("Commands");
  TabSheet1 = BuildInvoicesTab();
  TabSheet2 = BuildCustomersTab();
  TabSheet3 = BuildReportsTab();
  TabSheet4 = BuildPreferencesTab();
  TabSheet5 = BuildFileMaintenanceTab();
  PageControl1->addTab(TabSheet1, "Invoices");
  PageControl1->addTab(TabSheet2, "Customers and Products");
  PageControl1->addTab(TabSheet3, "Report Generation");
  PageControl1->addTab(TabSheet4, "Preferences");
  PageControl1->addTab(TabSheet5, "File Maintenance");
  setCentralWidget(PageControl1);
  setProperty(kHelpContextProperty, kHelpMainWindow);

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName("StatusBar1");
  StatusBar1->setSizeGripEnabled(false);
  ProgressBar = new ProgressPanel(StatusBar1);
  StatusText = new QLabel(StatusBar1);
  StatusText->setObjectName("StatusText");
  // Named by its text, so a screen reader reads the operation under way;
  // the description says what the text is.
  StatusText->setAccessibleDescription("Status");
  StatusBar1->addWidget(ProgressBar);
  StatusBar1->addWidget(StatusText, 1);
  setStatusBar(StatusBar1);

  help_form_ = new THelpForm(this);
  auto* help_key = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(help_key, &QShortcut::activated, this, [this] { ShowHelp(CurrentHelpContext()); });

  connect(qApp, &QApplication::focusChanged, this, &TMain::FocusChanged);
  resize(780, 460);
}

TMain::~TMain() = default;

void TMain::BuildMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  file->setObjectName("File1");
  Exit1 = file->addAction("E&xit");
  Exit1->setObjectName("Exit1");
  connect(Exit1, &QAction::triggered, this, &TMain::Exit1Click);

  QMenu* help = menuBar()->addMenu("&Help");
  help->setObjectName("Help1");
  About1 = help->addAction("About");
  About1->setObjectName("About1");
  HelpContents1 = help->addAction("Help &Contents");
  HelpContents1->setObjectName("HelpContents1");
  connect(About1, &QAction::triggered, this, &TMain::About1Click);
  connect(HelpContents1, &QAction::triggered, this, &TMain::HelpContents1Click);
}

QPushButton* TMain::AddHelpButton(QWidget* page, const char* name, int context) {
  page->setProperty(kHelpContextProperty, context);
  auto* button = new QPushButton(ThemeIcon("help-browser", QStyle::SP_DialogHelpButton), "&Help");
  button->setObjectName(name);
  button->setAccessibleName("Help");
  button->setToolTip("Help on this page");
  connect(button, &QPushButton::clicked, this, [this, context] { ShowHelp(context); });
  return button;
}

// A tab page: the command grid above, the help button at the bottom right.
static QWidget* Page(QWidget* page, const char* name, QLayout* commands, QPushButton* help) {
  page->setObjectName(name);
  auto* layout = new QVBoxLayout(page);
  layout->addLayout(commands);
  layout->addStretch(1);
  auto* bottom = new QHBoxLayout;
  bottom->addStretch(1);
  bottom->addWidget(help);
  layout->addLayout(bottom);
  return page;
}

QWidget* TMain::BuildInvoicesTab() {
  auto* page = new QWidget;
  auto* grid = CommandGrid();
  BtnInvoice = AddPicture(grid, 0, 0, "BtnInvoice", "Create & Edit Invoices", "document-new",
                          QStyle::SP_FileIcon);
  BtnInvPrint = AddPicture(grid, 1, 0, "BtnInvPrint", "Print Invoices for specified date(s)",
                           "document-print", QStyle::SP_FileDialogDetailedView);
  BtnInvLab = AddPicture(grid, 2, 0, "BtnInvLab", "Print Mailing Labels for Invoice Date(s)",
                         "x-office-address-book", QStyle::SP_FileDialogListView);
  BitBtn1 = AddHelpButton(page, "BitBtn1", kHelpInvoices);
  return Page(page, "TabSheet1", grid, BitBtn1);
}

QWidget* TMain::BuildCustomersTab() {
  auto* page = new QWidget;
  auto* grid = CommandGrid();
  BtnCust = AddPicture(grid, 0, 0, "BtnCust", "Add & Edit Customers", "contact-new",
                       QStyle::SP_DirHomeIcon);
  BtnGroups = AddPicture(grid, 1, 0, "BtnGroups", "Add & Edit Customer Groups", "system-users",
                         QStyle::SP_DirIcon);
  BtnProd = AddPicture(grid, 2, 0, "BtnProd", "Add & Edit Products / Services", "package-x-generic",
                       QStyle::SP_DriveHDIcon);
  BtnPurchase = AddPicture(grid, 3, 0, "BtnPurchase", "Add & Edit Inventory Purchases", "list-add",
                           QStyle::SP_FileDialogNewFolder);
  Image4 = AddPicture(grid, 0, 1, "Image4", "Print Product Listing", "document-print-preview",
                      QStyle::SP_FileDialogContentsView);
  Image5 = AddPicture(grid, 1, 1, "Image5", "Print Purchasing Report", "document-print",
                      QStyle::SP_FileDialogDetailedView);
  BitBtn2 = AddHelpButton(page, "BitBtn2", kHelpCustomers);
  return Page(page, "TabSheet2", grid, BitBtn2);
}

QWidget* TMain::BuildReportsTab() {
  auto* page = new QWidget;
  auto* grid = CommandGrid();
  BtnRInv = AddPicture(grid, 0, 0, "BtnRInv", "Print Invoices, Bills or Customer Statements",
                       "document-print", QStyle::SP_FileDialogDetailedView);
  BtnRProf = AddPicture(grid, 1, 0, "BtnRProf", "Print Customer's Purchasing Profile",
                        "document-properties", QStyle::SP_FileDialogInfoView);
  BtnRSales = AddPicture(grid, 2, 0, "BtnRSales", "Print Sales & Tax Reports",
                         "accessories-calculator", QStyle::SP_ComputerIcon);
  BtnRLabels = AddPicture(grid, 0, 1, "BtnRLabels", "Print Address Labels", "x-office-address-book",
                          QStyle::SP_FileDialogListView);
  BtnMMerge = AddPicture(grid, 1, 1, "BtnMMerge", "Generate a Mail Merge File", "mail-message-new",
                         QStyle::SP_FileIcon);
  BtnInvRpts = AddPicture(grid, 2, 1, "BtnInvRpts", "Print Inventory Reports", "package-x-generic",
                          QStyle::SP_DriveHDIcon);

  PopupMenu1 = new QMenu(this);
  PopupMenu1->setObjectName("PopupMenu1");
  QMenu* invoices = PopupMenu1->addMenu("&Invoices");
  SelectedDates2 = AddItem(invoices, "Selected &Date(s)", "SelectedDates2");
  SelectedInvoices1 = AddItem(invoices, "Selected &Invoices", "SelectedInvoices1");
  QMenu* bills = PopupMenu1->addMenu("&Bills");
  WithBalancesDue2 = AddItem(bills, "&With Balances Due", "WithBalancesDue2");
  SelectedBills2 = AddItem(bills, "Selected &Bills", "SelectedBills2");
  QMenu* statements = PopupMenu1->addMenu("&Statements");
  WithBalances2 = AddItem(statements, "With &Balances", "WithBalances2");
  SelectedCustomers4 = AddItem(statements, "Selected &Customers", "SelectedCustomers4");
  PopupMenu4 = new QMenu(this);
  PopupMenu4->setObjectName("PopupMenu4");
  SelectedCustomers2 = AddItem(PopupMenu4, "Selected &Customers", "SelectedCustomers2");
  SelectedGroups1 = AddItem(PopupMenu4, "Selected &Groups", "SelectedGroups1");
  PopupMenu2 = new QMenu(this);
  PopupMenu2->setObjectName("PopupMenu2");
  SalesSummary1 = AddItem(PopupMenu2, "&Sales Summary", "SalesSummary1");
  ProductSummary1 = AddItem(PopupMenu2, "&Product Summary", "ProductSummary1");
  ProductBuyers1 = AddItem(PopupMenu2, "Product &Buyers", "ProductBuyers1");
  PopupMenu2->addSeparator();
  IncomeSummary1 = AddItem(PopupMenu2, "&Income Summary", "IncomeSummary1");
  ReceivableIncome1 = AddItem(PopupMenu2, "&Receivable Income", "ReceivableIncome1");
  ReceivablesAging1 = AddItem(PopupMenu2, "Receivables &Aging", "ReceivablesAging1");
  PopupMenu2->addSeparator();
  TaxSummary1 = AddItem(PopupMenu2, "&Tax Summary", "TaxSummary1");
  GSTVATIncomeandCollections1 =
      AddItem(PopupMenu2, "GST/VAT Income and Collections", "GSTVATIncomeandCollections1");
  PopupMenu5 = new QMenu(this);
  PopupMenu5->setObjectName("PopupMenu5");
  SelectedCustomers1 = AddItem(PopupMenu5, "&Selected Customers", "SelectedCustomers1");
  InvoicesDated1 = AddItem(PopupMenu5, "&Invoices Dated", "InvoicesDated1");
  PastDueBilling1 = AddItem(PopupMenu5, "&Past Due Billing", "PastDueBilling1");
  BalanceDueStatement1 = AddItem(PopupMenu5, "&Balance Due Statement", "BalanceDueStatement1");
  CustomerGroups1 = AddItem(PopupMenu5, "&Customer Group(s)", "CustomerGroups1");
  PopupMenu3 = new QMenu(this);
  PopupMenu3->setObjectName("PopupMenu3");
  Inventory1 = PopupMenu3->addAction("&Inventory");
  Inventory1->setObjectName("Inventory1");
  CostofGoodsSold1 = PopupMenu3->addAction("&Cost of Goods Sold");
  CostofGoodsSold1->setObjectName("CostofGoodsSold1");
  StockOnHand1 = PopupMenu3->addAction("&Stock On-Hand");
  StockOnHand1->setObjectName("StockOnHand1");

  // Each report button opens its menu where the mouse is.
  const std::pair<QToolButton*, QMenu*> menus[] = {{BtnRInv, PopupMenu1},
                                                   {BtnRProf, PopupMenu4},
                                                   {BtnRSales, PopupMenu2},
                                                   {BtnRLabels, PopupMenu5},
                                                   {BtnInvRpts, PopupMenu3}};
  for (const auto& [button, menu] : menus) {
    QMenu* popup = menu;
    connect(button, &QToolButton::clicked, this, [popup] { popup->popup(QCursor::pos()); });
  }
  BitBtn3 = AddHelpButton(page, "BitBtn3", kHelpReports);
  return Page(page, "TabSheet3", grid, BitBtn3);
}

QWidget* TMain::BuildPreferencesTab() {
  auto* page = new QWidget;
  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(10);
  grid->setVerticalSpacing(10);

  BtnStationary = util::MakeButton(page, "BtnStationary", "Stationery");
  BtnStationary->setToolTip("Set up custom stationary");

  BtnFont = util::MakeButton(page, "BtnFont", "Report Font");
  Edit1 = util::MakeEdit(page, "Edit1", "Report Font");
  Edit1->setReadOnly(true);

  BtnPSetup = util::MakeButton(page, "BtnPSetup", "Printer Setup");
  Edit2 = util::MakeEdit(page, "Edit2", "Printer");
  Edit2->setText(kNoPrinterText);
  Edit2->setReadOnly(true);

  GroupBox1 = new QGroupBox(" Display - Sort Customers ", page);
  GroupBox1->setObjectName("GroupBox1");
  GroupBox1->setToolTip("Select how customers are displayed in pick lists");
  RadioButton1 = util::MakeRadio(GroupBox1, "RadioButton1", "By Name");
  RadioButton2 = util::MakeRadio(GroupBox1, "RadioButton2", "By Company Name");
  auto* sort_layout = new QVBoxLayout(GroupBox1);
  sort_layout->addWidget(RadioButton1);
  sort_layout->addWidget(RadioButton2);

  GroupBox2 = new QGroupBox(" Inventory Method ", page);
  GroupBox2->setObjectName("GroupBox2");
  GroupBox2->setToolTip("Select Inventory Method");
  RadioButton3 = util::MakeRadio(GroupBox2, "RadioButton3", "First in - First out");
  RadioButton4 = util::MakeRadio(GroupBox2, "RadioButton4", "Last in - First out");
  auto* method_layout = new QVBoxLayout(GroupBox2);
  method_layout->addWidget(RadioButton3);
  method_layout->addWidget(RadioButton4);

  BtnSTax = util::MakeButton(page, "BtnSTax", "Sales Tax");
  BtnLabForms = util::MakeButton(page, "BtnLabForms", "Label Forms");

  grid->addWidget(BtnStationary, 0, 0);
  grid->addWidget(BtnFont, 1, 0);
  grid->addWidget(Edit1, 1, 1);
  grid->addWidget(BtnPSetup, 2, 0);
  grid->addWidget(Edit2, 2, 1);
  auto* groups = new QHBoxLayout;
  groups->addWidget(GroupBox1);
  groups->addWidget(GroupBox2);
  grid->addLayout(groups, 3, 0, 1, 2);
  grid->addWidget(BtnSTax, 4, 0);
  grid->addWidget(BtnLabForms, 5, 0);
  grid->setColumnStretch(1, 1);

  connect(BtnFont, &QPushButton::clicked, this, &TMain::BtnFontClick);
  connect(BtnPSetup, &QPushButton::clicked, this, &TMain::BtnPSetupClick);

  BitBtn4 = AddHelpButton(page, "BitBtn4", kHelpPreferences);
  return Page(page, "TabSheet4", grid, BitBtn4);
}

QWidget* TMain::BuildFileMaintenanceTab() {
  auto* page = new QWidget;
  auto* grid = CommandGrid();
  BtnBackup = AddPicture(grid, 0, 0, "BtnBackup", "Backup Data Files", "document-save",
                         QStyle::SP_DialogSaveButton);
  BtnRestore = AddPicture(grid, 1, 0, "BtnRestore", "Restore Data Files", "document-revert",
                          QStyle::SP_DialogOpenButton);
  BtnIndex = AddPicture(grid, 2, 0, "BtnIndex", "Reindex Data Files", "view-refresh",
                        QStyle::SP_BrowserReload);
  BtnPack = AddPicture(grid, 0, 1, "BtnPack", "Pack Data Files", "edit-clear-all",
                       QStyle::SP_DialogResetButton);
  BtnErase = AddPicture(grid, 1, 1, "BtnErase", "Erase all data and start over", "edit-delete",
                        QStyle::SP_TrashIcon);
  connect(BtnBackup, &QToolButton::clicked, this, &TMain::BtnBackupClick);
  connect(BtnRestore, &QToolButton::clicked, this, &TMain::BtnRestoreClick);
  connect(BtnIndex, &QToolButton::clicked, this, &TMain::BtnIndexClick);
  connect(BtnPack, &QToolButton::clicked, this, &TMain::BtnPackClick);
  connect(BtnErase, &QToolButton::clicked, this, &TMain::BtnEraseClick);
  BitBtn5 = AddHelpButton(page, "BitBtn5", kHelpFileMaintenance);
  return Page(page, "TabSheet5", grid, BitBtn5);
}

void TMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!first_show_done_) {
    // After the window is on screen, from the event loop, so that ending the
    // program from here leaves the loop cleanly.
    QMetaObject::invokeMethod(this, &TMain::FormShow, Qt::QueuedConnection);
  }
}

bool TMain::FormShow() {
  if (first_show_done_) return started_;
  first_show_done_ = true;

  // The two-digit-year window (60 years back) is built into the date helpers.
  Splash = true;
  QElapsedTimer splash_shown;
  if (about_form_ != nullptr) {
    about_form_->setModal(false);
    about_form_->show();
    about_form_->repaint();
  }
  splash_shown.start();

  started_ = OpenDataDirectory();
  if (started_) {
    setWindowTitle("Pelmark Invoicing " + VersionText());
    PackPending = false;

    // The report font starts as the window's own font, so the window's
    // controls follow it.
    ReportFont = font();
    if (!Settings.FontName.trimmed().isEmpty()) ReportFont.setFamily(Settings.FontName.trimmed());
    if (Settings.FontSize > 0) ReportFont.setPointSize(Settings.FontSize);
    setFont(ReportFont);
    ShowReportFont();
    ShowPrinter();

    (Settings.ByCust ? RadioButton1 : RadioButton2)->setChecked(true);
    (Settings.fifo ? RadioButton3 : RadioButton4)->setChecked(true);

    // The splash stays its minimum time; the window keeps painting meanwhile.
    const qint64 remaining = splash_minimum_ms_ - splash_shown.elapsed();
    if (remaining > 0) {
      QEventLoop wait;
      QTimer::singleShot(static_cast<int>(remaining), &wait, &QEventLoop::quit);
      wait.exec();
    }
  }
  if (about_form_ != nullptr) about_form_->hide();
  Splash = false;
  return started_;
}

void TMain::ShowReportFont() { Edit1->setText(FontDescription(ReportFont)); }

void TMain::ShowPrinter() {
  const QString description = PrinterDescription();
  Edit2->setText(description.isEmpty() ? QString(kNoPrinterText) : description);
}

void TMain::ShowProgress(const QString& text) {
  StatusText->setText(text);
  ProgressBar->SetProgress(0);
  repaint();  // at once: long work runs before the event loop gets a turn
}

void TMain::SetProgress(int percent) {
  ProgressBar->SetProgress(percent);
  ProgressBar->repaint();
}

void TMain::BtnFontClick() {
  bool chosen = false;
  // A cancelled dialog returns the font it was given, which is then stored.
  ReportFont = QFontDialog::getFont(&chosen, ReportFont, this, "Report Font");
  ShowReportFont();
  Settings.FontName = ReportFont.family();
  Settings.FontSize = ReportFont.pointSize();
  KeepSettings();
}

void TMain::BtnPSetupClick() {
  QPrintDialog dialog(&Printer(), this);
  dialog.exec();
  ShowPrinter();
}

void TMain::GroupBox1Exit() {
  Settings.ByCust = RadioButton1->isChecked();
  KeepSettings();
}

void TMain::GroupBox2Exit() {
  Settings.fifo = RadioButton3->isChecked();
  KeepSettings();
}

void TMain::FocusChanged(QWidget* old_widget, QWidget* new_widget) {
  if (!started_ || old_widget == nullptr) return;
  auto left = [&](QGroupBox* group) {
    return group->isAncestorOf(old_widget) &&
           (new_widget == nullptr || !group->isAncestorOf(new_widget));
  };
  if (left(GroupBox1)) GroupBox1Exit();
  if (left(GroupBox2)) GroupBox2Exit();
}

void TMain::StoreSortAndMethod() {
  // A choice made just before closing never left its group; keep it anyway.
  if (Settings.ByCust != RadioButton1->isChecked()) GroupBox1Exit();
  if (Settings.fifo != RadioButton3->isChecked()) GroupBox2Exit();
}

void TMain::BtnBackupClick() { ::BtnBackupClick(); }
void TMain::BtnRestoreClick() { ::BtnRestoreClick(); }
void TMain::BtnIndexClick() { Reindex(false); }
void TMain::BtnPackClick() {
  if (!PackAll()) {
    platform::Current().Inform("Pack Failed . . Your data files were left as they were.");
  }
}
void TMain::BtnEraseClick() { EraseAllData(); }

void TMain::Exit1Click() { close(); }

void TMain::About1Click() {
  if (about_form_ == nullptr) return;
  Splash = false;
  about_form_->setModal(true);
  about_form_->exec();
}

void TMain::HelpContents1Click() { help_form_->ShowPage(HelpContents()); }

void TMain::ShowHelp(int context) { help_form_->ShowPage(HelpTopic(context)); }

int TMain::CurrentHelpContext() const {
  QWidget* page = PageControl1->currentWidget();
  QWidget* focus = QApplication::focusWidget();
  if (page != nullptr && (focus == nullptr || focus == page || page->isAncestorOf(focus))) {
    return page->property(kHelpContextProperty).toInt();
  }
  return kHelpMainWindow;
}

void TMain::closeEvent(QCloseEvent* event) {
  FormClose();
  QMainWindow::closeEvent(event);
}

void TMain::FormClose() {
  if (closed_) return;
  closed_ = true;
  help_form_->close();
  if (started_) {
    StoreSortAndMethod();
    CloseDataDirectory();
  }
  QApplication::quit();
}
