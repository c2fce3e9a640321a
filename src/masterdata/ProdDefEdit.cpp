#include "masterdata/ProdDefEdit.h"

#include "engine/TableEngine.h"
#include "masterdata/PickU.h"
#include "platform/Platform.h"
#include "store/CodeBase.h"
#include "store/FileMaint.h"
#include "store/dbFiles.h"
#include "util/MoneyUtil.h"
#include "util/TextUtil.h"

namespace masterdata {
namespace {

// Whether a product other than the one being edited already carries `id`
// (upper case, trimmed). Walks every key of tag "Prod" that starts with the
// ID, so a product marked for deletion counts too, and the product itself
// never does (its stored ID may differ only in case).
bool IdTakenByAnother(const QString& id) {
  TAG4* previous = d4tagSelected(ProdDb);
  SelectTag(ProdDb, "Prod");
  bool taken = false;
  const int found = d4seek(ProdDb, KeyText(id).constData());
  if (found == r4success || found == r4after) {
    for (int rc = r4success; rc == r4success; rc = d4skip(ProdDb, 1)) {
      const QString stored = QString::fromLatin1(f4str(ProdFld.PrID)).trimmed().toUpper();
      if (!stored.startsWith(id)) break;
      if (stored == id && d4recNo(ProdDb) != SelProd) {
        taken = true;
        break;
      }
    }
  }
  SelectTag(ProdDb, previous);
  return taken;
}

}  // namespace

bool ReadAmount(const QString& text, double* value) {
  QString bare = text;
  bare.remove(QLatin1Char(' '));
  const std::optional<double> number = TextToNumber(bare);
  if (!number) {
    platform::Current().Inform(QStringLiteral("'%1' is not a valid number.").arg(bare));
    return false;
  }
  *value = *number;
  return true;
}

ProductOpening OpenProductEditor() {
  ProductOpening opening;
  if (SelProd > 0 && ProdDb != nullptr && d4go(ProdDb, SelProd) == r4success) {
    opening.delete_enabled = true;
    LoadProduct();
  } else {
    ProdRec = ProductRecord{};
    SelProd = -1;
  }
  opening.tax1_caption = Settings.ShipLine.trimmed();
  opening.tax2_caption = Settings.TaxLine.trimmed();
  const ProductRecord& r = ProdRec;
  ProductForm& f = opening.form;
  f.id = r.PrID.trimmed();
  f.description = r.PDesc.trimmed();
  f.second_line = r.IComm.trimmed();
  f.price = FormatAmount(r.UPrice, QStringLiteral("%8.2f"));
  f.reorder = FormatAmount(r.REORDER, QStringLiteral("%9.2f"));
  f.licence_code = r.RCode.trimmed();
  f.product_text = r.PMemo.trimmed();
  f.tax1 = r.LTax1;
  f.tax2 = r.LTax2;
  f.inventory = r.lInven;
  return opening;
}

bool SaveProduct(const ProductForm& form) {
  const QString id = form.id.trimmed().toUpper();
  if (id.isEmpty()) {
    platform::Current().Inform(QStringLiteral("Blank Product ID not allowed"));
    return false;
  }
  if (ProdDb == nullptr) return false;
  if (id != ProdRec.PrID.trimmed() && IdTakenByAnother(id)) {
    platform::Current().Inform(QStringLiteral("Duplicate Product ID's are not allowed"));
    return false;
  }
  double price = 0;
  double reorder = 0;
  if (!ReadAmount(form.price, &price) || !ReadAmount(form.reorder, &reorder)) return false;

  const bool adding = SelProd <= 0;
  if (!adding) {
    if (d4go(ProdDb, SelProd) != r4success) return false;
    // Start from the row as stored, so the fields the editor does not show
    // (the stock figure) keep their values.
    LoadProduct();
  } else {
    if (d4appendBlank(ProdDb) != r4success) {
      platform::Current().Inform(QStringLiteral("Unable to Append record . . Please try again."));
      return false;
    }
    SelProd = d4recNo(ProdDb);
    ProdRec = ProductRecord{};
  }
  ProductRecord& r = ProdRec;
  r.PrID = id;
  r.RCode = form.licence_code.trimmed();
  r.PDesc = form.description.trimmed();
  r.IComm = form.second_line.trimmed();
  r.PMemo = form.product_text.trimmed();
  r.UPrice = price;
  r.REORDER = reorder;
  r.LTax1 = form.tax1;
  r.LTax2 = form.tax2;
  r.lInven = form.inventory;
  r.lBuild = false;
  if (StoreProduct()) return true;
  if (adding) ForgetUnwrittenAppend(ProdDb, &SelProd);
  return false;
}

void DeleteProduct() {
  if (ProdDb == nullptr || SelProd <= 0 || d4go(ProdDb, SelProd) != r4success) return;
  d4delete(ProdDb);
  PackPending = true;
  (void)FlushChanges(ProdDb, store::Table::kProducts);  // the operator is told when it fails
}

void RunProductCommand() {
  if (!OpenProducts()) {
    CloseAllTables();
    return;
  }
  SelProd = d4top(ProdDb) == r4success ? d4recNo(ProdDb) : 0;
  bool is_new = false;
  while (PickProduct(true, &is_new)) {
    if (!is_new) platform::Current().ShowModal(platform::WindowId::kProdDef);
  }
  CloseAllTables();
  // A pack that failed stays pending, for the next pack of all tables.
  if (PackPending && PackTable("Prod5", false)) PackPending = false;
}

}  // namespace masterdata
