// The customer and group editors, the entry routines and the maintenance
// commands through the scripted platform, checked by reading the tables back.

#include <gtest/gtest.h>

#include "DataFixture.h"
#include "masterdata/CustomerEdit.h"
#include "masterdata/GroupEdit.h"
#include "masterdata/ListPicks.h"
#include "masterdata/MasterCommands.h"
#include "masterdata/PickU.h"
#include "testing/FaultyFileSystem.h"

namespace masterdata_test {
namespace {

using platform::Answer;
using platform::WindowId;

class EditorTest : public DataFixture {
 protected:
  void SetUp() override {
    DataFixture::SetUp();
    OpenCustomerTables();
  }

  static masterdata::CustomerForm Form(const char* last) {
    masterdata::CustomerForm form;
    form.title = QStringLiteral("Ms");
    form.first = QStringLiteral("Ada");
    form.last = QString::fromLatin1(last);
    form.comments = QStringLiteral("first line\nsecond   ");
    return form;
  }

  // Record number of the customer with this number, or 0.
  static long RecordOfCustomer(long cuno) {
    for (int rc = d4top(CustDb); rc == 0; rc = d4skip(CustDb, 1)) {
      if (f4long(CustFld.cuno) == cuno) return d4recNo(CustDb);
    }
    return 0;
  }
};

TEST_F(EditorTest, NewCustomerGetsLowestFreeNumber) {
  struct Case {
    std::vector<long> numbers;
    long expected;
  };
  for (const Case& c : {Case{{1, 2, 3, 5}, 4}, Case{{2, 3}, 1}, Case{{}, 1}, Case{{1, 2}, 3}}) {
    SCOPED_TRACE(c.expected);
    EXPECT_GE(d4zap(CustDb, 1, d4recCountDo(CustDb)), 0);
    for (long n : c.numbers) AddCustomers({{n, "Old", "One", "", 1}});
    SelCust = 0;
    const masterdata::CustomerOpening opening = masterdata::OpenCustomerEditor();
    EXPECT_FALSE(opening.delete_enabled);
    EXPECT_EQ(SelCust, -1);
    CustRec.ngroup = 1;
    ASSERT_TRUE(masterdata::SaveCustomer(Form("Lovelace")));
    ASSERT_GT(SelCust, 0);
    EXPECT_EQ(d4recCountDo(CustDb), static_cast<long>(c.numbers.size()) + 1);
    EXPECT_EQ(CustomerText(SelCust, CustFld.cuno), QString::number(c.expected));
    EXPECT_EQ(CustomerText(SelCust, CustFld.last), QStringLiteral("Lovelace"));
    // The memo is stored trimmed at its end only.
    EXPECT_EQ(QString::fromLatin1(f4memoStr(CustFld.comments)),
              QStringLiteral("first line\nsecond"));
  }
}

// A new customer whose save the disk refused is saved whole by the next Save:
// once, under one number, never looked for in a record that is not there.
TEST_F(EditorTest, NewCustomerSavedAgainAfterARefusedWrite) {
  AddGroups({{1, "Retail"}});
  CloseAllTables();
  engine::FaultyFileSystem disk;
  code4fileSystem(cb, &disk);
  OpenCustomerTables();
  SelCust = 0;
  (void)masterdata::OpenCustomerEditor();
  CustRec.ngroup = 1;
  disk.FailAfterBytes(0);
  EXPECT_FALSE(masterdata::SaveCustomer(Form("Babbage")));
  EXPECT_EQ(scripted_.Said().size(), 1);
  disk.Reset();
  ASSERT_TRUE(masterdata::SaveCustomer(Form("Babbage")));
  EXPECT_EQ(d4recCountDo(CustDb), 1);
  EXPECT_EQ(CustomerText(SelCust, CustFld.cuno), QStringLiteral("1"));
  EXPECT_EQ(CustomerText(SelCust, CustFld.last), QStringLiteral("Babbage"));
  CloseAllTables();
  code4fileSystem(cb, nullptr);
  OpenCustomerTables();
}

TEST_F(EditorTest, SaveWithoutGroupWritesNothing) {
  SelCust = 0;
  (void)masterdata::OpenCustomerEditor();
  EXPECT_FALSE(masterdata::SaveCustomer(Form("Nogroup")));
  EXPECT_TRUE(scripted_.WasShown(QStringLiteral("Please Select Customer Group")));
  EXPECT_EQ(d4recCountDo(CustDb), 0);
  EXPECT_EQ(CustRec.cuno, 0);
}

TEST_F(EditorTest, CustomerWithMissingGroupOpensWithoutGroup) {
  AddGroups({{1, "Retail"}});
  const std::vector<long> records =
      AddCustomers({{1, "Has", "Group", "", 1}, {2, "Lost", "Group", "", 7}});
  struct Case {
    long record;
    const char* group_name;
    int group;
  };
  for (const Case c : {Case{records[0], "Retail", 1}, Case{records[1], "", 0}}) {
    SelCust = c.record;
    const masterdata::CustomerOpening opening = masterdata::OpenCustomerEditor();
    EXPECT_TRUE(opening.delete_enabled);
    EXPECT_EQ(opening.group_name, QString::fromLatin1(c.group_name));
    EXPECT_EQ(CustRec.ngroup, c.group);
  }
  // The customer whose group is gone must be given one before saving.
  EXPECT_FALSE(masterdata::SaveCustomer(Form("Lost")));
  EXPECT_TRUE(scripted_.WasShown(QStringLiteral("Please Select Customer Group")));
}

TEST_F(EditorTest, DeleteMarksAndSavingRecallsTheCustomer) {
  AddGroups({{1, "Retail"}});
  const std::vector<long> records =
      AddCustomers({{1, "Keep", "Me", "", 1}, {2, "Gone", "Soon", "", 1}});
  SelCust = records[1];
  (void)masterdata::OpenCustomerEditor();
  masterdata::DeleteCustomer();
  EXPECT_TRUE(PackPending);
  ASSERT_EQ(d4go(CustDb, records[1]), 0);
  EXPECT_NE(d4deleted(CustDb), 0);

  SelCust = records[1];
  (void)masterdata::OpenCustomerEditor();
  ASSERT_TRUE(masterdata::SaveCustomer(Form("Back")));
  EXPECT_EQ(SelCust, records[1]);
  // Closed and opened again, the record is live and keeps its number.
  CloseAllTables();
  OpenCustomerTables();
  ASSERT_EQ(d4go(CustDb, records[1]), 0);
  EXPECT_EQ(d4deleted(CustDb), 0);
  EXPECT_EQ(f4long(CustFld.cuno), 2);
  EXPECT_EQ(QString::fromLatin1(f4str(CustFld.last)).trimmed(), QStringLiteral("Back"));
}

TEST_F(EditorTest, GroupButtonTakesTheChosenGroup) {
  const std::vector<long> groups = AddGroups({{1, "Retail"}, {2, "Trade"}});
  SelCust = 0;
  (void)masterdata::OpenCustomerEditor();
  scripted_.OnModal(WindowId::kPickGroup, [&] {
    EXPECT_TRUE(masterdata::PickNewEnabled(WindowId::kPickGroup));
    SelGroup = groups[1];
    return 1;
  });
  QString name;
  ASSERT_TRUE(masterdata::ChooseCustomerGroup(&name));
  EXPECT_EQ(name, QStringLiteral("Trade"));
  EXPECT_EQ(CustRec.ngroup, 2);
}

class GroupEditorTest : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    groups_ = AddGroups({{1, "Retail"}, {2, "Trade"}, {3, "Staff"}});
    customers_ = AddCustomers(
        {{1, "A", "a", "", 1}, {2, "B", "b", "", 2}, {3, "C", "c", "", 1}, {4, "D", "d", "", 3}});
    SelGroup = groups_[0];
    const masterdata::GroupOpening opening = masterdata::OpenGroupEditor();
    EXPECT_TRUE(opening.delete_enabled);
    EXPECT_EQ(opening.number_text, QStringLiteral(" 1"));
  }

