#pragma once
// A surface that report and label pages are painted on: the screen, a
// printer or a PDF file in the running program (QtCanvas), a recording in
// tests (RecordingCanvas). Positions are in the surface's pixels with y
// growing downward; text is placed by the top-left corner of its line box.
// The font starts as the report font; painters lower its size to make a
// report fit and switch bold on and off per line.

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

namespace platform {

class Canvas {
 public:
  virtual ~Canvas() = default;

  // The font size in whole points, and changing it (at least 1).
  virtual int FontPoints() const = 0;
  virtual void SetFontPoints(int points) = 0;
  virtual void SetBold(bool bold) = 0;
  // Width of the text and height of a line in the current font.
  virtual QSize TextExtent(const QString& text) = 0;
  // Draws the text with its top-left corner at (x, y), on a transparent
  // background.
  virtual void DrawText(int x, int y, const QString& text) = 0;
  virtual void DrawLine(int x1, int y1, int x2, int y2) = 0;
  virtual void DrawDottedLine(int x1, int y1, int x2, int y2) = 0;
  // The picture file's own size in pixels; empty when it cannot be read.
  virtual QSize PictureSize(const QString& file) = 0;
  // Draws the picture at its own size with its top-left corner at (x, y),
  // or stretched into the rectangle. A file that cannot be read draws
  // nothing.
  virtual void DrawPicture(int x, int y, const QString& file) = 0;
  virtual void DrawPictureStretched(const QRect& target, const QString& file) = 0;
  // Print jobs: ends the page and starts the next one. False when the device
  // failed; a screen has one endless page and returns true.
  virtual bool NewPage() = 0;
  // Print jobs: sends the last page or writes the file. False when that
  // failed; a screen returns true.
  virtual bool Finish() = 0;
  // The area that can be painted (a printer's page inside its margins, a
  // window's client area), in pixels.
  virtual QSize PageSize() const = 0;
  // Print jobs: where the printable area begins on the physical sheet and
  // the sheet's whole size, in pixels; painting positions count from the
  // printable area's corner. Other surfaces are all printable.
  virtual QPoint PrintingOffset() const { return QPoint(); }
  virtual QSize PhysicalPageSize() const { return PageSize(); }
  // Resolution in dots per inch, across and down.
  virtual int DpiX() const = 0;
  virtual int DpiY() const = 0;
};

}  // namespace platform
