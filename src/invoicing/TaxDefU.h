#pragma once
// The tax window "Tax Definition": label and percentage of the two computed
// lines, whether tax 2 is charged on tax 1, how computed tax is rounded, and
// which computed line is the GST/VAT tax; Save, Cancel, Help.

#include <QDialog>

class MoneyEdit;
class QButtonGroup;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace platform {
class QtPlatform;
}

class TTaxDef final : public QDialog {
  Q_OBJECT

 public:
  explicit TTaxDef(QWidget* parent = nullptr);

  QLineEdit* Edit1;        // label of computed line 1
  MoneyEdit* MaskEdit1;    // its percentage
  QLineEdit* Edit2;        // label of computed line 2
  MoneyEdit* MaskEdit2;    // its percentage
  QGroupBox* RadioGroup1;  // "Tax 2 charged on Tax 1"
  QButtonGroup* RadioGroup1Items;
  QGroupBox* RadioGroup2;  // " Round Computed Tax "
  QButtonGroup* RadioGroup2Items;
  QGroupBox* RadioGroup3;      // " GST/VAT Tax is ?  "
  QRadioButton* RadioButton1;  // "Computed 1"
  QRadioButton* RadioButton2;  // "Computed 2"
  QPushButton* BtnSave;
  QPushButton* BtnCancel;
  QPushButton* BtnHelp;

  void FormShow();
  void BtnSaveClick();
  void BtnCancelClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void CreateControls();
  void LayOutControls();
};

namespace invoicing {
// Creates TTaxDef once and registers it under its window id.
void CreateTaxDefWindow(QWidget* parent, platform::QtPlatform* qt_platform);
}  // namespace invoicing
