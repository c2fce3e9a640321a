#pragma once
// A fresh data directory for each test (DataDirFixture), customers listed
// by customer, and helpers that add customers, groups and invoices straight
// through the engine.

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

namespace masterdata_test {

struct Customer {
  long cuno;
  const char* last;
  const char* first;
  const char* company;
  int group;
  const char* note = "";
};

class DataFixture : public test_support::DataDirFixture {
 protected:
  void SetUp() override {
    DataDirFixture::SetUp();
    if (HasFatalFailure()) return;
    Settings.ByCust = true;
  }

  // Opens customers and groups as the customer command does.
  void OpenCustomerTables() {
    ASSERT_TRUE(OpenCustomers());
    ASSERT_TRUE(OpenGroups());
  }

  // Appends customers to the open CUST5 and returns their record numbers.
  std::vector<long> AddCustomers(const std::vector<Customer>& customers) {
    std::vector<long> records;
    for (const Customer& c : customers) {
      EXPECT_EQ(d4appendBlank(CustDb), 0);
      f4assignLong(CustFld.cuno, c.cuno);
      f4assign(CustFld.last, c.last);
      f4assign(CustFld.first, c.first);
      f4assign(CustFld.addr1, c.company);
      f4assign(CustFld.note, c.note);
      f4assignInt(CustFld.ngroup, c.group);
      records.push_back(d4recNo(CustDb));
    }
    EXPECT_EQ(d4flush(CustDb), 0);
    return records;
  }

  // Customers named Name000, Name001, ... (count of them), all in group 1.
  std::vector<long> AddNumberedCustomers(int count) {
    std::vector<QByteArray> names;
    std::vector<Customer> customers;
    for (int i = 0; i < count; ++i) {
      names.push_back(QStringLiteral("Name%1").arg(i, 3, 10, QLatin1Char('0')).toLatin1());
    }
    for (int i = 0; i < count; ++i)
      customers.push_back({i + 1, names[i].constData(), "Ann", "", 1});
    return AddCustomers(customers);
  }

  std::vector<long> AddGroups(const std::vector<std::pair<int, const char*>>& groups) {
    std::vector<long> records;
    for (const auto& [number, name] : groups) {
      EXPECT_EQ(d4appendBlank(GroupDb), 0);
      f4assignInt(GroupFld.nGroup, number);
      f4assign(GroupFld.cGroup, name);
      records.push_back(d4recNo(GroupDb));
    }
    EXPECT_EQ(d4flush(GroupDb), 0);
    return records;
  }

  // The customer record's field text at rec_no, trimmed.
  static QString CustomerText(long rec_no, FIELD4* field) {
    EXPECT_EQ(d4go(CustDb, rec_no), 0);
    return QString::fromLatin1(f4str(field)).trimmed();
  }
};

}  // namespace masterdata_test
