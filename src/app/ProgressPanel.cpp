#include "ProgressPanel.h"

#include <QPainter>
#include <QResizeEvent>
#include <algorithm>

ProgressPanel::ProgressPanel(QWidget* parent) : QWidget(parent) {
  setObjectName("ProgressPanel");
  setAccessibleName("Progress");
  setFixedWidth(kWidth);
  setMinimumHeight(18);
}

void ProgressPanel::SetProgress(int percent) {
  percent = std::clamp(percent, 0, 100);
  const int bottom = height() - 1;  // exclusive, as the band ends one pixel above the edge
  if (percent == 0) {
    Fill(QRect(QPoint(5, 3), QPoint(105 - 1, bottom - 1)), QColor(192, 192, 192));
  } else {
    Fill(QRect(QPoint(5, 3), QPoint(5 + percent - 1, bottom - 1)), QColor(0, 0, 255));
  }
}

void ProgressPanel::Fill(const QRect& rect, const QColor& color) {
  if (canvas_.size() != size()) {
    QImage grown(size(), QImage::Format_RGB32);
    grown.fill(palette().color(QPalette::Window));
    if (!canvas_.isNull()) {
      QPainter painter(&grown);
      painter.drawImage(0, 0, canvas_);
    }
    canvas_ = grown;
  }
  if (rect.isValid()) {
    QPainter painter(&canvas_);
    painter.fillRect(rect, color);
  }
  update();
}

void ProgressPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (canvas_.isNull()) {
    painter.fillRect(rect(), palette().color(QPalette::Window));
  } else {
    painter.drawImage(0, 0, canvas_);
  }
}

void ProgressPanel::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  // Keep what was drawn; the new area starts in the window colour.
  Fill(QRect(), QColor());
}
