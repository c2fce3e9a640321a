// The sales, income, receivables and tax reports over small data sets,
// checked through the plain export of the lines the viewer is given.

#include <QLocale>
#include <random>
#include <vector>

#include "../common/CustomerData.h"
#include "../common/DataDirFixture.h"
#include "reports/ReportOutput.h"
#include "reports/RptSales.h"
#include "reports/RptUtil.h"
#include "reports/SalesAmounts.h"
#include "reports/SalesScan.h"
#include "util/MoneyUtil.h"
#include "util/TextUtil.h"

namespace {

using platform::WindowId;

struct Invoice {
  long number;
  long customer;
  const char* date;  // "yyyymmdd"
  double ship, tax, due;
  const char* memo = "";
};
struct Line {
  long invoice;
  const char* product;
  double quantity, price;
  bool tax1 = false;
  bool tax2 = true;
};
struct Payment {
  long invoice;
  const char* date;
  double amount, gst;
};
class SalesReportsTest : public test_support::DataDirFixture {
 protected:
  SalesReportsTest() : DataDirFixture(QDate(2026, 3, 14)) {}

  void SetUp() override {
    previous_locale_ = QLocale();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    DataDirFixture::SetUp();
    scripted_.OnModal(WindowId::kDateSpan, [this] {
      SpanStart = span_start_;
      SpanEnd = span_end_;
      SpanCancelled = false;
      return 1;
    });
    scripted_.OnModal(WindowId::kReportF, [this] {
      for (int line = 0; line <= CurLine; ++line) {
        shown_ << reports::ExportLine(line, reports::ExportKind::kPlainText);
      }
      return 1;
    });
  }
  void TearDown() override {
    DataDirFixture::TearDown();
    QLocale::setDefault(previous_locale_);
  }

  static TDate Day(const char* stored) { return TextToDate(QString::fromLatin1(stored)); }
  void SetSpan(const char* from, const char* to) {
    span_start_ = Day(from);
    span_end_ = Day(to);
  }

  void AddInvoices(const std::vector<Invoice>& invoices) {
    ASSERT_TRUE(OpenInvoices());
    for (const Invoice& i : invoices) {
      ASSERT_EQ(d4appendBlank(InvDb), 0);
      f4assignLong(InvFld.IvNo, i.number);
      f4assignLong(InvFld.CuNo, i.customer);
      f4assign(InvFld.IDate, i.date);
      f4assign(InvFld.IMemo, i.memo);
      f4assignDouble(InvFld.Ship, i.ship);
      f4assignDouble(InvFld.Tax, i.tax);
      f4assignDouble(InvFld.Due, i.due);
    }
    CloseAllTables();
  }
  void AddLines(const std::vector<Line>& lines) {
    ASSERT_TRUE(OpenLineItems());
    for (const Line& l : lines) {
      ASSERT_EQ(d4appendBlank(ItemDb), 0);
      f4assignLong(ItemFld.IvNo, l.invoice);
      f4assign(ItemFld.PrID, l.product);
      f4assignDouble(ItemFld.Qty, l.quantity);
      f4assignDouble(ItemFld.UPR, l.price);
      f4assign(ItemFld.LTax1, l.tax1 ? "T" : "F");
      f4assign(ItemFld.LTax2, l.tax2 ? "T" : "F");
    }
    CloseAllTables();
  }
  void AddPayments(const std::vector<Payment>& payments) {
    ASSERT_TRUE(OpenPayments());
    for (const Payment& p : payments) {
      ASSERT_EQ(d4appendBlank(PmtDb), 0);
      f4assignLong(PmtFld.IvNo, p.invoice);
      f4assign(PmtFld.PDate, p.date);
      f4assignDouble(PmtFld.PAmt, p.amount);
      f4assignDouble(PmtFld.GST, p.gst);
    }
    CloseAllTables();
  }
  void AddProducts(const std::vector<std::pair<const char*, const char*>>& products) {
    ASSERT_TRUE(OpenProducts());
    for (const auto& [id, description] : products) {
      ASSERT_EQ(d4appendBlank(ProdDb), 0);
      f4assign(ProdFld.PrID, id);
      f4assign(ProdFld.PDesc, description);
    }
    CloseAllTables();
  }
  void AddGroups(const std::vector<std::pair<int, const char*>>& groups) {
    ASSERT_TRUE(OpenGroups());
    for (const auto& [number, name] : groups) {
      ASSERT_EQ(d4appendBlank(GroupDb), 0);
      f4assignInt(GroupFld.nGroup, number);
      f4assign(GroupFld.cGroup, name);
    }
    CloseAllTables();
  }

