#include "util/MoneyUtil.h"

#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// A double times 100 needs at most 58 significant bits, so in a long double
// of 64 (or more) the product is exact, and its cents round as the decimal
// value of the amount does.
static_assert(std::numeric_limits<long double>::digits >= 60,
              "amounts times 100 must be exact in long double");

// The amount rounded to cents, halves away from zero, on its exact value.
double ExactCents(double amount) {
  const long double cents = std::round(static_cast<long double>(amount) * 100.0L);
  // Dividing the whole number of cents in double gives the nearest double;
  // adding 0 turns the -0 of small negatives into 0.
  return static_cast<double>(cents) / 100.0 + 0.0;
}

}  // namespace

double RoundMoney(double amount) { return ExactCents(amount); }

double RoundTax(double amount, int tax_round) {
  if (tax_round == kTaxRoundNormal && amount > 0) return ExactCents(amount);
  // Negative amounts under Normal, and the Up and Down rules, add their
  // amount in extended precision and truncate toward zero.
  long double x = amount;
  if (tax_round == kTaxRoundNormal) {
    x += 0.005L;
  } else if (tax_round == kTaxRoundUp) {
    x += 0.0099L;
  }
  return static_cast<double>(std::trunc(x * 100.0L) / 100.0L) + 0.0;
}

QString FixedText(double value, int width, int decimals) {
  // A negative zero prints as 0.
  if (value == 0) value = 0.0;
  QString text = QString::asprintf("%*.*f", width, decimals, value);
  text.replace(QLatin1Char('.'), QLocale().decimalPoint());
  return text;
}

bool ParseFixedFormat(const QString& format, int* width, int* decimals) {
  static const QRegularExpression kFormat(QStringLiteral("^%(\\d*)(?:\\.(\\d+))?f$"));
  const QRegularExpressionMatch match = kFormat.match(format);
  if (!match.hasMatch()) return false;
  *width = match.captured(1).isEmpty() ? 0 : match.captured(1).toInt();
  *decimals = match.captured(2).isEmpty() ? 6 : match.captured(2).toInt();
  return *width <= 64 && *decimals <= 20;
}

QString FormatAmount(double value, const QString& format) {
  int width = 0;
  int decimals = 2;
  if (!ParseFixedFormat(format, &width, &decimals)) {
    width = 0;
    decimals = 2;
  }
  return FixedText(value, width, decimals);
}

std::optional<double> TextToNumber(const QString& text) {
  const QString trimmed = text.trimmed();
  if (trimmed.isEmpty()) return std::nullopt;
  QLocale locale;
  locale.setNumberOptions(QLocale::RejectGroupSeparator);
  bool ok = false;
  const double value = locale.toDouble(trimmed, &ok);
  if (!ok || !std::isfinite(value)) return std::nullopt;
  return value;
}

std::optional<QString> TidyAmount(const QString& text, const QString& format) {
  QString bare = text;
  bare.remove(QLatin1Char(' '));
  const bool sign_typed = bare.startsWith(QLatin1Char('-'));

  double value = 0;
  if (bare != QLatin1String("-")) {
    const std::optional<double> number = TextToNumber(bare);
    if (!number) return std::nullopt;
    value = *number;
  }
  QString tidy = FormatAmount(value, format);
  if (sign_typed && value >= 0) {
    int width = 0;
    int decimals = 0;
    if (!ParseFixedFormat(format, &width, &decimals)) width = 0;
    tidy = QLatin1Char('-') + tidy.trimmed();
    tidy = tidy.rightJustified(std::max<qsizetype>(width, text.size()), QLatin1Char(' '));
  }
  return tidy;
}
