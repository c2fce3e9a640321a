// The label runs from a data directory: which customers each kind labels
// and in which order, the address on a label, the print dialog's choices,
// where the labels go without a printer, and what the operator is told.

#include <gtest/gtest.h>

#include <functional>

#include "../common/CustomerData.h"
#include "../common/DataDirFixture.h"
#include "labels/LabPrint.h"
#include "labels/LabelGen.h"
#include "reports/RptUtil.h"

namespace {

using platform::WindowId;
using namespace test_support;

LabelRecord Stock(const char* name = "One across", int across = 1) {
  LabelRecord stock;
  stock.Name = name;
  stock.Width = 180;
  stock.Height = 72;
  stock.NAcross = across;
  return stock;
}

class LabelRunsTest : public DataDirFixture {
 protected:
  LabelRunsTest() : DataDirFixture(QDate(2026, 3, 14)) {}
  void SetUp() override {
    DataDirFixture::SetUp();
    Settings.ByCust = true;
    scripted_.SetHasPrinter(true);
    DialogChooses(true);
  }
  // The print dialog takes the stock it offers, from column 1, row 1 (ok),
  // or is cancelled.
  void DialogChooses(bool ok) {
    scripted_.OnModal(WindowId::kLabPrint, [ok] {
      const int stock = labels::OpenLabPrint().selected;
      return ok && labels::AcceptLabPrint(stock, "1", "1") ? 1 : 0;
    });
  }
  // Runs the labels; the texts printed by the run's job (if any).
  QStringList Run(int kind) {
    const size_t jobs = scripted_.PrintJobs().size();
    labels::PrintLabels(kind);
    EXPECT_LE(scripted_.PrintJobs().size(), jobs + 1);
    return scripted_.PrintJobs().size() > jobs ? scripted_.PrintJobs().back().recording->Texts()
                                               : QStringList();
  }
  QStringList Informed() const {
    QStringList texts;
    for (const auto& request : scripted_.Requests()) {
      if (request.kind == platform::ScriptedPlatform::Kind::kInform) texts << request.text;
    }
    return texts;
  }
};

TEST_F(LabelRunsTest, EachKindLabelsItsCustomersInItsOrder) {
  AddLabelStocks({Stock()});
  AddCustomers({{1, "Able", "", "", 1, "3000"},
                {2, "Baker", "", "", 2, "2000"},
                {3, "Cole", "", "", 1, "1000"}});
  AddInvoices({{1001, 2, "20260301", 0},
               {1002, 1, "20260305", 10},
               {1003, 1, "20260306", 5},
               {1004, 3, "20260220", 7},
               {1005, 9, "20260302", 1},  // no such customer
               {1006, 3, "20260311", 4}});
  const QString able = "Able  3000", baker = "Baker  2000", cole = "Cole  1000";
  struct Case {
    int kind;
    bool span_ok;
    QStringList expected;
    QString progress;  // the status text while the run reads
  };
  const Case cases[] = {
      {labels::kSelectedCustomers, true, {baker, able}, ""},
      {labels::kInvoicesDated, true, {baker, able, able}, "Processing Invoice Labels"},
      {labels::kPastDueBilling, true, {able, able}, "Processing Billing Labels"},  // per invoice
      {labels::kBalanceDue, true, {able}, "Processing Statement Labels"},          // per customer
      {labels::kCustomerGroups, true, {cole, able}, "Processing Customers"},
      {labels::kInvoicesDated, false, {}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    scripted_.ClearRecords();
    ScriptChoices(scripted_, {2, 1}, {1});
    scripted_.OnModal(WindowId::kDateSpan, [&c] {
      SpanStart = FromQDate(QDate(2026, 3, 1));
      SpanEnd = FromQDate(QDate(2026, 3, 10));
      SpanCancelled = !c.span_ok;
      return 1;
    });
    EXPECT_EQ(Run(c.kind), c.expected);
    // The run ends saying what it printed, or with the status bar cleared.
    const QStringList status = scripted_.ProgressTexts();
    const int n = static_cast<int>(c.expected.size());
    EXPECT_EQ(status, QStringList({c.progress, n == 0 ? "" : labels::LabelSummary(n, 1)})
                          .mid(c.progress.isEmpty() ? 1 : 0));
    EXPECT_EQ(CustDb, nullptr);  // every table closed
  }
}

TEST_F(LabelRunsTest, AddressBlockByNameOrByCompany) {
  AddLabelStocks({Stock()});
  const char* company = "Harbourside Office Pty Ltd";                     // 26 characters
  AddCustomers({{1, "Featherstone", "Alexandra", company, 1, "2300"},     // a 22-character name
                {2, "Featherstone", "Alexandria", company, 1, "2300"}});  // 23 characters
  const QString zip_line = QString(20, ' ') + "2300";
  const struct {
    bool by_cust;
    long record;
    QStringList expected;
  } cases[] = {
      {false, 1, {company, "Alexandra Featherstone  2300"}},
      {false, 2, {company, "Alexandria Featherstone", zip_line}},
      {true, 1, {"Alexandra Featherstone", company, zip_line}},
  };
  for (const auto& c : cases) {
    Settings.ByCust = c.by_cust;
    ScriptChoices(scripted_, {c.record}, {});
    EXPECT_EQ(Run(labels::kSelectedCustomers), c.expected);
    // Line by line, 100 pixels apart.
    const auto& ops = scripted_.PrintJobs().back().recording->ops;
    for (size_t i = 0; i < ops.size() && ops[i].kind == platform::RecordingCanvas::Op::kText; ++i) {
      EXPECT_EQ(ops[i].rect.y(), 100 * static_cast<int>(i));
    }
  }
}

TEST_F(LabelRunsTest, WithoutStockChoicesOrAWritableFileNothingIsPrinted) {
  AddCustomers({{1, "Able"}, {2, "Baker"}});
  const QString pdf = "/tmp/labels.pdf";
  struct Case {
    bool stocks, dialog_ok, fail_job;
    std::vector<long> picks;
    QString file;  // without a printer: the PDF file chosen ("" cancels); null: a printer
    QString informed = {};
    QStringList printed = {};
  };
  const Case cases[] = {
      {false,
       true,
       false,
       {1},
       QString(),
       "Label Stock has not been defined. Choose Setup - Labels to define label stock."},
      {true, false, false, {1}, QString()},  // dialog cancelled
      {true, true, false, {}, QString()},    // pick list cancelled at once
      {true, true, false, {1}, ""},          // no PDF file chosen
      {true, true, true, {1}, pdf, "Unable to save to: " + pdf},
      {true, true, true, {1}, QString(), "Unable to print the labels."},
      {true, true, false, {1, 2}, pdf, "", {"Able  ", "Baker  "}},
  };
  bool stocked = false;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.informed.toStdString() + c.file.toStdString());
    if (c.stocks && !stocked) AddLabelStocks({Stock()});
    stocked = c.stocks;
    scripted_.ClearRecords();
    DialogChooses(c.dialog_ok);
    scripted_.SetHasPrinter(c.file.isNull());
    scripted_.FailPrintJobs(c.fail_job);
    if (!c.file.isNull()) scripted_.QueueFileName(c.file);
    ScriptChoices(scripted_, c.picks, {});
    EXPECT_EQ(Run(labels::kSelectedCustomers), c.printed);
    EXPECT_EQ(Informed(), c.informed.isEmpty() ? QStringList() : QStringList{c.informed});
    if (c.printed.isEmpty()) continue;
    // The PDF file is asked for before any customer is picked.
    EXPECT_EQ(scripted_.PrintJobs().back().pdf_path, c.file);
    EXPECT_EQ(scripted_.Requests()[0].kind, platform::ScriptedPlatform::Kind::kSaveFile);
  }
}

