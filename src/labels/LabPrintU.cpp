#include "labels/LabPrintU.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QToolButton>
#include <QVBoxLayout>

#include "labels/LabPrint.h"
#include "masterdata/MasterDataWindows.h"
#include "platform/QtPlatform.h"
#include "util/EnterMovesOn.h"
#include "util/WindowKit.h"

using namespace labels;

namespace {

QLineEdit* NumberEdit(QWidget* parent, const char* name, const QString& accessible, int digits) {
  QLineEdit* edit = util::MakeEdit(parent, name, accessible, digits);
  edit->setValidator(new QRegularExpressionValidator(
      QRegularExpression(QStringLiteral("[0-9]{0,%1}").arg(digits)), edit));
  edit->setFixedWidth(util::TextWidth(parent, digits + 2, QLatin1Char('0')));
  return edit;
}

QToolButton* Arrow(QWidget* parent, const char* name, Qt::ArrowType arrow,
                   const QString& accessible) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setArrowType(arrow);
  button->setAccessibleName(accessible);
  button->setToolTip(accessible);
  button->setAutoRepeat(true);
  return button;
}

}  // namespace

TLabPrint::TLabPrint(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("LabPrint"));
  setWindowTitle(QStringLiteral("Print Labels"));
  CreateControls();
  LayOutControls();

  EnterMovesOn::InstallOn(this);
  connect(ComboBox1, &QComboBox::currentIndexChanged, this, &TLabPrint::ComboBox1Change);
  connect(UpDown1Left, &QToolButton::clicked, this, [this] { UpDown1Click(false); });
  connect(UpDown1Right, &QToolButton::clicked, this, [this] { UpDown1Click(true); });
  connect(UpDown2Up, &QToolButton::clicked, this, [this] { UpDown2Click(false); });
  connect(UpDown2Down, &QToolButton::clicked, this, [this] { UpDown2Click(true); });
  connect(MaskEdit1, &QLineEdit::editingFinished, this, &TLabPrint::MaskEdit1Exit);
  connect(MaskEdit2, &QLineEdit::editingFinished, this, &TLabPrint::MaskEdit2Exit);
  connect(BtnOK, &QPushButton::clicked, this, &TLabPrint::BtnOKClick);
  connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TLabPrint::CreateControls() {
  ComboBox1 = new QComboBox(this);
  ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
  ComboBox1->setMinimumContentsLength(40);
  MaskEdit1 = NumberEdit(this, "MaskEdit1", QString(), 1);
  MaskEdit2 = NumberEdit(this, "MaskEdit2", QString(), 2);
  UpDown1Left = Arrow(this, "UpDown1Left", Qt::LeftArrow, QStringLiteral("Previous column"));
  UpDown1Right = Arrow(this, "UpDown1Right", Qt::RightArrow, QStringLiteral("Next column"));
  UpDown2Up = Arrow(this, "UpDown2Up", Qt::UpArrow, QStringLiteral("Previous row"));
  UpDown2Down = Arrow(this, "UpDown2Down", Qt::DownArrow, QStringLiteral("Next row"));
  BtnOK = util::MakeButton(this, "BtnOK", QStringLiteral("OK"));
  BtnCancel = util::MakeButton(this, "BtnCancel", QStringLiteral("Cancel"));
}

void TLabPrint::LayOutControls() {
  auto* grid = new QGridLayout;
  grid->addWidget(util::MakeLabel(this, QStringLiteral("Label Stock:"), ComboBox1), 0, 0);
  grid->addWidget(ComboBox1, 0, 1, 1, 4);
  grid->addWidget(util::MakeLabel(this, QStringLiteral("Starting Column:"), MaskEdit1), 1, 0);
  grid->addWidget(MaskEdit1, 1, 1);
  grid->addWidget(UpDown1Left, 1, 2);
  grid->addWidget(UpDown1Right, 1, 3);
  grid->addWidget(util::MakeLabel(this, QStringLiteral("Row:"), MaskEdit2), 2, 0);
  grid->addWidget(MaskEdit2, 2, 1);
  grid->addWidget(UpDown2Up, 2, 2);
  grid->addWidget(UpDown2Down, 2, 3);
  grid->setColumnStretch(4, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(grid);
  layout->addLayout(util::ButtonRow({BtnOK, BtnCancel}));
  util::SetTabOrder({ComboBox1, MaskEdit1, UpDown1Left, UpDown1Right, MaskEdit2, UpDown2Up,
                     UpDown2Down, BtnOK, BtnCancel});
}

void TLabPrint::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TLabPrint::FormShow() {
  const LabPrintOpening opening = OpenLabPrint();
  const QSignalBlocker quiet(ComboBox1);
  ComboBox1->clear();
  ComboBox1->addItems(opening.stocks);
  ComboBox1->setCurrentIndex(opening.selected);
  MaskEdit1->setText(QStringLiteral("1"));
  MaskEdit2->setText(QStringLiteral("1"));
  MaskEdit1->setFocus();
}

void TLabPrint::ComboBox1Change() {
  LoadStock(ComboBox1->currentIndex());
  MaskEdit1Exit();  // the new stock may have fewer labels across
}

void TLabPrint::UpDown1Click(bool right) {
  const int column = TidyColumn(MaskEdit1->text());
  MaskEdit1->setText(QString::number(right ? NextColumn(column) : PreviousColumn(column)));
}

void TLabPrint::UpDown2Click(bool down) {
  const int row = TidyRow(MaskEdit2->text());
  // Two digits are all the field shows.
  MaskEdit2->setText(QString::number(down ? std::min(99, NextRow(row)) : PreviousRow(row)));
}

void TLabPrint::MaskEdit1Exit() {
  MaskEdit1->setText(QString::number(TidyColumn(MaskEdit1->text())));
}

void TLabPrint::MaskEdit2Exit() { MaskEdit2->setText(QString::number(TidyRow(MaskEdit2->text()))); }

void TLabPrint::BtnOKClick() {
  if (AcceptLabPrint(ComboBox1->currentIndex(), MaskEdit1->text(), MaskEdit2->text())) {
    accept();
  } else {
    reject();
  }
}

namespace labels {

void CreateLabPrintWindow(QWidget* parent, platform::QtPlatform* qt_platform) {
  masterdata::CreateWindowOnce<TLabPrint>(parent, qt_platform, platform::WindowId::kLabPrint,
                                          false);
}

}  // namespace labels
