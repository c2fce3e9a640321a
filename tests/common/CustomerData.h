#pragma once
// Customers, groups, invoices with their lines, and label stocks written
// straight through the engine into a test's data directory. Each Add opens
// the tables it writes and closes every table afterwards, so the code under
// test opens them itself.

#include <gtest/gtest.h>

#include <vector>

#include "engine/TableEngine.h"
#include "store/dbFiles.h"

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
  for (const CustomerRow& c : customers) {
    ASSERT_EQ(d4appendBlank(CustDb), 0);
    f4assignLong(CustFld.cuno, c.cuno);
    f4assign(CustFld.title, c.title);
    f4assign(CustFld.first, c.first);
    f4assign(CustFld.last, c.last);
    f4assign(CustFld.addr1, c.company);
    f4assign(CustFld.addr2, c.addr2);
    f4assign(CustFld.addr3, c.addr3);
    f4assign(CustFld.addr4, c.addr4);
    f4assign(CustFld.zip, c.zip);
    f4assignInt(CustFld.ngroup, c.group);
  }
  CloseAllTables();
}

inline void AddInvoices(const std::vector<InvoiceRow>& invoices) {
  ASSERT_TRUE(OpenInvoices());
  ASSERT_TRUE(OpenLineItems());
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
      f4assign(ItemFld.LTax1, "F");
      f4assign(ItemFld.LTax2, "F");
      f4assign(ItemFld.lBuild, "F");
    }
  }
  CloseAllTables();
}

inline void AddLabelStocks(const std::vector<LabelRecord>& stocks) {
  ASSERT_TRUE(OpenLabels());
  for (const LabelRecord& stock : stocks) {
    ASSERT_EQ(d4appendBlank(LabelDb), 0);
    LabelRec = stock;
    f4assign(LabelFld.Name, stock.Name.toLatin1().constData());
    f4assignDouble(LabelFld.TopM, stock.TopM);
    f4assignDouble(LabelFld.LeftM, stock.LeftM);
    f4assignDouble(LabelFld.BottomM, stock.BottomM);
    f4assignDouble(LabelFld.RightM, stock.RightM);
    f4assignDouble(LabelFld.Width, stock.Width);
    f4assignDouble(LabelFld.Height, stock.Height);
    f4assignDouble(LabelFld.HGap, stock.HGap);
    f4assignDouble(LabelFld.VGap, stock.VGap);
    f4assignInt(LabelFld.NAcross, stock.NAcross);
    f4assign(LabelFld.Continuous, stock.Continuous ? "T" : "F");
  }
  CloseAllTables();
}

}  // namespace test_support
