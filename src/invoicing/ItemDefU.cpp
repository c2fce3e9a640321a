#include "invoicing/ItemDefU.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "invoicing/InvoiceDocEntry.h"
#include "masterdata/MasterDataWindows.h"
#include "store/dbFiles.h"
#include "util/EnterMovesOn.h"
#include "util/MoneyEdit.h"
#include "util/WindowKit.h"

using namespace invoicing;

using util::MakeButton;
using util::MakeLabel;

TItemDef::TItemDef(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("ItemDef"));
  setWindowTitle(QStringLiteral("Invoice Line Item"));
  setProperty("helpContext", kHelpItemDef);

  CreateControls();
  LayOutControls();

  util::SetTabOrder(
      {Edit2, MaskEdit1, MaskEdit2, Edit3, CheckBox1, CheckBox2, BtnSave, BtnDelete, BtnCancel});

  EnterMovesOn::InstallOn(this);
  connect(MaskEdit1, &MoneyEdit::Left, this, &TItemDef::PreviewLineTotal);
  connect(MaskEdit2, &MoneyEdit::Left, this, &TItemDef::PreviewLineTotal);
  connect(BtnSave, &QPushButton::clicked, this, &TItemDef::BtnSaveClick);
  connect(BtnDelete, &QPushButton::clicked, this, &TItemDef::BtnDeleteClick);
  connect(BtnCancel, &QPushButton::clicked, this, &TItemDef::BtnCancelClick);
  masterdata::InstallHelp(this, BtnHelp, kHelpItemDef);
}

void TItemDef::CreateControls() {
  Edit1 = util::MakeEdit(this, "Edit1", QString());
  util::ShowOnly(Edit1);
  Edit2 = util::MakeEdit(this, "Edit2", QString(), 27);
  MaskEdit1 = util::MakeMoneyEdit(this, "MaskEdit1", QString(), 8, 2);
  MaskEdit2 = util::MakeMoneyEdit(this, "MaskEdit2", QString(), 9, 2);
  MaskEdit3 = util::MakeMoneyEdit(this, "MaskEdit3", QString(), 10, 2);
  util::ShowOnly(MaskEdit3);
  Edit3 = util::MakeEdit(this, "Edit3", QStringLiteral("Description, second line"), 27);
  CheckBox1 = util::MakeCheckBox(this, "CheckBox1", QStringLiteral("Computed 1"));
  CheckBox2 = util::MakeCheckBox(this, "CheckBox2", QStringLiteral("Computed 2"));
  BtnSave = MakeButton(this, "BtnSave", QStringLiteral("Save"));
  BtnDelete = MakeButton(this, "BtnDelete", QStringLiteral("Delete"));
  BtnCancel = MakeButton(this, "BtnCancel", QStringLiteral("Cancel"));
  BtnHelp = MakeButton(this, "BtnHelp", QStringLiteral("Help"));
  BtnHelp->setFocusPolicy(Qt::ClickFocus);

  const QChar digit = QLatin1Char('0');
  MaskEdit1->setFixedWidth(util::TextWidth(this, 8, digit) + 12);
  MaskEdit2->setFixedWidth(util::TextWidth(this, 9, digit) + 12);
  MaskEdit3->setFixedWidth(util::TextWidth(this, 10, digit) + 12);
  Edit1->setFixedWidth(10 * fontMetrics().averageCharWidth() + 12);
  Edit2->setMinimumWidth(24 * fontMetrics().averageCharWidth());
}

void TItemDef::LayOutControls() {
  auto* grid = new QGridLayout;
  grid->addWidget(MakeLabel(this, QStringLiteral("Product"), Edit1), 0, 0);
  grid->addWidget(MakeLabel(this, QStringLiteral("Description"), Edit2), 0, 1);
  grid->addWidget(MakeLabel(this, QStringLiteral("Unit Price"), MaskEdit1), 0, 2);
  grid->addWidget(MakeLabel(this, QStringLiteral("Quantity"), MaskEdit2), 0, 3);
  grid->addWidget(MakeLabel(this, QStringLiteral("Total"), MaskEdit3), 0, 4);
  grid->addWidget(Edit1, 1, 0);
  grid->addWidget(Edit2, 1, 1);
  grid->addWidget(MaskEdit1, 1, 2);
  grid->addWidget(MaskEdit2, 1, 3);
  grid->addWidget(MaskEdit3, 1, 4);
  grid->addWidget(Edit3, 2, 1);
  auto* flags = new QHBoxLayout;
  flags->addWidget(CheckBox1);
  flags->addWidget(CheckBox2);
  flags->addStretch();
  grid->addLayout(flags, 3, 1, 1, 4);
  grid->setColumnStretch(1, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addStretch();
  layout->addLayout(util::ButtonRow({BtnSave, BtnDelete, BtnCancel, BtnHelp}));
  resize(523, 155);
}

void TItemDef::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TItemDef::FormShow() {
  CheckBox1->setText(Settings.ShipLine.trimmed());
  CheckBox2->setText(Settings.TaxLine.trimmed());
  ItemResult = kResultCancel;
  // Texts come blank-padded from the tables; the padding is not shown, so
  // typing at the end of a text goes where the operator sees it.
  Edit1->setText(ItemForm.product.trimmed());
  Edit2->setText(ItemForm.description.trimmed());
  MaskEdit1->setText(ItemForm.price);
  MaskEdit2->setText(ItemForm.quantity);
  MaskEdit3->setText(ItemForm.total);
  Edit3->setText(ItemForm.comment.trimmed());
  for (QLineEdit* text : {Edit1, Edit2, Edit3}) text->setCursorPosition(0);
  CheckBox1->setChecked(ItemForm.tax1);
  CheckBox2->setChecked(ItemForm.tax2);
  Edit2->setFocus();
}

void TItemDef::PreviewLineTotal() {
  MaskEdit3->setText(invoicing::PreviewLineTotal(MaskEdit1->text(), MaskEdit2->text()));
}

void TItemDef::BtnSaveClick() {
  ItemForm.product = Edit1->text();
  ItemForm.description = Edit2->text();
  ItemForm.price = MaskEdit1->text();
  ItemForm.quantity = MaskEdit2->text();
  ItemForm.total = MaskEdit3->text();
  ItemForm.comment = Edit3->text();
  ItemForm.tax1 = CheckBox1->isChecked();
  ItemForm.tax2 = CheckBox2->isChecked();
  ItemResult = kResultSave;
  accept();
}

void TItemDef::BtnDeleteClick() {
  ItemResult = kResultDelete;
  accept();
}

void TItemDef::BtnCancelClick() {
  ItemResult = kResultCancel;
  reject();
}
