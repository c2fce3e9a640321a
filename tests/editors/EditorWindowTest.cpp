// The editor windows driven through their real controls, offscreen: the
// money fields (tidying at the decimal separator, red while negative), what
// each window opens on and what its Save writes. Each window saves a
// screenshot into the build directory.

#include <gtest/gtest.h>

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "EditorsFixture.h"
#include "invoicing/TaxDefU.h"
#include "labels/LabelDefU.h"
#include "masterdata/ProdDefU.h"
#include "masterdata/PurDefU.h"
#include "masterdata/StationaryU.h"
#include "util/MoneyEdit.h"

namespace editors_test {
namespace {

void SaveScreenshot(QWidget* window, const char* name) {
  // Let the layout follow texts set since the window was shown.
  QCoreApplication::processEvents();
  const QString path = QStringLiteral(PELMARK_SCREENSHOT_DIR "/") + QString::fromLatin1(name);
  EXPECT_TRUE(window->grab().save(path));
}

// Types into a money field from empty, as an operator would.
void TypeInto(MoneyEdit* field, const QString& keys) {
  field->setFocus();
  field->clear();
  QTest::keyClicks(field, keys);
}

using EditorWindowTest = EditorsFixture;

TEST_F(EditorWindowTest, ProductPriceTidiesAtTheSeparatorAndSaves) {
  ASSERT_TRUE(OpenProducts());
  Settings.ShipLine = QStringLiteral("Freight");
  Settings.TaxLine = QStringLiteral("VAT");
  SelProd = 0;
  TProdDef window;
  window.show();
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Product Definition"));
  EXPECT_EQ(window.CheckBox1->text(), QStringLiteral("Freight"));
  EXPECT_EQ(window.CheckBox2->text(), QStringLiteral("VAT"));
  EXPECT_FALSE(window.BtnDelete->isEnabled());
  EXPECT_EQ(window.MaskEdit1->text(), QStringLiteral("    0.00"));
  EXPECT_EQ(window.MaskEdit2->text(), QStringLiteral("     0.00"));

  TypeInto(window.MaskEdit1, QStringLiteral("12"));
  QTest::keyClick(window.MaskEdit1, '.');
  EXPECT_EQ(window.MaskEdit1->text(), QStringLiteral("   12.00"));
  EXPECT_FALSE(window.MaskEdit1->ShowsRed());
  // The decimals are selected: the next digits replace them.
  QTest::keyClicks(window.MaskEdit1, QStringLiteral("5"));
  EXPECT_EQ(window.MaskEdit1->text(), QStringLiteral("   12.5"));

  TypeInto(window.MaskEdit2, QStringLiteral("-3"));
  EXPECT_TRUE(window.MaskEdit2->ShowsRed());
  TypeInto(window.MaskEdit2, QStringLiteral("3"));
  EXPECT_FALSE(window.MaskEdit2->ShowsRed());

  window.Edit1->setText(QStringLiteral("bolt-m6"));
  window.Edit2->setText(QStringLiteral("Bolt M6"));
  window.CheckBox2->setChecked(true);
  window.Memo1->setPlainText(QStringLiteral("Zinc plated."));
  SaveScreenshot(&window, "proddef.png");
  QTest::mouseClick(window.BtnSave, Qt::LeftButton);
  EXPECT_EQ(window.result(), QDialog::Accepted);
  ASSERT_GT(SelProd, 0);
  ASSERT_EQ(d4go(ProdDb, SelProd), 0);
  LoadProduct();
  EXPECT_EQ(ProdRec.PrID.trimmed(), QStringLiteral("BOLT-M6"));
  EXPECT_EQ(ProdRec.UPrice, 12.5);
  EXPECT_EQ(ProdRec.REORDER, 3.0);
  EXPECT_FALSE(ProdRec.LTax1);
  EXPECT_TRUE(ProdRec.LTax2);
}

TEST_F(EditorWindowTest, ProductWindowRefusesADuplicateAndStaysOpen) {
  ASSERT_TRUE(OpenProducts());
  AddProducts({{"BOLT", "Bolt", 1.0, false}});
  SelProd = 0;
  TProdDef window;
  window.show();
  window.Edit1->setText(QStringLiteral("Bolt"));
  QTest::mouseClick(window.BtnSave, Qt::LeftButton);
  EXPECT_TRUE(window.isVisible());
  EXPECT_TRUE(scripted_.WasShown(QStringLiteral("Duplicate Product ID's are not allowed")));
  EXPECT_EQ(d4recCountDo(ProdDb), 1);
}

TEST_F(EditorWindowTest, PurchaseWindowOpensOnToday) {
  ASSERT_TRUE(OpenPurchases());
  ASSERT_TRUE(OpenProducts());
  SetTodayForTests(QDate(2026, 3, 15));
  SelPur = 0;
  TPurDef window;
  window.show();
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Inventory Purchase Definition"));
  EXPECT_EQ(window.DateTimePicker1->date(), QDate(2026, 3, 15));
  EXPECT_EQ(window.MaskEdit2->text(), QStringLiteral("      0.00"));
  EXPECT_EQ(window.MaskEdit3->text(), QStringLiteral("        0.00"));
  EXPECT_TRUE(window.Edit1->isReadOnly());
  TypeInto(window.MaskEdit3, QStringLiteral("1234"));
  QTest::keyClick(window.MaskEdit3, '.');
  EXPECT_EQ(window.MaskEdit3->text(), QStringLiteral("     1234.00"));
  SaveScreenshot(&window, "purdef.png");
  // Without a product nothing is saved.
  QTest::mouseClick(window.BtnSave, Qt::LeftButton);
  EXPECT_TRUE(scripted_.WasShown(QStringLiteral("Product Selection Required.")));
  EXPECT_EQ(d4recCountDo(PurDb), 0);
}

TEST_F(EditorWindowTest, TaxWindowShowsNegativeRatesRedAndSavesChoices) {
  Settings.TaxRate1 = -1.5;
  Settings.TaxRate2 = 10;
  Settings.GSTField = 2;
  Settings.ShipTax = 3;
  Settings.TaxRound = 0;
  TTaxDef window;
  window.show();
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Tax Definition"));
  EXPECT_EQ(window.Edit1->text(), QStringLiteral("Computed 1"));
  EXPECT_EQ(window.MaskEdit1->text(), QStringLiteral("-1.50"));
  EXPECT_TRUE(window.MaskEdit1->ShowsRed());
  EXPECT_EQ(window.MaskEdit2->text(), QStringLiteral("10.00"));
  EXPECT_FALSE(window.MaskEdit2->ShowsRed());
  EXPECT_TRUE(window.RadioButton2->isChecked());
  EXPECT_FALSE(window.RadioButton1->isChecked());
  EXPECT_EQ(window.RadioGroup1Items->checkedId(), 2);
  EXPECT_EQ(window.RadioGroup2Items->checkedId(), -1);

  TypeInto(window.MaskEdit2, QStringLiteral("-7"));
  EXPECT_TRUE(window.MaskEdit2->ShowsRed());
  QTest::keyClick(window.MaskEdit2, '.');
  EXPECT_EQ(window.MaskEdit2->text(), QStringLiteral("-7.00"));
  window.RadioGroup2Items->button(2)->setChecked(true);
  QTest::mouseClick(window.RadioButton1, Qt::LeftButton);
  EXPECT_FALSE(window.RadioButton2->isChecked());
  SaveScreenshot(&window, "taxdef.png");
  QTest::mouseClick(window.BtnSave, Qt::LeftButton);
  EXPECT_EQ(window.result(), QDialog::Accepted);
  EXPECT_EQ(Settings.TaxRate2, -7.0);
  EXPECT_EQ(Settings.GSTField, 1);
  EXPECT_EQ(Settings.TaxRound, 3);

  // Neither GST/VAT line when none is stored.
  Settings.GSTField = 0;
  window.show();
  EXPECT_FALSE(window.RadioButton1->isChecked());
  EXPECT_FALSE(window.RadioButton2->isChecked());
}

TEST_F(EditorWindowTest, StationeryWindowShowsTheLetterhead) {
  Settings.Company = QStringLiteral("Acme Pty Ltd");
  Settings.Addr1 = QStringLiteral("1 Main Street");
  Settings.TopMargin = 0.5;
  Settings.LogoHeight = 1;
  Settings.LogoWidth = 2.25;
  Settings.LHJustify = 2;
  TStationary window;
  window.show();
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Stationery Setup"));
  EXPECT_EQ(window.Edit2->text(), QStringLiteral("Acme Pty Ltd"));
  EXPECT_EQ(window.MaskEdit1->text(), QStringLiteral(" 0.50"));
  EXPECT_EQ(window.MaskEdit3->text(), QStringLiteral(" 2.25"));
  EXPECT_TRUE(window.RadioButton2->isChecked());
  EXPECT_EQ(window.Edit1->maxLength(), 35);
  TypeInto(window.MaskEdit1, QStringLiteral("-1"));
  EXPECT_TRUE(window.MaskEdit1->ShowsRed());
  TypeInto(window.MaskEdit2, QStringLiteral("-1"));
  EXPECT_FALSE(window.MaskEdit2->ShowsRed());
  TypeInto(window.MaskEdit1, QStringLiteral("1"));
  SaveScreenshot(&window, "stationary.png");
  window.RadioButton3->setChecked(true);
  window.MaskEdit2->setText(QStringLiteral(" 1.00"));
  QTest::mouseClick(window.BtnSave, Qt::LeftButton);
  EXPECT_EQ(window.result(), QDialog::Accepted);
  EXPECT_EQ(Settings.LHJustify, 3);
  EXPECT_EQ(Settings.TopMargin, 1.0);
}

TEST_F(EditorWindowTest, LabelWindowMeasuresInPointsNeverRed) {
  ASSERT_TRUE(OpenLabels());
  SelLab = 0;
  TLabelDef window;
  window.show();
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Label Definition"));
  EXPECT_EQ(window.MaskEdit1->text(), QStringLiteral("   0.000"));
  EXPECT_EQ(window.MaskEdit8->text(), QStringLiteral("   0.000"));
  EXPECT_EQ(window.MaskEdit9->text(), QStringLiteral("1"));
  TypeInto(window.MaskEdit5, QStringLiteral("189"));
  QTest::keyClick(window.MaskEdit5, '.');
  EXPECT_EQ(window.MaskEdit5->text(), QStringLiteral(" 189.000"));
  TypeInto(window.MaskEdit7, QStringLiteral("-9"));
  EXPECT_FALSE(window.MaskEdit7->ShowsRed());
  window.MaskEdit9->clear();
  QTest::keyClicks(window.MaskEdit9, QStringLiteral("x34"));
  EXPECT_EQ(window.MaskEdit9->text(), QStringLiteral("3"));
  window.Edit1->setText(QStringLiteral("Avery 5160"));
  SaveScreenshot(&window, "labeldef.png");
  QTest::mouseClick(window.BtnSave, Qt::LeftButton);
  EXPECT_EQ(window.result(), QDialog::Accepted);
  ASSERT_GT(SelLab, 0);
  ASSERT_EQ(d4go(LabelDb, SelLab), 0);
  EXPECT_EQ(f4double(LabelFld.Width), 189.0);
  EXPECT_EQ(f4double(LabelFld.HGap), -9.0);
  EXPECT_EQ(f4int(LabelFld.NAcross), 3);
}

}  // namespace
}  // namespace editors_test
