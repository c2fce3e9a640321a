#include "reports/DateSpanU.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "reports/RptUtil.h"
#include "util/DateUtil.h"
#include "util/WindowKit.h"

TDateSpan::TDateSpan(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("DateSpan"));
  setWindowTitle(QStringLiteral("Date Span"));
  // The pickers are named by their labels, whose captions a report may change.
  DateTimePicker1 = util::MakeDateEdit(this, "DateTimePicker1", QString());
  DateTimePicker2 = util::MakeDateEdit(this, "DateTimePicker2", QString());
  Label1 = util::MakeLabel(this, SpanCaptions.first, DateTimePicker1);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label2 = util::MakeLabel(this, SpanCaptions.second, DateTimePicker2);
  Label2->setObjectName(QStringLiteral("Label2"));
  BtnOK = util::MakeButton(this, "BtnOK", QStringLiteral("OK"));
  BtnOK->setDefault(true);
  BtnCancel = util::MakeButton(this, "BtnCancel", QStringLiteral("Cancel"));

  auto* dates = new QGridLayout;
  dates->addWidget(Label1, 0, 0);
  dates->addWidget(DateTimePicker1, 0, 1);
  dates->addWidget(Label2, 1, 0);
  dates->addWidget(DateTimePicker2, 1, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(dates);
  layout->addLayout(util::ButtonRow({BtnOK, BtnCancel}));

  connect(BtnOK, &QPushButton::clicked, this, &TDateSpan::BtnOKClick);
  connect(BtnCancel, &QPushButton::clicked, this, &TDateSpan::BtnCancelClick);
}

void TDateSpan::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TDateSpan::FormShow() {
  Label1->setText(SpanCaptions.first);
  Label2->setText(SpanCaptions.second);
  Label2->setVisible(SpanCaptions.second_visible);
  DateTimePicker2->setVisible(SpanCaptions.second_visible);
  for (QDateEdit* picker : {DateTimePicker1, DateTimePicker2})
    picker->setDisplayFormat(ShortFormatWithFullYear());
  DateTimePicker1->setDate(ToQDate(SpanStart > 0 ? SpanStart : Today()));
  DateTimePicker2->setDate(ToQDate(SpanEnd > 0 ? SpanEnd : Today()));
  adjustSize();
  DateTimePicker1->setFocus();
  SpanCancelled = true;
}

void TDateSpan::BtnOKClick() {
  if (AcceptSpan(FromQDate(DateTimePicker1->date()), FromQDate(DateTimePicker2->date()),
                 !DateTimePicker2->isHidden())) {
    accept();
  }
}

void TDateSpan::BtnCancelClick() {
  CancelSpan(FromQDate(DateTimePicker1->date()), FromQDate(DateTimePicker2->date()));
  QDialog::reject();
}

void TDateSpan::reject() { BtnCancelClick(); }
