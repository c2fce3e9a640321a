#include "invoicing/InvoiceU.h"

#include <QApplication>
#include <QDateEdit>
#include <QFocusEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShowEvent>
#include <QStyle>
#include <QTableWidget>
#include <QTextDocument>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "invoicing/InvoiceDoc.h"
#include "invoicing/InvoiceDocEntry.h"
#include "invoicing/InvoiceDocSave.h"
#include "invoicing/InvoicePrint.h"
#include "masterdata/MasterDataWindows.h"
#include "util/EnterMovesOn.h"
#include "util/MoneyEdit.h"
#include "util/WindowKit.h"

using namespace invoicing;
using util::MakeButton;
using util::MakeEdit;
using util::MakeLabel;

namespace {

inline constexpr int kRowHeight = 18;
inline constexpr int kColumnWidths[kGridColumns] = {80, 216, 64, 72, 80};
inline constexpr const char* kColumnTitles[kGridColumns] = {"Product ID", "Description", "Price",
                                                            "Quantity", "Total"};

// A total: ten characters with two decimals; the computed ones the operator may type over.
MoneyEdit* MakeAmount(QWidget* parent, const char* name, const QString& accessible,
                      bool read_only) {
  MoneyEdit* edit = util::MakeMoneyEdit(parent, name, accessible, 10, 2);
  if (read_only) util::ShowOnly(edit);
  return edit;
}

// The text for a control: the program breaks lines with "\r\n".
QString DisplayText(QString text) {
  return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

void SetTextKeepingCaret(QLineEdit* edit, const QString& text) {
  if (edit->text() != text) edit->setText(text);
}

}  // namespace

TInvoice::TInvoice(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("Invoice"));
  setWindowTitle(QStringLiteral("Tax Invoice"));
  setProperty("helpContext", kHelpInvoice);

  CreateHeader();
  CreateGrid();
  CreateFooter();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(HeaderLayout());
  layout->addWidget(StringGrid1, 0, Qt::AlignHCenter);
  layout->addLayout(FooterLayout(), 1);
  layout->addLayout(util::ButtonRow({BtnSave, BtnPrint, BtnDelete, BtnCancel, BtnHelp}));
  resize(583, 382);

  // Tab order as the operator works through an invoice.
  util::SetTabOrder({BtnCust, Edit4, DateTimePicker1, Edit2, Edit3, StringGrid1, BAddItm, BEditItm,
                     BAddPmt, BEditPmt, MaskEdit3, MaskEdit4, Memo2, BtnSave, BtnPrint, BtnDelete,
                     BtnCancel});
  EnterMovesOn::InstallOn(this);
  for (QWidget* field : {static_cast<QWidget*>(Edit2), static_cast<QWidget*>(Edit3),
                         static_cast<QWidget*>(Edit4), static_cast<QWidget*>(Memo2)}) {
    field->installEventFilter(this);
  }
  ConnectHandlers();
}

void TInvoice::CreateHeader() {
  BtnCust = MakeButton(this, "BtnCust", QStringLiteral("Customer"));
  BtnCustEdit = MakeButton(this, "BtnCustEdit", QStringLiteral("Edit"));
  BtnCustEdit->setAccessibleName(QStringLiteral("Edit customer"));
  BtnCustEdit->setFocusPolicy(Qt::ClickFocus);
  Memo1 = util::MakeMemo(this, "Memo1", QStringLiteral("Customer address"));
  util::ShowOnly(Memo1);
  Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Edit4 = MakeEdit(this, "Edit4", QStringLiteral("Note"), 34);

  Edit1 = MakeEdit(this, "Edit1", QStringLiteral("Invoice:"));
  util::ShowOnly(Edit1);
  DateTimePicker1 = util::MakeDateEdit(this, "DateTimePicker1", QStringLiteral("Date Sold"));
  Edit2 = MakeEdit(this, "Edit2", QStringLiteral("Department"), 30);
  Edit3 = MakeEdit(this, "Edit3", QStringLiteral("Credit Card / Check:"), 30);
}

void TInvoice::CreateGrid() {
  StringGrid1 = new QTableWidget(kGridInitialRows, kGridColumns, this);
  StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
  StringGrid1->setAccessibleName(QStringLiteral("Line items"));
  StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
  StringGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
  StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  StringGrid1->setTabKeyNavigation(false);
  StringGrid1->verticalHeader()->hide();
  StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  StringGrid1->verticalHeader()->setDefaultSectionSize(kRowHeight);
  StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  StringGrid1->horizontalHeader()->setFixedHeight(kRowHeight + 2);
  for (int column = 0; column < kGridColumns; ++column) {
    StringGrid1->setHorizontalHeaderItem(
        column, new QTableWidgetItem(QString::fromLatin1(kColumnTitles[column])));
  }
  SizeGridColumns();
  // Four data rows below the title row.
  StringGrid1->setFixedHeight(StringGrid1->horizontalHeader()->height() +
                              kGridInitialRows * kRowHeight + 2 * StringGrid1->frameWidth() + 4);
}

