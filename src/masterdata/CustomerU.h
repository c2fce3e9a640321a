#pragma once
// The customer editor: every field of one customer, its group chosen through
// the group pick list, Save, Delete and Cancel.

#include <QDialog>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

class TCustomer final : public QDialog {
  Q_OBJECT

 public:
  explicit TCustomer(QWidget* parent = nullptr);

  QLineEdit* Edit1;  // customer number
  QLineEdit* Edit2;  // title
  QLineEdit* Edit3;  // first name
  QLineEdit* Edit4;  // last name
  QLineEdit* Edit5;  // company or first address line
  QLineEdit* Edit6;
  QLineEdit* Edit7;
  QLineEdit* Edit8;   // town
  QLineEdit* Edit9;   // postal code
  QLineEdit* Edit10;  // phone
  QLineEdit* Edit11;  // fax
  QLineEdit* Edit12;  // email
  QLineEdit* Edit13;  // note
  QLineEdit* Edit14;  // group name
  QPlainTextEdit* Memo1;
  QLabel* LabelAddr1;  // "Company" or "Address"
  QLabel* LabelAddr2;  // "Address", shown in company order only
  QPushButton* BtnGroup;
  QPushButton* BtnSave;
  QPushButton* BtnDelete;
  QPushButton* BtnCancel;
  QPushButton* BtnHelp;

  void FormShow();
  void BtnGroupClick();
  void BtnSaveClick();
  void BtnDeleteClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void CreateControls();
  void LayOutControls();
};
