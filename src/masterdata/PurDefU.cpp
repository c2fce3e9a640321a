#include "masterdata/PurDefU.h"

#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
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

using namespace masterdata;

namespace {

QLabel* MakeLabel(QWidget* parent, const QString& text, QWidget* buddy) {
  auto* label = new QLabel(text, parent);
  label->setBuddy(buddy);
  return label;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  return button;
}

// The locale's short date format with the year shown in full, so the date
// picked never depends on how a two-digit year would be read.
QString ShortFormatWithFullYear() {
  QString format = QLocale().dateFormat(QLocale::ShortFormat);
  if (!format.contains(QLatin1String("yyyy")))
    format.replace(QLatin1String("yy"), QStringLiteral("yyyy"));
  return format;
}

}  // namespace

TPurDef::TPurDef(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("PurDef"));
  setWindowTitle(QStringLiteral("Inventory Purchase Definition"));
  setProperty("helpContext", kHelpPurDef);

  BtnProduct = MakeButton(this, "BtnProduct", QStringLiteral("Product"));
  Edit1 = new QLineEdit(this);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Edit1->setMaxLength(10);
  Edit1->setReadOnly(true);
  Edit1->setFocusPolicy(Qt::NoFocus);
  Edit1->setAccessibleName(QStringLiteral("Product"));
  DateTimePicker1 = new QDateEdit(this);
  DateTimePicker1->setObjectName(QStringLiteral("DateTimePicker1"));
  DateTimePicker1->setCalendarPopup(true);
  DateTimePicker1->setDisplayFormat(ShortFormatWithFullYear());
  DateTimePicker1->setAccessibleName(QStringLiteral("Date Acquired"));
  MaskEdit2 = new MoneyEdit(10, 2, this);
  MaskEdit2->setObjectName(QStringLiteral("MaskEdit2"));
  MaskEdit2->setAccessibleName(QStringLiteral("Quantity"));
  MaskEdit3 = new MoneyEdit(12, 2, this);
  MaskEdit3->setObjectName(QStringLiteral("MaskEdit3"));
  MaskEdit3->setAccessibleName(QStringLiteral("Total Cost"));

  const int letter = fontMetrics().horizontalAdvance(QLatin1Char('M'));
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

  auto* buttons = ButtonRow({BtnSave, BtnDelete, BtnCancel, BtnHelp});
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(buttons);
  resize(34 * letter, sizeHint().height());

  setTabOrder(BtnProduct, DateTimePicker1);
  setTabOrder(DateTimePicker1, MaskEdit2);
  setTabOrder(MaskEdit2, MaskEdit3);
  setTabOrder(MaskEdit3, BtnSave);

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
