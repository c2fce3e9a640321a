// Invoices saved and opened again under locales that write dates and
// amounts in their own way: payment dates in formats that end in a point,
// carry a suffix or use other digits; amounts with a decimal comma.

#include <gtest/gtest.h>

#include "../common/ProcessLocale.h"
#include "InvoiceFixture.h"

namespace invoicing_test {
namespace {

using namespace invoicing;
using platform::Answer;
using platform::WindowId;

class LocaleTest : public InvoiceFixture {
 protected:
  void SetUp() override {
    InvoiceFixture::SetUp();
    customer_ = AddCustomer(7, "Carter", "Cleo");
  }

  // Saves a new invoice with the payments and closes; returns its record.
  long SaveNew(const std::vector<ItemRow>& lines, const std::vector<PaymentRow>& payments) {
    StartNewInvoice(customer_);
    ItemGrid = lines;
    PaymentGrid = payments;
    ShowInvoice();
    return SaveNewAndClose();
  }

  static std::vector<StoredPayment> PaymentsOf(long invoice) {
    std::vector<StoredPayment> payments;
    for (const StoredPayment& payment : StoredPayments()) {
      if (payment.invoice == invoice && !payment.deleted) payments.push_back(payment);
    }
    return payments;
  }

  long customer_ = 0;
};

TEST_F(LocaleTest, PaymentDatesSurviveSaveEditAndSaveAgain) {
  const QDate dates[] = {QDate(2026, 3, 14), QDate(1999, 12, 31), QDate(2024, 2, 29)};
  // A final point (hu, hr, ko), a suffix (bg), and other digits (ar, bn, my).
  for (const char* name : {"hu_HU", "hr_HR", "ko_KR", "bg_BG", "ar_EG", "bn_BD", "my_MM"}) {
    SCOPED_TRACE(name);
    test_support::ProcessLocale locale(name, false);
    std::vector<PaymentRow> payments;
    for (const QDate& date : dates) payments.push_back(Payment(date, 10));
    const long record = SaveNew({}, payments);
    const long invoice = InvRec.IvNo;
    std::vector<StoredPayment> stored = PaymentsOf(invoice);
    ASSERT_EQ(stored.size(), 3u);
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(stored[i].date, FromQDate(dates[i])) << i;

    // Opened again, the payment dialog starts on the stored date, and a
    // second save keeps every date.
    SelInv = record;
    OpenInvoiceDocument();
    TDate shown = 0;
    scripted_.OnModal(WindowId::kPmtDef, [&] {
      shown = PmtForm.date;
      PmtResult = kResultSave;
      return 1;
    });
    ASSERT_TRUE(EditPayment(2));
    EXPECT_EQ(shown, FromQDate(dates[1]));
    ASSERT_EQ(SaveInvoice(ShownFields()), SaveOutcome::kClose);
    stored = PaymentsOf(invoice);
    ASSERT_EQ(stored.size(), 3u);
    for (size_t i = 0; i < 3; ++i) EXPECT_EQ(stored[i].date, FromQDate(dates[i])) << i;
  }
}

}  // namespace
}  // namespace invoicing_test
