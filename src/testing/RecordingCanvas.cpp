#include "testing/RecordingCanvas.h"

#include <QStringList>
#include <algorithm>

namespace platform {

QStringList RecordingCanvas::Recording::Texts() const {
  QStringList texts;
  for (const Op& op : ops) {
    if (op.kind == Op::kText) texts << op.text;
  }
  return texts;
}

int RecordingCanvas::Recording::Count(Op::Kind kind) const {
  return static_cast<int>(
      std::count_if(ops.begin(), ops.end(), [kind](const Op& op) { return op.kind == kind; }));
}

RecordingCanvas::RecordingCanvas() : RecordingCanvas(Metrics()) {}

RecordingCanvas::RecordingCanvas(const Metrics& metrics)
    : metrics_(metrics), points_(metrics.points) {}

void RecordingCanvas::AddPicture(const QString& file, QSize size) { pictures_[file] = size; }

void RecordingCanvas::SetFontPoints(int points) { points_ = std::max(1, points); }

QSize RecordingCanvas::TextExtent(const QString& text) {
  return QSize(static_cast<int>(text.size()) * points_ * metrics_.char_width_per_point,
               points_ * metrics_.line_height_per_point);
}

void RecordingCanvas::Record(Op::Kind kind, const QRect& rect, const QString& text) {
  recording_->ops.push_back({kind, rect, text, bold_, points_});
}

void RecordingCanvas::DrawText(int x, int y, const QString& text) {
  Record(Op::kText, QRect(QPoint(x, y), TextExtent(text)), text);
}

void RecordingCanvas::DrawLine(int x1, int y1, int x2, int y2) {
  Record(Op::kLine, QRect(QPoint(x1, y1), QPoint(x2, y2)), QString());
}

void RecordingCanvas::DrawDottedLine(int x1, int y1, int x2, int y2) {
  Record(Op::kDottedLine, QRect(QPoint(x1, y1), QPoint(x2, y2)), QString());
}

QSize RecordingCanvas::PictureSize(const QString& file) { return pictures_.value(file); }

void RecordingCanvas::DrawPicture(int x, int y, const QString& file) {
  Record(Op::kPicture, QRect(QPoint(x, y), PictureSize(file)), file);
}

void RecordingCanvas::DrawPictureStretched(const QRect& target, const QString& file) {
  Record(Op::kStretchedPicture, target, file);
}

bool RecordingCanvas::NewPage() {
  if (fail_new_page_) return false;
  Record(Op::kNewPage, QRect(), QString());
  ++recording_->pages;
  return true;
}

bool RecordingCanvas::Finish() {
  if (fail_finish_) return false;
  Record(Op::kFinish, QRect(), QString());
  return true;
}

}  // namespace platform
