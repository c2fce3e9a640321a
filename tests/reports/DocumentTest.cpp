// Invoices, bills and statements composed from the tables, as the viewer
// receives them (each line exported as plain text, and its cells).

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "../common/DataDirFixture.h"
#include "ReportFixture.h"
#include "platform/PrintSetup.h"
#include "platform/QtCanvas.h"
#include "reports/LinePainter.h"
#include "reports/MailReport.h"
#include "reports/ReportOutput.h"
#include "reports/RptInvoices.h"
#include "reports/RptStatements.h"

namespace {

using platform::WindowId;

const QDate kToday(2026, 3, 14);

struct Item {
  const char* product;
  double quantity;
  double price;
  const char* comment = "";
};

struct Shown {
  QStringList plain;  // each line as plain text
  QStringList raw;    // each line's cells joined by "|", flags last
  // The document titles: bold centred lines not under a "Page n" line.
  QStringList Titles() const {
    QStringList titles;
    for (int i = 2; i < raw.size(); ++i) {
      if (raw[i].startsWith('C') && raw[i].endsWith("|B") && !raw[i - 2].startsWith("L00Page")) {
        titles << plain[i].trimmed();
      }
    }
    return titles;
  }
};

class DocumentTest : public test_support::DataDirFixture {
 protected:
  DocumentTest() : DataDirFixture(kToday) {}

  void SetUp() override {
    DataDirFixture::SetUp();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    Settings.Company = "Harbourside Office";
    Settings.Addr1 = "118 Hunter Street";
    Settings.Addr2 = "Newcastle NSW 2300";
    Settings.LHJustify = 1;
    Settings.ShipLine = "Delivery";
    Settings.TaxLine = "GST";
    scripted_.OnModal(WindowId::kReportF, [this] { return Keep(); });
    scripted_.OnModal(WindowId::kDateSpan, [] {
      SpanStart = SpanEnd = FromQDate(kToday);
      SpanCancelled = false;
      return 1;
    });
    ASSERT_TRUE(OpenCustomers() && OpenInvoices() && OpenLineItems() && OpenPayments() &&
                OpenProducts());
  }

  static void AddCustomer(long cuno, const char* last, const char* zip, const char* email = "") {
    EXPECT_EQ(d4appendBlank(CustDb), 0);
    f4assignLong(CustFld.cuno, cuno);
    f4assign(CustFld.email, email);
    for (const auto& [field, text] : {std::pair{CustFld.title, "Ms"}, {CustFld.first, "Ann"},
                                      {CustFld.last, last}, {CustFld.addr1, "Kestrel Dental"},
                                      {CustFld.addr2, "1 Harbour Road"},
                                      {CustFld.addr4, "Portsmouth"}, {CustFld.zip, zip}}) {
      f4assign(field, text);
    }
  }

  static void AddInvoice(long number, long customer, QDate date, std::vector<Item> items,
                         double paid, double due, double ship = 0, const char* note = "") {
    EXPECT_EQ(d4appendBlank(InvDb), 0);
    f4assignLong(InvFld.IvNo, number);
    f4assignLong(InvFld.CuNo, customer);
    f4assign(InvFld.IDate, DateToText(FromQDate(date)).toLatin1().constData());
    f4assign(InvFld.IMemo, "Visa");
    f4assignDouble(InvFld.Ship, ship);
    f4assignDouble(InvFld.Due, due);
    EXPECT_EQ(f4memoAssign(InvFld.REM, note), 0);
    for (const Item& item : items) {
      EXPECT_EQ(d4appendBlank(ItemDb), 0);
      f4assignLong(ItemFld.IvNo, number);
      f4assign(ItemFld.PrID, item.product);
      f4assignDouble(ItemFld.Qty, item.quantity);
      f4assignDouble(ItemFld.UPR, item.price);
      f4assign(ItemFld.PDesc, (QByteArray(item.product) + " item").constData());
      f4assign(ItemFld.IComm, item.comment);
    }
    EXPECT_EQ(d4appendBlank(PmtDb), 0);
    f4assignLong(PmtFld.IvNo, number);
    f4assignDouble(PmtFld.PAmt, paid);
  }

