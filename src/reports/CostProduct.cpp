#include "reports/CostProduct.h"

#include <QDate>
#include <climits>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "store/dbFiles.h"

Costing ProductCost;

void LotMatcher::Reset(TDate cutoff, bool fifo) {
  cutoff_ = cutoff;
  fifo_ = fifo;
  lots_.clear();
  on_order_ = 0;
  unmatched_ = 0;
}

void LotMatcher::AddPurchase(TDate date, double quantity, double cost) {
  if (quantity <= 0) return;
  if (date > cutoff_) {
    on_order_ += quantity;
  } else {
    lots_.push_back({date, quantity, quantity, cost / quantity});
  }
}

double LotMatcher::Take(Lot& lot, double left) {
  if (lot.remaining >= left) {
    lot.remaining -= left;
    return 0;
  }
  left -= lot.remaining;
  lot.remaining = 0;
  return left;
}

double LotMatcher::TakeFirstIn(double left) {
  // Lot dates are not compared with the sale's.
  for (Lot& lot : lots_) {
    left = Take(lot, left);
    if (left <= 0) break;
  }
  return left;
}

double LotMatcher::TakeLastIn(TDate sale_date, double left) {
  for (auto lot = lots_.rbegin(); lot != lots_.rend() && left > 0; ++lot) {
    if (lot->date > sale_date || lot->remaining <= 0) continue;
    left = Take(*lot, left);
  }
  // Sold before the stock that is left was bought: take it anyway, oldest first.
  for (auto lot = lots_.begin(); lot != lots_.end() && left > 0; ++lot) {
    if (lot->remaining > 0) left = Take(*lot, left);
  }
  return left;
}

void LotMatcher::Sell(TDate date, double quantity) {
  double left = quantity;
  if (date <= cutoff_ && !lots_.empty()) {
    left = fifo_ ? TakeFirstIn(left) : TakeLastIn(date, left);
  }
  unmatched_ += left;
}

Costing LotMatcher::Result() const {
  Costing result;
  for (const Lot& lot : lots_) {
    result.LotQty += lot.remaining;
    result.LotCost += lot.remaining * lot.unit_cost;
    result.SoldCost += (lot.bought - lot.remaining) * lot.unit_cost;
  }
  result.OnOrder = on_order_;
  result.Unmatched = unmatched_;
  return result;
}

namespace {

// A stored "yyyymmdd" date; the common all-digit case without building a
// string, since a costing reads one date per line sold.
TDate StoredDate(std::string_view text) {
  if (text.size() == 8) {
    int digits[8];
    bool all_digits = true;
    for (int i = 0; i < 8; ++i) {
      digits[i] = text[static_cast<size_t>(i)] - '0';
      all_digits = all_digits && digits[i] >= 0 && digits[i] <= 9;
    }
    if (all_digits) {
      const int year = digits[0] * 1000 + digits[1] * 100 + digits[2] * 10 + digits[3];
      if (year < 1) return 0;
      return FromQDate(QDate(year, digits[4] * 10 + digits[5], digits[6] * 10 + digits[7]));
    }
  }
  return TextToDate(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
}

std::string_view FieldText(FIELD4* field) { return f4str(field); }

// The code as a field of that width holds it: cut, blank padded, Latin-1.
std::string StoredCode(const QString& code, int width) {
  std::string text = code.left(width).toLatin1().toStdString();
  text.resize(static_cast<size_t>(width), ' ');
  return text;
}

// Whether the current product record is tracked; -1 when it is not the
// product with this (stored) code.
int TrackedIfCurrent(const std::string& code) {
  if (d4recNo(ProdDb) == 0 || d4eof(ProdDb)) return -1;
  if (FieldText(ProdFld.PrID) != code) return -1;
  return f4true(ProdFld.lInven);
}

bool ProductIsTracked(const QString& code) {
  if (ProdDb == nullptr) return false;
  const std::string stored = StoredCode(code, f4len(ProdFld.PrID));
  int tracked = TrackedIfCurrent(stored);
  if (tracked < 0) {
    // Prod5 is under its code tag ("Upper(PrID)").
    const std::string key = StoredCode(code.toUpper(), f4len(ProdFld.PrID));
    if (d4seek(ProdDb, key.c_str()) != r4success) return false;
    tracked = TrackedIfCurrent(stored);
  }
  return tracked > 0;
}

void GatherPurchases(const QString& code, LotMatcher& matcher) {
  if (PurDb == nullptr) return;
  const std::string stored = StoredCode(code, f4len(PurFld.PURProd));
  const std::string key = StoredCode(code.toUpper(), f4len(PurFld.PURProd));
  if (d4seek(PurDb, key.c_str()) != r4success) return;
  do {
    if (FieldText(PurFld.PURProd) != stored) break;
    matcher.AddPurchase(StoredDate(FieldText(PurFld.PURDate)), f4double(PurFld.PURQty),
                        f4double(PurFld.PURCost));
  } while (d4skip(PurDb, 1) == r4success);
}

// Invoice numbers have six digits; the memo holds a date per number.
constexpr long kInvoiceNumbers = 1000000;
constexpr TDate kNotLookedUp = INT_MIN;
constexpr TDate kNoInvoice = INT_MIN + 1;
std::vector<TDate>* invoice_dates = nullptr;  // the live memo, if any

// The date of the invoice with this number, through its number tag; false
// when there is no such invoice.
bool LookUpInvoiceDate(long number, TDate* date) {
  char key[32];
  std::snprintf(key, sizeof key, "%6ld", number);
  if (d4seek(InvDb, key) != r4success) return false;
  *date = StoredDate(FieldText(InvFld.IDate));
  return true;
}

bool InvoiceDate(long number, TDate* date) {
  if (invoice_dates == nullptr || number < 0 || number >= kInvoiceNumbers) {
    return LookUpInvoiceDate(number, date);
  }
  TDate& known = (*invoice_dates)[static_cast<size_t>(number)];
  if (known == kNotLookedUp) known = LookUpInvoiceDate(number, date) ? *date : kNoInvoice;
  *date = known;
  return known != kNoInvoice;
}

void MatchSales(const QString& code, LotMatcher& matcher) {
  if (ItemDb == nullptr || InvDb == nullptr) return;
  const std::string stored = StoredCode(code, f4len(ItemFld.PrID));
  if (d4seek(ItemDb, stored.c_str()) != r4success) return;
  do {
    if (FieldText(ItemFld.PrID) != stored) break;
    TDate date = 0;
    if (InvoiceDate(f4long(ItemFld.IvNo), &date)) matcher.Sell(date, f4double(ItemFld.Qty));
  } while (d4skip(ItemDb, 1) == r4success);
}

}  // namespace

InvoiceDateMemo::InvoiceDateMemo()
    : dates_(kInvoiceNumbers, kNotLookedUp), previous_(invoice_dates) {
  invoice_dates = &dates_;
}

InvoiceDateMemo::~InvoiceDateMemo() { invoice_dates = previous_; }

bool CostProduct(const QString& code, TDate cutoff) {
  ProductCost = Costing();
  if (!ProductIsTracked(code)) return false;
  static LotMatcher matcher;  // keeps its lot storage from product to product
  matcher.Reset(cutoff, Settings.fifo);
  GatherPurchases(code, matcher);
  MatchSales(code, matcher);
  ProductCost = matcher.Result();
  return true;
}
