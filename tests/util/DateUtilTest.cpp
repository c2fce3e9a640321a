#include <gtest/gtest.h>

#include <QStringList>
#include <vector>

#include "LocaleScope.h"
#include "QtPrinters.h"
#include "util/DateUtil.h"

namespace {

class DateUtilTest : public ::testing::Test {
 protected:
  void SetUp() override { SetTodayForTests(QDate(2026, 12, 8)); }
  void TearDown() override { SetTodayForTests(QDate()); }
};

TDate Day(int year, int month, int day) { return FromQDate(QDate(year, month, day)); }

TEST_F(DateUtilTest, DayNumbersCountFromTheLastDaysOf1899) {
  EXPECT_EQ(QDate(1899, 12, 30).toJulianDay(), kJulianDayOfDateZero);
  EXPECT_EQ(Day(1899, 12, 30), 0);
  EXPECT_EQ(Day(1900, 1, 1), 2);
  EXPECT_EQ(Day(2000, 1, 1), 36526);
  EXPECT_EQ(ToQDate(36526), QDate(2000, 1, 1));
  EXPECT_FALSE(ToQDate(0).isValid());
  EXPECT_FALSE(ToQDate(-3).isValid());
  EXPECT_EQ(FromQDate(QDate()), 0);
}

TEST_F(DateUtilTest, DateToTextWritesTheWindowedDate) {
  const struct {
    TDate date;
    const char* text;
  } cases[] = {
      {0, ""},
      {-5, ""},
      {Day(2026, 3, 5), "20260305"},
      {Day(1950, 6, 1), "20500601"},
      {Day(2070, 1, 31), "19700131"},
      {Day(1966, 1, 1), "19660101"},
      {Day(2065, 12, 31), "20651231"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DateToText(c.date), QString::fromLatin1(c.text)) << c.date;
  }
}

TEST_F(DateUtilTest, TextToDateReadsOnlyWholeValidDates) {
  const struct {
    const char* text;
    TDate date;
  } cases[] = {
      {"", 0},
      {"1999", 0},
      {"2026030", 0},
      {"20261301", 0},
      {"20260230", 0},
      {"20260229", 0},
      {"20240229", Day(2024, 2, 29)},
      {"00000101", 0},
      {"2026a305", 0},
      {"-9990101", 0},
      {"+0260305", 0},
      {"20260305", Day(2026, 3, 5)},
      {"  20260305  ", Day(2026, 3, 5)},
      {"19500601", Day(1950, 6, 1)},
      {"18991230", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextToDate(QString::fromLatin1(c.text)), c.date) << c.text;
  }
}

TEST_F(DateUtilTest, StoredTextReadsBackAsTheWindowedDate) {
  for (TDate date : {Day(1966, 1, 1), Day(2026, 12, 8), Day(1999, 12, 31), Day(2065, 12, 31)}) {
    EXPECT_EQ(TextToDate(DateToText(date)), date);
  }
  EXPECT_EQ(TextToDate(DateToText(Day(1950, 6, 1))), Day(2050, 6, 1));
}

TEST_F(DateUtilTest, CenturyWindowKeepsDatesInTheHundredYearsFromSixtyYearsAgo) {
  const struct {
    QDate today;
    QDate date;
    QDate windowed;
  } cases[] = {
      {QDate(2026, 12, 8), QDate(1950, 5, 1), QDate(2050, 5, 1)},
      {QDate(2026, 12, 8), QDate(2070, 5, 1), QDate(1970, 5, 1)},
      {QDate(2026, 12, 8), QDate(1966, 1, 1), QDate(1966, 1, 1)},
      {QDate(2026, 12, 8), QDate(1965, 12, 31), QDate(2065, 12, 31)},
      {QDate(2026, 12, 8), QDate(2065, 12, 31), QDate(2065, 12, 31)},
      {QDate(2026, 12, 8), QDate(2066, 1, 1), QDate(1966, 1, 1)},
      // A leap day moves when the target year has one too.
      {QDate(2026, 12, 8), QDate(2096, 2, 29), QDate(1996, 2, 29)},
      {QDate(2026, 12, 8), QDate(1904, 2, 29), QDate(2004, 2, 29)},
      // 2300 and 1900 have no 29 February: the date stays.
      {QDate(2026, 12, 8), QDate(2400, 2, 29), QDate(2400, 2, 29)},
      {QDate(1950, 6, 1), QDate(2000, 2, 29), QDate(2000, 2, 29)},
      // The window moves with the current year.
      {QDate(2030, 1, 1), QDate(1969, 7, 4), QDate(2069, 7, 4)},
      {QDate(2030, 1, 1), QDate(1970, 7, 4), QDate(1970, 7, 4)},
  };
  for (const auto& c : cases) {
    SetTodayForTests(c.today);
    EXPECT_EQ(ToQDate(CenturyWindow(FromQDate(c.date))), c.windowed)
        << c.date.toString(Qt::ISODate).toStdString() << " today "
        << c.today.toString(Qt::ISODate).toStdString();
  }
}

TEST_F(DateUtilTest, TwoDigitYearsExpandIntoTheWindow) {
  const struct {
    int two_digits;
    int year;
  } cases[] = {{50, 2050}, {70, 1970}, {66, 1966}, {65, 2065}, {0, 2000}, {99, 1999}, {26, 2026}};
  for (const auto& c : cases) EXPECT_EQ(ExpandTwoDigitYear(c.two_digits), c.year) << c.two_digits;
}

TEST_F(DateUtilTest, ShortDatesFollowTheLocaleAndTheWindow) {
  const struct {
    QLocale locale;
    const char* text;
    QDate date;  // invalid: not a date
  } cases[] = {
      {PointLocale(), "2/29/00", QDate(2000, 2, 29)},
      {PointLocale(), "1/2/50", QDate(2050, 1, 2)},
      {PointLocale(), "1/2/70", QDate(1970, 1, 2)},
      {PointLocale(), "12/31/1950", QDate(1950, 12, 31)},
      {PointLocale(), " 3/4/26 ", QDate(2026, 3, 4)},
      {PointLocale(), "13/1/26", QDate()},
      {PointLocale(), "2/29/01", QDate()},
      {PointLocale(), "1/2", QDate()},
      {PointLocale(), "", QDate()},
      {PointLocale(), "a/b/c", QDate()},
      {CommaLocale(), "29.02.00", QDate(2000, 2, 29)},
      {CommaLocale(), "02.01.50", QDate(2050, 1, 2)},
      {CommaLocale(), "2.1.70", QDate(1970, 1, 2)},
      {CommaLocale(), "31.12.1950", QDate(1950, 12, 31)},
      {CommaLocale(), "31.13.26", QDate()},
      {CommaLocale(), "1.2.3.4", QDate()},
  };
  for (const auto& c : cases) {
    LocaleScope scope(c.locale);
    EXPECT_EQ(ShortTextToDate(QString::fromLatin1(c.text)), FromQDate(c.date))
        << c.locale.name().toStdString() << " " << c.text;
  }
}

TEST_F(DateUtilTest, ShortDateTextReadsBackInEveryLocale) {
  // With today in 1990 the window is 1930 to 2029, so locales that write
  // two-digit years must read back the very same day too.
  SetTodayForTests(QDate(1990, 6, 15));
  std::vector<QDate> dates;
  for (int year = 1930; year <= 2029; ++year) {
    const QDate first(year, (year % 12) + 1, 1);
    dates.push_back(first);
    dates.push_back(first.addMonths(1).addDays(-1));
  }
  for (int year : {2000, 2024}) {
    for (int month = 1; month <= 12; ++month) {
      dates.push_back(QDate(year, month, 1));
      dates.push_back(QDate(year, month, 1).addMonths(1).addDays(-1));
    }
  }
  for (int year : {1932, 1988, 2000, 2028}) dates.push_back(QDate(year, 2, 29));

  QStringList failures;
  const QList<QLocale> locales =
      QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript, QLocale::AnyTerritory);
  ASSERT_GT(locales.size(), 300);
  for (const QLocale& locale : locales) {
    LocaleScope scope(locale);
    for (const QDate& date : dates) {
      const QString text = ShortDateText(FromQDate(date));
      if (ShortTextToDate(text) != FromQDate(date)) {
        failures << locale.name() + QStringLiteral(" \"") + text + QStringLiteral("\"");
        break;
      }
    }
  }
  EXPECT_TRUE(failures.isEmpty()) << failures.size() << " locales, such as "
                                  << failures.mid(0, 12).join(QStringLiteral(", ")).toStdString();
}

TEST_F(DateUtilTest, NoDateStaysNoDateThroughTheWindow) {
  EXPECT_EQ(CenturyWindow(0), 0);
  EXPECT_EQ(DateToText(CenturyWindow(ShortTextToDate(QString()))), QString());
}

TEST_F(DateUtilTest, ShortDateTextReadsBack) {
  for (const QLocale& locale : {PointLocale(), CommaLocale()}) {
    LocaleScope scope(locale);
    EXPECT_EQ(ShortDateText(0), QString());
    for (TDate date : {Day(1966, 1, 1), Day(2000, 2, 29), Day(2026, 12, 8), Day(2065, 12, 31)}) {
      EXPECT_EQ(ShortTextToDate(ShortDateText(date)), date)
          << locale.name().toStdString() << " " << ShortDateText(date).toStdString();
    }
  }
}

}  // namespace
