#include "util/DateUtil.h"

#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

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
  // Day numbers of 0 or less are still calendar dates here (1899-12-30 and
  // before); the window applies to them like to any other.
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

  // The order of day, month and year as the format writes them.
  QString order;
  for (QChar c : format) {
    if ((c == QLatin1Char('d') || c == QLatin1Char('M') || c == QLatin1Char('y')) &&
        !order.contains(c)) {
      order += c;
    }
  }
  if (order.size() != 3) return 0;

  // Three runs of digits separated by anything that is neither digit nor
  // letter; the separator itself is not checked, so 1.2.26 and 1/2/26 both
  // read in any locale.
  static const QRegularExpression kShape(
      QStringLiteral("^\\s*(\\d+)[^\\w]+(\\d+)[^\\w]+(\\d+)\\s*$"));
  const QRegularExpressionMatch match = kShape.match(text);
  if (!match.hasMatch()) return 0;
  int day = 0;
  int month = 0;
  int year = 0;
  for (int i = 0; i < 3; ++i) {
    const QString part = match.captured(i + 1);
    int value = 0;
    if (part.size() > 4 || !ReadDigits(part, &value)) return 0;
    switch (order[i].unicode()) {
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
