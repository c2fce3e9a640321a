#include "masterdata/StationaryU.h"

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

#include "masterdata/MasterDataWindows.h"
#include "masterdata/StationaryEdit.h"
#include "platform/QtPlatform.h"
#include "util/EnterMovesOn.h"
#include "util/MoneyEdit.h"
#include "util/WindowKit.h"

using namespace masterdata;

namespace {

using util::MakeButton;
using util::MakeEdit;
using util::MakeLabel;

// A measure in inches: five characters with two decimals.
MoneyEdit* MakeMeasure(QWidget* parent, const char* name, const QString& accessible) {
  MoneyEdit* edit = util::MakeMoneyEdit(parent, name, accessible, 5, 2);
  edit->setFixedWidth(util::TextWidth(parent, 6));
  return edit;
}

}  // namespace

TStationary::TStationary(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Stationary"));
  setWindowTitle(QStringLiteral("Stationery Setup"));
  setProperty("helpContext", kHelpStationary);
  CreateControls();
  LayOutControls();

  EnterMovesOn::InstallOn(this);
  connect(BtnLogo, &QPushButton::clicked, this, &TStationary::BtnLogoClick);
  connect(BtnSave, &QPushButton::clicked, this, &TStationary::BtnSaveClick);
  connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
  InstallHelp(this, BtnHelp, kHelpStationary);
}

void TStationary::CreateControls() {
  BtnLogo = MakeButton(this, "BtnLogo", QStringLiteral("Logo File"));
  Edit1 = MakeEdit(this, "Edit1", QStringLiteral("Logo File"), kLogoPathWidth);
  MaskEdit1 = MakeMeasure(this, "MaskEdit1", QStringLiteral("Top Margin:"));
  MaskEdit2 = MakeMeasure(this, "MaskEdit2", QStringLiteral("Logo Height:"));
  MaskEdit3 = MakeMeasure(this, "MaskEdit3", QStringLiteral("Width:"));
  // Only the top margin shows a minus sign in red.
  MaskEdit2->SetRedWhenNegative(false);
  MaskEdit3->SetRedWhenNegative(false);
  Edit2 = MakeEdit(this, "Edit2", QStringLiteral("Company Name:"), 35);
  Edit3 = MakeEdit(this, "Edit3", QStringLiteral("Address:"), 35);
  Edit4 = MakeEdit(this, "Edit4", QStringLiteral("Address, second line"), 35);
  Edit5 = MakeEdit(this, "Edit5", QStringLiteral("Address, third line"), 35);
  Edit6 = MakeEdit(this, "Edit6", QStringLiteral("Address, fourth line"), 25);
  Edit7 = MakeEdit(this, "Edit7", QStringLiteral("Closing Line:"), 25);
  Edit8 = MakeEdit(this, "Edit8", QStringLiteral("Signature Line:"), 0);

  GroupBox1 = new QGroupBox(QStringLiteral(" Justification "), this);
  GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
  RadioButton1 = util::MakeRadio(GroupBox1, "RadioButton1", QStringLiteral("Left"));
  RadioButton2 = util::MakeRadio(GroupBox1, "RadioButton2", QStringLiteral("Center"));
  RadioButton3 = util::MakeRadio(GroupBox1, "RadioButton3", QStringLiteral("Right"));
  auto* justify = new QVBoxLayout(GroupBox1);
  for (QRadioButton* radio : {RadioButton1, RadioButton2, RadioButton3}) justify->addWidget(radio);

  BtnSave = MakeButton(this, "BtnSave", QStringLiteral("Save"));
  BtnCancel = MakeButton(this, "BtnCancel", QStringLiteral("Cancel"));
  BtnHelp = MakeButton(this, "BtnHelp", QStringLiteral("Help"));
}

