#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <iomanip>
#include <random>
#include <string>

#include "LocaleScope.h"
#include "QtPrinters.h"
#include "util/MoneyUtil.h"

namespace {

TEST(RoundMoneyTest, RoundsHalvesAwayFromZeroOnTheBinaryValue) {
  const struct {
    double amount;
    double rounded;
  } cases[] = {
      {2.345, 2.35},
      {-2.345, -2.35},
      {1.004, 1.00},
      {0.005, 0.01},
      {-0.005, -0.01},
      {0.0, 0.0},
      {0.125, 0.13},
      {-0.125, -0.13},
      // Stored just below the half cent: these round down.
      {2.675, 2.67},
      {1.015, 1.01},
      {0.285, 0.28},
      {1.005, 1.00},
      // Summed in double precision these would round up to 0.02 and 0.15.
      {0.015, 0.01},
      {0.145, 0.14},
      {123456.785, 123456.79},
      {-99.994999, -99.99},
      {19.999, 20.0},
      // Half cents that are exact in binary go away from zero too.
      {16.125, 16.13},
      {16.625, 16.63},
      {-16.125, -16.13},
      {0.375, 0.38},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RoundMoney(c.amount), c.rounded) << c.amount;
  }
}

// The cents of the exact decimal value of a double, halves away from zero:
// the reference the rounding must meet, worked out on the decimal digits.
double DecimalCents(double amount) {
  char digits[1200];
  const std::to_chars_result end =
      std::to_chars(digits, digits + sizeof digits, amount, std::chars_format::fixed, 1100);
  const std::string text(digits, end.ptr);
  const bool negative = text[0] == '-';
  const size_t point = text.find('.');
  long long cents = std::stoll(text.substr(negative ? 1 : 0, point - (negative ? 1 : 0))) * 100 +
                    std::stoll(text.substr(point + 1, 2));
  if (text[point + 3] >= '5') ++cents;
  return static_cast<double>(negative ? -cents : cents) / 100.0;
}

TEST(RoundMoneyTest, EveryExactHalfCentGoesAwayFromZero) {
  // The half cents exact in binary are the odd eighths.
  for (long eighths = -80001; eighths <= 80001; eighths += 2) {
    const double amount = static_cast<double>(eighths) / 8;
    const double away = static_cast<double>((eighths * 25 + (eighths > 0 ? 1 : -1)) / 2) / 100.0;
    ASSERT_EQ(RoundMoney(amount), away) << amount;
    if (amount > 0) {
      ASSERT_EQ(RoundTax(amount, kTaxRoundNormal), away) << amount;
    }
  }
}

TEST(RoundMoneyTest, MatchesTheDecimalRoundingOfTheExactValue) {
  std::mt19937_64 random(20260314);
  std::uniform_real_distribution<double> spread(-10000, 10000);
  for (int i = 0; i < 200000; ++i) {
    // Any double, and amounts typed with three decimals, as quantities times prices give.
    const double any = spread(random);
    const double typed = std::round(spread(random) * 1000) / 1000;
    for (double amount : {any, typed}) {
      ASSERT_EQ(RoundMoney(amount), DecimalCents(amount)) << std::setprecision(17) << amount;
      if (amount > 0) {
        ASSERT_EQ(RoundTax(amount, kTaxRoundNormal), DecimalCents(amount))
            << std::setprecision(17) << amount;
      }
    }
  }
}

TEST(RoundMoneyTest, SmallNegativesRoundToPlainZero) {
  for (double amount : {-0.0, -0.001, -0.0049}) {
    const double rounded = RoundMoney(amount);
    EXPECT_EQ(rounded, 0.0) << amount;
    EXPECT_FALSE(std::signbit(rounded)) << amount;
  }
}

TEST(RoundTaxTest, RoundsByTheChosenRule) {
  const struct {
    double amount;
    int rule;
    double rounded;
  } cases[] = {
      {1.23456, kTaxRoundNormal, 1.23},
      {1.23456, kTaxRoundUp, 1.24},
      {1.23456, kTaxRoundDown, 1.23},
      {1.23011, kTaxRoundUp, 1.24},
      {1.23009, kTaxRoundUp, 1.23},
      {1.235, kTaxRoundNormal, 1.24},
      {1.239, kTaxRoundDown, 1.23},
      {1.239, 0, 1.23},
      {2.675, kTaxRoundNormal, 2.67},
      {16.125, kTaxRoundNormal, 16.13},
      {16.625, kTaxRoundUp, 16.63},
      {16.625, kTaxRoundDown, 16.62},
      {5.0, kTaxRoundUp, 5.0},
      // Negative amounts get the same addition and are truncated toward 0.
      {-1.23456, kTaxRoundNormal, -1.22},
      {-1.239, kTaxRoundDown, -1.23},
      {-16.125, kTaxRoundNormal, -16.12},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RoundTax(c.amount, c.rule), c.rounded) << c.amount << " rule " << c.rule;
  }
}

class MoneyLocaleTest : public ::testing::TestWithParam<QLocale> {
 protected:
  MoneyLocaleTest() : scope_(GetParam()) {}
  LocaleScope scope_;
};

