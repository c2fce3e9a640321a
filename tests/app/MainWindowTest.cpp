// The main window offscreen on a demo data directory: its tabs and commands
// found by name, the start-up splash, the preferences it stores, the status
// bar's progress band, and help.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QToolButton>
#include <functional>
#include <memory>

#include "AboutU.h"
#include "HelpU.h"
#include "MainAssembly.h"
#include "MainU.h"
#include "ModalCloser.h"
#include "ProgressPanel.h"
#include "TestData.h"
#include "invoicing/InvoiceU.h"
#include "invoicing/ItemDefU.h"
#include "invoicing/TaxDefEdit.h"
#include "labels/LabelDefEdit.h"
#include "masterdata/MasterDataWindows.h"
#include "masterdata/ProdDefEdit.h"
#include "masterdata/PurDefEdit.h"
#include "masterdata/StationaryEdit.h"
#include "platform/PrintSetup.h"
#include "store/CodeBase.h"
#include "store/dbFiles.h"
#include "testing/ScriptedPlatform.h"

namespace {

constexpr int kShortSplashMs = 300;

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    demo_ = std::make_unique<testdata::DemoDirectory>();
    ASSERT_TRUE(demo_->Valid());
    platform::Install(&ui_);
    main_ = std::make_unique<TMain>();
    about_ = std::make_unique<TAboutForm>(main_.get());
    main_->SetAboutForm(about_.get());
    main_->SetSplashMinimumMs(kShortSplashMs);
  }

  void TearDown() override {
    EXPECT_EQ(ui_.Leftovers().toStdString(), "");
    if (main_) main_->close();
    about_.reset();
    main_.reset();
    platform::Install(nullptr);
    demo_.reset();
  }

  // Shows the window and lets its first show run.
  void Start() {
    main_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(main_.get()));
    ASSERT_TRUE(main_->FormShow());
    QApplication::processEvents();
  }

  template <typename T>
  T* Find(const char* name) {
    return main_->findChild<T*>(name);
  }

  // The settings row as stored.
  SettingsRecord StoredSettings() {
    const SettingsRecord in_memory = Settings;
    EXPECT_TRUE(OpenSettings());
    LoadSettings();
    EXPECT_TRUE(CloseSettings());
    const SettingsRecord stored = Settings;
    Settings = in_memory;
    return stored;
  }

  std::unique_ptr<testdata::DemoDirectory> demo_;
  platform::ScriptedPlatform ui_;
  std::unique_ptr<TMain> main_;
  std::unique_ptr<TAboutForm> about_;
};

