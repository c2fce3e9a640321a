#include "reports/ReportU.h"

#include <QAction>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QScrollBar>
#include <QShowEvent>
#include <QVBoxLayout>
#include <QWheelEvent>

#include "platform/PrintSetup.h"
#include "platform/QtCanvas.h"
#include "platform/QtPlatform.h"
#include "reports/DateSpanU.h"
#include "reports/MailReport.h"
#include "reports/ReportOutput.h"
#include "reports/RptUtil.h"

namespace {

// The white page the report is previewed on; the viewer paints it and the
// mouse wheel scrolls it.
class ReportPage final : public QWidget {
 public:
  ReportPage(TReportF* viewer, QScrollBar* scroll_bar)
      : QWidget(viewer), viewer_(viewer), scroll_bar_(scroll_bar) {
    setObjectName(QStringLiteral("ReportPage"));
    setAccessibleName(QStringLiteral("Report"));
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override { viewer_->FormPaint(this); }
  void wheelEvent(QWheelEvent* event) override { QCoreApplication::sendEvent(scroll_bar_, event); }

 private:
  TReportF* viewer_;
  QScrollBar* scroll_bar_;
};

QAction* MakeAction(QObject* parent, const char* name, const QString& caption) {
  auto* action = new QAction(caption, parent);
  action->setObjectName(QString::fromLatin1(name));
  return action;
}

}  // namespace

TReportF::TReportF(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Report"));
  setWindowTitle(QStringLiteral("Report"));
  setSizeGripEnabled(true);
  QPalette white = palette();
  white.setColor(QPalette::Window, Qt::white);
  setPalette(white);

  MainMenu1 = new QMenuBar(this);
  MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
  mExit = MakeAction(this, "mExit", QStringLiteral("E&xit"));
  mPrint = MakeAction(this, "mPrint", QStringLiteral("Print"));
  mExport = new QMenu(QStringLiteral("&Export"), this);
  mExport->setObjectName(QStringLiteral("mExport"));
  AsciiText1 = MakeAction(this, "AsciiText1", QStringLiteral("Ascii &Text"));
  TabDelimited1 = MakeAction(this, "TabDelimited1", QStringLiteral("Tab &Delimited"));
  PdfDocument1 = MakeAction(this, "PdfDocument1", QStringLiteral("&PDF Document"));
  SendMail1 = MakeAction(this, "SendMail1", QStringLiteral("Send by &E-mail..."));
  mExport->addActions({AsciiText1, TabDelimited1, PdfDocument1, SendMail1});
  MainMenu1->addAction(mExit);
  MainMenu1->addAction(mPrint);
  MainMenu1->addMenu(mExport);

  ScrollBar1 = new QScrollBar(Qt::Vertical, this);
  ScrollBar1->setObjectName(QStringLiteral("ScrollBar1"));
  ScrollBar1->setAccessibleName(QStringLiteral("Report position"));
  page_ = new ReportPage(this, ScrollBar1);

  auto* body = new QHBoxLayout;
  body->setContentsMargins(0, 2, 0, 0);
  body->setSpacing(0);
  body->addWidget(page_, 1);
  body->addWidget(ScrollBar1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->setMenuBar(MainMenu1);
  layout->addLayout(body);
  setFocusPolicy(Qt::StrongFocus);

  connect(ScrollBar1, &QScrollBar::valueChanged, this, &TReportF::ScrollBar1Change);
  connect(mExit, &QAction::triggered, this, &QDialog::accept);
  connect(mPrint, &QAction::triggered, this, &TReportF::mPrintClick);
  connect(AsciiText1, &QAction::triggered, this,
          [] { reports::ExportReport(reports::ExportKind::kPlainText); });
  connect(TabDelimited1, &QAction::triggered, this,
          [] { reports::ExportReport(reports::ExportKind::kTabDelimited); });
  connect(PdfDocument1, &QAction::triggered, this,
          [] { reports::ExportReport(reports::ExportKind::kPdf); });
  connect(SendMail1, &QAction::triggered, this, [] { reports::MailReport(); });
}

void TReportF::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TReportF::FormShow() {
  setWindowState(windowState() | Qt::WindowMaximized);
  first_line_ = 0;
  SendMail1->setVisible(reports::CanMailReport());
  LayOut();
  ScrollBar1->setValue(0);
  setFocus();
}

void TReportF::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  LayOut();
}

void TReportF::LayOut() {
  platform::QtCanvas screen(page_, nullptr, ReportFont);
  layout_ = reports::LayoutPreview(
      screen, QSize(page_->width() + ScrollBar1->width(), page_->height()), ScrollBar1->width(), 0);
  ScrollBar1->setEnabled(layout_.scroll_enabled);
  ScrollBar1->setRange(0, layout_.scroll_max);
  ScrollBar1->setSingleStep(1);
  ScrollBar1->setPageStep(layout_.page_step);
  first_line_ = ScrollBar1->value();
  page_->update();
}

void TReportF::ScrollBar1Change(int position) {
  first_line_ = position;
  page_->update();
}

void TReportF::FormPaint(QPaintDevice* device) {
  QPainter painter(device);
  painter.fillRect(QRect(0, 0, device->width(), device->height()), Qt::white);
  platform::QtCanvas canvas(device, &painter, ReportFont);
  canvas.SetFontPoints(layout_.geometry.points);
  reports::PaintPreview(canvas, layout_.geometry, first_line_, layout_.vis_lines);
}

void TReportF::mPrintClick() { reports::PrintReport(); }

void TReportF::keyPressEvent(QKeyEvent* event) {
  static const std::pair<int, QAbstractSlider::SliderAction> kKeys[] = {
      {Qt::Key_Up, QAbstractSlider::SliderSingleStepSub},
      {Qt::Key_Down, QAbstractSlider::SliderSingleStepAdd},
      {Qt::Key_PageUp, QAbstractSlider::SliderPageStepSub},
      {Qt::Key_PageDown, QAbstractSlider::SliderPageStepAdd},
      {Qt::Key_Home, QAbstractSlider::SliderToMinimum},
      {Qt::Key_End, QAbstractSlider::SliderToMaximum},
  };
  for (const auto& [key, action] : kKeys) {
    if (event->key() == key && ScrollBar1->isEnabled()) {
      ScrollBar1->triggerAction(action);
      return;
    }
  }
  QDialog::keyPressEvent(event);
}

namespace reports {

void CreateReportWindows(QWidget* parent, platform::QtPlatform* qt_platform) {
  static bool created = false;
  if (created || qt_platform == nullptr) return;
  created = true;
  qt_platform->RegisterWindow(platform::WindowId::kReportF, new TReportF(parent));
  qt_platform->RegisterWindow(platform::WindowId::kDateSpan, new TDateSpan(parent));
}

}  // namespace reports
