#pragma once
// The label stock pick list: every label stock by name in a list box.

#include <QDialog>

#include "masterdata/ListPicks.h"

class QListWidget;
class QPushButton;

class TPickLab final : public QDialog {
  Q_OBJECT

 public:
  explicit TPickLab(QWidget* parent = nullptr);

  QListWidget* ListBox1;
  QPushButton* BtnSelect;
  QPushButton* BtnNew;
  QPushButton* BtnCancel;

  void FormShow();
  void BtnSelectClick();
  void BtnNewClick();
  void BtnCancelClick();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  masterdata::ListPick pick_;
};
