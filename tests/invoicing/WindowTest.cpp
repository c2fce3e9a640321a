// The invoice window and its dialogs driven through their real controls,
// offscreen: a line added by picking a product, its quantity edited, a
// computed line typed, a payment added, the invoice saved and opened again
// from the invoice pick list. Each dialog is shown by the scripted
// platform's stand-in, which works its controls as the operator would.

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QTest>
#include <functional>

#include "InvoiceFixture.h"
#include "WindowDriving.h"
#include "invoicing/InvoiceU.h"
#include "invoicing/ItemDefU.h"
#include "invoicing/PickPmtU.h"
#include "invoicing/PmtDefU.h"
#include "masterdata/PickInvU.h"
#include "masterdata/PickProdU.h"
#include "reports/ReportOutput.h"
#include "reports/RptUtil.h"
#include "util/MoneyEdit.h"

namespace invoicing_test {
namespace {

using namespace invoicing;
using platform::Answer;
using platform::WindowId;

class WindowTest : public InvoiceFixture {
 protected:
  void SetUp() override {
    InvoiceFixture::SetUp();
    Settings.TaxRate1 = 0;  // freight typed by the operator
    Settings.TaxRate2 = 10;
    Settings.ShipTax = 2;  // GST on freight too
    Settings.GSTField = 2;
    customer_ = AddCustomer(12, "Fraser", "Fay", "deliveries after 9");
    AddProduct({"BOLT", "Bolt M6", 0.25, false, true});
    widget_ =
        AddProduct({"WIDGET", "Blue widget", 12.5, false, true, "boxed", "LIC-7", "Keep dry"});
  }

