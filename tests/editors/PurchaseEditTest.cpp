// The purchase editor and its command through the scripted platform: the
// product button, the inventory flag it sets on save, the date of a new
// purchase, and deletion with the pack of Pur5.

#include <gtest/gtest.h>

#include "EditorsFixture.h"
#include "masterdata/PickU.h"
#include "masterdata/ProdDefEdit.h"
#include "masterdata/PurDefEdit.h"

namespace editors_test {
namespace {

using masterdata::PurchaseForm;
using platform::WindowId;

class PurchaseEditTest : public EditorsFixture {
 protected:
  void SetUp() override {
    EditorsFixture::SetUp();
    SetTodayForTests(QDate(2026, 3, 15));
    ASSERT_TRUE(OpenPurchases());
    ASSERT_TRUE(OpenProducts());
  }

  // The product pick list answers with `record` (0: New, -1: Cancel) and
  // notes the selection number it was opened on.
  void PickAnswers(long record) {
    scripted_.OnModal(WindowId::kPickProd, [this, record] {
      pick_opened_on_.push_back(SelProd);
      SelProd = record;
      return record > 0 ? 1 : 0;
    });
  }

  static PurchaseForm Form(const QString& product, const char* quantity, const char* cost) {
    PurchaseForm form;
    form.product_id = product;
    form.date = FromQDate(QDate(2026, 2, 1));
    form.quantity = QString::fromLatin1(quantity);
    form.cost = QString::fromLatin1(cost);
    return form;
  }

  static void ReopenTables() {
    CloseAllTables();
    ASSERT_TRUE(OpenPurchases());
    ASSERT_TRUE(OpenProducts());
  }

