#include "reports/RptStatements.h"

#include <QByteArray>
#include <cstring>

#include "engine/TableEngine.h"
#include "masterdata/PickU.h"
#include "platform/Platform.h"
#include "reports/ReportRun.h"
#include "reports/RptLetterhead.h"
#include "reports/RptUtil.h"
#include "store/CodeBase.h"
#include "store/EngineResult.h"
#include "store/dbFiles.h"
#include "util/DateUtil.h"
#include "util/TextUtil.h"

namespace {

const QString kStatementTitle = QStringLiteral("Account Statement");

// Positions INV5 (under "InvC") on the customer's first invoice; false when
// the customer has none.
bool FirstInvoiceOf(long customer) {
  return d4seek(InvDb, KeyText(PadNumber(customer, 6)).constData()) == r4success;
}

bool NextInvoiceOf(long customer) {
  return d4skip(InvDb, 1) == r4success && f4long(InvFld.CuNo) == customer;
}

// The row of the invoice INV5 stands on, loaded with its lines and payments.
StatementRow RowOfCurrentInvoice() {
  LoadInvoice();
  LoadInvoiceItems();
  LoadInvoicePayments();
  return MakeStatementRow();
}

// Every customer in postal code order with the invoices of the span that
// are not settled. Only the invoices listed are loaded in full.
void PutStatementsWithBalances() {
  SelectTag(CustDb, "CZip");
  SelectTag(InvDb, "InvC");
  // Dates compare as their stored "yyyymmdd" texts; a blank date is before
  // every span.
  const QByteArray first = DateToText(SpanStart).toLatin1();
  const QByteArray last = DateToText(SpanEnd).toLatin1();
  reports::RecordProgress progress;
  progress.SetTotal(d4recCountDo(CustDb));
  std::vector<StatementRow> rows;
  for (int rc = d4top(CustDb); rc == r4success; rc = d4skip(CustDb, 1)) {
    const long customer = f4long(CustFld.cuno);
    rows.clear();
    for (bool found = FirstInvoiceOf(customer); found; found = NextInvoiceOf(customer)) {
      const char* date = f4str(InvFld.IDate);
      if (f4double(InvFld.Due) != 0 && std::strncmp(date, first.constData(), 8) >= 0 &&
          std::strncmp(date, last.constData(), 8) <= 0) {
        rows.push_back(RowOfCurrentInvoice());
      }
    }
    if (!rows.empty()) {
      LoadCustomer();
      BuildAddressBlock();
      PutStatement(rows);
    }
    progress.Step();
  }
  store::TellIfFailed(store::Table::kCustomers, QStringLiteral("Printing stopped early."));
}

// Customers picked one after another, each with all of its invoices.
void PutPickedStatements() {
  SelectTag(CustDb, "cname");
  SelCust = d4top(CustDb) == r4success ? d4recNo(CustDb) : 0;
  SelectTag(InvDb, "InvC");
  std::vector<StatementRow> rows;
  bool is_new = false;
  while (masterdata::PickCustomer(false, &is_new)) {
    if (d4go(CustDb, SelCust) != r4success) continue;
    LoadCustomer();
    rows.clear();
    for (bool found = FirstInvoiceOf(CustRec.cuno); found; found = NextInvoiceOf(CustRec.cuno)) {
      rows.push_back(RowOfCurrentInvoice());
    }
    if (rows.empty()) continue;
    BuildAddressBlock();
    PutStatement(rows);
  }
  store::TakeResult(store::Table::kCustomers);  // a pick that could not be read is skipped
}

}  // namespace

void InitStatementLayout() {
  RptWidth = 59;
  RptCells = 12;
  InitReport();
  RptTitles = {kStatementTitle};
  ColCodes = {"V00", "R07", "V09", "R18", "V20", "R31", "V33", "R44", "V46", "R57", "V59"};
  SetColumnHeadings({"Invoice", "Date", "Charges", "Payments", "Amount Due"});
  PrepareDocumentMeasure();
}

StatementRow MakeStatementRow() {
  double lines = 0;
  for (const ItemRow& item : ItemGrid) lines += MoneyValue(item[1]) * MoneyValue(item[2]);
  const double charges = InvRec.Ship + InvRec.Tax + lines;
  double paid = 0;
  for (const PaymentRow& payment : PaymentGrid) paid += MoneyValue(payment[1]);
  return {PadNumber(InvRec.IvNo, 6), ShortDateText(InvRec.IDate), MoneyText(charges, 11),
          MoneyText(paid, 11), MoneyText(InvRec.Due, 11)};
}

void PutStatement(const std::vector<StatementRow>& rows) {
  StartDocument(kStatementTitle);
  AddressDocument(CustRec.cuno, CustRec.email, kStatementTitle);
  NewLine();
  RptLines[CurLine][0] = QStringLiteral("L00To:");
  RptLines[CurLine][1] = QStringLiteral("L10") + AddressBlock.value(0);
  for (qsizetype i = 1; i < AddressBlock.size(); ++i) {
    NewLine();
    RptLines[CurLine][1] = QStringLiteral("L10") + AddressBlock[i];
  }
  PutHeadings();
  double charges = 0;
  double payments = 0;
  double due = 0;
  for (const StatementRow& row : rows) {
    NewDetailLine();
    PutRow({row.number, row.date, row.charges, row.payments, row.due});
    // The sums are of the amounts as printed.
    charges += MoneyValue(row.charges);
    payments += MoneyValue(row.payments);
    due += MoneyValue(row.due);
  }
  AddFlags(QStringLiteral("U"));
  NewDetailLine();
  RptLines[CurLine][1] = QStringLiteral("R18Totals");
  const QString amounts[] = {MoneyText(charges, 11), MoneyText(payments, 11), MoneyText(due, 11)};
  for (int i = 0; i < 3; ++i) {
    RptLines[CurLine][4 + 2 * i] = ColCodes[4 + 2 * i];
    RptLines[CurLine][5 + 2 * i] = ColCodes[5 + 2 * i] + amounts[i];
  }
  RptLines[CurLine][10] = QStringLiteral("V59");
  NewLine();
  RptLines[CurLine][10] = QStringLiteral("H2059");
}

void PrintStatements(bool withBalances) {
  if (withBalances) {
    SetMonthSpan();
    if (!AskDateSpan()) return;
  }
  if (!OpenDocumentTables()) {
    CloseAllTables();
    return;
  }
  InitStatementLayout();
  if (withBalances) {
    platform::Current().ShowProgress(QStringLiteral("Processing Statements"));
    PutStatementsWithBalances();
  } else {
    PutPickedStatements();
  }
  ShowDocuments();
}