TEST_F(LabelRunsTest, PrintDialogOffersTheLastStockUsedAndKeepsTheStartWithinTheSheet) {
  AddLabelStocks({Stock("B stock", 3), Stock("A stock", 1), Stock("B stock", 2)});
  ASSERT_TRUE(OpenLabels());
  // Equal names: the last in name order; an unknown name: the first.
  Settings.LabID = QString("B stock").leftJustified(40);
  const labels::LabPrintOpening opening = labels::OpenLabPrint();
  EXPECT_EQ(opening.stocks, QStringList({"A stock", "B stock", "B stock"}));
  EXPECT_EQ(opening.selected, 2);
  EXPECT_TRUE(labels::LabPrintCancelled);
  Settings.LabID = "nothing";
  EXPECT_EQ(labels::OpenLabPrint().selected, 0);

  // The column keeps within the labels across of the stock chosen in the
  // list (3, 1 and 2 across); the row stays at 1 or more.
  using namespace labels;
  const struct {
    int stock;
    std::function<int()> step;
    int expected;
  } steps[] = {
      {2, [] { return NextColumn(1); }, 2},     {2, [] { return NextColumn(2); }, 2},
      {2, [] { return PreviousColumn(1); }, 1}, {2, [] { return TidyColumn("7"); }, 2},
      {2, [] { return TidyColumn(""); }, 1},    {2, [] { return TidyColumn("0"); }, 1},
      {1, [] { return NextColumn(2); }, 3},     {0, [] { return NextColumn(1); }, 1},
      {0, [] { return PreviousRow(1); }, 1},    {0, [] { return NextRow(40); }, 41},
      {0, [] { return TidyRow(""); }, 1},       {0, [] { return TidyRow("0"); }, 1},
  };
  for (const auto& s : steps) {
    LoadStock(s.stock);
    EXPECT_EQ(s.step(), s.expected) << &s - steps;
  }
  // OK takes the chosen stock, holds the column to it and remembers its name.
  EXPECT_FALSE(AcceptLabPrint(-1, "1", "1"));
  EXPECT_TRUE(LabPrintCancelled);
  ASSERT_TRUE(AcceptLabPrint(0, "3", "4"));
  EXPECT_EQ(std::vector<int>({LabPrintCancelled, LabStartColumn, LabStartRow}),
            std::vector<int>({false, 1, 4}));
  Settings.LabID.clear();
  ASSERT_TRUE(OpenSettings());
  LoadSettings();
  EXPECT_EQ(Settings.LabID.trimmed(), "A stock");
}

}  // namespace
