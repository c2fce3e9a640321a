#include "masterdata/MultGroupU.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "masterdata/GroupEdit.h"
#include "util/WindowKit.h"

using namespace masterdata;

TMultGroup::TMultGroup(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("MultGroup"));
  setWindowTitle(QStringLiteral("Select One or More Groups"));
  ListBox1 = new QListWidget(this);
  ListBox1->setObjectName(QStringLiteral("ListBox1"));
  ListBox1->setAccessibleName(QStringLiteral("Customer groups"));
  ListBox1->setSelectionMode(QAbstractItemView::MultiSelection);
  BtnAll = util::MakeButton(this, "BtnAll", QStringLiteral("All"));
  BtnRun = util::MakeButton(this, "BtnRun", QStringLiteral("Run"));
  BtnCancel = util::MakeButton(this, "BtnCancel", QStringLiteral("Cancel"));
  auto* buttons = util::ButtonRow({BtnRun, BtnCancel});
  buttons->insertWidget(0, BtnAll);
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
