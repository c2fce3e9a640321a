#include "invoicing/PmtDefU.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "invoicing/InvoiceDocEntry.h"
#include "masterdata/MasterDataWindows.h"
#include "util/EnterMovesOn.h"
#include "util/MoneyEdit.h"

using namespace invoicing;

namespace {

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  return button;
}

}  // namespace

TPmtDef::TPmtDef(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("PmtDef"));
  setWindowTitle(QStringLiteral("Payment"));

  DateTimePicker1 = new QDateEdit(this);
  DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
  DateTimePicker1->setCalendarPopup(true);
  MaskEdit2 = new MoneyEdit(10, 2, this);
  MaskEdit2->setObjectName(QStringLiteral("MaskEdit2"));
  CheckBox1 = new QCheckBox(QStringLiteral("Includes GST"), this);
  CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
  MaskEdit1 = new MoneyEdit(10, 2, this);
  MaskEdit1->setObjectName(QStringLiteral("MaskEdit1"));
  MaskEdit1->setToolTip(QStringLiteral("Amount of tax included in the above payment"));
  Label3 = new QLabel(QStringLiteral("GST"), this);
  Label3->setObjectName(QStringLiteral("Label3"));
  Label3->setBuddy(MaskEdit1);
  BtnSave = MakeButton(this, "BtnSave", QStringLiteral("Save"));
  BtnDelete = MakeButton(this, "BtnDelete", QStringLiteral("Delete"));
  BtnCancel = MakeButton(this, "BtnCancel", QStringLiteral("Cancel"));

  const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
  MaskEdit1->setFixedWidth(11 * digit + 12);
  MaskEdit2->setFixedWidth(11 * digit + 12);

  auto* date_label = new QLabel(QStringLiteral("Date Paid:"), this);
  date_label->setBuddy(DateTimePicker1);
  auto* amount_label = new QLabel(QStringLiteral("Amount:"), this);
  amount_label->setBuddy(MaskEdit2);
  auto* form = new QFormLayout;
  form->addRow(date_label, DateTimePicker1);
  form->addRow(amount_label, MaskEdit2);
  form->addRow(QString(), CheckBox1);
  form->addRow(Label3, MaskEdit1);

  auto* buttons = masterdata::ButtonRow({BtnSave, BtnDelete, BtnCancel});
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addStretch();
  layout->addLayout(buttons);
  resize(329, 229);

  QWidget* order[] = {DateTimePicker1, MaskEdit2, CheckBox1, MaskEdit1,
                      BtnSave,         BtnDelete, BtnCancel};
  for (size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);

  EnterMovesOn::InstallOn(this);
  connect(MaskEdit2, &MoneyEdit::Left, this, &TPmtDef::ComputeIncludedGST);
  connect(CheckBox1, &QCheckBox::toggled, this, &TPmtDef::CheckBox1Click);
  connect(BtnSave, &QPushButton::clicked, this, &TPmtDef::BtnSaveClick);
  connect(BtnDelete, &QPushButton::clicked, this, &TPmtDef::BtnDeleteClick);
  connect(BtnCancel, &QPushButton::clicked, this, &TPmtDef::BtnCancelClick);
}

void TPmtDef::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TPmtDef::FormShow() {
  rate_ = GstRate();
  const QString label = GstLabel();
  CheckBox1->setText(label + QStringLiteral(" Included"));
  Label3->setText(label);
  MaskEdit1->setAccessibleName(label);
  PmtResult = kResultCancel;
  DateTimePicker1->setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat));
  DateTimePicker1->setDate(ToQDate(PmtForm.date).isValid() ? ToQDate(PmtForm.date) : TodayDate());
  MaskEdit2->setText(PmtForm.amount);
  {
    // Showing a stored payment keeps its GST amount as it was entered.
    const QSignalBlocker quiet(CheckBox1);
    CheckBox1->setChecked(PmtForm.includes_gst);
  }
  MaskEdit1->setText(PmtForm.gst);
  BtnDelete->setEnabled(PmtForm.delete_enabled);
  DateTimePicker1->setFocus();
}

void TPmtDef::CheckBox1Click() { ComputeIncludedGST(); }

void TPmtDef::ComputeIncludedGST() {
  if (const std::optional<QString> gst =
          invoicing::ComputeIncludedGST(rate_, MaskEdit2->text(), CheckBox1->isChecked())) {
    MaskEdit1->setText(*gst);
  }
}

void TPmtDef::BtnSaveClick() {
  PmtForm.date = FromQDate(DateTimePicker1->date());
  PmtForm.amount = MaskEdit2->text();
  PmtForm.gst = MaskEdit1->text();
  PmtForm.includes_gst = CheckBox1->isChecked();
  PmtResult = kResultSave;
  accept();
}

void TPmtDef::BtnDeleteClick() {
  PmtResult = kResultDelete;
  accept();
}

void TPmtDef::BtnCancelClick() {
  PmtResult = kResultCancel;
  reject();
}
