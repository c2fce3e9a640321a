// The customer profile report and the mail-merge file, from customers,
// groups and invoices written into a fresh data directory.

#include <QFile>
#include <QTemporaryDir>

#include "../common/CustomerData.h"
#include "../common/DataDirFixture.h"
#include "ReportFixture.h"
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
  }
};

TEST_F(CustomerReportsTest, ProfilePrintsTheAddressBlockBesideEveryPurchase) {
  AddCustomers({
      {7, "Smith", "Ann", "Acme Pty Ltd", 2, "2300", "1 Main St", "Newcastle NSW"},
      {8, "Brown", "Bob", "", 1, "2000"},  // no invoices, lines 4 and 5 blank
      {9, "Chen", "Cy", "Chen Trading", 2, "3000", "Unit 2", "4 High St", "Melbourne VIC"},
  });
  std::vector<LineRow> ten;
  for (int i = 1; i <= 10; ++i) ten.push_back({i <= 6 ? "PAPER" : "INK", 1.0 * i, 2.5 * i});
  AddInvoices({{1001, 7, "20260105", 0, {ten.begin(), ten.begin() + 6}},
               {1002, 9, "20260106", 0, {{"DESK", 1, 350}}},
               {1003, 7, "20260210", 0, {ten.begin() + 6, ten.end()}}});
  // Detail lines, tab-delimited: address line, date, product (as stored),
  // quantity, unit price. Ann's five-line block (Cust# included) stands
  // beside her first five of ten purchases.
  const QStringList block = {"Ann Smith", "Acme Pty Ltd", "1 Main St", "Newcastle NSW  2300",
                             "Cust#: 7  Group: Trade"};
  QStringList ann;
  for (int i = 0; i < 10; ++i) {
    QStringList fields = {
        i < 6 ? "1/5/26" : "2/10/26", QString(i < 6 ? "PAPER" : "INK").leftJustified(10),
        QString::asprintf("%8.2f", i + 1.0), QString::asprintf("%8.2f", 2.5 * (i + 1))};
    if (i < 5) fields.prepend(block[i]);
    ann << fields.join('\t');
  }
  const QStringList bob = {"Bob Brown  2000", "", "", "Cust#: 8  Group: Retail"};
  const QStringList chen = {"Cy Chen\t1/6/26\tDESK      \t    1.00\t  350.00",
                            "Chen Trading",
                            "Unit 2",
                            "4 High St",
                            "Melbourne VIC  3000",
                            "Cust#: 9  Group: Trade"};
  struct Case {
    bool by_groups;
    std::vector<long> picks;
    QList<int> groups;
    QStringList expected;
  };
  const Case cases[] = {
      {false, {1, 2}, {}, ann + bob},
      {true, {}, {2}, chen + ann},  // name order
      {true, {}, {}, {}},           // no group chosen: no report
  };
  for (const Case& c : cases) {
    ScriptChoices(scripted_, c.picks, c.groups);
    QStringList details, flags;
    scripted_.OnModal(WindowId::kReportF, [&] {
      for (int line = 0; line < RptLines.Count(); ++line) {
        if (RptLines.Text(line, 0) != "V00") continue;
        details << reports::ExportLine(line, reports::ExportKind::kTabDelimited);
        flags << RptLines.Text(line, FlagsCell());
      }
      EXPECT_EQ(ColHeads.value(1).mid(0, 6),
                QStringList({"", "L01Customer", "", "R43Date", "", "L46Product"}));
      return 1;
    });
    reports::CustomerProfile(c.by_groups);
    EXPECT_EQ(details, c.expected);
    // A rule under each customer's last line.
    EXPECT_EQ(flags.count("U"), c.expected.isEmpty() ? 0 : 2);
    EXPECT_EQ(flags.value(flags.size() - 1), c.expected.isEmpty() ? "" : "U");
  }
}

TEST_F(CustomerReportsTest, MailMergeWritesEightColumnsOfTheChosenGroupsInPostalOrder) {
  AddCustomers({{1, "Zed", "Zoe", "Zed Co", 1, "4000", "9 Bay Rd", "", "Brisbane QLD", "Ms"},
                {2, "Tab", "Tia", "Split\tCompany", 1, "2000", "Line\r\nBreak", "", "", "Dr"},
                {3, "Other", "Oz", "", 2, "1000"}});
  QTemporaryDir out;
  const QString header = "Title\tFirstName\tLastName\tCompany\tAddr1\tAddr2\tAddr3\tPostalCode\r\n";
  const QString bad = out.filePath("missing/merge.doc");
  struct Case {
    QList<int> groups;
    QString file;      // "" cancels the dialog
    QString expected;  // the file's text; null: no file
  };
  const Case cases[] = {
      // A TAB, CR or LF inside a field is a blank: eight columns stay eight.
      {{1},
       out.filePath("a.doc"),
       header + "Dr\tTia\tTab\tSplit Company\tLine  Break\t\t\t2000\r\n" +
           "Ms\tZoe\tZed\tZed Co\t9 Bay Rd\t\tBrisbane QLD\t4000\r\n"},
      {{5}, out.filePath("b.doc"), header},  // no customer in the group
      {{}, out.filePath("c.doc"), QString()},
      {{1}, "", QString()},
      {{1}, bad, QString()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file.toStdString());
    scripted_.ClearRecords();
    ScriptChoices(scripted_, {}, c.groups);
    if (!c.groups.isEmpty()) scripted_.QueueFileName(c.file);
    reports::ExportMailMerge();
    QFile file(c.file);
    EXPECT_EQ(file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString(),
              c.expected);
    EXPECT_EQ(scripted_.WasShown("Unable to save to: " + bad), c.file == bad);
    EXPECT_EQ(QDir::currentPath(), QDir(DataPath("")).absolutePath());
    if (!c.expected.isNull()) {
      EXPECT_EQ(scripted_.ProgressTexts(), QStringList({"Exporting Mail Merge File", ""}));
    }
  }
}

}  // namespace
