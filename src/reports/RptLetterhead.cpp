#include "reports/RptLetterhead.h"

#include <QHash>
#include <QLocale>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>

#include "platform/Canvas.h"
#include "platform/Platform.h"
#include "reports/LinePainter.h"
#include "reports/ReportCells.h"
#include "reports/ReportRun.h"
#include "reports/RptUtil.h"
#include "store/dbFiles.h"
#include "util/DateUtil.h"
#include "util/MoneyUtil.h"

namespace {

// Without a printer canvas a line is taken as a sixth of an inch and a text
// as wide as its characters.
constexpr int kFallbackDpi = 72;
constexpr int kFallbackLineHeight = 12;

struct DocumentMeasure {
  platform::Canvas* canvas = nullptr;
  int dpi_y = kFallbackDpi;
  int line_h = kFallbackLineHeight;
  long long limit = 0;  // the report's width
  // Taken once a report: asking the clock and the locale costs more than
  // a document's line.
  QString today;
  QChar decimal_point = QLatin1Char('.');
  // Wrapped texts of this report: product texts repeat on many invoices.
  QHash<QString, QStringList> wrapped;
};

DocumentMeasure& Measure() {
  static DocumentMeasure measure;
  return measure;
}

long long Width(const QString& text) {
  platform::Canvas* canvas = Measure().canvas;
  return canvas != nullptr ? canvas->TextExtent(text).width() : text.size();
}

// Where a too wide line breaks: after its last blank, or for a line without
// one (or whose only blank is the character just added) within the word,
// keeping what fits, at least one character.
qsizetype BreakPoint(const QString& line) {
  const qsizetype blank = line.lastIndexOf(QLatin1Char(' '));
  if (blank >= 0 && blank < line.size() - 1) return blank + 1;
  if (blank == line.size() - 1) return line.size();
  qsizetype keep = line.size() - 1;
  while (keep > 1 && Width(line.left(keep)) > Measure().limit) --keep;
  return std::max<qsizetype>(keep, 1);
}

bool AllBlank(const QStringList& texts) {
  return std::all_of(texts.begin(), texts.end(),
                     [](const QString& text) { return text.trimmed().isEmpty(); });
}

}  // namespace

bool OpenDocumentTables() {
  return OpenCustomers() && OpenGroups() && OpenInvoices() && OpenLineItems() && OpenPayments() &&
         OpenProducts();
}

void ShowDocuments() {
  CloseAllTables();
  platform::Current().ShowProgress(QString());
  reports::ShowReport();
}

void PrepareDocumentMeasure() {
  DocumentMeasure& measure = Measure();
  measure = DocumentMeasure();
  measure.canvas = ReportPrinterCanvas();
  measure.today = ShortDateText(Today());
  measure.decimal_point = QLocale().decimalPoint().at(0);
  if (measure.canvas == nullptr) {
    measure.limit = RptWidth;
    return;
  }
  measure.canvas->SetBold(false);
  const reports::PageGeometry geometry =
      reports::MeasureReport(*measure.canvas, measure.canvas->PageSize().width(), 1);
  measure.dpi_y = measure.canvas->DpiY();
  measure.line_h = std::max(1, geometry.line_h);
  measure.limit = static_cast<long long>(RptWidth) * geometry.char_w;
}

void PutLetterhead() {
  PageLine = 0;
  PageNo = 1;
  const DocumentMeasure& measure = Measure();
  QString position = QStringLiteral("L00");
  if (Settings.LHJustify == 2) position = QLatin1Char('C') + ColumnCode(RptWidth / 2);
  if (Settings.LHJustify == 3) position = QLatin1Char('R') + ColumnCode(RptWidth);

  if (Settings.TopMargin > 0) {
    while (measure.dpi_y * Settings.TopMargin > static_cast<double>(measure.line_h) * PageLine) {
      NewLine();
    }
  }

  const QStringList address = {Settings.Company, Settings.Addr1, Settings.Addr2, Settings.Addr3,
                               Settings.Addr4};
  const bool no_address = AllBlank(address);
  const QString logo = Settings.LogoFile.trimmed();
  if (!logo.isEmpty()) {
    NewLine();
    RptLines[CurLine][0] = QLatin1Char('I') + position + logo;
    RptLines[CurLine][FlagsCell()] =
        QString::asprintf("S%5.2f%5.2f", Settings.LogoHeight, Settings.LogoWidth);
    // The picture prints below its line's top, over the lines reserved here.
    const int reserved = static_cast<int>(measure.dpi_y * Settings.LogoHeight / measure.line_h);
    for (int i = 0; i < reserved; ++i) NewLine();
    if (reserved > 1 && no_address) RptLines[CurLine][FlagsCell()] = QStringLiteral("U");
  }

  if (!no_address) {
    QStringList lines = address.mid(0, 3);
    if (!AllBlank({Settings.Addr3, Settings.Addr4})) lines << Settings.Addr3;
    if (!Settings.Addr4.trimmed().isEmpty()) lines << Settings.Addr4;
    for (const QString& line : lines) {
      NewLine();
      RptLines[CurLine][0] = position + line.trimmed();
      RptLines[CurLine][FlagsCell()] = QStringLiteral("B");
    }
    AddFlags(QStringLiteral("U"));
  }
  NewLine();
  RptLines[CurLine][0] = QLatin1Char('R') + ColumnCode(RptWidth) + measure.today;
  NewLine();
}