TEST_F(MainWindowTest, FiveTabsAndEveryCommandFoundByName) {
  Start();
  EXPECT_EQ(main_->windowTitle(), "Pelmark Invoicing 1.0.0.0");
  auto* tabs = Find<QTabWidget>("PageControl1");
  ASSERT_NE(tabs, nullptr);
  QStringList captions;
  for (int i = 0; i < tabs->count(); ++i) captions << tabs->tabText(i);
  EXPECT_EQ(captions, QStringList({"Invoices", "Customers and Products", "Report Generation",
                                   "Preferences", "File Maintenance"}));

  struct Command {
    const char* name;
    int tab;
    const char* text;  // hint of a picture button, caption of a push button
    bool enabled;      // false: its window comes later
  };
  const Command commands[] = {
      {"BtnInvoice", 0, "Create & Edit Invoices", true},
      {"BtnInvPrint", 0, "Print Invoices for specified date(s)", true},
      {"BtnInvLab", 0, "Print Mailing Labels for Invoice Date(s)", true},
      {"BtnCust", 1, "Add & Edit Customers", true},
      {"BtnGroups", 1, "Add & Edit Customer Groups", true},
      {"BtnProd", 1, "Add & Edit Products / Services", true},
      {"BtnPurchase", 1, "Add & Edit Inventory Purchases", true},
      {"Image4", 1, "Print Product Listing", true},
      {"Image5", 1, "Print Purchasing Report", true},
      {"BtnRInv", 2, "Print Invoices, Bills or Customer Statements", true},
      {"BtnRProf", 2, "Print Customer's Purchasing Profile", true},
      {"BtnRSales", 2, "Print Sales & Tax Reports", true},
      {"BtnRLabels", 2, "Print Address Labels", true},
      {"BtnMMerge", 2, "Generate a Mail Merge File", true},
      {"BtnInvRpts", 2, "Print Inventory Reports", true},
      {"BtnStationary", 3, "Stationery", true},
      {"BtnFont", 3, "Report Font", true},
      {"BtnPSetup", 3, "Printer Setup", true},
      {"BtnSTax", 3, "Sales Tax", true},
      {"BtnLabForms", 3, "Label Forms", true},
      {"BtnBackup", 4, "Backup Data Files", true},
      {"BtnRestore", 4, "Restore Data Files", true},
      {"BtnIndex", 4, "Reindex Data Files", true},
      {"BtnPack", 4, "Pack Data Files", true},
      {"BtnErase", 4, "Erase all data and start over", true},
  };
  for (const Command& command : commands) {
    SCOPED_TRACE(command.name);
    auto* button = Find<QAbstractButton>(command.name);
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(tabs->widget(command.tab)->isAncestorOf(button));
    EXPECT_EQ(button->isEnabled(), command.enabled);
    if (qobject_cast<QToolButton*>(button) != nullptr) {
      EXPECT_EQ(button->toolTip(), command.text);
      EXPECT_EQ(button->accessibleName(), command.text);
      EXPECT_FALSE(button->icon().isNull());
    } else {
      EXPECT_EQ(button->text(), command.text);
    }
  }
  for (int tab = 0; tab < 5; ++tab) {
    const QString name = "BitBtn" + QString::number(tab + 1);
    auto* help = Find<QPushButton>(name.toLatin1().constData());
    ASSERT_NE(help, nullptr) << name.toStdString();
    EXPECT_TRUE(tabs->widget(tab)->isAncestorOf(help));
  }
  for (const char* name : {"Edit1", "Edit2"}) {
    ASSERT_NE(Find<QLineEdit>(name), nullptr) << name;
    EXPECT_FALSE(Find<QLineEdit>(name)->accessibleName().isEmpty()) << name;
  }
  for (const char* name : {"RadioButton1", "RadioButton2", "RadioButton3", "RadioButton4"}) {
    EXPECT_NE(Find<QRadioButton>(name), nullptr) << name;
  }
  EXPECT_EQ(Find<QGroupBox>("GroupBox1")->title(), " Display - Sort Customers ");
  EXPECT_EQ(Find<QGroupBox>("GroupBox2")->title(), " Inventory Method ");
  EXPECT_NE(main_->findChild<QWidget*>("StatusBar1"), nullptr);

  // Settings shown: font, customer order and inventory method.
  EXPECT_EQ(main_->Edit1->text(), FontDescription(ReportFont));
  EXPECT_EQ(main_->RadioButton1->isChecked(), Settings.ByCust);
  EXPECT_EQ(main_->RadioButton2->isChecked(), !Settings.ByCust);
  EXPECT_EQ(main_->RadioButton3->isChecked(), Settings.fifo);
  EXPECT_EQ(main_->RadioButton4->isChecked(), !Settings.fifo);
  if (PrintsToPdf()) {
    EXPECT_EQ(main_->Edit2->text(), "Print to PDF");
  } else {
    EXPECT_TRUE(main_->Edit2->text().endsWith("-Portrait") ||
                main_->Edit2->text().endsWith("-Landscape"));
  }

  // Screenshots of every tab, kept in the build directory.
  for (int tab = 0; tab < tabs->count(); ++tab) {
    tabs->setCurrentIndex(tab);
    QApplication::processEvents();
    const QString file =
        QString(SCREENSHOT_DIR) + "/main-window-tab" + QString::number(tab + 1) + ".png";
    EXPECT_TRUE(main_->grab().save(file)) << file.toStdString();
  }
}

