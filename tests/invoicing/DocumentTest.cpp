// The invoice in memory: line totals, the two computed lines under every
// rule, the totals and amount due as shown, and line and payment entry
// through the dialogs' stand-ins.

#include <gtest/gtest.h>

#include "InvoiceFixture.h"

namespace invoicing_test {
namespace {

using namespace invoicing;
using platform::WindowId;

class DocumentTest : public InvoiceFixture {};

TEST_F(DocumentTest, LineTotalsRoundHalfCentsAwayFromZero) {
  struct Case {
    const char* quantity;
    const char* price;
    const char* shown;
  } cases[] = {
      {"     0.50", "    0.25", "      0.13 ff"},
      {"     0.50", "   -0.25", "     -0.13 ff"},
      {"     3.00", "    1.10", "      3.30 ff"},
      {"     1.00", "    2.34", "      2.34 ff"},
      // Exact half cents in binary: 16.625 and -16.125.
      {"     3.50", "    4.75", "     16.63 ff"},
      {"     1.50", "  -10.75", "    -16.13 ff"},
  };
  for (const Case& c : cases) {
    ItemGrid = {Line("A", 0, 0)};
    ItemGrid[0][1] = QString::fromLatin1(c.quantity);
    ItemGrid[0][2] = QString::fromLatin1(c.price);
    ShowInvoice();
    EXPECT_EQ(Screen.rows[0][4], QString::fromLatin1(c.shown)) << c.quantity << " x " << c.price;
    EXPECT_EQ(Screen.subtotal, QString::fromLatin1(c.shown).left(10));
  }
}

TEST_F(DocumentTest, GridShowsEveryLineAndGrowsButNeverShrinks) {
  OpenInvoiceDocument();
  ASSERT_EQ(Screen.rows.size(), 4u);
  ItemGrid = {Line("A", 1, 1, true, false, "Apples"), Line("B", 2, 1, false, true),
              Line("C", 1, 1, true, true), Line("D", 1, 1), Line("E", 1, 5)};
  ShowInvoice();
  ASSERT_EQ(Screen.rows.size(), 5u);
  EXPECT_EQ(Screen.rows[0][0], QStringLiteral("A"));
  EXPECT_EQ(Screen.rows[0][1], QStringLiteral("Apples"));
  EXPECT_EQ(Screen.rows[0][2], QStringLiteral("    1.00"));
  EXPECT_EQ(Screen.rows[0][3], QStringLiteral("     1.00"));
  EXPECT_TRUE(Screen.rows[0][4].endsWith(QStringLiteral(" tf")));
  EXPECT_TRUE(Screen.rows[1][4].endsWith(QStringLiteral(" ft")));
  EXPECT_TRUE(Screen.rows[2][4].endsWith(QStringLiteral(" tt")));
  EXPECT_TRUE(Screen.rows[3][4].endsWith(QStringLiteral(" ff")));
  EXPECT_EQ(Screen.subtotal, QStringLiteral("     10.00"));

  ItemGrid.resize(1);
  ShowInvoice();
  ASSERT_EQ(Screen.rows.size(), 5u);
  EXPECT_TRUE(Screen.rows[1][0].isEmpty());
  EXPECT_TRUE(Screen.rows[4][4].isEmpty());
}

// Computed lines: rates, tax on tax and rounding. A line of 100.00 flagged as given.
TEST_F(DocumentTest, ComputedLinesFollowRatesTaxOnTaxAndRounding) {
  struct Case {
    double rate1, rate2;
    int ship_tax, tax_round;
    bool tax1, tax2;
    double ship, tax;
  } cases[] = {
      {1.23456, 0, 1, 1, true, false, 1.23, 4.44},    // Normal; line 2 keeps its typed amount
      {1.23456, 0, 1, 2, true, false, 1.24, 4.44},    // Up
      {1.23456, 0, 1, 3, true, false, 1.23, 4.44},    // Down
      {1.23011, 0, 1, 2, true, false, 1.24, 4.44},    // Up by at least a hundredth of a cent
      {1.23009, 0, 1, 2, true, false, 1.23, 4.44},    // less stays down
      {10, 5, 1, 1, true, true, 10, 5},               // no tax on tax
      {10, 5, 2, 1, true, true, 10, 5.50},            // tax 2 on line and tax 1
      {10, 5, 3, 1, true, true, 10, 5.50},            // when taxed items: there are
      {10, 5, 3, 1, true, false, 10, 0},              // no item taxed by 2: nothing
      {10, 5, 2, 1, true, false, 10, 0.50},           // always: tax 2 on tax 1 alone
      {0, 5, 2, 1, true, true, 7.77, 5.39},           // a rate of 0 keeps the typed line 1
      {10, 0, 1, 1, true, true, 10, 4.44},            // and the typed line 2
      {-10, 0, 1, 3, true, false, -10, 4.44},         // a negative rate gives a negative line
      {-1.23456, 0, 1, 3, true, false, -1.23, 4.44},  // truncated toward zero
      {-1.23456, 0, 1, 2, true, false, -1.22, 4.44},  // Up adds before truncating
  };
  for (const Case& c : cases) {
    Settings.TaxRate1 = c.rate1;
    Settings.TaxRate2 = c.rate2;
    Settings.ShipTax = c.ship_tax;
    Settings.TaxRound = c.tax_round;
    InvRec.Ship = 7.77;  // as if typed
    InvRec.Tax = 4.44;
    ItemGrid = {Line("A", 1, 100, c.tax1, c.tax2)};
    ComputeTaxes(true);
    EXPECT_DOUBLE_EQ(InvRec.Ship, c.ship) << c.rate1 << " " << c.ship_tax << " " << c.tax_round;
    EXPECT_DOUBLE_EQ(InvRec.Tax, c.tax) << c.rate2 << " " << c.ship_tax << " " << c.tax_round;
    EXPECT_EQ(Screen.ship, AmountText(c.ship));
    EXPECT_EQ(Screen.tax, AmountText(c.tax));
  }
}

TEST_F(DocumentTest, ComputedLinesStayWithBothRatesZeroOrNoLines) {
  for (const bool no_lines : {false, true}) {
    Settings.TaxRate1 = no_lines ? 10 : 0;
    Settings.TaxRate2 = no_lines ? 10 : 0;
    InvRec.Ship = 3.21;
    InvRec.Tax = 1.23;
    Screen.ship = QStringLiteral("typed");
    ItemGrid.clear();
    if (!no_lines) ItemGrid = {Line("A", 2, 50, true, true)};
    ComputeTaxes(true);
    EXPECT_DOUBLE_EQ(InvRec.Ship, 3.21);
    EXPECT_DOUBLE_EQ(InvRec.Tax, 1.23);
    EXPECT_EQ(Screen.ship, QStringLiteral("typed"));
  }
}

TEST_F(DocumentTest, TypedLineOneCarriesIntoLineTwoWhenTaxedOnIt) {
  Settings.TaxRate1 = 0;
  Settings.TaxRate2 = 10;
  Settings.ShipTax = 2;
  ItemGrid = {Line("A", 1, 100, false, true)};
  ShowInvoice();
  ShipTyped(QStringLiteral("     20.00"));
  EXPECT_DOUBLE_EQ(InvRec.Ship, 20);
  EXPECT_DOUBLE_EQ(InvRec.Tax, 12);
  EXPECT_EQ(Screen.total, QStringLiteral("    132.00"));
  EXPECT_EQ(Screen.due, QStringLiteral("    132.00"));
  // Line 2 typed: only the totals follow.
  TaxTyped(QStringLiteral("      1.00"));
  EXPECT_DOUBLE_EQ(InvRec.Ship, 20);
  EXPECT_EQ(Screen.total, QStringLiteral("    121.00"));
}

TEST_F(DocumentTest, AmountDueComesFromTheTwoDecimalTexts) {
  // 0.70 + 0.10 is just below 0.80 in binary; the amount due shown is 0.00, not -0.00.
  ItemGrid = {Line("A", 1, 0.70), Line("B", 1, 0.10)};
  PaymentGrid = {Payment(QDate(2026, 3, 1), 0.80)};
  ShowInvoice();
  EXPECT_EQ(Screen.total, QStringLiteral("      0.80"));
  EXPECT_EQ(Screen.payments, QStringLiteral("      0.80"));
  EXPECT_EQ(Screen.due, QStringLiteral("      0.00"));
  EXPECT_EQ(InvRec.Due, 0.0);
}

TEST_F(DocumentTest, NewInvoiceIsNumberedAfterTheLastInvoice) {
  EXPECT_EQ(NextInvoiceNumber(), 1);
  for (const long number : {7L, 3L, 12L}) {
    ASSERT_EQ(d4appendBlank(InvDb), 0);
    f4assignLong(InvFld.IvNo, number);
  }
  ASSERT_EQ(d4flush(InvDb), 0);
  EXPECT_EQ(NextInvoiceNumber(), 13);
  SelInv = 0;
  OpenInvoiceDocument();
  EXPECT_EQ(InvRec.IvNo, 13);
  EXPECT_EQ(Screen.invoice_no, QStringLiteral("    13"));
  EXPECT_EQ(InvRec.IDate, FromQDate(QDate(2026, 3, 14)));
  EXPECT_EQ(InvRec.CuNo, 0);
  EXPECT_TRUE(Screen.customer.isEmpty());
  EXPECT_EQ(Screen.ship_label, QStringLiteral("Freight:"));
  EXPECT_EQ(Screen.tax_label, QStringLiteral("GST:"));
}

TEST_F(DocumentTest, AddLineFromPickedProduct) {
  Settings.TaxRate2 = 10;
  const long product =
      AddProduct({"WIDGET", "Blue widget", 12.5, false, true, "boxed", "LIC-1", "Keep dry"});
  SelInv = 0;
  OpenInvoiceDocument();
  scripted_.OnModal(WindowId::kPickProd, [&] {
    SelProd = product;
    return 1;
  });
  LineForm shown;
  scripted_.OnModal(WindowId::kItemDef, [&] {
    shown = ItemForm;
    ItemForm.quantity = QStringLiteral("     2.00");
    ItemResult = kResultSave;
    return 1;
  });
  AddLine();
  EXPECT_EQ(shown.product.trimmed(), QStringLiteral("WIDGET"));
  EXPECT_EQ(shown.description.trimmed(), QStringLiteral("Blue widget"));
  EXPECT_EQ(shown.comment.trimmed(), QStringLiteral("boxed"));
  EXPECT_EQ(shown.price, QStringLiteral("   12.50"));
  EXPECT_EQ(shown.quantity, QStringLiteral("     1.00"));
  EXPECT_EQ(shown.total, QStringLiteral("     12.50"));
  EXPECT_FALSE(shown.tax1);
  EXPECT_TRUE(shown.tax2);

  ASSERT_EQ(ItemGrid.size(), 1u);
  EXPECT_EQ(ItemGrid[0][1], QStringLiteral("     2.00"));
  EXPECT_EQ(ItemGrid[0][3], QStringLiteral("f"));
  EXPECT_EQ(ItemGrid[0][4], QStringLiteral("t"));
  EXPECT_EQ(ItemGrid[0][7], QStringLiteral("LIC-1"));
  EXPECT_EQ(ItemGrid[0][8], QStringLiteral("Keep dry"));
  EXPECT_EQ(Screen.rows[0][4], QStringLiteral("     25.00 ft"));
  EXPECT_EQ(Screen.tax, QStringLiteral("      2.50"));
  EXPECT_EQ(Screen.total, QStringLiteral("     27.50"));
  EXPECT_EQ(Screen.due, QStringLiteral("     27.50"));
}

TEST_F(DocumentTest, CancellingThePickRecomputesNothingButCancellingTheLineDoes) {
  Settings.TaxRate1 = 10;
  const long product = AddProduct({"P", "Part", 5, true, false});
  SelInv = 0;
  OpenInvoiceDocument();
  ItemGrid = {Line("P", 1, 50, true)};
  InvRec.Ship = 1.11;  // typed over the computed amount

  scripted_.OnModal(WindowId::kPickProd, [&] {
    SelProd = -1;
    return 0;
  });
  AddLine();
  EXPECT_DOUBLE_EQ(InvRec.Ship, 1.11);
  EXPECT_EQ(scripted_.ModalCount(WindowId::kItemDef), 0);

  scripted_.OnModal(WindowId::kPickProd, [&] {
    SelProd = product;
    return 1;
  });
  scripted_.OnModal(WindowId::kItemDef, [] { return 0; });  // closed: counts as Cancel
  AddLine();
  EXPECT_EQ(ItemGrid.size(), 1u);
  EXPECT_DOUBLE_EQ(InvRec.Ship, 5);
}

TEST_F(DocumentTest, EditingAndDeletingLinesKeepsTheOthersInOrder) {
  Settings.TaxRate1 = 10;
  SelInv = 0;
  OpenInvoiceDocument();
  ItemGrid = {Line("A", 1, 10, true), Line("B", 1, 20, false, true), Line("C", 1, 30, true)};
  ItemGrid[2][7] = QStringLiteral("RC");
  ItemGrid[2][8] = QStringLiteral("memo");
  ShowInvoice();

  int shows = 0;
  int result = kResultCancel;
  scripted_.OnModal(WindowId::kItemDef, [&] {
    ++shows;
    if (result == kResultSave) ItemForm.quantity = QStringLiteral("     3.00");
    ItemResult = result;
    return 1;
  });
  EditLine(0);  // no current row
  EditLine(4);  // below the last line
  EXPECT_EQ(shows, 0);

  result = kResultCancel;
  InvRec.Ship = 9.99;
  EditLine(2);
  EXPECT_DOUBLE_EQ(InvRec.Ship, 9.99);  // Cancel recomputes nothing

  result = kResultSave;
  EditLine(1);
  EXPECT_EQ(ItemGrid[0][1], QStringLiteral("     3.00"));
  EXPECT_DOUBLE_EQ(InvRec.Ship, 6);  // 10% of 30 + 30

  result = kResultDelete;
  EditLine(2);
  ASSERT_EQ(ItemGrid.size(), 2u);
  EXPECT_EQ(ItemGrid[1][0], QStringLiteral("C"));
  EXPECT_EQ(ItemGrid[1][3], QStringLiteral("t"));
  EXPECT_EQ(ItemGrid[1][7], QStringLiteral("RC"));
  EXPECT_EQ(ItemGrid[1][8], QStringLiteral("memo"));
  EXPECT_EQ(Screen.rows[1][0], QStringLiteral("C"));
  EXPECT_TRUE(Screen.rows[2][0].isEmpty());

  // The last line gone: the computed lines keep their amounts.
  EditLine(1);
  EditLine(1);
  EXPECT_TRUE(ItemGrid.empty());
  EXPECT_DOUBLE_EQ(InvRec.Ship, 3);  // as computed for line C alone
  EXPECT_EQ(Screen.subtotal, QStringLiteral("      0.00"));
}

TEST_F(DocumentTest, LinePreviewRoundsNegativeHalvesAwayFromZero) {
  EXPECT_EQ(PreviewLineTotal(QStringLiteral("   -1.67"), QStringLiteral("     1.50")),
            QStringLiteral("     -2.51"));
  EXPECT_EQ(PreviewLineTotal(QStringLiteral("   12.50"), QStringLiteral("     2.00")),
            QStringLiteral("     25.00"));
  EXPECT_EQ(PreviewLineTotal(QStringLiteral("    0.00"), QStringLiteral("     2.00")),
            QStringLiteral("      0.00"));
}

TEST_F(DocumentTest, IncludedGstAtTheRate) {
  EXPECT_EQ(ComputeIncludedGST(10, QStringLiteral("    110.00"), true),
            QStringLiteral("    10.00"));
  EXPECT_EQ(ComputeIncludedGST(10, QStringLiteral("    110.00"), false),
            QStringLiteral("     0.00"));
  EXPECT_EQ(ComputeIncludedGST(12.5, QStringLiteral("     45.00"), true),
            QStringLiteral("     5.00"));
  EXPECT_EQ(ComputeIncludedGST(0, QStringLiteral("    110.00"), true), std::nullopt);
  EXPECT_EQ(ComputeIncludedGST(-5, QStringLiteral("    110.00"), true), std::nullopt);

  Settings.GSTField = 1;
  Settings.TaxRate1 = 7;
  EXPECT_DOUBLE_EQ(GstRate(), 7);
  EXPECT_EQ(GstLabel(), QStringLiteral("Freight"));
  Settings.GSTField = 0;  // anything else is computed line 2
  EXPECT_DOUBLE_EQ(GstRate(), 0);
  EXPECT_EQ(GstLabel(), QStringLiteral("GST"));
}

TEST_F(DocumentTest, NewPaymentPresetsTheGstBoxByTheGstLine) {
  struct Case {
    int gst_field;
    const char* ship;
    const char* tax;
    bool ticked;
  } cases[] = {
      {1, "      1.00", "      0.00", true},  {1, "      0.00", "      1.00", false},
      {2, "      0.00", "      1.00", true},  {2, "      1.00", "      0.00", false},
      {0, "      1.00", "      1.00", false},
  };
  for (const Case& c : cases) {
    Settings.GSTField = c.gst_field;
    Screen.ship = QString::fromLatin1(c.ship);
    Screen.tax = QString::fromLatin1(c.tax);
    PaymentForm shown;
    scripted_.OnModal(WindowId::kPmtDef, [&] {
      shown = PmtForm;
      return 0;
    });
    AddPayment();
    EXPECT_EQ(shown.includes_gst, c.ticked) << c.gst_field << c.ship << c.tax;
    EXPECT_EQ(shown.date, FromQDate(QDate(2026, 3, 14)));
    EXPECT_EQ(shown.amount, QStringLiteral("      0.00"));
    EXPECT_FALSE(shown.delete_enabled);
    EXPECT_TRUE(PaymentGrid.empty());
  }
}

TEST_F(DocumentTest, PaymentsAreAddedEditedAndRemovedInPlace) {
  SelInv = 0;
  OpenInvoiceDocument();
  ItemGrid = {Line("A", 1, 300)};
  ShowInvoice();
  scripted_.OnModal(WindowId::kPmtDef, [&] {
    PmtForm.date = FromQDate(QDate(2026, 3, 1));
    PmtForm.amount = QStringLiteral("    110.00");
    PmtForm.includes_gst = true;
    PmtForm.gst = QStringLiteral("     10.00");
    PmtResult = kResultSave;
    return 1;
  });
  AddPayment();
  PaymentGrid.push_back(Payment(QDate(2026, 3, 2), 50, 0, false));
  PaymentGrid.push_back(Payment(QDate(2026, 3, 3), 20, 2, true));
  ShowPayments();
  EXPECT_EQ(PaymentGrid[0][0], ShortDateText(FromQDate(QDate(2026, 3, 1))));
  EXPECT_EQ(PaymentGrid[0][2], QStringLiteral("     10.00"));
  EXPECT_EQ(PaymentGrid[0][3], QStringLiteral("T"));
  EXPECT_EQ(Screen.payments, QStringLiteral("    180.00"));
  EXPECT_EQ(Screen.due, QStringLiteral("    120.00"));

  // The list's Select on no row or past the last keeps the list open.
  EXPECT_FALSE(EditPayment(0));
  EXPECT_FALSE(EditPayment(4));

  PaymentForm shown;
  scripted_.OnModal(WindowId::kPmtDef, [&] {
    shown = PmtForm;
    PmtForm.date = FromQDate(QDate(2026, 3, 9));
    PmtForm.amount = QStringLiteral("     55.00");
    PmtForm.gst = QStringLiteral("     5.00");
    PmtForm.includes_gst = true;
    PmtResult = kResultSave;
    return 1;
  });
  scripted_.OnModal(WindowId::kPickPmt, [] { return EditPayment(2) ? 1 : 0; });
  EditPayments();
  EXPECT_EQ(shown.date, FromQDate(QDate(2026, 3, 2)));
  EXPECT_EQ(shown.amount, QStringLiteral("     50.00"));
  EXPECT_FALSE(shown.includes_gst);
  EXPECT_TRUE(shown.delete_enabled);
  ASSERT_EQ(PaymentGrid.size(), 3u);
  EXPECT_EQ(PaymentGrid[0], Payment(QDate(2026, 3, 1), 110, 10, true));
  EXPECT_EQ(PaymentGrid[1],
            (PaymentRow{ShortDateText(FromQDate(QDate(2026, 3, 9))), QStringLiteral("     55.00"),
                        QStringLiteral("     5.00"), QStringLiteral("T")}));
  EXPECT_EQ(PaymentGrid[2], Payment(QDate(2026, 3, 3), 20, 2, true));
  EXPECT_EQ(Screen.due, QStringLiteral("    115.00"));

  scripted_.OnModal(WindowId::kPmtDef, [] {
    PmtResult = kResultDelete;
    return 1;
  });
  EditPayments();
  ASSERT_EQ(PaymentGrid.size(), 2u);
  EXPECT_EQ(PaymentGrid[1], Payment(QDate(2026, 3, 3), 20, 2, true));
  EXPECT_EQ(Screen.due, QStringLiteral("    170.00"));

  // No payments: the list is not shown.
  PaymentGrid.clear();
  const int lists = scripted_.ModalCount(WindowId::kPickPmt);
  EditPayments();
  EXPECT_EQ(scripted_.ModalCount(WindowId::kPickPmt), lists);
}

TEST_F(DocumentTest, CustomerIsChosenAndEdited) {
  const long ann = AddCustomer(5, "Archer", "Ann", "net 30");
  const long bob = AddCustomer(6, "Baker", "Bob");
  SelInv = 0;
  OpenInvoiceDocument();

  EditCustomer();
  EXPECT_TRUE(scripted_.WasShown(QStringLiteral("Customer not selected")));
  EXPECT_EQ(scripted_.ModalCount(WindowId::kCustomer), 0);

  long opened_on = 0;
  scripted_.OnModal(WindowId::kPickCust, [&] {
    opened_on = SelCust;
    SelCust = bob;
    return 1;
  });
  EXPECT_TRUE(ChooseCustomer());
  EXPECT_EQ(opened_on, ann);  // the first customer by name
  EXPECT_EQ(InvRec.CuNo, 6);
  EXPECT_TRUE(Screen.customer.startsWith(QStringLiteral("Bob Baker\r\n")));
  EXPECT_TRUE(Screen.customer.contains(QStringLiteral("Portsmouth  PO1 2AB\r\n")));

  scripted_.OnModal(WindowId::kPickCust, [&] {
    opened_on = SelCust;
    SelCust = ann;
    return 1;
  });
  EXPECT_TRUE(ChooseCustomer());
  EXPECT_EQ(opened_on, bob);  // the list opens on the invoice's customer
  EXPECT_EQ(Screen.note, QStringLiteral("net 30"));

  long edited = 0;
  scripted_.OnModal(WindowId::kCustomer, [&] {
    edited = SelCust;
    EXPECT_EQ(d4go(CustDb, SelCust), 0);
    f4assign(CustFld.note, "cash only");
    EXPECT_EQ(d4flush(CustDb), 0);
    return 1;
  });
  EditCustomer();
  EXPECT_EQ(edited, ann);
  EXPECT_EQ(Screen.note, QStringLiteral("cash only"));

  scripted_.OnModal(WindowId::kPickCust, [&] {
    SelCust = -1;
    return 0;
  });
  EXPECT_FALSE(ChooseCustomer());
  EXPECT_EQ(InvRec.CuNo, 5);
}

}  // namespace
}  // namespace invoicing_test
