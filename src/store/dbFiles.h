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
#include "store/Records.h"
#include "store/TableDefs.h"
#include "util/DateUtil.h"

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
[[nodiscard]] bool OpenTable(store::Table table);
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
// False when a table did not write what it held (the error is taken).
bool CloseAllTables();
// Closes the settings table alone; false after telling the operator when it
// did not write what it held.
[[nodiscard]] bool CloseSettings();
// Opens the settings table, stores Settings and closes it: a preference kept
// the moment it is changed. False after telling the operator when it could
// not be written.
[[nodiscard]] bool SaveSettings();

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
[[nodiscard]] bool StoreSettings();
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
// puts it back under the tag and on the record it had. False when the table
// could not be opened again (or is not an indexed table), and false after
// telling the operator when closing could not write the changes.
[[nodiscard]] bool Recommit(DATA4* data, store::Table table);

// Writes the table's changes (a deletion mark, a recall, fields set in
// place) to the disk at once, so that what the operator finished survives
// the program stopping. False after telling the operator when the disk
// would not take them.
[[nodiscard]] bool FlushChanges(DATA4* data, store::Table table);

// After a store that failed: when the record appended for it never reached
// the disk, the selection naming it is cleared (true), so the next save
// appends afresh instead of looking for a record that is not there.
bool ForgetUnwrittenAppend(DATA4* table, long* selection);

// Puts the table under its tag (null: record number order), or under the tag
// named name (a missing tag leaves the order as it was). False when the tag
// is missing or could not be selected; the error is taken.
bool SelectTag(DATA4* data, TAG4* tag);
bool SelectTag(DATA4* data, const char* name);
// Closes a table after a failure the caller reports; what closing met is
// taken, so that it is not blamed on a later call.
void CloseAfterFailure(DATA4* data);

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
