#include "store/dbFiles.h"

#include <strings.h>

#include <QDir>
#include <QSet>

#include "platform/Platform.h"
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

void AssignMemo(FIELD4* field, const QString& text) {
  f4memoAssign(field, TrimmedMemo(text).constData());
}

void AssignDate(FIELD4* field, TDate date) {
  // DateToText gives an empty text for no date, which the engine pads to blanks.
  f4assign(field, DateToText(date).toLatin1().constData());
}

void AssignLogical(FIELD4* field, bool value) { f4assign(field, value ? "T" : "F"); }

// --- Field lookup ------------------------------------------------------------------

// Looks a field up; a missing field makes the whole lookup fail.
class FieldFinder {
 public:
  explicit FieldFinder(DATA4* data) : data_(data) {}
  FIELD4* operator()(const char* name) {
    FIELD4* field = d4field(data_, name);
    if (field == nullptr) ok_ = false;
    return field;
  }
  bool ok() const { return ok_; }

 private:
  DATA4* data_;
  bool ok_ = true;
};

bool FindSettingsFields(DATA4* d) {
  FieldFinder f(d);
  SettingsFld = {f("FontName"), f("FontSize"),   f("LabID"),     f("Company"),   f("Addr1"),
                 f("Addr2"),    f("Addr3"),      f("Addr4"),     f("CloLine"),   f("SigLine"),
                 f("LogoFile"), f("LogoHeight"), f("LogoWidth"), f("TopMargin"), f("LHJustify"),
                 f("ShipLine"), f("TaxLine"),    f("TaxRate1"),  f("TaxRate2"),  f("ShipTax"),
                 f("TaxRound"), f("GSTField"),   f("ByCust"),    f("fifo")};
  return f.ok();
}

bool FindCustomerFields(DATA4* d) {
  FieldFinder f(d);
  CustFld = {f("cuno"),   f("title"), f("first"), f("last"), f("addr1"),
             f("addr2"),  f("addr3"), f("addr4"), f("zip"),  f("comments"),
             f("ngroup"), f("note"),  f("phone"), f("fax"),  f("email")};
  return f.ok();
}

bool FindGroupFields(DATA4* d) {
  FieldFinder f(d);
  GroupFld = {f("nGroup"), f("cGroup")};
  return f.ok();
}

bool FindInvoiceFields(DATA4* d) {
  FieldFinder f(d);
  InvFld = {f("IvNo"), f("CuNo"), f("Dept"), f("IDate"), f("IMemo"),
            f("Ship"), f("Tax"),  f("Due"),  f("REM")};
  return f.ok();
}

bool FindLineItemFields(DATA4* d) {
  FieldFinder f(d);
  ItemFld = {f("IvNo"),  f("PrID"),  f("Qty"),   f("UPR"),    f("LTax1"),
             f("LTax2"), f("PDesc"), f("IComm"), f("lBuild"), f("BackOrder")};
  return f.ok();
}

bool FindPaymentFields(DATA4* d) {
  FieldFinder f(d);
  PmtFld = {f("IvNo"), f("PDate"), f("PAmt"), f("GST"), f("lGST")};
  return f.ok();
}

bool FindProductFields(DATA4* d) {
  FieldFinder f(d);
  ProdFld = {f("PrID"),   f("RCode"), f("PDesc"), f("UPrice"),  f("LTax1"),  f("LTax2"),
             f("lInven"), f("IComm"), f("PMemo"), f("REORDER"), f("ONHAND"), f("lBuild")};
  return f.ok();
}

bool FindPurchaseFields(DATA4* d) {
  FieldFinder f(d);
  PurFld = {f("PURProd"), f("PURDate"), f("PURQty"), f("PURCost"), f("PURNo")};
  return f.ok();
}

bool FindLabelFields(DATA4* d) {
  FieldFinder f(d);
  LabelFld = {f("Name"),   f("TopM"), f("LeftM"), f("BottomM"), f("RightM"),    f("Width"),
              f("Height"), f("HGap"), f("VGap"),  f("NAcross"), f("Continuous")};
  return f.ok();
}

// A tag of the table by name, or null; a missing tag leaves no error pending.
TAG4* FindTag(DATA4* data, const char* name) {
  TAG4* tag = d4tag(data, name);
  if (tag == nullptr) code4errorCode(cb, 0);
  return tag;
}