  std::vector<long> pick_opened_on_;
};

TEST_F(PurchaseEditTest, NewPurchaseIsDatedToday) {
  SelPur = 0;
  const masterdata::PurchaseOpening opening = masterdata::OpenPurchaseEditor();
  EXPECT_FALSE(opening.delete_enabled);
  EXPECT_EQ(SelPur, -1);
  EXPECT_EQ(opening.form.date, FromQDate(QDate(2026, 3, 15)));
  EXPECT_EQ(opening.form.product_id, QString());
  EXPECT_EQ(opening.form.quantity, QStringLiteral("      0.00"));
  EXPECT_EQ(opening.form.cost, QStringLiteral("        0.00"));
}

TEST_F(PurchaseEditTest, BuyingANonInventoryProductMarksIt) {
  // Record order differs from ID order: the list opens on the first ID.
  const std::vector<long> products =
      AddProducts({{"ZED", "Last", 1.0, false}, {"NUT", "Nut", 0.1, false, 3.0}});
  PickAnswers(products[1]);
  SelPur = 0;
  (void)masterdata::OpenPurchaseEditor();
  QString shown;
  ASSERT_TRUE(masterdata::ChoosePurchaseProduct(&shown));
  EXPECT_EQ(shown, QStringLiteral("NUT"));
  ASSERT_EQ(pick_opened_on_.size(), 1u);
  EXPECT_EQ(pick_opened_on_[0], products[1]);
  ASSERT_TRUE(masterdata::SavePurchase(Form(shown, "   5.00", "12.50")));
  const long purchase = SelPur;
  ASSERT_GT(purchase, 0);

  ReopenTables();
  EXPECT_EQ(d4recCountDo(PurDb), 1);
  EXPECT_EQ(FieldText(PurDb, purchase, PurFld.PURProd), QStringLiteral("NUT"));
  EXPECT_EQ(FieldText(PurDb, purchase, PurFld.PURDate), QStringLiteral("20260201"));
  EXPECT_EQ(f4double(PurFld.PURQty), 5.0);
  EXPECT_EQ(f4double(PurFld.PURCost), 12.5);
  ASSERT_EQ(d4go(ProdDb, products[1]), 0);
  EXPECT_EQ(f4true(ProdFld.lInven), 1);
  EXPECT_EQ(f4double(ProdFld.ONHAND), 3.0);
  ASSERT_EQ(d4go(ProdDb, products[0]), 0);
  EXPECT_EQ(f4true(ProdFld.lInven), 0);
}

TEST_F(PurchaseEditTest, EditingWithoutTheProductButtonLeavesTheProductAlone) {
  const std::vector<long> products = AddProducts({{"NUT", "Nut", 0.1, false}});
  const std::vector<long> purchases = AddPurchases({{"NUT", "20250110", 2.0, 4.0, 42}});
  // A product chosen during an earlier opening that was cancelled.
  PickAnswers(products[0]);
  SelPur = 0;
  (void)masterdata::OpenPurchaseEditor();
  QString shown;
  ASSERT_TRUE(masterdata::ChoosePurchaseProduct(&shown));

  SelPur = purchases[0];
  const masterdata::PurchaseOpening opening = masterdata::OpenPurchaseEditor();
  EXPECT_TRUE(opening.delete_enabled);
  EXPECT_EQ(opening.form.product_id, QStringLiteral("NUT"));
  EXPECT_EQ(opening.form.date, TextToDate(QStringLiteral("20250110")));
  EXPECT_EQ(opening.form.quantity, QStringLiteral("      2.00"));
  PurchaseForm form = opening.form;
  form.cost = QStringLiteral("9.99");
  ASSERT_TRUE(masterdata::SavePurchase(form));
  EXPECT_EQ(SelPur, purchases[0]);

  ReopenTables();
  EXPECT_EQ(d4recCountDo(PurDb), 1);
  ASSERT_EQ(d4go(PurDb, purchases[0]), 0);
  EXPECT_EQ(f4double(PurFld.PURCost), 9.99);
  // The purchase number is never set by the editor.
  EXPECT_EQ(f4long(PurFld.PURNo), 42);
  EXPECT_EQ(FieldText(PurDb, purchases[0], PurFld.PURDate), QStringLiteral("20250110"));
  ASSERT_EQ(d4go(ProdDb, products[0]), 0);
  EXPECT_EQ(f4true(ProdFld.lInven), 0);
}

TEST_F(PurchaseEditTest, ProductCreatedFromThePickListIsBoughtAsInventory) {
  masterdata::SetEditorReady(WindowId::kProdDef, true);
  PickAnswers(0);
  scripted_.OnModal(WindowId::kProdDef, [] {
    (void)masterdata::OpenProductEditor();
    masterdata::ProductForm form;
    form.id = QStringLiteral("bolt");
    form.price = QStringLiteral("0.25");
    form.reorder = QStringLiteral("0");
    return masterdata::SaveProduct(form) ? 1 : 0;
  });
  SelPur = 0;
  (void)masterdata::OpenPurchaseEditor();
  QString shown;
  ASSERT_TRUE(masterdata::ChoosePurchaseProduct(&shown));
  EXPECT_EQ(shown, QStringLiteral("BOLT"));
  // The product table was empty: the list opened with nothing to show.
  EXPECT_EQ(pick_opened_on_, std::vector<long>{0});
  ASSERT_TRUE(masterdata::SavePurchase(Form(shown, "100", "25")));
  ReopenTables();
  ASSERT_EQ(d4recCountDo(ProdDb), 1);
  ASSERT_EQ(d4go(ProdDb, 1), 0);
  EXPECT_EQ(f4true(ProdFld.lInven), 1);
}

TEST_F(PurchaseEditTest, RefusedSavesWriteNothing) {
  struct Case {
    const char* product;
    const char* quantity;
    const char* message;
  };
  for (const Case& c : {Case{"  ", "1", "Product Selection Required."},
                        Case{"NUT", "-", "'-' is not a valid number."}}) {
    SCOPED_TRACE(c.message);
    scripted_.ClearRecords();
    SelPur = 0;
    (void)masterdata::OpenPurchaseEditor();
    EXPECT_FALSE(masterdata::SavePurchase(Form(QString::fromLatin1(c.product), c.quantity, "1")));
    EXPECT_EQ(scripted_.Said(), QStringList{QString::fromLatin1(c.message)});
  }
  ReopenTables();
  EXPECT_EQ(d4recCountDo(PurDb), 0);
}

TEST_F(PurchaseEditTest, CommandDeletesAndPacksThePurchaseTable) {
  const std::vector<long> purchases = AddPurchases(
      {{"NUT", "20250110", 2.0, 4.0}, {"BOLT", "20250111", 3.0, 6.0}, {"AXE", "20250112", 1, 9}});
  CloseAllTables();
  std::vector<long> opened_on;
  scripted_.OnModal(WindowId::kPickPur, [&] {
    opened_on.push_back(SelPur);
    SelPur = opened_on.size() == 1 ? purchases[1] : -1;
    return SelPur > 0 ? 1 : 0;
  });
  scripted_.OnModal(WindowId::kPurDef, [] {
    (void)masterdata::OpenPurchaseEditor();
    masterdata::DeletePurchase();
    return 1;
  });
  masterdata::RunPurchaseCommand();
  ASSERT_EQ(opened_on.size(), 2u);
  EXPECT_EQ(opened_on[0], purchases[2]);  // AXE comes first by product
  EXPECT_EQ(PurDb, nullptr);
  EXPECT_EQ(ProdDb, nullptr);
  EXPECT_FALSE(PackPending);
  ASSERT_TRUE(OpenPurchases());
  EXPECT_EQ(d4recCountDo(PurDb), 2);
  for (int rc = d4top(PurDb); rc == 0; rc = d4skip(PurDb, 1)) {
    EXPECT_NE(QString::fromLatin1(f4str(PurFld.PURProd)).trimmed(), QStringLiteral("BOLT"));
  }
}

}  // namespace
}  // namespace editors_test
