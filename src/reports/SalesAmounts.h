#pragma once
// The running sums of the sales reports, apart from the tables they are read
// from: sales per product code (rounded to cents at each addition, as the
// report's texts hold them) and the tax summary's totals.

#include <string>
#include <unordered_map>
#include <vector>

namespace reports {

// value × 100 rounded to a whole number, halves of the exact binary value
// away from zero, as the program's number texts round ("%.2f"). False for
// 2^52 cents or more, infinities and NaN.
bool RoundToCents(double value, long long* cents);

// Quantity and sale total per product code, in the order the codes first
// appear. Each addition is rounded to cents (RoundMoney), so the sums match
// running texts of two decimals added line by line.
class ProductSales {
 public:
  struct Row {
    std::string code;  // as stored in the line
    double quantity = 0;
    double total = 0;
    bool taken = false;
  };

  // One line: its code, quantity and unit price.
  void Add(const char* code, double quantity, double price);
  bool Empty() const { return rows_.empty(); }
  // The row of the code, marked taken; null when the code has no row or its
  // row was taken already.
  Row* Take(const char* code);
  const std::vector<Row>& Rows() const { return rows_; }

 private:
  std::vector<Row> rows_;
  std::unordered_map<std::string, std::size_t> index_;
};

// Charge 2 on charge 1 (the settings' ShipTax).
inline constexpr int kShipTaxNo = 1;
inline constexpr int kShipTaxYes = 2;
inline constexpr int kShipTaxWithItemTax = 3;

struct TaxTotals {
  double net_sales = 0;
  double subject_to_1 = 0;
  double subject_to_2 = 0;
  double charged_1 = 0;
  double charged_2 = 0;

  // A line of quantity times price, with its two charge flags.
  void AddLine(double amount, bool tax1, bool tax2);
  // An invoice's two charges. Charge 1 is subject to charge 2 when the rule
  // says so, or, with kShipTaxWithItemTax, when the invoice carries charge 2.
  void AddCharges(double ship, double tax, int ship_tax);
};

// The aging column of an invoice `age` days old: 0 for 0-30 days (and
// invoices dated ahead), 1 for 31-60, 2 for 61-90, 3 for over 90.
int AgeBucket(int age);

}  // namespace reports
