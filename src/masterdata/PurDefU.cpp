#include "masterdata/PurDefU.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "masterdata/MasterDataWindows.h"
#include "masterdata/PickU.h"
#include "masterdata/PurDefEdit.h"
#include "platform/QtPlatform.h"
#include "util/DateUtil.h"
#include "util/EnterMovesOn.h"
#include "util/MoneyEdit.h"
#include "util/WindowKit.h"

using namespace masterdata;
using util::MakeButton;
using util::MakeLabel;

TPurDef::TPurDef(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("PurDef"));
  setWindowTitle(QStringLiteral("Inventory Purchase Definition"));
  setProperty("helpContext", kHelpPurDef);

  BtnProduct = MakeButton(this, "BtnProduct", QStringLiteral("Product"));
  Edit1 = util::MakeEdit(this, "Edit1", QStringLiteral("Product"), 10);
  util::ShowOnly(Edit1);
  DateTimePicker1 = util::MakeDateEdit(this, "DateTimePicker1", QStringLiteral("Date Acquired"));
  DateTimePicker1->setDisplayFormat(ShortFormatWithFullYear());
  MaskEdit2 = util::MakeMoneyEdit(this, "MaskEdit2", QStringLiteral("Quantity"), 10, 2);
  MaskEdit3 = util::MakeMoneyEdit(this, "MaskEdit3", QStringLiteral("Total Cost"), 12, 2);

  const int letter = util::TextWidth(this, 1);
  Edit1->setFixedWidth(11 * letter);
  MaskEdit2->setFixedWidth(10 * letter);
  MaskEdit3->setFixedWidth(12 * letter);

  BtnSave = MakeButton(this, "BtnSave", QStringLiteral("Save"));
  BtnDelete = MakeButton(this, "BtnDelete", QStringLiteral("Delete"));
  BtnCancel = MakeButton(this, "BtnCancel", QStringLiteral("Cancel"));
  BtnHelp = MakeButton(this, "BtnHelp", QStringLiteral("Help"));

  auto* grid = new QGridLayout;
  grid->addWidget(BtnProduct, 0, 0);
  grid->addWidget(Edit1, 0, 1, Qt::AlignLeft);
  grid->addWidget(MakeLabel(this, QStringLiteral("Date Acquired"), DateTimePicker1), 1, 0);
  grid->addWidget(DateTimePicker1, 1, 1, Qt::AlignLeft);
  grid->addWidget(MakeLabel(this, QStringLiteral("Quantity"), MaskEdit2), 2, 0);
  grid->addWidget(MaskEdit2, 2, 1, Qt::AlignLeft);
  grid->addWidget(MakeLabel(this, QStringLiteral("Total Cost"), MaskEdit3), 3, 0);
  grid->addWidget(MaskEdit3, 3, 1, Qt::AlignLeft);
  grid->setColumnStretch(1, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(util::ButtonRow({BtnSave, BtnDelete, BtnCancel, BtnHelp}));
  resize(34 * letter, sizeHint().height());

  util::SetTabOrder({BtnProduct, DateTimePicker1, MaskEdit2, MaskEdit3, BtnSave});

  EnterMovesOn::InstallOn(this);
  connect(BtnProduct, &QPushButton::clicked, this, &TPurDef::BtnProductClick);
  connect(BtnSave, &QPushButton::clicked, this, &TPurDef::BtnSaveClick);
  connect(BtnDelete, &QPushButton::clicked, this, &TPurDef::BtnDeleteClick);
  connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
  InstallHelp(this, BtnHelp, kHelpPurDef);
}

void TPurDef::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TPurDef::FormShow() {
  const PurchaseOpening opening = OpenPurchaseEditor();
  BtnDelete->setEnabled(opening.delete_enabled);
  const PurchaseForm& f = opening.form;
  Edit1->setText(f.product_id);
  // A purchase stored without a date shows today, as the picker needs a date.
  DateTimePicker1->setDate(f.date > 0 ? ToQDate(f.date) : TodayDate());
  MaskEdit2->setText(f.quantity);
  MaskEdit3->setText(f.cost);
  BtnProduct->setFocus();
}

void TPurDef::BtnProductClick() {
  QString product_id;
  if (ChoosePurchaseProduct(&product_id)) Edit1->setText(product_id);
}

void TPurDef::BtnSaveClick() {
  PurchaseForm form;
  form.product_id = Edit1->text();
  form.date = FromQDate(DateTimePicker1->date());
  form.quantity = MaskEdit2->text();
  form.cost = MaskEdit3->text();
  if (SavePurchase(form)) accept();
}

void TPurDef::BtnDeleteClick() {
  DeletePurchase();
  accept();
}

namespace masterdata {

void CreatePurDefWindow(QWidget* parent, platform::QtPlatform* qt_platform) {
  CreateWindowOnce<TPurDef>(parent, qt_platform, platform::WindowId::kPurDef, true);
}

}  // namespace masterdata
