#pragma once
// Money: rounding to cents (on the exact value of the double, so an amount
// like 2.675 that is stored just below its half rounds down, and 16.125,
// stored exactly, rounds up),
// the tax rounding rules, fixed-width texts with the locale's decimal
// separator, reading typed amounts, and tidying a money entry field's text.

#include <QString>
#include <optional>

// Rounds to cents, halves away from zero: 2.345 gives 2.35, -0.005 gives -0.01.
double RoundMoney(double amount);

// Rounding rules for computed tax.
inline constexpr int kTaxRoundNormal = 1;
inline constexpr int kTaxRoundUp = 2;
inline constexpr int kTaxRoundDown = 3;

// Rounds a computed tax to cents by rule: Normal rounds a positive amount as
// RoundMoney does; otherwise Normal adds 0.005, Up adds 0.0099, any other
// rule adds nothing, and the cents are truncated toward zero.
double RoundTax(double amount, int tax_round);

// The number right-aligned in width characters with that many decimals and
// the locale's decimal separator. A longer number is not cut.
QString FixedText(double value, int width, int decimals);

// Reads a printf-style fixed format such as "%8.2f".
[[nodiscard]] bool ParseFixedFormat(const QString& format, int* width, int* decimals);

// The value formatted with a fixed format such as "%10.2f"; an unreadable
// format gives the value with two decimals and no padding.
QString FormatAmount(double value, const QString& format);

// Reads a number written with the locale's decimal separator; blanks around
// it are ignored. No group separators, no infinities. nullopt when it is not
// a number (empty text, a lone separator, a sign and a separator, letters).
[[nodiscard]] std::optional<double> TextToNumber(const QString& text);

// Tidies a money entry field's text with its format: blanks removed, read as
// a number and formatted again. A text that starts with "-" but reads as 0 or
// more (a lone sign, or -0) keeps its sign in front, so a minus typed before
// the digits is not lost; that text is right-aligned in the field's width
// (or the old text's length, if longer). nullopt when the text is not a
// number; the caller reports it and leaves the text as it was.
[[nodiscard]] std::optional<QString> TidyAmount(const QString& text, const QString& format);
