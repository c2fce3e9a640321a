#include "reports/RptInvoices.h"

#include <QString>
#include <QStringList>
#include <algorithm>

#include "engine/TableEngine.h"
#include "masterdata/PickU.h"
#include "platform/Platform.h"
#include "reports/RptLetterhead.h"
#include "reports/RptUtil.h"
#include "store/CodeBase.h"
#include "store/EngineResult.h"
#include "store/dbFiles.h"
#include "util/DateUtil.h"
#include "util/MoneyUtil.h"
#include "util/TextUtil.h"

namespace {

// Cells of the totals lines: the caption, the rule and the amount, boxed.
constexpr int kTotalCaptionCell = 7;
constexpr int kTotalAmountCell = 9;
constexpr int kLastCell = 10;

QString DocumentTitle(bool invoiceMode) {
  if (invoiceMode) return QStringLiteral("Tax Invoice");
  return InvRec.Due > 0 ? QStringLiteral("Bill") : QStringLiteral("Statement");
}

QString TrimmedEnd(const QString& text) {
  qsizetype end = text.size();
  while (end > 0 && text.at(end - 1).isSpace()) --end;
  return text.left(end);
}

// The address lines with the invoice number and date beside the first two.
void PutAddress() {
  const QStringList& address = AddressBlock;
  NewLine();
  RptLines[CurLine][0] = QStringLiteral("L00To:");
  RptLines[CurLine][1] = QStringLiteral("L10") + address.value(0);
  RptLines[CurLine][2] = QStringLiteral("R60Invoice No:");
  RptLines[CurLine][3] = QStringLiteral("L62") + QString::number(InvRec.IvNo);
  NewLine();
  RptLines[CurLine][1] = QStringLiteral("L10") + address.value(1);
  RptLines[CurLine][2] = QStringLiteral("R60Invoice Date:");
  RptLines[CurLine][3] = QStringLiteral("L62") + ShortDateText(InvRec.IDate);
  for (qsizetype i = 2; i < address.size(); ++i) {
    NewLine();
    RptLines[CurLine][1] = QStringLiteral("L10") + address[i];
  }
}

// The item table; returns the sub-total, the sum of the rounded line totals.
double PutItems() {
  double subtotal = 0;
  for (const ItemRow& item : ItemGrid) {
    // An item stays on one page with its comment and licence lines.
    NewDetailLine(3);
    const double total = RoundMoney(MoneyValue(item[1]) * MoneyValue(item[2]));
    subtotal += total;
    PutRow({TrimmedEnd(item[0]), TrimmedEnd(item[5]), item[2], item[1], MoneyText(total, 12)});
    if (!item[6].trimmed().isEmpty()) {
      NewLine();
      PutRow({QString(), item[6].trimmed()});
    }
    if (!item[7].trimmed().isEmpty()) {
      NewLine();
      PutRow({QString(), QStringLiteral("License No. ") + item[7].trimmed() +
                             QString::number(InvRec.CuNo)});
    }
  }
  AddFlags(QStringLiteral("U"));
  return subtotal;
}

void PutTotal(const QString& caption, double amount) {
  NewLine();
  RptLines[CurLine][kTotalCaptionCell] = QStringLiteral("R59") + caption;
  RptLines[CurLine][kTotalCaptionCell + 1] = QStringLiteral("V60");
  RptLines[CurLine][kTotalAmountCell] = QStringLiteral("R72") + MoneyText(amount, 12);
  RptLines[CurLine][kLastCell] = QStringLiteral("V73");
}

void PutTotals(double subtotal) {
  CheckPage(PageLine + 6, true);
  double paid = 0;
  for (const PaymentRow& payment : PaymentGrid) paid += MoneyValue(payment[1]);
  PutTotal(QStringLiteral("SubTotal:"), subtotal);
  RptLines[CurLine][0] = QStringLiteral("L01") + TrimmedEnd(InvRec.IMemo);
  PutTotal(Settings.ShipLine.trimmed() + QLatin1Char(':'), InvRec.Ship);
  PutTotal(Settings.TaxLine.trimmed() + QLatin1Char(':'), InvRec.Tax);
  PutTotal(QStringLiteral("Total:"), subtotal + InvRec.Ship + InvRec.Tax);
  PutTotal(QStringLiteral("Amount Paid:"), paid);
  // As stored: the amount the customer was told, not recomputed.
  PutTotal(QStringLiteral("Balance Due:"), InvRec.Due);
  NewLine();
  RptLines[CurLine][kLastCell] = QStringLiteral("H6073");
}

// A text at the foot of the document, after a blank line; page breaks
// inside it repeat no column headings.
void PutFootText(const QString& text) {
  QStringList lines;
  if (!WrapText(text, &lines)) return;
  NewDetailLine(1, false);
  for (const QString& line : lines) {
    NewDetailLine(1, false);
    RptLines[CurLine][0] = QStringLiteral("L00") + line;
  }
}

// The status bar's percentage through a walk by date.
class DayProgress {
 public:
  DayProgress(TDate first, TDate last) : first_(first), days_(std::max(1, last - first + 1)) {}
  void At(TDate day) {
    const int percent = std::clamp(100 * (day - first_ + 1) / days_, 0, 100);
    if (percent == shown_) return;
    shown_ = percent;
    platform::Current().SetProgress(percent);
  }

