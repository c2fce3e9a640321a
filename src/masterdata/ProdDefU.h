#pragma once
// The product editor "Product Definition": ID, two description lines, unit
// price, the two sales tax boxes, inventory flag and reorder level, licence
// code and the product text printed on invoices; Save, Delete, Cancel, Help.

#include <QDialog>

class MoneyEdit;
class QCheckBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace platform {
class QtPlatform;
}

class TProdDef final : public QDialog {
  Q_OBJECT

 public:
  explicit TProdDef(QWidget* parent = nullptr);

  QLineEdit* Edit1;       // product ID
  QLineEdit* Edit2;       // description
  QLineEdit* Edit3;       // description, second line
  MoneyEdit* MaskEdit1;   // unit price
  QCheckBox* CheckBox1;   // first sales tax
  QCheckBox* CheckBox2;   // second sales tax
  QCheckBox* CheckBox3;   // inventory item
  MoneyEdit* MaskEdit2;   // reorder level
  QLineEdit* Edit4;       // licence code
  QPlainTextEdit* Memo1;  // product text
  QPushButton* BtnSave;
  QPushButton* BtnDelete;
  QPushButton* BtnCancel;
  QPushButton* BtnHelp;

  void FormShow();
  void BtnSaveClick();
  void BtnDeleteClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void CreateControls();
  void LayOutControls();
};

namespace masterdata {
// Creates TProdDef once, registers it under its window id and lets the
// product pick lists offer New.
void CreateProdDefWindow(QWidget* parent, platform::QtPlatform* qt_platform);
}  // namespace masterdata
