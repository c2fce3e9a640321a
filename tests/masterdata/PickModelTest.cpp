// The grid pick list model over real tables: what a page shows, where the
// list opens, how keys, the scroll bar and the search box move it.

#include <gtest/gtest.h>

#include "DataFixture.h"
#include "masterdata/PickLists.h"
#include "masterdata/PickModel.h"

namespace masterdata_test {
namespace {

using masterdata::CustomerPickConfig;
using masterdata::kPageRows;
using masterdata::PickGridModel;
using masterdata::PickKey;
using masterdata::ScrollAction;

class PickModelTest : public DataFixture {
 protected:
  void SetUp() override {
    DataFixture::SetUp();
    OpenCustomerTables();
    masterdata::SelectCustomerPickTag();
  }

  // The last names shown, one per data row ("" for an empty row).
  static std::vector<QString> Shown(const PickGridModel& model) {
    std::vector<QString> shown;
    for (const auto& row : model.rows()) shown.push_back(row.cells.value(0));
    return shown;
  }

  static QString Name(int i) { return QStringLiteral("Name%1").arg(i, 3, 10, QLatin1Char('0')); }
};

TEST_F(PickModelTest, ScrollBarOnlyBeyondTenRecords) {
  struct Case {
    int records;
    bool scroll_bar;
    long max_top;
  };
  for (const Case c : {Case{10, false, 1}, Case{11, true, 1}, Case{25, true, 15}}) {
    SCOPED_TRACE(c.records);
    EXPECT_GE(d4zap(CustDb, 1, d4recCountDo(CustDb)), 0);
    AddNumberedCustomers(c.records);
    PickGridModel model(CustomerPickConfig());
    model.Open(0);
    EXPECT_EQ(model.scroll_bar_visible(), c.scroll_bar);
    EXPECT_EQ(model.max_top(), c.max_top);
    EXPECT_EQ(model.top(), 0);
    EXPECT_EQ(model.row(1).cells.value(0), Name(0));
    EXPECT_EQ(model.row(10).cells.value(0), Name(9));
    EXPECT_EQ(model.row(10).cells.value(3), QString::number(model.row(10).rec_no));
  }
}

TEST_F(PickModelTest, ShortTableNeverScrollsWhateverTheKey) {
  const std::vector<long> records = AddNumberedCustomers(7);
  PickGridModel model(CustomerPickConfig());
  model.Open(records[6]);
  EXPECT_EQ(model.row(1).rec_no, records[0]);
  EXPECT_EQ(model.SelectedRecNo(), records[6]);  // the chosen record is highlighted
  model.SetCurrentRow(kPageRows);
  for (PickKey key : {PickKey::kEnd, PickKey::kPageDown, PickKey::kDown}) {
    EXPECT_FALSE(model.Key(key));
    EXPECT_EQ(model.row(1).rec_no, records[0]);
  }
  EXPECT_TRUE(model.row(8).cells.isEmpty());
  EXPECT_EQ(model.row(8).rec_no, 0);
}

TEST_F(PickModelTest, OpensWithTargetOnFirstRowOrOnTheLastPage) {
  const std::vector<long> records = AddNumberedCustomers(25);
  struct Case {
    int rank;
    long top;
    int row;
  };
  // Ranks 0..14 open with the record on the first row; 15..24 lie on the
  // last page, which starts at rank 15.
  for (const Case c : {Case{0, 0, 1}, Case{7, -1, 1}, Case{14, -1, 1}, Case{15, 15, 1},
                       Case{20, 15, 6}, Case{24, 15, 10}}) {
    SCOPED_TRACE(c.rank);
    PickGridModel model(CustomerPickConfig());
    model.Open(records[c.rank]);
    if (c.top >= 0) {
      EXPECT_EQ(model.top(), c.top);
    }
    EXPECT_EQ(model.current_row(), c.row);
    EXPECT_EQ(model.SelectedRecNo(), records[c.rank]);
    const int first_rank = c.rank - c.row + 1;
    EXPECT_EQ(model.row(1).cells.value(0), Name(first_rank));
    EXPECT_EQ(model.row(10).cells.value(0), Name(first_rank + 9));
  }
}

TEST_F(PickModelTest, PagingWalksTheWholeTagInOrder) {
  AddNumberedCustomers(137);
  PickGridModel model(CustomerPickConfig());
  model.Open(0);
  int first = 0;
  // Page Down until the last page, each page the next ten names.
  while (true) {
    const std::vector<QString> shown = Shown(model);
    for (int i = 0; i < kPageRows; ++i) ASSERT_EQ(shown[i], Name(first + i)) << first;
    if (!model.Key(PickKey::kPageDown)) break;
    first = std::min(first + kPageRows, 127);
  }
  EXPECT_EQ(first, 127);
  EXPECT_EQ(model.top(), model.max_top());
  EXPECT_EQ(model.scroll_position(), 100);
  // And back up with Page Up to the first page.
  while (model.Key(PickKey::kPageUp)) {
    first = std::max(first - kPageRows, 0);
    ASSERT_EQ(model.row(1).cells.value(0), Name(first));
  }
  EXPECT_EQ(first, 0);
  EXPECT_EQ(model.top(), 0);
  EXPECT_EQ(model.scroll_position(), 0);
}

TEST_F(PickModelTest, DownOnLastRowMovesOneRecordAndPageUpStaysOnFirstPage) {
  const std::vector<long> records = AddNumberedCustomers(30);
  PickGridModel model(CustomerPickConfig());
  model.Open(0);
  EXPECT_FALSE(model.Key(PickKey::kPageUp));
  EXPECT_FALSE(model.Key(PickKey::kDown));  // not on the last row: the grid moves itself
  model.SetCurrentRow(kPageRows);
  ASSERT_TRUE(model.Key(PickKey::kDown));
  EXPECT_EQ(model.top(), 1);
  EXPECT_EQ(model.row(1).rec_no, records[1]);
  EXPECT_EQ(model.current_row(), kPageRows);
  EXPECT_EQ(model.SelectedRecNo(), records[10]);
  model.SetCurrentRow(1);
  ASSERT_TRUE(model.Key(PickKey::kUp));
  EXPECT_EQ(model.row(1).rec_no, records[0]);
  ASSERT_TRUE(model.Key(PickKey::kEnd));
  EXPECT_EQ(model.row(10).rec_no, records[29]);
  ASSERT_TRUE(model.Key(PickKey::kHome));
  EXPECT_EQ(model.row(1).rec_no, records[0]);
}

TEST_F(PickModelTest, ScrollBarMovesThePage) {
  const std::vector<long> records = AddNumberedCustomers(110);  // max_top 100
  PickGridModel model(CustomerPickConfig());
  model.Open(0);
  struct Step {
    ScrollAction action;
    int thumb;
    int first_rank;
  };
  for (const Step s :
       {Step{ScrollAction::kLineDown, 0, 1}, Step{ScrollAction::kPageDown, 0, 11},
        Step{ScrollAction::kLineUp, 0, 10}, Step{ScrollAction::kBottom, 0, 100},
        Step{ScrollAction::kThumbPosition, 40, 40}, Step{ScrollAction::kTop, 0, 0}}) {
    ASSERT_TRUE(model.Scroll(s.action, s.thumb));
    EXPECT_EQ(model.row(1).rec_no, records[s.first_rank]);
    EXPECT_EQ(model.scroll_position(), static_cast<int>(model.top() * 100 / model.max_top()));
  }
  EXPECT_FALSE(model.Scroll(ScrollAction::kThumbTrack, 70));
  EXPECT_EQ(model.row(1).rec_no, records[0]);
}

TEST_F(PickModelTest, SearchByNameJumpsToFirstKeyAtOrAfter) {
  const std::vector<long> records = AddCustomers({{1, "Adams", "Joe", "", 1},
                                                  {2, "Smith", "Ann", "", 1},
                                                  {3, "smart", "Bo", "", 1},
                                                  {4, "Smythe", "Al", "", 1},
                                                  {5, "Brown", "Cy", "", 1},
                                                  {6, "Taylor", "Di", "", 1}});
  PickGridModel model(CustomerPickConfig());
  model.Open(0);
  struct Case {
    const char* typed;
    bool moves;
    long highlighted;
  };
  for (const Case c : {Case{"smi", true, records[1]}, Case{" SMI ", false, records[1]},
                       Case{"smy", true, records[3]}, Case{"sn", true, records[5]},
                       Case{"zzz", false, records[5]}, Case{"", true, records[0]}}) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(model.Search(QString::fromLatin1(c.typed)), c.moves);
    EXPECT_EQ(model.SelectedRecNo(), c.highlighted);
  }
}

TEST_F(PickModelTest, SearchOnLargeTablePlacesFoundRecordOnFirstRow) {
  const std::vector<long> records = AddNumberedCustomers(300);
  PickGridModel model(CustomerPickConfig());
  model.Open(0);
  ASSERT_TRUE(model.Search(QStringLiteral("name150")));
  EXPECT_EQ(model.row(1).rec_no, records[150]);
  EXPECT_EQ(model.current_row(), 1);
  EXPECT_GT(model.top(), 0);
  EXPECT_LT(model.top(), model.max_top());
  ASSERT_TRUE(model.Search(QStringLiteral("name295")));  // on the last page
  EXPECT_EQ(model.top(), model.max_top());
  EXPECT_EQ(model.SelectedRecNo(), records[295]);
  EXPECT_EQ(model.row(10).rec_no, records[299]);
}

TEST_F(PickModelTest, CompanySearchIsUpperCasedAgainstKeysThatKeepTheirCase) {
  Settings.ByCust = false;
  masterdata::SelectCustomerPickTag();
  // Byte order puts capitals first: "ACME Corp" < "Beta" < "acme Ltd".
  const std::vector<long> records = AddCustomers(
      {{1, "Lee", "A", "acme Ltd", 1}, {2, "Kim", "B", "ACME Corp", 1}, {3, "Ng", "C", "Beta", 1}});
  PickGridModel model(CustomerPickConfig());
  model.Open(0);
  EXPECT_EQ(model.row(1).cells.value(0), QStringLiteral("ACME Corp"));
  EXPECT_EQ(model.row(1).cells.value(1), QStringLiteral("Kim"));
  model.SetCurrentRow(3);
  EXPECT_TRUE(model.Search(QStringLiteral("acme l")));  // "ACME L" sorts after "ACME Corp"
  EXPECT_EQ(model.SelectedRecNo(), records[2]);         // "Beta"
}

TEST_F(PickModelTest, DeletedRecordIsListedWithItsMarkAndCanBeChosen) {
  const std::vector<long> records = AddCustomers(
      {{1, "Adams", "Joe", "", 1, "likes tea"}, {2, "Brown", "Cy", "", 1, "pays late"}});
  ASSERT_EQ(d4go(CustDb, records[1]), 0);
  d4delete(CustDb);
  ASSERT_EQ(d4flush(CustDb), 0);
  PickGridModel model(CustomerPickConfig());
  model.Open(records[1]);
  EXPECT_EQ(model.row(1).cells.value(2), QStringLiteral("likes tea"));
  EXPECT_EQ(model.row(2).cells.value(2), QStringLiteral("< DELETED >"));
  EXPECT_EQ(model.SelectedRecNo(), records[1]);
}

TEST_F(PickModelTest, EmptyTableHasNoRowAndSelectsNothing) {
  PickGridModel model(CustomerPickConfig());
  model.Open(5);
  EXPECT_FALSE(model.has_records());
  EXPECT_EQ(model.current_row(), 0);
  EXPECT_EQ(model.SelectedRecNo(), 0);
  EXPECT_FALSE(model.Search(QStringLiteral("a")));
}

class InvoicePickTest : public DataFixture {};

TEST_F(InvoicePickTest, InvoiceSearchPadsToSixAndSeeksEveryChange) {
  ASSERT_TRUE(OpenCustomers());
  ASSERT_TRUE(OpenInvoices());
  std::vector<long> records;
  for (long number : {5L, 12L, 120L, 1200L}) {
    ASSERT_EQ(d4appendBlank(InvDb), 0);
    f4assignLong(InvFld.IvNo, number);
    f4assignLong(InvFld.CuNo, 1);
    records.push_back(d4recNo(InvDb));
  }
  ASSERT_EQ(d4flush(InvDb), 0);
  masterdata::PickGridModel model(masterdata::InvoicePickConfig());
  model.Open(0);
  EXPECT_EQ(model.row(2).cells.value(0), QStringLiteral("    12"));
  struct Case {
    const char* typed;
    bool moves;
    long highlighted;
  };
  for (const Case c :
       {Case{"12", true, records[1]}, Case{"   ", false, records[1]}, Case{"1", true, records[0]},
        Case{"120", true, records[2]}, Case{"999999", false, records[2]}}) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(model.Search(QString::fromLatin1(c.typed)), c.moves);
    EXPECT_EQ(model.SelectedRecNo(), c.highlighted);
  }
  EXPECT_EQ(model.last_search(), QStringLiteral("999999"));
  // The same text is sought again on every change.
  EXPECT_TRUE(model.Search(QStringLiteral("120")));
  EXPECT_TRUE(model.Search(QStringLiteral("120")));
}

}  // namespace
}  // namespace masterdata_test