 private:
  TDate first_;
  int days_;
  int shown_ = 0;
};

void PutInvoicesDated(bool invoiceMode) {
  SelectTag(InvDb, "InvD");
  int rc = d4seek(InvDb, KeyText(DateToText(SpanStart)).constData());
  DayProgress progress(SpanStart, SpanEnd);
  while (rc == r4success || rc == r4after) {
    const TDate date = TextToDate(QString::fromLatin1(f4str(InvFld.IDate)));
    if (date > SpanEnd) break;
    SelInv = d4recNo(InvDb);
    if (LoadInvoiceForPrint() && (invoiceMode || InvRec.Due > 0)) PutInvoice(invoiceMode);
    progress.At(date);
    rc = d4skip(InvDb, 1);
  }
  store::TellIfFailed(store::Table::kInvoices, QStringLiteral("Printing stopped early."));
}

void PutPickedInvoices(bool invoiceMode) {
  if (d4bottom(InvDb) != r4success || d4recNo(InvDb) <= 0) {
    store::TakeResult(store::Table::kInvoices);
    platform::Current().Inform(QStringLiteral("No invoices to select."));
    return;
  }
  SelInv = d4recNo(InvDb);
  bool is_new = false;
  while (masterdata::PickInvoice(false, &is_new)) {
    if (LoadInvoiceForPrint()) PutInvoice(invoiceMode);
  }
}

}  // namespace

void InitInvoiceLayout() {
  RptWidth = 73;
  RptCells = 12;
  InitReport();
  RptTitles = {QString()};
  ColCodes = {"V00", "L01", "V12", "L13", "V41", "R49", "V50", "R59", "V60", "R72", "V73"};
  SetColumnHeadings({"Item Code", "Description", "Price", "Qty", "Total"});
  PrepareDocumentMeasure();
}

void PutInvoice(bool invoiceMode) {
  const QString title = DocumentTitle(invoiceMode);
  StartDocument(title);
  // CustRec holds the invoice's customer when the invoice has one.
  AddressDocument(InvRec.CuNo, CustRec.cuno == InvRec.CuNo ? CustRec.email : QString(),
                  title + QLatin1Char(' ') + QString::number(InvRec.IvNo));
  PutAddress();
  PutHeadings();
  PutTotals(PutItems());
  if (!invoiceMode) return;
  for (const ItemRow& item : ItemGrid) PutFootText(item[8]);
  PutFootText(InvRec.REM);
}

void PrintInvoices(bool byDates, bool invoiceMode) {
  if (!OpenDocumentTables()) {
    CloseAllTables();
    return;
  }
  if (byDates) {
    if (invoiceMode) {
      SpanStart = SpanEnd = Today();
    } else {
      SetMonthSpan();
    }
    if (!AskDateSpan()) {
      CloseAllTables();
      return;
    }
    InitInvoiceLayout();
    platform::Current().ShowProgress(invoiceMode ? QStringLiteral("Processing Invoices")
                                                 : QStringLiteral("Processing Bills"));
    PutInvoicesDated(invoiceMode);
  } else {
    InitInvoiceLayout();
    PutPickedInvoices(invoiceMode);
  }
  ShowDocuments();
}
