#pragma once
// The stationery window "Stationery Setup": logo file with its printed size,
// top margin, company name and address lines of the letterhead, closing and
// signature lines, and the justification; Save, Cancel, Help.

#include <QDialog>

class MoneyEdit;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace platform {
class QtPlatform;
}

class TStationary final : public QDialog {
  Q_OBJECT

 public:
  explicit TStationary(QWidget* parent = nullptr);

  QPushButton* BtnLogo;
  QLineEdit* Edit1;      // logo file
  MoneyEdit* MaskEdit1;  // top margin
  MoneyEdit* MaskEdit2;  // logo height
  MoneyEdit* MaskEdit3;  // logo width
  QLineEdit* Edit2;      // company
  QLineEdit* Edit3;      // address lines
  QLineEdit* Edit4;
  QLineEdit* Edit5;
  QLineEdit* Edit6;
  QLineEdit* Edit7;            // closing line
  QLineEdit* Edit8;            // signature line
  QGroupBox* GroupBox1;        // " Justification "
  QRadioButton* RadioButton1;  // Left
  QRadioButton* RadioButton2;  // Center
  QRadioButton* RadioButton3;  // Right
  QPushButton* BtnSave;
  QPushButton* BtnCancel;
  QPushButton* BtnHelp;

  void FormShow();
  void BtnLogoClick();
  void BtnSaveClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void CreateControls();
  void LayOutControls();
};

namespace masterdata {
// Creates TStationary once and registers it under its window id.
void CreateStationaryWindow(QWidget* parent, platform::QtPlatform* qt_platform);
}  // namespace masterdata
