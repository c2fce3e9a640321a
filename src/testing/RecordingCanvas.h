#pragma once
// A canvas for tests: fixed, predictable text metrics (every character the
// same width, proportional to the font size) and a record of everything
// drawn, in order, with the font size and boldness in force. Pictures have
// the sizes a test gives them.

#include <QMap>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "platform/Canvas.h"

namespace platform {

class RecordingCanvas final : public Canvas {
 public:
  struct Metrics {
    QSize page{4800, 6600};  // 8 by 11 inches at 600 dpi
    int dpi_x = 600;
    int dpi_y = 600;
    int points = 10;                 // the report font's size
    int char_width_per_point = 5;    // 50 pixels a character at 10 points
    int line_height_per_point = 10;  // 100 pixels a line at 10 points
    // The printable page's corner on the sheet, and the sheet's size (empty:
    // the page is the whole sheet).
    QPoint printing_offset;
    QSize paper;
  };

  // One drawing call. Lines and pictures use the rectangle (a line from its
  // top-left to its bottom-right corner), text its top-left corner.
  struct Op {
    enum Kind { kText, kLine, kDottedLine, kPicture, kStretchedPicture, kNewPage, kFinish };
    Kind kind;
    QRect rect;
    QString text;  // the text, or the picture's file name
    bool bold = false;
    int points = 0;
    bool operator==(const Op&) const = default;
  };
  // What a canvas recorded; shared, so a test can read it after the canvas
  // (a finished print job) is gone.
  struct Recording {
    std::vector<Op> ops;
    int pages = 1;  // pages begun so far
    // The drawn texts alone, in order.
    QStringList Texts() const;
    int Count(Op::Kind kind) const;
  };

  RecordingCanvas();
  explicit RecordingCanvas(const Metrics& metrics);

  // Gives the picture file a size; other files cannot be read.
  void AddPicture(const QString& file, QSize size);
  // Makes NewPage or Finish report a device failure.
  void FailNewPage() { fail_new_page_ = true; }
  void FailFinish() { fail_finish_ = true; }
  const Metrics& metrics() const { return metrics_; }
  std::shared_ptr<Recording> recording() const { return recording_; }
  const std::vector<Op>& ops() const { return recording_->ops; }

  int FontPoints() const override { return points_; }
  void SetFontPoints(int points) override;
  void SetBold(bool bold) override { bold_ = bold; }
  QSize TextExtent(const QString& text) override;
  void DrawText(int x, int y, const QString& text) override;
  void DrawLine(int x1, int y1, int x2, int y2) override;
  void DrawDottedLine(int x1, int y1, int x2, int y2) override;
  QSize PictureSize(const QString& file) override;
  void DrawPicture(int x, int y, const QString& file) override;
  void DrawPictureStretched(const QRect& target, const QString& file) override;
  bool NewPage() override;
  bool Finish() override;
  QSize PageSize() const override { return metrics_.page; }
  QPoint PrintingOffset() const override { return metrics_.printing_offset; }
  QSize PhysicalPageSize() const override {
    return metrics_.paper.isEmpty() ? metrics_.page : metrics_.paper;
  }
  int DpiX() const override { return metrics_.dpi_x; }
  int DpiY() const override { return metrics_.dpi_y; }

 private:
  void Record(Op::Kind kind, const QRect& rect, const QString& text);

  Metrics metrics_;
  int points_;
  bool bold_ = false;
  bool fail_new_page_ = false;
  bool fail_finish_ = false;
  QMap<QString, QSize> pictures_;
  std::shared_ptr<Recording> recording_ = std::make_shared<Recording>();
};

}  // namespace platform
