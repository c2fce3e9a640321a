#pragma once
// A fresh data directory in US English, today 30 April 2026, and a writer
// that puts products, purchases, invoices and their lines straight into the
// tables for the costing and the stock reports.

#include <QDate>
#include <QLocale>
#include <QString>
#include <vector>

#include "../common/DataDirFixture.h"
#include "store/CodeBase.h"
#include "store/dbFiles.h"

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
  double quantity, cost;  // cost of the whole purchase
};
struct Invoice {
  long number;
  QDate date;
};
struct Sale {  // a line of an invoice
  QString product;
  long invoice;
  double quantity;
};
struct History {
  std::vector<Product> products;
  std::vector<Purchase> purchases;
  std::vector<Invoice> invoices;
  std::vector<Sale> sales;
};

inline TDate Day(int year, int month, int day) { return FromQDate(QDate(year, month, day)); }

class InventoryFixture : public test_support::DataDirFixture {
 protected:
  InventoryFixture() : DataDirFixture(QDate(2026, 4, 30)) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  }
  ~InventoryFixture() override { QLocale::setDefault(previous_locale_); }

  static void WriteHistory(const History& h) {
    Append(OpenProducts, ProdDb, h.products, [](const Product& p) {
      Text(ProdFld.PrID, p.id);
      Text(ProdFld.PDesc, p.desc.isEmpty() ? p.id : p.desc);
      f4assignDouble(ProdFld.UPrice, p.price);
      Text(ProdFld.lInven, p.tracked ? "T" : "F");
      Text(ProdFld.IComm, p.comment);
      f4assignDouble(ProdFld.REORDER, p.reorder);
    });
    Append(OpenPurchases, PurDb, h.purchases, [](const Purchase& p) {
      Text(PurFld.PURProd, p.product);
      Text(PurFld.PURDate, DateToText(FromQDate(p.date)));
      f4assignDouble(PurFld.PURQty, p.quantity);
      f4assignDouble(PurFld.PURCost, p.cost);
    });
    Append(OpenInvoices, InvDb, h.invoices, [](const Invoice& i) {
      f4assignLong(InvFld.IvNo, i.number);
      Text(InvFld.IDate, DateToText(FromQDate(i.date)));
    });
    Append(OpenLineItems, ItemDb, h.sales, [](const Sale& s) {
      f4assignLong(ItemFld.IvNo, s.invoice);
      Text(ItemFld.PrID, s.product);
      f4assignDouble(ItemFld.Qty, s.quantity);
    });
  }

  // The tables the costing reads, the lines in product order.
  static void OpenForCosting() {
    ASSERT_TRUE(OpenProducts() && OpenPurchases() && OpenLineItems() && OpenInvoices());
    ASSERT_EQ(d4tagSelect(ItemDb, d4tag(ItemDb, "ItmP")), 0);
  }

 private:
  static void Text(FIELD4* field, const QString& text) {
    f4assign(field, text.toLatin1().constData());
  }
  template <typename Item, typename Fill>
  static void Append(bool (*open)(), DATA4*& table, const std::vector<Item>& items, Fill fill) {
    ASSERT_TRUE(open());
    for (const Item& item : items) {
      ASSERT_EQ(d4appendBlank(table), 0);
      fill(item);
    }
    CloseAllTables();
  }

  QLocale previous_locale_;
};

}  // namespace inventory_test
