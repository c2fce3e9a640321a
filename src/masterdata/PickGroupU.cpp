#include "masterdata/PickGroupU.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include "masterdata/MasterDataWindows.h"
#include "masterdata/PickU.h"
#include "store/dbFiles.h"

using namespace masterdata;

TPickGroup::TPickGroup(QWidget* parent) : QDialog(parent) {
  const ListPickParts parts = MakeListPickParts(
      this, QStringLiteral("PickGroup"), QStringLiteral("Customer groups"), &pick_,
      [this] { BtnSelectClick(); }, [this] { BtnNewClick(); }, [this] { BtnCancelClick(); });
  ListBox1 = parts.list;
  BtnSelect = parts.select;
  BtnNew = parts.add;
  BtnCancel = parts.cancel;
  ListBox1->installEventFilter(this);
  Label1 = new QLabel(QStringLiteral("Seek:"), this);
  Edit1 = new QLineEdit(this);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Edit1->setMaxLength(20);
  Label1->setBuddy(Edit1);

  auto* search = new QHBoxLayout;
  search->addWidget(Label1);
  search->addWidget(Edit1, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(ListBox1);
  layout->addLayout(search);
  layout->addLayout(parts.buttons);
  resize(320, 360);

  connect(Edit1, &QLineEdit::textChanged, this, &TPickGroup::Edit1Change);
}

void TPickGroup::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TPickGroup::FormShow() {
  pick_ = ReadGroupPick(&previous_tag_);
  {
    const QSignalBlocker block_list(ListBox1);
    const QSignalBlocker block_edit(Edit1);
    ListBox1->clear();
    ListBox1->addItems(pick_.items);
    Edit1->clear();
  }
  Highlight(pick_.highlighted);
  BtnNew->setEnabled(PickNewEnabled(platform::WindowId::kPickGroup));
  BtnSelect->setEnabled(!pick_.items.isEmpty());
  // Any way of closing other than Select and New yields nothing chosen.
  SelGroup = -1;
  Edit1->setFocus();
}

void TPickGroup::Highlight(int index) {
  pick_.highlighted = index;
  const QSignalBlocker block(ListBox1);
  ListBox1->setCurrentRow(index);
  if (index < 0) ListBox1->clearSelection();
}

void TPickGroup::Edit1Change(const QString& text) { Highlight(SearchGroupPick(pick_, text)); }

void TPickGroup::BtnSelectClick() {
  long chosen = 0;
  if (!SelectListItem(pick_, &chosen)) return;
  SelGroup = chosen;
  accept();
}

void TPickGroup::BtnNewClick() {
  SelGroup = 0;
  accept();
}

void TPickGroup::BtnCancelClick() {
  SelGroup = -1;
  reject();
}

void TPickGroup::done(int result) {
  // The group table goes back under the tag its caller had selected.
  RestoreGroupTag(previous_tag_);
  QDialog::done(result);
}

bool TPickGroup::eventFilter(QObject* watched, QEvent* event) {
  if (watched == ListBox1 && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      BtnSelectClick();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}