TEST_P(MoneyLocaleTest, FixedTextUsesTheLocaleSeparatorAndNeverCuts) {
  EXPECT_EQ(FixedText(3.14159, 5, 2), WithSeparator(" 3.14"));
  EXPECT_EQ(FixedText(-3.5, 8, 2), WithSeparator("   -3.50"));
  EXPECT_EQ(FixedText(-0.0, 5, 2), WithSeparator(" 0.00"));
  EXPECT_EQ(FixedText(1234567.891, 5, 2), WithSeparator("1234567.89"));
  EXPECT_EQ(FormatAmount(12, QStringLiteral("%10.2f")), WithSeparator("     12.00"));
  EXPECT_EQ(FormatAmount(1.5, QStringLiteral("%8.3f")), WithSeparator("   1.500"));
}

TEST_P(MoneyLocaleTest, TextToNumberReadsOnlyLocaleNumbers) {
  const struct {
    const char* text;  // "." stands for the locale's separator
    std::optional<double> value;
  } cases[] = {
      {"12", 12.0},          {" 12.5 ", 12.5},      {".5", 0.5},           {"12.", 12.0},
      {"-7.25", -7.25},      {"", std::nullopt},    {"   ", std::nullopt}, {".", std::nullopt},
      {"-.", std::nullopt},  {"-", std::nullopt},   {"abc", std::nullopt}, {"1.2.3", std::nullopt},
      {"inf", std::nullopt}, {"nan", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextToNumber(WithSeparator(c.text)), c.value) << c.text;
  }
}

TEST_P(MoneyLocaleTest, TextToNumberRefusesTheOtherSeparator) {
  // The separator of the other locale is a group separator here, never a
  // decimal point: "12,5" must not silently become 125.
  const QString other = QLocale().decimalPoint() == QLatin1String(".") ? QStringLiteral("12,5")
                                                                       : QStringLiteral("12.5");
  EXPECT_EQ(TextToNumber(other), std::nullopt);
}

TEST_P(MoneyLocaleTest, TidyAmountFormatsAndKeepsATypedSign) {
  const struct {
    const char* text;  // "." stands for the locale's separator
    const char* format;
    const char* tidy;  // nullptr: not a number
  } cases[] = {
      {"12", "%8.2f", "   12.00"},
      {"   12", "%8.2f", "   12.00"},
      {"1 2 3", "%8.2f", "  123.00"},
      {"12.5", "%8.2f", "   12.50"},
      {"-12.5", "%8.2f", "  -12.50"},
      {"  -  7", "%8.2f", "   -7.00"},
      {"12.5", "%5.2f", "12.50"},
      {"1.5", "%8.3f", "   1.500"},
      {"1234567", "%10.2f", "1234567.00"},
      // A sign with no digits yet, or a negative zero, keeps its sign.
      {"-0", "%8.2f", "   -0.00"},
      {"-", "%8.2f", "   -0.00"},
      {"   -    ", "%8.2f", "   -0.00"},
      {"-0.00", "%5.2f", "-0.00"},
      {"-", "%5.2f", "-0.00"},
      // ...right-aligned in the old text's length when that is longer.
      {"        -0", "%8.2f", "     -0.00"},
      {".", "%8.2f", nullptr},
      {"-.", "%8.2f", nullptr},
      {"", "%8.2f", nullptr},
      {"   ", "%8.2f", nullptr},
      {"--1", "%8.2f", nullptr},
      {"1-", "%8.2f", nullptr},
  };
  for (const auto& c : cases) {
    const std::optional<QString> tidy =
        TidyAmount(WithSeparator(c.text), QString::fromLatin1(c.format));
    if (c.tidy == nullptr) {
      EXPECT_EQ(tidy, std::nullopt) << c.text;
    } else {
      EXPECT_EQ(tidy, std::optional<QString>(WithSeparator(c.tidy))) << c.text;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Locales, MoneyLocaleTest, ::testing::Values(PointLocale(), CommaLocale()),
                         [](const ::testing::TestParamInfo<QLocale>& info) {
                           return info.param.name().toStdString();
                         });

TEST(ParseFixedFormatTest, ReadsWidthAndDecimals) {
  const struct {
    const char* format;
    bool ok;
    int width;
    int decimals;
  } cases[] = {
      {"%8.2f", true, 8, 2}, {"%10.2f", true, 10, 2}, {"%8.3f", true, 8, 3},   {"%.2f", true, 0, 2},
      {"8.2f", false, 0, 0}, {"%8.2d", false, 0, 0},  {"%8.2f ", false, 0, 0}, {"", false, 0, 0},
  };
  for (const auto& c : cases) {
    int width = -1;
    int decimals = -1;
    EXPECT_EQ(ParseFixedFormat(QString::fromLatin1(c.format), &width, &decimals), c.ok) << c.format;
    if (c.ok) {
      EXPECT_EQ(width, c.width) << c.format;
      EXPECT_EQ(decimals, c.decimals) << c.format;
    }
  }
}

}  // namespace
