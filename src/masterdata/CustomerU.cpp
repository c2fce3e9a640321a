#include "masterdata/CustomerU.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "masterdata/CustomerEdit.h"
#include "masterdata/MasterDataWindows.h"
#include "store/dbFiles.h"
#include "util/EnterMovesOn.h"
#include "util/TextUtil.h"
#include "util/WindowKit.h"

using namespace masterdata;

using util::MakeButton;
using util::MakeEdit;
using util::MakeLabel;

TCustomer::TCustomer(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Customer"));
  setWindowTitle(QStringLiteral("Customer"));
  setProperty("helpContext", kHelpCustomer);
  CreateControls();
  LayOutControls();

  EnterMovesOn::InstallOn(this);
  connect(BtnGroup, &QPushButton::clicked, this, &TCustomer::BtnGroupClick);
  connect(BtnSave, &QPushButton::clicked, this, &TCustomer::BtnSaveClick);
  connect(BtnDelete, &QPushButton::clicked, this, &TCustomer::BtnDeleteClick);
  connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
  InstallHelp(this, BtnHelp, kHelpCustomer);
}

void TCustomer::CreateControls() {
  Edit1 = MakeEdit(this, "Edit1", QStringLiteral("Customer No."), 6);
  util::ShowOnly(Edit1);
  Edit2 = MakeEdit(this, "Edit2", QStringLiteral("Name, title"), 3);
  Edit3 = MakeEdit(this, "Edit3", QStringLiteral("Name, first"), 13);
  Edit4 = MakeEdit(this, "Edit4", QStringLiteral("Name, last"), 20);
  Edit5 = MakeEdit(this, "Edit5", QStringLiteral("Address"), 34);
  Edit6 = MakeEdit(this, "Edit6", QStringLiteral("Address, second line"), 34);
  Edit7 = MakeEdit(this, "Edit7", QStringLiteral("Address, third line"), 34);
  Edit8 = MakeEdit(this, "Edit8", QStringLiteral("Address, last line"), 19);
  Edit9 = MakeEdit(this, "Edit9", QStringLiteral("Postal Code"), 10);
  Edit10 = MakeEdit(this, "Edit10", QStringLiteral("Phone"), 20);
  Edit11 = MakeEdit(this, "Edit11", QStringLiteral("Fax"), 20);
  Edit12 = MakeEdit(this, "Edit12", QStringLiteral("Email"), 60);
  Edit13 = MakeEdit(this, "Edit13", QStringLiteral("Note"), 34);
  Edit14 = MakeEdit(this, "Edit14", QStringLiteral("Group"), 20);
  util::ShowOnly(Edit14);
  Memo1 = util::MakeMemo(this, "Memo1", QStringLiteral("Comments"));

  Edit1->setFixedWidth(util::TextWidth(this, 8));
  Edit2->setFixedWidth(util::TextWidth(this, 4));
  Edit9->setFixedWidth(util::TextWidth(this, 10));

  BtnGroup = MakeButton(this, "BtnGroup", QStringLiteral("Group"));
  BtnSave = MakeButton(this, "BtnSave", QStringLiteral("Save"));
  BtnDelete = MakeButton(this, "BtnDelete", QStringLiteral("Delete"));
  BtnCancel = MakeButton(this, "BtnCancel", QStringLiteral("Cancel"));
  BtnHelp = MakeButton(this, "BtnHelp", QStringLiteral("Help"));

  LabelAddr1 = MakeLabel(this, QStringLiteral("Address"), Edit5);
  LabelAddr2 = MakeLabel(this, QStringLiteral("Address"), Edit6);
}

void TCustomer::LayOutControls() {
  auto* grid = new QGridLayout;
  int row = 0;
  grid->addWidget(MakeLabel(this, QStringLiteral("Customer No."), Edit1), row, 0);
  grid->addWidget(Edit1, row++, 1, Qt::AlignLeft);
  auto* name = new QHBoxLayout;
  name->addWidget(Edit2);
  name->addWidget(Edit3, 13);
  name->addWidget(Edit4, 20);
  grid->addWidget(MakeLabel(this, QStringLiteral("Name"), Edit2), row, 0);
  grid->addLayout(name, row++, 1);
  grid->addWidget(LabelAddr1, row, 0);
  grid->addWidget(Edit5, row++, 1);
  grid->addWidget(LabelAddr2, row, 0);
  grid->addWidget(Edit6, row++, 1);
  grid->addWidget(Edit7, row++, 1);
  auto* town = new QHBoxLayout;
  town->addWidget(Edit8, 1);
  town->addWidget(MakeLabel(this, QStringLiteral("Postal Code"), Edit9));
  town->addWidget(Edit9);
  grid->addLayout(town, row++, 1);
  auto* phones = new QHBoxLayout;
  phones->addWidget(Edit10, 1);
  phones->addWidget(MakeLabel(this, QStringLiteral("Fax"), Edit11));
  phones->addWidget(Edit11, 1);
  grid->addWidget(MakeLabel(this, QStringLiteral("Phone"), Edit10), row, 0);
  grid->addLayout(phones, row++, 1);
  grid->addWidget(MakeLabel(this, QStringLiteral("Email"), Edit12), row, 0);
  grid->addWidget(Edit12, row++, 1);
  grid->addWidget(MakeLabel(this, QStringLiteral("Note"), Edit13), row, 0);
  grid->addWidget(Edit13, row++, 1);
  grid->addWidget(BtnGroup, row, 0);
  grid->addWidget(Edit14, row++, 1);
  grid->addWidget(MakeLabel(this, QStringLiteral("Comments"), Memo1), row, 0, Qt::AlignTop);
  grid->addWidget(Memo1, row++, 1);

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(util::ButtonRow({BtnSave, BtnDelete, BtnCancel, BtnHelp}));
  resize(util::TextWidth(this, 40), sizeHint().height());
}

void TCustomer::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TCustomer::FormShow() {
  const bool by_company = !Settings.ByCust;
  LabelAddr1->setText(by_company ? QStringLiteral("Company") : QStringLiteral("Address"));
  Edit5->setAccessibleName(LabelAddr1->text());
  LabelAddr2->setVisible(by_company);
  const CustomerOpening opening = OpenCustomerEditor();
  BtnDelete->setEnabled(opening.delete_enabled);
  const CustomerForm& f = opening.form;
  Edit1->setText(PadNumber(CustRec.cuno, 6));
  Edit2->setText(f.title);
  Edit3->setText(f.first);
  Edit4->setText(f.last);
  Edit5->setText(f.addr1);
  Edit6->setText(f.addr2);
  Edit7->setText(f.addr3);
  Edit8->setText(f.addr4);
  Edit9->setText(f.zip);
  Edit10->setText(f.phone);
  Edit11->setText(f.fax);
  Edit12->setText(f.email);
  Edit13->setText(f.note);
  Memo1->setPlainText(f.comments);
  Edit14->setText(opening.group_name);
  Edit2->setFocus();
}

void TCustomer::BtnGroupClick() {
  QString group_name;
  if (ChooseCustomerGroup(&group_name)) Edit14->setText(group_name);
}

void TCustomer::BtnSaveClick() {
  const CustomerForm form{Edit2->text(),       Edit3->text(),  Edit4->text(),  Edit5->text(),
                          Edit6->text(),       Edit7->text(),  Edit8->text(),  Edit9->text(),
                          Edit10->text(),      Edit11->text(), Edit12->text(), Edit13->text(),
                          Memo1->toPlainText()};
  if (SaveCustomer(form)) accept();
}

void TCustomer::BtnDeleteClick() {
  DeleteCustomer();
  accept();
}