TEST_F(MainWindowTest, SplashShowsWithoutOkForItsMinimumTime) {
  bool ok_visible_during_splash = true;
  bool about_visible_during_splash = false;
  QTimer::singleShot(kShortSplashMs / 3, [&] {
    about_visible_during_splash = about_->isVisible();
    ok_visible_during_splash = about_->OKButton->isVisible();
  });
  QElapsedTimer elapsed;
  elapsed.start();
  Start();
  EXPECT_GE(elapsed.elapsed(), kShortSplashMs);
  EXPECT_TRUE(about_visible_during_splash);
  EXPECT_FALSE(ok_visible_during_splash);
  EXPECT_FALSE(about_->isVisible());
  EXPECT_FALSE(Splash);
  EXPECT_EQ(about_->windowTitle(), "About Pelmark Invoicing 1.0.0.0");

  // Afterwards the About box is modal and has its OK button.
  bool ok_visible = false;
  QTimer::singleShot(0, [&] {
    ok_visible = about_->OKButton->isVisible();
    about_->OKButton->click();
  });
  main_->About1Click();
  EXPECT_TRUE(ok_visible);
}

TEST_F(MainWindowTest, MissingDataFilesEndTheProgramWithTheMessage) {
  ASSERT_TRUE(QFile::remove("PLM1.dbf"));
  main_->show();
  EXPECT_FALSE(main_->FormShow());
  EXPECT_EQ(ui_.Said(),
            QStringList({"Database files not found in startup directory\r\n"
                         "Program must be started from the directory containing the data files."}));
  EXPECT_TRUE(ui_.TerminateRequested());
  EXPECT_FALSE(about_->isVisible());
  EXPECT_EQ(main_->windowTitle(), "Pelmark Invoicing");
}

TEST_F(MainWindowTest, SortAndMethodAreStoredWhenTheirGroupIsLeft) {
  Start();
  main_->PageControl1->setCurrentWidget(main_->TabSheet4);
  main_->activateWindow();
  QApplication::setActiveWindow(main_.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(main_.get()));
  struct Step {
    QRadioButton* choose;
    bool by_cust;
    bool fifo;
  };
  const Step steps[] = {{main_->RadioButton2, false, true},
                        {main_->RadioButton4, false, false},
                        {main_->RadioButton1, true, false},
                        {main_->RadioButton3, true, true}};
  // Start from a known state.
  main_->RadioButton1->setChecked(true);
  main_->RadioButton3->setChecked(true);
  main_->GroupBox1Exit();
  main_->GroupBox2Exit();
  for (const Step& step : steps) {
    step.choose->setFocus();
    QApplication::processEvents();
    step.choose->setChecked(true);
    main_->Edit1->setFocus();  // leaves the group
    QApplication::processEvents();
    const SettingsRecord stored = StoredSettings();
    EXPECT_EQ(stored.ByCust, step.by_cust) << step.choose->objectName().toStdString();
    EXPECT_EQ(stored.fifo, step.fifo) << step.choose->objectName().toStdString();
  }
}

TEST_F(MainWindowTest, CancelledFontDialogStoresTheUnchangedFont) {
  Start();
  const QFont before = ReportFont;
  testdata::ModalCloser closer;
  main_->BtnFontClick();
  EXPECT_EQ(closer.Closed(), 1);
  EXPECT_EQ(ReportFont.family(), before.family());
  EXPECT_EQ(ReportFont.pointSize(), before.pointSize());
  const SettingsRecord stored = StoredSettings();
  EXPECT_EQ(stored.FontName.trimmed(), before.family());
  EXPECT_EQ(stored.FontSize, before.pointSize());
  EXPECT_EQ(main_->Edit1->text(), before.family() + "@" + QString::number(before.pointSize()));
}

