// The report buffer: page headers and breaks, the page length and the
// packed line store.

#include <random>
#include <vector>

#include "ReportFixture.h"
#include "reports/ReportLines.h"

namespace {

class BufferTest : public ReportTest {};

TEST_F(BufferTest, PagesBeginWithHeaderAndLaterOnesWithEjectAfterTheClosingRule) {
  struct Case {
    bool with_headings;
    QString detail_flags;
    QStringList expected;
  };
  const QStringList header = {"L00Page 1|R733/14/26|||", "||||", "C36Sales Summary||||B", "||||",
                              "||||"};
  const QStringList headings = {"||||", "||||U", "L00Code|V20|R40Amount|R60Total|U"};
  const QStringList page2 = {
      "EJECT||||", "L00Page 2|R733/14/26|||", "||||", "C36Sales Summary||||B", "||||", "||||"};
  const Case cases[] = {
      {true, "",
       header + headings + QStringList{"L00A1|V20|R4010.00||U"} + page2 + headings +
           QStringList{"L00A2|V20|R4020.00||"}},
      // The closing rule joins a bold line's flags instead of replacing them.
      {true, "B",
       header + headings + QStringList{"L00A1|V20|R4010.00||BU"} + page2 + headings +
           QStringList{"L00A2|V20|R4020.00||"}},
      {false, "",
       header + QStringList{"L00A1|V20|R4010.00||"} + page2 + QStringList{"L00A2|V20|R4020.00||"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.with_headings);
    StartReport(73, 5);
    RptTitles = {"Sales Summary"};
    ColCodes = {"L00", "V20", "R40", "R60"};
    SetColumnHeadings({"Code", "Amount", "Total"});
    EXPECT_TRUE(CheckPage(PageLine + 1, c.with_headings));
    NewLine();
    PutRow({"A1", "10.00"});
    AddFlags(c.detail_flags);
    EXPECT_FALSE(CheckPage(PageLen, c.with_headings));
    EXPECT_TRUE(CheckPage(PageLen + 1, c.with_headings));
    EXPECT_EQ(PageNo, 2);
    NewLine();
    PutRow({"A2", "20.00"});
    QStringList dumped;
    for (int line = 0; line <= CurLine; ++line) dumped << Dump(line);
    EXPECT_EQ(dumped, c.expected);
    EXPECT_EQ(PageLine, c.expected.size() - c.expected.indexOf("L00Page 2|R733/14/26|||"));
  }
}

TEST_F(BufferTest, PageLengthComesFromThePrinterPageAndFont) {
  struct Case {
    bool has_printer;
    int page_height;
    int points;  // the recording canvas's line is 10 pixels a point
    int expected;
  };
  const Case cases[] = {
      {false, 6600, 10, 60},  // no printer: the fixed length
      {true, 6600, 10, 60},   // 66 lines of 100 pixels, less 6
      {true, 6600, 12, 49},   // 6600 / 120 = 55
      {true, 3300, 10, 27},
  };
  for (const Case& c : cases) {
    platform::RecordingCanvas::Metrics metrics;
    metrics.page.setHeight(c.page_height);
    metrics.points = c.points;
    scripted_.SetHasPrinter(c.has_printer);
    scripted_.SetPageMetrics(metrics);
    StartReport(64, 5);
    EXPECT_EQ(PageLen, c.expected) << c.page_height << " " << c.points;
    ASSERT_NE(ReportPrinterCanvas(), nullptr);
    EXPECT_EQ(ReportPrinterCanvas()->PageSize().height(), c.page_height);
  }
}

TEST_F(BufferTest, PackedLinesReadBackWhateverIsChangedAndWhen) {
  // A model of plain string lists against the packed store, through
  // appends, changes to old and last lines, and the compaction they cause.
  constexpr int kCells = 6;
  ReportLines lines;
  lines.Reset(kCells);
  std::vector<QStringList> model;
  std::mt19937 random(7);
  for (int step = 0; step < 20000; ++step) {
    const int action = static_cast<int>(random() % 4);
    if (action == 0 || model.empty()) {
      lines.Append();
      model.push_back(QStringList(kCells, QString()));
      continue;
    }
    const int line = static_cast<int>(random() % model.size());
    const int cell = static_cast<int>(random() % kCells);
    const QString text = QString(static_cast<int>(random() % 12), QChar(u'a' + step % 26));
    if (action == 1) {
      lines[line][cell] = text;
      model[line][cell] = text;
    } else {
      lines[line][cell] += text;
      model[line][cell] += text;
    }
  }
  ASSERT_EQ(lines.Count(), static_cast<int>(model.size()));
  for (int line = 0; line < lines.Count(); ++line) ASSERT_EQ(lines.Line(line), model[line]) << line;
  // Outside the lines: nothing to read, nothing written.
  lines[lines.Count()][0] = "lost";
  EXPECT_TRUE(lines.Cell(lines.Count(), 0).isEmpty());
  EXPECT_TRUE(lines.Cell(0, kCells).isEmpty());
}

}  // namespace