void StartDocument(const QString& title) {
  RptTitles = {title};
  if (CurLine >= 0) {
    NewLine();
    RptLines[CurLine][0] = QStringLiteral("EJECT");
    PageLine = 0;
  }
  PageNo = 1;
  PutLetterhead();
  PutTitles();
  NewLine();
  NewLine();
}

void AddressDocument(long customer, const QString& email, const QString& name) {
  DocumentRecipient& recipient = RptRecipient;
  if (recipient.customer == 0 && customer > 0) {
    recipient = {customer, email.trimmed(), name};
  } else if (recipient.customer != customer || customer <= 0) {
    recipient = {-1, QString(), QString()};
  } else {
    recipient.name = QStringLiteral("Documents");
  }
}

bool WrapText(const QString& text, QStringList* lines) {
  lines->clear();
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty()) return false;
  DocumentMeasure& measure = Measure();
  if (const auto known = measure.wrapped.constFind(trimmed); known != measure.wrapped.cend()) {
    *lines = *known;
    return true;
  }
  QString line;
  for (const QChar c : trimmed) {
    if (c == QLatin1Char('\n')) {
      lines->append(line);
      line.clear();
      continue;
    }
    if (c == QLatin1Char('\r')) continue;
    line += c;
    // A line is measured as it grows, so it is one character too wide here;
    // the part after a break may itself be too wide in a proportional font.
    while (Width(line) > measure.limit && line.size() > 1) {
      const qsizetype keep = BreakPoint(line);
      lines->append(line.left(keep));
      line = line.mid(keep);
    }
  }
  lines->append(line);
  measure.wrapped.insert(trimmed, *lines);
  return true;
}

QString MoneyText(double amount, int width) {
  // As FixedText writes it (the binary value rounded to the nearest cent,
  // an exact half cent away from zero), with the locale's separator; a
  // negative zero prints as 0.
  if (amount == 0) amount = 0.0;
  const double eighths = amount * 8;
  if (std::abs(amount) < 1e12 && eighths == std::floor(eighths) &&
      amount * 4 != std::floor(amount * 4)) {
    amount += std::copysign(0.001, amount);  // x.xx5 exactly: round away
  }
  char digits[64];
  const auto [end, error] = std::to_chars(digits, digits + sizeof digits, amount,
                                          std::chars_format::fixed, 2);
  if (error != std::errc()) return FixedText(amount, width, 2);
  QString text = QString::fromLatin1(digits, end - digits);
  text.replace(QLatin1Char('.'), Measure().decimal_point);
  return text.rightJustified(width, QLatin1Char(' '));
}

double MoneyValue(const QString& text) {
  // Plain amounts ("  -19.99") are read here; anything else by the locale.
  const QChar point = Measure().decimal_point;
  const QString trimmed = text.trimmed();
  qsizetype i = 0;
  const bool negative = i < trimmed.size() && trimmed[i] == QLatin1Char('-');
  if (negative) ++i;
  std::int64_t digits = 0;
  int decimals = -1;
  bool any = false;
  for (; i < trimmed.size(); ++i) {
    const QChar c = trimmed[i];
    if (c.isDigit() && c.unicode() < 128 && digits < (std::int64_t{1} << 52) / 10) {
      digits = digits * 10 + (c.unicode() - '0');
      any = true;
      if (decimals >= 0) ++decimals;
    } else if ((c == QLatin1Char('.') || c == point) && decimals < 0) {
      decimals = 0;
    } else {
      any = false;
      break;
    }
  }
  if (any && decimals <= 15) {
    static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    // Both exact, so the quotient is the double nearest the decimal text.
    const double value = static_cast<double>(digits) / kPowers[std::max(decimals, 0)];
    return negative ? -value : value;
  }
  if (const std::optional<double> value = TextToNumber(text)) return *value;
  bool ok = false;
  const double value = QLocale::c().toDouble(trimmed, &ok);
  return ok ? value : 0.0;
}