  long customer_ = 0;
  long widget_ = 0;
};

TEST_F(WindowTest, InvoiceIsFilledSavedAndReopened) {
  TInvoice invoice;
  TItemDef item_def;
  TPmtDef pmt_def;
  TPickProd pick_prod;
  TPickInv pick_inv;

  SelInv = 0;
  ShowActive(&invoice);
  EXPECT_EQ(invoice.windowTitle(), QStringLiteral("Tax Invoice"));
  EXPECT_EQ(invoice.Edit1->text(), QStringLiteral("     1"));
  EXPECT_EQ(invoice.ShipLabel->text(), QStringLiteral("Freight:"));
  EXPECT_EQ(invoice.TaxLabel->text(), QStringLiteral("GST:"));
  EXPECT_TRUE(invoice.BtnPrint->isEnabled());
  EXPECT_TRUE(invoice.BtnCust->hasFocus());
  EXPECT_EQ(invoice.StringGrid1->rowCount(), 4);
  EXPECT_EQ(invoice.StringGrid1->horizontalHeaderItem(1)->text(), QStringLiteral("Description"));
  EXPECT_EQ(invoice.DateTimePicker1->date(), QDate(2026, 3, 14));

  ClickCustomer(&scripted_, &invoice, customer_);
  EXPECT_TRUE(invoice.Memo1->toPlainText().startsWith(QStringLiteral("Fay Fraser\n")));
  EXPECT_EQ(invoice.Edit4->text(), QStringLiteral("deliveries after 9"));

  // Add a line: the product is picked in the real pick list by typing its ID.
  scripted_.OnModal(WindowId::kPickProd, [&] {
    ShowActive(&pick_prod);
    QTest::keyClicks(pick_prod.SearchEdit, QStringLiteral("wid"));
    QTest::mouseClick(pick_prod.BtnSelect, Qt::LeftButton);
    return pick_prod.result();
  });
  QString preview;
  scripted_.OnModal(WindowId::kItemDef, [&] {
    ShowActive(&item_def);
    EXPECT_EQ(item_def.windowTitle(), QStringLiteral("Invoice Line Item"));
    EXPECT_EQ(item_def.Edit1->text().trimmed(), QStringLiteral("WIDGET"));
    EXPECT_EQ(item_def.CheckBox1->text(), QStringLiteral("Freight"));
    EXPECT_EQ(item_def.CheckBox2->text(), QStringLiteral("GST"));
    EXPECT_TRUE(item_def.CheckBox2->isChecked());
    EXPECT_TRUE(item_def.Edit2->hasFocus());
    EXPECT_EQ(item_def.MaskEdit2->text(), QStringLiteral("     1.00"));
    EXPECT_EQ(item_def.MaskEdit3->text(), QStringLiteral("     12.50"));
    Retype(item_def.MaskEdit2, QStringLiteral("3"));
    preview = item_def.MaskEdit3->text();
    EXPECT_EQ(item_def.MaskEdit2->text(), QStringLiteral("     3.00"));
    SaveScreenshot(&item_def, "itemdef.png");
    QTest::mouseClick(item_def.BtnSave, Qt::LeftButton);
    return item_def.result();
  });
  QTest::mouseClick(invoice.BAddItm, Qt::LeftButton);
  EXPECT_EQ(preview, QStringLiteral("     37.50"));
  QTableWidget* grid = invoice.StringGrid1;
  EXPECT_EQ(Cell(grid, 0, 0).trimmed(), QStringLiteral("WIDGET"));
  EXPECT_EQ(Cell(grid, 0, 1).trimmed(), QStringLiteral("Blue widget"));
  EXPECT_EQ(Cell(grid, 0, 2), QStringLiteral("   12.50"));
  EXPECT_EQ(Cell(grid, 0, 3), QStringLiteral("     3.00"));
  EXPECT_EQ(Cell(grid, 0, 4), QStringLiteral("     37.50 ft"));
  EXPECT_EQ(invoice.MaskEdit2->text(), QStringLiteral("     37.50"));
  EXPECT_EQ(invoice.MaskEdit4->text(), QStringLiteral("      3.75"));
  EXPECT_EQ(invoice.MaskEdit5->text(), QStringLiteral("     41.25"));

  // Edit its quantity: the totals and the computed line follow.
  scripted_.OnModal(WindowId::kItemDef, [&] {
    ShowActive(&item_def);
    EXPECT_EQ(item_def.MaskEdit2->text(), QStringLiteral("     3.00"));
    EXPECT_EQ(item_def.MaskEdit3->text(), QStringLiteral("     37.50"));
    Retype(item_def.MaskEdit2, QStringLiteral("2"));
    QTest::mouseClick(item_def.BtnSave, Qt::LeftButton);
    return item_def.result();
  });
  grid->setCurrentCell(0, 0);
  QTest::mouseClick(invoice.BEditItm, Qt::LeftButton);
  EXPECT_EQ(Cell(grid, 0, 4), QStringLiteral("     25.00 ft"));
  EXPECT_EQ(invoice.MaskEdit4->text(), QStringLiteral("      2.50"));
  EXPECT_EQ(invoice.MaskEdit5->text(), QStringLiteral("     27.50"));

  // Freight typed: GST is charged on it as well.
  Retype(invoice.MaskEdit3, QStringLiteral("5"));
  EXPECT_EQ(invoice.MaskEdit3->text(), QStringLiteral("      5.00"));
  EXPECT_EQ(invoice.MaskEdit4->text(), QStringLiteral("      3.00"));
  EXPECT_EQ(invoice.MaskEdit5->text(), QStringLiteral("     33.00"));
  EXPECT_EQ(invoice.MaskEdit7->text(), QStringLiteral("     33.00"));

  // A payment including GST.
  scripted_.OnModal(WindowId::kPmtDef, [&] {
    ShowActive(&pmt_def);
    EXPECT_EQ(pmt_def.windowTitle(), QStringLiteral("Payment"));
    EXPECT_EQ(pmt_def.CheckBox1->text(), QStringLiteral("GST Included"));
    EXPECT_EQ(pmt_def.Label3->text(), QStringLiteral("GST"));
    EXPECT_TRUE(pmt_def.CheckBox1->isChecked());
    EXPECT_FALSE(pmt_def.BtnDelete->isEnabled());
    Retype(pmt_def.MaskEdit2, QStringLiteral("11"));
    EXPECT_EQ(pmt_def.MaskEdit1->text().trimmed(), QStringLiteral("1.00"));
    pmt_def.CheckBox1->click();
    EXPECT_EQ(pmt_def.MaskEdit1->text().trimmed(), QStringLiteral("0.00"));
    pmt_def.CheckBox1->click();
    EXPECT_EQ(pmt_def.MaskEdit1->text().trimmed(), QStringLiteral("1.00"));
    SaveScreenshot(&pmt_def, "pmtdef.png");
    QTest::mouseClick(pmt_def.BtnSave, Qt::LeftButton);
    return pmt_def.result();
  });
  QTest::mouseClick(invoice.BAddPmt, Qt::LeftButton);
  EXPECT_EQ(invoice.MaskEdit6->text(), QStringLiteral("     11.00"));
  EXPECT_EQ(invoice.MaskEdit7->text(), QStringLiteral("     22.00"));

  Retype(invoice.Edit2, QStringLiteral("Trade counter"));
  Retype(invoice.Edit3, QStringLiteral("VISA 4111"));
  Focus(invoice.Memo2);
  QTest::keyClicks(invoice.Memo2, QStringLiteral("Leave at reception."));
  invoice.BtnSave->setFocus();  // leaves the note
  EXPECT_EQ(InvRec.REM, QStringLiteral("Leave at reception."));
  SaveScreenshot(&invoice, "invoice.png");

  scripted_.QueueInput(QStringLiteral("1001"));
  scripted_.QueueAnswer(Answer::kNo);
  QTest::mouseClick(invoice.BtnSave, Qt::LeftButton);
  EXPECT_EQ(invoice.result(), QDialog::Accepted);
  EXPECT_FALSE(invoice.isVisible());
  EXPECT_EQ(SelInv, 1);
  EXPECT_EQ(StoredInvoiceNumbers(), std::vector<long>{1001});

  // Opened again from the invoice pick list.
  ShowActive(&pick_inv);
  EXPECT_EQ(Cell(pick_inv.StringGrid1, 0, 0), QStringLiteral("  1001"));
  QTest::mouseClick(pick_inv.BtnSelect, Qt::LeftButton);
  EXPECT_EQ(SelInv, 1);
  ShowActive(&invoice);
  EXPECT_EQ(invoice.Edit1->text(), QStringLiteral("  1001"));
  EXPECT_EQ(invoice.Edit2->text(), QStringLiteral("Trade counter"));
  EXPECT_EQ(invoice.Edit3->text(), QStringLiteral("VISA 4111"));
  EXPECT_EQ(invoice.Memo2->toPlainText(), QStringLiteral("Leave at reception."));
  EXPECT_TRUE(invoice.Memo1->toPlainText().startsWith(QStringLiteral("Fay Fraser\n")));
  EXPECT_EQ(Cell(grid, 0, 4), QStringLiteral("     25.00 ft"));
  EXPECT_EQ(invoice.MaskEdit3->text(), QStringLiteral("      5.00"));
  EXPECT_EQ(invoice.MaskEdit4->text(), QStringLiteral("      3.00"));
  EXPECT_EQ(invoice.MaskEdit6->text(), QStringLiteral("     11.00"));
  EXPECT_EQ(invoice.MaskEdit7->text(), QStringLiteral("     22.00"));
  SaveScreenshot(&invoice, "invoice-reopened.png");
  QTest::mouseClick(invoice.BtnCancel, Qt::LeftButton);
  EXPECT_EQ(invoice.result(), QDialog::Rejected);
}

// What the operator typed into the note and the header fields and then left
// stays through every redisplay of the invoice, and Save writes it.
TEST_F(WindowTest, TypedNoteAndHeaderSurviveEveryRedisplay) {
  TInvoice invoice;
  SelInv = 0;
  ShowActive(&invoice);
  ClickCustomer(&scripted_, &invoice, customer_);

  const auto pick_product = [&](long record) {
    scripted_.OnModal(WindowId::kPickProd, [&, record] {
      SelProd = record;
      return record > 0 ? 1 : 0;
    });
  };
  const struct {
    const char* step;
    std::function<void()> act;
  } steps[] = {
      {"add a line",
       [&] {
         pick_product(widget_);
         scripted_.OnModal(WindowId::kItemDef, [] {
           ItemResult = kResultSave;
           return 1;
         });
         QTest::mouseClick(invoice.BAddItm, Qt::LeftButton);
       }},
      {"add a payment",
       [&] {
         scripted_.OnModal(WindowId::kPmtDef, [] {
           PmtResult = kResultSave;
           return 1;
         });
         QTest::mouseClick(invoice.BAddPmt, Qt::LeftButton);
       }},
      {"cancel the product pick list",
       [&] {
         pick_product(-1);
         QTest::mouseClick(invoice.BAddItm, Qt::LeftButton);
       }},
      {"cancel the customer pick list", [&] { ClickCustomer(&scripted_, &invoice, -1); }},
      {"type the freight", [&] { Retype(invoice.MaskEdit3, QStringLiteral("5")); }},
  };
  QString note;
  QString dept;
  QString imemo;
  for (const auto& step : steps) {
    // Each field typed afresh and left before the step.
    note = QStringLiteral("call before %1").arg(QString::fromLatin1(step.step).left(10));
    dept = QStringLiteral("Dept %1").arg(&step - steps);
    imemo = QStringLiteral("CHQ %1").arg(&step - steps);
    Retype(invoice.Edit4, note);
    Retype(invoice.Edit2, dept);
    Retype(invoice.Edit3, imemo);
    step.act();
    EXPECT_EQ(invoice.Edit4->text(), note) << step.step;
    EXPECT_EQ(invoice.Edit2->text(), dept) << step.step;
    EXPECT_EQ(invoice.Edit3->text(), imemo) << step.step;
  }
  EXPECT_EQ(ItemGrid.size(), 1u);
  EXPECT_EQ(PaymentGrid.size(), 1u);

  scripted_.QueueInput(QStringLiteral("1"));
  scripted_.QueueAnswer(Answer::kNo);
  QTest::mouseClick(invoice.BtnSave, Qt::LeftButton);
  ASSERT_EQ(invoice.result(), QDialog::Accepted);
  ASSERT_EQ(d4go(CustDb, customer_), 0);
  EXPECT_EQ(QString::fromLatin1(f4str(CustFld.note)).trimmed(), note);
  ASSERT_EQ(d4go(InvDb, SelInv), 0);
  EXPECT_EQ(QString::fromLatin1(f4str(InvFld.Dept)).trimmed(), dept);
  EXPECT_EQ(QString::fromLatin1(f4str(InvFld.IMemo)).trimmed(), imemo);
}

// The line grid shows whole the widest amount each column can hold: the
// largest and most negative price and quantity the line dialog admits, and
// the line totals they make with their tax flags.
TEST_F(WindowTest, GridColumnsShowTheWidestAmountsWhole) {
  TInvoice invoice;
  SelInv = 0;
  ShowActive(&invoice);
  ItemGrid = {Line("WIDGET", 999999.99, 99999.99, true, true),
              Line("WIDGET", 999999.99, -9999.99, true, true),
              Line("WIDGET", -99999.99, 99999.99, false, false), Line("WIDGET", 1, 1350, true)};
  ShowInvoice();
  invoice.ShowScreen();
  QTableWidget* grid = invoice.StringGrid1;
  EXPECT_EQ(Cell(grid, 0, 4), QStringLiteral("99999989000.00 tt"));
  EXPECT_EQ(Cell(grid, 1, 4), QStringLiteral("-9999989900.00 tt"));
  EXPECT_EQ(Cell(grid, 3, 4), QStringLiteral("   1350.00 tf"));
  // The room a cell gives its text: the column less the grid line and the
  // text margins on both sides.
  const int margin = grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1;
  const QFontMetrics metrics(grid->font());
  for (int row = 0; row < 4; ++row) {
    for (int column = 2; column < kGridColumns; ++column) {
      const QString text = Cell(grid, row, column);
      const int room = grid->columnWidth(column) - 1 - 2 * margin;
      EXPECT_EQ(metrics.elidedText(text, Qt::ElideRight, room), text)
          << "row " << row << " column " << column;
    }
  }
  // The grid still fits the window.
  EXPECT_LE(grid->geometry().right(), invoice.width());
  SaveScreenshot(&invoice, "invoice-widest-amounts.png");
}

// Print lays out the invoice as the window shows it, saved or not, and
// writes nothing: first a new invoice under its provisional number, then
// the saved one with a date and freight changed but not saved.
TEST_F(WindowTest, PrintShowsTheInvoiceAsShownAndStoresNothing) {
  TInvoice invoice;
  QStringList printed;
  scripted_.OnModal(WindowId::kReportF, [&] {
    printed.clear();
    for (int line = 0; line < RptLines.Count(); ++line) {
      printed << reports::ExportLine(line, reports::ExportKind::kPlainText);
    }
    return 1;
  });
  SelInv = 0;
  ShowActive(&invoice);
  QTest::mouseClick(invoice.BtnPrint, Qt::LeftButton);
  EXPECT_EQ(scripted_.Said(), QStringList{"Customer must be selected to print"});
  EXPECT_EQ(scripted_.ModalCount(WindowId::kReportF), 0);

  scripted_.OnModal(WindowId::kPickCust, [&] {
    SelCust = customer_;
    return 1;
  });
  QTest::mouseClick(invoice.BtnCust, Qt::LeftButton);
  scripted_.OnModal(WindowId::kPickProd, [&] {
    SelProd = widget_;
    return 1;
  });
  scripted_.OnModal(WindowId::kItemDef, [] {
    ItemForm.price = FixedText(19.99, 8, 2);
    ItemForm.quantity = FixedText(3, 9, 2);
    ItemResult = kResultSave;
    return 1;
  });
  QTest::mouseClick(invoice.BAddItm, Qt::LeftButton);

  const QString march14 = ShortDateText(FromQDate(QDate(2026, 3, 14)));
  const QString march20 = ShortDateText(FromQDate(QDate(2026, 3, 20)));
  const struct {
    const char* step;
    bool save_first;  // save, then open the invoice again
    const char* freight;
    QDate date;
    QStringList expected;  // patterns, each matching one printed line
    std::vector<long> stored_numbers;
    double stored_freight;
  } cases[] = {
      {"unsaved",
       false,
       "5",
       QDate(2026, 3, 14),
       {R"(^To:\s+Fay Fraser\s+Invoice No:  1$)", R"(Invoice Date:  )" + march14 + "$",
        R"(^ WIDGET\s+Blue widget\s+19\.99\s+3\.00\s+59\.97$)", R"(^\s+boxed$)",
        R"(^\s+License No\. LIC-712$)", R"(SubTotal:\s+59\.97$)", R"(Freight:\s+5\.00$)",
        R"(GST:\s+6\.50$)", R"(Total:\s+71\.47$)", R"(Balance Due:\s+71\.47$)", "^Keep dry$"},
       {},
       0},
      {"saved, then changed",
       true,
       "7",
       QDate(2026, 3, 20),
       {R"(Invoice No:  1001$)", R"(Invoice Date:  )" + march20 + "$", R"(Freight:\s+7\.00$)",
        R"(GST:\s+6\.70$)", R"(Total:\s+73\.67$)"},
       {1001},
       5},
  };
  for (const auto& c : cases) {
    if (c.save_first) {
      scripted_.QueueInput(QStringLiteral("1001"));
      scripted_.QueueAnswer(Answer::kNo);
      QTest::mouseClick(invoice.BtnSave, Qt::LeftButton);
      ASSERT_EQ(invoice.result(), QDialog::Accepted);
      ShowActive(&invoice);
    }
    Retype(invoice.MaskEdit3, QString::fromLatin1(c.freight));
    invoice.DateTimePicker1->setDate(c.date);
    const QString shown_number = invoice.Edit1->text();
    const QString shown_due = invoice.MaskEdit7->text();
    scripted_.ClearRecords();
    QTest::mouseClick(invoice.BtnPrint, Qt::LeftButton);
    EXPECT_EQ(scripted_.ModalCount(WindowId::kReportF), 1) << c.step;
    EXPECT_TRUE(scripted_.Said().isEmpty()) << c.step;
    for (const QString& pattern : c.expected) {
      EXPECT_EQ(printed.filter(QRegularExpression(pattern)).size(), 1)
          << c.step << ": " << pattern.toStdString() << "\n"
          << printed.join('\n').toStdString();
    }
    // Nothing written, and the window unchanged.
    EXPECT_EQ(StoredInvoiceNumbers(), c.stored_numbers) << c.step;
    EXPECT_EQ(StoredLines().size(), c.stored_numbers.size()) << c.step;
    if (c.save_first) {
      ASSERT_EQ(d4go(InvDb, SelInv), 0);
      EXPECT_EQ(f4double(InvFld.Ship), c.stored_freight) << c.step;
      EXPECT_EQ(TextToDate(QString::fromLatin1(f4str(InvFld.IDate))),
                FromQDate(QDate(2026, 3, 14)));
    }
    EXPECT_EQ(invoice.Edit1->text(), shown_number) << c.step;
    EXPECT_EQ(invoice.MaskEdit7->text(), shown_due) << c.step;
    EXPECT_EQ(ItemGrid.size(), 1u) << c.step;
    EXPECT_EQ(RptLines.Count(), 0) << c.step;  // the buffer is freed
  }
  QTest::mouseClick(invoice.BtnCancel, Qt::LeftButton);
}

TEST_F(WindowTest, ControlsFollowTheTabOrder) {
  TInvoice invoice;
  TItemDef item_def;
  TPmtDef pmt_def;
  // The named controls of the window that Tab reaches, in the order it reaches them.
  const auto tab_order = [](QWidget* window, QWidget* first) {
    QStringList names;
    QWidget* widget = first;
    do {
      if ((widget->focusPolicy() & Qt::TabFocus) && widget->parentWidget() == window &&
          !widget->objectName().isEmpty()) {
        names << widget->objectName();
      }
      widget = widget->nextInFocusChain();
    } while (widget != first);
    return names;
  };
  EXPECT_EQ(tab_order(&invoice, invoice.BtnCust),
            QStringList({"BtnCust", "Edit4", "DateTimePicker1", "Edit2", "Edit3", "StringGrid1",
                         "BAddItm", "BEditItm", "BAddPmt", "BEditPmt", "MaskEdit3", "MaskEdit4",
                         "Memo2", "BtnSave", "BtnPrint", "BtnDelete", "BtnCancel"}));
  EXPECT_EQ(tab_order(&item_def, item_def.Edit2),
            QStringList({"Edit2", "MaskEdit1", "MaskEdit2", "Edit3", "CheckBox1", "CheckBox2",
                         "BtnSave", "BtnDelete", "BtnCancel"}));
  EXPECT_EQ(tab_order(&pmt_def, pmt_def.DateTimePicker1),
            QStringList({"DateTimePicker1", "MaskEdit2", "CheckBox1", "MaskEdit1", "BtnSave",
                         "BtnDelete", "BtnCancel"}));
  for (QWidget* read_only :
       std::initializer_list<QWidget*>{invoice.Memo1, invoice.Edit1, invoice.MaskEdit2,
                                       invoice.MaskEdit5, invoice.MaskEdit6, invoice.MaskEdit7}) {
    EXPECT_EQ(read_only->focusPolicy(), Qt::NoFocus) << read_only->objectName().toStdString();
  }
}

TEST_F(WindowTest, PaymentListEditsTheChosenPayment) {
  TPickPmt pick_pmt;
  TPmtDef pmt_def;
  PaymentGrid = {Payment(QDate(2026, 3, 1), 10), Payment(QDate(2026, 3, 2), 20, 2, true),
                 Payment(QDate(2026, 3, 3), 30)};
  ShowInvoice();
  scripted_.OnModal(WindowId::kPmtDef, [&] {
    ShowActive(&pmt_def);
    EXPECT_EQ(pmt_def.MaskEdit2->text(), QStringLiteral("     20.00"));
    EXPECT_EQ(pmt_def.MaskEdit1->text(), QStringLiteral("      2.00"));  // as stored
    EXPECT_TRUE(pmt_def.CheckBox1->isChecked());
    EXPECT_TRUE(pmt_def.BtnDelete->isEnabled());
    EXPECT_EQ(pmt_def.DateTimePicker1->date(), QDate(2026, 3, 2));
    QTest::mouseClick(pmt_def.BtnDelete, Qt::LeftButton);
    return pmt_def.result();
  });
  scripted_.OnModal(WindowId::kPickPmt, [&] {
    ShowActive(&pick_pmt);
    EXPECT_EQ(pick_pmt.windowTitle(), QStringLiteral("Select Payment"));
    EXPECT_EQ(pick_pmt.StringGrid1->rowCount(), 3);
    EXPECT_EQ(pick_pmt.StringGrid1->horizontalHeaderItem(0)->text(), QStringLiteral("Date"));
    EXPECT_EQ(Cell(pick_pmt.StringGrid1, 2, 1), QStringLiteral("     30.00"));
    pick_pmt.StringGrid1->setCurrentCell(1, 0);
    SaveScreenshot(&pick_pmt, "pickpmt.png");
    QTest::mouseClick(pick_pmt.BtnSelect, Qt::LeftButton);
    return pick_pmt.result();
  });
  EditPayments();
  ASSERT_EQ(PaymentGrid.size(), 2u);
  EXPECT_EQ(PaymentGrid[1], Payment(QDate(2026, 3, 3), 30));
  EXPECT_EQ(Screen.payments, QStringLiteral("     40.00"));
}

}  // namespace
}  // namespace invoicing_test
