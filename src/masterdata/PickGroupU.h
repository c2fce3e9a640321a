#pragma once
// The customer group pick list: every group by name in a list box, with a
// search box that highlights the first group at or after the typed text.

#include <QDialog>

#include "masterdata/ListPicks.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
struct TAG4;

class TPickGroup final : public QDialog {
  Q_OBJECT

 public:
  explicit TPickGroup(QWidget* parent = nullptr);

  QListWidget* ListBox1;
  QLabel* Label1;
  QLineEdit* Edit1;
  QPushButton* BtnSelect;
  QPushButton* BtnNew;
  QPushButton* BtnCancel;

  void FormShow();
  void Edit1Change(const QString& text);
  void BtnSelectClick();
  void BtnNewClick();
  void BtnCancelClick();

 protected:
  void showEvent(QShowEvent* event) override;
  void done(int result) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Highlight(int index);

  masterdata::ListPick pick_;
  TAG4* previous_tag_ = nullptr;
};
