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

using namespace invoicing;

namespace {

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  return button;
}

QLabel* MakeLabel(QWidget* parent, const QString& text, QWidget* buddy) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(buddy);
  return label;
}

}  // namespace

TItemDef::TItemDef(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("ItemDef"));
  setWindowTitle(QStringLiteral("Invoice Line Item"));
  setProperty("helpContext", kHelpItemDef);

  Edit1 = new QLineEdit(this);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Edit1->setReadOnly(true);
  Edit1->setFocusPolicy(Qt::NoFocus);
  Edit2 = new QLineEdit(this);
  Edit2->setObjectName(QStringLiteral("Edit2"));
  Edit2->setMaxLength(27);
  MaskEdit1 = new MoneyEdit(8, 2, this);
  MaskEdit1->setObjectName(QStringLiteral("MaskEdit1"));
  MaskEdit2 = new MoneyEdit(9, 2, this);
  MaskEdit2->setObjectName(QStringLiteral("MaskEdit2"));
  MaskEdit3 = new MoneyEdit(10, 2, this);
  MaskEdit3->setObjectName(QStringLiteral("MaskEdit3"));
  MaskEdit3->setReadOnly(true);
  MaskEdit3->setFocusPolicy(Qt::NoFocus);
  Edit3 = new QLineEdit(this);
  Edit3->setObjectName(QStringLiteral("Edit3"));
  Edit3->setMaxLength(27);
  Edit3->setAccessibleName(QStringLiteral("Description, second line"));
  CheckBox1 = new QCheckBox(QStringLiteral("Computed 1"), this);
  CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
  CheckBox2 = new QCheckBox(QStringLiteral("Computed 2"), this);
  CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
  BtnSave = MakeButton(this, "BtnSave", QStringLiteral("Save"));
  BtnDelete = MakeButton(this, "BtnDelete", QStringLiteral("Delete"));
  BtnCancel = MakeButton(this, "BtnCancel", QStringLiteral("Cancel"));
  BtnHelp = MakeButton(this, "BtnHelp", QStringLiteral("Help"));
  BtnHelp->setFocusPolicy(Qt::ClickFocus);

  const int digit = fontMetrics().horizontalAdvance(QLatin1Char('0'));
  MaskEdit1->setFixedWidth(8 * digit + 12);
  MaskEdit2->setFixedWidth(9 * digit + 12);
  MaskEdit3->setFixedWidth(10 * digit + 12);
  Edit1->setFixedWidth(10 * fontMetrics().averageCharWidth() + 12);
  Edit2->setMinimumWidth(24 * fontMetrics().averageCharWidth());

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

  auto* buttons = masterdata::ButtonRow({BtnSave, BtnDelete, BtnCancel, BtnHelp});
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addStretch();
  layout->addLayout(buttons);
  resize(523, 155);

  QWidget* order[] = {Edit2, Edit3, CheckBox1, CheckBox2, BtnSave, BtnDelete, BtnCancel};
  setTabOrder(Edit2, MaskEdit1);
  setTabOrder(MaskEdit1, MaskEdit2);
  setTabOrder(MaskEdit2, Edit3);
  for (size_t i = 1; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);

  EnterMovesOn::InstallOn(this);
  connect(MaskEdit1, &MoneyEdit::Left, this, &TItemDef::PreviewLineTotal);
  connect(MaskEdit2, &MoneyEdit::Left, this, &TItemDef::PreviewLineTotal);
  connect(BtnSave, &QPushButton::clicked, this, &TItemDef::BtnSaveClick);
  connect(BtnDelete, &QPushButton::clicked, this, &TItemDef::BtnDeleteClick);
  connect(BtnCancel, &QPushButton::clicked, this, &TItemDef::BtnCancelClick);
  masterdata::InstallHelp(this, BtnHelp, kHelpItemDef);
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
