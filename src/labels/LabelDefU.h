#pragma once
// The label stock editor "Label Definition": the stock's name, its eight
// measures in printer points, the labels across and the continuous flag;
// Save, Cancel, Help.

#include <QDialog>

class MoneyEdit;
class QCheckBox;
class QLineEdit;
class QPushButton;

namespace platform {
class QtPlatform;
}

class TLabelDef final : public QDialog {
  Q_OBJECT

 public:
  explicit TLabelDef(QWidget* parent = nullptr);

  QLineEdit* Edit1;      // name
  MoneyEdit* MaskEdit1;  // top margin
  MoneyEdit* MaskEdit2;  // left margin
  MoneyEdit* MaskEdit3;  // bottom margin
  MoneyEdit* MaskEdit4;  // right margin
  MoneyEdit* MaskEdit5;  // width
  MoneyEdit* MaskEdit6;  // height
  MoneyEdit* MaskEdit7;  // horizontal gap
  MoneyEdit* MaskEdit8;  // vertical gap
  QLineEdit* MaskEdit9;  // labels across, one digit
  QCheckBox* CheckBox1;  // continuous pin feed
  QPushButton* BtnSave;
  QPushButton* BtnCancel;
  QPushButton* BtnHelp;

  void FormShow();
  void BtnSaveClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void CreateControls();
  void LayOutControls();
  MoneyEdit* Measure(int index) const;
};

namespace labels {
// Creates TLabelDef once, registers it under its window id and lets the
// label stock pick list offer New.
void CreateLabelDefWindow(QWidget* parent, platform::QtPlatform* qt_platform);
}  // namespace labels