TEST_F(MainWindowTest, ProgressBandIsDrawnAsTheValuesSay) {
  Start();
  ProgressPanel* panel = main_->ProgressBar;
  const int bottom = panel->height() - 1;
  const QColor blue(0, 0, 255), silver(192, 192, 192);
  struct Probe {
    int percent;  // set, in order
    QPoint at;
    QColor expected;
    bool equal;
  };
  const Probe probes[] = {
      {30, {5, 3}, blue, true},
      {30, {34, 3}, blue, true},
      {30, {35, 3}, blue, false},
      {30, {4, 3}, blue, false},
      {30, {20, 2}, blue, false},
      {30, {20, bottom - 1}, blue, true},
      {30, {20, bottom}, blue, false},
      {100, {104, 10}, blue, true},
      {100, {105, 10}, blue, false},
      {0, {5, 3}, silver, true},
      {0, {104, bottom - 1}, silver, true},
      {0, {105, 3}, silver, false},
  };
  for (const Probe& probe : probes) {
    SCOPED_TRACE(probe.percent);
    main_->SetProgress(probe.percent);
    const QColor pixel = panel->grab().toImage().pixelColor(probe.at);
    EXPECT_EQ(pixel == probe.expected, probe.equal)
        << "at " << probe.at.x() << "," << probe.at.y() << " got " << pixel.name().toStdString();
  }
  main_->SetProgress(60);
  main_->ShowProgress("Copying Data Files");
  EXPECT_EQ(main_->StatusText->text(), "Copying Data Files");
  EXPECT_EQ(panel->grab().toImage().pixelColor(30, 5), silver) << "a new text clears the bar";
  EXPECT_EQ(panel->width(), 110);
}

TEST_F(MainWindowTest, HelpButtonsOpenTheirTabsTopic) {
  Start();
  struct Case {
    QPushButton* button;
    const char* page;
    const char* heading;
  };
  const Case cases[] = {
      {main_->BitBtn1, "invoices.html", "Invoices"},
      {main_->BitBtn2, "customers-products.html", "Customers and Products"},
      {main_->BitBtn3, "reports.html", "Report Generation"},
      {main_->BitBtn4, "preferences.html", "Preferences"},
      {main_->BitBtn5, "file-maintenance.html", "File Maintenance"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page);
    main_->PageControl1->setCurrentWidget(c.button->parentWidget());
    c.button->click();
    QTextBrowser* browser = main_->HelpForm()->HelpBrowser;
    EXPECT_TRUE(main_->HelpForm()->isVisible());
    EXPECT_EQ(browser->source().fileName(), c.page);
    EXPECT_TRUE(browser->toPlainText().startsWith(c.heading));
  }
  // F1 opens the topic of the tab the focus is on.
  main_->HelpForm()->ShowPage(HelpContents());
  main_->HelpForm()->close();
  QApplication::setActiveWindow(main_.get());
  ASSERT_TRUE(QTest::qWaitForWindowActive(main_.get()));
  main_->PageControl1->setCurrentWidget(main_->TabSheet4);
  main_->BtnFont->setFocus();
  QTest::keyClick(main_->BtnFont, Qt::Key_F1);
  EXPECT_EQ(main_->HelpForm()->HelpBrowser->source().fileName(), "preferences.html");

  main_->HelpContents1Click();
  EXPECT_EQ(main_->HelpForm()->HelpBrowser->source().fileName(), "contents.html");
  EXPECT_TRUE(main_->HelpForm()->HelpBrowser->toPlainText().contains("File Maintenance"));
  EXPECT_EQ(HelpTopic(10).fileName(), "main-window.html");
}

