#include "util/DateUtil.h"

#include <QLocale>
#include <QStringList>
#include <utility>

namespace {

QDate& FixedToday() {
  static QDate fixed;
  return fixed;
}

// Reads a run of decimal digits only (no sign, no blanks).
bool ReadDigits(const QString& text, int* value) {
  if (text.isEmpty()) return false;
  for (QChar c : text) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
  }
  bool ok = false;
  *value = text.toInt(&ok);
  return ok;
}

// What a short date format says about reading a date: the order of day,
// month and year, and the letters its quoted literals write.
struct ShortFormatShape {
  QString order;
  QString letters;
};

ShortFormatShape ShapeOf(const QString& format) {
  ShortFormatShape shape;
  bool quoted = false;
  for (QChar c : format) {
    if (c == QLatin1Char('\'')) {
      quoted = !quoted;
    } else if (quoted) {
      if (c.isLetterOrNumber()) shape.letters += c;
    } else if ((c == QLatin1Char('d') || c == QLatin1Char('M') || c == QLatin1Char('y')) &&
               !shape.order.contains(c)) {
      shape.order += c;
    }
  }
  return shape;
}

}  // namespace

QDate ToQDate(TDate date) {
  if (date <= 0) return QDate();
  return QDate::fromJulianDay(kJulianDayOfDateZero + date);
}

TDate FromQDate(const QDate& date) {
  if (!date.isValid()) return 0;
  return static_cast<TDate>(date.toJulianDay() - kJulianDayOfDateZero);
}

QDate TodayDate() {
  const QDate& fixed = FixedToday();
  return fixed.isValid() ? fixed : QDate::currentDate();
}

TDate Today() { return FromQDate(TodayDate()); }

void SetTodayForTests(const QDate& date) { FixedToday() = date; }

QString DateToText(TDate date) {
  if (date <= 0) return QString();
  const QDate windowed = ToQDate(CenturyWindow(date));
  return QString::asprintf("%04d%02d%02d", windowed.year(), windowed.month(), windowed.day());
}

TDate TextToDate(const QString& text) {
  const QString trimmed = text.trimmed();
  if (trimmed.size() <= 7) return 0;
  int year = 0;
  int month = 0;
  int day = 0;
  if (!ReadDigits(trimmed.mid(0, 4), &year) || !ReadDigits(trimmed.mid(4, 2), &month) ||
      !ReadDigits(trimmed.mid(6, 2), &day) || year < 1) {
    return 0;
  }
  return FromQDate(QDate(year, month, day));
}

TDate CenturyWindow(TDate date) {
  // 0 is no date, and stays so. Day numbers below 0 are still calendar dates
  // here (before 1899-12-30); the window applies to them like to any other.
  if (date == 0) return 0;
  const QDate day = QDate::fromJulianDay(kJulianDayOfDateZero + date);
  if (!day.isValid()) return date;
  const int this_year = TodayDate().year();
  int year = day.year();
  if (year < this_year - kCenturyWindowYears) {
    year += 100;
  } else if (year >= this_year + 100 - kCenturyWindowYears) {
    year -= 100;
  }
  if (year == day.year()) return date;
  const QDate moved(year, day.month(), day.day());
  if (!moved.isValid()) return date;
  return static_cast<TDate>(moved.toJulianDay() - kJulianDayOfDateZero);
}

int ExpandTwoDigitYear(int two_digit_year) {
  const int start = TodayDate().year() - kCenturyWindowYears;
  const int offset = ((two_digit_year - start) % 100 + 100) % 100;
  return start + offset;
}

QString ShortDateText(TDate date) {
  if (date <= 0) return QString();
  return QLocale().toString(ToQDate(date), QLocale::ShortFormat);
}

QString ShortFormatWithFullYear() {
  QString format = QLocale().dateFormat(QLocale::ShortFormat);
  if (!format.contains(QLatin1String("yyyy"))) {
    format.replace(QLatin1String("yy"), QStringLiteral("yyyy"));
  }
  return format;
}

TDate ShortTextToDate(const QString& text) {
  const QLocale locale;
  const QString format = locale.dateFormat(QLocale::ShortFormat);
  if (format.contains(QLatin1String("MMM"))) {
    // A month written as a name: leave it to the locale, then window a
    // two-digit year.
    QDate date = locale.toDate(text.trimmed(), format);
    if (!date.isValid()) return 0;
    if (!format.contains(QLatin1String("yyyy"))) {
      date = QDate(ExpandTwoDigitYear(date.year() % 100), date.month(), date.day());
    }
    return FromQDate(date);
  }

  const ShortFormatShape shape = ShapeOf(format);
  if (shape.order.size() != 3) return 0;

  // Three runs of digits (of any script) separated by anything that is not
  // a letter, or by the letters the format itself writes ("14.03.26 г.").
  // The separators are not checked further, so 1.2.26 and 1/2/26 both read
  // in any locale, and so does a format that ends in a point.
  QStringList parts;
  QString run;
  for (const char32_t c : text.toUcs4()) {
    if (QChar::isDigit(c)) {
      run += QLatin1Char(static_cast<char>('0' + QChar::digitValue(c)));
      continue;
    }
    if (!run.isEmpty()) parts << std::exchange(run, QString());
    if (QChar::isLetterOrNumber(c) && !shape.letters.contains(QString::fromUcs4(&c, 1))) return 0;
  }
  if (!run.isEmpty()) parts << run;
  if (parts.size() != 3) return 0;

  int day = 0;
  int month = 0;
  int year = 0;
  for (int i = 0; i < 3; ++i) {
    const QString& part = parts[i];
    int value = 0;
    if (part.size() > 4 || !ReadDigits(part, &value)) return 0;
    switch (shape.order[i].unicode()) {
      case 'd':
        day = value;
        break;
      case 'M':
        month = value;
        break;
      default:
        year = part.size() <= 2 ? ExpandTwoDigitYear(value) : value;
        break;
    }
  }
  if (year < 1) return 0;
  return FromQDate(QDate(year, month, day));
}
