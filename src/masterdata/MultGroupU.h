#pragma once
// The multiple group choice: the operator marks one or more customer groups
// before a profile report, a mail-merge export or a label run.

#include <QDialog>

class QListWidget;
class QPushButton;

class TMultGroup final : public QDialog {
  Q_OBJECT

 public:
  explicit TMultGroup(QWidget* parent = nullptr);

  QListWidget* ListBox1;
  QPushButton* BtnAll;
  QPushButton* BtnRun;
  QPushButton* BtnCancel;

  void FormShow();
  void BtnAllClick();
  void BtnRunClick();
  void BtnCancelClick();

 protected:
  void showEvent(QShowEvent* event) override;
};