// Opens an indexed table as every open routine does.
bool OpenIndexed(Table table, DATA4** handle, bool (*find_fields)(DATA4*)) {
  const store::TableDef& def = Def(table);
  *handle = nullptr;
  // Only this open's own failure counts: an error left over from an earlier,
  // unrelated call must not be reported as a table that cannot be opened.
  code4errorCode(cb, 0);
  DATA4* data = d4open(cb, def.name);
  if (code4errorCode(cb, 0) < 0 || data == nullptr) {
    if (data != nullptr) d4close(data);
    OpenFailed(QString::fromLatin1(def.open_message));
    return false;
  }
  TAG4* tag = d4tag(data, def.opening_tag);
  if (tag != nullptr) d4tagSelect(data, tag);
  if (code4errorCode(cb, 0) < 0 || tag == nullptr) {
    d4close(data);
    OpenFailed(QString::fromLatin1(def.tag_message));
    return false;
  }
  d4top(data);
  if (!find_fields(data)) {
    code4errorCode(cb, 0);
    d4close(data);
    OpenFailed(QString::fromLatin1(def.open_message));
    return false;
  }
  *handle = data;
  return true;
}

struct CommitTarget {
  const char* name;
  Table table;
  DATA4** handle;
  bool (*open)();
};

const CommitTarget kCommitTargets[] = {
    {"CUST", Table::kCustomers, &CustDb, &OpenCustomers},
    {"GROUPS", Table::kGroups, &GroupDb, &OpenGroups},
    {"INV", Table::kInvoices, &InvDb, &OpenInvoices},
    {"ITM", Table::kLineItems, &ItemDb, &OpenLineItems},
    {"PMT", Table::kPayments, &PmtDb, &OpenPayments},
    {"PROD", Table::kProducts, &ProdDb, &OpenProducts},
    {"PUR", Table::kPurchases, &PurDb, &OpenPurchases},
    {"LABELS", Table::kLabels, &LabelDb, &OpenLabels},
};

}  // namespace

// --- Open ----------------------------------------------------------------------------

void OpenFailed(const QString& name) {
  platform::Current().Inform("Unable to open file " + name + "\r\n" +
                             "Program will now terminate." + kOpenFailedHint);
  // The program ends with a failure status; callers have taken the engine's
  // error already, so set one for the exit and clear it for the test hooks
  // that return.
  code4errorCode(cb, e4open);
  code4exit(cb);
  code4errorCode(cb, 0);
}

bool OpenSettings() {
  const store::TableDef& def = Def(Table::kSettings);
  SettingsDb = nullptr;
  code4errorCode(cb, 0);  // as for the indexed tables
  const int auto_open = code4autoOpen(cb, 0);
  DATA4* data = d4open(cb, def.name);
  const bool failed = code4errorCode(cb, 0) < 0 || data == nullptr;
  code4autoOpen(cb, auto_open);
  if (failed || !FindSettingsFields(data)) {
    code4errorCode(cb, 0);
    if (data != nullptr) d4close(data);
    OpenFailed(QString::fromLatin1(def.open_message));
    return false;
  }
  d4top(data);
  SettingsDb = data;
  return true;
}

bool OpenCustomers() { return OpenIndexed(Table::kCustomers, &CustDb, &FindCustomerFields); }
bool OpenGroups() { return OpenIndexed(Table::kGroups, &GroupDb, &FindGroupFields); }
bool OpenInvoices() { return OpenIndexed(Table::kInvoices, &InvDb, &FindInvoiceFields); }
bool OpenLineItems() { return OpenIndexed(Table::kLineItems, &ItemDb, &FindLineItemFields); }
bool OpenPayments() { return OpenIndexed(Table::kPayments, &PmtDb, &FindPaymentFields); }
bool OpenProducts() { return OpenIndexed(Table::kProducts, &ProdDb, &FindProductFields); }
bool OpenPurchases() { return OpenIndexed(Table::kPurchases, &PurDb, &FindPurchaseFields); }
bool OpenLabels() { return OpenIndexed(Table::kLabels, &LabelDb, &FindLabelFields); }

