#include "store/TableDefs.h"

#include <strings.h>

#include "store/Records.h"

namespace store {
namespace {

constexpr FieldDef kSettingsFields[] = {
    {"FontName", 'C', 40, 0, &Settings.FontName, &SettingsFld.FontName},
    {"FontSize", 'N', 3, 0, &Settings.FontSize, &SettingsFld.FontSize},
    {"LabID", 'C', 40, 0, &Settings.LabID, &SettingsFld.LabID},
    {"Company", 'C', 35, 0, &Settings.Company, &SettingsFld.Company},
    {"Addr1", 'C', 35, 0, &Settings.Addr1, &SettingsFld.Addr1},
    {"Addr2", 'C', 35, 0, &Settings.Addr2, &SettingsFld.Addr2},
    {"Addr3", 'C', 35, 0, &Settings.Addr3, &SettingsFld.Addr3},
    {"Addr4", 'C', 25, 0, &Settings.Addr4, &SettingsFld.Addr4},
    {"CloLine", 'C', 25, 0, &Settings.CloLine, &SettingsFld.CloLine},
    {"SigLine", 'C', 59, 0, &Settings.SigLine, &SettingsFld.SigLine},
    {"LogoFile", 'C', 35, 0, &Settings.LogoFile, &SettingsFld.LogoFile},
    {"LogoHeight", 'N', 6, 2, &Settings.LogoHeight, &SettingsFld.LogoHeight},
    {"LogoWidth", 'N', 6, 2, &Settings.LogoWidth, &SettingsFld.LogoWidth},
    {"TopMargin", 'N', 6, 2, &Settings.TopMargin, &SettingsFld.TopMargin},
    {"LHJustify", 'N', 1, 0, &Settings.LHJustify, &SettingsFld.LHJustify},
    {"ShipLine", 'C', 30, 0, &Settings.ShipLine, &SettingsFld.ShipLine},
    {"TaxLine", 'C', 30, 0, &Settings.TaxLine, &SettingsFld.TaxLine},
    {"TaxRate1", 'N', 6, 2, &Settings.TaxRate1, &SettingsFld.TaxRate1},
    {"TaxRate2", 'N', 6, 2, &Settings.TaxRate2, &SettingsFld.TaxRate2},
    {"ShipTax", 'N', 1, 0, &Settings.ShipTax, &SettingsFld.ShipTax},
    {"TaxRound", 'N', 1, 0, &Settings.TaxRound, &SettingsFld.TaxRound},
    {"GSTField", 'N', 1, 0, &Settings.GSTField, &SettingsFld.GSTField},
    {"ByCust", 'L', 1, 0, &Settings.ByCust, &SettingsFld.ByCust},
    {"fifo", 'L', 1, 0, &Settings.fifo, &SettingsFld.fifo},
};

constexpr FieldDef kCustomerFields[] = {
    {"cuno", 'N', 6, 0, &CustRec.cuno, &CustFld.cuno},
    {"title", 'C', 3, 0, &CustRec.title, &CustFld.title},
    {"first", 'C', 13, 0, &CustRec.first, &CustFld.first},
    {"last", 'C', 20, 0, &CustRec.last, &CustFld.last},
    {"addr1", 'C', 34, 0, &CustRec.addr1, &CustFld.addr1},
    {"addr2", 'C', 34, 0, &CustRec.addr2, &CustFld.addr2},
    {"addr3", 'C', 34, 0, &CustRec.addr3, &CustFld.addr3},
    {"addr4", 'C', 19, 0, &CustRec.addr4, &CustFld.addr4},
    {"zip", 'C', 10, 0, &CustRec.zip, &CustFld.zip},
    {"comments", 'M', 10, 0, &CustRec.comments, &CustFld.comments},
    {"ngroup", 'N', 2, 0, &CustRec.ngroup, &CustFld.ngroup},
    {"note", 'C', 34, 0, &CustRec.note, &CustFld.note},
    {"phone", 'C', 20, 0, &CustRec.phone, &CustFld.phone},
    {"fax", 'C', 20, 0, &CustRec.fax, &CustFld.fax},
    {"email", 'C', 60, 0, &CustRec.email, &CustFld.email},
};

constexpr FieldDef kGroupFields[] = {
    {"nGroup", 'N', 2, 0, &GroupRec.nGroup, &GroupFld.nGroup},
    {"cGroup", 'C', 30, 0, &GroupRec.cGroup, &GroupFld.cGroup},
};

constexpr FieldDef kInvoiceFields[] = {
    {"IvNo", 'N', 6, 0, &InvRec.IvNo, &InvFld.IvNo},
    {"CuNo", 'N', 6, 0, &InvRec.CuNo, &InvFld.CuNo},
    {"Dept", 'C', 30, 0, &InvRec.Dept, &InvFld.Dept},
    {"IDate", 'D', 8, 0, &InvRec.IDate, &InvFld.IDate},
    {"IMemo", 'C', 30, 0, &InvRec.IMemo, &InvFld.IMemo},
    {"Ship", 'N', 15, 2, &InvRec.Ship, &InvFld.Ship},
    {"Tax", 'N', 15, 2, &InvRec.Tax, &InvFld.Tax},
    {"Due", 'N', 15, 2, &InvRec.Due, &InvFld.Due},
    {"REM", 'M', 10, 0, &InvRec.REM, &InvFld.REM},
};

constexpr FieldDef kLineItemFields[] = {
    {"IvNo", 'N', 6, 0, &ItemRec.IvNo, &ItemFld.IvNo},
    {"PrID", 'C', 10, 0, &ItemRec.PrID, &ItemFld.PrID},
    {"Qty", 'N', 12, 2, &ItemRec.Qty, &ItemFld.Qty},
    {"UPR", 'N', 12, 2, &ItemRec.UPR, &ItemFld.UPR},
    {"LTax1", 'L', 1, 0, &ItemRec.LTax1, &ItemFld.LTax1},
    {"LTax2", 'L', 1, 0, &ItemRec.LTax2, &ItemFld.LTax2},
    {"PDesc", 'C', 27, 0, &ItemRec.PDesc, &ItemFld.PDesc},
    {"IComm", 'C', 27, 0, &ItemRec.IComm, &ItemFld.IComm},
    {"lBuild", 'L', 1, 0, &ItemRec.lBuild, &ItemFld.lBuild},
    {"BackOrder", 'N', 12, 2, &ItemRec.BackOrder, &ItemFld.BackOrder},
};

constexpr FieldDef kPaymentFields[] = {
    {"IvNo", 'N', 6, 0, &PmtRec.IvNo, &PmtFld.IvNo},
    {"PDate", 'D', 8, 0, &PmtRec.PDate, &PmtFld.PDate},
    {"PAmt", 'N', 12, 2, &PmtRec.PAmt, &PmtFld.PAmt},
    {"GST", 'N', 12, 2, &PmtRec.GST, &PmtFld.GST},
    {"lGST", 'L', 1, 0, &PmtRec.lGST, &PmtFld.lGST},
};

constexpr FieldDef kProductFields[] = {
    {"PrID", 'C', 10, 0, &ProdRec.PrID, &ProdFld.PrID},
    {"RCode", 'C', 10, 0, &ProdRec.RCode, &ProdFld.RCode},
    {"PDesc", 'C', 27, 0, &ProdRec.PDesc, &ProdFld.PDesc},
    {"UPrice", 'N', 12, 2, &ProdRec.UPrice, &ProdFld.UPrice},
    {"LTax1", 'L', 1, 0, &ProdRec.LTax1, &ProdFld.LTax1},
    {"LTax2", 'L', 1, 0, &ProdRec.LTax2, &ProdFld.LTax2},
    {"lInven", 'L', 1, 0, &ProdRec.lInven, &ProdFld.lInven},
    {"IComm", 'C', 27, 0, &ProdRec.IComm, &ProdFld.IComm},
    {"PMemo", 'M', 10, 0, &ProdRec.PMemo, &ProdFld.PMemo},
    {"REORDER", 'N', 12, 2, &ProdRec.REORDER, &ProdFld.REORDER},
    {"ONHAND", 'N', 12, 2, &ProdRec.ONHAND, &ProdFld.ONHAND},
    {"lBuild", 'L', 1, 0, &ProdRec.lBuild, &ProdFld.lBuild},
};

constexpr FieldDef kPurchaseFields[] = {
    {"PURProd", 'C', 10, 0, &PurRec.PURProd, &PurFld.PURProd},
    {"PURDate", 'D', 8, 0, &PurRec.PURDate, &PurFld.PURDate},
    {"PURQty", 'N', 12, 2, &PurRec.PURQty, &PurFld.PURQty},
    {"PURCost", 'N', 15, 2, &PurRec.PURCost, &PurFld.PURCost},
    {"PURNo", 'N', 8, 0, &PurRec.PURNo, &PurFld.PURNo},
};

constexpr FieldDef kLabelFields[] = {
    {"Name", 'C', 40, 0, &LabelRec.Name, &LabelFld.Name},
    {"TopM", 'N', 10, 3, &LabelRec.TopM, &LabelFld.TopM},
    {"LeftM", 'N', 10, 3, &LabelRec.LeftM, &LabelFld.LeftM},
    {"BottomM", 'N', 10, 3, &LabelRec.BottomM, &LabelFld.BottomM},
    {"RightM", 'N', 10, 3, &LabelRec.RightM, &LabelFld.RightM},
    {"Width", 'N', 10, 3, &LabelRec.Width, &LabelFld.Width},
    {"Height", 'N', 10, 3, &LabelRec.Height, &LabelFld.Height},
    {"HGap", 'N', 10, 3, &LabelRec.HGap, &LabelFld.HGap},
    {"VGap", 'N', 10, 3, &LabelRec.VGap, &LabelFld.VGap},
    {"NAcross", 'N', 1, 0, &LabelRec.NAcross, &LabelFld.NAcross},
    {"Continuous", 'L', 1, 0, &LabelRec.Continuous, &LabelFld.Continuous},
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

constexpr TableDef kTables[] = {
    {Table::kSettings,
     "PLM1",
     "PLM1.DBF",
     nullptr,
     nullptr,
     &SettingsDb,
     kSettingsFields,
     {},
     "PLM1.dbf",
     nullptr,
     nullptr},
    {Table::kCustomers, "CUST5", "CUST5.DBF", "AccTag.Ntx", "cname", &CustDb, kCustomerFields,
     kCustomerTags, "CUST5.dbf", "CUST5.dbt", "CUST5.cgp"},
    {Table::kGroups, "GROUPS", "GROUPS.DBF", "AccTag.Ntx", "nGroup", &GroupDb, kGroupFields,
     kGroupTags, "GROUPS.dbf", nullptr, "GROUPS.cgp"},
    {Table::kInvoices, "INV5", "INV5.DBF", "Inv.Ntx", "Inv", &InvDb, kInvoiceFields, kInvoiceTags,
     "INV5.dbf", "INV5.dbt", "INV5.cgp"},
    {Table::kLineItems, "ITM5", "ITM5.DBF", "Itm.Ntx", "Itm", &ItemDb, kLineItemFields,
     kLineItemTags, "ITM5.dbf", nullptr, "ITM5.cgp"},
    {Table::kLabels, "LABELS", "LABELS.DBF", "Labels.Ntx", "Labels", &LabelDb, kLabelFields,
     kLabelTags, "LABELS.dbf", nullptr, "LABELS.cgp"},
    {Table::kPayments, "GSTPMT", "GSTPMT.DBF", "Pmt.Ntx", "Pmt", &PmtDb, kPaymentFields,
     kPaymentTags, "GSTPMT.dbf", nullptr, "GSTPMT.cgp"},
    {Table::kProducts, "Prod5", "Prod5.DBF", "Prod.Ntx", "Prod", &ProdDb, kProductFields,
     kProductTags, "Prod5.dbf", "Prod5.dbt", "Prod5.cgp"},
    {Table::kPurchases, "Pur5", "Pur5.DBF", "Pur.Ntx", "Pur", &PurDb, kPurchaseFields,
     kPurchaseTags, "Pur5.dbf", nullptr, "Pur5.cgp"},
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
