// What the operator finished is on disk when the command ends: after each
// kind of delete, recall and settings change the program stops before it
// writes another byte (every later write fails, tables closed unwritten), and
// the next start finds the change.

#include <QtTest/QtTest>
#include <functional>

#include "InvoiceFixture.h"
#include "invoicing/InvoiceDoc.h"
#include "invoicing/InvoiceDocSave.h"
#include "masterdata/CustomerEdit.h"
#include "masterdata/GroupEdit.h"
#include "masterdata/ProdDefEdit.h"
#include "masterdata/PurDefEdit.h"
#include "store/EngineResult.h"
#include "testing/FaultyFileSystem.h"

namespace invoicing_test {
namespace {

using platform::Answer;
using platform::WindowId;

class OperatorChangeTest : public InvoiceFixture {
 protected:
  void SetUp() override {
    InvoiceFixture::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(OpenPurchases());
    for (const char* name : {"Trade", "Retail", "Export"}) {
      ASSERT_EQ(d4appendBlank(GroupDb), 0);
      groups_.push_back(d4recNo(GroupDb));
      f4assignInt(GroupFld.nGroup, static_cast<int>(groups_.size()));
      f4assign(GroupFld.cGroup, name);
    }
    deleted_customer_ = AddCustomer(7, "Carter", "Cleo");
    recalled_customer_ = AddCustomer(8, "Dunn", "Dora");
    product_ = AddProduct({"P1", "Widget", 2.5, false, false});
    ASSERT_EQ(d4appendBlank(PurDb), 0);
    f4assign(PurFld.PURProd, "P1");
    purchase_ = d4recNo(PurDb);
    StartNewInvoice(deleted_customer_);
    ItemGrid = {Line("P1", 1, 2.5)};
    invoicing::ShowInvoice();
    invoice_ = SaveNewAndClose();
    ASSERT_GT(invoice_, 0);
    invoice_number_ = InvRec.IvNo;
    Restart();
  }

  // A new engine instance writing through the faulty disk, with the tables open.
  void Restart() {
    CloseAllTables();
    EndEngine();
    disk_.Reset();
    ASSERT_TRUE(StartEngine());
    code4fileSystem(cb, &disk_);
    OpenInvoiceTables();
    ASSERT_TRUE(OpenPurchases());
  }

  // Marks a record deleted and writes the mark (an earlier session's delete).
  static void MarkDeleted(DATA4* table, long record) {
    ASSERT_EQ(d4go(table, record), 0);
    d4delete(table);
  }

  static bool Deleted(DATA4* table, long record) {
    return d4go(table, record) == 0 && d4deleted(table) != 0;
  }

  static masterdata::CustomerForm FormOf(const CustomerRecord& r) {
    return {r.title, r.first, r.last, r.addr1, r.addr2, r.addr3,   r.addr4,
            r.zip,   r.phone, r.fax,  r.email, r.note,  r.comments};
  }

