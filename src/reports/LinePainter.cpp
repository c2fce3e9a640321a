#include "reports/LinePainter.h"

#include <QString>
#include <algorithm>

#include "platform/Canvas.h"
#include "platform/Platform.h"
#include "reports/ReportCells.h"
#include "reports/RptUtil.h"

namespace reports {
namespace {

int CharWidth(platform::Canvas& canvas) { return canvas.TextExtent(QStringLiteral("B")).width(); }

int LineHeight(platform::Canvas& canvas) { return canvas.TextExtent(QStringLiteral("A")).height(); }

// Lowers the font one point at a time while `too_big` holds and the font is
// above min_points.
template <typename TooBig>
void Shrink(platform::Canvas& canvas, int min_points, TooBig too_big) {
  while (too_big() && canvas.FontPoints() > std::max(1, min_points)) {
    canvas.SetFontPoints(canvas.FontPoints() - 1);
  }
}

// x of an item of the width placed at the position by its alignment.
int AlignedX(QChar align, int position, int width) {
  if (align == QLatin1Char('R')) return position - width;
  if (align == QLatin1Char('C')) return position - width / 2;
  return position;
}

void PaintPicture(platform::Canvas& canvas, const PageGeometry& geometry, const CellItem& item,
                  QStringView flags, PaintMode mode, int y) {
  const QString file = item.text.toString();
  const int position = geometry.Column(item.column);
  double height = 0;
  double width = 0;
  if (mode == PaintMode::kPrint && PictureInches(flags, &height, &width)) {
    const int drawn_w = static_cast<int>(canvas.DpiX() * width);
    const int drawn_h = static_cast<int>(canvas.DpiY() * height);
    canvas.DrawPictureStretched(QRect(AlignedX(item.align, position, drawn_w), y, drawn_w, drawn_h),
                                file);
    return;
  }
  const QSize size = canvas.PictureSize(file);
  if (size.isEmpty()) return;
  canvas.DrawPicture(AlignedX(item.align, position, size.width()), y, file);
}

}  // namespace

PageGeometry MeasureReport(platform::Canvas& canvas, int page_w, int min_points) {
  PageGeometry geometry;
  Shrink(canvas, min_points,
         [&] { return page_w < static_cast<long long>(RptWidth) * CharWidth(canvas); });
  geometry.points = canvas.FontPoints();
  geometry.char_w = CharWidth(canvas);
  geometry.line_h = LineHeight(canvas);
  geometry.page_w = page_w;
  geometry.left_x = page_w / 2 - RptWidth * geometry.char_w / 2;
  geometry.right_x = RptWidth * geometry.char_w + geometry.left_x;
  return geometry;
}

PreviewLayout LayoutPreview(platform::Canvas& screen, QSize client, int scroll_bar_width,
                            int scroll_top) {
  PreviewLayout layout;
  layout.geometry = MeasureReport(screen, client.width() - scroll_bar_width, kPreviewMinPoints);
  const int line_h = std::max(1, layout.geometry.line_h);
  layout.vis_lines = std::max(0, (client.height() - scroll_top) / line_h);
  const int lines = RptLines.Count();
  layout.scroll_enabled = lines > layout.vis_lines;
  if (layout.scroll_enabled) {
    layout.scroll_max = lines - layout.vis_lines;
    layout.page_step = std::max(1, layout.vis_lines - 1);
  }
  return layout;
}

bool PaintLine(platform::Canvas& canvas, const PageGeometry& geometry, int line, PaintMode mode,
               int* y) {
  const QStringView flags = RptLines.Cell(line, FlagsCell());
  canvas.SetBold(HasFlag(flags, QLatin1Char('B')));
  for (int cell = 0; cell < RptCells - 1; ++cell) {
    const CellItem item = ReadCell(RptLines.Cell(line, cell));
    switch (item.kind) {
      case CellItem::kText: {
        const QString text = item.text.toString();
        const int x =
            AlignedX(item.align, geometry.Column(item.column), canvas.TextExtent(text).width());
        canvas.DrawText(x, *y, text);
        break;
      }
      case CellItem::kVerticalRule: {
        const int x = geometry.Column(item.column);
        canvas.DrawLine(x, *y, x, *y + geometry.line_h);
        break;
      }
      case CellItem::kHorizontalRule:
        canvas.DrawLine(geometry.Column(item.column), *y, geometry.Column(item.last_column), *y);
        break;
      case CellItem::kPicture:
        PaintPicture(canvas, geometry, item, flags, mode, *y);
        break;
      case CellItem::kEject:
        if (mode == PaintMode::kPreview) {
          const int middle = *y + geometry.line_h / 2;
          canvas.DrawDottedLine(0, middle, geometry.page_w, middle);
        } else {
          if (!canvas.NewPage()) return false;
          *y = geometry.top_y - geometry.line_h;
        }
        break;
      case CellItem::kNone:
        break;
    }
  }
  *y += geometry.line_h;
  if (HasFlag(flags, QLatin1Char('U'))) {
    canvas.DrawLine(geometry.left_x, *y, geometry.right_x, *y);
  }
  return true;
}

void PaintPreview(platform::Canvas& canvas, const PageGeometry& geometry, int first_line,
                  int count) {
  const int last = std::min(RptLines.Count(), first_line + count);
  int y = 0;
  for (int line = std::max(0, first_line); line < last; ++line) {
    PaintLine(canvas, geometry, line, PaintMode::kPreview, &y);
  }
}

bool PrintLines(platform::Canvas& job) {
  const QSize page = job.PageSize();
  // Past the width, a page of PageLen lines below the top space must fit
  // too: without a printer the page length is a fixed guess.
  Shrink(job, 1,
         [&] { return static_cast<long long>(PageLen + 3) * LineHeight(job) > page.height(); });
  PageGeometry geometry = MeasureReport(job, page.width(), 1);
  geometry.top_y = 3 * geometry.line_h;

  platform::Platform& desktop = platform::Current();
  desktop.ShowProgress(QStringLiteral("Printing Report"));
  const int lines = RptLines.Count();
  int shown = 0;
  int y = geometry.top_y;
  bool ok = true;
  for (int line = 0; line < lines && ok; ++line) {
    ok = PaintLine(job, geometry, line, PaintMode::kPrint, &y);
    const int percent = static_cast<int>(100LL * (line + 1) / lines);
    if (percent != shown) {
      desktop.SetProgress(percent);
      shown = percent;
    }
  }
  desktop.ShowProgress(QString());
  return ok;
}

}  // namespace reports
