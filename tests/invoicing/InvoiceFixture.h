#pragma once
// A fresh data directory for each test (DataDirFixture) with today fixed,
// plain tax settings, and the tables of the invoice command open. Helpers
// add customers, products and invoices straight through the engine and read
// the invoice tables back in record order.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <vector>

#include "../common/DataDirFixture.h"
#include "engine/TableEngine.h"
#include "invoicing/InvoiceDoc.h"
#include "invoicing/InvoiceDocEntry.h"
#include "invoicing/InvoiceDocSave.h"
#include "platform/Platform.h"
#include "store/CodeBase.h"
#include "store/dbFiles.h"
#include "testing/ScriptedPlatform.h"
#include "util/MoneyUtil.h"

namespace invoicing_test {

struct Product {
  const char* id;
  const char* description;
  double price;
  bool tax1;
  bool tax2;
  const char* comment = "";
  const char* rcode = "";
  const char* memo = "";
};

// One record of ITM5 or GSTPMT as stored, read in record number order.
struct StoredLine {
  long record;
  bool deleted;
  long invoice;
  QString product;
  double quantity;
  double price;
  bool tax1;
  bool tax2;
  QString description;
};
struct StoredPayment {
  long record;
  bool deleted;
  long invoice;
  TDate date;
  double amount;
  double gst;
  bool includes_gst;
};

class InvoiceFixture : public test_support::DataDirFixture {
 protected:
  InvoiceFixture() : DataDirFixture(QDate(2026, 3, 14)) {}

  void SetUp() override {
    DataDirFixture::SetUp();
    if (HasFatalFailure()) return;
    Settings.ShipLine = QStringLiteral("Freight");
    Settings.TaxLine = QStringLiteral("GST");
    Settings.TaxRate1 = 0;
    Settings.TaxRate2 = 0;
    Settings.ShipTax = 1;
    Settings.TaxRound = 1;
    Settings.GSTField = 2;
    Settings.ByCust = true;
    InvRec = InvoiceRecord();
    CustRec = CustomerRecord();
    ItemGrid.clear();
    PaymentGrid.clear();
    AddressBlock = QStringList{QString()};
    OpenInvoiceTables();
  }

  // The tables the invoice command opens.
  void OpenInvoiceTables() {
    ASSERT_TRUE(OpenCustomers());
    ASSERT_TRUE(OpenGroups());
    ASSERT_TRUE(OpenInvoices());
    ASSERT_TRUE(OpenLineItems());
    ASSERT_TRUE(OpenPayments());
    ASSERT_TRUE(OpenProducts());
  }

  // A customer in group 1; returns its record number.
  long AddCustomer(long cuno, const char* last, const char* first, const char* note = "") {
    EXPECT_EQ(d4appendBlank(CustDb), 0);
    f4assignLong(CustFld.cuno, cuno);
    f4assign(CustFld.last, last);
    f4assign(CustFld.first, first);
    f4assign(CustFld.addr2, "1 Harbour Road");
    f4assign(CustFld.addr4, "Portsmouth");
    f4assign(CustFld.zip, "PO1 2AB");
    f4assign(CustFld.note, note);
    f4assignInt(CustFld.ngroup, 1);
    const long record = d4recNo(CustDb);
    EXPECT_EQ(d4flush(CustDb), 0);
    return record;
  }

  long AddProduct(const Product& p) {
    EXPECT_EQ(d4appendBlank(ProdDb), 0);
    f4assign(ProdFld.PrID, p.id);
    f4assign(ProdFld.PDesc, p.description);
    f4assignDouble(ProdFld.UPrice, p.price);
    f4assign(ProdFld.LTax1, p.tax1 ? "T" : "F");
    f4assign(ProdFld.LTax2, p.tax2 ? "T" : "F");
    f4assign(ProdFld.IComm, p.comment);
    f4assign(ProdFld.RCode, p.rcode);
    EXPECT_GE(f4memoAssign(ProdFld.PMemo, p.memo), 0);
    const long record = d4recNo(ProdDb);
    EXPECT_EQ(d4flush(ProdDb), 0);
    return record;
  }

