#include "store/dbFiles.h"

#include <QDir>
#include <QSet>
#include <variant>

#include "platform/Platform.h"
#include "store/EngineResult.h"
#include "util/DateUtil.h"
#include "util/MoneyUtil.h"
#include "util/TextUtil.h"

using store::Def;
using store::Table;

SettingsRecord Settings;
CustomerRecord CustRec;
GroupRecord GroupRec;
InvoiceRecord InvRec;
LineItemRecord ItemRec;
PaymentRecord PmtRec;
ProductRecord ProdRec;
PurchaseRecord PurRec;
LabelRecord LabelRec;

DATA4* SettingsDb = nullptr;
DATA4* CustDb = nullptr;
DATA4* GroupDb = nullptr;
DATA4* InvDb = nullptr;
DATA4* ItemDb = nullptr;
DATA4* PmtDb = nullptr;
DATA4* ProdDb = nullptr;
DATA4* PurDb = nullptr;
DATA4* LabelDb = nullptr;

SettingsFields SettingsFld{};
CustomerFields CustFld{};
GroupFields GroupFld{};
InvoiceFields InvFld{};
LineItemFields ItemFld{};
PaymentFields PmtFld{};
ProductFields ProdFld{};
PurchaseFields PurFld{};
LabelFields LabelFld{};

long SelCust = -1;
long SelGroup = -1;
long SelProd = -1;
long SelInv = -1;
long SelPur = -1;
long SelLab = -1;
bool PackPending = false;

QStringList AddressBlock{QString()};
std::vector<ItemRow> ItemGrid;
std::vector<PaymentRow> PaymentGrid;

int ItemLastRow() { return static_cast<int>(ItemGrid.size()) - 1; }
int PaymentLastRow() { return static_cast<int>(PaymentGrid.size()) - 1; }

