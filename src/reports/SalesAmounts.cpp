#include "reports/SalesAmounts.h"

#include <bit>
#include <cmath>
#include <cstdint>

#include "util/MoneyUtil.h"

namespace reports {

bool RoundToCents(double value, long long* cents) {
  const double magnitude = std::fabs(value);
  if (!(magnitude < 0x1p52 / 100)) return false;
  const auto bits = std::bit_cast<std::uint64_t>(magnitude);
  const int biased_exponent = static_cast<int>(bits >> 52);
  std::uint64_t rounded = 0;
  if (biased_exponent > 0) {
    // magnitude = significand / 2^shift; significand * 100 is exact in 64 bits.
    const std::uint64_t scaled =
        ((bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52)) * 100;
    const int shift = 1075 - biased_exponent;  // above 6 below the bound
    if (shift < 64) {
      rounded = scaled >> shift;
      if ((scaled & ((std::uint64_t{1} << shift) - 1)) >= (std::uint64_t{1} << (shift - 1)))
        ++rounded;
    }
  }
  *cents = value < 0 ? -static_cast<long long>(rounded) : static_cast<long long>(rounded);
  return true;
}

void ProductSales::Add(const char* code, double quantity, double price) {
  const auto [found, added] = index_.try_emplace(code, rows_.size());
  if (added) {
    rows_.push_back({code, RoundMoney(quantity), RoundMoney(quantity * price)});
    return;
  }
  Row& row = rows_[found->second];
  row.quantity = RoundMoney(row.quantity + quantity);
  row.total = RoundMoney(row.total + quantity * price);
}

ProductSales::Row* ProductSales::Take(const char* code) {
  const auto found = index_.find(code);
  if (found == index_.end() || rows_[found->second].taken) return nullptr;
  Row& row = rows_[found->second];
  row.taken = true;
  return &row;
}

void TaxTotals::AddLine(double amount, bool tax1, bool tax2) {
  net_sales += amount;
  if (tax1) subject_to_1 += amount;
  if (tax2) subject_to_2 += amount;
}

void TaxTotals::AddCharges(double ship, double tax, int ship_tax) {
  if (ship_tax == kShipTaxYes || (ship_tax == kShipTaxWithItemTax && tax > 0)) {
    subject_to_2 += ship;
  }
  charged_1 += ship;
  charged_2 += tax;
}

int AgeBucket(int age) {
  if (age <= 30) return 0;
  if (age <= 60) return 1;
  if (age <= 90) return 2;
  return 3;
}

}  // namespace reports
