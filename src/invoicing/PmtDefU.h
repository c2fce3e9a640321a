#pragma once
// The payment dialog: the date and amount of one payment, whether it
// includes GST/VAT and how much, with Save, Delete and Cancel. Filled from
// and read back into PmtForm; its outcome goes to PmtResult
// (InvoiceDocEntry.h).

#include <QDialog>

class QCheckBox;
class QDateEdit;
class QLabel;
class QPushButton;
class MoneyEdit;

class TPmtDef final : public QDialog {
  Q_OBJECT

 public:
  explicit TPmtDef(QWidget* parent = nullptr);

  QDateEdit* DateTimePicker1;
  MoneyEdit* MaskEdit2;  // amount
  QCheckBox* CheckBox1;  // the amount includes GST/VAT
  QLabel* Label3;        // the GST/VAT line's label
  MoneyEdit* MaskEdit1;  // GST/VAT included
  QPushButton* BtnSave;
  QPushButton* BtnDelete;
  QPushButton* BtnCancel;

  void FormShow();
  void BtnSaveClick();
  void BtnDeleteClick();
  void BtnCancelClick();
  void CheckBox1Click();
  void ComputeIncludedGST();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  double rate_ = 0;  // the GST/VAT rate chosen when the dialog opened
};
