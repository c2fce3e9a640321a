#pragma once
// The canvas on Qt paint devices: a window in its paint event, the
// program's printer, or a PDF file. Text is measured on the device itself,
// so a printer's resolution gives the printer's metrics.

#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <memory>

#include "platform/Canvas.h"

class QPaintDevice;
class QPainter;

namespace platform {

class QtCanvas : public Canvas {
 public:
  // Measures on the device in the font; paints with the painter, which must
  // be active on that device, or paints nothing when it is null.
  QtCanvas(QPaintDevice* device, QPainter* painter, const QFont& font);

  int FontPoints() const override;
  void SetFontPoints(int points) override;
  void SetBold(bool bold) override;
  QSize TextExtent(const QString& text) override;
  void DrawText(int x, int y, const QString& text) override;
  void DrawLine(int x1, int y1, int x2, int y2) override;
  void DrawDottedLine(int x1, int y1, int x2, int y2) override;
  QSize PictureSize(const QString& file) override;
  void DrawPicture(int x, int y, const QString& file) override;
  void DrawPictureStretched(const QRect& target, const QString& file) override;
  bool NewPage() override { return true; }
  bool Finish() override { return true; }
  QSize PageSize() const override;
  QPoint PrintingOffset() const override;
  QSize PhysicalPageSize() const override;
  int DpiX() const override;
  int DpiY() const override;

 protected:
  QPainter* painter() const { return painter_; }

 private:
  void FontChanged();
  const QImage& Picture(const QString& file);
  void Line(Qt::PenStyle style, int x1, int y1, int x2, int y2);

  QPaintDevice* device_;
  QPainter* painter_;
  QFont font_;
  QFontMetrics metrics_;
  Qt::PenStyle pen_style_ = Qt::NoPen;
  QHash<QString, QImage> pictures_;
};

// A canvas measuring the pages a print produces in the report font: on the
// program's printer, or on a PDF page laid out as the printer's.
std::unique_ptr<Canvas> QtPrinterCanvas();
// Starts a print job in the report font on the program's printer, or into
// the PDF file when pdf_path is not empty. Null when the printer or the
// file cannot be opened, and for the printer when the system has none.
std::unique_ptr<Canvas> StartQtPrintJob(const QString& pdf_path);

}  // namespace platform
