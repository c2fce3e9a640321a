#include "masterdata/MultGroupU.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "masterdata/GroupEdit.h"

using namespace masterdata;

TMultGroup::TMultGroup(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("MultGroup"));
  setWindowTitle(QStringLiteral("Select One or More Groups"));
  ListBox1 = new QListWidget(this);
  ListBox1->setObjectName(QStringLiteral("ListBox1"));
  ListBox1->setAccessibleName(QStringLiteral("Customer groups"));
  ListBox1->setSelectionMode(QAbstractItemView::MultiSelection);
  BtnAll = new QPushButton(QStringLiteral("All"), this);
  BtnAll->setObjectName(QStringLiteral("BtnAll"));
  BtnRun = new QPushButton(QStringLiteral("Run"), this);
  BtnRun->setObjectName(QStringLiteral("BtnRun"));
  BtnCancel = new QPushButton(QStringLiteral("Cancel"), this);
  BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
  for (QPushButton* button : {BtnAll, BtnRun, BtnCancel}) button->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(BtnAll);
  buttons->addStretch();
  buttons->addWidget(BtnRun);
  buttons->addWidget(BtnCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(ListBox1);
  layout->addLayout(buttons);
  resize(340, 320);

  connect(BtnAll, &QPushButton::clicked, this, &TMultGroup::BtnAllClick);
  connect(BtnRun, &QPushButton::clicked, this, &TMultGroup::BtnRunClick);
  connect(BtnCancel, &QPushButton::clicked, this, &TMultGroup::BtnCancelClick);
}

void TMultGroup::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TMultGroup::FormShow() {
  ListBox1->clear();
  ListBox1->addItems(ReadGroupChoiceItems());
  if (ListBox1->count() == 1) ListBox1->item(0)->setSelected(true);
}

void TMultGroup::BtnAllClick() { ListBox1->selectAll(); }

void TMultGroup::BtnRunClick() {
  QStringList chosen;
  for (int i = 0; i < ListBox1->count(); ++i) {
    if (ListBox1->item(i)->isSelected()) chosen << ListBox1->item(i)->text();
  }
  SetGroupChoice(chosen);
  accept();
}

void TMultGroup::BtnCancelClick() {
  GroupChoice.clear();
  reject();
}
