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
#include "util/WindowKit.h"

using namespace invoicing;

using util::MakeButton;
using util::MakeLabel;

TPmtDef::TPmtDef(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("PmtDef"));
  setWindowTitle(QStringLiteral("Payment"));

  DateTimePicker1 = util::MakeDateEdit(this, "DateTimePicker1", QString());
  MaskEdit2 = util::MakeMoneyEdit(this, "MaskEdit2", QString(), 10, 2);
  CheckBox1 = util::MakeCheckBox(this, "CheckBox1", QStringLiteral("Includes GST"));
  MaskEdit1 = util::MakeMoneyEdit(this, "MaskEdit1", QString(), 10, 2);
  MaskEdit1->setToolTip(QStringLiteral("Amount of tax included in the above payment"));
  Label3 = MakeLabel(this, QStringLiteral("GST"), MaskEdit1);
  Label3->setObjectName(QStringLiteral("Label3"));
  BtnSave = MakeButton(this, "BtnSave", QStringLiteral("Save"));
  BtnDelete = MakeButton(this, "BtnDelete", QStringLiteral("Delete"));
  BtnCancel = MakeButton(this, "BtnCancel", QStringLiteral("Cancel"));

  const int amount_width = util::TextWidth(this, 11, QLatin1Char('0')) + 12;
  MaskEdit1->setFixedWidth(amount_width);
  MaskEdit2->setFixedWidth(amount_width);

  auto* form = new QFormLayout;
  form->addRow(MakeLabel(this, QStringLiteral("Date Paid:"), DateTimePicker1), DateTimePicker1);
  form->addRow(MakeLabel(this, QStringLiteral("Amount:"), MaskEdit2), MaskEdit2);
  form->addRow(QString(), CheckBox1);
  form->addRow(Label3, MaskEdit1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addStretch();
  layout->addLayout(util::ButtonRow({BtnSave, BtnDelete, BtnCancel}));
  resize(329, 229);

  util::SetTabOrder(
      {DateTimePicker1, MaskEdit2, CheckBox1, MaskEdit1, BtnSave, BtnDelete, BtnCancel});

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
