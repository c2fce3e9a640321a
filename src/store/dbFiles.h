#pragma once
// The table catalogue in use: one program-wide record, table handle and set
// of field handles per table, the routines that open a table, copy its current
// row into the record (load) and write the record back (store, then
// Recommit), and the lookups built on them (next customer number, a
// customer's group and address block, an invoice with its line items and
// payments for printing). Also the selection numbers of the pick lists and the
// pack-pending flag. Every file lives in the current directory.

#include <QString>
#include <QStringList>
#include <array>
#include <vector>

#include "engine/TableEngine.h"
#include "store/CodeBase.h"
#include "store/TableDefs.h"
#include "util/DateUtil.h"

// --- Records -------------------------------------------------------------------
// One member per field, under the field's name. Texts are held as read (blank
// padded to the field width); dates are whole days, 0 for none.

struct SettingsRecord {
  QString FontName;
  int FontSize = 0;
  QString LabID;
  QString Company;
  QString Addr1;
  QString Addr2;
  QString Addr3;
  QString Addr4;
  QString CloLine;
  QString SigLine;
  QString LogoFile;
  double LogoHeight = 0;
  double LogoWidth = 0;
  double TopMargin = 0;
  int LHJustify = 1;
  QString ShipLine;
  QString TaxLine;
  double TaxRate1 = 0;
  double TaxRate2 = 0;
  int ShipTax = 1;
  int TaxRound = 1;
  int GSTField = 2;
  bool ByCust = true;
  bool fifo = true;
};

struct CustomerRecord {
  long cuno = 0;
  QString title;
  QString first;
  QString last;
  QString addr1;
  QString addr2;
  QString addr3;
  QString addr4;
  QString zip;
  QString comments;
  int ngroup = 0;
  QString note;
  QString phone;
  QString fax;
  QString email;
};

struct GroupRecord {
  int nGroup = 0;
  QString cGroup;
};

struct InvoiceRecord {
  long IvNo = 0;
  long CuNo = 0;
  QString Dept;
  TDate IDate = 0;
  QString IMemo;
  double Ship = 0;
  double Tax = 0;
  double Due = 0;
  QString REM;
};

struct LineItemRecord {
  long IvNo = 0;
  QString PrID;
  double Qty = 0;
  double UPR = 0;
  bool LTax1 = false;
  bool LTax2 = false;
  QString PDesc;
  QString IComm;
  bool lBuild = false;
  double BackOrder = 0;
};

struct PaymentRecord {
  long IvNo = 0;
  TDate PDate = 0;
  double PAmt = 0;
  double GST = 0;
  bool lGST = false;
};

struct ProductRecord {
  QString PrID;
  QString RCode;
  QString PDesc;
  double UPrice = 0;
  bool LTax1 = false;
  bool LTax2 = false;
  bool lInven = false;
  QString IComm;
  QString PMemo;
  double REORDER = 0;
  double ONHAND = 0;
  bool lBuild = false;
};

struct PurchaseRecord {
  QString PURProd;
  TDate PURDate = 0;
  double PURQty = 0;
  double PURCost = 0;
  long PURNo = 0;
};

struct LabelRecord {
  QString Name;
  double TopM = 0;
  double LeftM = 0;
  double BottomM = 0;
  double RightM = 0;
  double Width = 0;
  double Height = 0;
  double HGap = 0;
  double VGap = 0;
  int NAcross = 1;
  bool Continuous = false;
};

extern SettingsRecord Settings;  // lives for the whole run
extern CustomerRecord CustRec;
extern GroupRecord GroupRec;
extern InvoiceRecord InvRec;  // the current invoice's header
extern LineItemRecord ItemRec;
extern PaymentRecord PmtRec;
extern ProductRecord ProdRec;
extern PurchaseRecord PurRec;
extern LabelRecord LabelRec;

// --- Table and field handles ---------------------------------------------------
// Valid from the open routine until the table (or every table) is closed.