void TInvoice::SizeGridColumns() {
  // A cell gives its text the column less the grid line and a margin on
  // each side; an amount column is made wide enough for the widest amount
  // it can hold (in the locale's digits and separator), never narrower
  // than its usual width.
  const int margin =
      StringGrid1->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, StringGrid1) + 1;
  const QFontMetricsF metrics(StringGrid1->font());
  int grid_width = 0;
  for (int column = 0; column < kGridColumns; ++column) {
    int width = kColumnWidths[column];
    for (const QString& text : WidestGridTexts(column)) {
      // Text widths have fractions of a pixel: round up.
      const int text_width = static_cast<int>(std::ceil(metrics.horizontalAdvance(text)));
      width = std::max(width, text_width + 2 * margin + 1);
    }
    StringGrid1->setColumnWidth(column, width);
    grid_width += width;
  }
  StringGrid1->setFixedWidth(grid_width + 2 * StringGrid1->frameWidth() +
                             StringGrid1->verticalScrollBar()->sizeHint().width());
}

void TInvoice::CreateFooter() {
  BAddItm = MakeButton(this, "BAddItm", QStringLiteral("Add Item"));
  BEditItm = MakeButton(this, "BEditItm", QStringLiteral("Edit Item"));
  BAddPmt = MakeButton(this, "BAddPmt", QStringLiteral("Add Paym't"));
  BEditPmt = MakeButton(this, "BEditPmt", QStringLiteral("Edit Paym't"));

  MaskEdit2 = MakeAmount(this, "MaskEdit2", QStringLiteral("Subtotal:"), true);
  MaskEdit3 = MakeAmount(this, "MaskEdit3", QStringLiteral("Computed 1"), false);
  MaskEdit4 = MakeAmount(this, "MaskEdit4", QStringLiteral("Computed 2"), false);
  MaskEdit5 = MakeAmount(this, "MaskEdit5", QStringLiteral("Total:"), true);
  MaskEdit6 = MakeAmount(this, "MaskEdit6", QStringLiteral("Payments:"), true);
  MaskEdit7 = MakeAmount(this, "MaskEdit7", QStringLiteral("Amount Due:"), true);
  ShipLabel = MakeLabel(this, QStringLiteral("Shipping:"), MaskEdit3);
  ShipLabel->setObjectName(QStringLiteral("ShipLabel"));
  TaxLabel = MakeLabel(this, QStringLiteral("Sales Tax:"), MaskEdit4);
  TaxLabel->setObjectName(QStringLiteral("TaxLabel"));

  Memo2 = util::MakeMemo(this, "Memo2", QStringLiteral("Invoice note"));

  BtnSave = MakeButton(this, "BtnSave", QStringLiteral("Save"));
  BtnPrint = MakeButton(this, "BtnPrint", QStringLiteral("Print"));
  BtnDelete = MakeButton(this, "BtnDelete", QStringLiteral("Delete"));
  BtnCancel = MakeButton(this, "BtnCancel", QStringLiteral("Cancel"));
  BtnHelp = MakeButton(this, "BtnHelp", QStringLiteral("Help"));
  BtnHelp->setFocusPolicy(Qt::ClickFocus);
}

QLayout* TInvoice::HeaderLayout() {
  // Customer on the left, the header fields on the right.
  auto* customer_buttons = new QHBoxLayout;
  customer_buttons->addWidget(BtnCust);
  customer_buttons->addWidget(BtnCustEdit);
  customer_buttons->addStretch();
  auto* note = new QHBoxLayout;
  note->addWidget(MakeLabel(this, QStringLiteral("Note"), Edit4));
  note->addWidget(Edit4);
  auto* customer = new QVBoxLayout;
  customer->addLayout(customer_buttons);
  customer->addWidget(Memo1);
  customer->addLayout(note);
  // Room for the five address lines.
  Memo1->setFixedHeight(5 * Memo1->fontMetrics().lineSpacing() + 2 * Memo1->frameWidth() +
                        2 * static_cast<int>(Memo1->document()->documentMargin()) + 4);

  auto* header = new QFormLayout;
  header->addRow(MakeLabel(this, QStringLiteral("Invoice:"), Edit1), Edit1);
  header->addRow(MakeLabel(this, QStringLiteral("Date Sold"), DateTimePicker1), DateTimePicker1);
  header->addRow(MakeLabel(this, QStringLiteral("Department"), Edit2), Edit2);
  header->addRow(MakeLabel(this, QStringLiteral("Credit Card / Check:"), Edit3), Edit3);
  Edit1->setFixedWidth(util::TextWidth(this, 8));

  auto* top = new QHBoxLayout;
  top->addLayout(customer, 1);
  top->addLayout(header, 1);
  return top;
}