// Every window's help context opens a page of its own, and no page links to
// one that is not there.
TEST_F(MainWindowTest, EveryHelpContextHasItsPageAndEveryLinkLeadsSomewhere) {
  Start();
  const int contexts[] = {kHelpMainWindow,
                          kHelpInvoices,
                          kHelpCustomers,
                          kHelpReports,
                          kHelpPreferences,
                          kHelpFileMaintenance,
                          kHelpInvoice,
                          kHelpItemDef,
                          invoicing::kHelpTaxDef,
                          masterdata::kHelpCustomer,
                          masterdata::kHelpGroup,
                          masterdata::kHelpProdDef,
                          masterdata::kHelpPurDef,
                          masterdata::kHelpStationary,
                          labels::kHelpLabelDef};
  QSet<QString> pages;
  for (int context : contexts) {
    const QUrl page = HelpTopic(context);
    EXPECT_NE(page, HelpContents()) << context;
    EXPECT_FALSE(pages.contains(page.fileName()))
        << context << " shares " << page.fileName().toStdString();
    pages.insert(page.fileName());
    main_->HelpForm()->ShowPage(page);
    EXPECT_GT(main_->HelpForm()->HelpBrowser->toPlainText().trimmed().size(), 100) << context;
  }
  const QRegularExpression link(QStringLiteral("href=\"([^\"#]+)"));
  for (const QString& name : QDir(QStringLiteral(":/help")).entryList(QDir::Files)) {
    QFile file(QStringLiteral(":/help/") + name);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    const QString html = QString::fromUtf8(file.readAll());
    for (auto it = link.globalMatch(html); it.hasNext();) {
      const QString target = it.next().captured(1);
      EXPECT_TRUE(QFile::exists(QStringLiteral(":/help/") + target))
          << name.toStdString() << " -> " << target.toStdString();
    }
  }
}

TEST_F(MainWindowTest, ReportButtonsOfferTheirMenus) {
  Start();
  struct Case {
    QToolButton* button;
    QMenu* menu;
    QStringList items;
  };
  const Case cases[] = {
      {main_->BtnRInv, main_->PopupMenu1, {"&Invoices", "&Bills", "&Statements"}},
      {main_->BtnRProf, main_->PopupMenu4, {"Selected &Customers", "Selected &Groups"}},
      {main_->BtnRSales,
       main_->PopupMenu2,
       {"&Sales Summary", "&Product Summary", "Product &Buyers", "", "&Income Summary",
        "&Receivable Income", "Receivables &Aging", "", "&Tax Summary",
        "GST/VAT Income and Collections"}},
      {main_->BtnRLabels,
       main_->PopupMenu5,
       {"&Selected Customers", "&Invoices Dated", "&Past Due Billing", "&Balance Due Statement",
        "&Customer Group(s)"}},
      {main_->BtnInvRpts,
       main_->PopupMenu3,
       {"&Inventory", "&Cost of Goods Sold", "&Stock On-Hand"}},
  };
  main_->PageControl1->setCurrentWidget(main_->TabSheet3);
  for (const Case& c : cases) {
    QStringList items;
    for (QAction* action : c.menu->actions()) items << action->text();
    EXPECT_EQ(items, c.items);
    // The stock reports' items are built.
    for (QAction* action : c.menu == main_->PopupMenu3 ? c.menu->actions() : QList<QAction*>()) {
      EXPECT_TRUE(action->isEnabled());
      EXPECT_FALSE(action->objectName().isEmpty());
    }
    c.button->click();
    EXPECT_TRUE(c.menu->isVisible());
    c.menu->hide();
  }
  // The document commands' sub-menus: each item built and named for its command.
  const std::pair<QString, QStringList> documents[] = {
      {"&Invoices", {"Selected &Date(s)=SelectedDates2", "Selected &Invoices=SelectedInvoices1"}},
      {"&Bills", {"&With Balances Due=WithBalancesDue2", "Selected &Bills=SelectedBills2"}},
      {"&Statements", {"With &Balances=WithBalances2", "Selected &Customers=SelectedCustomers4"}},
  };
  const QList<QAction*> submenus = main_->PopupMenu1->actions();
  ASSERT_EQ(submenus.size(), 3);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(submenus[i]->text(), documents[i].first);
    QStringList items;
    for (QAction* item : submenus[i]->menu()->actions()) {
      EXPECT_TRUE(item->isEnabled()) << item->text().toStdString();
      items << item->text() + "=" + item->objectName();
    }
    EXPECT_EQ(items, documents[i].second);
  }
}

}  // namespace

