#pragma once
// The one definition of every data table: file name, fields (name, type,
// width, decimals, and the record member and field handle each maps to), the
// index group with its tags, and the names used when a table cannot be
// opened. The open, load and store routines, the data tool (creating,
// checking and reindexing a data directory) and the tests all read it from
// here.
//
// Widths chosen here where the field list leaves them open:
//   PLM1    FontName C 40, FontSize N 3, LabID C 40 (a label stock's Name),
//           SigLine C 59 (its box has no limit; every text is cut to 59),
//           ShipLine and TaxLine C 30, LogoHeight/LogoWidth/TopMargin and
//           TaxRate1/TaxRate2 N 6.2 (99.99 with a sign), LHJustify, ShipTax,
//           TaxRound and GSTField N 1.
//   GROUPS  cGroup C 30.
//   INV5    Dept C 30; Ship, Tax and Due N 15.2 (an invoice total may exceed
//           the seven integer digits of one entry field).
//   ITM5    Qty, UPR, BackOrder N 12.2.
//   GSTPMT  PAmt, GST N 12.2.
//   Prod5   UPrice, REORDER, ONHAND N 12.2.
//   Pur5    PURQty N 12.2, PURCost N 15.2, PURNo N 8.
//   LABELS  TopM, LeftM, BottomM, RightM, Width, Height, HGap, VGap N 10.3.
// Every money or quantity field keeps two decimals and room for a minus sign
// in front of the largest value its entry mask admits.

#include <QString>
#include <span>
#include <variant>
#include <vector>

#include "engine/TableEngine.h"

namespace store {

// The member of the table's program-wide record a field loads into and is
// stored from: texts ('C') and memos ('M') a QString, dates ('D') whole days
// in an int, logicals a bool, numbers an int, a long or a double.
using RecordMember = std::variant<QString*, int*, long*, double*, bool*>;

struct FieldDef {
  const char* name;  // as the program spells it
  char type;         // 'C', 'N', 'D', 'L', 'M'
  int length;
  int decimals;
  RecordMember member;
  FIELD4** handle;  // the program-wide field handle the open routine fills
};

struct TagDef {
  const char* name;        // tag name as documented ("CName")
  const char* file;        // tag file stem; the file is file + ".ntx" ("cName")
  const char* expression;  // key expression
};

enum class Table {
  kSettings,
  kCustomers,
  kGroups,
  kInvoices,
  kLineItems,
  kLabels,
  kPayments,
  kProducts,
  kPurchases,
};

struct TableDef {
  Table table;
  const char* name;          // table name, also the stem of .dbf, .dbt and .cgp
  const char* open_message;  // name shown when the table cannot be opened ("CUST5.DBF")
  const char* tag_message;   // name shown when the opening tag is missing; null for PLM1
  const char* opening_tag;   // tag selected by the open routine; null for PLM1
  DATA4** data;              // the program-wide table handle
  std::span<const FieldDef> fields;
  std::span<const TagDef> tags;  // empty for PLM1

  const char* data_file;   // "CUST5.dbf"
  const char* memo_file;   // "CUST5.dbt"; null when the table has no memo field
  const char* group_file;  // "CUST5.cgp"; null for PLM1

  bool Indexed() const { return !tags.empty(); }
  const FieldDef* Field(const char* field_name) const;  // by name without regard to case
};

// The nine tables, in the order the data directory is tested at start-up:
// PLM1, CUST5, GROUPS, INV5, ITM5, LABELS, GSTPMT, Prod5, Pur5.
std::span<const TableDef> AllTables();
const TableDef& Def(Table table);
// Looks a table up by name without regard to case; null when unknown.
const TableDef* FindTable(const char* name);
// The indexed tables in the order their index groups are rebuilt:
// CUST5, GROUPS, Prod5, Pur5, INV5, ITM5, GSTPMT, LABELS.
std::vector<const TableDef*> ReindexOrder();

// The field list for d4create, ending with a null name.
std::vector<FIELD4INFO> CreateFieldList(const TableDef& def);
// The tag list for i4create (tag names are the tag file stems, so the files
// come out as named), ending with a null name.
std::vector<TAG4INFO> CreateTagList(const TableDef& def);

// Widths of text fields that editors limit their boxes to.
inline constexpr int kTextCut = 59;  // every text is cut to this before assignment

}  // namespace store
