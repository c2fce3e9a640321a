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

using namespace masterdata;

TGroupDef::TGroupDef(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("GroupDef"));
  setWindowTitle(QStringLiteral("Customer Group"));
  setProperty("helpContext", kHelpGroup);
  Edit1 = new QLineEdit(this);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Edit1->setReadOnly(true);
  Edit1->setFocusPolicy(Qt::NoFocus);
  Edit1->setFixedWidth(4 * fontMetrics().horizontalAdvance(QLatin1Char('M')));
  Edit2 = new QLineEdit(this);
  Edit2->setObjectName(QStringLiteral("Edit2"));
  Edit2->setMaxLength(20);
  BtnSave = new QPushButton(QStringLiteral("Save"), this);
  BtnSave->setObjectName(QStringLiteral("BtnSave"));
  BtnDelete = new QPushButton(QStringLiteral("Delete"), this);
  BtnDelete->setObjectName(QStringLiteral("BtnDelete"));
  BtnCancel = new QPushButton(QStringLiteral("Cancel"), this);
  BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
  for (QPushButton* button : {BtnSave, BtnDelete, BtnCancel}) button->setAutoDefault(false);

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Group Number:"), Edit1);
  form->addRow(QStringLiteral("Customer Group:"), Edit2);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(BtnSave);
  buttons->addWidget(BtnDelete);
  buttons->addWidget(BtnCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(buttons);

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
