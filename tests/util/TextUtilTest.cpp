#include <gtest/gtest.h>

#include "QtPrinters.h"
#include "util/TextUtil.h"

namespace {

TEST(TextUtilTest, PadNumberPadsButNeverCuts) {
  const struct {
    qint64 number;
    int width;
    const char* text;
  } cases[] = {
      {42, 6, "    42"},     {1234567, 6, "1234567"},
      {123456, 6, "123456"}, {-5, 3, " -5"},
      {7, 2, " 7"},          {0, 0, "0"},
  };
  for (const auto& c : cases) EXPECT_EQ(PadNumber(c.number, c.width), QString::fromLatin1(c.text));
}

TEST(TextUtilTest, KeyTextIsZeroTerminatedLatin1OfAtMostSixtyCharacters) {
  const QByteArray key = KeyText(QStringLiteral("    42"));
  EXPECT_EQ(key, QByteArray("    42"));
  EXPECT_EQ(key.constData()[key.size()], '\0');
  EXPECT_EQ(KeyText(QString(70, QLatin1Char('x'))).size(), kMaxKeyLength);
  EXPECT_EQ(KeyText(QStringLiteral("Müller")), QByteArray("M\xfcller"));
}

TEST(TextUtilTest, SpacesOfNothingIsEmpty) {
  EXPECT_EQ(Spaces(3), QStringLiteral("   "));
  EXPECT_EQ(Spaces(0), QString());
  EXPECT_EQ(Spaces(-2), QString());
}

TEST(TextUtilTest, LastPosFindsTheLastOccurrenceOneBased) {
  const struct {
    const char* part;
    const char* text;
    int pos;
  } cases[] = {
      {"ab", "xabyab", 5}, {"ab", "xaby", 2}, {"ab", "xyz", 0},       {"aa", "aaa", 2},
      {"", "abc", 0},      {"abc", "", 0},    {"\\", "C:\\dir\\", 7},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LastPos(QString::fromLatin1(c.part), QString::fromLatin1(c.text)), c.pos)
        << c.part << " in " << c.text;
  }
}

TEST(TextUtilTest, IndexInListIsMinusOneWithoutAList) {
  const QList<int> chosen{5, 3, 3, 9};
  const QList<int> empty;
  EXPECT_EQ(IndexInList(&chosen, 3), 1);
  EXPECT_EQ(IndexInList(&chosen, 5), 0);
  EXPECT_EQ(IndexInList(&chosen, 9), 3);
  EXPECT_EQ(IndexInList(&chosen, 4), -1);
  EXPECT_EQ(IndexInList(&empty, 3), -1);
  EXPECT_EQ(IndexInList(nullptr, 3), -1);
}

}  // namespace
