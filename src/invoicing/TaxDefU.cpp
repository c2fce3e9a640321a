#include "invoicing/TaxDefU.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "invoicing/TaxDefEdit.h"
#include "masterdata/MasterDataWindows.h"
#include "platform/QtPlatform.h"
#include "util/EnterMovesOn.h"
#include "util/MoneyEdit.h"
#include "util/WindowKit.h"

using namespace invoicing;

namespace {

// The labels are stored in 30 characters.
constexpr int kLineLabelWidth = 30;

// A radio group: a frame with one choice per caption, the choices numbered
// from 0 in the button group (the item index).
QGroupBox* MakeRadioGroup(QWidget* parent, const char* name, const QString& title,
                          const QStringList& items, QButtonGroup** group) {
  auto* box = new QGroupBox(title, parent);
  box->setObjectName(QString::fromLatin1(name));
  *group = new QButtonGroup(box);
  auto* layout = new QVBoxLayout(box);
  for (int i = 0; i < items.size(); ++i) {
    auto* radio = new QRadioButton(items[i], box);
    radio->setObjectName(QStringLiteral("%1Item%2").arg(QString::fromLatin1(name)).arg(i));
    (*group)->addButton(radio, i);
    layout->addWidget(radio);
  }
  return box;
}

// Checks the button of `index` in an exclusive group, or none for -1.
void SetItemIndex(QButtonGroup* group, int index) {
  group->setExclusive(false);
  for (QAbstractButton* button : group->buttons()) button->setChecked(group->id(button) == index);
  group->setExclusive(true);
}

}  // namespace

TTaxDef::TTaxDef(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("TaxDef"));
  setWindowTitle(QStringLiteral("Tax Definition"));
  setProperty("helpContext", kHelpTaxDef);

  CreateControls();
  LayOutControls();

  EnterMovesOn::InstallOn(this);
  connect(BtnSave, &QPushButton::clicked, this, &TTaxDef::BtnSaveClick);
  connect(BtnCancel, &QPushButton::clicked, this, &TTaxDef::BtnCancelClick);
  masterdata::InstallHelp(this, BtnHelp, kHelpTaxDef);
}

void TTaxDef::CreateControls() {
  Edit1 = util::MakeEdit(this, "Edit1", QStringLiteral("Computed 1, Line Label"), kLineLabelWidth);
  Edit2 = util::MakeEdit(this, "Edit2", QStringLiteral("Computed 2, Line Label"), kLineLabelWidth);
  MaskEdit1 =
      util::MakeMoneyEdit(this, "MaskEdit1", QStringLiteral("Computed 1, Percentage"), 5, 2);
  MaskEdit2 =
      util::MakeMoneyEdit(this, "MaskEdit2", QStringLiteral("Computed 2, Percentage"), 5, 2);
  Edit1->setMinimumWidth(util::TextWidth(this, 16));
  Edit2->setMinimumWidth(util::TextWidth(this, 16));
  MaskEdit1->setFixedWidth(util::TextWidth(this, 6));
  MaskEdit2->setFixedWidth(util::TextWidth(this, 6));

  RadioGroup1 = MakeRadioGroup(
      this, "RadioGroup1", QStringLiteral("Tax 2 charged on Tax 1"),
      {QStringLiteral("No"), QStringLiteral("Yes"), QStringLiteral("When Tax on Items")},
      &RadioGroup1Items);
  RadioGroup2 = MakeRadioGroup(
      this, "RadioGroup2", QStringLiteral(" Round Computed Tax "),
      {QStringLiteral("Normal"), QStringLiteral("Up"), QStringLiteral("Down")}, &RadioGroup2Items);
  RadioGroup3 = new QGroupBox(QStringLiteral(" GST/VAT Tax is ?  "), this);
  RadioGroup3->setObjectName(QStringLiteral("RadioGroup3"));
  RadioButton1 = util::MakeRadio(RadioGroup3, "RadioButton1", QStringLiteral("Computed 1"));
  RadioButton2 = util::MakeRadio(RadioGroup3, "RadioButton2", QStringLiteral("Computed 2"));
  auto* gst = new QHBoxLayout(RadioGroup3);
  gst->addWidget(RadioButton1);
  gst->addWidget(RadioButton2);
  gst->addStretch();

  BtnSave = util::MakeButton(this, "BtnSave", QStringLiteral("Save"));
  BtnCancel = util::MakeButton(this, "BtnCancel", QStringLiteral("Cancel"));
  BtnHelp = util::MakeButton(this, "BtnHelp", QStringLiteral("Help"));
}

void TTaxDef::LayOutControls() {
  auto* lines = new QGridLayout;
  lines->addWidget(new QLabel(QStringLiteral("Line Label"), this), 0, 1);
  lines->addWidget(new QLabel(QStringLiteral("Percentage"), this), 0, 2);
  lines->addWidget(util::MakeLabel(this, QStringLiteral("Computed 1"), Edit1), 1, 0);
  lines->addWidget(Edit1, 1, 1);
  lines->addWidget(MaskEdit1, 1, 2);
  lines->addWidget(util::MakeLabel(this, QStringLiteral("Computed 2"), Edit2), 2, 0);
  lines->addWidget(Edit2, 2, 1);
  lines->addWidget(MaskEdit2, 2, 2);
  lines->setColumnStretch(1, 1);

  auto* choices = new QHBoxLayout;
  choices->addWidget(RadioGroup1);
  choices->addWidget(RadioGroup2);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(lines);
  layout->addLayout(choices);
  layout->addWidget(RadioGroup3);
  layout->addLayout(util::ButtonRow({BtnSave, BtnCancel, BtnHelp}));
}

void TTaxDef::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TTaxDef::FormShow() {
  const TaxForm f = OpenTaxDef();
  Edit1->setText(f.ship_line);
  Edit2->setText(f.tax_line);
  MaskEdit1->setText(f.rate1);
  MaskEdit2->setText(f.rate2);
  SetItemIndex(RadioGroup1Items, f.ship_tax_index);
  SetItemIndex(RadioGroup2Items, f.tax_round_index);
  // The two choice buttons share their frame; neither is ticked for 0.
  RadioButton1->setAutoExclusive(false);
  RadioButton2->setAutoExclusive(false);
  RadioButton1->setChecked(f.gst_field == 1);
  RadioButton2->setChecked(f.gst_field == 2);
  RadioButton1->setAutoExclusive(true);
  RadioButton2->setAutoExclusive(true);
  Edit1->setFocus();
}

void TTaxDef::BtnSaveClick() {
  TaxForm form;
  form.ship_line = Edit1->text();
  form.rate1 = MaskEdit1->text();
  form.tax_line = Edit2->text();
  form.rate2 = MaskEdit2->text();
  form.ship_tax_index = RadioGroup1Items->checkedId();
  form.tax_round_index = RadioGroup2Items->checkedId();
  form.gst_field = RadioButton1->isChecked() ? 1 : RadioButton2->isChecked() ? 2 : 0;
  if (SaveTaxDef(form)) accept();
}

void TTaxDef::BtnCancelClick() { reject(); }

namespace invoicing {

void CreateTaxDefWindow(QWidget* parent, platform::QtPlatform* qt_platform) {
  masterdata::CreateWindowOnce<TTaxDef>(parent, qt_platform, platform::WindowId::kTaxDef, false);
}

}  // namespace invoicing
