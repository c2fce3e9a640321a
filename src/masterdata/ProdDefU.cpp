#include "masterdata/ProdDefU.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "masterdata/MasterDataWindows.h"
#include "masterdata/PickU.h"
#include "masterdata/ProdDefEdit.h"
#include "platform/QtPlatform.h"
#include "util/EnterMovesOn.h"
#include "util/MoneyEdit.h"
#include "util/WindowKit.h"

using namespace masterdata;

using util::MakeButton;
using util::MakeEdit;
using util::MakeLabel;

TProdDef::TProdDef(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("ProdDef"));
  setWindowTitle(QStringLiteral("Product Definition"));
  setProperty("helpContext", kHelpProdDef);
  CreateControls();
  LayOutControls();

  EnterMovesOn::InstallOn(this);
  connect(BtnSave, &QPushButton::clicked, this, &TProdDef::BtnSaveClick);
  connect(BtnDelete, &QPushButton::clicked, this, &TProdDef::BtnDeleteClick);
  connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
  InstallHelp(this, BtnHelp, kHelpProdDef);
}

void TProdDef::CreateControls() {
  Edit1 = MakeEdit(this, "Edit1", QStringLiteral("Product ID"), 10);
  Edit2 = MakeEdit(this, "Edit2", QStringLiteral("Description"), 27);
  Edit3 = MakeEdit(this, "Edit3", QStringLiteral("Description, second line"), 27);
  MaskEdit1 = util::MakeMoneyEdit(this, "MaskEdit1", QStringLiteral("Unit Price"), 8, 2);
  CheckBox1 = util::MakeCheckBox(this, "CheckBox1", QString());
  CheckBox2 = util::MakeCheckBox(this, "CheckBox2", QString());
  CheckBox3 = util::MakeCheckBox(this, "CheckBox3", QStringLiteral("Inventory Item"));
  MaskEdit2 = util::MakeMoneyEdit(this, "MaskEdit2", QStringLiteral("Reorder Level:"), 9, 2);
  Edit4 = MakeEdit(this, "Edit4", QStringLiteral("License Code:"), 10);
  Memo1 = util::MakeMemo(this, "Memo1",
                         QStringLiteral("Product Text (Printed at the Bottom of Invoices)"));

  Edit1->setFixedWidth(util::TextWidth(this, 11));
  Edit4->setFixedWidth(util::TextWidth(this, 11));
  MaskEdit1->setFixedWidth(util::TextWidth(this, 8));
  MaskEdit2->setFixedWidth(util::TextWidth(this, 9));
  Memo1->setMinimumHeight(5 * fontMetrics().lineSpacing());

  BtnSave = MakeButton(this, "BtnSave", QStringLiteral("Save"));
  BtnDelete = MakeButton(this, "BtnDelete", QStringLiteral("Delete"));
  BtnCancel = MakeButton(this, "BtnCancel", QStringLiteral("Cancel"));
  BtnHelp = MakeButton(this, "BtnHelp", QStringLiteral("Help"));
}

void TProdDef::LayOutControls() {
  const int letter = util::TextWidth(this, 1);
  auto* grid = new QGridLayout;
  int row = 0;
  grid->addWidget(MakeLabel(this, QStringLiteral("Product ID"), Edit1), row, 0);
  grid->addWidget(Edit1, row++, 1, Qt::AlignLeft);
  grid->addWidget(MakeLabel(this, QStringLiteral("Description"), Edit2), row, 0);
  grid->addWidget(Edit2, row++, 1);
  grid->addWidget(Edit3, row++, 1);
  auto* price = new QHBoxLayout;
  price->addWidget(MaskEdit1);
  price->addSpacing(letter);
  price->addWidget(CheckBox1);
  price->addWidget(CheckBox2);
  price->addStretch();
  grid->addWidget(MakeLabel(this, QStringLiteral("Unit Price"), MaskEdit1), row, 0);
  grid->addLayout(price, row++, 1);
  auto* stock = new QHBoxLayout;
  stock->addWidget(CheckBox3);
  stock->addSpacing(letter);
  stock->addWidget(MakeLabel(this, QStringLiteral("Reorder Level:"), MaskEdit2));
  stock->addWidget(MaskEdit2);
  stock->addStretch();
  grid->addLayout(stock, row++, 1);
  grid->addWidget(MakeLabel(this, QStringLiteral("License Code:"), Edit4), row, 0);
  grid->addWidget(Edit4, row++, 1, Qt::AlignLeft);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addWidget(
      MakeLabel(this, QStringLiteral("Product Text (Printed at the Bottom of Invoices)"), Memo1));
  layout->addWidget(Memo1);
  layout->addLayout(util::ButtonRow({BtnSave, BtnDelete, BtnCancel, BtnHelp}));
  resize(38 * letter, sizeHint().height());
}

void TProdDef::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TProdDef::FormShow() {
  const ProductOpening opening = OpenProductEditor();
  BtnDelete->setEnabled(opening.delete_enabled);
  CheckBox1->setText(opening.tax1_caption);
  CheckBox1->setAccessibleName(opening.tax1_caption);
  CheckBox2->setText(opening.tax2_caption);
  CheckBox2->setAccessibleName(opening.tax2_caption);
  const ProductForm& f = opening.form;
  Edit1->setText(f.id);
  Edit2->setText(f.description);
  Edit3->setText(f.second_line);
  MaskEdit1->setText(f.price);
  MaskEdit2->setText(f.reorder);
  Edit4->setText(f.licence_code);
  Memo1->setPlainText(f.product_text);
  CheckBox1->setChecked(f.tax1);
  CheckBox2->setChecked(f.tax2);
  CheckBox3->setChecked(f.inventory);
  Edit1->setFocus();
}

void TProdDef::BtnSaveClick() {
  ProductForm form;
  form.id = Edit1->text();
  form.description = Edit2->text();
  form.second_line = Edit3->text();
  form.price = MaskEdit1->text();
  form.reorder = MaskEdit2->text();
  form.licence_code = Edit4->text();
  form.product_text = Memo1->toPlainText();
  form.tax1 = CheckBox1->isChecked();
  form.tax2 = CheckBox2->isChecked();
  form.inventory = CheckBox3->isChecked();
  if (SaveProduct(form)) accept();
}

void TProdDef::BtnDeleteClick() {
  DeleteProduct();
  accept();
}

namespace masterdata {

void CreateProdDefWindow(QWidget* parent, platform::QtPlatform* qt_platform) {
  CreateWindowOnce<TProdDef>(parent, qt_platform, platform::WindowId::kProdDef, true);
}

}  // namespace masterdata