namespace {

// --- Field conversion ------------------------------------------------------------
// Tables hold one byte per character (Latin-1), so stored widths are character counts.

QString Text(FIELD4* field) { return QString::fromLatin1(f4str(field)); }

QString Memo(FIELD4* field) {
  const char* text = f4memoStr(field);
  if (text == nullptr) return QString();
  return QString::fromLatin1(text, static_cast<qsizetype>(f4memoLen(field)));
}

TDate Date(FIELD4* field) { return TextToDate(Text(field)); }

bool Logical(FIELD4* field) { return f4true(field) > 0; }

void AssignText(FIELD4* field, const QString& text) {
  f4assign(field, text.left(store::kTextCut).toLatin1().constData());
}

// Trailing blanks, tabs and line ends go; leading ones stay.
QByteArray TrimmedMemo(const QString& text) {
  qsizetype end = text.size();
  while (end > 0 && text.at(end - 1).unicode() <= ' ') --end;
  return text.left(end).toLatin1();
}

void AssignDate(FIELD4* field, TDate date) {
  // DateToText gives an empty text for no date, which the engine pads to blanks.
  f4assign(field, DateToText(date).toLatin1().constData());
}

void AssignLogical(FIELD4* field, bool value) { f4assign(field, value ? "T" : "F"); }

// --- One field, by its description ---------------------------------------------

template <class... Handlers>
struct Overloaded : Handlers... {
  using Handlers::operator()...;
};

void LoadField(const store::FieldDef& field) {
  FIELD4* handle = *field.handle;
  std::visit(Overloaded{
                 [&](QString* text) { *text = field.type == 'M' ? Memo(handle) : Text(handle); },
                 [&](int* value) { *value = field.type == 'D' ? Date(handle) : f4int(handle); },
                 [&](long* value) { *value = f4long(handle); },
                 [&](double* value) { *value = f4double(handle); },
                 [&](bool* value) { *value = Logical(handle); },
             },
             field.member);
}

// False when a memo could not be written.
bool StoreField(const store::FieldDef& field) {
  FIELD4* handle = *field.handle;
  if (field.type == 'M') {
    const QByteArray memo = TrimmedMemo(*std::get<QString*>(field.member));
    return f4memoAssignN(handle, memo.constData(), static_cast<unsigned>(memo.size())) >= 0;
  }
  std::visit(Overloaded{
                 [&](const QString* text) { AssignText(handle, *text); },
                 [&](const int* value) {
                   field.type == 'D' ? AssignDate(handle, *value) : f4assignInt(handle, *value);
                 },
                 [&](const long* value) { f4assignLong(handle, *value); },
                 [&](const double* value) { f4assignDouble(handle, *value); },
                 [&](const bool* value) { AssignLogical(handle, *value); },
             },
             field.member);
  return true;
}

// Looks every field handle of the table up; a missing field fails the lookup.
bool FindFields(const store::TableDef& def, DATA4* data) {
  bool found = true;
  for (const store::FieldDef& field : def.fields) {
    *field.handle = d4field(data, field.name);
    if (*field.handle == nullptr) found = false;
  }
  return found;
}

void ForgetFields(const store::TableDef& def) {
  for (const store::FieldDef& field : def.fields) *field.handle = nullptr;
}

// Copies the current row into the table's record; nothing while it is not open.
void LoadRecord(Table table) {
  const store::TableDef& def = Def(table);
  if (*def.data == nullptr) return;
  for (const store::FieldDef& field : def.fields) LoadField(field);
}

// Writes the table's record into the current row; false when the table is
// not open or a memo could not be written.
bool StoreRecord(Table table) {
  const store::TableDef& def = Def(table);
  if (*def.data == nullptr) return false;
  bool stored = true;
  for (const store::FieldDef& field : def.fields) stored = StoreField(field) && stored;
  return stored;
}

// Stores the record and commits it.
bool StoreAndCommit(Table table) {
  DATA4* data = *Def(table).data;
  if (data == nullptr) return false;
  const bool stored = StoreRecord(table);
  return Recommit(data, table) && stored;
}

// A tag of the table by name, or null; a missing tag leaves no error pending.
TAG4* FindTag(DATA4* data, const char* name) {
  TAG4* tag = d4tag(data, name);
  if (tag == nullptr) store::TakeResult(data);
  return tag;
}

// Opens the settings table: no index group, its one row current.
// An open that failed: the table closed again and the open message shown.
bool OpenRefused(DATA4* data, const char* message) {
  CloseAfterFailure(data);
  OpenFailed(QString::fromLatin1(message));
  return false;
}

bool OpenUnindexed(const store::TableDef& def) {
  store::TakeResult(def.table);  // as for the indexed tables
  const int auto_open = code4autoOpen(cb, 0);
  DATA4* data = d4open(cb, def.name);
  const bool failed = !store::TakeResult(def.table).ok() || data == nullptr;
  code4autoOpen(cb, auto_open);
  if (failed || d4top(data) < 0 || !FindFields(def, data)) {
    return OpenRefused(data, def.open_message);
  }
  *def.data = data;
  return true;
}

bool OpenIndexed(const store::TableDef& def) {
  // Only this open's own failure counts: an error left over from an earlier,
  // unrelated call must not be reported as a table that cannot be opened.
  store::TakeResult(def.table);
  DATA4* data = d4open(cb, def.name);
  if (!store::TakeResult(def.table).ok() || data == nullptr) {
    return OpenRefused(data, def.open_message);
  }
  TAG4* tag = d4tag(data, def.opening_tag);
  const int selected = tag != nullptr ? d4tagSelect(data, tag) : e4tagName;
  if (!store::TakeResult(def.table, selected).ok()) return OpenRefused(data, def.tag_message);
  if (d4top(data) < 0 || !FindFields(def, data)) return OpenRefused(data, def.open_message);
  *def.data = data;
  return true;
}

}  // namespace

// --- Open ----------------------------------------------------------------------------

void CloseAfterFailure(DATA4* data) {
  if (data == nullptr) return;
  // The failure that led here is the one reported, not what closing met.
  store::TakeResult(data, d4close(data));
}

bool SelectTag(DATA4* data, TAG4* tag) {
  if (data == nullptr) return false;
  return store::TakeResult(data, d4tagSelect(data, tag)).ok();
}