  // What the viewer was given.
  int Keep() {
    Shown& report = shown_.emplace_back();
    for (int line = 0; line < RptLines.Count(); ++line) {
      report.plain << reports::ExportLine(line, reports::ExportKind::kPlainText);
      report.raw << RptLines.Line(line).join('|');
    }
    return 1;
  }

  // The pick list choosing these record numbers in turn, then cancelling.
  void Pick(WindowId pick, long* selection, std::vector<long> records) {
    CloseAllTables();
    auto left = std::make_shared<std::vector<long>>(records.rbegin(), records.rend());
    scripted_.OnModal(pick, [selection, left] {
      *selection = left->empty() ? -1 : left->back();
      if (!left->empty()) left->pop_back();
      return *selection > 0 ? 1 : 0;
    });
  }

  std::vector<Shown> shown_;
};

QString RunTool(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  process.waitForFinished(30000);
  return QString::fromUtf8(process.readAllStandardOutput());
}

// Line by line as composed, and printed into a PDF file read back with
// pdftotext and as a picture with pdftoppm. PELMARK_KEEP_TEST_FILES keeps
// the files for a look.
TEST_F(DocumentTest, TaxInvoiceReadsLineByLineAndPrintsWithItsLogo) {
  QTemporaryDir temp;
  temp.setAutoRemove(qEnvironmentVariableIsEmpty("PELMARK_KEEP_TEST_FILES"));
  QImage logo(300, 100, QImage::Format_RGB32);
  logo.fill(QColor(200, 0, 0));
  ASSERT_TRUE(logo.save(temp.filePath("logo.png")));
  Settings.LogoFile = temp.filePath("logo.png");
  Settings.LogoHeight = 0.5;
  Settings.LogoWidth = 1.5;
  AddCustomer(7, "Lee", "2300");
  EXPECT_EQ(d4appendBlank(ProdDb), 0);
  f4assign(ProdFld.PrID, "ACCTS");
  f4assign(ProdFld.RCode, "PA-24");
  EXPECT_EQ(f4memoAssign(ProdFld.PMemo, "Licensed for the computers shown."), 0);
  AddInvoice(1042, 7, kToday, {{"PAPER", 3, 19.99, "As quoted"}, {"ACCTS", 1, 299}}, 100, 333.33,
             15, "Thank you.");
  CloseAllTables();
  const QString pdf = temp.filePath("invoice.pdf");
  ReportFont = QFont("DejaVu Sans", 10);
  scripted_.OnModal(WindowId::kReportF, [&] {
    std::unique_ptr<platform::Canvas> job = platform::StartQtPrintJob(pdf);
    EXPECT_TRUE(job && reports::PrintLines(*job) && job->Finish());
    return Keep();
  });
  PrintInvoices(true, true);
  ASSERT_EQ(shown_.size(), 1u);
  const QStringList expected = {
      "", "", "", "", "Harbourside Office", "118 Hunter Street", "Newcastle NSW 2300",
      QString(66, ' ') + "3/14/26", "", QString(31, ' ') + "Tax Invoice", "", "",
      "To:       Ms  Ann Lee                            Invoice No:  1042",
      "          Kestrel Dental                       Invoice Date:  3/14/26",
      "          1 Harbour Road", "          ", "          Portsmouth  2300", "", "",
      " Item Code   Description                    Price       Qty        Total",
      " PAPER       PAPER item                     19.99      3.00        59.97",
      "             As quoted",
      " ACCTS       ACCTS item                    299.00      1.00       299.00",
      "             License No. PA-247",
      " Visa                                             SubTotal:       358.97",
      "                                                  Delivery:        15.00",
      "                                                       GST:         0.00",
      "                                                     Total:       373.97",
      "                                               Amount Paid:       100.00",
      "                                               Balance Due:       333.33", "", "",
      "Licensed for the computers shown.", "", "Thank you."};
  EXPECT_EQ(shown_[0].plain, expected);
  const std::pair<int, QString> raw[] = {
      {0, "IL00" + Settings.LogoFile + "|||||||||||S 0.50 1.50"},
      {6, "L00Newcastle NSW 2300|||||||||||BU"},
      {18, "|||||||||||U"},
      {23, "V00||V12|L13License No. PA-247|V41||V50||V60||V73|U"},
      {29, "|||||||R59Balance Due:|V60|R72      333.33|V73|"},
      {30, "||||||||||H6073|"}};
  for (const auto& [line, cells] : raw) EXPECT_EQ(shown_[0].raw.value(line), cells);

  const QString text = RunTool("pdftotext", {"-layout", pdf, "-"});
  for (const char* pattern :
       {R"(Ann Lee\s+Invoice No:\s+1042\n.*Invoice Date:\s+3/14/26\n)",
        R"(PAPER\s+PAPER item\s+19\.99\s+3\.00\s+59\.97\n)", R"(License No\. PA-247\s*\n)",
        R"(SubTotal:\s+358\.97\n\s+Delivery:\s+15\.00\n\s+GST:\s+0\.00\n\s+Total:\s+373\.97\n)",
        R"(Amount Paid:\s+100\.00\n\s+Balance Due:\s+333\.33\n)"}) {
    EXPECT_TRUE(text.contains(QRegularExpression(pattern))) << pattern << text.toStdString();
  }
  // The logo prints 1.5 by 0.5 inches: its red pixels at 100 dots per inch.
  RunTool("pdftoppm", {"-png", "-r", "100", "-singlefile", pdf, temp.filePath("page")});
  const QImage page(temp.filePath("page.png"));
  int red = 0;
  for (int y = 0; y < page.height(); ++y) {
    for (int x = 0; x < page.width(); ++x) red += page.pixelColor(x, y) == QColor(200, 0, 0);
  }
  EXPECT_NEAR(red, 150 * 50, 150 * 50 / 20);
}

TEST_F(DocumentTest, EachDocumentStartsANewPageAndNumbersItsOwnContinuationPages) {
  AddCustomer(1, "Long", "2300");
  AddInvoice(1001, 1, kToday, std::vector<Item>(70, {"PAPER", 1, 2.5}), 0, 175);
  AddInvoice(1002, 1, kToday, {{"PAPER", 1, 2.5}}, 0, 2.5);
  CloseAllTables();
  PrintInvoices(true, true);
  ASSERT_EQ(shown_.size(), 1u);
  const Shown& report = shown_[0];
  const QList<qsizetype> ejects = {report.raw.indexOf(QRegularExpression("EJECT.*")),
                             report.raw.lastIndexOf(QRegularExpression("EJECT.*"))};
  ASSERT_LT(ejects[0], ejects[1]);
  EXPECT_LE(ejects[0], PageLen);
  EXPECT_TRUE(report.raw[ejects[0] - 1].endsWith("|U"));
  // A continuation page: its number, the document's title and the headings.
  EXPECT_EQ(report.plain.mid(ejects[0] + 1, 9),
            (QStringList{"Page 2" + QString(60, ' ') + "3/14/26", "",
                         QString(31, ' ') + "Tax Invoice", "", "", "", "",
                         " Item Code   Description                    Price       Qty        Total",
                         " PAPER       PAPER item                      2.50      1.00         2.50"}));
  EXPECT_EQ(report.plain[ejects[1] + 1], "Harbourside Office");
  EXPECT_EQ(report.plain.filter("Page ").size(), 1);
  EXPECT_EQ(report.Titles(), (QStringList{"Tax Invoice", "Tax Invoice"}));
}

TEST_F(DocumentTest, BillsAreTitledByTheirBalanceAndDatedRunsSkipSettledOnes) {
  CloseAllTables();
  PrintInvoices(false, true);
  EXPECT_EQ(scripted_.Said(), QStringList{"No invoices to select."});
  ASSERT_TRUE(OpenCustomers() && OpenInvoices() && OpenLineItems() && OpenPayments());
  AddCustomer(1, "Bell", "2300");
  AddInvoice(1001, 1, kToday, {{"PAPER", 4, 2.5}}, 0, 10);
  AddInvoice(1002, 1, kToday, {{"PAPER", 4, 2.5}}, 10, 0);
  AddInvoice(1003, 1, kToday, {{"PAPER", 2, 2.5}}, 10, -5);
  struct Case {
    bool by_dates;
    bool invoice_mode;
    std::vector<long> picks;  // record numbers picked in turn
    QStringList titles;
  };
  const Case cases[] = {
      {true, true, {}, {"Tax Invoice", "Tax Invoice", "Tax Invoice"}},
      {true, false, {}, {"Bill"}},
      {false, false, {2, 1, 3}, {"Statement", "Bill", "Statement"}},
  };
  for (const Case& c : cases) {
    shown_.clear();
    Pick(WindowId::kPickInv, &SelInv, c.picks);
    PrintInvoices(c.by_dates, c.invoice_mode);
    ASSERT_EQ(shown_.size(), 1u);
    EXPECT_EQ(shown_[0].Titles(), c.titles);
  }
}

TEST_F(DocumentTest, StatementsChargeUnroundedProductsAndListUnsettledInvoicesByPostalCode) {
  AddCustomer(1, "Credit", "3000");
  AddCustomer(2, "Settled", "2000");
  AddCustomer(3, "Owing", "2500");
  const QDate march(2026, 3, 2);
  const std::vector<Item> items = {{"PAPER", 3, 19.99}, {"PAPER", 0.33, 10.01},
                                   {"PAPER", 0.33, 10.01}, {"PAPER", 0.33, 10.01}};
  AddInvoice(1001, 1, march, {{"PAPER", 2, 2.5}}, 10, -5);
  AddInvoice(1002, 2, march, {{"PAPER", 2, 2.5}}, 5, 0);
  AddInvoice(1003, 3, QDate(2026, 2, 28), {{"PAPER", 4, 2.5}}, 0, 10);
  AddInvoice(1004, 3, march, items, 20, 52.87, 3);
  AddInvoice(1005, 3, QDate(2026, 3, 31), {{"PAPER", 4, 2.5}}, 3, 7);
  CloseAllTables();
  scripted_.OnModal(WindowId::kDateSpan, [] {
    SpanCancelled = SpanStart != FromQDate(QDate(2026, 3, 1));  // the month is offered
    return 1;
  });
  PrintStatements(true);
  Pick(WindowId::kPickInv, &SelInv, {4});
  PrintInvoices(false, true);
  ASSERT_EQ(shown_.size(), 2u);
  const Shown& statements = shown_[0];
  EXPECT_EQ(statements.Titles(), (QStringList{"Account Statement", "Account Statement"}));
  EXPECT_EQ(statements.plain.filter("To:"),
            (QStringList{"To:       Ms  Ann Owing", "To:       Ms  Ann Credit"}));
  // Charges add the products unrounded: 59.97 + 3 x 3.3033 + 3.00.
  const QStringList rows = {"   1004     3/2/26        72.88        20.00        52.87",
                            "   1005    3/31/26        10.00         3.00         7.00",
                            "            Totals        82.88        23.00        59.87",
                            "   1001     3/2/26         5.00        10.00        -5.00",
                            "            Totals         5.00        10.00        -5.00"};
  for (const QString& row : rows) EXPECT_EQ(statements.plain.count(row), 1) << row.toStdString();
  const qsizetype totals = statements.plain.indexOf(rows[2]);
  EXPECT_EQ(statements.raw[totals - 1].section('|', -1), "U");
  EXPECT_EQ(statements.raw[totals],
            "|R18Totals|||V20|R31      82.88|V33|R44      23.00|V46|R57      59.87|V59|");
  EXPECT_EQ(statements.raw[totals + 1], "||||||||||H2059|");
  // The invoice rounds each line: 59.97 + 3 x 3.30.
  EXPECT_EQ(shown_[1].plain.filter(QRegularExpression("(SubTotal|Total): +(69.87|72.87)$")).size(),
            2);
}

// Documents for one customer go to the mail program as a PDF attachment
// with the customer's address; where there is no mail program the PDF is
// offered to be saved instead.
TEST_F(DocumentTest, DocumentsOfOneCustomerAreMailedAsAPdfAttachment) {
  AddCustomer(1, "Bell", "2300", " ann@kestrel.example ");
  AddCustomer(2, "Hart", "2300", "x@y.example?attach=/etc/passwd");
  AddInvoice(1001, 1, kToday, {{"PAPER", 1, 2.5}}, 0, 2.5);
  AddInvoice(1002, 1, kToday, {{"PAPER", 1, 2.5}}, 0, 2.5);
  AddInvoice(1003, 2, kToday, {{"PAPER", 1, 2.5}}, 0, 2.5);
  using enum platform::ProgramOutcome;
  struct Case {
    std::vector<long> picks;  // invoice records picked in turn
    platform::ProgramOutcome outcome;
    const char* save_as;  // the answer to "save instead?": a file name, "" No
    const char* run;      // xdg-email's arguments, the PDF by its name; "" not offered
  };
  const Case cases[] = {
      {{1}, kSucceeded, "", "--attach Tax_Invoice_1001.pdf ann@kestrel.example"},
      {{2}, kStillRunning, "", "--attach Tax_Invoice_1002.pdf ann@kestrel.example"},
      {{1, 2}, kSucceeded, "", "--attach Documents.pdf ann@kestrel.example"},
      {{3}, kSucceeded, "", "--attach Tax_Invoice_1003.pdf"},
      {{1}, kNotStarted, "saved.pdf", "--attach Tax_Invoice_1001.pdf ann@kestrel.example"},
      {{1}, kFailed, "", "--attach Tax_Invoice_1001.pdf ann@kestrel.example"},
      {{1, 3}, kSucceeded, "", ""},
  };
  const QString question =
      "No mail program is set up on this computer to send the document.\r\n"
      "Save it as a PDF file instead?";
  for (const Case& c : cases) {
    const std::string name = QString::number(&c - cases).toStdString();
    scripted_.ClearRecords();
    const bool fails = c.outcome == kNotStarted || c.outcome == kFailed;
    if (*c.run) scripted_.QueueProgramOutcome(c.outcome);
    if (fails) scripted_.QueueAnswer(*c.save_as ? platform::Answer::kYes : platform::Answer::kNo);
    if (*c.save_as) scripted_.QueueFileName(c.save_as);
    bool offered = false;
    scripted_.OnModal(WindowId::kReportF, [&] {
      offered = reports::CanMailReport();
      reports::MailReport();
      return 1;
    });
    Pick(WindowId::kPickInv, &SelInv, c.picks);
    PrintInvoices(false, true);
    EXPECT_EQ(offered, *c.run != 0) << name;
    if (*c.run == 0) {
      EXPECT_TRUE(scripted_.ProgramRuns().empty()) << name;
      continue;
    }
    ASSERT_EQ(scripted_.ProgramRuns().size(), 1u) << name;
    const auto& run = scripted_.ProgramRuns()[0];
    EXPECT_EQ(run.program, "xdg-email");
    // The PDF was printed into the file handed over, in a folder of its own.
    const QString pdf = run.arguments.value(1);
    ASSERT_FALSE(scripted_.PrintJobs().empty()) << name;
    EXPECT_EQ(scripted_.PrintJobs()[0].pdf_path, pdf) << name;
    QStringList arguments = run.arguments;
    arguments[1] = QFileInfo(pdf).fileName();
    EXPECT_EQ(arguments.join(' '), c.run) << name;
    EXPECT_EQ(QDir(QFileInfo(pdf).path()).exists(), !fails) << name;
    EXPECT_EQ(scripted_.WasShown(question), fails) << name;
    if (*c.save_as) {
      ASSERT_EQ(scripted_.PrintJobs().size(), 2u) << name;
      EXPECT_EQ(scripted_.PrintJobs()[1].pdf_path, c.save_as);
      EXPECT_EQ(scripted_.Requests().back().proposed, QFileInfo(pdf).fileName());
    }
    QDir(QFileInfo(pdf).path()).removeRecursively();
    EXPECT_EQ(scripted_.Pending(), 0) << name;
  }
  EXPECT_EQ(RptRecipient.customer, 0);  // forgotten with the buffer
}

TEST(MailAddressTest, OnlyAPlainAddressReachesTheMailProgram) {
  const std::pair<const char*, const char*> cases[] = {
      {" ann.lee+inv@kestrel-dental.example ", "ann.lee+inv@kestrel-dental.example"},
      {"a@b.co", "a@b.co"},
      {"", ""},
      {"ann@localhost", ""},
      {"ann lee@kestrel.example", ""},
      {"ann@kestrel.example?attach=/etc/passwd", ""},
      {"ann@kestrel.example,eve@evil.example", ""},
      {"--attach@kestrel.example", ""},
      {"ann@kestrel.example&subject=x", ""},
      {"<ann@kestrel.example>", ""},
  };
  for (const auto& [stored, given] : cases)
    EXPECT_EQ(reports::MailAddress(stored), given) << stored;
}

}  // namespace
