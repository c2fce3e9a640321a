#pragma once
// The label print dialog "Print Labels": the label stock, the column and row
// of the first label on the sheet with their arrows, OK and Cancel.

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace platform {
class QtPlatform;
}

class TLabPrint final : public QDialog {
  Q_OBJECT

 public:
  explicit TLabPrint(QWidget* parent = nullptr);

  QComboBox* ComboBox1;  // label stock
  QLineEdit* MaskEdit1;  // starting column, one digit
  QLineEdit* MaskEdit2;  // starting row, two digits
  // UpDown1: the column's left and right arrows; UpDown2: the row's up and
  // down arrows.
  QToolButton* UpDown1Left;
  QToolButton* UpDown1Right;
  QToolButton* UpDown2Up;
  QToolButton* UpDown2Down;
  QPushButton* BtnOK;
  QPushButton* BtnCancel;

  void FormShow();
  void ComboBox1Change();
  void UpDown1Click(bool right);
  void UpDown2Click(bool down);
  void MaskEdit1Exit();
  void MaskEdit2Exit();
  void BtnOKClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void CreateControls();
  void LayOutControls();
};

namespace labels {
// Creates TLabPrint once and registers it under its window id.
void CreateLabPrintWindow(QWidget* parent, platform::QtPlatform* qt_platform);
}  // namespace labels
