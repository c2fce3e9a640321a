// Invoices saved and opened again under locales that write dates and
// amounts in their own way: payment dates in formats that end in a point,
// carry a suffix or use other digits; amounts with a decimal comma, shown
// and typed so, while the data files stay byte for byte what they are in
// the C locale.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <map>

#include "../common/ProcessLocale.h"
#include "InvoiceFixture.h"
#include "WindowDriving.h"
#include "invoicing/InvoiceU.h"
#include "invoicing/ItemDefU.h"
#include "invoicing/PmtDefU.h"
#include "masterdata/PickLists.h"
#include "masterdata/PickModel.h"
#include "store/CodeBase.h"
#include "util/MoneyEdit.h"
#include "util/TextUtil.h"

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

  // Copies every file of the data directory into `to` (tables closed meanwhile).
  void CopyDataFiles(const QString& from, const QString& to) {
    CloseAllTables();
    for (const QString& name : QDir(from).entryList(QDir::Files)) {
      QFile::remove(to + QLatin1Char('/') + name);
      ASSERT_TRUE(QFile::copy(from + QLatin1Char('/') + name, to + QLatin1Char('/') + name));
    }
    OpenInvoiceTables();
  }

  // Stores a product and saves an invoice with lines and payments in the
  // process locale, checks that both read back exact, and returns the bytes
  // of every data file.
  std::map<QString, QByteArray> StoreProductAndInvoice() {
    ProdRec = ProductRecord();
    ProdRec.PrID = QStringLiteral("PEN");
    ProdRec.PDesc = QStringLiteral("Fountain pen");
    ProdRec.UPrice = 19.99;
    ProdRec.REORDER = 2.5;
    ProdRec.ONHAND = -1234.56;
    EXPECT_EQ(d4appendBlank(ProdDb), 0);
    const long product = d4recNo(ProdDb);
    EXPECT_TRUE(StoreProduct());
    ProdRec = ProductRecord();
    EXPECT_EQ(d4go(ProdDb, product), 0);
    LoadProduct();
    EXPECT_EQ(ProdRec.UPrice, 19.99);
    EXPECT_EQ(ProdRec.REORDER, 2.5);
    EXPECT_EQ(ProdRec.ONHAND, -1234.56);

    scripted_.QueueInput(QStringLiteral("1"));
    const std::vector<ItemRow> lines = {Line("PEN", 2.85, 19.99, false, true),
                                        Line("INK", -1, 0.05)};
    const std::vector<PaymentRow> payments = {Payment(QDate(2026, 3, 1), 50.25, 4.57, true)};
    const long record = SaveNew(lines, payments);
    EXPECT_EQ(scripted_.Said(), QStringList({"What invoice number would you like to start with?",
                                             "Add another invoice?"}));
    SelInv = record;
    OpenInvoiceDocument();
    EXPECT_EQ(ItemGrid.size(), lines.size());
    for (size_t i = 0; i < std::min(ItemGrid.size(), lines.size()); ++i) {
      EXPECT_EQ(ItemGrid[i][1], lines[i][1]) << i;
      EXPECT_EQ(ItemGrid[i][2], lines[i][2]) << i;
    }
    EXPECT_EQ(PaymentGrid, payments);
    EXPECT_EQ(Screen.subtotal, FixedText(56.92, 10, 2));  // 56.97 - 0.05

    std::map<QString, QByteArray> bytes;
    CloseAllTables();
    for (const QString& name : QDir::current().entryList(QDir::Files)) {
      QFile file(name);
      EXPECT_TRUE(file.open(QIODevice::ReadOnly));
      bytes[name] = file.readAll();
    }
    OpenInvoiceTables();
    return bytes;
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

    test_support::ProcessLocale locale(name);
    if (!locale.Usable()) GTEST_SKIP() << locale.SkipReason();
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

TEST_F(LocaleTest, DataFilesAreTheSameBytesWhateverTheProcessLocale) {
  QTemporaryDir pristine;
  ASSERT_TRUE(pristine.isValid());
  CopyDataFiles(QDir::currentPath(), pristine.path());
  std::map<QString, QByteArray> written_in_c;
  {
    test_support::ProcessLocale locale("C");
    written_in_c = StoreProductAndInvoice();
  }
  for (const char* name : {"de_DE", "hu_HU"}) {
    SCOPED_TRACE(name);
    CopyDataFiles(pristine.path(), QDir::currentPath());
    test_support::ProcessLocale locale(name);
    if (!locale.Usable()) GTEST_SKIP() << locale.SkipReason();
    scripted_.ClearRecords();
    const std::map<QString, QByteArray> written = StoreProductAndInvoice();
    ASSERT_EQ(written.size(), written_in_c.size());
    for (const auto& [file, bytes] : written_in_c) {
      EXPECT_TRUE(written.count(file) != 0 && written.at(file) == bytes) << file.toStdString();
    }
  }
}

// An invoice typed through the windows in a decimal-comma locale, with the C
// library in that locale too as in the desktop application, is stored
// exactly as typed.
TEST_F(LocaleTest, InvoiceTypedThroughTheWindowsIsStoredAsTyped) {
  Settings.TaxRate2 = 10;
  const long product = AddProduct({"PEN", "Fountain pen", 12.5, false, true});
  for (const char* name : {"de_DE", "hu_HU"}) {
    SCOPED_TRACE(name);
    test_support::ProcessLocale locale(name);
    if (!locale.Usable()) GTEST_SKIP() << locale.SkipReason();
    TInvoice invoice;
    TItemDef item_def;
    TPmtDef pmt_def;
    scripted_.ClearRecords();
    SelInv = 0;
    ShowActive(&invoice);
    ClickCustomer(&scripted_, &invoice, customer_);
    scripted_.OnModal(WindowId::kPickProd, [&] {
      SelProd = product;
      return 1;
    });
    scripted_.OnModal(WindowId::kItemDef, [&] {
      ShowActive(&item_def);
      Retype(item_def.MaskEdit1, QStringLiteral("19,99"));
      Retype(item_def.MaskEdit2, QStringLiteral("2,85"));
      EXPECT_EQ(item_def.MaskEdit3->text(), QStringLiteral("     56,97"));
      QTest::mouseClick(item_def.BtnSave, Qt::LeftButton);
      return item_def.result();
    });
    QTest::mouseClick(invoice.BAddItm, Qt::LeftButton);
    Retype(invoice.MaskEdit3, QStringLiteral("4,5"));
    EXPECT_EQ(invoice.MaskEdit4->text(), QStringLiteral("      5,70"));
    EXPECT_EQ(invoice.MaskEdit5->text(), QStringLiteral("     67,17"));
    scripted_.OnModal(WindowId::kPmtDef, [&] {
      ShowActive(&pmt_def);
      Retype(pmt_def.MaskEdit2, QStringLiteral("50,25"));
      EXPECT_TRUE(pmt_def.CheckBox1->isChecked());
      EXPECT_EQ(pmt_def.MaskEdit1->text().trimmed(), QStringLiteral("4,57"));
      QTest::mouseClick(pmt_def.BtnSave, Qt::LeftButton);
      return pmt_def.result();
    });
    QTest::mouseClick(invoice.BAddPmt, Qt::LeftButton);
    EXPECT_EQ(invoice.MaskEdit7->text(), QStringLiteral("     16,92"));

    QStringList said;
    if (d4recCountDo(InvDb) == 0) {
      scripted_.QueueInput(QStringLiteral("1"));
      said << QStringLiteral("What invoice number would you like to start with?");
    }
    said << QStringLiteral("Add another invoice?");
    scripted_.QueueAnswer(Answer::kNo);
    QTest::mouseClick(invoice.BtnSave, Qt::LeftButton);
    EXPECT_EQ(scripted_.Said(), said);
    ASSERT_EQ(invoice.result(), QDialog::Accepted);

    // The stored texts, as a dBASE reader sees them.
    const auto stored = [](FIELD4* field) { return QString::fromLatin1(f4str(field)).trimmed(); };
    ASSERT_EQ(d4go(InvDb, SelInv), 0);
    const long number = f4long(InvFld.IvNo);
    EXPECT_EQ(stored(InvFld.Ship), QStringLiteral("4.50"));
    EXPECT_EQ(stored(InvFld.Tax), QStringLiteral("5.70"));
    EXPECT_EQ(stored(InvFld.Due), QStringLiteral("16.92"));
    ASSERT_EQ(d4seek(ItemDb, KeyText(PadNumber(number, 6)).constData()), 0);
    EXPECT_EQ(stored(ItemFld.UPR), QStringLiteral("19.99"));
    EXPECT_EQ(stored(ItemFld.Qty), QStringLiteral("2.85"));
    ASSERT_EQ(d4seek(PmtDb, KeyText(PadNumber(number, 6)).constData()), 0);
    EXPECT_EQ(stored(PmtFld.PAmt), QStringLiteral("50.25"));
    EXPECT_EQ(stored(PmtFld.GST), QStringLiteral("4.57"));
    EXPECT_EQ(stored(PmtFld.PDate), QStringLiteral("20260314"));
  }
}

}  // namespace
}  // namespace invoicing_test