  std::vector<int> CustomerGroups() {
    std::vector<int> numbers;
    for (long record : customers_) {
      EXPECT_EQ(d4go(CustDb, record), 0);
      numbers.push_back(f4int(CustFld.ngroup));
    }
    return numbers;
  }

  std::vector<long> groups_;
  std::vector<long> customers_;
};

TEST_F(GroupEditorTest, DeletingGroupMovesItsCustomers) {
  scripted_.QueueAnswer(Answer::kOk);
  scripted_.OnModal(WindowId::kPickGroup, [&] {
    EXPECT_FALSE(masterdata::PickNewEnabled(WindowId::kPickGroup));
    SelGroup = groups_[2];
    return 1;
  });
  ASSERT_TRUE(masterdata::DeleteGroup());
  EXPECT_TRUE(scripted_.WasShown(QStringLiteral("Move Customers in Retail to a selected group")));
  EXPECT_EQ(CustomerGroups(), (std::vector<int>{3, 2, 3, 3}));
  ASSERT_EQ(d4go(GroupDb, groups_[0]), 0);
  EXPECT_NE(d4deleted(GroupDb), 0);
  EXPECT_EQ(SelGroup, 0);
  EXPECT_TRUE(PackPending);
}

TEST_F(GroupEditorTest, DeleteThatMovesNothingChangesNothing) {
  struct Case {
    const char* what;
    Answer answer;
    int receiver;  // index into groups_, -1 cancels the pick list
    bool receiver_deleted;
  };
  for (const Case c :
       {Case{"cancelled question", Answer::kCancel, 1, false},
        Case{"same group", Answer::kOk, 0, false}, Case{"nothing chosen", Answer::kOk, -1, false},
        Case{"receiver marked deleted", Answer::kOk, 2, true}}) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(d4go(GroupDb, groups_[2]), 0);
    if (c.receiver_deleted) {
      d4delete(GroupDb);
    } else {
      d4recall(GroupDb);
    }
    ASSERT_EQ(d4flush(GroupDb), 0);
    SelGroup = groups_[0];
    (void)masterdata::OpenGroupEditor();
    scripted_.QueueAnswer(c.answer);
    scripted_.OnModal(WindowId::kPickGroup, [&] {
      SelGroup = c.receiver < 0 ? -1 : groups_[static_cast<size_t>(c.receiver)];
      return 1;
    });
    EXPECT_FALSE(masterdata::DeleteGroup());
    EXPECT_EQ(CustomerGroups(), (std::vector<int>{1, 2, 1, 3}));
    ASSERT_EQ(d4go(GroupDb, groups_[0]), 0);
    EXPECT_EQ(d4deleted(GroupDb), 0);
    // The editor stays on the group it was opened on.
    EXPECT_EQ(SelGroup, groups_[0]);
    EXPECT_EQ(GroupRec.nGroup, 1);
    EXPECT_FALSE(PackPending);
  }
}