QLayout* TInvoice::FooterLayout() {
  // Line and payment buttons above the invoice note; the totals beside them.
  auto* entry_buttons = new QHBoxLayout;
  for (QPushButton* button : {BAddItm, BEditItm, BAddPmt, BEditPmt})
    entry_buttons->addWidget(button);
  auto* left = new QVBoxLayout;
  left->addLayout(entry_buttons);
  left->addWidget(Memo2, 1);
  auto* totals = new QFormLayout;
  totals->addRow(MakeLabel(this, QStringLiteral("Subtotal:"), MaskEdit2), MaskEdit2);
  totals->addRow(ShipLabel, MaskEdit3);
  totals->addRow(TaxLabel, MaskEdit4);
  totals->addRow(MakeLabel(this, QStringLiteral("Total:"), MaskEdit5), MaskEdit5);
  totals->addRow(MakeLabel(this, QStringLiteral("Payments:"), MaskEdit6), MaskEdit6);
  totals->addRow(MakeLabel(this, QStringLiteral("Amount Due:"), MaskEdit7), MaskEdit7);
  for (MoneyEdit* amount : {MaskEdit2, MaskEdit3, MaskEdit4, MaskEdit5, MaskEdit6, MaskEdit7}) {
    amount->setFixedWidth(util::TextWidth(this, 11, QLatin1Char('0')) + 12);
  }
  auto* bottom = new QHBoxLayout;
  bottom->addLayout(left, 1);
  bottom->addLayout(totals);
  return bottom;
}

void TInvoice::ConnectHandlers() {
  connect(BtnCust, &QPushButton::clicked, this, &TInvoice::BtnCustClick);
  connect(BtnCustEdit, &QPushButton::clicked, this, &TInvoice::BtnCustEditClick);
  connect(BAddItm, &QPushButton::clicked, this, &TInvoice::BAddItmClick);
  connect(BEditItm, &QPushButton::clicked, this, &TInvoice::BEditItmClick);
  connect(StringGrid1, &QTableWidget::cellDoubleClicked, this, &TInvoice::StringGrid1DblClick);
  connect(BAddPmt, &QPushButton::clicked, this, &TInvoice::BAddPmtClick);
  connect(BEditPmt, &QPushButton::clicked, this, &TInvoice::BEditPmtClick);
  connect(MaskEdit3, &MoneyEdit::Left, this, &TInvoice::MaskEdit3Exit);
  connect(MaskEdit4, &MoneyEdit::Left, this, &TInvoice::MaskEdit4Exit);
  connect(DateTimePicker1, &QDateEdit::dateChanged, this, &TInvoice::DateTimePicker1Change);
  connect(BtnSave, &QPushButton::clicked, this, &TInvoice::BtnSaveClick);
  connect(BtnPrint, &QPushButton::clicked, this, &TInvoice::BtnPrintClick);
  connect(BtnDelete, &QPushButton::clicked, this, &TInvoice::BtnDeleteClick);
  connect(BtnCancel, &QPushButton::clicked, this, &TInvoice::BtnCancelClick);
  masterdata::InstallHelp(this, BtnHelp, kHelpInvoice);
}

void TInvoice::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) FormShow();
}

bool TInvoice::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusOut) {
    // Switching to another window (a dialog this window opens) is not leaving the field.
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
      if (watched == Edit2) Edit2Exit();
      if (watched == Edit3) Edit3Exit();
      if (watched == Edit4) Edit4Exit();
      if (watched == Memo2) Memo2Exit();
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TInvoice::FormShow() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  DateTimePicker1->setDisplayFormat(QLocale().dateFormat(QLocale::ShortFormat));
  SizeGridColumns();
  OpenInvoiceDocument();
  ShowScreen();
  StringGrid1->setCurrentCell(0, 0);
  QApplication::restoreOverrideCursor();
  BtnCust->setFocus();
}