// Every enabled command of the five tabs does what a person pressing it sees:
// it opens its window, a dialog or its menu, asks something, or shows its
// progress; every disabled one, even when enabled, does nothing yet.
TEST_F(MainWindowTest, EveryEnabledCommandOpensItsWindowOrMenu) {
  Start();
  ConnectCommands(main_.get(), ProgramCommands());
  // Every window the commands open is cancelled at once, as a person would.
  const std::pair<platform::WindowId, long*> pick_lists[] = {
      {platform::WindowId::kPickCust, &SelCust}, {platform::WindowId::kPickGroup, &SelGroup},
      {platform::WindowId::kPickProd, &SelProd}, {platform::WindowId::kPickInv, &SelInv},
      {platform::WindowId::kPickPur, &SelPur},   {platform::WindowId::kPickLab, &SelLab}};
  for (int id = 0; id <= static_cast<int>(platform::WindowId::kPickLab); ++id) {
    ui_.OnModal(static_cast<platform::WindowId>(id), [] { return 0; });
  }
  for (const auto& [id, selection] : pick_lists) {
    ui_.OnModal(id, [selection] {
      *selection = -1;
      return 0;
    });
  }
  testdata::ModalCloser closer;
  const QList<QMenu*> menus = main_->findChildren<QMenu*>();
  auto press = [&](const std::function<void()>& act) {
    ui_.ClearRecords();
    main_->HelpForm()->hide();
    const int closed_before = closer.Closed();
    act();
    QApplication::processEvents();
    bool menu_shown = false;
    for (QMenu* menu : menus) {
      menu_shown = menu_shown || menu->isVisible();
      menu->hide();
    }
    const bool responded = !ui_.ModalShown().empty() || !ui_.Requests().empty() ||
                           !ui_.Progress().empty() || closer.Closed() > closed_before ||
                           menu_shown || main_->HelpForm()->isVisible();
    // The commands are pressed with nothing scripted: what they asked is
    // forgotten here rather than left for the next one.
    ui_.ClearRecords();
    return responded;
  };

  int enabled_commands = 0;
  for (QWidget* tab : {main_->TabSheet1, main_->TabSheet2, main_->TabSheet3, main_->TabSheet4,
                       main_->TabSheet5}) {
    main_->PageControl1->setCurrentWidget(tab);
    for (QAbstractButton* button : tab->findChildren<QAbstractButton*>()) {
      if (qobject_cast<QRadioButton*>(button) != nullptr) continue;  // choices, not commands
      SCOPED_TRACE(button->objectName().toStdString());
      if (button->isEnabled()) {
        ++enabled_commands;
        EXPECT_TRUE(press([button] { button->click(); }));
      } else {
        button->setEnabled(true);
        EXPECT_FALSE(press([button] { button->click(); }));
        button->setEnabled(false);
      }
    }
  }
  for (QMenu* menu : menus) {
    if (menu->parent() == main_->menuBar()) continue;  // File and Help
    for (QAction* item : menu->actions()) {
      if (item->isSeparator() || item->menu() != nullptr) continue;  // submenus are walked too
      SCOPED_TRACE((menu->title() + " " + item->text()).toStdString());
      if (item->isEnabled()) {
        ++enabled_commands;
        EXPECT_TRUE(press([item] { item->trigger(); }));
      } else {
        item->setEnabled(true);
        EXPECT_FALSE(press([item] { item->trigger(); }));
        item->setEnabled(false);
      }
    }
  }
  EXPECT_GE(enabled_commands, 25);
  EXPECT_EQ(ui_.Unanswered(), 0);
}
