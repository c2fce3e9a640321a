#pragma once
// The date span window "DateSpan": the first and last day of a report's
// dates (or one date), OK and Cancel. It opens on SpanStart and SpanEnd with
// the captions in SpanCaptions (RptUtil.h) and leaves the chosen span and
// SpanCancelled there.

#include <QDialog>

class QDateEdit;
class QLabel;
class QPushButton;

class TDateSpan final : public QDialog {
  Q_OBJECT

 public:
  explicit TDateSpan(QWidget* parent = nullptr);

  QLabel* Label1;
  QDateEdit* DateTimePicker1;
  QLabel* Label2;
  QDateEdit* DateTimePicker2;
  QPushButton* BtnOK;
  QPushButton* BtnCancel;

  void FormShow();
  void BtnOKClick();
  void BtnCancelClick();

 protected:
  void showEvent(QShowEvent* event) override;
  // Escape and the close box cancel, as the Cancel button does.
  void reject() override;
};
