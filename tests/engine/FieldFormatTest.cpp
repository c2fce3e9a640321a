// Number formatting and parsing of stored field text.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "engine/FieldFormat.h"

namespace {

struct NumberCase {
  double value;
  int length;
  int decimals;
  const char* stored;
};

TEST(FieldFormatTest, NumbersAreRightAlignedRoundedAndStarFilled) {
  const NumberCase cases[] = {
      {1234.5, 9, 2, "  1234.50"},
      {-10, 9, 2, "   -10.00"},
      {2.675, 6, 2, "  2.68"},
      {-2.675, 6, 2, " -2.68"},
      {-2.5, 4, 0, "  -3"},
      {2.5, 4, 0, "   3"},
      {123456, 5, 0, "*****"},
      {99999.995, 8, 2, "********"},
      {0.004, 5, 2, " 0.00"},
      {-0.004, 5, 2, " 0.00"},
      {1e300, 19, 2, "*******************"},
      {0, 1, 0, "0"},
      {-1, 1, 0, "*"},
      {12345.678, 12, 3, "   12345.678"},
      {NAN, 6, 2, "******"},
      {INFINITY, 3, 0, "***"},
  };
  for (const NumberCase& c : cases) {
    std::string out(static_cast<size_t>(c.length), '?');
    engine::FormatNumber(c.value, c.length, c.decimals, out.data());
    EXPECT_EQ(out, c.stored) << c.value << " in N" << c.length << "." << c.decimals;
  }
}

TEST(FieldFormatTest, WholeNumbersKeepEveryDigit) {
  const struct {
    int64_t value;
    int length;
    int decimals;
    const char* stored;
  } cases[] = {
      {42, 6, 0, "    42"},
      {-42, 6, 2, "-42.00"},
      {123456789012345678, 19, 0, " 123456789012345678"},
      {INT64_MIN, 19, 0, "*******************"},
      {1000000, 6, 0, "******"},
      {0, 4, 1, " 0.0"},
  };
  for (const auto& c : cases) {
    std::string out(static_cast<size_t>(c.length), '?');
    engine::FormatInteger(c.value, c.length, c.decimals, out.data());
    EXPECT_EQ(out, c.stored) << c.value;
  }
}

TEST(FieldFormatTest, StoredTextParsesWithBlanksAndFillAsZero) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      {"   -10.00", -10.0}, {"      ", 0.0},     {"*****", 0.0},   {"  12.5", 12.5},
      {"42    ", 42.0},     {"abc", 0.0},        {"", 0.0},        {"  +7.25", 7.25},
      {".5", 0.5},          {"   19.99", 19.99}, {"-0.05", -0.05},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(engine::ParseNumber(c.text), c.value) << c.text;
}

TEST(FieldFormatTest, TextIsCutOrBlankPadded) {
  std::string out(5, '?');
  engine::AssignText("ab", 5, out.data());
  EXPECT_EQ(out, "ab   ");
  engine::AssignText("abcdefg", 5, out.data());
  EXPECT_EQ(out, "abcde");
}

}  // namespace