void TStationary::LayOutControls() {
  const int letter = fontMetrics().horizontalAdvance(QLatin1Char('M'));
  auto* grid = new QGridLayout;
  int row = 0;
  grid->addWidget(BtnLogo, row, 0);
  grid->addWidget(Edit1, row++, 1);
  auto* logo_size = new QHBoxLayout;
  logo_size->addWidget(MaskEdit2);
  logo_size->addWidget(MakeLabel(this, QStringLiteral("Width:"), MaskEdit3));
  logo_size->addWidget(MaskEdit3);
  logo_size->addWidget(new QLabel(QStringLiteral("Inches"), this));
  logo_size->addStretch();
  grid->addWidget(MakeLabel(this, QStringLiteral("Logo Height:"), MaskEdit2), row, 0);
  grid->addLayout(logo_size, row++, 1);
  auto* margin = new QHBoxLayout;
  margin->addWidget(MaskEdit1);
  margin->addWidget(new QLabel(QStringLiteral("Inches"), this));
  margin->addStretch();
  grid->addWidget(MakeLabel(this, QStringLiteral("Top Margin:"), MaskEdit1), row, 0);
  grid->addLayout(margin, row++, 1);
  grid->addWidget(MakeLabel(this, QStringLiteral("Company Name:"), Edit2), row, 0);
  grid->addWidget(Edit2, row++, 1);
  grid->addWidget(MakeLabel(this, QStringLiteral("Address:"), Edit3), row, 0);
  grid->addWidget(Edit3, row++, 1);
  grid->addWidget(Edit4, row++, 1);
  grid->addWidget(Edit5, row++, 1);
  grid->addWidget(Edit6, row++, 1);
  grid->addWidget(MakeLabel(this, QStringLiteral("Closing Line:"), Edit7), row, 0);
  grid->addWidget(Edit7, row++, 1);
  grid->addWidget(MakeLabel(this, QStringLiteral("Signature Line:"), Edit8), row, 0);
  grid->addWidget(Edit8, row++, 1);

  auto* body = new QHBoxLayout;
  body->addLayout(grid, 1);
  auto* side = new QVBoxLayout;
  side->addWidget(GroupBox1);
  side->addStretch();
  body->addLayout(side);
  auto* buttons = util::ButtonRow({BtnSave, BtnCancel, BtnHelp});
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body);
  layout->addLayout(buttons);
  resize(46 * letter, sizeHint().height());
}

void TStationary::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TStationary::FormShow() {
  const StationeryForm f = OpenStationery();
  MaskEdit1->setText(f.top_margin);
  MaskEdit2->setText(f.logo_height);
  MaskEdit3->setText(f.logo_width);
  Edit1->setText(f.logo_file);
  Edit2->setText(f.company);
  Edit3->setText(f.addr1);
  Edit4->setText(f.addr2);
  Edit5->setText(f.addr3);
  Edit6->setText(f.addr4);
  Edit7->setText(f.closing);
  Edit8->setText(f.signature);
  RadioButton1->setChecked(true);
  if (f.justify == 2) RadioButton2->setChecked(true);
  if (f.justify == 3) RadioButton3->setChecked(true);
}

void TStationary::BtnLogoClick() { Edit1->setText(ChooseLogoFile(Edit1->text())); }

void TStationary::BtnSaveClick() {
  StationeryForm form;
  form.logo_file = Edit1->text();
  form.top_margin = MaskEdit1->text();
  form.logo_height = MaskEdit2->text();
  form.logo_width = MaskEdit3->text();
  form.company = Edit2->text();
  form.addr1 = Edit3->text();
  form.addr2 = Edit4->text();
  form.addr3 = Edit5->text();
  form.addr4 = Edit6->text();
  form.closing = Edit7->text();
  form.signature = Edit8->text();
  form.justify = RadioButton2->isChecked() ? 2 : RadioButton3->isChecked() ? 3 : 1;
  if (SaveStationery(form)) accept();
}

namespace masterdata {

void CreateStationaryWindow(QWidget* parent, platform::QtPlatform* qt_platform) {
  CreateWindowOnce<TStationary>(parent, qt_platform, platform::WindowId::kStationary, false);
}

}  // namespace masterdata
