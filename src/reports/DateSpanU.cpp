#include "reports/DateSpanU.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "reports/RptUtil.h"
#include "util/DateUtil.h"

namespace {

// The locale's short date with the year in full, so no century is guessed.
QString DateFormat() {
  QString format = QLocale().dateFormat(QLocale::ShortFormat);
  if (!format.contains(QLatin1String("yyyy"))) {
    format.replace(QLatin1String("yy"), QStringLiteral("yyyy"));
  }
  return format;
}

QDateEdit* MakePicker(QWidget* parent, const char* name) {
  auto* picker = new QDateEdit(parent);
  picker->setObjectName(QString::fromLatin1(name));
  picker->setCalendarPopup(true);
  return picker;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  return button;
}

}  // namespace

TDateSpan::TDateSpan(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("DateSpan"));
  setWindowTitle(QStringLiteral("Date Span"));
  DateTimePicker1 = MakePicker(this, "DateTimePicker1");
  DateTimePicker2 = MakePicker(this, "DateTimePicker2");
  Label1 = new QLabel(this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setBuddy(DateTimePicker1);
  Label2 = new QLabel(this);
  Label2->setObjectName(QStringLiteral("Label2"));
  Label2->setBuddy(DateTimePicker2);
  BtnOK = MakeButton(this, "BtnOK", QStringLiteral("OK"));
  BtnOK->setDefault(true);
  BtnCancel = MakeButton(this, "BtnCancel", QStringLiteral("Cancel"));

  auto* dates = new QGridLayout;
  dates->addWidget(Label1, 0, 0);
  dates->addWidget(DateTimePicker1, 0, 1);
  dates->addWidget(Label2, 1, 0);
  dates->addWidget(DateTimePicker2, 1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(BtnOK);
  buttons->addWidget(BtnCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(dates);
  layout->addLayout(buttons);

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
  DateTimePicker1->setAccessibleName(SpanCaptions.first);
  DateTimePicker2->setAccessibleName(SpanCaptions.second);
  for (QDateEdit* picker : {DateTimePicker1, DateTimePicker2}) picker->setDisplayFormat(DateFormat());
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
