#include "platform/QtCanvas.h"

#include <QPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QPrinter>
#include <QSaveFile>
#include <algorithm>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "platform/PrintSetup.h"

namespace platform {
namespace {

int PointsOf(const QFont& font) {
  return font.pointSize() > 0 ? font.pointSize() : std::max(1, qRound(font.pointSizeF()));
}

// A print job: the painter on the printer, or on a PDF writer whose file
// replaces the target only once it is complete.
class QtPrintJob final : public QtCanvas {
 public:
  QtPrintJob(QPagedPaintDevice* device, std::unique_ptr<QPainter> painter,
             std::unique_ptr<QSaveFile> file, std::unique_ptr<QPdfWriter> pdf)
      : QtCanvas(device, painter.get(), ReportFont),
        device_(device),
        painter_(std::move(painter)),
        file_(std::move(file)),
        pdf_(std::move(pdf)) {}
  ~QtPrintJob() override {
    if (painter_->isActive()) painter_->end();
  }

  bool NewPage() override { return device_->newPage(); }
  bool Finish() override {
    const bool painted = painter_->end();
    if (!file_) return painted;
    if (!painted) {
      file_->cancelWriting();
      return false;
    }
    return file_->commit();
  }

 private:
  QPagedPaintDevice* device_;
  std::unique_ptr<QPainter> painter_;
  std::unique_ptr<QSaveFile> file_;
  std::unique_ptr<QPdfWriter> pdf_;
};

// Qt's PDF writer takes a buffer of a megabyte or so for every page it
// compresses and frees it again. glibc would map each one afresh and hand it
// back to the system, which costs far more than the page's content; keeping
// freed memory for reuse makes long print runs several times faster.
void KeepFreedMemoryForReuse() {
#if defined(__GLIBC__)
  static const bool tuned = [] {
    mallopt(M_MMAP_THRESHOLD, 32 << 20);
    mallopt(M_TRIM_THRESHOLD, 64 << 20);
    return true;
  }();
  (void)tuned;
#endif
}

}  // namespace

QtCanvas::QtCanvas(QPaintDevice* device, QPainter* painter, const QFont& font)
    : device_(device), painter_(painter), font_(font), metrics_(font, device) {
  if (font_.pointSize() <= 0) font_.setPointSize(PointsOf(font));
  FontChanged();
}

void QtCanvas::FontChanged() {
  metrics_ = QFontMetrics(font_, device_);
  if (painter_ != nullptr) painter_->setFont(font_);
}

int QtCanvas::FontPoints() const { return PointsOf(font_); }

void QtCanvas::SetFontPoints(int points) {
  font_.setPointSize(std::max(1, points));
  FontChanged();
}

void QtCanvas::SetBold(bool bold) {
  if (font_.bold() == bold) return;
  font_.setBold(bold);
  FontChanged();
}

QSize QtCanvas::TextExtent(const QString& text) {
  return QSize(metrics_.horizontalAdvance(text), metrics_.height());
}

void QtCanvas::DrawText(int x, int y, const QString& text) {
  if (painter_ != nullptr) painter_->drawText(x, y + metrics_.ascent(), text);
}

void QtCanvas::Line(Qt::PenStyle style, int x1, int y1, int x2, int y2) {
  if (painter_ == nullptr) return;
  // As thick as a pixel of a common screen, so rules stay visible on
  // high-resolution printers. The pen changes only with the style: a PDF
  // records every change.
  if (pen_style_ != style) {
    painter_->setPen(QPen(Qt::black, std::max(1, qRound(DpiY() / 96.0)), style));
    pen_style_ = style;
  }
  painter_->drawLine(x1, y1, x2, y2);
}

void QtCanvas::DrawLine(int x1, int y1, int x2, int y2) { Line(Qt::SolidLine, x1, y1, x2, y2); }

void QtCanvas::DrawDottedLine(int x1, int y1, int x2, int y2) { Line(Qt::DotLine, x1, y1, x2, y2); }

const QImage& QtCanvas::Picture(const QString& file) {
  auto found = pictures_.find(file);
  if (found == pictures_.end()) found = pictures_.insert(file, QImage(file));
  return *found;
}

QSize QtCanvas::PictureSize(const QString& file) { return Picture(file).size(); }

void QtCanvas::DrawPicture(int x, int y, const QString& file) {
  const QImage& picture = Picture(file);
  if (painter_ != nullptr && !picture.isNull()) painter_->drawImage(QPoint(x, y), picture);
}

void QtCanvas::DrawPictureStretched(const QRect& target, const QString& file) {
  const QImage& picture = Picture(file);
  if (painter_ != nullptr && !picture.isNull()) painter_->drawImage(target, picture);
}

QSize QtCanvas::PageSize() const { return QSize(device_->width(), device_->height()); }

namespace {

// The sheet and its printable area in device pixels: a printer says so
// itself; a PDF page keeps its layout's margins.
bool SheetRects(QPaintDevice* device, QRect* paper, QRect* printable) {
  if (auto* printer = dynamic_cast<QPrinter*>(device)) {
    *paper = printer->paperRect(QPrinter::DevicePixel).toRect();
    *printable = printer->pageRect(QPrinter::DevicePixel).toRect();
    return true;
  }
  if (auto* paged = dynamic_cast<QPagedPaintDevice*>(device)) {
    const QPageLayout layout = paged->pageLayout();
    const int resolution = device->logicalDpiX();
    *paper = layout.fullRectPixels(resolution);
    *printable = layout.paintRectPixels(resolution);
    return true;
  }
  return false;
}

}  // namespace

QPoint QtCanvas::PrintingOffset() const {
  QRect paper;
  QRect printable;
  if (!SheetRects(device_, &paper, &printable)) return QPoint();
  return printable.topLeft() - paper.topLeft();
}

QSize QtCanvas::PhysicalPageSize() const {
  QRect paper;
  QRect printable;
  if (!SheetRects(device_, &paper, &printable)) return PageSize();
  return paper.size();
}

int QtCanvas::DpiX() const { return device_->logicalDpiX(); }

int QtCanvas::DpiY() const { return device_->logicalDpiY(); }

std::unique_ptr<Canvas> QtPrinterCanvas() {
  // Without a printer, Printer() is the PDF printer whose pages the PDF
  // files get.
  return std::make_unique<QtCanvas>(&Printer(), nullptr, ReportFont);
}

std::unique_ptr<Canvas> StartQtPrintJob(const QString& pdf_path) {
  KeepFreedMemoryForReuse();
  auto painter = std::make_unique<QPainter>();
  if (pdf_path.isEmpty()) {
    if (PrintsToPdf() || !painter->begin(&Printer())) return nullptr;
    return std::make_unique<QtPrintJob>(&Printer(), std::move(painter), nullptr, nullptr);
  }
  auto file = std::make_unique<QSaveFile>(pdf_path);
  if (!file->open(QIODevice::WriteOnly)) return nullptr;
  auto pdf = std::make_unique<QPdfWriter>(file.get());
  pdf->setPageLayout(Printer().pageLayout());
  pdf->setResolution(Printer().resolution());
  pdf->setTitle(QStringLiteral("Report"));
  pdf->setCreator(QStringLiteral("Pelmark Invoicing"));
  if (!painter->begin(pdf.get())) return nullptr;
  QPagedPaintDevice* device = pdf.get();
  return std::make_unique<QtPrintJob>(device, std::move(painter), std::move(file), std::move(pdf));
}

}  // namespace platform
