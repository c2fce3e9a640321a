#include "labels/LabelDefU.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QVBoxLayout>

#include "labels/LabelDefEdit.h"
#include "masterdata/MasterDataWindows.h"
#include "masterdata/PickU.h"
#include "platform/QtPlatform.h"
#include "util/EnterMovesOn.h"
#include "util/MoneyEdit.h"
#include "util/WindowKit.h"

using namespace labels;

namespace {

constexpr const char* kMeasureLabels[kMeasureCount] = {
    "Top Margin", "Left Margin", "Bottom Margin",  "Right Margin",
    "Width",      "Height",      "Horizontal Gap", "Vertical Gap"};

}  // namespace

TLabelDef::TLabelDef(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("LabelDef"));
  setWindowTitle(QStringLiteral("Label Definition"));
  setProperty("helpContext", kHelpLabelDef);

  CreateControls();
  LayOutControls();

  EnterMovesOn::InstallOn(this);
  connect(BtnSave, &QPushButton::clicked, this, &TLabelDef::BtnSaveClick);
  connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
  masterdata::InstallHelp(this, BtnHelp, kHelpLabelDef);
}

void TLabelDef::CreateControls() {
  const int letter = util::TextWidth(this, 1);
  Edit1 = util::MakeEdit(this, "Edit1", QStringLiteral("Label Name"), 40);
  MoneyEdit** measures[kMeasureCount] = {&MaskEdit1, &MaskEdit2, &MaskEdit3, &MaskEdit4,
                                         &MaskEdit5, &MaskEdit6, &MaskEdit7, &MaskEdit8};
  for (int i = 0; i < kMeasureCount; ++i) {
    const QByteArray name = "MaskEdit" + QByteArray::number(i + 1);
    MoneyEdit* edit =
        util::MakeMoneyEdit(this, name.constData(), QString::fromLatin1(kMeasureLabels[i]), 8, 3);
    // Measures keep their colour whatever their sign.
    edit->SetRedWhenNegative(false);
    edit->setFixedWidth(8 * letter);
    *measures[i] = edit;
  }
  MaskEdit9 = util::MakeEdit(this, "MaskEdit9", QStringLiteral("No. Labels Across"), 1);
  MaskEdit9->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]?")), MaskEdit9));
  MaskEdit9->setFixedWidth(3 * letter);
  CheckBox1 = util::MakeCheckBox(this, "CheckBox1", QStringLiteral("Continuous Pin Feed"));

  BtnSave = util::MakeButton(this, "BtnSave", QStringLiteral("Save"));
  BtnCancel = util::MakeButton(this, "BtnCancel", QStringLiteral("Cancel"));
  BtnHelp = util::MakeButton(this, "BtnHelp", QStringLiteral("Help"));
}

void TLabelDef::LayOutControls() {
  const int letter = util::TextWidth(this, 1);
  auto* note =
      new QLabel(QStringLiteral("Label Dimensions are defined in printer points where each "
                                "printer point is 1/72 of an inch."),
                 this);
  note->setWordWrap(true);

  auto* name_row = new QHBoxLayout;
  name_row->addWidget(util::MakeLabel(this, QStringLiteral("Label Name"), Edit1));
  name_row->addWidget(Edit1, 1);

  // Two columns of measures: margins on the left, label size and gaps on
  // the right.
  auto* grid = new QGridLayout;
  for (int i = 0; i < kMeasureCount; ++i) {
    const int column = i < 4 ? 0 : 2;
    grid->addWidget(util::MakeLabel(this, QString::fromLatin1(kMeasureLabels[i]), Measure(i)),
                    i % 4, column);
    grid->addWidget(Measure(i), i % 4, column + 1);
  }
  grid->setColumnMinimumWidth(2, 10 * letter);
  grid->addWidget(util::MakeLabel(this, QStringLiteral("No. Labels Across"), MaskEdit9), 4, 0);
  grid->addWidget(MaskEdit9, 4, 1);
  grid->addWidget(CheckBox1, 4, 2, 1, 2);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(name_row);
  layout->addWidget(note);
  layout->addLayout(grid);
  layout->addLayout(util::ButtonRow({BtnSave, BtnCancel, BtnHelp}));
  resize(40 * letter, sizeHint().height());
}

MoneyEdit* TLabelDef::Measure(int index) const {
  MoneyEdit* const measures[kMeasureCount] = {MaskEdit1, MaskEdit2, MaskEdit3, MaskEdit4,
                                              MaskEdit5, MaskEdit6, MaskEdit7, MaskEdit8};
  return measures[index];
}

void TLabelDef::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TLabelDef::FormShow() {
  const LabelForm f = OpenLabelDef();
  Edit1->setText(f.name);
  for (int i = 0; i < kMeasureCount; ++i) Measure(i)->setText(f.measures[i]);
  MaskEdit9->setText(f.across);
  CheckBox1->setChecked(f.continuous);
  Edit1->setFocus();
}

void TLabelDef::BtnSaveClick() {
  LabelForm form;
  form.name = Edit1->text();
  for (int i = 0; i < kMeasureCount; ++i) form.measures[i] = Measure(i)->text();
  form.across = MaskEdit9->text();
  form.continuous = CheckBox1->isChecked();
  if (SaveLabelDef(form)) accept();
}

namespace labels {

void CreateLabelDefWindow(QWidget* parent, platform::QtPlatform* qt_platform) {
  masterdata::CreateWindowOnce<TLabelDef>(parent, qt_platform, platform::WindowId::kLabelDef, true);
}

}  // namespace labels