TEST_F(GroupEditorTest, SaveNamesNumbersAndRecalls) {
  EXPECT_FALSE(masterdata::SaveGroup(QStringLiteral("   ")));
  EXPECT_TRUE(scripted_.WasShown(QStringLiteral("Can't Save Blank Name")));
  // Renaming an existing group keeps its number.
  ASSERT_TRUE(masterdata::SaveGroup(QStringLiteral("Shops")));
  ASSERT_EQ(d4go(GroupDb, groups_[0]), 0);
  EXPECT_EQ(QString::fromLatin1(f4str(GroupFld.cGroup)).trimmed(), QStringLiteral("Shops"));
  EXPECT_EQ(f4int(GroupFld.nGroup), 1);
  // A new group takes the first free number; with 2 gone that is 2.
  ASSERT_EQ(d4go(GroupDb, groups_[1]), 0);
  f4assignInt(GroupFld.nGroup, 9);
  ASSERT_EQ(d4flush(GroupDb), 0);
  EXPECT_EQ(masterdata::NextGroupNo(), 2);
  SelGroup = 0;
  (void)masterdata::OpenGroupEditor();
  EXPECT_EQ(SelGroup, -1);
  ASSERT_TRUE(masterdata::SaveGroup(QStringLiteral("Wholesale")));
  ASSERT_GT(SelGroup, 0);
  ASSERT_EQ(d4go(GroupDb, SelGroup), 0);
  EXPECT_EQ(f4int(GroupFld.nGroup), 2);
  // Saving a group marked deleted brings it back.
  ASSERT_EQ(d4go(GroupDb, groups_[2]), 0);
  d4delete(GroupDb);
  SelGroup = groups_[2];
  (void)masterdata::OpenGroupEditor();
  ASSERT_TRUE(masterdata::SaveGroup(QStringLiteral("Staff")));
  ASSERT_EQ(d4go(GroupDb, groups_[2]), 0);
  EXPECT_EQ(d4deleted(GroupDb), 0);
}

