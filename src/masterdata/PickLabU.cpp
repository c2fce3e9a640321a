#include "masterdata/PickLabU.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "masterdata/PickU.h"
#include "store/dbFiles.h"

using namespace masterdata;

TPickLab::TPickLab(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("PickLab"));
  setWindowTitle(QStringLiteral("PickLab"));
  ListBox1 = new QListWidget(this);
  ListBox1->setObjectName(QStringLiteral("ListBox1"));
  ListBox1->setAccessibleName(QStringLiteral("Label stocks"));
  BtnSelect = new QPushButton(QStringLiteral("Select"), this);
  BtnSelect->setObjectName(QStringLiteral("BtnSelect"));
  BtnNew = new QPushButton(QStringLiteral("New"), this);
  BtnNew->setObjectName(QStringLiteral("BtnNew"));
  BtnCancel = new QPushButton(QStringLiteral("Cancel"), this);
  BtnCancel->setObjectName(QStringLiteral("BtnCancel"));
  for (QPushButton* button : {BtnSelect, BtnNew, BtnCancel}) button->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(BtnSelect);
  buttons->addWidget(BtnNew);
  buttons->addWidget(BtnCancel);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(ListBox1);
  layout->addLayout(buttons);
  resize(420, 300);

  connect(BtnSelect, &QPushButton::clicked, this, &TPickLab::BtnSelectClick);
  connect(BtnNew, &QPushButton::clicked, this, &TPickLab::BtnNewClick);
  connect(BtnCancel, &QPushButton::clicked, this, &TPickLab::BtnCancelClick);
  connect(ListBox1, &QListWidget::itemDoubleClicked, this, [this] { BtnSelectClick(); });
  connect(ListBox1, &QListWidget::currentRowChanged, this,
          [this](int row) { pick_.highlighted = row; });
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
