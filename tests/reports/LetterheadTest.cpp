// The stationery header, wrapped foot texts and printed amounts, measured
// on the scripted printer: 600 dots per inch, lines 100 dots high, letters
// 50 dots wide (10 points).

#include "ReportFixture.h"
#include "reports/RptLetterhead.h"
#include "store/dbFiles.h"
#include "util/MoneyUtil.h"

namespace {

class LetterheadTest : public ReportTest {
 protected:
  LetterheadTest() : saved_(Settings) {}
  ~LetterheadTest() override { Settings = saved_; }

  static void Start(int width) {
    StartReport(width, 12);
    PrepareDocumentMeasure();
  }

  SettingsRecord saved_;
};

TEST_F(LetterheadTest, LinesFollowTheStationery) {
  struct Case {
    int width;
    int justify;
    double top_margin;
    double logo_height;  // 0: no logo
    const char* company;
    const char* addr4;
    QStringList lines;  // first cell and flags of each line
  };
  const QStringList date = {"R733/14/26|", "|"};
  const QStringList centred = {"C36Harbourside|B", "C36118 Hunter St|B", "C36Newcastle|BU"};
  const Case cases[] = {
      {73, 2, 0, 0, "Harbourside", "", centred + date},
      {59, 2, 0, 0, "Harbourside", "", {"C29Harbourside|B", "C29118 Hunter St|B",
                                        "C29Newcastle|BU", "R593/14/26|", "|"}},
      // A blank third address line stands in bold above the fourth.
      {73, 3, 0, 0, "Harbourside", "Phone 4929",
       QStringList{"R73Harbourside|B", "R73118 Hunter St|B", "R73Newcastle|B", "R73|B",
                   "R73Phone 4929|BU"} + date},
      {73, 2, 0.5, 0, "Harbourside", "", QStringList(3, "|") + centred + date},
      // trunc(600 x 1.5 / 100) lines below the picture.
      {73, 2, 0, 1.5, "Harbourside", "",
       QStringList{"IC36/tmp/logo.png|S 1.50 2.00"} + QStringList(9, "|") + centred + date},
      {73, 1, 0, 0.35, "", "", QStringList{"IL00/tmp/logo.png|S 0.35 2.00", "|", "|U"} + date},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.lines.join(' ').toStdString());
    Settings.LHJustify = c.justify;
    Settings.TopMargin = c.top_margin;
    Settings.LogoFile = c.logo_height > 0 ? "/tmp/logo.png" : "";
    Settings.LogoHeight = c.logo_height;
    Settings.LogoWidth = 2;
    Settings.Company = c.company;
    Settings.Addr1 = *c.company ? "118 Hunter St" : "";
    Settings.Addr2 = *c.company ? "Newcastle" : "";
    Settings.Addr3 = "";
    Settings.Addr4 = c.addr4;
    Start(c.width);
    PageNo = 3;
    PutLetterhead();
    QStringList lines;
    for (int line = 0; line < RptLines.Count(); ++line) {
      lines << RptLines.Text(line, 0) + "|" + RptLines.Text(line, FlagsCell());
    }
    EXPECT_EQ(lines, c.lines);
    EXPECT_EQ(PageNo, 1);
    EXPECT_EQ(PageLine, CurLine + 1);
  }
}

TEST_F(LetterheadTest, WrapTextBreaksAfterTheLastBlankOrWithinAWordTooLongForTheLine) {
  const std::pair<const char*, QStringList> cases[] = {
      {"   \r\n ", {}},
      {"hello worl", {"hello worl"}},
      {"hello world", {"hello ", "world"}},
      {"one two three four", {"one two ", "three four"}},
      {"ab cdefghijklmnopqrstuvw", {"ab ", "cdefghijkl", "mnopqrstuv", "w"}},
      {"  first\r\nsecond\n\nfourth  ", {"first", "second", "", "fourth"}},
  };
  Start(10);  // ten letters to a line
  for (const auto& [text, expected] : cases) {
    QStringList lines{"left over"};
    EXPECT_EQ(WrapText(text, &lines), !expected.isEmpty()) << text;
    EXPECT_EQ(lines, expected) << text;
  }
}

TEST_F(LetterheadTest, MeasuresInTheFontThePrintoutLowersToFitTheWidth) {
  // 73 letters at 14 points (70 dots) are wider than the page; the printout
  // prints at 13 points, in lines 130 dots high.
  platform::RecordingCanvas::Metrics metrics;
  metrics.points = 14;
  scripted_.SetPageMetrics(metrics);
  Settings.LogoFile = "/tmp/logo.png";
  Settings.LogoHeight = 1.5;
  Settings.Company = "Harbourside";
  Start(73);
  PutLetterhead();
  EXPECT_EQ(RptLines.Text(7, 0), "L00Harbourside");  // 6 lines below the picture
  QStringList lines;
  ASSERT_TRUE(WrapText(QString(80, 'x'), &lines));
  EXPECT_EQ(lines.value(0).size(), 73);
}

TEST_F(LetterheadTest, AmountsPrintAsFixedTextDoesAndReadBackInEveryFormWritten) {
  for (const QLocale& locale : {QLocale(QLocale::English), QLocale(QLocale::German)}) {
    QLocale::setDefault(locale);
    Start(73);
    std::vector<double> values = {-0.0, 0.125, -0.125, 1.625, 29.985, 2.675, 1e9 + 0.005};
    for (int i = -3000; i <= 3000; i += 7) values.push_back(i * 1.37 + i * 0.03);
    for (double value : values) {
      const QString printed = MoneyText(value, 12);
      EXPECT_EQ(printed, FixedText(value, 12, 2)) << value;
      EXPECT_EQ(MoneyValue(printed), TextToNumber(printed).value_or(-1)) << value;
      const QString c_text = QString::asprintf("%9.2f", value);
      EXPECT_EQ(MoneyValue(c_text), QLocale::c().toDouble(c_text.trimmed())) << value;
    }
    for (const char* text : {"", "abc", "1.2.3", "-"}) EXPECT_EQ(MoneyValue(text), 0) << text;
  }
}

}  // namespace
