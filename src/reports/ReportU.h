#pragma once
// The report viewer "Report": previews the report buffer (RptUtil.h) on a
// white page with a scroll bar, prints it, and exports it as plain text,
// tab-delimited text or a PDF document, and e-mails the documents of one
// customer as a PDF attachment. It reads the buffer and never
// changes it; it opens maximised and scrolls with the scroll bar, the mouse
// wheel and the arrow, Page Up/Down, Home and End keys.

#include <QDialog>

#include "reports/LinePainter.h"

class QAction;
class QMenu;
class QMenuBar;
class QScrollBar;

namespace platform {
class QtPlatform;
}

class TReportF final : public QDialog {
  Q_OBJECT

 public:
  explicit TReportF(QWidget* parent = nullptr);

  QMenuBar* MainMenu1;
  QAction* mExit;
  QAction* mPrint;
  QMenu* mExport;
  QAction* AsciiText1;
  QAction* TabDelimited1;
  QAction* PdfDocument1;
  // Shown only for documents addressed to one customer.
  QAction* SendMail1;
  QScrollBar* ScrollBar1;

  void FormShow();
  void ScrollBar1Change(int position);
  void mPrintClick();

  // The first line shown and the lines that fit.
  int FirstLine() const { return first_line_; }
  int VisLines() const { return layout_.vis_lines; }
  const reports::PreviewLayout& Layout() const { return layout_; }
  // Paints the visible lines (the page's paint event).
  void FormPaint(QPaintDevice* device);

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  // The preview's geometry and scroll bar for the page's current size.
  void LayOut();

  QWidget* page_;
  reports::PreviewLayout layout_;
  int first_line_ = 0;
};

namespace reports {
// Creates the date span window and the report viewer once and registers
// them under their window ids.
void CreateReportWindows(QWidget* parent, platform::QtPlatform* qt_platform);
}  // namespace reports
