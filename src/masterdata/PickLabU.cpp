#include "masterdata/PickLabU.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "masterdata/MasterDataWindows.h"
#include "masterdata/PickU.h"
#include "store/dbFiles.h"

using namespace masterdata;

TPickLab::TPickLab(QWidget* parent) : QDialog(parent) {
  const ListPickParts parts = MakeListPickParts(
      this, QStringLiteral("PickLab"), QStringLiteral("Label stocks"), &pick_,
      [this] { BtnSelectClick(); }, [this] { BtnNewClick(); }, [this] { BtnCancelClick(); });
  ListBox1 = parts.list;
  BtnSelect = parts.select;
  BtnNew = parts.add;
  BtnCancel = parts.cancel;
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(ListBox1);
  layout->addLayout(parts.buttons);
  resize(420, 300);
}

void TPickLab::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TPickLab::FormShow() {
  pick_ = ReadLabelPick();
  const int highlighted = pick_.highlighted;
  {
    const QSignalBlocker block(ListBox1);
    ListBox1->clear();
    ListBox1->addItems(pick_.items);
    ListBox1->setCurrentRow(highlighted);
  }
  BtnNew->setEnabled(PickNewEnabled(platform::WindowId::kPickLab));
  BtnSelect->setEnabled(!pick_.items.isEmpty());
  ListBox1->setFocus();
}

void TPickLab::BtnSelectClick() {
  long chosen = 0;
  if (!SelectListItem(pick_, &chosen)) return;
  SelLab = chosen;
  accept();
}

void TPickLab::BtnNewClick() {
  SelLab = 0;
  accept();
}

void TPickLab::BtnCancelClick() {
  SelLab = -1;
  reject();
}
