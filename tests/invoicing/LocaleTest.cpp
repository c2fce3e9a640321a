// Invoices saved and opened again under locales that write dates and
// amounts in their own way: payment dates in formats that end in a point,
// carry a suffix or use other digits; amounts with a decimal comma.

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>

#include "../common/ProcessLocale.h"
#include "InvoiceFixture.h"
#include "invoicing/ItemDefU.h"
#include "masterdata/PickLists.h"
#include "masterdata/PickModel.h"
#include "util/MoneyEdit.h"

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

  static std::vector<StoredLine> LinesOf(long invoice) {
    std::vector<StoredLine> lines;
    for (const StoredLine& line : StoredLines()) {
      if (line.invoice == invoice && !line.deleted) lines.push_back(line);
    }
    return lines;
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

// "." in a test text stands for the locale's decimal separator.
QString Localized(const char* text) {
  return QString::fromLatin1(text).replace(QLatin1Char('.'), QLocale().decimalPoint());
}

TEST_F(LocaleTest, LoadedAmountsShowInTheLocaleAndEditWithoutChange) {
  TItemDef item_def;
  AddProduct({"BOLT", "Bolt M6", 1234.56, false, false});
  for (const char* name : {"de_DE", "fr_FR"}) {
    SCOPED_TRACE(name);
    const long record = SaveNew({Line("WIDGET", 3, 12.5, false, true), Line("BOLT", 0.5, 1234.56)},
                                {Payment(QDate(2026, 3, 1), 1250.75, 113.7, true)});
    const long invoice = InvRec.IvNo;
    const std::vector<StoredLine> lines = LinesOf(invoice);
    const std::vector<StoredPayment> payments = PaymentsOf(invoice);

    test_support::ProcessLocale locale(name, false);
    SelInv = record;
    OpenInvoiceDocument();
    ASSERT_EQ(ItemGrid.size(), 2u);
    EXPECT_EQ(ItemGrid[1][1], Localized("     0.50"));
    EXPECT_EQ(ItemGrid[1][2], Localized(" 1234.56"));
    EXPECT_EQ(Screen.rows[0][2], Localized("   12.50"));
    EXPECT_EQ(Screen.rows[0][3], Localized("     3.00"));
    ASSERT_EQ(PaymentGrid.size(), 1u);
    EXPECT_EQ(PaymentGrid[0][1], Localized("   1250.75"));
    EXPECT_EQ(PaymentGrid[0][2], Localized("    113.70"));
    masterdata::PickGridModel products(masterdata::ProductPickConfig());
    products.Open(0);
    EXPECT_EQ(products.row(1).cells.value(2), Localized(" 1234.56"));

    // The operator opens the second line, passes through its price and
    // quantity and saves it unchanged.
    scripted_.ClearRecords();
    scripted_.OnModal(WindowId::kItemDef, [&] {
      item_def.show();
      item_def.activateWindow();
      EXPECT_TRUE(QTest::qWaitForWindowActive(&item_def));
      item_def.MaskEdit1->setFocus();
      QTest::keyClick(item_def.MaskEdit1, Qt::Key_Tab);
      QTest::keyClick(item_def.MaskEdit2, Qt::Key_Tab);
      EXPECT_EQ(item_def.MaskEdit3->text(), Localized("    617.28"));
      QTest::mouseClick(item_def.BtnSave, Qt::LeftButton);
      return item_def.result();
    });
    EditLine(2);
    EXPECT_EQ(scripted_.Said(), QStringList());
    EXPECT_EQ(Screen.rows[1][4], Localized("    617.28 ff"));
    ASSERT_EQ(SaveInvoice(ShownFields()), SaveOutcome::kClose);

    const std::vector<StoredLine> saved_lines = LinesOf(invoice);
    ASSERT_EQ(saved_lines.size(), 2u);
    for (size_t i = 0; i < 2; ++i) {
      EXPECT_EQ(saved_lines[i].quantity, lines[i].quantity) << i;
      EXPECT_EQ(saved_lines[i].price, lines[i].price) << i;
    }
    const std::vector<StoredPayment> saved_payments = PaymentsOf(invoice);
    ASSERT_EQ(saved_payments.size(), 1u);
    EXPECT_EQ(saved_payments[0].amount, payments[0].amount);
    EXPECT_EQ(saved_payments[0].gst, payments[0].gst);
  }
}

}  // namespace
}  // namespace invoicing_test
