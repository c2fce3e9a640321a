#include "invoicing/InvoiceDocSave.h"

#include <cmath>
#include <initializer_list>
#include <utility>

#include "engine/TableEngine.h"
#include "invoicing/InvoiceDoc.h"
#include "platform/Platform.h"
#include "store/CodeBase.h"
#include "store/EngineResult.h"
#include "store/TableDefs.h"
#include "store/dbFiles.h"
#include "util/TextUtil.h"

namespace invoicing {
namespace {

// Invoice numbers are keyed as six characters; a number outside this range
// would break the order of every invoice, line and payment index.
inline constexpr long kLargestInvoiceNumber = 999999;

// A save of the new invoice that did not finish: the number it drew, and
// the header it appended and wrote (0 when that header did not reach the disk).
long unfinished_number = 0;
long unfinished_header = 0;

QByteArray InvoiceKey(long invoice) { return KeyText(PadNumber(invoice, 6)); }

// The first invoice's number, asked of the operator; 1 when the answer is
// cancelled, not a number, or not a number the invoice key can hold.
long FirstInvoiceNumber() {
  QString answer = QStringLiteral("1");
  if (!platform::Current().InputBox(
          QStringLiteral("FIRST INVOICE"),
          QStringLiteral("What invoice number would you like to start with?"), QStringLiteral("1"),
          &answer)) {
    return 1;
  }
  bool ok = false;
  const long number = answer.trimmed().toLong(&ok);
  return ok && number >= 1 && number <= kLargestInvoiceNumber ? number : 1;
}

// Whether `record` holds what `matches` expects and the invoice key of the
// selected tag leads to it. A store commits by closing the table, and a
// write that fails there is not reported; reading the record back is what
// shows that it reached the disk. A record appended by this save that did
// not arrive whole is marked deleted (when `discard`), so that it cannot
// turn up later as a second copy. The table is left on the record.
template <typename Matches>
bool RecordStored(DATA4* table, FIELD4* invoice_field, long record, bool discard, Matches matches) {
  const long invoice = InvRec.IvNo;
  bool stored = d4go(table, record) == r4success && d4deleted(table) == 0 && matches();
  if (stored) {
    int rc = d4seek(table, InvoiceKey(invoice).constData());
    while (rc == r4success && f4long(invoice_field) == invoice && d4recNo(table) != record) {
      rc = d4skip(table, 1);
    }
    stored = rc == r4success && d4recNo(table) == record;
  }
  store::TakeResult(table);
  if (d4go(table, record) == r4success && !stored && discard) {
    d4delete(table);
    // When the mark cannot be written now, it is with the table's next write.
    store::TakeResult(table, d4flush(table));
  }
  store::TakeResult(table);
  return stored;
}

// Writes one record per row into the invoice's records of an indexed table:
// the existing records are overwritten in their order, further rows
// appended, and records left over deleted. `table` is re-read after each
// store (the store closes and reopens the table). False, reported with
// `failure`, when a record could not be appended or written; false
// unreported when a store could not reopen the table (the program ends
// then). *deleted tells whether records were deleted.
template <typename Row, typename Store, typename Matches>
bool WriteRows(DATA4** table, FIELD4** invoice_field, const char* tag, const std::vector<Row>& rows,
               const QString& failure, Store store, Matches matches, bool* deleted) {
  *deleted = false;
  const long invoice = InvRec.IvNo;
  SelectTag(*table, tag);
  bool appending = d4seek(*table, InvoiceKey(invoice).constData()) != r4success;
  store::TakeResult(*table);
  for (const Row& row : rows) {
    if (appending && d4appendBlank(*table) != r4success) {
      store::TakeResult(*table);
      platform::Current().Inform(failure);
      return false;
    }
    const long record = d4recNo(*table);
    // A store that could not be written has told the operator; what reached
    // the disk is still checked, so a half-written new record is discarded.
    const bool saved = store(row);
    if (*table == nullptr) return false;  // it could not be opened again
    if (!RecordStored(*table, *invoice_field, record, appending, [&] { return matches(row); })) {
      if (saved) platform::Current().Inform(failure);
      return false;
    }
    if (!saved) return false;
    if (!appending) {
      const int rc = d4skip(*table, 1);
      if (rc != r4success || f4long(*invoice_field) != invoice) appending = true;
    }
  }
  if (!appending) {
    int rc = r4success;
    while (rc == r4success && f4long(*invoice_field) == invoice) {
      d4delete(*table);
      *deleted = true;
      rc = d4skip(*table, 1);
    }
  }
  if (!store::TakeResult(*table, d4flush(*table)).ok()) {
    platform::Current().Inform(failure);
    return false;
  }
  return true;
}

bool SameAmount(double stored, const QString& text) {
  return std::fabs(stored - AmountValue(text)) < 0.005;
}

bool LineMatches(const ItemRow& line) {
  LoadLineItem();
  return ItemRec.IvNo == InvRec.IvNo &&
         ItemRec.PrID.trimmed() == line[0].left(ItemRec.PrID.size()).trimmed() &&
         SameAmount(ItemRec.Qty, line[1]) && SameAmount(ItemRec.UPR, line[2]);
}

bool PaymentMatches(const PaymentRow& payment) {
  LoadPayment();
  return PmtRec.IvNo == InvRec.IvNo && PmtRec.PDate == CenturyWindow(ShortTextToDate(payment[0])) &&
         SameAmount(PmtRec.PAmt, payment[1]) && SameAmount(PmtRec.GST, payment[2]);
}

bool StoreLine(const ItemRow& line) {
  ItemRec = LineItemRecord();
  ItemRec.IvNo = InvRec.IvNo;
  ItemRec.PrID = line[0];
  ItemRec.Qty = AmountValue(line[1]);
  ItemRec.UPR = AmountValue(line[2]);
  ItemRec.LTax1 = line[3] == QLatin1String("t");
  ItemRec.LTax2 = line[4] == QLatin1String("t");
  ItemRec.PDesc = line[5];
  ItemRec.IComm = line[6];
  return StoreLineItem();
}

bool StoreOnePayment(const PaymentRow& payment) {
  PmtRec = PaymentRecord();
  PmtRec.IvNo = InvRec.IvNo;
  PmtRec.PDate = CenturyWindow(ShortTextToDate(payment[0]));
  PmtRec.PAmt = AmountValue(payment[1]);
  PmtRec.GST = AmountValue(payment[2]);
  PmtRec.lGST = payment[3] == QLatin1String("T");
  return StorePayment();
}

// Deletes the records of the invoice from an indexed table under its invoice
// tag; true when one was deleted.
bool DeleteRows(DATA4* table, FIELD4* invoice_field, const char* tag) {
  if (table == nullptr) return false;
  const long invoice = InvRec.IvNo;
  SelectTag(table, tag);
  bool deleted = false;
  int rc = d4seek(table, InvoiceKey(invoice).constData());
  while (rc == r4success && f4long(invoice_field) == invoice) {
    d4delete(table);
    deleted = true;
    rc = d4skip(table, 1);
  }
  store::TakeResult(table);
  return deleted;
}

void ResetGrids() {
  ItemGrid.clear();
  PaymentGrid.clear();
  AddressBlock = QStringList{QString()};
  Screen.rows.assign(kGridInitialRows, GridRow());
}

// Packs the tables whose records were deleted. False after telling the
// operator when a pack failed: the deleted records stay marked, out of every
// list and report, until the next pack of the data files.
bool PackDeleted(std::initializer_list<std::pair<bool, store::Table>> tables) {
  QStringList failures;
  for (const auto& [deleted, table] : tables) {
    if (!deleted) continue;
    const store::Result result = store::TakeResult(table, d4pack(*store::Def(table).data));
    if (!result.ok()) failures << result.words;
  }
  if (failures.isEmpty()) return true;
  platform::Current().Inform(
      "The deleted records could not be removed from the data files at this time:\r\n" +
      failures.join("\r\n") +
      "\r\nThey stay marked as deleted, and Pack Data Files on the File Maintenance tab "
      "removes them.");
  return false;
}

// The record number of the last record in the selected tag, 0 when none.
long LastRecord(DATA4* table) {
  if (table == nullptr) return 0;
  const long record = d4bottom(table) == r4success ? d4recNo(table) : 0;
  store::TakeResult(table);
  return record;
}

}  // namespace

long UnfinishedHeaderRecord() { return unfinished_header; }

void ForgetUnfinishedHeader() {
  unfinished_number = 0;
  unfinished_header = 0;
}

WindowFields ShownFields() {
  WindowFields fields;
  fields.date = Screen.date;
  fields.dept = Screen.dept;
  fields.imemo = Screen.imemo;
  fields.rem = Screen.rem;
  fields.ship = Screen.ship;
  fields.tax = Screen.tax;
  fields.due = Screen.due;
  fields.note = Screen.note;
  return fields;
}

void CopyWindowToInvoice(const WindowFields& fields) {
  InvRec.IDate = CenturyWindow(fields.date);
  InvRec.Dept = fields.dept;
  InvRec.IMemo = fields.imemo;
  InvRec.REM = fields.rem;
  InvRec.Ship = AmountValue(fields.ship);
  InvRec.Tax = AmountValue(fields.tax);
  InvRec.Due = AmountValue(fields.due);
}

namespace {

// Puts InvDb on the invoice's header record: the record being edited, the
// header an unfinished save appended, or a new record under the next
// number (asked of the operator for the first invoice). False, told, when
// there is none to write.
bool PlaceHeader(bool* appended) {
  platform::Platform& ui = platform::Current();
  *appended = false;
  if (SelInv > 0) {
    // An invoice being edited keeps its number and its record.
    if (d4go(InvDb, SelInv) == r4success) return true;
    store::TakeResult(store::Table::kInvoices);
    return false;
  }
  if (unfinished_header > 0 && d4go(InvDb, unfinished_header) == r4success &&
      d4deleted(InvDb) == 0 && f4long(InvFld.IvNo) == unfinished_number) {
    // An earlier save of this invoice wrote its header and then failed:
    // complete that header instead of numbering the invoice a second time.
    InvRec.IvNo = unfinished_number;
    return true;
  }
  store::TakeResult(store::Table::kInvoices);
  if (unfinished_number > 0) {
    // Its header did not reach the disk; the invoice keeps the number it drew.
    InvRec.IvNo = unfinished_number;
  } else {
    InvRec.IvNo = NextInvoiceNumber();
    if (InvRec.IvNo == 1) InvRec.IvNo = FirstInvoiceNumber();
    if (InvRec.IvNo > kLargestInvoiceNumber) {
      // Refused before anything is written: the number would not fit its field.
      ui.Inform(QStringLiteral(
          "Invoice numbers have reached 999999, the highest an invoice can have, so no new "
          "invoice can be saved.\r\nBack up the data files and keep further invoices in a new "
          "set of data files, or delete invoice 999999 if it was numbered by mistake."));
      return false;
    }
  }
  if (d4appendBlank(InvDb) != r4success) {
    store::TakeResult(store::Table::kInvoices);
    ui.Inform(QStringLiteral("Unable to add invoice at this time. Please try again later"));
    return false;
  }
  unfinished_number = InvRec.IvNo;
  *appended = true;
  return true;
}

// Stores the header on the record PlaceHeader chose and reads it back;
// its record number, or 0 (told) when it did not reach the disk.
long WriteHeader(bool appended) {
  const long header_record = d4recNo(InvDb);
  const bool header_saved = StoreInvoice();  // a failure has been told
  if (InvDb == nullptr) return 0;            // it could not be opened again
  SelectTag(InvDb, "Inv");
  if (!RecordStored(InvDb, InvFld.IvNo, header_record, appended,
                    [] { return f4long(InvFld.IvNo) == InvRec.IvNo; })) {
    if (appended) unfinished_header = 0;
    if (header_saved) {
      platform::Current().Inform(
          QStringLiteral("Unable to add invoice at this time. Please try again later"));
    }
    return 0;
  }
  if (SelInv <= 0) unfinished_header = header_record;
  return header_saved ? header_record : 0;
}

// The customer's note as typed in the invoice window; false, told, when it
// could not be written (saving again writes it once more).
bool SaveCustomerNote(const QString& note) {
  SelectTag(CustDb, "CCNO");
  CustRec.note = note.trimmed();
  bool note_saved = true;
  if (d4seek(CustDb, InvoiceKey(InvRec.CuNo).constData()) == r4success) {
    f4assign(CustFld.note, CustRec.note.left(store::kTextCut).toLatin1().constData());
    note_saved = d4flush(CustDb) == 0;
  }
  store::TakeResult(store::Table::kCustomers);
  SelectTag(CustDb, "cname");
  if (!note_saved) {
    platform::Current().Inform(
        QStringLiteral("Unable to save the changes to CUST5 at this time. "
                       "Please check the disk and try again."));
  }
  return note_saved;
}

}  // namespace

SaveOutcome SaveInvoice(const WindowFields& fields) {
  platform::Platform& ui = platform::Current();
  if (InvRec.CuNo == 0) {
    ui.Inform(QStringLiteral("Customer selection required before saving."));
    return SaveOutcome::kStays;
  }
  if (InvDb == nullptr || ItemDb == nullptr || PmtDb == nullptr || CustDb == nullptr) {
    return SaveOutcome::kStays;
  }
  CopyWindowToInvoice(fields);

  bool appended = false;
  if (!PlaceHeader(&appended)) return SaveOutcome::kStays;
  const long header_record = WriteHeader(appended);
  if (header_record == 0) return SaveOutcome::kStays;

  bool line_deleted = false;
  if (!WriteRows(&ItemDb, &ItemFld.IvNo, "Itm", ItemGrid,
                 QStringLiteral("Unable to add invoice Items at this time. Please try again later"),
                 StoreLine, LineMatches, &line_deleted)) {
    return SaveOutcome::kStays;
  }
  bool payment_deleted = false;
  if (!WriteRows(&PmtDb, &PmtFld.IvNo, "Pmt", PaymentGrid,
                 QStringLiteral("Unable to add Payments at this time. Please try again later"),
                 StoreOnePayment, PaymentMatches, &payment_deleted)) {
    return SaveOutcome::kStays;
  }
  // The invoice is stored once its note is.
  if (!SaveCustomerNote(fields.note)) return SaveOutcome::kStays;

  // Rows a pack could not remove stay marked deleted.
  PackDeleted({{line_deleted, store::Table::kLineItems}, {payment_deleted, store::Table::kPayments}});

  ResetGrids();
  ForgetUnfinishedHeader();
  if (SelInv > 0) return SaveOutcome::kClose;
  if (ui.AskYesNo(QStringLiteral("Add another invoice?")) == platform::Answer::kNo) {
    SelInv = header_record;
    return SaveOutcome::kClose;
  }
  NewInvoice();
  ShowInvoice();
  ShowCustomer();
  return SaveOutcome::kNextInvoice;
}

bool DeleteInvoice() {
  platform::Platform& ui = platform::Current();
  if (ui.AskOkCancel(QStringLiteral("Are you sure you want to delete this invoice?")) !=
      platform::Answer::kOk) {
    return false;
  }
  if (InvDb == nullptr || ItemDb == nullptr || PmtDb == nullptr) return false;
  const bool line_deleted = DeleteRows(ItemDb, ItemFld.IvNo, "Itm");
  const bool payment_deleted = DeleteRows(PmtDb, PmtFld.IvNo, "Pmt");
  // A new invoice has no header, unless a save that did not finish appended one.
  const long header = SelInv > 0 ? SelInv : unfinished_header;
  if (header > 0 && d4go(InvDb, header) == r4success) d4delete(InvDb);
  store::TakeResult(store::Table::kInvoices);
  ForgetUnfinishedHeader();

  PackDeleted({{line_deleted, store::Table::kLineItems},
               {payment_deleted, store::Table::kPayments},
               {true, store::Table::kInvoices}});
  bool reopened = Recommit(InvDb, store::Table::kInvoices);
  reopened = Recommit(ItemDb, store::Table::kLineItems) && reopened;
  reopened = Recommit(PmtDb, store::Table::kPayments) && reopened;
  ResetGrids();
  SelCust = LastRecord(CustDb);
  SelInv = reopened ? LastRecord(InvDb) : -1;
  return true;
}

}  // namespace invoicing