  // Runs the report; the lines the viewer was given, as exported, without
  // the page header (and the column headings when the report has them).
  QStringList Run(void (*report)(), bool headings = true, int titles = 1) {
    shown_.clear();
    scripted_.ClearRecords();
    report();
    return shown_.mid(4 + titles + (headings ? 3 : 0));
  }

  QStringList shown_;
  TDate span_start_ = 0;
  TDate span_end_ = 0;
  QLocale previous_locale_;
};

TEST_F(SalesReportsTest, SalesSummaryTakesTheEndDayAndStopsAtTheDayAfter) {
  AddInvoices({{1004, 1, "20260401", 8.00, 0, 0},
               {1002, 1, "20260331", 5.00, 10.50, 0},
               {1001, 1, "20260301", 0, 0, 0},
               {1003, 1, "20260331", 0, 1.20, 0},
               {1000, 1, "20260228", 1.00, 0, 0},
               {999, 1, "20260331", 0, 0, 0}});
  // 999 comes after 1003 in date order, though its lines come first.
  AddLines({{1002, "PAPA4", 3, 19.99},
            {1002, "TONER", 1, 45.03},
            {1003, "PAPA4", 2, 6},
            {1004, "PAPA4", 1, 99},
            {1000, "PAPA4", 1, 99},
            {999, "PAPA4", 1, 2.5}});
  struct Case {
    const char* from;
    const char* to;
    QStringList body;
  };
  const Case cases[] = {
      {"20260301",
       "20260331",
       {"   1001    3/1/26       0.00        0.00        0.00       0.00",
        "   1002   3/31/26     105.00        5.00       10.50     120.50",
        "   1003   3/31/26      12.00        0.00        1.20      13.20",
        "    999   3/31/26       2.50        0.00        0.00       2.50",
        "           Totals     119.50        5.00       11.70     136.20"}},
      {"20260331",
       "20260331",
       {"   1002   3/31/26     105.00        5.00       10.50     120.50",
        "   1003   3/31/26      12.00        0.00        1.20      13.20",
        "    999   3/31/26       2.50        0.00        0.00       2.50",
        "           Totals     119.50        5.00       11.70     136.20"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.from);
    SetSpan(c.from, c.to);
    EXPECT_EQ(Run(reports::SalesSummary), c.body);
  }
  EXPECT_EQ(shown_.value(2).trimmed(), "Sales Summary for 3/31/26 through 3/31/26");
  EXPECT_EQ(shown_.value(7), "Inv. No      Date      Items  Computed 1  Computed 2      Total");
}

TEST_F(SalesReportsTest, PaymentsWithoutInvoicesSayNoInvoicesWhilePaymentReportsRun) {
  AddInvoices({{1001, 1, "20260110", 0, 0, 0, "Visa 1234"}});
  AddPayments({{1001, "20260305", 50.00, 4.55}, {1002, "20260306", 20.00, 0}});
  SetSpan("20260301", "20260331");
  const struct {
    const char* name;
    void (*report)();
    const char* said;  // null: the report is shown
  } cases[] = {
      {"SalesSummary", reports::SalesSummary, "No Invoices within selected dates."},
      {"SalesByProduct", reports::SalesByProduct, "No Invoices within selected dates."},
      {"TaxSummary", reports::TaxSummary, "No Invoices within selected dates."},
      {"DailyIncome", reports::DailyIncome, nullptr},
      {"TaxCollections", reports::TaxCollections, nullptr},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Run(c.report);
    EXPECT_EQ(scripted_.Said(), c.said ? QStringList{c.said} : QStringList());
    EXPECT_EQ(scripted_.ModalCount(WindowId::kReportF), c.said ? 0 : 1);
  }
  // The collections list each payment with its invoice's memo (none for a
  // missing invoice).
  EXPECT_EQ(
      Run(reports::TaxCollections),
      (QStringList{" 3/5/26     1001  Visa 1234                          50.00         4.55",
                   " 3/6/26     1002                                     20.00         0.00",
                   " Total Income                                        70.00         4.55"}));
  SetSpan("20260401", "20260430");
  Run(reports::DailyIncome);
  EXPECT_EQ(scripted_.Said(), QStringList{"No Payments within selected dates."});
}

TEST_F(SalesReportsTest, ProductsSumIntoOneRowInProductOrderWithUnknownCodesLast) {
  AddProducts({{"TONER", "Toner cartridge"}, {"PAPA4", "Copy paper A4"}, {"UNUSED", "Never sold"}});
  AddInvoices({{1001, 1, "20260302", 0, 0, 0},
               {1002, 1, "20260310", 0, 0, 0},
               {1003, 1, "20260320", 0, 0, 0}});
  AddLines({{1001, "TONER", 1, 45.03},
            {1001, "GONE", 2, 1.50},
            {1002, "TONER", 2, 45.03},
            {1003, "TONER", 0.5, 45.03},
            {1003, "PAPA4", 3, 6.95}});
  SetSpan("20260301", "20260331");
  EXPECT_EQ(Run(reports::SalesByProduct),
            (QStringList{"  PAPA4        Copy paper A4                 3.00         20.85",
                         "  TONER        Toner cartridge               3.50        157.61",
                         "  GONE         Unknown Product               2.00          3.00",
                         "  Total Sales                                            181.46"}));
}

TEST_F(SalesReportsTest, SalesByProductRoundsEachAdditionAsATextOfTwoDecimalsWould) {
  // The running sums against sums kept as "%10.2f" texts and read back.
  std::mt19937 random(17);
  reports::ProductSales sales;
  std::vector<std::pair<QString, QString>> texts(3);
  for (int i = 0; i < 3000; ++i) {
    const int code = static_cast<int>(random() % 3);
    const double quantity = static_cast<double>(random() % 2001) / 8.0 - 50;
    const double price = static_cast<double>(random() % 100001) / 1000.0;
    const char* codes[] = {"A", "B", "C"};
    sales.Add(codes[code], quantity, price);
    auto& [quantity_text, total_text] = texts[code];
    const double old_quantity = quantity_text.isEmpty() ? 0 : *TextToNumber(quantity_text);
    const double old_total = total_text.isEmpty() ? 0 : *TextToNumber(total_text);
    quantity_text = FixedText(quantity_text.isEmpty() ? quantity : old_quantity + quantity, 10, 2);
    total_text =
        FixedText(total_text.isEmpty() ? quantity * price : old_total + quantity * price, 10, 2);
  }
  for (const reports::ProductSales::Row& row : sales.Rows()) {
    const auto& [quantity_text, total_text] = texts[row.code[0] - 'A'];
    EXPECT_EQ(FixedText(row.quantity, 10, 2), quantity_text) << row.code;
    EXPECT_EQ(FixedText(row.total, 10, 2), total_text) << row.code;
    EXPECT_EQ(row.total, *TextToNumber(total_text)) << row.code;
  }
}

TEST_F(SalesReportsTest, AmountsAndNumbersReadAsTheProgramsTexts) {
  std::vector<double> values = {0,     -0.0,    0.005,   -0.005,      0.125,      -0.125,
                                2.675, 1.005,   -0.001,  1e13,        4.5e13,     9e15,
                                1e300, -1e-300, 123.456, 99999999.99, 1234567.125};
  std::mt19937_64 random(3);
  for (int i = 0; i < 20000; ++i) {
    values.push_back(static_cast<double>(static_cast<int64_t>(random() % 2000000000) - 1000000000) /
                     static_cast<double>(1 << (random() % 12)));
  }
  for (const QLocale& locale : {QLocale(QLocale::English), QLocale(QLocale::German)}) {
    QLocale::setDefault(locale);
    const reports::AmountFormat money;
    for (double value : values) {
      for (int width : {0, 10, 12}) {
        ASSERT_EQ(QStringView(money(value, width)), FixedText(value, width, 2)) << value;
      }
    }
  }
  for (long number : {0L, 7L, -7L, 1001L, 999999L, 1234567L, -123456L}) {
    ASSERT_EQ(QStringView(reports::NumberText(number, 6)), PadNumber(number, 6)) << number;
    char key[16];
    const bool fits = reports::NumberKey(number, 6, key);
    EXPECT_EQ(fits, PadNumber(number, 6).size() == 6) << number;
    if (fits) {
      EXPECT_EQ(QString::fromLatin1(key), PadNumber(number, 6));
    }
  }
}

TEST_F(SalesReportsTest, ReceivablesListDuesOfEitherSignAndCreditsLowerTheTotal) {
  test_support::AddCustomers(
      {{.cuno = 1, .last = "Smith", .first = "James", .company = "Harbour Plumbing", .title = "Mr"},
       {.cuno = 2, .last = "Jones", .first = "Olivia"}});
  AddInvoices({{1001, 1, "20260301", 0, 0, 100.00},
               {1002, 2, "20260214", 0, 0, 0},
               {1003, 2, "20260214", 0, 0, -20.00},
               {1004, 9, "20251214", 0, 0, 5.50}});
  const struct {
    bool by_name;
    QStringList body;
  } cases[] = {
      {true,
       {"   1001   Mr James Smith                             13        100.00",
        "   1003    Olivia Jones                              28        -20.00",
        "   1004   UNKNOWN                                    90          5.50",
        " Total Receivables                                              85.50"}},
      {false,
       {"   1001   Harbour Plumbing                           13        100.00",
        "   1003                                              28        -20.00",
        "   1004   UNKNOWN                                    90          5.50",
        " Total Receivables                                              85.50"}},
  };
  for (const auto& c : cases) {
    Settings.ByCust = c.by_name;
    EXPECT_EQ(Run(reports::Receivables), c.body);
  }
  EXPECT_EQ(shown_.value(2).trimmed(), "RECEIVABLES");
}

TEST_F(SalesReportsTest, AgingPutsEachDueInTheColumnOfItsAge) {
  test_support::AddCustomers({{.cuno = 1, .last = "Lee", .first = "Ava", .title = "Ms"}});
  // Today is 3/14/26: ages 30, 31, 60, 61, 90 and 91 days, and a credit.
  AddInvoices({{1001, 1, "20260212", 0, 0, 1.00},
               {1002, 1, "20260211", 0, 0, 2.00},
               {1003, 1, "20260113", 0, 0, 4.00},
               {1004, 1, "20260112", 0, 0, 8.00},
               {1005, 1, "20251214", 0, 0, 16.00},
               {1006, 1, "20251213", 0, 0, 32.00},
               {1007, 1, "20260314", 0, 0, -0.50},
               {1008, 1, "20260314", 0, 0, 0}});
  EXPECT_EQ(
      Run(reports::ReceivablesAging),
      (QStringList{
          "   1001  Ms Ava Lee               30        1.00",
          "   1002  Ms Ava Lee               31                    2.00",
          "   1003  Ms Ava Lee               60                    4.00",
          "   1004  Ms Ava Lee               61                                8.00",
          "   1005  Ms Ava Lee               90                               16.00",
          "   1006  Ms Ava Lee               91                                           32.00",
          "   1007  Ms Ava Lee                0       -0.50",
          " Totals                                     0.50        6.00       24.00       32.00",
          " Total Receivables                                                             62.50"}));
  EXPECT_EQ(shown_.value(7),
            "Inv. No  Customer               Days        0-30       31-60       61-90     Over 90");
  for (const QString& line : shown_) EXPECT_LE(line.size(), 85) << line.toStdString();
}

TEST_F(SalesReportsTest, DailyIncomeShowsTheDateUntilTheDaysTotalIsNoLongerZero) {
  AddInvoices({{1001, 1, "20260301", 0, 0, 0, "Cheque 17"}});
  AddPayments({{1001, "20260302", 0.00, 0},
               {1001, "20260302", 30.00, 0},
               {1001, "20260302", 12.50, 0},
               {1001, "20260303", 7.25, 0}});
  SetSpan("20260301", "20260331");
  EXPECT_EQ(
      Run(reports::DailyIncome),
      (QStringList{" 3/2/26     1001  Cheque 17                           0.00",
                   " 3/2/26     1001  Cheque 17                          30.00",
                   "            1001  Cheque 17                          12.50        42.50",
                   " 3/3/26     1001  Cheque 17                           7.25         7.25",
                   " Total Payments                                                   49.75"}));
}

TEST_F(SalesReportsTest, TaxSummaryCountsChargeOneUnderChargeTwoByTheRule) {
  AddInvoices({{1001, 1, "20260302", 10.00, 0, 0}, {1002, 1, "20260303", 20.00, 3.00, 0}});
  AddLines({{1001, "A", 2, 50.00, true, false}, {1002, "B", 1, 30.00, false, true}});
  SetSpan("20260301", "20260331");
  // The labels as stored, blank padded to the width of their field.
  const QString label1 = Settings.ShipLine;
  const QString label2 = Settings.TaxLine;
  const struct {
    int ship_tax;
    double rate1;
    const char* subject_to_2;
  } cases[] = {
      {1, 0, "      30.00"},  // no tax on charge 1
      {2, 0, "      60.00"},  // both invoices' charge 1
      {3, 0, "      50.00"},  // only the invoice that carries charge 2
      {3, 5, "      50.00"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.ship_tax);
    Settings.ShipTax = c.ship_tax;
    Settings.TaxRate1 = c.rate1;
    // In the plain export an amount that would overlap the padded label
    // follows it.
    QStringList expected = {"", "Net Item Sales                              130.00"};
    if (c.rate1 > 0) {
      expected << "Sales subject to " + label1 + "     100.00" << label1 + " Charged       30.00";
    }
    expected << "Sales subject to " + label2 + QString(c.subject_to_2)
             << label2 + " Charged        3.00"
             << "Total                                       163.00";
    EXPECT_EQ(Run(reports::TaxSummary, false), expected);
  }
}

TEST_F(SalesReportsTest, BuyersOfAProductWithTheirGroupsOrUnknown) {
  AddProducts({{"TONER", "Toner cartridge"}});
  AddGroups({{1, "Trade"}});
  test_support::AddCustomers(
      {{.cuno = 1, .last = "Chen", .first = "Wei", .company = "Summit Dental", .title = "Dr"},
       {.cuno = 2, .last = "King", .first = "Mia", .group = 7}});
  AddInvoices({{1001, 1, "20260302", 0, 0, 0},
               {1002, 2, "20260303", 0, 0, 0},
               {1003, 5, "20260304", 0, 0, 0}});
  AddLines({{1001, "TONER", 1, 89.00},
            {1001, "PAPA4", 1, 6.95},
            {1001, "TONER", 2, 80.10},
            {1002, "TONER", 1, 89.00},
            {1003, "TONER", 1, 89.00}});
  SetSpan("20260301", "20260331");
  scripted_.OnModal(WindowId::kPickProd, [] {
    SelProd = 1;
    return 1;
  });
  EXPECT_EQ(Run(reports::ProductBuyers, true, 2),
            (QStringList{
                " Dr Wei Chen                         Trade                  3/2/26     89.00",
                " Dr Wei Chen                         Trade                  3/2/26     80.10",
                "  Mia King                           UNKNOWN                3/3/26     89.00",
                " UNKNOWN                             UNKNOWN                3/4/26     89.00"}));
  EXPECT_EQ(shown_.value(2).trimmed(), "Buyers of TONER-Toner cartridge");
  EXPECT_EQ(shown_.value(3).trimmed(), "from 3/1/26 through 3/31/26");
  // No product chosen: nothing is shown and no date is asked.
  scripted_.OnModal(WindowId::kPickProd, [] {
    SelProd = -1;
    return 0;
  });
  Run(reports::ProductBuyers);
  EXPECT_EQ(scripted_.ModalCount(WindowId::kDateSpan), 0);
  EXPECT_EQ(scripted_.ModalCount(WindowId::kReportF), 0);
}

}  // namespace
