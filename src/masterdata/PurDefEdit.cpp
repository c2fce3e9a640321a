#include "masterdata/PurDefEdit.h"

#include "engine/TableEngine.h"
#include "masterdata/PickU.h"
#include "masterdata/ProdDefEdit.h"
#include "platform/Platform.h"
#include "store/CodeBase.h"
#include "store/FileMaint.h"
#include "store/dbFiles.h"
#include "util/MoneyUtil.h"

namespace masterdata {
namespace {

// Record number of the product chosen with the button during this opening; 0
// when none was.
long chosen_product = 0;

}  // namespace

PurchaseOpening OpenPurchaseEditor() {
  chosen_product = 0;
  PurchaseOpening opening;
  if (SelPur > 0 && PurDb != nullptr && d4go(PurDb, SelPur) == r4success) {
    opening.delete_enabled = true;
    LoadPurchase();
  } else {
    PurRec = PurchaseRecord{};
    PurRec.PURDate = Today();
    SelPur = -1;
  }
  opening.form.product_id = PurRec.PURProd.trimmed();
  opening.form.date = PurRec.PURDate;
  opening.form.quantity = FormatAmount(PurRec.PURQty, QStringLiteral("%10.2f"));
  opening.form.cost = FormatAmount(PurRec.PURCost, QStringLiteral("%12.2f"));
  return opening;
}

bool ChoosePurchaseProduct(QString* product_id) {
  if (ProdDb == nullptr) return false;
  SelProd = d4top(ProdDb) == r4success ? d4recNo(ProdDb) : 0;
  bool is_new = false;
  if (!PickProduct(true, &is_new)) return false;
  if (d4go(ProdDb, SelProd) != r4success) return false;
  LoadProduct();
  chosen_product = SelProd;
  *product_id = ProdRec.PrID.trimmed();
  return true;
}

bool SavePurchase(const PurchaseForm& form) {
  const QString product = form.product_id.trimmed().toUpper();
  if (product.isEmpty()) {
    platform::Current().Inform(QStringLiteral("Product Selection Required."));
    return false;
  }
  if (PurDb == nullptr) return false;
  double quantity = 0;
  double cost = 0;
  if (!ReadAmount(form.quantity, &quantity) || !ReadAmount(form.cost, &cost)) return false;

  const bool adding = SelPur <= 0;
  if (!adding) {
    if (d4go(PurDb, SelPur) != r4success) return false;
    // Start from the row as stored: the purchase number is never set here.
    LoadPurchase();
  } else {
    if (d4appendBlank(PurDb) != r4success) {
      platform::Current().Inform(QStringLiteral("Unable to Append record . . Please try again."));
      return false;
    }
    SelPur = d4recNo(PurDb);
    PurRec = PurchaseRecord{};
  }
  PurRec.PURProd = product;
  PurRec.PURDate = form.date;
  PurRec.PURQty = quantity;
  PurRec.PURCost = cost;
  if (!StorePurchase()) {
    if (adding) ForgetUnwrittenAppend(PurDb, &SelPur);
    return false;
  }

  // Buying stock of a product makes it an inventory item.
  if (chosen_product > 0 && ProdDb != nullptr && d4go(ProdDb, chosen_product) == r4success) {
    LoadProduct();
    ProdRec.lInven = true;
    if (!StoreProduct()) return false;
  }
  return true;
}

void DeletePurchase() {
  if (PurDb == nullptr || SelPur <= 0 || d4go(PurDb, SelPur) != r4success) return;
  d4delete(PurDb);
  PackPending = true;
  (void)FlushChanges(PurDb, store::Table::kPurchases);  // the operator is told when it fails
}

void RunPurchaseCommand() {
  if (!OpenPurchases() || !OpenProducts()) {
    CloseAllTables();
    return;
  }
  SelPur = d4top(PurDb) == r4success ? d4recNo(PurDb) : 0;
  bool is_new = false;
  while (PickPurchase(true, &is_new)) {
    if (!is_new) platform::Current().ShowModal(platform::WindowId::kPurDef);
  }
  CloseAllTables();
  // A pack that failed stays pending, for the next pack of all tables.
  if (PackPending && PackTable("Pur5", false)) PackPending = false;
}

}  // namespace masterdata
