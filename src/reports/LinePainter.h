#pragma once
// Painting report lines, written once for the preview and the printout:
// where the report's columns fall on a canvas, one line painted at a given
// height, the lines visible in the preview, and the whole report printed
// page by page.

#include <QSize>

namespace platform {
class Canvas;
}

namespace reports {

// Where a report falls on a canvas; column c lies at c * char_w + left_x.
struct PageGeometry {
  int points = 0;  // the font size the report is painted in
  int char_w = 0;  // one column: the width of "B"
  int line_h = 0;  // one line: the height of "A"
  int page_w = 0;  // the width the report is centred in
  int left_x = 0;
  int right_x = 0;
  int top_y = 0;  // printing: where each page's first line starts
  int Column(int column) const { return column * char_w + left_x; }
};

// Fits the report on the canvas: while RptWidth columns are wider than
// page_w and the font is above min_points, lowers it by one point; then
// centres the report in page_w.
PageGeometry MeasureReport(platform::Canvas& canvas, int page_w, int min_points);

// The preview's font never goes below this; a wider report is clipped.
inline constexpr int kPreviewMinPoints = 8;

// The preview in a window's client area beside its scroll bar, which starts
// scroll_top pixels below the top: the geometry, the whole lines that fit,
// and the scroll bar (0 .. scroll_max, a page click moving page_step lines)
// when the report has more lines than fit.
struct PreviewLayout {
  PageGeometry geometry;
  int vis_lines = 0;
  bool scroll_enabled = false;
  int scroll_max = 0;
  int page_step = 1;
};
PreviewLayout LayoutPreview(platform::Canvas& screen, QSize client, int scroll_bar_width,
                            int scroll_top);

enum class PaintMode { kPreview, kPrint };

// Paints buffer line `line` with its top at *y and moves *y to the next
// line's top. Text is bold when the flags hold "B"; "U" rules the line off
// underneath. The preview draws an "EJECT" as a dotted rule across the page
// and pictures at their own size; the printout starts a new page for it
// (taking no room) and stretches pictures to the size in the flags at the
// canvas's resolution. False when the printer failed to start a page.
bool PaintLine(platform::Canvas& canvas, const PageGeometry& geometry, int line, PaintMode mode,
               int* y);

// Paints `count` lines from first_line on (as far as there are lines), the
// first with its top at 0.
void PaintPreview(platform::Canvas& canvas, const PageGeometry& geometry, int first_line,
                  int count);

// Prints the whole report on a print job: the font lowered without floor
// until the report's width fits the page (and until a full page of PageLen
// lines fits below the top space), each page starting three lines down,
// new pages only at "EJECT", progress in the status bar. False when the
// printer failed; the caller finishes the job.
bool PrintLines(platform::Canvas& job);

}  // namespace reports