extern DATA4* SettingsDb;
extern DATA4* CustDb;
extern DATA4* GroupDb;
extern DATA4* InvDb;
extern DATA4* ItemDb;
extern DATA4* PmtDb;
extern DATA4* ProdDb;
extern DATA4* PurDb;
extern DATA4* LabelDb;

struct SettingsFields {
  FIELD4 *FontName, *FontSize, *LabID, *Company, *Addr1, *Addr2, *Addr3, *Addr4, *CloLine, *SigLine,
      *LogoFile, *LogoHeight, *LogoWidth, *TopMargin, *LHJustify, *ShipLine, *TaxLine, *TaxRate1,
      *TaxRate2, *ShipTax, *TaxRound, *GSTField, *ByCust, *fifo;
};
struct CustomerFields {
  FIELD4 *cuno, *title, *first, *last, *addr1, *addr2, *addr3, *addr4, *zip, *comments, *ngroup,
      *note, *phone, *fax, *email;
};
struct GroupFields {
  FIELD4 *nGroup, *cGroup;
};
struct InvoiceFields {
  FIELD4 *IvNo, *CuNo, *Dept, *IDate, *IMemo, *Ship, *Tax, *Due, *REM;
};
struct LineItemFields {
  FIELD4 *IvNo, *PrID, *Qty, *UPR, *LTax1, *LTax2, *PDesc, *IComm, *lBuild, *BackOrder;
};
struct PaymentFields {
  FIELD4 *IvNo, *PDate, *PAmt, *GST, *lGST;
};
struct ProductFields {
  FIELD4 *PrID, *RCode, *PDesc, *UPrice, *LTax1, *LTax2, *lInven, *IComm, *PMemo, *REORDER, *ONHAND,
      *lBuild;
};
struct PurchaseFields {
  FIELD4 *PURProd, *PURDate, *PURQty, *PURCost, *PURNo;
};
struct LabelFields {
  FIELD4 *Name, *TopM, *LeftM, *BottomM, *RightM, *Width, *Height, *HGap, *VGap, *NAcross,
      *Continuous;
};

extern SettingsFields SettingsFld;
extern CustomerFields CustFld;
extern GroupFields GroupFld;
extern InvoiceFields InvFld;
extern LineItemFields ItemFld;
extern PaymentFields PmtFld;
extern ProductFields ProdFld;
extern PurchaseFields PurFld;
extern LabelFields LabelFld;

// --- Selection numbers and the pack-pending flag -------------------------------
// Greater than 0: the physical record number of the chosen record; 0: New;
// -1: nothing chosen.
extern long SelCust;
extern long SelGroup;
extern long SelProd;
extern long SelInv;
extern long SelPur;
extern long SelLab;

// Set by deletions in the master data editors; cleared once the tables are packed.
extern bool PackPending;

// --- Grids filled for printing and the invoice window ---------------------------
inline constexpr int kItemColumns = 9;
inline constexpr int kPaymentColumns = 4;
using ItemRow = std::array<QString, kItemColumns>;
using PaymentRow = std::array<QString, kPaymentColumns>;

// Lines 0 to 4 of the customer's address; one empty line when there is no customer.
extern QStringList AddressBlock;
// Amounts in the grids are written as the operator types them, with the
// locale's decimal separator (FixedText).
// One row per line item: PrID, Qty "%9.2f", UPR "%8.2f", "t"/"f" LTax1, "t"/"f"
// LTax2, PDesc, IComm trimmed, the product's RCode trimmed, its PMemo trimmed.
extern std::vector<ItemRow> ItemGrid;
// One row per payment: PDate as a short date, PAmt "%10.2f", GST "%10.2f", "T"/"F" lGST.
extern std::vector<PaymentRow> PaymentGrid;
// Index of the last row; -1 when the grid is empty.
int ItemLastRow();
int PaymentLastRow();

