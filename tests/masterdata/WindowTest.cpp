// The windows driven through their real controls, offscreen: a grid pick
// list, a list-box pick list and the customer editor. Each saves a
// screenshot into the build directory.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>

#include "DataFixture.h"
#include "masterdata/CustomerU.h"
#include "masterdata/GroupEdit.h"
#include "masterdata/MultGroupU.h"
#include "masterdata/PickCustU.h"
#include "masterdata/PickGroupU.h"

namespace masterdata_test {
namespace {

using platform::WindowId;

void SaveScreenshot(QWidget* window, const char* name) {
  const QString path = QStringLiteral(PELMARK_SCREENSHOT_DIR "/") + QString::fromLatin1(name);
  EXPECT_TRUE(window->grab().save(path));
}

class WindowTest : public DataFixture {
 protected:
  void SetUp() override {
    DataFixture::SetUp();
    OpenCustomerTables();
    groups_ = AddGroups({{1, "Retail"}, {2, "Trade"}, {3, "Staff"}});
  }

  std::vector<long> groups_;
};

TEST_F(WindowTest, CustomerGridPagesSearchesAndSelects) {
  const std::vector<long> records = AddNumberedCustomers(25);
  ASSERT_EQ(d4go(CustDb, records[20]), 0);
  f4assignInt(CustFld.ngroup, 2);
  ASSERT_EQ(d4flush(CustDb), 0);
  SelCust = records[20];
  TPickCust window;
  window.show();
  EXPECT_EQ(SelCust, -1);
  QTableWidget* grid = window.StringGrid1;
  EXPECT_EQ(grid->rowCount(), 10);
  EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), QStringLiteral("Last"));
  EXPECT_EQ(grid->horizontalHeaderItem(3)->text(), QStringLiteral("RecNo"));
  // Record 21 lies on the last page: rows Name015..Name024, the sixth highlighted.
  EXPECT_EQ(grid->item(0, 0)->text(), QStringLiteral("Name015"));
  EXPECT_EQ(grid->currentRow(), 5);
  EXPECT_EQ(window.Edit2->text(), QStringLiteral("Trade"));
  EXPECT_TRUE(window.ScrollBar1->isVisible());
  EXPECT_EQ(window.ScrollBar1->value(), 100);
  EXPECT_FALSE(window.BtnNew->isEnabled());
  SaveScreenshot(&window, "pickcust.png");

  QTest::keyClick(grid, Qt::Key_Home);
  EXPECT_EQ(grid->item(0, 0)->text(), QStringLiteral("Name000"));
  EXPECT_EQ(window.ScrollBar1->value(), 0);
  EXPECT_EQ(window.Edit2->text(), QStringLiteral("Retail"));
  QTest::keyClick(grid, Qt::Key_PageDown);
  EXPECT_EQ(grid->item(0, 0)->text(), QStringLiteral("Name010"));

  QTest::keyClicks(window.SearchEdit, QStringLiteral("name012"));
  EXPECT_EQ(grid->item(0, 0)->text(), QStringLiteral("Name012"));
  EXPECT_EQ(grid->currentRow(), 0);
  QTest::mouseClick(window.BtnSelect, Qt::LeftButton);
  EXPECT_EQ(window.result(), QDialog::Accepted);
  EXPECT_EQ(SelCust, records[12]);
}

TEST_F(WindowTest, GroupListSearchesAndEnterSelects) {
  SelGroup = groups_[0];
  TPickGroup window;
  window.show();
  ASSERT_EQ(window.ListBox1->count(), 3);
  EXPECT_TRUE(window.ListBox1->item(0)->text().startsWith(QStringLiteral("Retail")));
  EXPECT_EQ(window.ListBox1->currentRow(), 0);
  QTest::keyClicks(window.Edit1, QStringLiteral("tr"));
  EXPECT_EQ(window.ListBox1->currentRow(), 2);
  SaveScreenshot(&window, "pickgroup.png");
  QTest::keyClick(window.ListBox1, Qt::Key_Return);
  EXPECT_EQ(window.result(), QDialog::Accepted);
  EXPECT_EQ(SelGroup, groups_[1]);
  // The group table is back under the tag it had.
  EXPECT_EQ(d4tagSelected(GroupDb), d4tag(GroupDb, "nGroup"));
}

