// Where labels land: the stock's measures turned into printer pixels, the
// label font fitted, and rows placed across sheets and continuous stock,
// all on a recording canvas (600 dpi, a 4800 x 6600 pixel page, 5 pixels a
// character and 10 a line per point of font size).

#include <gtest/gtest.h>

#include <QString>
#include <memory>
#include <vector>

#include "labels/LabelGen.h"
#include "testing/RecordingCanvas.h"

namespace {

using labels::LabelLayout;
using labels::LabelRun;
using platform::RecordingCanvas;

LabelRecord Stock(int across, double top, double left, double width, double height, double hgap = 0,
                  double vgap = 0, bool continuous = false) {
  LabelRecord stock;
  stock.Name = "Test";
  stock.NAcross = across;
  stock.TopM = top;
  stock.LeftM = left;
  stock.Width = width;
  stock.Height = height;
  stock.HGap = hgap;
  stock.VGap = vgap;
  stock.Continuous = continuous;
  return stock;
}

TEST(LabelLayoutTest, MeasuresBecomePixelsOfThePrintableAreaAndTheFontFitsTheLabel) {
  struct Case {
    const char* name;
    LabelRecord stock;
    QPoint offset;
    QSize paper;  // empty: the page is the whole sheet
    LabelLayout expected;
    int points;
  };
  // 72 points are 600 pixels.
  LabelRecord margins = Stock(3, 36, 18, 180, 108, 9, 4.5);
  margins.BottomM = 36;
  margins.RightM = 18;
  const Case cases[] = {
      // Rows of 900 + 37 fit 6 times in 6600 - 300 - 300; a seventh needs
      // no gap below it: 6 * 937 + 900 = 6522 > 6000, so no.
      {"margins", margins, {}, {}, {300, 150, 300, 150, 1500, 900, 75, 37, 6, 100}, 10},
      // The printer cannot reach 100 pixels at the left and 150 at the top,
      // nor 250 at the bottom and 50 at the right.
      {"printing offset",
       margins,
       {100, 150},
       {4950, 7000},
       {150, 50, 50, 100, 1500, 900, 75, 37, 6, 100},
       10},
      // A margin inside the unreachable edge becomes 0.
      {"margin within the edge",
       Stock(1, 9, 9, 180, 108),
       {100, 150},
       {4900, 6800},
       {0, 0, 0, 0, 1500, 900, 0, 0, 7, 100},
       10},
      // Five "Abcde" need 125 characters: at 6 points 750 pixels fit 833.
      {"narrow label", Stock(1, 0, 0, 100, 108), {}, {}, {0, 0, 0, 0, 833, 900, 0, 0, 7, 60}, 6},
      // Five lines of 60 pixels fit 300.
      {"low label", Stock(1, 0, 0, 180, 36), {}, {}, {0, 0, 0, 0, 1500, 300, 0, 0, 22, 60}, 6},
      // Nothing fits: the font stops at 4 points and prints.
      {"tiny label", Stock(1, 0, 0, 1, 1), {}, {}, {0, 0, 0, 0, 8, 8, 0, 0, 825, 40}, 4},
      // No row height: one row a sheet rather than every row on one spot.
      {"no height", Stock(1, 0, 0, 180, 0), {}, {}, {0, 0, 0, 0, 1500, 0, 0, 0, 1, 40}, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RecordingCanvas::Metrics metrics;
    metrics.printing_offset = c.offset;
    metrics.paper = c.paper;
    RecordingCanvas canvas(metrics);
    const LabelLayout got = labels::WorkOutLayout(canvas, c.stock);
    const LabelLayout& e = c.expected;
    EXPECT_EQ(std::vector<int>({got.top, got.left, got.bottom, got.right, got.width, got.height,
                                got.hgap, got.vgap, got.down, got.line_h}),
              std::vector<int>({e.top, e.left, e.bottom, e.right, e.width, e.height, e.hgap, e.vgap,
                                e.down, e.line_h}));
    EXPECT_EQ(canvas.FontPoints(), c.points);
  }
}

// Where each label's first line was drawn: "page:x,y:text".
QStringList Placements(const RecordingCanvas::Recording& recording) {
  QStringList placed;
  int page = 1;
  for (const RecordingCanvas::Op& op : recording.ops) {
    if (op.kind == RecordingCanvas::Op::kNewPage) ++page;
    if (op.kind == RecordingCanvas::Op::kText && op.text.startsWith('#')) {
      placed
          << QStringLiteral("%1:%2,%3:%4").arg(page).arg(op.rect.x()).arg(op.rect.y()).arg(op.text);
    }
  }
  return placed;
}

TEST(LabelLayoutTest, RowsFillAcrossThenDownAndBreakPagesAtTheSheetOrPageEnd) {
  // Three across: 1500 wide with 75 between, rows 600 apart from 300 down.
  const LabelRecord three = Stock(3, 36, 18, 180, 72, 9);
  const LabelRecord one = Stock(1, 36, 18, 180, 72);  // 10 rows a sheet
  const LabelRecord continuous = Stock(1, 0, 0, 180, 72, 0, 0, true);
  struct Case {
    const char* name;
    LabelRecord stock;
    int column;
    int row;
    int labels;
    QStringList expected;  // the placements of the labels listed
    int sheets;
  };
  const Case cases[] = {
      {"three across from column 3, row 2", three, 3, 2, 2, {"1:3300,900:#1", "1:150,1500:#2"}, 1},
      {"a full row and a part row",
       three,
       1,
       1,
       4,
       {"1:150,300:#1", "1:1725,300:#2", "1:3300,300:#3", "1:150,900:#4"},
       1},
      {"ten down from row 10", one, 1, 10, 2, {"1:150,5700:#1", "2:150,300:#2"}, 2},
      {"past the last row, nothing printed yet", one, 1, 14, 1, {"1:150,300:#1"}, 1},
      {"column beyond the labels across", one, 5, 1, 1, {"1:150,300:#1"}, 1},
      // Eleven rows of 600 fill the 6600 page; the twelfth starts a page.
      {"continuous", continuous, 1, 11, 2, {"1:0,6000:#1", "2:0,0:#2"}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::shared_ptr<RecordingCanvas::Recording> recording;
    LabelRun run(c.stock, c.column, c.row, [&recording] {
      auto canvas = std::make_unique<RecordingCanvas>();
      recording = canvas->recording();
      return canvas;
    });
    for (int i = 1; i <= c.labels; ++i) {
      ASSERT_TRUE(run.Add({QStringLiteral("#%1").arg(i), "Street", "", "", "Town  2300"}));
    }
    ASSERT_TRUE(run.Finish());
    ASSERT_NE(recording, nullptr);
    EXPECT_EQ(Placements(*recording), c.expected);
    EXPECT_EQ(run.Labels(), c.labels);
    EXPECT_EQ(run.Sheets(), c.sheets);
    EXPECT_EQ(recording->Count(RecordingCanvas::Op::kFinish), 1);
  }
}

}  // namespace
