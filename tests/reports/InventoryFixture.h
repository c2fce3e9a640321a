#pragma once
// A fresh data directory with helpers that write products, purchases,
// invoices and their lines straight through the engine, for the costing and
// the stock reports. Dates are given as calendar dates; today is fixed.

#include <QDate>
#include <QLocale>
#include <QString>
#include <vector>

#include "../common/DataDirFixture.h"
#include "engine/TableEngine.h"
#include "store/CodeBase.h"
#include "store/dbFiles.h"
#include "util/DateUtil.h"

namespace inventory_test {

struct Product {
  QString id;
  bool tracked = true;
  double reorder = 0;
  QString desc = QString();
  double price = 0;
  QString comment = QString();
};

struct Purchase {
  QString product;
  QDate date;
  double quantity;
  double cost;  // of the whole purchase
};

// A line sold on an invoice of that number; the invoice itself is written
// with WriteInvoices.
struct Sale {
  QString product;
  long invoice;
  double quantity;
};

struct Invoice {
  long number;
  QDate date;
};

// Everything the costing reads, written at once by WriteHistory.
struct History {
  std::vector<Product> products;
  std::vector<Purchase> purchases;
  std::vector<Invoice> invoices;
  std::vector<Sale> sales;
};

inline TDate Day(int year, int month, int day) { return FromQDate(QDate(year, month, day)); }

class InventoryFixture : public test_support::DataDirFixture {
 protected:
  explicit InventoryFixture(QDate today = QDate(2026, 4, 30)) : DataDirFixture(today) {}

  void SetUp() override {
    DataDirFixture::SetUp();
    previous_locale_ = QLocale();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  }
  void TearDown() override {
    QLocale::setDefault(previous_locale_);
    DataDirFixture::TearDown();
  }

  // Each writer opens its table, appends and closes every table again.
  static void WriteProducts(const std::vector<Product>& products) {
    ASSERT_TRUE(OpenProducts());
    for (const Product& p : products) {
      ASSERT_EQ(d4appendBlank(ProdDb), 0);
      f4assign(ProdFld.PrID, p.id.toLatin1().constData());
      f4assign(ProdFld.PDesc, (p.desc.isEmpty() ? p.id + " item" : p.desc).toLatin1().constData());
      f4assignDouble(ProdFld.UPrice, p.price);
      f4assign(ProdFld.lInven, p.tracked ? "T" : "F");
      f4assign(ProdFld.IComm, p.comment.toLatin1().constData());
      f4assignDouble(ProdFld.REORDER, p.reorder);
    }
    CloseAllTables();
  }
  static void WritePurchases(const std::vector<Purchase>& purchases) {
    ASSERT_TRUE(OpenPurchases());
    for (const Purchase& p : purchases) {
      ASSERT_EQ(d4appendBlank(PurDb), 0);
      f4assign(PurFld.PURProd, p.product.toLatin1().constData());
      f4assign(PurFld.PURDate, DateToText(FromQDate(p.date)).toLatin1().constData());
      f4assignDouble(PurFld.PURQty, p.quantity);
      f4assignDouble(PurFld.PURCost, p.cost);
    }
    CloseAllTables();
  }
  static void WriteInvoices(const std::vector<Invoice>& invoices) {
    ASSERT_TRUE(OpenInvoices());
    for (const Invoice& i : invoices) {
      ASSERT_EQ(d4appendBlank(InvDb), 0);
      f4assignLong(InvFld.IvNo, i.number);
      f4assignLong(InvFld.CuNo, 1);
      f4assign(InvFld.IDate, DateToText(FromQDate(i.date)).toLatin1().constData());
    }
    CloseAllTables();
  }
  static void WriteSales(const std::vector<Sale>& sales) {
    ASSERT_TRUE(OpenLineItems());
    for (const Sale& s : sales) {
      ASSERT_EQ(d4appendBlank(ItemDb), 0);
      f4assignLong(ItemFld.IvNo, s.invoice);
      f4assign(ItemFld.PrID, s.product.toLatin1().constData());
      f4assignDouble(ItemFld.Qty, s.quantity);
    }
    CloseAllTables();
  }

  static void WriteHistory(const History& history) {
    WriteProducts(history.products);
    WritePurchases(history.purchases);
    WriteInvoices(history.invoices);
    WriteSales(history.sales);
  }

  // Opens the tables the costing reads, the lines in product order.
  static void OpenForCosting() {
    ASSERT_TRUE(OpenProducts() && OpenPurchases() && OpenLineItems() && OpenInvoices());
    ASSERT_EQ(d4tagSelect(ItemDb, d4tag(ItemDb, "ItmP")), 0);
  }

 private:
  QLocale previous_locale_;
};

}  // namespace inventory_test
