#pragma once
// The customer group editor: a group's number and name; deleting a group
// first moves its customers to another group.

#include <QDialog>

class QLineEdit;
class QPushButton;

class TGroupDef final : public QDialog {
  Q_OBJECT

 public:
  explicit TGroupDef(QWidget* parent = nullptr);

  QLineEdit* Edit1;  // group number
  QLineEdit* Edit2;  // group name
  QPushButton* BtnSave;
  QPushButton* BtnDelete;
  QPushButton* BtnCancel;

  void FormShow();
  void BtnSaveClick();
  void BtnDeleteClick();

 protected:
  void showEvent(QShowEvent* event) override;
};
