#pragma once
// Saving and deleting the invoice being edited: a new invoice is numbered
// (the first one ever by asking), its header written to INV5, its lines and
// payments overwrite the invoice's records in ITM5 and GSTPMT in order, with
// further ones appended and surplus ones deleted and packed away, and the
// customer's note written back. Deleting removes the invoice with its lines
// and payments.

#include <QString>

#include "util/DateUtil.h"

namespace invoicing {

// The window's fields that a save copies into the invoice.
struct WindowFields {
  TDate date = 0;  // DateTimePicker1
  QString dept;    // Edit2
  QString imemo;   // Edit3
  QString rem;     // Memo2
  QString ship;    // MaskEdit3
  QString tax;     // MaskEdit4
  QString due;     // MaskEdit7
  QString note;    // Edit4, the customer's note
};

// The window's fields as the document shows them now.
WindowFields ShownFields();

// Copies the window into the current invoice (date, department, reference,
// note, computed lines and amount due).
void CopyWindowToInvoice(const WindowFields& fields);

enum class SaveOutcome {
  kStays,       // refused or failed: the window stays with the invoice
  kClose,       // saved; the window closes (SelInv names the invoice)
  kNextInvoice  // saved; the window goes on with a new, empty invoice
};

// "Save". A new invoice whose earlier save failed after its header was
// appended completes that header rather than appending a second one.
[[nodiscard]] SaveOutcome SaveInvoice(const WindowFields& fields);

// "Delete", after the operator confirms; true when deleted (the window then
// closes with SelInv and SelCust naming the last invoice and customer). A
// pack that fails afterwards is reported; the invoice stays deleted.
[[nodiscard]] bool DeleteInvoice();

// The header record appended by a save of the new invoice that did not
// finish; 0 when there is none.
long UnfinishedHeaderRecord();
// Forgets it: a new invoice, or another invoice opened.
void ForgetUnfinishedHeader();

}  // namespace invoicing
