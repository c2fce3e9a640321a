// The line painter on a recording canvas: what preview and printout draw
// for each kind of cell, how they fit the font, and the preview's scroll
// range.

#include "ReportFixture.h"
#include "reports/LinePainter.h"
#include "testing/RecordingCanvas.h"

namespace {

using platform::RecordingCanvas;
using Op = RecordingCanvas::Op;
using reports::PaintMode;

class PainterTest : public ReportTest {};

Op Text(int x, int y, const QString& text, bool bold = false) {
  return {Op::kText, QRect(x, y, 50 * static_cast<int>(text.size()), 100), text, bold, 10};
}
Op Line(int x1, int y1, int x2, int y2) {
  return {Op::kLine, QRect(QPoint(x1, y1), QPoint(x2, y2)), QString(), false, 10};
}

TEST_F(PainterTest, EachCellKindDrawsAtItsColumnInPreviewAndPrint) {
  // 20 columns of 50 pixels in a page 1000 wide: column c lies at 50 c.
  struct Case {
    QStringList cells;  // three layout cells and the flags
    std::vector<Op> preview;
    std::vector<Op> print;  // when it differs from the preview
    int next_y_print = 100;
  };
  const std::vector<Op> texts = {Text(100, 0, "abc", true), Text(400, 0, "de", true),
                                 Text(250, 0, "xy", true)};
  const std::vector<Op> rules = {Line(0, 0, 0, 100), Line(1000, 0, 1000, 100),
                                 Line(100, 0, 1000, 0), Line(0, 100, 1000, 100)};
  const Case cases[] = {
      {{"L02abc", "R10de", "C06xy", "B"}, texts, texts},
      {{"V00", "V20", "H0220", "U"}, rules, rules},
      // A picture: its own size in the preview, the flags' inches at the
      // printer's 600 dpi when printed.
      {{"IL02logo.bmp", "", "", "S 1.50 2.00"},
       {{Op::kPicture, QRect(100, 0, 300, 200), "logo.bmp", false, 10}},
       {{Op::kStretchedPicture, QRect(100, 0, 1200, 900), "logo.bmp", false, 10}}},
      {{"IR20logo.bmp", "", "", "S 1.50 2.00U"},
       {{Op::kPicture, QRect(700, 0, 300, 200), "logo.bmp", false, 10}, Line(0, 100, 1000, 100)},
       {{Op::kStretchedPicture, QRect(-200, 0, 1200, 900), "logo.bmp", false, 10},
        Line(0, 100, 1000, 100)}},
      // A page break: a dotted rule through the middle of its line in the
      // preview, a new page taking no room in the printout.
      {{"EJECT", "", "", ""},
       {{Op::kDottedLine, QRect(QPoint(0, 50), QPoint(1000, 50)), QString(), false, 10}},
       {{Op::kNewPage, QRect(), QString(), false, 10}},
       300},
      // Unknown kinds and unreadable columns draw nothing.
      {{"Xyz", "Lxxabc", "V", ""}, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.cells.join('|').toStdString());
    StartReport(20, 4);
    AddLine(c.cells);
    for (const PaintMode mode : {PaintMode::kPreview, PaintMode::kPrint}) {
      RecordingCanvas canvas;
      canvas.AddPicture("logo.bmp", QSize(300, 200));
      reports::PageGeometry geometry = reports::MeasureReport(canvas, 1000, 8);
      geometry.top_y = 300;
      int y = 0;
      ASSERT_TRUE(reports::PaintLine(canvas, geometry, 0, mode, &y));
      EXPECT_EQ(canvas.ops(), mode == PaintMode::kPreview ? c.preview : c.print);
      EXPECT_EQ(y, mode == PaintMode::kPreview ? 100 : c.next_y_print);
    }
  }
}

TEST_F(PainterTest, FontShrinksToFitThePreviewNotBelowEightPointsThePrintoutWithoutLimit) {
  struct Case {
    int width;        // report columns
    int page_height;  // printer page
    int preview_points;
    int print_points;
  };
  const Case cases[] = {
      {20, 6600, 10, 10},
      {100, 6600, 8, 9},  // 100 x 45 fits the printer's 4800
      {200, 6600, 8, 4},  // wider than the preview even at 8 points
      {20, 3300, 10, 5},  // without a printer, 60 lines must fit the page
  };
  for (const Case& c : cases) {
    StartReport(c.width, 3);
    AddLine({"L00first", "", ""});
    AddLine({"EJECT", "", ""});
    AddLine({"L00second", "", "B"});
    RecordingCanvas screen;
    EXPECT_EQ(reports::LayoutPreview(screen, QSize(1016, 800), 16, 2).geometry.points,
              c.preview_points);
    RecordingCanvas::Metrics metrics;
    metrics.page.setHeight(c.page_height);
    RecordingCanvas job(metrics);
    ASSERT_TRUE(reports::PrintLines(job));
    const int p = c.print_points;
    const int left = 2400 - c.width * 5 * p / 2;
    // Each page starts three lines down; the break takes no room.
    const std::vector<Op> expected = {
        {Op::kText, QRect(left, 30 * p, 25 * p, 10 * p), "first", false, p},
        {Op::kNewPage, QRect(), QString(), false, p},
        {Op::kText, QRect(left, 30 * p, 30 * p, 10 * p), "second", true, p},
    };
    EXPECT_EQ(job.ops(), expected) << c.width;
    EXPECT_EQ(job.recording()->pages, 2);
  }
}

TEST_F(PainterTest, ScrollBarCoversTheLinesBeyondThoseVisible) {
  struct Case {
    int lines;
    bool enabled;
    int max;
    int page_step;
  };
  const Case cases[] = {
      {100, true, 70, 29}, {5, false, 0, 1}, {30, false, 0, 1}, {31, true, 1, 29}};
  for (const Case& c : cases) {
    StartReport(20, 3);
    for (int i = 0; i < c.lines; ++i) AddLine({"L00line", "", ""});
    RecordingCanvas screen;
    // 30 whole lines of 100 pixels below the scroll bar's top, and a part.
    const reports::PreviewLayout layout =
        reports::LayoutPreview(screen, QSize(1016, 2 + 3050), 16, 2);
    EXPECT_EQ(layout.vis_lines, 30);
    EXPECT_EQ(layout.scroll_enabled, c.enabled) << c.lines;
    EXPECT_EQ(layout.scroll_max, c.max) << c.lines;
    EXPECT_EQ(layout.page_step, c.page_step) << c.lines;
    // The preview paints the visible lines only.
    RecordingCanvas canvas;
    reports::PaintPreview(canvas, layout.geometry, c.lines - 3, layout.vis_lines);
    EXPECT_EQ(canvas.recording()->Count(Op::kText), std::min(3, c.lines));
  }
}

}  // namespace
