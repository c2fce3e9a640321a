#pragma once
// The painted first panel of the main window's status bar: a progress band
// drawn straight onto the panel as each percentage arrives, so what is shown is
// exactly the sequence of fills, like drawing on the panel's canvas.

#include <QImage>
#include <QWidget>

class ProgressPanel final : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kWidth = 110;

  explicit ProgressPanel(QWidget* parent = nullptr);

  // 1 to 100 fills x 5 to 5 + percent, y 3 to height - 1 in blue; 0 fills
  // x 5 to 105 of the same band in silver. Other values are clamped.
  void SetProgress(int percent);
  // The panel as drawn, for tests.
  const QImage& Canvas() const { return canvas_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Fill(const QRect& rect, const QColor& color);

  QImage canvas_;
};
