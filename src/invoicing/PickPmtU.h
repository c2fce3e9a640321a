#pragma once
// The payment list of the invoice being edited: date and amount of each
// payment; Select (or a double click) edits the highlighted payment in the
// payment dialog and closes the list.

#include <QDialog>

class QPushButton;
class QTableWidget;

class TPickPmt final : public QDialog {
  Q_OBJECT

 public:
  explicit TPickPmt(QWidget* parent = nullptr);

  QTableWidget* StringGrid1;
  QPushButton* BtnSelect;
  QPushButton* BtnCancel;

  void FormShow();
  void BtnSelectClick();
  void StringGrid1DblClick();
  void BtnCancelClick();
  void EditPayment();

 protected:
  void showEvent(QShowEvent* event) override;
};
