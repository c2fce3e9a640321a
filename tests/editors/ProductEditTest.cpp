// The product editor and its command through the scripted platform, checked
// by reading Prod5 back after the tables were closed.

#include <gtest/gtest.h>

#include "EditorsFixture.h"
#include "masterdata/PickU.h"
#include "masterdata/ProdDefEdit.h"

namespace editors_test {
namespace {

using masterdata::ProductForm;
using platform::WindowId;

class ProductEditTest : public EditorsFixture {
 protected:
  void SetUp() override {
    EditorsFixture::SetUp();
    ASSERT_TRUE(OpenProducts());
  }

  static ProductForm Form(const char* id, const char* price = "12.50") {
    ProductForm form;
    form.id = QString::fromLatin1(id);
    form.description = QStringLiteral("  Widget, blue  ");
    form.second_line = QStringLiteral("per box");
    form.price = QString::fromLatin1(price);
    form.reorder = QStringLiteral("   4.00");
    form.licence_code = QStringLiteral(" LIC-1 ");
    form.product_text = QStringLiteral("Keep dry.\nStack two high.  \n");
    form.tax1 = true;
    form.inventory = true;
    return form;
  }

  static void Reopen() {
    CloseAllTables();
    ASSERT_TRUE(OpenProducts());
  }
};

TEST_F(ProductEditTest, NewProductOpensBlank) {
  Settings.ShipLine = QStringLiteral("Freight   ");
  Settings.TaxLine = QStringLiteral("VAT");
  SelProd = 0;
  const masterdata::ProductOpening opening = masterdata::OpenProductEditor();
  EXPECT_FALSE(opening.delete_enabled);
  EXPECT_EQ(SelProd, -1);
  EXPECT_EQ(opening.tax1_caption, QStringLiteral("Freight"));
  EXPECT_EQ(opening.tax2_caption, QStringLiteral("VAT"));
  EXPECT_EQ(opening.form.id, QString());
  EXPECT_EQ(opening.form.price, QStringLiteral("    0.00"));
  EXPECT_EQ(opening.form.reorder, QStringLiteral("     0.00"));
  EXPECT_FALSE(opening.form.tax1 || opening.form.tax2 || opening.form.inventory);
}

TEST_F(ProductEditTest, NewProductIsStoredWithIdInUpperCase) {
  SelProd = 0;
  (void)masterdata::OpenProductEditor();
  ASSERT_TRUE(masterdata::SaveProduct(Form(" abc1 ")));
  const long record = SelProd;
  ASSERT_GT(record, 0);
  Reopen();
  EXPECT_EQ(d4recCountDo(ProdDb), 1);
  EXPECT_EQ(FieldText(ProdDb, record, ProdFld.PrID), QStringLiteral("ABC1"));
  EXPECT_EQ(FieldText(ProdDb, record, ProdFld.PDesc), QStringLiteral("Widget, blue"));
  EXPECT_EQ(FieldText(ProdDb, record, ProdFld.RCode), QStringLiteral("LIC-1"));
  EXPECT_EQ(FieldText(ProdDb, record, ProdFld.lBuild), QStringLiteral("F"));
  EXPECT_EQ(f4double(ProdFld.UPrice), 12.5);
  EXPECT_EQ(f4double(ProdFld.REORDER), 4.0);
  EXPECT_EQ(f4true(ProdFld.LTax1), 1);
  EXPECT_EQ(f4true(ProdFld.LTax2), 0);
  EXPECT_EQ(f4true(ProdFld.lInven), 1);
  EXPECT_EQ(QString::fromLatin1(f4memoStr(ProdFld.PMemo)),
            QStringLiteral("Keep dry.\nStack two high."));
}

TEST_F(ProductEditTest, DuplicateIdIsRefusedInAnyCase) {
  const std::vector<long> records =
      AddProducts({{"WIDGET", "Widget", 1.0, false}, {"GADGET", "Gadget", 2.0, false}});
  struct Case {
    long selection;  // 0: a new product; else the product being edited
    const char* id;
  };
  for (const Case& c :
       {Case{0, "widget"}, Case{0, "Widget"}, Case{0, " WIDGET "}, Case{records[1], "wIdGeT"}}) {
    SCOPED_TRACE(c.id);
    scripted_.ClearRecords();
    SelProd = c.selection;
    (void)masterdata::OpenProductEditor();
    EXPECT_FALSE(masterdata::SaveProduct(Form(c.id, "99.00")));
    EXPECT_EQ(scripted_.Said(),
              QStringList{QStringLiteral("Duplicate Product ID's are not allowed")});
  }
  Reopen();
  EXPECT_EQ(d4recCountDo(ProdDb), 2);
  EXPECT_EQ(FieldText(ProdDb, records[1], ProdFld.PrID), QStringLiteral("GADGET"));
  EXPECT_EQ(f4double(ProdFld.UPrice), 2.0);
}

TEST_F(ProductEditTest, ProductMarkedForDeletionStillHoldsItsId) {
  const std::vector<long> records = AddProducts({{"OLD", "Old", 1.0, false}});
  ASSERT_EQ(d4go(ProdDb, records[0]), 0);
  d4delete(ProdDb);
  SelProd = 0;
  (void)masterdata::OpenProductEditor();
  EXPECT_FALSE(masterdata::SaveProduct(Form("old")));
  EXPECT_TRUE(scripted_.WasShown(QStringLiteral("Duplicate Product ID's are not allowed")));
}

TEST_F(ProductEditTest, IdsSharingAPrefixAreNotDuplicates) {
  AddProducts({{"ABC1", "One", 1.0, false}, {"XY", "Two", 1.0, false}});
  for (const char* id : {"ABC", "AB", "XYZ", "X"}) {
    SCOPED_TRACE(id);
    SelProd = 0;
    (void)masterdata::OpenProductEditor();
    EXPECT_TRUE(masterdata::SaveProduct(Form(id)));
  }
  EXPECT_EQ(scripted_.Said(), QStringList());
  Reopen();
  EXPECT_EQ(d4recCountDo(ProdDb), 6);
}

TEST_F(ProductEditTest, ResavingUnderItsOwnIdKeepsTheRecordAndStock) {
  const std::vector<long> records = AddProducts(
      {{"WIDGET", "Widget", 1.0, false, 7.5}, {"lower", "Typed elsewhere", 3.0, false}});
  struct Case {
    long record;
    const char* id;
    const char* stored;
  };
  // The second product was stored in lower case by some other program; it
  // is its own ID, not a duplicate.
  for (const Case& c : {Case{records[0], "WIDGET", "WIDGET"}, Case{records[0], "widget", "WIDGET"},
                        Case{records[1], "LOWER", "LOWER"}}) {
    SCOPED_TRACE(c.id);
    SelProd = c.record;
    const masterdata::ProductOpening opening = masterdata::OpenProductEditor();
    EXPECT_TRUE(opening.delete_enabled);
    ASSERT_TRUE(masterdata::SaveProduct(Form(c.id, "20.00")));
    EXPECT_EQ(SelProd, c.record);
    EXPECT_EQ(FieldText(ProdDb, c.record, ProdFld.PrID), QString::fromLatin1(c.stored));
  }
  EXPECT_EQ(scripted_.Said(), QStringList());
  Reopen();
  EXPECT_EQ(d4recCountDo(ProdDb), 2);
  ASSERT_EQ(d4go(ProdDb, records[0]), 0);
  EXPECT_EQ(f4double(ProdFld.UPrice), 20.0);
  // The editor never changes the stock figure.
  EXPECT_EQ(f4double(ProdFld.ONHAND), 7.5);
}

TEST_F(ProductEditTest, RefusedSavesWriteNothing) {
  struct Case {
    const char* id;
    const char* price;
    const char* message;
  };
  for (const Case& c : {Case{"   ", "1.00", "Blank Product ID not allowed"},
                        Case{"NEW", "-.", "'-.' is not a valid number."},
                        Case{"NEW", "", "'' is not a valid number."}}) {
    SCOPED_TRACE(c.message);
    scripted_.ClearRecords();
    SelProd = 0;
    (void)masterdata::OpenProductEditor();
    EXPECT_FALSE(masterdata::SaveProduct(Form(c.id, c.price)));
    EXPECT_EQ(scripted_.Said(), QStringList{QString::fromLatin1(c.message)});
  }
  Reopen();
  EXPECT_EQ(d4recCountDo(ProdDb), 0);
}

TEST_F(ProductEditTest, CommandDeletesAndPacksTheProductTable) {
  const std::vector<long> records =
      AddProducts({{"KEEP", "Keep", 1.0, false}, {"GONE", "Gone", 2.0, false}});
  CloseAllTables();
  std::vector<long> pick_entry;
  scripted_.OnModal(WindowId::kPickProd, [&] {
    pick_entry.push_back(SelProd);
    SelProd = pick_entry.size() == 1 ? records[1] : -1;
    return SelProd > 0 ? 1 : 0;
  });
  scripted_.OnModal(WindowId::kProdDef, [] {
    (void)masterdata::OpenProductEditor();
    masterdata::DeleteProduct();
    return 1;
  });
  masterdata::RunProductCommand();
  // The list opened on the first product in ID order.
  ASSERT_EQ(pick_entry.size(), 2u);
  EXPECT_EQ(pick_entry[0], records[1]);
  EXPECT_EQ(ProdDb, nullptr);
  EXPECT_FALSE(PackPending);
  ASSERT_TRUE(OpenProducts());
  EXPECT_EQ(d4recCountDo(ProdDb), 1);
  EXPECT_EQ(FieldText(ProdDb, 1, ProdFld.PrID), QStringLiteral("KEEP"));
}

TEST_F(ProductEditTest, CommandCreatesThroughNewWithoutReopeningTheEditor) {
  masterdata::SetEditorReady(WindowId::kProdDef, true);
  CloseAllTables();
  int picks = 0;
  scripted_.OnModal(WindowId::kPickProd, [&] {
    EXPECT_TRUE(masterdata::PickNewEnabled(WindowId::kPickProd));
    SelProd = ++picks == 1 ? 0 : -1;
    return 1;
  });
  scripted_.OnModal(WindowId::kProdDef, [] {
    (void)masterdata::OpenProductEditor();
    return masterdata::SaveProduct(Form("new1")) ? 1 : 0;
  });
  masterdata::RunProductCommand();
  EXPECT_EQ(scripted_.ModalCount(WindowId::kProdDef), 1);
  EXPECT_EQ(picks, 2);
  ASSERT_TRUE(OpenProducts());
  EXPECT_EQ(d4recCountDo(ProdDb), 1);
  EXPECT_EQ(FieldText(ProdDb, 1, ProdFld.PrID), QStringLiteral("NEW1"));
}

}  // namespace
}  // namespace editors_test