bool SelectTag(DATA4* data, const char* name) {
  if (data == nullptr) return false;
  TAG4* tag = FindTag(data, name);
  return tag != nullptr && SelectTag(data, tag);
}

void OpenFailed(const QString& name) {
  platform::Current().Inform("Unable to open file " + name + "\r\n" +
                             "Program will now terminate." + kOpenFailedHint);
  // The program ends with a failure status; callers have taken the engine's
  // error already, so set one for the exit and clear it for the test hooks
  // that return.
  code4errorCode(cb, e4open);
  code4exit(cb);
  store::TakeResult(static_cast<DATA4*>(nullptr));
}

bool OpenTable(Table table) {
  const store::TableDef& def = Def(table);
  *def.data = nullptr;
  return def.Indexed() ? OpenIndexed(def) : OpenUnindexed(def);
}

bool OpenSettings() { return OpenTable(Table::kSettings); }
bool OpenCustomers() { return OpenTable(Table::kCustomers); }
bool OpenGroups() { return OpenTable(Table::kGroups); }
bool OpenInvoices() { return OpenTable(Table::kInvoices); }
bool OpenLineItems() { return OpenTable(Table::kLineItems); }
bool OpenPayments() { return OpenTable(Table::kPayments); }
bool OpenProducts() { return OpenTable(Table::kProducts); }
bool OpenPurchases() { return OpenTable(Table::kPurchases); }
bool OpenLabels() { return OpenTable(Table::kLabels); }

bool CloseAllTables() {
  bool closed = true;
  // Every table at once: the error names no one table.
  if (cb != nullptr) closed = store::TakeResult(static_cast<DATA4*>(nullptr), code4close(cb)).ok();
  // Handles of closed tables must not be used again: clear them all.
  for (const store::TableDef& def : store::AllTables()) {
    *def.data = nullptr;
    ForgetFields(def);
  }
  return closed;
}

namespace {

void ReportUnsaved(const store::TableDef& def) {
  platform::Current().Inform(QStringLiteral("Unable to save the changes to %1 at this time. "
                                            "Please check the disk and try again.")
                                 .arg(QString::fromLatin1(def.name)));
}

// Closes the settings table; false after telling the operator when it did
// not write what it held, unless `quiet` (a failure already told).
bool CloseSettingsTable(bool quiet) {
  bool closed = true;
  if (SettingsDb != nullptr) closed = store::TakeResult(Table::kSettings, d4close(SettingsDb)).ok();
  SettingsDb = nullptr;
  ForgetFields(Def(Table::kSettings));
  if (!closed && !quiet) ReportUnsaved(Def(Table::kSettings));
  return closed;
}

}  // namespace

bool CloseSettings() { return CloseSettingsTable(false); }

bool SaveSettings() {
  if (!OpenSettings()) return false;
  const bool stored = StoreSettings();
  return CloseSettingsTable(!stored) && stored;
}

bool FlushChanges(DATA4* data, Table table) {
  if (data == nullptr) return false;
  if (store::TakeResult(table, d4flush(data)).ok()) return true;
  ReportUnsaved(Def(table));
  return false;
}

bool Recommit(DATA4* data, Table table) {
  const store::TableDef& def = Def(table);
  if (!def.Indexed() || data == nullptr) return false;

  const long record = d4recNo(data);
  // Tag handles die with the table, so the selected tag is remembered by name.
  const char* tag_name = nullptr;
  if (TAG4* selected = d4tagSelected(data)) {
    for (const store::TagDef& tag : def.tags) {
      if (FindTag(data, tag.file) == selected) tag_name = tag.file;
    }
  }
  // Closing writes the row and its keys; when that fails the store did not
  // happen, and saying so lets the operator try again.
  const bool closed = store::TakeResult(table, d4close(data)).ok();
  if (*def.data == data) *def.data = nullptr;
  if (!OpenTable(table)) return false;

  DATA4* reopened = *def.data;
  // The opening tag and the top record stand when these fail.
  SelectTag(reopened, tag_name != nullptr ? FindTag(reopened, tag_name) : nullptr);
  if (record > 0 && d4go(reopened, record) < 0) store::TakeResult(table);
  if (!closed) {
    ReportUnsaved(def);
    return false;
  }
  return true;
}