TEST_F(WindowTest, CustomerEditorSavesANewCustomer) {
  AddCustomers({{1, "First", "One", "", 1}});
  SelCust = 0;
  TCustomer window;
  window.show();
  EXPECT_FALSE(window.BtnDelete->isEnabled());
  EXPECT_TRUE(window.Edit2->hasFocus() || !window.isActiveWindow());
  QTest::keyClicks(window.Edit2, QStringLiteral("Mrs"));
  QTest::keyClicks(window.Edit3, QStringLiteral("Grace"));
  QTest::keyClicks(window.Edit4, QStringLiteral("Hopper"));
  QTest::keyClicks(window.Edit5, QStringLiteral("Navy Yard Inc"));
  QTest::keyClicks(window.Edit9, QStringLiteral("20001"));
  QTest::keyClicks(window.Edit13, QStringLiteral("pays on time"));
  window.Memo1->setPlainText(QStringLiteral("COBOL"));
  // Saving before a group is chosen is refused.
  QTest::mouseClick(window.BtnSave, Qt::LeftButton);
  EXPECT_TRUE(scripted_.WasShown(QStringLiteral("Please Select Customer Group")));
  EXPECT_EQ(d4recCountDo(CustDb), 1);

  scripted_.OnModal(WindowId::kPickGroup, [&] {
    SelGroup = groups_[1];
    return 1;
  });
  QTest::mouseClick(window.BtnGroup, Qt::LeftButton);
  EXPECT_EQ(window.Edit14->text(), QStringLiteral("Trade"));
  SaveScreenshot(&window, "customer.png");
  QTest::mouseClick(window.BtnSave, Qt::LeftButton);
  EXPECT_EQ(window.result(), QDialog::Accepted);
  ASSERT_GT(SelCust, 0);
  EXPECT_EQ(CustomerText(SelCust, CustFld.cuno), QStringLiteral("2"));
  EXPECT_EQ(CustomerText(SelCust, CustFld.title), QStringLiteral("Mrs"));
  EXPECT_EQ(CustomerText(SelCust, CustFld.last), QStringLiteral("Hopper"));
  EXPECT_EQ(CustomerText(SelCust, CustFld.addr1), QStringLiteral("Navy Yard Inc"));
  EXPECT_EQ(CustomerText(SelCust, CustFld.zip), QStringLiteral("20001"));
  EXPECT_EQ(CustomerText(SelCust, CustFld.ngroup), QStringLiteral("2"));
  EXPECT_EQ(QString::fromLatin1(f4memoStr(CustFld.comments)), QStringLiteral("COBOL"));
}

TEST_F(WindowTest, CustomerEditorLabelsFollowTheDisplayOrder) {
  struct Case {
    bool by_cust;
    const char* first_label;
    bool second_label_shown;
  };
  for (const Case c : {Case{true, "Address", false}, Case{false, "Company", true}}) {
    Settings.ByCust = c.by_cust;
    SelCust = 0;
    TCustomer window;
    window.show();
    EXPECT_EQ(window.LabelAddr1->text(), QString::fromLatin1(c.first_label));
    EXPECT_EQ(window.LabelAddr2->isVisible(), c.second_label_shown);
    window.reject();
  }
}

TEST_F(WindowTest, MultipleGroupChoiceRunsWithTheMarkedGroups) {
  TMultGroup window;
  window.show();
  ASSERT_EQ(window.ListBox1->count(), 3);
  EXPECT_TRUE(window.ListBox1->selectedItems().isEmpty());
  window.ListBox1->item(2)->setSelected(true);
  window.ListBox1->item(0)->setSelected(true);
  QTest::mouseClick(window.BtnRun, Qt::LeftButton);
  EXPECT_EQ(masterdata::GroupChoice, (QList<int>{1, 3}));
  window.show();
  QTest::mouseClick(window.BtnCancel, Qt::LeftButton);
  EXPECT_TRUE(masterdata::GroupChoice.isEmpty());
}

}  // namespace
}  // namespace masterdata_test
