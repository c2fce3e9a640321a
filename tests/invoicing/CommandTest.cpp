// "Create & Edit Invoices": the pick list opened on the last invoice, New
// into the invoice window, the loop until Cancel, every table closed, and
// the tables packed when a deletion is pending.

#include <gtest/gtest.h>

#include "InvoiceFixture.h"
#include "invoicing/InvoiceCommand.h"
#include "masterdata/PickU.h"

namespace invoicing_test {
namespace {

using namespace invoicing;
using platform::Answer;
using platform::WindowId;

class CommandTest : public InvoiceFixture {
 protected:
  void SetUp() override {
    InvoiceFixture::SetUp();
    customer_ = AddCustomer(3, "Dunn", "Dora");
    spare_customer_ = AddCustomer(4, "Ellis", "Ed");
    CloseAllTables();  // the command opens what it needs
    masterdata::SetEditorReady(WindowId::kInvoice, true);
  }

  long customer_ = 0;
  long spare_customer_ = 0;
};

TEST_F(CommandTest, LoopsPickListAndInvoiceWindowThenClosesAndPacks) {
  std::vector<long> opened_on;
  int pick = 0;
  scripted_.OnModal(WindowId::kPickInv, [&] {
    opened_on.push_back(SelInv);
    ++pick;
    EXPECT_TRUE(masterdata::PickNewEnabled(WindowId::kPickInv));
    if (pick == 1) SelInv = 0;  // New
    if (pick == 2) SelInv = 1;  // the invoice just saved
    if (pick == 3) SelInv = -1;
    return pick < 3 ? 1 : 0;
  });
  int shown = 0;
  scripted_.OnModal(WindowId::kInvoice, [&] {
    ++shown;
    OpenInvoiceDocument();
    if (shown == 1) {
      EXPECT_EQ(InvRec.IvNo, 1);
      EXPECT_EQ(d4go(CustDb, customer_), 0);
      LoadCustomer();
      InvRec.CuNo = CustRec.cuno;
      ItemGrid = {Line("A", 2, 3)};
      ShowInvoice();
      scripted_.QueueInput(QStringLiteral("77"));
      scripted_.QueueAnswer(Answer::kNo);
      EXPECT_EQ(SaveInvoice(ShownFields()), SaveOutcome::kClose);
    } else {
      EXPECT_EQ(InvRec.IvNo, 77);
      EXPECT_EQ(Screen.total, QStringLiteral("      6.00"));
      // A customer deleted from inside the invoice window.
      EXPECT_EQ(d4go(CustDb, spare_customer_), 0);
      d4delete(CustDb);
      PackPending = true;
    }
    return 1;
  });
  RunInvoiceCommand();
  EXPECT_EQ(opened_on, (std::vector<long>{0, 1, 1}));
  EXPECT_EQ(shown, 2);
  EXPECT_EQ(InvDb, nullptr);
  EXPECT_EQ(CustDb, nullptr);
  EXPECT_FALSE(PackPending);

  OpenInvoiceTables();
  EXPECT_EQ(d4recCountDo(CustDb), 1);  // the deleted customer was packed away
  EXPECT_EQ(StoredInvoiceNumbers(), std::vector<long>{77});
  EXPECT_EQ(StoredLines().size(), 1u);
}

TEST_F(CommandTest, PickListOpensOnTheLastInvoiceByNumber) {
  OpenInvoiceTables();
  for (const long number : {20L, 35L, 10L}) {
    ASSERT_EQ(d4appendBlank(InvDb), 0);
    f4assignLong(InvFld.IvNo, number);
  }
  ASSERT_EQ(d4flush(InvDb), 0);
  CloseAllTables();
  long opened_on = 0;
  scripted_.OnModal(WindowId::kPickInv, [&] {
    opened_on = SelInv;
    SelInv = -1;
    return 0;
  });
  RunInvoiceCommand();
  EXPECT_EQ(opened_on, 2);  // invoice 35
  EXPECT_EQ(scripted_.ModalCount(WindowId::kInvoice), 0);
}

}  // namespace
}  // namespace invoicing_test