bool ForgetUnwrittenAppend(DATA4* table, long* selection) {
  if (table == nullptr || *selection <= d4recCountDo(table)) return false;
  *selection = 0;
  return true;
}

// --- Load ----------------------------------------------------------------------------

void LoadSettings() { LoadRecord(Table::kSettings); }
void LoadCustomer() { LoadRecord(Table::kCustomers); }
void LoadGroup() { LoadRecord(Table::kGroups); }
void LoadInvoice() { LoadRecord(Table::kInvoices); }
void LoadLineItem() { LoadRecord(Table::kLineItems); }
void LoadPayment() { LoadRecord(Table::kPayments); }
void LoadProduct() { LoadRecord(Table::kProducts); }
void LoadPurchase() { LoadRecord(Table::kPurchases); }
void LoadLabel() { LoadRecord(Table::kLabels); }

// --- Store ---------------------------------------------------------------------------

// A preference is kept the moment it is changed.
bool StoreSettings() {
  return StoreRecord(Table::kSettings) && FlushChanges(SettingsDb, Table::kSettings);
}
bool StoreCustomer() { return StoreAndCommit(Table::kCustomers); }
bool StoreGroup() { return StoreAndCommit(Table::kGroups); }
bool StoreInvoice() { return StoreAndCommit(Table::kInvoices); }
bool StorePayment() { return StoreAndCommit(Table::kPayments); }
bool StorePurchase() { return StoreAndCommit(Table::kPurchases); }
bool StoreLabel() { return StoreAndCommit(Table::kLabels); }

// Line items and products are never stored as built or back-ordered.
bool StoreLineItem() {
  if (ItemDb == nullptr) return false;
  const bool stored = StoreRecord(Table::kLineItems);
  AssignLogical(ItemFld.lBuild, false);
  f4assignDouble(ItemFld.BackOrder, 0);
  return Recommit(ItemDb, Table::kLineItems) && stored;
}

bool StoreProduct() {
  if (ProdDb == nullptr) return false;
  const bool stored = StoreRecord(Table::kProducts);
  AssignLogical(ProdFld.lBuild, false);
  return Recommit(ProdDb, Table::kProducts) && stored;
}

// --- Lookups -------------------------------------------------------------------------

bool DataFilesPresent() { return DataFilesPresentIn(QDir::currentPath()); }

bool DataFilesPresentIn(const QString& directory) {
  // The engine matches file names without regard to case, so this does too.
  QSet<QString> present;
  for (const QString& name : QDir(directory).entryList(QDir::Files)) present.insert(name.toLower());
  for (const store::TableDef& def : store::AllTables()) {
    if (!present.contains(QString::fromLatin1(def.data_file).toLower())) return false;
  }
  return true;
}

long NextCustomerNo() {
  if (CustDb == nullptr || d4recCountDo(CustDb) <= 0) return 1;
  TAG4* remembered = d4tagSelected(CustDb);
  SelectTag(CustDb, "CCNo");
  long c = 0;
  for (int rc = d4top(CustDb); rc == r4success; rc = d4skip(CustDb, 1)) {
    const long number = f4long(CustFld.cuno);
    if (number > c + 1) break;
    c = number;
  }
  SelectTag(CustDb, remembered);
  // Lists start from the top again; a failed move leaves them where they are.
  store::TakeResult(Table::kCustomers, d4top(CustDb));
  return c + 1;
}

void FindGroup() {
  GroupRec = GroupRecord();
  if (GroupDb == nullptr) return;
  SelectTag(GroupDb, "nGroup");
  const QString key = PadNumber(CustRec.ngroup, 2);
  // A number wider than the key would match a shorter group number's prefix.
  if (key.size() == 2 && d4seek(GroupDb, KeyText(key).constData()) == r4success) LoadGroup();
}

