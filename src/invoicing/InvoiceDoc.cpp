#include "invoicing/InvoiceDoc.h"

#include "engine/TableEngine.h"
#include "invoicing/InvoiceDocSave.h"
#include "masterdata/PickU.h"
#include "platform/Platform.h"
#include "store/CodeBase.h"
#include "store/EngineResult.h"
#include "util/MoneyUtil.h"
#include "util/TextUtil.h"

namespace invoicing {

InvoiceScreen Screen;
double Subtotal = 0;
double InvoiceTotal = 0;
double PaymentsTotal = 0;

namespace {

void BlankGrid() {
  for (GridRow& row : Screen.rows) row.fill(QString());
}

}  // namespace

double AmountValue(const QString& text) { return TextToNumber(text).value_or(0.0); }

QString AmountText(double amount) {
  return FormatAmount(amount, QString::fromLatin1(kAmountFormat));
}

double LineTotal(const ItemRow& line) {
  return RoundMoney(AmountValue(line[2]) * AmountValue(line[1]));
}

void OpenInvoiceDocument() {
  Screen = InvoiceScreen();
  Screen.ship_label = Settings.ShipLine.trimmed() + QLatin1Char(':');
  Screen.tax_label = Settings.TaxLine.trimmed() + QLatin1Char(':');
  Screen.rows.assign(kGridInitialRows, GridRow());
  ItemGrid.clear();
  PaymentGrid.clear();
  AddressBlock = QStringList{QString()};
  ForgetUnfinishedHeader();
  if (SelInv <= 0 || !LoadInvoiceForPrint()) {
    // An invoice that can no longer be found opens as a new one.
    SelInv = 0;
    NewInvoice();
  }
  ShowInvoice();
  ShowCustomer();
}

void NewInvoice() {
  InvRec = InvoiceRecord();
  InvRec.IvNo = NextInvoiceNumber();
  InvRec.CuNo = 0;
  InvRec.IDate = Today();
  ItemGrid.clear();
  PaymentGrid.clear();
  ForgetUnfinishedHeader();
}

long NextInvoiceNumber() {
  if (InvDb == nullptr) return 1;
  SelectTag(InvDb, "Inv");
  if (d4bottom(InvDb) != r4success) {
    store::TakeResult(store::Table::kInvoices);  // an empty table is not an error
    return 1;
  }
  return f4long(InvFld.IvNo) + 1;
}

void ShowInvoice() {
  Subtotal = 0;
  InvoiceTotal = 0;
  PaymentsTotal = 0;
  Screen.invoice_no = PadNumber(InvRec.IvNo, 6);
  Screen.dept = InvRec.Dept.trimmed();
  Screen.imemo = InvRec.IMemo.trimmed();
  Screen.date = InvRec.IDate;
  Screen.rem = InvRec.REM;
  Screen.ship = AmountText(InvRec.Ship);
  Screen.tax = AmountText(InvRec.Tax);
  Screen.due = AmountText(InvRec.Due);

  BlankGrid();
  if (Screen.rows.size() < ItemGrid.size()) Screen.rows.resize(ItemGrid.size());
  for (size_t i = 0; i < ItemGrid.size(); ++i) {
    const ItemRow& line = ItemGrid[i];
    const double total = LineTotal(line);
    Screen.rows[i] = {line[0], line[5], line[2], line[1],
                      AmountText(total) + QLatin1Char(' ') + line[3] + line[4]};
    Subtotal += total;
  }
  Screen.subtotal = AmountText(Subtotal);
  InvoiceTotal = Subtotal + InvRec.Ship + InvRec.Tax;
  Screen.total = AmountText(InvoiceTotal);
  ShowPayments();
}

void ShowCustomer() {
  Screen.customer.clear();
  Screen.note.clear();
  if (InvRec.CuNo == 0) return;
  for (const QString& line : AddressBlock) Screen.customer += line + QStringLiteral("\r\n");
  Screen.note = CustRec.note.trimmed();
}

void ShowPayments() {
  PaymentsTotal = 0;
  for (const PaymentRow& payment : PaymentGrid) PaymentsTotal += AmountValue(payment[1]);
  Screen.payments = AmountText(PaymentsTotal);
  // From the two-decimal texts shown, so the amount due is what the operator sees.
  InvRec.Due = AmountValue(Screen.total) - AmountValue(Screen.payments);
  Screen.due = AmountText(InvRec.Due);
}

void ShowTotals() {
  InvoiceTotal = Subtotal + InvRec.Ship + InvRec.Tax;
  Screen.total = AmountText(InvoiceTotal);
  InvRec.Due = InvoiceTotal - PaymentsTotal;
  Screen.due = AmountText(InvRec.Due);
}

void ComputeTaxes(bool recompute_line1) {
  const SettingsRecord& s = Settings;
  if ((s.TaxRate1 == 0 && s.TaxRate2 == 0) || ItemGrid.empty()) return;
  double base1 = 0;
  double base2 = 0;
  for (const ItemRow& line : ItemGrid) {
    const double total = LineTotal(line);
    if (line[3] == QLatin1String("t")) base1 += total;
    if (line[4] == QLatin1String("t")) base2 += total;
  }
  // The rate times the base is formed in extended precision and handed to
  // the rounding as a double, as the amounts have always been computed.
  if (recompute_line1) {
    if (s.TaxRate1 != 0) {
      InvRec.Ship = RoundTax(static_cast<double>(static_cast<long double>(s.TaxRate1) / 100.0L *
                                                 static_cast<long double>(base1)),
                             s.TaxRound);
    }
    Screen.ship = AmountText(InvRec.Ship);
  }
  if (s.ShipTax == 2 || (s.ShipTax == 3 && base2 != 0)) base2 += InvRec.Ship;
  if (s.TaxRate2 != 0) {
    InvRec.Tax = RoundTax(static_cast<double>(static_cast<long double>(s.TaxRate2) / 100.0L *
                                              static_cast<long double>(base2)),
                          s.TaxRound);
  }
  Screen.tax = AmountText(InvRec.Tax);
}

bool ChooseCustomer() {
  if (CustDb == nullptr) return false;
  if (InvRec.CuNo == 0) {
    SelectTag(CustDb, Settings.ByCust ? "cname" : "cComp");
    SelCust = d4top(CustDb) == r4success ? d4recNo(CustDb) : 0;
    store::TakeResult(store::Table::kCustomers);
  }
  bool is_new = false;
  if (!masterdata::PickCustomer(true, &is_new)) return false;
  if (d4go(CustDb, SelCust) != r4success) {
    store::TakeResult(store::Table::kCustomers);
    return false;
  }
  LoadCustomer();
  InvRec.CuNo = CustRec.cuno;
  BuildAddressBlock();
  ShowCustomer();
  return true;
}

void EditCustomer() {
  if (InvRec.CuNo == 0) {
    platform::Current().Inform(QStringLiteral("Customer not selected"));
    return;
  }
  if (CustDb == nullptr) return;
  SelectTag(CustDb, "CCNO");
  if (d4seek(CustDb, KeyText(PadNumber(InvRec.CuNo, 6)).constData()) != r4success) {
    store::TakeResult(store::Table::kCustomers);
    return;
  }
  SelCust = d4recNo(CustDb);
  platform::Current().ShowModal(platform::WindowId::kCustomer);
  if (SelCust > 0 && d4go(CustDb, SelCust) == r4success) {
    LoadCustomer();
    BuildAddressBlock();
    ShowCustomer();
  }
  store::TakeResult(store::Table::kCustomers);
}

// What was left in a field is also what the screen shows from now on, so
// redrawing the invoice never puts an older text back.
void DeptLeft(const QString& text) { Screen.dept = InvRec.Dept = text.trimmed(); }
void IMemoLeft(const QString& text) { Screen.imemo = InvRec.IMemo = text.trimmed(); }
void NoteLeft(const QString& text) { Screen.note = CustRec.note = text.trimmed(); }
void RemLeft(const QString& text) { Screen.rem = InvRec.REM = text; }

void DateChanged(TDate date) {
  // Kept in the invoice at once, so redrawing the invoice after a line or
  // payment change does not put the old date back.
  InvRec.IDate = CenturyWindow(date);
  Screen.date = InvRec.IDate;
}

void ShipTyped(const QString& text) {
  InvRec.Ship = AmountValue(text);
  Screen.ship = text;
  ComputeTaxes(false);
  ShowTotals();
}

void TaxTyped(const QString& text) {
  InvRec.Tax = AmountValue(text);
  Screen.tax = text;
  ShowTotals();
}

}  // namespace invoicing