  // An item grid row as the line item dialog would make it, in the locale.
  static ItemRow Line(const char* product, double quantity, double price, bool tax1 = false,
                      bool tax2 = false, const char* description = "") {
    ItemRow row;
    row[0] = QString::fromLatin1(product);
    row[1] = FixedText(quantity, 9, 2);
    row[2] = FixedText(price, 8, 2);
    row[3] = tax1 ? QStringLiteral("t") : QStringLiteral("f");
    row[4] = tax2 ? QStringLiteral("t") : QStringLiteral("f");
    row[5] = QString::fromLatin1(description);
    return row;
  }

  static PaymentRow Payment(const QDate& date, double amount, double gst = 0,
                            bool includes = false) {
    return {ShortDateText(FromQDate(date)), FixedText(amount, 10, 2), FixedText(gst, 10, 2),
            includes ? QStringLiteral("T") : QStringLiteral("F")};
  }

  // Starts a new invoice for the customer (record number) as the window would.
  void StartNewInvoice(long customer_record) {
    SelInv = 0;
    invoicing::OpenInvoiceDocument();
    ASSERT_EQ(d4go(CustDb, customer_record), 0);
    LoadCustomer();
    InvRec.CuNo = CustRec.cuno;
    BuildAddressBlock();
    invoicing::ShowCustomer();
  }

  // Saves the invoice in memory with the window's fields as shown.
  invoicing::SaveOutcome Save() { return invoicing::SaveInvoice(invoicing::ShownFields()); }

  // Saves a new invoice and answers No to "Add another invoice?"; returns its record.
  long SaveNewAndClose() {
    // The table's first invoice asks for its number; unless the test answers,
    // the operator cancels and numbering starts at 1.
    if (d4recCountDo(InvDb) == 0 && scripted_.PendingInputs() == 0) {
      scripted_.QueueInputCancelled();
    }
    scripted_.QueueAnswer(platform::Answer::kNo);
    EXPECT_EQ(Save(), invoicing::SaveOutcome::kClose);
    return SelInv;
  }

  static std::vector<StoredLine> StoredLines() {
    std::vector<StoredLine> lines;
    const long count = d4recCountDo(ItemDb);
    for (long record = 1; record <= count; ++record) {
      EXPECT_EQ(d4go(ItemDb, record), 0);
      double quantity = 0;
      double price = 0;
      EXPECT_GE(f4double2(ItemFld.Qty, &quantity), 0);
      EXPECT_GE(f4double2(ItemFld.UPR, &price), 0);
      lines.push_back({record, d4deleted(ItemDb) != 0, f4long(ItemFld.IvNo),
                       QString::fromLatin1(f4str(ItemFld.PrID)).trimmed(), quantity, price,
                       f4true(ItemFld.LTax1) > 0, f4true(ItemFld.LTax2) > 0,
                       QString::fromLatin1(f4str(ItemFld.PDesc)).trimmed()});
    }
    return lines;
  }

  static std::vector<StoredPayment> StoredPayments() {
    std::vector<StoredPayment> payments;
    const long count = d4recCountDo(PmtDb);
    for (long record = 1; record <= count; ++record) {
      EXPECT_EQ(d4go(PmtDb, record), 0);
      double amount = 0;
      double gst = 0;
      EXPECT_GE(f4double2(PmtFld.PAmt, &amount), 0);
      EXPECT_GE(f4double2(PmtFld.GST, &gst), 0);
      payments.push_back({record, d4deleted(PmtDb) != 0, f4long(PmtFld.IvNo),
                          TextToDate(QString::fromLatin1(f4str(PmtFld.PDate))), amount, gst,
                          f4true(PmtFld.lGST) > 0});
    }
    return payments;
  }

  // Invoice numbers of INV5 in record order, leaving out records marked deleted.
  static std::vector<long> StoredInvoiceNumbers() {
    std::vector<long> numbers;
    const long count = d4recCountDo(InvDb);
    for (long record = 1; record <= count; ++record) {
      EXPECT_EQ(d4go(InvDb, record), 0);
      if (d4deleted(InvDb) == 0) numbers.push_back(f4long(InvFld.IvNo));
    }
    return numbers;
  }
};

}  // namespace invoicing_test
