#include <gtest/gtest.h>

#include <QRegularExpression>

#include "QtPrinters.h"
#include "platform/FileFilter.h"

namespace platform {
namespace {

TEST(FileFilterTest, PairsBecomeQtEntriesMatchingAnyCase) {
  const struct {
    const char* filter;
    const char* qt;
  } cases[] = {
      {"Bitmap Files (*.BMP)|*.BMP", "Bitmap Files (*.BMP *.bmp)"},
      {"Delimited files (*.asc)|*.ASC", "Delimited files (*.ASC *.asc)"},
      {"Delimited files (*.doc)|*.doc", "Delimited files (*.doc *.DOC)"},
      {"Text files (*.txt)|*.TXT|All files (*.*)|*.*", "Text files (*.TXT *.txt);;All files (*)"},
      {"Pictures|*.bmp;*.Ico", "Pictures (*.bmp *.BMP *.Ico *.ico *.ICO)"},
      {"Text files (*.txt);;All files (*)", "Text files (*.txt);;All files (*)"},
      {"", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(QtFileFilter(QString::fromLatin1(c.filter)), QString::fromLatin1(c.qt)) << c.filter;
  }
}

TEST(FileFilterTest, EveryPatternMatchesBothCases) {
  // Qt reads the patterns between the last parentheses of an entry.
  const QString entry = QtFileFilter(QStringLiteral("Bitmap Files (*.BMP)|*.BMP"));
  const QRegularExpression in_parentheses(QStringLiteral("\\(([^()]*)\\)$"));
  const QStringList patterns = in_parentheses.match(entry).captured(1).split(QLatin1Char(' '));
  for (const char* name : {"logo.bmp", "LOGO.BMP"}) {
    bool matched = false;
    for (const QString& pattern : patterns) {
      matched |= QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern))
                     .match(QString::fromLatin1(name))
                     .hasMatch();
    }
    EXPECT_TRUE(matched) << name;
  }
}

}  // namespace
}  // namespace platform
