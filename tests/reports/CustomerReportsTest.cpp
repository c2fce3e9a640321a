// The customer profile report and the mail-merge file, from customers,
// groups and invoices written into a fresh data directory.

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <memory>

#include "../common/CustomerData.h"
#include "../common/DataDirFixture.h"
#include "ReportFixture.h"
#include "masterdata/GroupEdit.h"
#include "reports/MailMerge.h"
#include "reports/ReportOutput.h"
#include "reports/RptProfile.h"

namespace {

using platform::WindowId;
using namespace test_support;

class CustomerReportsTest : public DataDirFixture {
 protected:
  CustomerReportsTest() : DataDirFixture(QDate(2026, 3, 14)) {}

  void SetUp() override {
    DataDirFixture::SetUp();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    Settings.ByCust = true;
    AddGroups({{1, "Retail"}, {2, "Trade"}});
  }
  void TearDown() override {
    DataDirFixture::TearDown();
    QLocale::setDefault(QLocale::system());
    masterdata::GroupChoice.clear();
  }

  // Runs the profile; returns the detail lines (those with the column
  // rules), each tab-delimited.
  QStringList RunProfile(bool by_groups) {
    QStringList details;
    scripted_.OnModal(WindowId::kReportF, [&details] {
      for (int line = 0; line < RptLines.Count(); ++line) {
        if (RptLines.Text(line, 0) == "V00") {
          details << reports::ExportLine(line, reports::ExportKind::kTabDelimited);
        }
      }
      return 1;
    });
    reports::CustomerProfile(by_groups);
    return details;
  }

  // The pick list chooses the records in turn, then is cancelled.
  void PickCustomers(std::vector<long> records) {
    auto next = std::make_shared<size_t>(0);
    scripted_.OnModal(WindowId::kPickCust, [records, next] {
      SelCust = *next < records.size() ? records[(*next)++] : -1;
      return 1;
    });
  }