  engine::FaultyFileSystem disk_;
  std::vector<long> groups_;
  long deleted_customer_ = 0;
  long recalled_customer_ = 0;
  long product_ = 0;
  long purchase_ = 0;
  long invoice_ = 0;
  long invoice_number_ = 0;
};

TEST_F(OperatorChangeTest, FinishedChangeSurvivesAStopRightAfterIt) {
  struct Case {
    const char* what;
    std::function<void()> before;  // an earlier, finished session
    std::function<void()> change;  // the operator's command
    std::function<bool()> found;   // at the next start
  };
  const Case cases[] = {
      {"customer deleted", [] {},
       [&] { SelCust = deleted_customer_, masterdata::DeleteCustomer(); },
       [&] { return Deleted(CustDb, deleted_customer_); }},
      {"customer recalled by saving it", [&] { MarkDeleted(CustDb, recalled_customer_); },
       [&] {
         SelCust = recalled_customer_;
         ASSERT_EQ(d4go(CustDb, SelCust), 0);
         LoadCustomer();
         ASSERT_TRUE(masterdata::SaveCustomer(FormOf(CustRec)));
       },
       [&] { return !Deleted(CustDb, recalled_customer_); }},
      {"group deleted, its customers moved", [] {},
       [&] {
         SelGroup = groups_[0];
         ASSERT_EQ(d4go(GroupDb, SelGroup), 0);
         LoadGroup();
         scripted_.QueueAnswer(Answer::kOk);
         scripted_.OnModal(WindowId::kPickGroup, [&] {
           SelGroup = groups_[1];
           return 1;
         });
         ASSERT_TRUE(masterdata::DeleteGroup());
       },
       [&] {
         return Deleted(GroupDb, groups_[0]) && d4go(CustDb, deleted_customer_) == 0 &&
                f4int(CustFld.ngroup) == 2;
       }},
      {"group recalled by saving it", [&] { MarkDeleted(GroupDb, groups_[2]); },
       [&] {
         SelGroup = groups_[2];
         ASSERT_EQ(d4go(GroupDb, SelGroup), 0);
         LoadGroup();
         ASSERT_TRUE(masterdata::SaveGroup(QStringLiteral("Export")));
       },
       [&] { return !Deleted(GroupDb, groups_[2]); }},
      {"product deleted", [] {}, [&] { SelProd = product_, masterdata::DeleteProduct(); },
       [&] { return Deleted(ProdDb, product_); }},
      {"purchase deleted", [] {}, [&] { SelPur = purchase_, masterdata::DeletePurchase(); },
       [&] { return Deleted(PurDb, purchase_); }},
      {"invoice deleted", [] {},
       [&] {
         SelInv = invoice_;
         invoicing::OpenInvoiceDocument();
         scripted_.QueueAnswer(Answer::kOk);
         ASSERT_TRUE(invoicing::DeleteInvoice());
       },
       [&] {
         for (long record = 1; record <= d4recCountDo(InvDb); ++record) {
           if (d4go(InvDb, record) == 0 && d4deleted(InvDb) == 0 &&
               f4long(InvFld.IvNo) == invoice_number_) {
             return false;
           }
         }
         return true;
       }},
      {"settings changed", [] {},
       [] {
         ASSERT_TRUE(OpenSettings());
         Settings.ShipLine = QStringLiteral("Carriage");
         ASSERT_TRUE(StoreSettings());
       },
       [] {
         if (!OpenSettings()) return false;
         LoadSettings();
         EXPECT_TRUE(CloseSettings());
         return Settings.ShipLine.trimmed() == QStringLiteral("Carriage");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    c.before();
    Restart();
    scripted_.ClearRecords();
    c.change();
    EXPECT_TRUE(scripted_.Said().filter(QStringLiteral("nable to")).isEmpty())
        << scripted_.Said().join(QStringLiteral(" | ")).toStdString();
    // The program stops: nothing it still holds reaches the disk.
    disk_.FailFromStep(1);
    Restart();
    EXPECT_TRUE(c.found());
  }
  CloseAllTables();
  code4fileSystem(cb, nullptr);
}

// A change the disk refuses is told with the table and the failure in words,
// never passed over in silence.
TEST_F(OperatorChangeTest, ChangeTheDiskRefusesIsTold) {
  struct Case {
    const char* what;
    std::function<bool()> change;  // false when the command reports failure
    bool reported_failure;
    const char* told;  // what the operator is told, in part
  };
  const Case cases[] = {
      {"report font kept", [] { return SaveSettings(); }, true,
       "Unable to save the changes to PLM1"},
      {"invoice deleted, its pack refused",
       [&] {
         SelInv = invoice_;
         invoicing::OpenInvoiceDocument();
         scripted_.QueueAnswer(Answer::kOk);
         return invoicing::DeleteInvoice();
       },
       false, "could not be removed from the data files at this time:\r\nITM5: "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Restart();
    scripted_.ClearRecords();
    disk_.FailFromStep(1);
    EXPECT_EQ(c.change(), !c.reported_failure);
    const QString said = scripted_.Said().join(QStringLiteral(" | "));
    EXPECT_TRUE(said.contains(QString::fromLatin1(c.told))) << said.toStdString();
    EXPECT_FALSE(store::ErrorPending());
    disk_.Reset();
  }
  CloseAllTables();
  code4fileSystem(cb, nullptr);
}

}  // namespace
}  // namespace invoicing_test