// --- Open, load, store ---------------------------------------------------------
// Each open routine opens its table (indexed tables with all their tags),
// selects the opening tag, goes to the top and looks up the field handles. On
// failure it calls OpenFailed, which ends the program; should the platform
// let the program go on, the routine returns false and the handle is null.
[[nodiscard]] bool OpenSettings();
[[nodiscard]] bool OpenCustomers();
[[nodiscard]] bool OpenGroups();
[[nodiscard]] bool OpenInvoices();
[[nodiscard]] bool OpenLineItems();
[[nodiscard]] bool OpenPayments();
[[nodiscard]] bool OpenProducts();
[[nodiscard]] bool OpenPurchases();
[[nodiscard]] bool OpenLabels();

// Closes every open table (code4close) and clears the program-wide handles.
void CloseAllTables();
// Closes the settings table alone.
void CloseSettings();

void LoadSettings();
void LoadCustomer();
void LoadGroup();
void LoadInvoice();
void LoadLineItem();
void LoadPayment();
void LoadProduct();
void LoadPurchase();
void LoadLabel();

// Writes every settings field into the first row and flushes it; the caller
// closes the table. False after telling the operator when the disk would not
// take it (or the table is not open).
bool StoreSettings();
// The store routines of the indexed tables write the current row and then
// Recommit; false when the table is not open or could not be opened again.
// Load and store do nothing while their table is not open.
[[nodiscard]] bool StoreCustomer();
[[nodiscard]] bool StoreGroup();
[[nodiscard]] bool StoreInvoice();
[[nodiscard]] bool StoreLineItem();
[[nodiscard]] bool StorePayment();
[[nodiscard]] bool StoreProduct();
[[nodiscard]] bool StorePurchase();
[[nodiscard]] bool StoreLabel();

// The fatal open error: "Unable to open file " + name + "\r\n" + "Program will
// now terminate." and the hint below in an information box, then code4exit
// with a failure status.
void OpenFailed(const QString& name);
// What may mend a table that cannot be opened because of its index.
inline constexpr const char* kOpenFailedHint =
    "\r\nIf an index file is damaged, Reindex Data Files on the File Maintenance tab or "
    "\"pelmark-data reindex\" may mend it.";

// Commits a store: closes the table, opens it again with its open routine and
// puts it back under the tag and on the record it had. name is one of "CUST",
// "GROUPS", "INV", "ITM", "PMT", "PROD", "PUR", "LABELS". False when the table
// could not be opened again (or the name is unknown), and false after telling
// the operator when closing could not write the changes.
[[nodiscard]] bool Recommit(DATA4* table, const char* name);

// Writes the table's changes (a deletion mark, a recall, fields set in
// place) to the disk at once, so that what the operator finished survives
// the program stopping. name as for Recommit. False after telling the
// operator when the disk would not take them.
[[nodiscard]] bool FlushChanges(DATA4* table, const char* name);

// After a store that failed: when the record appended for it never reached
// the disk, the selection naming it is cleared (true), so the next save
// appends afresh instead of looking for a record that is not there.
bool ForgetUnwrittenAppend(DATA4* table, long* selection);

// --- Lookups -------------------------------------------------------------------
// True when the nine table files are present in the current directory.
bool DataFilesPresent();
// The same for another directory.
bool DataFilesPresentIn(const QString& directory);
// The first unused customer number (gaps are reused). Needs CUST5 open.
long NextCustomerNo();
// Loads the group of CustRec.ngroup into GroupRec; number 0 and an empty name
// when there is no such group. Needs GROUPS open.
void FindGroup();
// Fills AddressBlock from CustRec, in the order set by Settings.ByCust.
void BuildAddressBlock();
// Loads the invoice at record SelInv, its line items, its payments, its
// customer (setting SelCust) and the address block. Needs CUST5, INV5, ITM5,
// GSTPMT and Prod5 open. False (with the grids empty and the invoice record
// cleared) when SelInv names no record of INV5.
[[nodiscard]] bool LoadInvoiceForPrint();
// Fill ItemGrid / PaymentGrid with the lines / payments of InvRec.IvNo. ITM5
// must be under tag "Itm" and GSTPMT under "Pmt".
void LoadInvoiceItems();
void LoadInvoicePayments();