  void ChooseGroups(QList<int> groups) {
    scripted_.OnModal(WindowId::kMultGroup, [groups] {
      masterdata::GroupChoice = groups;
      return 1;
    });
  }
};

QString Row(const QString& address, const QString& date, const QString& product, double qty,
            double price) {
  QStringList fields;
  if (!address.isEmpty()) fields << address;
  if (!date.isEmpty()) {
    // Product codes keep the blanks of their field.
    fields << date << product.leftJustified(10) << QString::asprintf("%8.2f", qty) << QString::asprintf("%8.2f", price);
  }
  return fields.join('\t');
}

TEST_F(CustomerReportsTest, ProfilePrintsTheAddressBlockBesideEveryPurchase) {
  AddCustomers({
      // Four address lines and the Cust# line.
      {7, "Smith", "Ann", "Acme Pty Ltd", 2, "2300", "1 Main St", "Newcastle NSW"},
      // No invoices; fourth and fifth lines blank.
      {8, "Brown", "Bob", "", 1, "2000", "", "", ""},
      // Five lines: the Cust# line is a sixth.
      {9, "Chen", "Cy", "Chen Trading", 2, "3000", "Unit 2", "4 High St", "Melbourne VIC"},
  });
  std::vector<LineRow> ten;
  for (int i = 1; i <= 10; ++i) ten.push_back({i <= 6 ? "PAPER" : "INK", 1.0 * i, 2.5 * i});
  AddInvoices({
      {1001, 7, "20260105", 0, {ten.begin(), ten.begin() + 6}},
      {1002, 9, "20260106", 0, {{"DESK", 1, 350}}},
      {1003, 7, "20260210", 0, {ten.begin() + 6, ten.end()}},
  });
  QStringList ann;
  const QStringList ann_block = {"Ann Smith", "Acme Pty Ltd", "1 Main St",
                                 "Newcastle NSW  2300", "Cust#: 7  Group: Trade"};
  for (int i = 0; i < 10; ++i) {
    ann << Row(ann_block.value(i), i < 6 ? "1/5/26" : "2/10/26", i < 6 ? "PAPER" : "INK", i + 1.0,
               2.5 * (i + 1));
  }
  // Fourth and fifth lines blank: the Cust# line is the fourth.
  const QStringList bob = {"Bob Brown  2000", "", "", "Cust#: 8  Group: Retail"};
  const QStringList chen = {Row("Cy Chen", "1/6/26", "DESK", 1, 350), "Chen Trading", "Unit 2",
                            "4 High St", "Melbourne VIC  3000", "Cust#: 9  Group: Trade"};
  struct Case {
    const char* name;
    bool by_groups;
    std::vector<long> picks;  // record numbers, for picked customers
    QList<int> groups;
    QStringList expected;
  };
  const Case cases[] = {
      {"picked", false, {1, 2}, {}, ann + bob},
      {"by group, name order", true, {}, {2}, chen + ann},
      {"no group chosen", true, {}, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    scripted_.ClearRecords();
    PickCustomers(c.picks);
    ChooseGroups(c.groups);
    EXPECT_EQ(RunProfile(c.by_groups), c.expected);
    EXPECT_EQ(scripted_.ModalCount(WindowId::kReportF), c.expected.isEmpty() ? 0 : 1);
  }
}

TEST_F(CustomerReportsTest, ProfileHeadingsAndRulesBetweenCustomers) {
  AddCustomers({{1, "Able"}, {2, "Baker"}});
  PickCustomers({1, 2});
  QStringList flags;
  QStringList headings;
  scripted_.OnModal(WindowId::kReportF, [&] {
    for (int line = 0; line < RptLines.Count(); ++line) {
      if (RptLines.Text(line, 0) == "V00") flags << RptLines.Text(line, FlagsCell());
      if (RptLines.Text(line, 1) == "L01Customer") headings << RptLines.Line(line);
    }
    return 1;
  });
  reports::CustomerProfile(false);
  // Four lines each (name, two blank lines, Cust#), the last underlined.
  EXPECT_EQ(flags, QStringList({"", "", "", "U", "", "", "", "U"}));
  ASSERT_EQ(headings.size(), 12);
  EXPECT_EQ(headings, QStringList({"", "L01Customer", "", "R43Date", "", "L46Product", "",
                                   "R65Qty", "", "R74U-Price", "", "U"}));
}

TEST_F(CustomerReportsTest, MailMergeWritesEightColumnsOfTheChosenGroupsInPostalOrder) {
  AddCustomers({
      {1, "Zed", "Zoe", "Zed Co", 1, "4000", "9 Bay Rd", "", "Brisbane QLD", "Ms"},
      {2, "Tab", "Tia", "Split\tCompany", 1, "2000", "Line\r\nBreak", "", "", "Dr"},
      {3, "Other", "Oz", "", 2, "1000"},
  });
  QTemporaryDir out;
  ASSERT_TRUE(out.isValid());
  const QString header = "Title\tFirstName\tLastName\tCompany\tAddr1\tAddr2\tAddr3\tPostalCode\r\n";
  struct Case {
    const char* name;
    QList<int> groups;
    QString file;  // "" cancels the dialog
    QString expected;  // the file's text; null: no file
    QString message;
  };
  const QString unwritable = out.filePath("missing/dir/merge.doc");
  const Case cases[] = {
      {"group 1", {1}, out.filePath("a.doc"),
       header + "Dr\tTia\tTab\tSplit Company\tLine  Break\t\t\t2000\r\n" +
           "Ms\tZoe\tZed\tZed Co\t9 Bay Rd\t\tBrisbane QLD\t4000\r\n",
       ""},
      {"group without customers", {5}, out.filePath("b.doc"), header, ""},
      {"no group", {}, out.filePath("c.doc"), QString(), ""},
      {"cancelled", {1}, "", QString(), ""},
      {"unwritable", {1}, unwritable, QString(), "Unable to save to: " + unwritable},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    scripted_.ClearRecords();
    ChooseGroups(c.groups);
    if (!c.groups.isEmpty()) scripted_.QueueFileName(c.file);
    reports::ExportMailMerge();
    QFile file(c.file);
    if (c.expected.isNull()) {
      EXPECT_FALSE(!c.file.isEmpty() && file.exists());
    } else {
      ASSERT_TRUE(file.open(QIODevice::ReadOnly));
      EXPECT_EQ(QString::fromUtf8(file.readAll()), c.expected);
      EXPECT_EQ(scripted_.ProgressTexts(),
                QStringList({"Exporting Mail Merge File", ""}));
    }
    QStringList informed;
    for (const auto& request : scripted_.Requests()) {
      if (request.kind == platform::ScriptedPlatform::Kind::kInform) informed << request.text;
    }
    EXPECT_EQ(informed, c.message.isEmpty() ? QStringList() : QStringList{c.message});
    EXPECT_EQ(QDir::currentPath(), QDir(DataPath("")).absolutePath());
  }
}

}  // namespace
