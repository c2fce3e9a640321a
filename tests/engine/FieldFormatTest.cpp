// Number formatting and parsing of stored field text.

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <random>
#include <string>
#include <vector>

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

TEST(FieldFormatTest, StoredNumbersReadAsFromCharsReadsThem) {
  // Hand-picked edges, then numbers of every shape the fields hold.
  std::vector<std::string> texts = {"   -0.00",
                                    "0.125",
                                    "  999999999999999",
                                    "1000000000000000",
                                    "-.5",
                                    "5.",
                                    "0.1",
                                    "  1 2",
                                    "1e3",
                                    "+7",
                                    "-",
                                    ".",
                                    "12.34.5",
                                    "9007199254740993"};
  std::mt19937_64 random(17);
  for (int i = 0; i < 20000; ++i) {
    const int decimals = static_cast<int>(random() % 4);
    const int64_t scaled = static_cast<int64_t>(random() % 2000000000000000ULL) >> (random() % 50);
    std::string text(20, ' ');
    engine::FormatInteger(i % 3 == 0 ? -scaled : scaled, 20, 0, text.data());
    if (decimals > 0 && text.find_first_not_of(' ') < static_cast<size_t>(20 - decimals)) {
      text.insert(text.end() - decimals, '.');
    }
    texts.push_back(text);
  }
  for (const std::string& text : texts) {
    std::string squeezed;
    for (char c : text) {
      if (c != ' ') squeezed += c;
    }
    const char* first = squeezed.c_str() + (squeezed.starts_with('+') ? 1 : 0);
    double expected = 0;
    if (std::from_chars(first, squeezed.c_str() + squeezed.size(), expected).ec != std::errc()) {
      expected = 0;
    }
    const double got = engine::ParseNumber(text);
    EXPECT_EQ(std::memcmp(&got, &expected, sizeof got), 0) << '"' << text << "\" " << got;
  }
}

TEST(FieldFormatTest, TextIsCutOrBlankPadded) {
  std::string out(5, '?');
  engine::AssignText("ab", 5, out.data());
  EXPECT_EQ(out, "ab   ");
  engine::AssignText("abcdefg", 5, out.data());
  EXPECT_EQ(out, "abcde");
}

}  // namespace
