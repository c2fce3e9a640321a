// The reports over payments and amounts due: daily income, the GST/VAT
// income and collections, receivables and receivables by age.

#include <array>

#include "platform/Platform.h"
#include "reports/ReportRun.h"
#include "reports/RptSales.h"
#include "reports/RptUtil.h"
#include "reports/SalesAmounts.h"
#include "reports/SalesScan.h"
#include "store/CodeBase.h"

namespace reports {

namespace {

QString SpanText() {
  return ShortDateText(SpanStart) + QStringLiteral(" through ") + ShortDateText(SpanEnd);
}

bool OpenPaymentTables() { return OpenInvoices() && OpenPayments(); }

// The payments' columns; the last one holds a daily total or the tax part.
const QStringList kPaymentCodes = {"V00", "L01", "V10", "R16", "V17", "L18",
                                   "V48", "R58", "V59", "R71", "V72"};

// The memo (cheque or card number) of the invoice the current payment pays;
// empty when the invoice is missing.
QString PaidInvoiceMemo() {
  return SeekNumber(InvDb, f4long(PmtFld.IvNo), 6) ? FieldText(InvFld.IMemo) : QString();
}

// The name of the current invoice's customer; "UNKNOWN" when it is missing.
QString InvoiceCustomer() {
  return SeekNumber(CustDb, f4long(InvFld.CuNo), 6) ? CustomerName() : QStringLiteral("UNKNOWN");
}

// Receivables read every invoice in number order, customers by number.
bool OpenReceivableTables() {
  if (!OpenInvoices() || !OpenCustomers()) return false;
  SelectTag(CustDb, "CCNO");
  if (d4recCountDo(InvDb) > 0) return true;
  platform::Current().Inform(QStringLiteral("No Invoices within selected dates."));
  return false;
}

// Calls each(due) for every invoice in number order whose amount due is not
// 0, either sign, stepping the progress over all invoices.
template <typename Each>
void ForEachOpenInvoice(RecordProgress& progress, Each each) {
  progress.SetTotal(d4recCountDo(InvDb));
  for (int rc = d4top(InvDb); rc == r4success; rc = d4skip(InvDb, 1)) {
    const double due = f4double(InvFld.Due);
    if (due != 0) each(due);
    progress.Step();
  }
}

}  // namespace

void DailyIncome() {
  SpanWalk walk(SpanWalk::kPayments);
  ReportRun run;
  run.preset_span = SetMonthSpan;
  run.open_tables = OpenPaymentTables;
  run.prepare = [&] { return walk.Start(); };
  run.width = 72;
  run.cells = 12;
  run.layout = [] {
    RptTitles = {QStringLiteral("Daily Income from ") + SpanText()};
    ColCodes = kPaymentCodes;
    SetColumnHeadings({"Pmt Date", "Inv No.", "Check - Credit Card No.", "Amount", "Daily Total"});
  };
  run.progress_text = QStringLiteral("Processing Payments");
  run.write = [&](RecordProgress& progress) {
    const AmountFormat money;
    progress.SetTotal(walk.Estimate());
    StoredDates dates;
    double day_total = 0, grand_total = 0;
    QByteArray day;  // the date of the day's payments, as stored
    auto close_day = [&] {
      PutCell(9, money(day_total, 12));
      AddFlags(QStringLiteral("U"));
      grand_total += day_total;
      day_total = 0;
    };
    for (walk.Rewind(); walk.InSpan(); walk.Next()) {
      const char* date = f4str(PmtFld.PDate);
      if (!day.isNull() && day != date) close_day();
      day = date;
      const double amount = f4double(PmtFld.PAmt);
      NewDetailLine(2);
      // The date stands on the day's lines until its total is no longer 0.
      PutRow({day_total == 0 ? dates.Text(date) : QString(), NumberText(f4long(PmtFld.IvNo)),
              PaidInvoiceMemo(), money(amount, 10)});
      day_total += amount;
      progress.Step();
    }
    close_day();
    PutTotalLine(u"Total Payments", {{9, money(grand_total, 12)}});
  };
  RunReport(run);
}

void TaxCollections() {
  SpanWalk walk(SpanWalk::kPayments);
  const auto tax_name = [] {
    return (Settings.GSTField == 1 ? Settings.ShipLine : Settings.TaxLine).trimmed();
  };
  ReportRun run;
  run.preset_span = SetMonthSpan;
  run.open_tables = OpenPaymentTables;
  run.prepare = [&] { return walk.Start(); };
  run.width = 72;
  run.cells = 12;
  run.layout = [&] {
    RptTitles = {tax_name() + QStringLiteral(" Income/Collections from ") + SpanText()};
    ColCodes = kPaymentCodes;
    SetColumnHeadings({"Pmt Date", "Inv No.", "Check - Credit Card No.", "Amount", tax_name()});
  };
  run.progress_text = QStringLiteral("Processing Payments");
  run.write = [&](RecordProgress& progress) {
    const AmountFormat money;
    progress.SetTotal(walk.Estimate());
    StoredDates dates;
    double amount_sum = 0, tax_sum = 0;
    for (walk.Rewind(); walk.InSpan(); walk.Next()) {
      const double amount = f4double(PmtFld.PAmt);
      const double tax = f4double(PmtFld.GST);
      NewDetailLine(2);
      PutRow({dates.Text(f4str(PmtFld.PDate)), NumberText(f4long(PmtFld.IvNo)), PaidInvoiceMemo(),
              money(amount, 10), money(tax, 10)});
      amount_sum += amount;
      tax_sum += tax;
      progress.Step();
    }
    if (CurLine < 0) return;
    AddFlags(QStringLiteral("U"));
    PutTotalLine(u"Total Income", {{7, money(amount_sum, 11)}, {9, money(tax_sum, 11)}});
  };
  RunReport(run);
}

void Receivables() {
  ReportRun run;
  run.open_tables = OpenReceivableTables;
  run.width = 71;
  run.cells = 10;
  run.layout = [] {
    RptTitles = {QStringLiteral("RECEIVABLES")};
    ColCodes = {"V00", "R07", "V08", "L10", "V50", "R55", "V57", "R69", "V71"};
    SetColumnHeadings({"Inv. No", "Customer", "Days", "Amount"});
  };
  run.progress_text = QStringLiteral("Processing Receivables");
  run.write = [](RecordProgress& progress) {
    const AmountFormat money;
    StoredDates dates;
    const TDate today = Today();
    double sum = 0;
    ForEachOpenInvoice(progress, [&](double due) {
      NewDetailLine();
      PutRow({NumberText(f4long(InvFld.IvNo)), InvoiceCustomer(),
              NumberText(today - dates.Day(f4str(InvFld.IDate))), money(due, 10)});
      sum += due;
    });
    if (CurLine < 0) return;
    AddFlags(QStringLiteral("U"));
    NewDetailLine();
    PutCell(0, QString());
    RptLines[CurLine][1] = QStringLiteral("L01Total Receivables");
    PutCell(6, QString());
    PutCell(7, money(sum, 10));
    PutCell(8, QString());
    AddFlags(QStringLiteral("U"));
  };
  RunReport(run);
}

void ReceivablesAging() {
  // The customer column holds this many characters before the days' rule.
  constexpr int kCustomerWidth = 21;
  ReportRun run;
  run.open_tables = OpenReceivableTables;
  run.width = 85;
  run.cells = 16;
  run.layout = [] {
    RptTitles = {QStringLiteral("RECEIVABLES AGING")};
    ColCodes = {"V00", "R07", "V08", "L09", "V31", "R36", "V37", "R48",
                "V49", "R60", "V61", "R72", "V73", "R84", "V85"};
    SetColumnHeadings({"Inv. No", "Customer", "Days", "0-30", "31-60", "61-90", "Over 90"});
  };
  run.progress_text = QStringLiteral("Processing Receivables");
  run.write = [](RecordProgress& progress) {
    const AmountFormat money;
    StoredDates dates;
    const TDate today = Today();
    std::array<double, 4> sums{};
    ForEachOpenInvoice(progress, [&](double due) {
      const int age = today - dates.Day(f4str(InvFld.IDate));
      const int bucket = AgeBucket(age);
      const NumberText amount = money(due, 10);
      QStringView columns[4];
      columns[bucket] = amount;
      NewDetailLine();
      PutRow({NumberText(f4long(InvFld.IvNo)), InvoiceCustomer().left(kCustomerWidth),
              NumberText(age), columns[0], columns[1], columns[2], columns[3]});
      sums[bucket] += due;
    });
    if (CurLine < 0) return;
    AddFlags(QStringLiteral("U"));
    // The column totals and the grand total stay on one page.
    NewDetailLine(2);
    PutCell(0, QString());
    RptLines[CurLine][1] = QStringLiteral("L01Totals");
    PutRules(6);
    for (int i = 0; i < 4; ++i) PutCell(7 + 2 * i, money(sums[i], 10));
    AddFlags(QStringLiteral("U"));
    NewLine();
    PutCell(0, QString());
    RptLines[CurLine][1] = QStringLiteral("L01Total Receivables");
    PutCell(12, QString());
    PutCell(13, money(sums[0] + sums[1] + sums[2] + sums[3], 10));
    PutCell(14, QString());
    AddFlags(QStringLiteral("U"));
  };
  RunReport(run);
}

}  // namespace reports