void CloseAllTables() {
  if (cb != nullptr) code4close(cb);
  // Handles of closed tables must not be used again: clear them all.
  for (DATA4** handle :
       {&SettingsDb, &CustDb, &GroupDb, &InvDb, &ItemDb, &PmtDb, &ProdDb, &PurDb, &LabelDb}) {
    *handle = nullptr;
  }
  SettingsFld = {};
  CustFld = {};
  GroupFld = {};
  InvFld = {};
  ItemFld = {};
  PmtFld = {};
  ProdFld = {};
  PurFld = {};
  LabelFld = {};
}

void CloseSettings() {
  if (SettingsDb != nullptr) d4close(SettingsDb);
  SettingsDb = nullptr;
  SettingsFld = {};
}

namespace {

const CommitTarget* TargetNamed(const char* name) {
  const CommitTarget* target = nullptr;
  for (const CommitTarget& candidate : kCommitTargets) {
    if (strcasecmp(candidate.name, name) == 0) target = &candidate;
  }
  return target;
}

void ReportUnsaved(Table table) {
  platform::Current().Inform(QStringLiteral("Unable to save the changes to %1 at this time. "
                                            "Please check the disk and try again.")
                                 .arg(QString::fromLatin1(Def(table).name)));
}

}  // namespace

bool FlushChanges(DATA4* table, const char* name) {
  const CommitTarget* target = TargetNamed(name);
  if (target == nullptr || table == nullptr) return false;
  if (d4flush(table) == 0) return true;
  code4errorCode(cb, 0);  // reported here
  ReportUnsaved(target->table);
  return false;
}

