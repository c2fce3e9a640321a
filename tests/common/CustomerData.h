#pragma once
// Customers, groups, invoices with their lines, and label stocks written
// straight through the engine into a test's data directory; every table is
// closed again, so the code under test opens them itself.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "engine/TableEngine.h"
#include "masterdata/GroupEdit.h"
#include "store/dbFiles.h"
#include "testing/ScriptedPlatform.h"

namespace test_support {

struct CustomerRow {
  long cuno;
  const char* last;
  const char* first = "";
  const char* company = "";
  int group = 1;
  const char* zip = "";
  const char* addr2 = "";
  const char* addr3 = "";
  const char* addr4 = "";
  const char* title = "";
};
struct LineRow {
  const char* product;
  double qty;
  double price;
};
struct InvoiceRow {
  long ivno;
  long cuno;
  const char* date;  // "yyyymmdd"
  double due = 0;
  std::vector<LineRow> items = {};
};

inline void AddGroups(const std::vector<std::pair<int, const char*>>& groups) {
  ASSERT_TRUE(OpenGroups());
  for (const auto& [number, name] : groups) {
    ASSERT_EQ(d4appendBlank(GroupDb), 0);
    f4assignInt(GroupFld.nGroup, number);
    f4assign(GroupFld.cGroup, name);
  }
  CloseAllTables();
}

inline void AddCustomers(const std::vector<CustomerRow>& customers) {
  ASSERT_TRUE(OpenCustomers());
  const CustomerFields& f = CustFld;
  for (const CustomerRow& c : customers) {
    ASSERT_EQ(d4appendBlank(CustDb), 0);
    f4assignLong(f.cuno, c.cuno);
    f4assignInt(f.ngroup, c.group);
    const std::pair<FIELD4*, const char*> texts[] = {
        {f.title, c.title}, {f.first, c.first}, {f.last, c.last},   {f.addr1, c.company},
        {f.addr2, c.addr2}, {f.addr3, c.addr3}, {f.addr4, c.addr4}, {f.zip, c.zip}};
    for (const auto& [field, text] : texts) f4assign(field, text);
  }
  CloseAllTables();
}

inline void AddInvoices(const std::vector<InvoiceRow>& invoices) {
  ASSERT_TRUE(OpenInvoices() && OpenLineItems());
  for (const InvoiceRow& invoice : invoices) {
    ASSERT_EQ(d4appendBlank(InvDb), 0);
    f4assignLong(InvFld.IvNo, invoice.ivno);
    f4assignLong(InvFld.CuNo, invoice.cuno);
    f4assign(InvFld.IDate, invoice.date);
    f4assignDouble(InvFld.Due, invoice.due);
    for (const LineRow& item : invoice.items) {
      ASSERT_EQ(d4appendBlank(ItemDb), 0);
      f4assignLong(ItemFld.IvNo, invoice.ivno);
      f4assign(ItemFld.PrID, item.product);
      f4assignDouble(ItemFld.Qty, item.qty);
      f4assignDouble(ItemFld.UPR, item.price);
    }
  }
  CloseAllTables();
}

inline void AddLabelStocks(const std::vector<LabelRecord>& stocks) {
  ASSERT_TRUE(OpenLabels());
  for (const LabelRecord& stock : stocks) {
    ASSERT_EQ(d4appendBlank(LabelDb), 0);
    LabelRec = stock;
    ASSERT_TRUE(StoreLabel());
  }
  CloseAllTables();
}

// The customer pick list chooses the records in turn, then is cancelled;
// the group choice is `groups`.
inline void ScriptChoices(platform::ScriptedPlatform& scripted, std::vector<long> records,
                          QList<int> groups) {
  auto next = std::make_shared<size_t>(0);
  scripted.OnModal(platform::WindowId::kPickCust, [records, next] {
    SelCust = *next < records.size() ? records[(*next)++] : -1;
    return 1;
  });
  scripted.OnModal(platform::WindowId::kMultGroup, [groups] {
    masterdata::GroupChoice = groups;
    return 1;
  });
}

}  // namespace test_support
