// The "Print Labels" window over the dialog's logic: the stock last used
// chosen, the arrows and fields kept within the chosen stock, OK taking
// the stock and the starting place.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

#include "../common/CustomerData.h"
#include "../common/DataDirFixture.h"
#include "labels/LabPrint.h"
#include "labels/LabPrintU.h"

namespace {

class LabPrintWindowTest : public test_support::DataDirFixture {};

TEST_F(LabPrintWindowTest, ArrowsKeepTheStartOnTheChosenStockAndOkTakesIt) {
  LabelRecord one, three;
  one.Name = "One";
  three.Name = "Three";
  three.NAcross = 3;
  test_support::AddLabelStocks({one, three});
  ASSERT_TRUE(OpenLabels());
  Settings.LabID = QString("Three").leftJustified(40);
  TLabPrint window;
  window.show();
  EXPECT_EQ(window.ComboBox1->currentText(), "Three");
  for (int i = 0; i < 4; ++i) window.UpDown1Right->click();
  window.UpDown2Down->click();
  EXPECT_EQ(window.MaskEdit1->text() + "," + window.MaskEdit2->text(), "3,2");
  window.grab().save(QStringLiteral(PELMARK_SCREENSHOT_DIR) + "/labprint.png");
  window.UpDown1Left->click();
  window.ComboBox1->setCurrentIndex(0);  // one across: the column follows
  EXPECT_EQ(window.MaskEdit1->text(), "1");
  window.BtnOK->click();
  EXPECT_EQ(window.result(), QDialog::Accepted);
  EXPECT_FALSE(labels::LabPrintCancelled);
  EXPECT_EQ(LabelRec.Name.trimmed(), "One");
  EXPECT_EQ(labels::LabStartRow, 2);
}

}  // namespace