void BuildAddressBlock() {
  const int title_width = Def(Table::kCustomers).Field("title")->length;
  const QString name_line = (CustRec.title.leftJustified(title_width) + " " +
                             CustRec.first.trimmed() + " " + CustRec.last)
                                .trimmed();
  const QString company = CustRec.addr1.trimmed();
  QStringList lines;
  if (Settings.ByCust) {
    lines << name_line << company;
  } else {
    lines << company << name_line;
  }
  lines << CustRec.addr2.trimmed() << CustRec.addr3.trimmed() << CustRec.addr4.trimmed();

  int last = 4;
  while (last > 0 && lines[last].isEmpty()) --last;
  const QString zip = CustRec.zip.trimmed();
  if (lines[last].size() > 22) {
    // A long last line sends the postal code to a line of its own; after an
    // over-long fifth line that is a sixth line rather than lost.
    const QString zip_line = QString(20, QLatin1Char(' ')) + zip;
    if (last + 1 < lines.size()) {
      lines[last + 1] = zip_line;
    } else {
      lines << zip_line;
    }
  } else {
    lines[last] += "  " + zip;
  }
  AddressBlock = lines;
}

bool LoadInvoiceForPrint() {
  AddressBlock = QStringList{QString()};
  if (InvDb == nullptr || CustDb == nullptr || SelInv <= 0 || d4go(InvDb, SelInv) != r4success) {
    store::TakeResult(Table::kInvoices);  // a bad record number must not fail the next open
    InvRec = InvoiceRecord();
    ItemGrid.clear();
    PaymentGrid.clear();
    return false;
  }
  LoadInvoice();
  LoadInvoiceItems();
  LoadInvoicePayments();
  SelectTag(CustDb, "CCNO");
  if (d4seek(CustDb, KeyText(PadNumber(InvRec.CuNo, 6)).constData()) == r4success) {
    LoadCustomer();
    SelCust = d4recNo(CustDb);
    BuildAddressBlock();
  }
  return true;
}

void LoadInvoiceItems() {
  ItemGrid.clear();
  if (ItemDb == nullptr) return;
  const long invoice = InvRec.IvNo;
  if (d4seek(ItemDb, KeyText(PadNumber(invoice, 6)).constData()) != r4success) return;
  int rc = r4success;
  while (rc == r4success && f4long(ItemFld.IvNo) == invoice) {
    LoadLineItem();
    ItemRow row;
    row[0] = ItemRec.PrID;
    row[1] = FixedText(ItemRec.Qty, 9, 2);
    row[2] = FixedText(ItemRec.UPR, 8, 2);
    row[3] = ItemRec.LTax1 ? "t" : "f";
    row[4] = ItemRec.LTax2 ? "t" : "f";
    row[5] = ItemRec.PDesc;
    row[6] = ItemRec.IComm.trimmed();
    if (ProdDb != nullptr && d4seek(ProdDb, f4str(ItemFld.PrID)) == r4success) {
      row[7] = Text(ProdFld.RCode).trimmed();
      row[8] = Memo(ProdFld.PMemo).trimmed();
    }
    ItemGrid.push_back(row);
    rc = d4skip(ItemDb, 1);
  }
}

void LoadInvoicePayments() {
  PaymentGrid.clear();
  if (PmtDb == nullptr) return;
  const long invoice = InvRec.IvNo;
  if (d4seek(PmtDb, KeyText(PadNumber(invoice, 6)).constData()) != r4success) return;
  int rc = r4success;
  while (rc == r4success && f4long(PmtFld.IvNo) == invoice) {
    LoadPayment();
    PaymentRow row;
    row[0] = ShortDateText(PmtRec.PDate);
    row[1] = FixedText(PmtRec.PAmt, 10, 2);
    row[2] = FixedText(PmtRec.GST, 10, 2);
    row[3] = PmtRec.lGST ? "T" : "F";
    PaymentGrid.push_back(row);
    rc = d4skip(PmtDb, 1);
  }
}
