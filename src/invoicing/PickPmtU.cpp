#include "invoicing/PickPmtU.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>

#include "invoicing/InvoiceDocEntry.h"
#include "store/dbFiles.h"
#include "util/WindowKit.h"

namespace {

// More payments than this and the grid needs its scroll bar.
inline constexpr int kVisiblePayments = 11;
inline constexpr int kScrollBarWidth = 16;

}  // namespace

TPickPmt::TPickPmt(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("PickPmt"));
  setWindowTitle(QStringLiteral("Select Payment"));

  StringGrid1 = new QTableWidget(0, 2, this);
  StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
  StringGrid1->setAccessibleName(QStringLiteral("Payments"));
  StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
  StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
  StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  StringGrid1->setTabKeyNavigation(false);
  StringGrid1->verticalHeader()->hide();
  StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  StringGrid1->setHorizontalHeaderLabels({QStringLiteral("Date"), QStringLiteral("Amount")});
  BtnSelect = util::MakeButton(this, "BtnSelect", QStringLiteral("Select"));
  BtnSelect->setDefault(true);
  BtnCancel = util::MakeButton(this, "BtnCancel", QStringLiteral("Cancel"));

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(StringGrid1, 1, Qt::AlignLeft);
  layout->addLayout(util::ButtonRow({BtnSelect, BtnCancel}));

  connect(BtnSelect, &QPushButton::clicked, this, &TPickPmt::BtnSelectClick);
  connect(StringGrid1, &QTableWidget::cellDoubleClicked, this, &TPickPmt::StringGrid1DblClick);
  connect(BtnCancel, &QPushButton::clicked, this, &TPickPmt::BtnCancelClick);
}

void TPickPmt::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

void TPickPmt::FormShow() {
  const int unit = StringGrid1->fontMetrics().horizontalAdvance(QLatin1Char('M'));
  StringGrid1->setColumnWidth(0, 7 * unit);
  StringGrid1->setColumnWidth(1, 10 * unit);
  const int payments = static_cast<int>(PaymentGrid.size());
  int width = 17 * unit + 1 + 2 * StringGrid1->frameWidth();
  if (payments > kVisiblePayments) width += kScrollBarWidth;
  StringGrid1->setFixedWidth(width);
  if (this->width() < width + 2 * kScrollBarWidth) resize(width + 2 * kScrollBarWidth, height());

  StringGrid1->clearContents();
  StringGrid1->setRowCount(payments);
  for (int row = 0; row < payments; ++row) {
    const PaymentRow& payment = PaymentGrid[static_cast<size_t>(row)];
    StringGrid1->setItem(row, 0, new QTableWidgetItem(payment[0]));
    auto* amount = new QTableWidgetItem(payment[1]);
    amount->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    StringGrid1->setItem(row, 1, amount);
  }
  if (payments > 0) StringGrid1->setCurrentCell(0, 0);
  StringGrid1->setFocus();
}

void TPickPmt::EditPayment() {
  const int row = StringGrid1->currentRow();
  if (invoicing::EditPayment(row < 0 ? 0 : row + 1)) accept();
}

void TPickPmt::BtnSelectClick() { EditPayment(); }
void TPickPmt::StringGrid1DblClick() { EditPayment(); }
void TPickPmt::BtnCancelClick() { reject(); }
