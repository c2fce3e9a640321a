#pragma once
// The invoice being edited, without its window: a new or loaded invoice, the
// next invoice number, the two computed tax lines, the subtotal, total,
// payments and amount due, and the choice and editing of its customer. The
// header lives in InvRec, the lines and payments in ItemGrid and PaymentGrid,
// the customer in CustRec and AddressBlock (dbFiles.h); this unit adds the
// derived amounts and the texts the invoice window shows, which the window
// copies into its controls after every call. Needs CUST5, GROUPS, INV5, ITM5,
// GSTPMT and Prod5 open.

#include <QString>
#include <array>
#include <vector>

#include "store/dbFiles.h"
#include "util/DateUtil.h"

namespace invoicing {

// Columns of the invoice window's grid: product ID, description, price,
// quantity, total with the two tax flags.
inline constexpr int kGridColumns = 5;
using GridRow = std::array<QString, kGridColumns>;
// Data rows the grid has when it is reset (a title row and four data rows).
inline constexpr int kGridInitialRows = 4;

// The amount fields' format ("%10.2f": seven integer digits, two decimals).
inline constexpr char kAmountFormat[] = "%10.2f";

// What the invoice window shows. The document writes it; the window copies
// it into its controls and reports edits back through the calls below.
struct InvoiceScreen {
  QString ship_label;  // label of computed line 1: trimmed ShipLine + ":"
  QString tax_label;   // label of computed line 2: trimmed TaxLine + ":"
  QString invoice_no;  // Edit1: IvNo right-aligned in 6 characters
  TDate date = 0;      // DateTimePicker1
  QString dept;        // Edit2
  QString imemo;       // Edit3
  QString rem;         // Memo2
  QString customer;    // Memo1: the address block, each line ending in "\r\n"
  QString note;        // Edit4: the customer's note
  QString subtotal;    // MaskEdit2
  QString ship;        // MaskEdit3
  QString tax;         // MaskEdit4
  QString total;       // MaskEdit5
  QString payments;    // MaskEdit6
  QString due;         // MaskEdit7
  // The grid's data rows (its row count less the title row); never fewer
  // than kGridInitialRows, and ShowInvoice never shrinks it.
  std::vector<GridRow> rows;
};

extern InvoiceScreen Screen;
// The derived amounts beside the header, never stored.
extern double Subtotal;
extern double InvoiceTotal;
extern double PaymentsTotal;

// The value of an amount text as shown, with the locale's separator; 0 for
// a text that is not a number.
double AmountValue(const QString& text);
// The amount in the amount fields' format.
QString AmountText(double amount);
// A line's total: unit price times quantity read from their texts, rounded
// to cents with RoundMoney.
double LineTotal(const ItemRow& line);

// Opens the window's invoice: resets the grids and the address block, then
// starts a new invoice (SelInv 0 or less) or loads the one SelInv names, and
// shows it with its customer.
void OpenInvoiceDocument();
// Resets InvRec to a new, empty invoice with a provisional number and today's date.
void NewInvoice();
// The number a new invoice gets: the last number in "Inv" order plus 1, or 1
// for an empty table. Moves INV5's current record.
[[nodiscard]] long NextInvoiceNumber();
// Shows the header, the lines with the subtotal and total, then the payments.
void ShowInvoice();
// Shows the address block and note when the invoice has a customer.
void ShowCustomer();
// Totals the payments and shows them with the amount due.
void ShowPayments();
// Recomputes the total and amount due from the amounts in memory.
void ShowTotals();
// Recomputes the computed lines from the taxable line totals; line 1 only
// when asked (otherwise its current amount counts for tax on tax). Does
// nothing with both rates 0 or without lines.
void ComputeTaxes(bool recompute_line1);

// The Customer button: the customer pick list (New allowed); false when
// nothing was chosen.
[[nodiscard]] bool ChooseCustomer();
// The customer's Edit button: the customer editor on the invoice's customer.
void EditCustomer();

// Leaving the window's fields copies them into the invoice.
void DeptLeft(const QString& text);   // Edit2
void IMemoLeft(const QString& text);  // Edit3
void NoteLeft(const QString& text);   // Edit4: the customer's note in memory
void RemLeft(const QString& text);    // Memo2
void DateChanged(TDate date);         // DateTimePicker1
// A typed computed line 1: computed line 2 follows it when tax 2 is charged on it.
void ShipTyped(const QString& text);  // MaskEdit3
void TaxTyped(const QString& text);   // MaskEdit4

}  // namespace invoicing
