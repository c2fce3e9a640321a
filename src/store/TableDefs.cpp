#include "store/TableDefs.h"

#include <strings.h>

namespace store {
namespace {

constexpr FieldDef kSettingsFields[] = {
    {"FontName", 'C', 40, 0}, {"FontSize", 'N', 3, 0},  {"LabID", 'C', 40, 0},
    {"Company", 'C', 35, 0},  {"Addr1", 'C', 35, 0},    {"Addr2", 'C', 35, 0},
    {"Addr3", 'C', 35, 0},    {"Addr4", 'C', 25, 0},    {"CloLine", 'C', 25, 0},
    {"SigLine", 'C', 59, 0},  {"LogoFile", 'C', 35, 0}, {"LogoHeight", 'N', 6, 2},
    {"LogoWidth", 'N', 6, 2}, {"TopMargin", 'N', 6, 2}, {"LHJustify", 'N', 1, 0},
    {"ShipLine", 'C', 30, 0}, {"TaxLine", 'C', 30, 0},  {"TaxRate1", 'N', 6, 2},
    {"TaxRate2", 'N', 6, 2},  {"ShipTax", 'N', 1, 0},   {"TaxRound", 'N', 1, 0},
    {"GSTField", 'N', 1, 0},  {"ByCust", 'L', 1, 0},    {"fifo", 'L', 1, 0},
};

constexpr FieldDef kCustomerFields[] = {
    {"cuno", 'N', 6, 0},   {"title", 'C', 3, 0},     {"first", 'C', 13, 0}, {"last", 'C', 20, 0},
    {"addr1", 'C', 34, 0}, {"addr2", 'C', 34, 0},    {"addr3", 'C', 34, 0}, {"addr4", 'C', 19, 0},
    {"zip", 'C', 10, 0},   {"comments", 'M', 10, 0}, {"ngroup", 'N', 2, 0}, {"note", 'C', 34, 0},
    {"phone", 'C', 20, 0}, {"fax", 'C', 20, 0},      {"email", 'C', 60, 0},
};

constexpr FieldDef kGroupFields[] = {
    {"nGroup", 'N', 2, 0},
    {"cGroup", 'C', 30, 0},
};

constexpr FieldDef kInvoiceFields[] = {
    {"IvNo", 'N', 6, 0},  {"CuNo", 'N', 6, 0},   {"Dept", 'C', 30, 0},
    {"IDate", 'D', 8, 0}, {"IMemo", 'C', 30, 0}, {"Ship", 'N', 15, 2},
    {"Tax", 'N', 15, 2},  {"Due", 'N', 15, 2},   {"REM", 'M', 10, 0},
};

constexpr FieldDef kLineItemFields[] = {
    {"IvNo", 'N', 6, 0},   {"PrID", 'C', 10, 0},      {"Qty", 'N', 12, 2},   {"UPR", 'N', 12, 2},
    {"LTax1", 'L', 1, 0},  {"LTax2", 'L', 1, 0},      {"PDesc", 'C', 27, 0}, {"IComm", 'C', 27, 0},
    {"lBuild", 'L', 1, 0}, {"BackOrder", 'N', 12, 2},
};

constexpr FieldDef kPaymentFields[] = {
    {"IvNo", 'N', 6, 0}, {"PDate", 'D', 8, 0}, {"PAmt", 'N', 12, 2},
    {"GST", 'N', 12, 2}, {"lGST", 'L', 1, 0},
};

constexpr FieldDef kProductFields[] = {
    {"PrID", 'C', 10, 0},  {"RCode", 'C', 10, 0},   {"PDesc", 'C', 27, 0},  {"UPrice", 'N', 12, 2},
    {"LTax1", 'L', 1, 0},  {"LTax2", 'L', 1, 0},    {"lInven", 'L', 1, 0},  {"IComm", 'C', 27, 0},
    {"PMemo", 'M', 10, 0}, {"REORDER", 'N', 12, 2}, {"ONHAND", 'N', 12, 2}, {"lBuild", 'L', 1, 0},
};

constexpr FieldDef kPurchaseFields[] = {
    {"PURProd", 'C', 10, 0}, {"PURDate", 'D', 8, 0}, {"PURQty", 'N', 12, 2},
    {"PURCost", 'N', 15, 2}, {"PURNo", 'N', 8, 0},
};

constexpr FieldDef kLabelFields[] = {
    {"Name", 'C', 40, 0},    {"TopM", 'N', 10, 3},      {"LeftM", 'N', 10, 3},
    {"BottomM", 'N', 10, 3}, {"RightM", 'N', 10, 3},    {"Width", 'N', 10, 3},
    {"Height", 'N', 10, 3},  {"HGap", 'N', 10, 3},      {"VGap", 'N', 10, 3},
    {"NAcross", 'N', 1, 0},  {"Continuous", 'L', 1, 0},
};

constexpr TagDef kCustomerTags[] = {
    {"CName", "cName", "Upper(Last + First)"},
    {"CCNO", "ccno", "Str(CuNo, 6)"},
    {"CZip", "czip", "Zip"},
    {"cComp", "ccomp", "Addr1"},
};
constexpr TagDef kGroupTags[] = {
    {"NGroup", "nGroup", "Str(nGroup, 2)"},
    {"CGroup", "cGroup", "Upper(cGroup)"},
};
constexpr TagDef kProductTags[] = {{"Prod", "Prod", "Upper(PrID)"}};
constexpr TagDef kPurchaseTags[] = {{"Pur", "Pur", "Upper(PurProd)+ DTOS(PURDATE)"}};
constexpr TagDef kInvoiceTags[] = {
    {"Inv", "inv", "Str(IvNo,6,0)"},
    {"InvC", "invc", "Str(CuNo,6,0)"},
    {"InvD", "invd", "DTOS(IDate)"},
};
constexpr TagDef kLineItemTags[] = {
    {"Itm", "itm", "Str(IvNo,6,0)"},
    {"ItmP", "itmP", "PrID + Str(IvNo,6,0)"},
};
constexpr TagDef kPaymentTags[] = {
    {"Pmt", "Pmt", "Str(IvNo,6,0)"},
    {"PmtD", "PmtD", "DTOS(PDate)"},
};
constexpr TagDef kLabelTags[] = {{"Labels", "Labels", "Name"}};

const TableDef kTables[] = {
    {Table::kSettings,
     "PLM1",
     "PLM1.DBF",
     nullptr,
     nullptr,
     nullptr,
     kSettingsFields,
     {},
     "PLM1.dbf",
     nullptr,
     nullptr},
    {Table::kCustomers, "CUST5", "CUST5.DBF", "AccTag.Ntx", "cname", "CUST", kCustomerFields,
     kCustomerTags, "CUST5.dbf", "CUST5.dbt", "CUST5.cgp"},
    {Table::kGroups, "GROUPS", "GROUPS.DBF", "AccTag.Ntx", "nGroup", "GROUPS", kGroupFields,
     kGroupTags, "GROUPS.dbf", nullptr, "GROUPS.cgp"},
    {Table::kInvoices, "INV5", "INV5.DBF", "Inv.Ntx", "Inv", "INV", kInvoiceFields, kInvoiceTags,
     "INV5.dbf", "INV5.dbt", "INV5.cgp"},
    {Table::kLineItems, "ITM5", "ITM5.DBF", "Itm.Ntx", "Itm", "ITM", kLineItemFields, kLineItemTags,
     "ITM5.dbf", nullptr, "ITM5.cgp"},
    {Table::kLabels, "LABELS", "LABELS.DBF", "Labels.Ntx", "Labels", "LABELS", kLabelFields,
     kLabelTags, "LABELS.dbf", nullptr, "LABELS.cgp"},
    {Table::kPayments, "GSTPMT", "GSTPMT.DBF", "Pmt.Ntx", "Pmt", "PMT", kPaymentFields,
     kPaymentTags, "GSTPMT.dbf", nullptr, "GSTPMT.cgp"},
    {Table::kProducts, "Prod5", "Prod5.DBF", "Prod.Ntx", "Prod", "PROD", kProductFields,
     kProductTags, "Prod5.dbf", "Prod5.dbt", "Prod5.cgp"},
    {Table::kPurchases, "Pur5", "Pur5.DBF", "Pur.Ntx", "Pur", "PUR", kPurchaseFields, kPurchaseTags,
     "Pur5.dbf", nullptr, "Pur5.cgp"},
};

}  // namespace

const FieldDef* TableDef::Field(const char* field_name) const {
  for (const FieldDef& field : fields) {
    if (strcasecmp(field.name, field_name) == 0) return &field;
  }
  return nullptr;
}

std::span<const TableDef> AllTables() { return kTables; }

const TableDef& Def(Table table) {
  for (const TableDef& def : kTables) {
    if (def.table == table) return def;
  }
  return kTables[0];  // unreachable: every enumerator has a definition
}

const TableDef* FindTable(const char* name) {
  for (const TableDef& def : kTables) {
    if (strcasecmp(def.name, name) == 0) return &def;
  }
  return nullptr;
}

std::vector<const TableDef*> ReindexOrder() {
  return {&Def(Table::kCustomers), &Def(Table::kGroups),   &Def(Table::kProducts),
          &Def(Table::kPurchases), &Def(Table::kInvoices), &Def(Table::kLineItems),
          &Def(Table::kPayments),  &Def(Table::kLabels)};
}

std::vector<FIELD4INFO> CreateFieldList(const TableDef& def) {
  std::vector<FIELD4INFO> list;
  for (const FieldDef& field : def.fields) {
    list.push_back({field.name, field.type, field.length, field.decimals});
  }
  list.push_back({nullptr, 0, 0, 0});
  return list;
}

std::vector<TAG4INFO> CreateTagList(const TableDef& def) {
  std::vector<TAG4INFO> list;
  for (const TagDef& tag : def.tags) list.push_back({tag.file, tag.expression, nullptr, 0, 0});
  list.push_back({nullptr, nullptr, nullptr, 0, 0});
  return list;
}

}  // namespace store
