#include "reports/RptUtil.h"

#include <algorithm>
#include <memory>

#include "platform/Platform.h"
#include "reports/ReportCells.h"

int RptWidth = 0;
int RptCells = 0;
ReportLines RptLines;
int CurLine = -1;
int PageLine = -1;
int PageNo = 0;
int PageLen = kPageLenWithoutPrinter;
QStringList RptTitles;
QStringList ColCodes;
QList<QStringList> ColHeads;
DocumentRecipient RptRecipient;

TDate SpanStart = 0;
TDate SpanEnd = 0;
bool SpanCancelled = true;
DateSpanCaptions SpanCaptions;

namespace {

std::unique_ptr<platform::Canvas>& PrinterMeasure() {
  static std::unique_ptr<platform::Canvas> canvas;
  return canvas;
}

QStringList EmptyLine() {
  QStringList line;
  for (int i = 0; i < RptCells; ++i) line << QString();
  return line;
}

bool IsRuleCode(const QString& code) { return code.startsWith(QLatin1Char('V')); }

}  // namespace

void InitReport() {
  RptCells = std::max(RptCells, 3);
  platform::Platform& desktop = platform::Current();
  PrinterMeasure() = desktop.PrinterCanvas();
  PageLen = kPageLenWithoutPrinter;
  if (desktop.HasPrinter() && PrinterMeasure()) {
    platform::Canvas& printer = *PrinterMeasure();
    const int line_height = printer.TextExtent(QStringLiteral("A")).height();
    if (line_height > 0) PageLen = printer.PageSize().height() / line_height - 6;
  }
  CurLine = -1;
  PageLine = -1;
  PageNo = 0;
  ColHeads = {EmptyLine()};
  ColCodes.clear();
  for (int i = 0; i < RptCells - 1; ++i) ColCodes << QString();
  RptLines.Reset(RptCells);
  RptRecipient = DocumentRecipient();
}

void NewLine() {
  ++CurLine;
  ++PageLine;
  RptLines.Append();
}

void PutTitles() {
  for (const QString& title : RptTitles) {
    NewLine();
    RptLines[CurLine][0] = QLatin1Char('C') + ColumnCode(RptWidth / 2) + title;
    RptLines[CurLine][FlagsCell()] = QStringLiteral("B");
  }
}

void PutHeadings() {
  NewLine();
  for (const QStringList& heading : ColHeads) {
    ++CurLine;
    ++PageLine;
    RptLines.Append(heading);
  }
}

bool CheckPage(int needed, bool withHeadings) {
  if (PageNo != 0 && needed <= PageLen) return false;
  ++PageNo;
  if (PageNo > 1) {
    // The rule closing the page's table is added to the line's own flags,
    // so a bold last line stays bold.
    if (withHeadings) AddFlags(QStringLiteral("U"));
    NewLine();
    RptLines[CurLine][0] = QStringLiteral("EJECT");
  }
  PageLine = 0;
  NewLine();
  RptLines[CurLine][0] = QStringLiteral("L00Page ") + QString::number(PageNo);
  RptLines[CurLine][1] = QLatin1Char('R') + ColumnCode(RptWidth) + ShortDateText(Today());
  NewLine();
  PutTitles();
  NewLine();
  NewLine();
  if (withHeadings) PutHeadings();
  return true;
}

void FreeReport() {
  RptLines.Reset(RptCells);
  CurLine = -1;
  ColHeads.clear();
  ColCodes.clear();
  PrinterMeasure().reset();
  RptRecipient = DocumentRecipient();
}

void SetMonthSpan() {
  const QDate today = TodayDate();
  const QDate first(today.year(), today.month(), 1);
  SpanStart = FromQDate(first);
  SpanEnd = FromQDate(first.addDays(first.daysInMonth() - 1));
}

platform::Canvas* ReportPrinterCanvas() { return PrinterMeasure().get(); }

void PutCell(int cell, const QString& text) { PutCell(cell, QStringView(text)); }

void PutCell(int cell, QStringView text) {
  RptLines.Compose(CurLine, cell,
                   cell < ColCodes.size() ? QStringView(ColCodes[cell]) : QStringView(), text);
}

QStringList RowCells(const QStringList& texts, const QString& flags) {
  QStringList line = EmptyLine();
  qsizetype next_text = 0;
  for (int cell = 0; cell < ColCodes.size() && cell < RptCells - 1; ++cell) {
    const QString& code = ColCodes[cell];
    if (code.isEmpty()) continue;
    if (IsRuleCode(code)) {
      line[cell] = code;
    } else {
      const QString text = texts.value(next_text++);
      if (!text.isEmpty()) line[cell] = code + text;
    }
  }
  line[RptCells - 1] = flags;
  return line;
}

namespace {

// As RowCells lays the line out, written straight into the buffer.
template <typename Texts>
void WriteRow(const Texts& texts) {
  const auto count = static_cast<qsizetype>(texts.size());
  qsizetype next_text = 0;
  for (int cell = 0; cell < ColCodes.size() && cell < RptCells - 1; ++cell) {
    const QString& code = ColCodes[cell];
    if (code.isEmpty()) continue;
    if (code.front() == QLatin1Char('V')) {
      RptLines.Compose(CurLine, cell, code, QStringView());
    } else if (next_text < count) {
      const QStringView text = *(texts.begin() + next_text++);
      if (!text.isEmpty()) RptLines.Compose(CurLine, cell, code, text);
    }
  }
}

}  // namespace

void PutRow(const QStringList& texts) { WriteRow(texts); }

void PutRow(std::initializer_list<QStringView> texts) { WriteRow(texts); }

void PutTotalLine(QStringView label, std::initializer_list<std::pair<int, QStringView>> amounts) {
  NewLine();
  PutCell(0, QStringView());
  PutCell(1, label);
  for (const auto& [cell, amount] : amounts) {
    PutCell(cell - 1, QStringView());
    PutCell(cell, amount);
    PutCell(cell + 1, QStringView());
  }
  AddFlags(QStringLiteral("U"));
}

void AddFlags(const QString& flags, int line) {
  if (line < 0) line = CurLine;
  QString current = RptLines.Text(line, FlagsCell());
  for (const QChar flag : flags) {
    if (!current.contains(flag)) current += flag;
  }
  RptLines[line][FlagsCell()] = current;
}

void SetColumnHeadings(const QStringList& texts) {
  QStringList above = EmptyLine();
  above[RptCells - 1] = QStringLiteral("U");
  ColHeads = {above, RowCells(texts, QStringLiteral("U"))};
}

void NewDetailLine(int keep, bool withHeadings) {
  CheckPage(PageLine + keep, withHeadings);
  NewLine();
}

bool AskDateSpan() {
  // A window that is not there leaves the span cancelled.
  SpanCancelled = true;
  platform::Current().ShowModal(platform::WindowId::kDateSpan);
  return !SpanCancelled;
}

bool AskOneDate(const QString& caption) {
  SpanCaptions.first = caption;
  SpanCaptions.second_visible = false;
  const bool chosen = AskDateSpan();
  SpanCaptions = DateSpanCaptions();
  return chosen;
}

bool AcceptSpan(TDate start, TDate end, bool second_visible) {
  SpanStart = start;
  SpanEnd = end;
  if (second_visible && SpanStart > SpanEnd) {
    platform::Current().Inform(
        QStringLiteral("Ending Date must be greater than or equal to Starting Date."));
    return false;
  }
  SpanCancelled = false;
  return true;
}

void CancelSpan(TDate start, TDate end) {
  SpanStart = start;
  SpanEnd = end;
  SpanCancelled = true;
}
