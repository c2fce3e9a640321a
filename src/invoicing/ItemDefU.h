#pragma once
// The line item dialog: product, description, unit price, quantity, the
// previewed line total, a comment and the two tax flags of one invoice line,
// with Save, Delete and Cancel. Filled from and read back into ItemForm;
// its outcome goes to ItemResult (InvoiceDocEntry.h).

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class MoneyEdit;

inline constexpr int kHelpItemDef = 1120;

class TItemDef final : public QDialog {
  Q_OBJECT

 public:
  explicit TItemDef(QWidget* parent = nullptr);

  QLineEdit* Edit1;      // product ID, read-only
  QLineEdit* Edit2;      // description
  MoneyEdit* MaskEdit1;  // unit price
  MoneyEdit* MaskEdit2;  // quantity
  MoneyEdit* MaskEdit3;  // line total, read-only
  QLineEdit* Edit3;      // comment
  QCheckBox* CheckBox1;  // computed line 1 applies
  QCheckBox* CheckBox2;  // computed line 2 applies
  QPushButton* BtnSave;
  QPushButton* BtnDelete;
  QPushButton* BtnCancel;
  QPushButton* BtnHelp;

  void FormShow();
  void BtnSaveClick();
  void BtnDeleteClick();
  void BtnCancelClick();
  void PreviewLineTotal();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void CreateControls();
  void LayOutControls();
};
