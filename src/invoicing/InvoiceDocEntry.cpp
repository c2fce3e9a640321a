#include "invoicing/InvoiceDocEntry.h"

#include <array>
#include <cmath>

#include "engine/TableEngine.h"
#include "invoicing/InvoiceDoc.h"
#include "masterdata/PickU.h"
#include "platform/Platform.h"
#include "store/CodeBase.h"
#include "store/EngineResult.h"
#include "store/dbFiles.h"
#include "util/MoneyUtil.h"

namespace invoicing {

LineForm ItemForm;
int ItemResult = kResultCancel;
PaymentForm PmtForm;
int PmtResult = kResultCancel;

namespace {

using platform::WindowId;

QString Flag(bool on) { return on ? QStringLiteral("t") : QStringLiteral("f"); }

// Columns 0 to 6 of a line from the dialog's fields.
void WriteLineColumns(ItemRow* line) {
  (*line)[0] = ItemForm.product;
  (*line)[1] = ItemForm.quantity;
  (*line)[2] = ItemForm.price;
  (*line)[3] = Flag(ItemForm.tax1);
  (*line)[4] = Flag(ItemForm.tax2);
  (*line)[5] = ItemForm.description;
  (*line)[6] = ItemForm.comment;
}

PaymentRow PaymentFromForm() {
  return {ShortDateText(PmtForm.date), PmtForm.amount, PmtForm.gst,
          PmtForm.includes_gst ? QStringLiteral("T") : QStringLiteral("F")};
}

void Redisplay() {
  ComputeTaxes(true);
  ShowInvoice();
}

}  // namespace

namespace {

// The largest and the most negative amount a fixed format shows in its
// width: "%8.2f" gives 99999.99 and -9999.99.
std::array<double, 2> FormatExtremes(const char* format) {
  int width = 0;
  int decimals = 0;
  if (!ParseFixedFormat(QString::fromLatin1(format), &width, &decimals)) return {0, 0};
  const int whole_digits = width - decimals - (decimals > 0 ? 1 : 0);
  const double step = std::pow(10.0, -decimals);
  return {std::pow(10.0, whole_digits) - step, -(std::pow(10.0, whole_digits - 1) - step)};
}

}  // namespace

QStringList WidestGridTexts(int column) {
  const std::array<double, 2> prices = FormatExtremes(kPriceFormat);
  const std::array<double, 2> quantities = FormatExtremes(kQuantityFormat);
  QStringList texts;
  switch (column) {
    case 2:
      for (double price : prices) texts << FormatAmount(price, QString::fromLatin1(kPriceFormat));
      break;
    case 3:
      for (double quantity : quantities) {
        texts << FormatAmount(quantity, QString::fromLatin1(kQuantityFormat));
      }
      break;
    case 4:
      for (double price : prices) {
        for (double quantity : quantities) {
          for (const char* flags : {" tt", " tf", " ft", " ff"}) {
            texts << AmountText(RoundMoney(price * quantity)) + QLatin1String(flags);
          }
        }
      }
      break;
    default:
      break;
  }
  return texts;
}

void AddLine() {
  if (ProdDb == nullptr) return;
  SelectTag(ProdDb, "Prod");
  SelProd = d4top(ProdDb) == r4success ? d4recNo(ProdDb) : 0;
  store::TakeResult(store::Table::kProducts);
  bool is_new = false;
  if (!masterdata::PickProduct(true, &is_new)) return;
  if (d4go(ProdDb, SelProd) != r4success) {
    store::TakeResult(store::Table::kProducts);
    return;
  }
  LoadProduct();

  ItemForm = LineForm();
  ItemForm.product = ProdRec.PrID;
  ItemForm.description = ProdRec.PDesc;
  ItemForm.comment = ProdRec.IComm;
  ItemForm.tax1 = ProdRec.LTax1;
  ItemForm.tax2 = ProdRec.LTax2;
  ItemForm.price = FormatAmount(ProdRec.UPrice, QString::fromLatin1(kPriceFormat));
  ItemForm.quantity = FormatAmount(1, QString::fromLatin1(kQuantityFormat));
  ItemForm.total = AmountText(ProdRec.UPrice);
  ItemResult = kResultCancel;
  platform::Current().ShowModal(WindowId::kItemDef);

  if (ItemResult == kResultSave) {
    ItemRow line;
    WriteLineColumns(&line);
    line[7] = ProdRec.RCode.trimmed();
    line[8] = ProdRec.PMemo.trimmed();
    ItemGrid.push_back(line);
  }
  Redisplay();
}

void EditLine(int row) {
  if (row < 1 || row > static_cast<int>(ItemGrid.size())) return;
  const size_t i = static_cast<size_t>(row - 1);
  const ItemRow& line = ItemGrid[i];
  ItemForm = LineForm();
  ItemForm.product = line[0];
  ItemForm.description = line[5];
  ItemForm.comment = line[6];
  ItemForm.tax1 = line[3] == QLatin1String("t");
  ItemForm.tax2 = line[4] == QLatin1String("t");
  ItemForm.price = line[2];
  ItemForm.quantity = line[1];
  ItemForm.total = AmountText(LineTotal(line));
  ItemResult = kResultCancel;
  platform::Current().ShowModal(WindowId::kItemDef);

  if (ItemResult == kResultSave) {
    WriteLineColumns(&ItemGrid[i]);
    Redisplay();
  } else if (ItemResult == kResultDelete) {
    ItemGrid.erase(ItemGrid.begin() + static_cast<std::ptrdiff_t>(i));
    Redisplay();
  }
}

QString PreviewLineTotal(const QString& price, const QString& quantity) {
  double total = AmountValue(price) * AmountValue(quantity);
  // The formatting rounds halves to even; the nudge sends a negative half
  // cent away from zero as the line total does.
  if (total < 0) total -= 0.001;
  return AmountText(total);
}

double GstRate() { return Settings.GSTField == 1 ? Settings.TaxRate1 : Settings.TaxRate2; }

QString GstLabel() {
  return Settings.GSTField == 1 ? Settings.ShipLine.trimmed() : Settings.TaxLine.trimmed();
}

std::optional<QString> ComputeIncludedGST(double rate, const QString& amount, bool ticked) {
  if (!(rate > 0)) return std::nullopt;
  double gst = 0;
  if (ticked) {
    const double fraction = rate / 100;
    gst = fraction * AmountValue(amount) / (fraction + 1);
  }
  return FormatAmount(gst, QStringLiteral("%9.2f"));
}

void AddPayment() {
  PmtForm = PaymentForm();
  PmtForm.date = Today();
  PmtForm.amount = AmountText(0);
  PmtForm.includes_gst = (Settings.GSTField == 1 && AmountValue(Screen.ship) > 0) ||
                         (Settings.GSTField == 2 && AmountValue(Screen.tax) > 0);
  PmtForm.gst = AmountText(0);
  PmtForm.delete_enabled = false;
  PmtResult = kResultCancel;
  platform::Current().ShowModal(WindowId::kPmtDef);
  if (PmtResult == kResultSave) {
    PaymentGrid.push_back(PaymentFromForm());
    ShowPayments();
  }
}

void EditPayments() {
  if (PaymentGrid.empty()) return;
  platform::Current().ShowModal(WindowId::kPickPmt);
  ShowPayments();
}

bool EditPayment(int row) {
  if (row < 1 || row > static_cast<int>(PaymentGrid.size())) return false;
  const size_t i = static_cast<size_t>(row - 1);
  const PaymentRow& payment = PaymentGrid[i];
  PmtForm = PaymentForm();
  PmtForm.date = ShortTextToDate(payment[0]);
  PmtForm.amount = payment[1];
  PmtForm.gst = payment[2];
  PmtForm.includes_gst = payment[3] == QLatin1String("T");
  PmtForm.delete_enabled = true;
  PmtResult = kResultCancel;
  platform::Current().ShowModal(WindowId::kPmtDef);
  if (PmtResult == kResultSave) {
    PaymentGrid[i] = PaymentFromForm();
  } else if (PmtResult == kResultDelete) {
    PaymentGrid.erase(PaymentGrid.begin() + static_cast<std::ptrdiff_t>(i));
  }
  return true;
}

}  // namespace invoicing