void TInvoice::ShowScreen() {
  ShipLabel->setText(Screen.ship_label);
  TaxLabel->setText(Screen.tax_label);
  MaskEdit3->setAccessibleName(Screen.ship_label);
  MaskEdit4->setAccessibleName(Screen.tax_label);
  Edit1->setText(Screen.invoice_no);
  {
    const QSignalBlocker quiet(DateTimePicker1);
    DateTimePicker1->setDate(ToQDate(Screen.date).isValid() ? ToQDate(Screen.date) : TodayDate());
  }
  SetTextKeepingCaret(Edit2, Screen.dept);
  SetTextKeepingCaret(Edit3, Screen.imemo);
  SetTextKeepingCaret(Edit4, Screen.note);
  if (Memo2->toPlainText() != DisplayText(Screen.rem)) Memo2->setPlainText(DisplayText(Screen.rem));
  // The last address line's line break would only add an empty line at the end.
  QString address = DisplayText(Screen.customer);
  if (address.endsWith(QLatin1Char('\n'))) address.chop(1);
  Memo1->setPlainText(address);
  MaskEdit2->setText(Screen.subtotal);
  MaskEdit3->setText(Screen.ship);
  MaskEdit4->setText(Screen.tax);
  MaskEdit5->setText(Screen.total);
  MaskEdit6->setText(Screen.payments);
  MaskEdit7->setText(Screen.due);

  const int current = StringGrid1->currentRow();
  StringGrid1->setRowCount(static_cast<int>(Screen.rows.size()));
  for (int row = 0; row < static_cast<int>(Screen.rows.size()); ++row) {
    for (int column = 0; column < kGridColumns; ++column) {
      QTableWidgetItem* item = StringGrid1->item(row, column);
      if (item == nullptr) {
        item = new QTableWidgetItem;
        StringGrid1->setItem(row, column, item);
      }
      item->setText(Screen.rows[static_cast<size_t>(row)][static_cast<size_t>(column)]);
      if (column >= 2) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
  }
  if (current >= 0 && current < StringGrid1->rowCount()) StringGrid1->setCurrentCell(current, 0);
}

int TInvoice::CurrentGridRow() const {
  const int row = StringGrid1->currentRow();
  return row < 0 ? 0 : row + 1;
}

void TInvoice::BtnCustClick() {
  if (ChooseCustomer()) ShowScreen();
}

void TInvoice::BtnCustEditClick() {
  EditCustomer();
  ShowScreen();
}

void TInvoice::BtnCancelClick() { reject(); }

void TInvoice::BAddItmClick() {
  AddLine();
  ShowScreen();
}

void TInvoice::EditLine() {
  invoicing::EditLine(CurrentGridRow());
  ShowScreen();
}

void TInvoice::BEditItmClick() { EditLine(); }
void TInvoice::StringGrid1DblClick() { EditLine(); }

void TInvoice::BAddPmtClick() {
  AddPayment();
  ShowScreen();
}

void TInvoice::BEditPmtClick() {
  EditPayments();
  ShowScreen();
}

void TInvoice::MaskEdit3Exit() {
  ShipTyped(MaskEdit3->text());
  ShowScreen();
}

void TInvoice::MaskEdit4Exit() {
  TaxTyped(MaskEdit4->text());
  ShowScreen();
}

void TInvoice::Edit2Exit() { DeptLeft(Edit2->text()); }
void TInvoice::Edit3Exit() { IMemoLeft(Edit3->text()); }
void TInvoice::Edit4Exit() { NoteLeft(Edit4->text()); }
void TInvoice::Memo2Exit() { RemLeft(Memo2->toPlainText()); }

void TInvoice::DateTimePicker1Change() { DateChanged(FromQDate(DateTimePicker1->date())); }

WindowFields TInvoice::Fields() const {
  WindowFields fields;
  fields.date = FromQDate(DateTimePicker1->date());
  fields.dept = Edit2->text();
  fields.imemo = Edit3->text();
  fields.rem = Memo2->toPlainText();
  fields.ship = MaskEdit3->text();
  fields.tax = MaskEdit4->text();
  fields.due = MaskEdit7->text();
  fields.note = Edit4->text();
  return fields;
}

void TInvoice::BtnSaveClick() {
  switch (SaveInvoice(Fields())) {
    case SaveOutcome::kClose:
      accept();
      return;
    case SaveOutcome::kNextInvoice:
      ShowScreen();
      StringGrid1->setCurrentCell(0, 0);
      BtnCust->setFocus();
      return;
    case SaveOutcome::kStays:
      return;
  }
}

void TInvoice::BtnPrintClick() { PrintShownInvoice(Fields()); }

void TInvoice::BtnDeleteClick() {
  if (DeleteInvoice()) accept();
}
