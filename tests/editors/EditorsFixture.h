#pragma once
// A fresh data directory for each test (DataDirFixture); helpers add
// products, purchases and label stocks straight through the engine and read
// fields back.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <vector>

#include "../common/DataDirFixture.h"
#include "engine/TableEngine.h"
#include "platform/Platform.h"
#include "store/CodeBase.h"
#include "store/dbFiles.h"
#include "testing/ScriptedPlatform.h"
#include "util/DateUtil.h"

namespace editors_test {

struct Product {
  const char* id;
  const char* description;
  double price;
  bool inventory;
  double on_hand = 0;
};

struct Purchase {
  const char* product;
  const char* date;  // "yyyymmdd"
  double quantity;
  double cost;
  long number = 0;
};

class EditorsFixture : public test_support::DataDirFixture {
 protected:
  // Appends products to the open Prod5 and returns their record numbers.
  static std::vector<long> AddProducts(const std::vector<Product>& products) {
    std::vector<long> records;
    for (const Product& p : products) {
      EXPECT_EQ(d4appendBlank(ProdDb), 0);
      f4assign(ProdFld.PrID, p.id);
      f4assign(ProdFld.PDesc, p.description);
      f4assignDouble(ProdFld.UPrice, p.price);
      f4assign(ProdFld.lInven, p.inventory ? "T" : "F");
      f4assign(ProdFld.LTax1, "F");
      f4assign(ProdFld.LTax2, "F");
      f4assign(ProdFld.lBuild, "F");
      f4assignDouble(ProdFld.ONHAND, p.on_hand);
      records.push_back(d4recNo(ProdDb));
    }
    EXPECT_EQ(d4flush(ProdDb), 0);
    return records;
  }

  static std::vector<long> AddPurchases(const std::vector<Purchase>& purchases) {
    std::vector<long> records;
    for (const Purchase& p : purchases) {
      EXPECT_EQ(d4appendBlank(PurDb), 0);
      f4assign(PurFld.PURProd, p.product);
      f4assign(PurFld.PURDate, p.date);
      f4assignDouble(PurFld.PURQty, p.quantity);
      f4assignDouble(PurFld.PURCost, p.cost);
      f4assignLong(PurFld.PURNo, p.number);
      records.push_back(d4recNo(PurDb));
    }
    EXPECT_EQ(d4flush(PurDb), 0);
    return records;
  }

  static long AddLabel(const char* name, double width, int across) {
    EXPECT_EQ(d4appendBlank(LabelDb), 0);
    f4assign(LabelFld.Name, name);
    f4assignDouble(LabelFld.Width, width);
    f4assignInt(LabelFld.NAcross, across);
    f4assign(LabelFld.Continuous, "F");
    const long record = d4recNo(LabelDb);
    EXPECT_EQ(d4flush(LabelDb), 0);
    return record;
  }

  // The field's text at rec_no of the table, trimmed.
  static QString FieldText(DATA4* table, long rec_no, FIELD4* field) {
    EXPECT_EQ(d4go(table, rec_no), 0);
    return QString::fromLatin1(f4str(field)).trimmed();
  }
};

}  // namespace editors_test
