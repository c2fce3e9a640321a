#include "masterdata/GroupDefU.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "masterdata/GroupEdit.h"
#include "masterdata/MasterDataWindows.h"
#include "util/EnterMovesOn.h"
#include "util/WindowKit.h"

using namespace masterdata;

TGroupDef::TGroupDef(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("GroupDef"));
  setWindowTitle(QStringLiteral("Customer Group"));
  setProperty("helpContext", kHelpGroup);
  Edit1 = util::MakeEdit(this, "Edit1", QString());
  util::ShowOnly(Edit1);
  Edit1->setFixedWidth(util::TextWidth(this, 4));
  Edit2 = util::MakeEdit(this, "Edit2", QString(), 20);
  BtnSave = util::MakeButton(this, "BtnSave", QStringLiteral("Save"));
  BtnDelete = util::MakeButton(this, "BtnDelete", QStringLiteral("Delete"));
  BtnCancel = util::MakeButton(this, "BtnCancel", QStringLiteral("Cancel"));

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Group Number:"), Edit1);
  form->addRow(QStringLiteral("Customer Group:"), Edit2);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(util::ButtonRow({BtnSave, BtnDelete, BtnCancel}));

  EnterMovesOn::InstallOn(this);
  InstallHelp(this, nullptr, kHelpGroup);
  connect(BtnSave, &QPushButton::clicked, this, &TGroupDef::BtnSaveClick);
  connect(BtnDelete, &QPushButton::clicked, this, &TGroupDef::BtnDeleteClick);
  connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TGroupDef::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TGroupDef::FormShow() {
  const GroupOpening opening = OpenGroupEditor();
  BtnDelete->setEnabled(opening.delete_enabled);
  Edit1->setText(opening.number_text);
  Edit2->setText(opening.name.trimmed());
  Edit2->setFocus();
}

void TGroupDef::BtnSaveClick() {
  if (SaveGroup(Edit2->text())) accept();
}

void TGroupDef::BtnDeleteClick() {
  if (DeleteGroup()) accept();
}