TEST_F(GroupEditorTest, GroupNumbersStopAtTheKeyWidth) {
  for (int n = 4; n <= masterdata::kMaxGroupNumber; ++n) AddGroups({{n, "More"}});
  SelGroup = 0;
  (void)masterdata::OpenGroupEditor();
  const long before = d4recCountDo(GroupDb);
  EXPECT_FALSE(masterdata::SaveGroup(QStringLiteral("Hundredth")));
  EXPECT_EQ(d4recCountDo(GroupDb), before);
  EXPECT_EQ(GroupRec.nGroup, 0);
}

TEST_F(GroupEditorTest, GroupListSearchAndSelect) {
  TAG4* previous = nullptr;
  SelGroup = groups_[1];
  masterdata::ListPick pick = masterdata::ReadGroupPick(&previous);
  ASSERT_EQ(pick.items.size(), 3);
  EXPECT_TRUE(pick.items[0].startsWith(QStringLiteral("Retail")));  // by name
  EXPECT_TRUE(pick.items[2].startsWith(QStringLiteral("Trade")));
  EXPECT_EQ(pick.highlighted, 2);
  struct Case {
    const char* typed;
    int index;
  };
  for (const Case c : {Case{"st", 1}, Case{" T ", 2}, Case{"s", 1}, Case{"a", 0}, Case{"zz", -1}}) {
    EXPECT_EQ(masterdata::SearchGroupPick(pick, QString::fromLatin1(c.typed)), c.index) << c.typed;
  }
  pick.highlighted = -1;
  long chosen = 0;
  EXPECT_FALSE(masterdata::SelectListItem(pick, &chosen));
  EXPECT_TRUE(scripted_.WasShown(QStringLiteral("Item Not Selected")));
  pick.highlighted = 1;
  ASSERT_TRUE(masterdata::SelectListItem(pick, &chosen));
  EXPECT_EQ(chosen, groups_[2]);
  masterdata::RestoreGroupTag(previous);
  EXPECT_EQ(d4tagSelected(GroupDb), previous);
}

TEST_F(GroupEditorTest, MultipleGroupChoiceSkipsDeletedGroups) {
  ASSERT_EQ(d4go(GroupDb, groups_[1]), 0);
  d4delete(GroupDb);
  ASSERT_EQ(d4flush(GroupDb), 0);
  masterdata::GroupChoice = {7};
  const QStringList items = masterdata::ReadGroupChoiceItems();
  EXPECT_TRUE(masterdata::GroupChoice.isEmpty());
  ASSERT_EQ(items.size(), 2);
  EXPECT_TRUE(items[0].startsWith(QStringLiteral(" 1 - Retail")));
  EXPECT_TRUE(items[1].startsWith(QStringLiteral(" 3 - Staff")));
  masterdata::SetGroupChoice({items[1]});
  EXPECT_EQ(masterdata::GroupChoice, (QList<int>{3}));
  masterdata::SetGroupChoice({});
  EXPECT_TRUE(masterdata::GroupChoice.isEmpty());
}

class EntryRoutineTest : public EditorTest {};

