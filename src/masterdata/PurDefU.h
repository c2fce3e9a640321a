#pragma once
// The purchase editor "Inventory Purchase Definition": the product bought
// (chosen with the "Product" button), the date acquired, the quantity and
// its total cost; Save, Delete, Cancel, Help.

#include <QDialog>

class MoneyEdit;
class QDateEdit;
class QLineEdit;
class QPushButton;

namespace platform {
class QtPlatform;
}

class TPurDef final : public QDialog {
  Q_OBJECT

 public:
  explicit TPurDef(QWidget* parent = nullptr);

  QPushButton* BtnProduct;
  QLineEdit* Edit1;            // product ID, read-only
  QDateEdit* DateTimePicker1;  // date acquired
  MoneyEdit* MaskEdit2;        // quantity
  MoneyEdit* MaskEdit3;        // total cost
  QPushButton* BtnSave;
  QPushButton* BtnDelete;
  QPushButton* BtnCancel;
  QPushButton* BtnHelp;

  void FormShow();
  void BtnProductClick();
  void BtnSaveClick();
  void BtnDeleteClick();

 protected:
  void showEvent(QShowEvent* event) override;
};

namespace masterdata {
// Creates TPurDef once, registers it under its window id and lets the
// purchase pick list offer New.
void CreatePurDefWindow(QWidget* parent, platform::QtPlatform* qt_platform);
}  // namespace masterdata