bool Recommit(DATA4* table, const char* name) {
  const CommitTarget* target = TargetNamed(name);
  if (target == nullptr || table == nullptr) return false;

  const long record = d4recNo(table);
  // Tag handles die with the table, so the selected tag is remembered by name.
  const char* tag_name = nullptr;
  if (TAG4* selected = d4tagSelected(table)) {
    for (const store::TagDef& tag : Def(target->table).tags) {
      if (FindTag(table, tag.file) == selected) tag_name = tag.file;
    }
  }
  // Closing writes the row and its keys; when that fails the store did not
  // happen, and saying so lets the operator try again.
  const bool closed = d4close(table) == 0;
  if (*target->handle == table) *target->handle = nullptr;
  if (!target->open()) return false;

  DATA4* reopened = *target->handle;
  d4tagSelect(reopened, tag_name != nullptr ? FindTag(reopened, tag_name) : nullptr);
  if (record > 0) d4go(reopened, record);
  if (!closed) {
    ReportUnsaved(target->table);
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

void LoadSettings() {
  if (SettingsDb == nullptr) return;  // the table is not open
  const SettingsFields& f = SettingsFld;
  SettingsRecord& r = Settings;
  r.FontName = Text(f.FontName);
  r.FontSize = f4int(f.FontSize);
  r.LabID = Text(f.LabID);
  r.Company = Text(f.Company);
  r.Addr1 = Text(f.Addr1);
  r.Addr2 = Text(f.Addr2);
  r.Addr3 = Text(f.Addr3);
  r.Addr4 = Text(f.Addr4);
  r.CloLine = Text(f.CloLine);
  r.SigLine = Text(f.SigLine);
  r.LogoFile = Text(f.LogoFile);
  r.LogoHeight = f4double(f.LogoHeight);
  r.LogoWidth = f4double(f.LogoWidth);
  r.TopMargin = f4double(f.TopMargin);
  r.LHJustify = f4int(f.LHJustify);
  r.ShipLine = Text(f.ShipLine);
  r.TaxLine = Text(f.TaxLine);
  r.TaxRate1 = f4double(f.TaxRate1);
  r.TaxRate2 = f4double(f.TaxRate2);
  r.ShipTax = f4int(f.ShipTax);
  r.TaxRound = f4int(f.TaxRound);
  r.GSTField = f4int(f.GSTField);
  r.ByCust = Logical(f.ByCust);
  r.fifo = Logical(f.fifo);
}

void LoadCustomer() {
  if (CustDb == nullptr) return;  // the table is not open
  const CustomerFields& f = CustFld;
  CustomerRecord& r = CustRec;
  r.cuno = f4long(f.cuno);
  r.title = Text(f.title);
  r.first = Text(f.first);
  r.last = Text(f.last);
  r.addr1 = Text(f.addr1);
  r.addr2 = Text(f.addr2);
  r.addr3 = Text(f.addr3);
  r.addr4 = Text(f.addr4);
  r.zip = Text(f.zip);
  r.comments = Memo(f.comments);
  r.ngroup = f4int(f.ngroup);
  r.note = Text(f.note);
  r.phone = Text(f.phone);
  r.fax = Text(f.fax);
  r.email = Text(f.email);
}

void LoadGroup() {
  if (GroupDb == nullptr) return;  // the table is not open
  GroupRec.nGroup = f4int(GroupFld.nGroup);
  GroupRec.cGroup = Text(GroupFld.cGroup);
}

void LoadInvoice() {
  if (InvDb == nullptr) return;  // the table is not open
  const InvoiceFields& f = InvFld;
  InvoiceRecord& r = InvRec;
  r.IvNo = f4long(f.IvNo);
  r.CuNo = f4long(f.CuNo);
  r.Dept = Text(f.Dept);
  r.IDate = Date(f.IDate);
  r.IMemo = Text(f.IMemo);
  r.Ship = f4double(f.Ship);
  r.Tax = f4double(f.Tax);
  r.Due = f4double(f.Due);
  r.REM = Memo(f.REM);
}

void LoadLineItem() {
  if (ItemDb == nullptr) return;  // the table is not open
  const LineItemFields& f = ItemFld;
  LineItemRecord& r = ItemRec;
  r.IvNo = f4long(f.IvNo);
  r.PrID = Text(f.PrID);
  r.Qty = f4double(f.Qty);
  r.UPR = f4double(f.UPR);
  r.LTax1 = Logical(f.LTax1);
  r.LTax2 = Logical(f.LTax2);
  r.PDesc = Text(f.PDesc);
  r.IComm = Text(f.IComm);
  r.lBuild = Logical(f.lBuild);
  r.BackOrder = f4double(f.BackOrder);
}

void LoadPayment() {
  if (PmtDb == nullptr) return;  // the table is not open
  PmtRec.IvNo = f4long(PmtFld.IvNo);
  PmtRec.PDate = Date(PmtFld.PDate);
  PmtRec.PAmt = f4double(PmtFld.PAmt);
  PmtRec.GST = f4double(PmtFld.GST);
  PmtRec.lGST = Logical(PmtFld.lGST);
}

void LoadProduct() {
  if (ProdDb == nullptr) return;  // the table is not open
  const ProductFields& f = ProdFld;
  ProductRecord& r = ProdRec;
  r.PrID = Text(f.PrID);
  r.RCode = Text(f.RCode);
  r.PDesc = Text(f.PDesc);
  r.UPrice = f4double(f.UPrice);
  r.LTax1 = Logical(f.LTax1);
  r.LTax2 = Logical(f.LTax2);
  r.lInven = Logical(f.lInven);
  r.IComm = Text(f.IComm);
  r.PMemo = Memo(f.PMemo);
  r.REORDER = f4double(f.REORDER);
  r.ONHAND = f4double(f.ONHAND);
  r.lBuild = Logical(f.lBuild);
}

void LoadPurchase() {
  if (PurDb == nullptr) return;  // the table is not open
  PurRec.PURProd = Text(PurFld.PURProd);
  PurRec.PURDate = Date(PurFld.PURDate);
  PurRec.PURQty = f4double(PurFld.PURQty);
  PurRec.PURCost = f4double(PurFld.PURCost);
  PurRec.PURNo = f4long(PurFld.PURNo);
}

void LoadLabel() {
  if (LabelDb == nullptr) return;  // the table is not open
  const LabelFields& f = LabelFld;
  LabelRecord& r = LabelRec;
  r.Name = Text(f.Name);
  r.TopM = f4double(f.TopM);
  r.LeftM = f4double(f.LeftM);
  r.BottomM = f4double(f.BottomM);
  r.RightM = f4double(f.RightM);
  r.Width = f4double(f.Width);
  r.Height = f4double(f.Height);
  r.HGap = f4double(f.HGap);
  r.VGap = f4double(f.VGap);
  r.NAcross = f4int(f.NAcross);
  r.Continuous = Logical(f.Continuous);
}

// --- Store ---------------------------------------------------------------------------

bool StoreSettings() {
  if (SettingsDb == nullptr) return false;  // the table is not open
  const SettingsFields& f = SettingsFld;
  const SettingsRecord& r = Settings;
  AssignText(f.FontName, r.FontName);
  f4assignInt(f.FontSize, r.FontSize);
  AssignText(f.LabID, r.LabID);
  AssignText(f.Company, r.Company);
  AssignText(f.Addr1, r.Addr1);
  AssignText(f.Addr2, r.Addr2);
  AssignText(f.Addr3, r.Addr3);
  AssignText(f.Addr4, r.Addr4);
  AssignText(f.CloLine, r.CloLine);
  AssignText(f.SigLine, r.SigLine);
  AssignText(f.LogoFile, r.LogoFile);
  f4assignDouble(f.LogoHeight, r.LogoHeight);
  f4assignDouble(f.LogoWidth, r.LogoWidth);
  f4assignDouble(f.TopMargin, r.TopMargin);
  f4assignInt(f.LHJustify, r.LHJustify);
  AssignText(f.ShipLine, r.ShipLine);
  AssignText(f.TaxLine, r.TaxLine);
  f4assignDouble(f.TaxRate1, r.TaxRate1);
  f4assignDouble(f.TaxRate2, r.TaxRate2);
  f4assignInt(f.ShipTax, r.ShipTax);
  f4assignInt(f.TaxRound, r.TaxRound);
  f4assignInt(f.GSTField, r.GSTField);
  AssignLogical(f.ByCust, r.ByCust);
  AssignLogical(f.fifo, r.fifo);
  // A preference is kept the moment it is changed.
  if (d4flush(SettingsDb) == 0) return true;
  code4errorCode(cb, 0);  // reported here
  ReportUnsaved(Table::kSettings);
  return false;
}

bool StoreCustomer() {
  if (CustDb == nullptr) return false;  // the table is not open
  const CustomerFields& f = CustFld;
  const CustomerRecord& r = CustRec;
  f4assignLong(f.cuno, r.cuno);
  AssignText(f.title, r.title);
  AssignText(f.first, r.first);
  AssignText(f.last, r.last);
  AssignText(f.addr1, r.addr1);
  AssignText(f.addr2, r.addr2);
  AssignText(f.addr3, r.addr3);
  AssignText(f.addr4, r.addr4);
  AssignText(f.zip, r.zip);
  AssignMemo(f.comments, r.comments);
  f4assignInt(f.ngroup, r.ngroup);
  AssignText(f.note, r.note);
  AssignText(f.phone, r.phone);
  AssignText(f.fax, r.fax);
  AssignText(f.email, r.email);
  return Recommit(CustDb, "CUST");
}

bool StoreGroup() {
  if (GroupDb == nullptr) return false;  // the table is not open
  f4assignInt(GroupFld.nGroup, GroupRec.nGroup);
  AssignText(GroupFld.cGroup, GroupRec.cGroup);
  return Recommit(GroupDb, "GROUPS");
}

bool StoreInvoice() {
  if (InvDb == nullptr) return false;  // the table is not open
  const InvoiceFields& f = InvFld;
  const InvoiceRecord& r = InvRec;
  f4assignLong(f.IvNo, r.IvNo);
  f4assignLong(f.CuNo, r.CuNo);
  AssignText(f.Dept, r.Dept);
  AssignDate(f.IDate, r.IDate);
  AssignText(f.IMemo, r.IMemo);
  f4assignDouble(f.Ship, r.Ship);
  f4assignDouble(f.Tax, r.Tax);
  f4assignDouble(f.Due, r.Due);
  const QByteArray note = TrimmedMemo(r.REM);
  f4memoAssignN(f.REM, note.constData(), static_cast<unsigned>(note.size()));
  return Recommit(InvDb, "INV");
}

bool StoreLineItem() {
  if (ItemDb == nullptr) return false;  // the table is not open
  const LineItemFields& f = ItemFld;
  const LineItemRecord& r = ItemRec;
  f4assignLong(f.IvNo, r.IvNo);
  AssignText(f.PrID, r.PrID);
  f4assignDouble(f.Qty, r.Qty);
  f4assignDouble(f.UPR, r.UPR);
  AssignLogical(f.LTax1, r.LTax1);
  AssignLogical(f.LTax2, r.LTax2);
  AssignText(f.PDesc, r.PDesc);
  AssignText(f.IComm, r.IComm);
  AssignLogical(f.lBuild, false);
  f4assignDouble(f.BackOrder, 0);
  return Recommit(ItemDb, "ITM");
}

bool StorePayment() {
  if (PmtDb == nullptr) return false;  // the table is not open
  f4assignLong(PmtFld.IvNo, PmtRec.IvNo);
  AssignDate(PmtFld.PDate, PmtRec.PDate);
  f4assignDouble(PmtFld.PAmt, PmtRec.PAmt);
  f4assignDouble(PmtFld.GST, PmtRec.GST);
  AssignLogical(PmtFld.lGST, PmtRec.lGST);
  return Recommit(PmtDb, "PMT");
}

bool StoreProduct() {
  if (ProdDb == nullptr) return false;  // the table is not open
  const ProductFields& f = ProdFld;
  const ProductRecord& r = ProdRec;
  AssignText(f.PrID, r.PrID);
  AssignText(f.RCode, r.RCode);
  AssignText(f.PDesc, r.PDesc);
  f4assignDouble(f.UPrice, r.UPrice);
  AssignLogical(f.LTax1, r.LTax1);
  AssignLogical(f.LTax2, r.LTax2);
  AssignLogical(f.lInven, r.lInven);
  AssignText(f.IComm, r.IComm);
  AssignMemo(f.PMemo, r.PMemo);
  f4assignDouble(f.REORDER, r.REORDER);
  f4assignDouble(f.ONHAND, r.ONHAND);
  AssignLogical(f.lBuild, false);
  return Recommit(ProdDb, "PROD");
}

bool StorePurchase() {
  if (PurDb == nullptr) return false;  // the table is not open
  AssignText(PurFld.PURProd, PurRec.PURProd);
  AssignDate(PurFld.PURDate, PurRec.PURDate);
  f4assignDouble(PurFld.PURQty, PurRec.PURQty);
  f4assignDouble(PurFld.PURCost, PurRec.PURCost);
  f4assignLong(PurFld.PURNo, PurRec.PURNo);
  return Recommit(PurDb, "PUR");
}

bool StoreLabel() {
  if (LabelDb == nullptr) return false;  // the table is not open
  const LabelFields& f = LabelFld;
  const LabelRecord& r = LabelRec;
  AssignText(f.Name, r.Name);
  f4assignDouble(f.TopM, r.TopM);
  f4assignDouble(f.LeftM, r.LeftM);
  f4assignDouble(f.BottomM, r.BottomM);
  f4assignDouble(f.RightM, r.RightM);
  f4assignDouble(f.Width, r.Width);
  f4assignDouble(f.Height, r.Height);
  f4assignDouble(f.HGap, r.HGap);
  f4assignDouble(f.VGap, r.VGap);
  f4assignInt(f.NAcross, r.NAcross);
  AssignLogical(f.Continuous, r.Continuous);
  return Recommit(LabelDb, "LABELS");
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
  d4tagSelect(CustDb, FindTag(CustDb, "CCNo"));
  long c = 0;
  for (int rc = d4top(CustDb); rc == r4success; rc = d4skip(CustDb, 1)) {
    const long number = f4long(CustFld.cuno);
    if (number > c + 1) break;
    c = number;
  }
  d4tagSelect(CustDb, remembered);
  d4top(CustDb);
  return c + 1;
}

void FindGroup() {
  GroupRec = GroupRecord();
  if (GroupDb == nullptr) return;
  d4tagSelect(GroupDb, FindTag(GroupDb, "nGroup"));
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
    code4errorCode(cb, 0);  // a bad record number must not fail the next open
    InvRec = InvoiceRecord();
    ItemGrid.clear();
    PaymentGrid.clear();
    return false;
  }
  LoadInvoice();
  LoadInvoiceItems();
  LoadInvoicePayments();
  d4tagSelect(CustDb, FindTag(CustDb, "CCNO"));
  d4top(CustDb);
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