TEST_F(EntryRoutineTest, EmptyTableWithoutNewSaysSo) {
  bool is_new = true;
  EXPECT_FALSE(masterdata::PickCustomer(false, &is_new));
  EXPECT_FALSE(is_new);
  EXPECT_EQ(SelCust, -1);
  EXPECT_TRUE(scripted_.WasShown(QStringLiteral("Customer Database is Empty")));
  EXPECT_EQ(scripted_.ModalCount(WindowId::kPickCust), 0);
}

TEST_F(EntryRoutineTest, NewHandsOverToTheEditor) {
  AddGroups({{1, "Retail"}});
  AddCustomers({{1, "Old", "One", "", 1}});
  scripted_.OnModal(WindowId::kPickCust, [] {
    SelCust = 0;
    return 1;
  });
  scripted_.OnModal(WindowId::kCustomer, [] {
    SelCust = 0;
    (void)masterdata::OpenCustomerEditor();
    CustRec.ngroup = 1;
    return masterdata::SaveCustomer({}) ? 1 : 0;
  });
  bool is_new = false;
  ASSERT_TRUE(masterdata::PickCustomer(true, &is_new));
  EXPECT_TRUE(is_new);
  EXPECT_EQ(CustomerText(SelCust, CustFld.cuno), QStringLiteral("2"));
  // New from a list that may not create is nothing chosen, never the editor.
  scripted_.ClearRecords();
  EXPECT_FALSE(masterdata::PickCustomer(false, &is_new));
  EXPECT_EQ(SelCust, -1);
  EXPECT_EQ(scripted_.ModalCount(WindowId::kCustomer), 0);
}

TEST_F(EntryRoutineTest, CustomerCommandPacksAwayADeletedCustomer) {
  AddGroups({{1, "Retail"}});
  const std::vector<long> records =
      AddCustomers({{1, "Zed", "Z", "", 1}, {2, "Amy", "A", "", 1}, {3, "Bob", "B", "", 1}});
  CloseAllTables();
  std::vector<long> opened_on;
  int picks = 0;
  scripted_.OnModal(WindowId::kPickCust, [&] {
    opened_on.push_back(SelCust);
    SelCust = ++picks == 1 ? records[2] : -1;  // choose Bob, then cancel
    return 1;
  });
  scripted_.OnModal(WindowId::kCustomer, [] {
    (void)masterdata::OpenCustomerEditor();
    masterdata::DeleteCustomer();
    return 1;
  });
  masterdata::RunCustomerCommand();
  ASSERT_EQ(opened_on.size(), 2u);
  EXPECT_EQ(opened_on[0], records[1]);  // the first customer by name: Amy
  EXPECT_EQ(CustDb, nullptr);
  EXPECT_FALSE(PackPending);
  OpenCustomerTables();
  EXPECT_EQ(d4recCountDo(CustDb), 2);
  EXPECT_EQ(RecordOfCustomer(3), 0);
}

TEST_F(EntryRoutineTest, GroupCommandLoopsUntilCancelled) {
  const std::vector<long> groups = AddGroups({{1, "Retail"}, {2, "Trade"}});
  CloseAllTables();
  int picks = 0;
  scripted_.OnModal(WindowId::kPickGroup, [&] {
    SelGroup = ++picks <= 2 ? groups[static_cast<size_t>(picks - 1)] : -1;
    return 1;
  });
  scripted_.OnModal(WindowId::kGroupDef, [] {
    (void)masterdata::OpenGroupEditor();
    return masterdata::SaveGroup(GroupRec.cGroup.trimmed() + QStringLiteral("!")) ? 1 : 0;
  });
  masterdata::RunGroupCommand();
  EXPECT_EQ(scripted_.ModalCount(WindowId::kGroupDef), 2);
  EXPECT_EQ(GroupDb, nullptr);
  ASSERT_TRUE(OpenGroups());
  ASSERT_EQ(d4go(GroupDb, groups[1]), 0);
  EXPECT_EQ(QString::fromLatin1(f4str(GroupFld.cGroup)).trimmed(), QStringLiteral("Trade!"));
}

}  // namespace
}  // namespace masterdata_test
