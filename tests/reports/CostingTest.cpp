// Costing a product's stock from its purchase lots and sales, and the
// accounting identity that makes the cost of goods report trustworthy.

#include <QStringList>
#include <cmath>
#include <map>
#include <random>

#include "InventoryFixture.h"
#include "reports/CostProduct.h"
#include "reports/ReportOutput.h"
#include "reports/RptInventory.h"
#include "reports/RptUtil.h"

namespace inventory_test {
namespace {

using platform::WindowId;

class CostingTest : public InventoryFixture {};

struct Lot {
  QDate date;
  double quantity, cost;
};
struct Sold {
  QDate date;  // null: the line's invoice is missing
  double quantity;
};

TEST_F(CostingTest, MatchesSalesAgainstLotsFirstInOrLastIn) {
  const QDate mar1(2026, 3, 1), mar15(2026, 3, 15), apr1(2026, 4, 1), apr10(2026, 4, 10);
  const QDate apr30(2026, 4, 30), may10(2026, 5, 10);
  constexpr bool kFifo = true, kLifo = false, kTracked = true;
  struct Case {
    const char* name;
    bool fifo;
    std::vector<Lot> lots;
    std::vector<Sold> sales;
    bool tracked;
    Costing expected;  // LotQty, LotCost, OnOrder, Unmatched, SoldCost
  };
  const std::vector<Lot> march_april = {{mar1, 10, 20}, {apr1, 10, 30}};
  // Each case costs its own product, K1, K2, ... at 30 April; K1 is a prefix
  // of K10 to K19, whose purchases and lines it must not pick up.
  // clang-format off
  const Case cases[] = {
      {"first in: the March lot goes first",
       kFifo, march_april, {{apr10, 15}}, kTracked, {5, 15, 0, 0, 35}},
      {"last in: the April lot goes first",
       kLifo, march_april, {{apr10, 15}}, kTracked, {5, 10, 0, 0, 40}},
      {"last in: a lot bought after the sale is taken in the second pass",
       kLifo, march_april, {{mar15, 15}}, kTracked, {5, 15, 0, 0, 35}},
      {"last in: a lot bought on the sale's day is no later lot",
       kLifo, {{mar1, 10, 20}, {apr10, 10, 30}}, {{apr10, 5}}, kTracked, {15, 35, 0, 0, 15}},
      {"a sale after the cut-off is unmatched in full",
       kFifo, {{mar1, 10, 20}}, {{may10, 4}}, kTracked, {10, 20, 0, 4, 0}},
      {"sales with no purchases",
       kFifo, {}, {{apr10, 4}}, kTracked, {0, 0, 0, 4, 0}},
      {"a purchase after the cut-off is on order, no lot",
       kFifo, {{may10, 20, 100}}, {{apr10, 3}}, kTracked, {0, 0, 20, 3, 0}},
      {"sales beyond the lots, first in",
       kFifo, {{mar1, 10, 20}}, {{apr10, 12}}, kTracked, {0, 0, 0, 2, 20}},
      {"sales beyond the lots, last in",
       kLifo, march_april, {{mar15, 25}}, kTracked, {0, 0, 0, 5, 50}},
      {"a line whose invoice is missing is left out",
       kFifo, {{mar1, 10, 20}}, {{QDate(), 5}}, kTracked, {10, 20, 0, 0, 0}},
      {"purchases of no quantity are no lots",
       kFifo, {{mar1, 0, 50}, {mar1, -5, -10}, {apr1, 4, 8}}, {}, kTracked, {4, 8, 0, 0, 0}},
      {"purchase and sale on the cut-off day count",
       kFifo, {{apr30, 10, 20}}, {{apr30, 4}}, kTracked, {6, 12, 0, 0, 8}},
      {"first in: a return goes back into the oldest lot",
       kFifo, march_april, {{apr10, 15}, {apr10, -3}}, kTracked, {8, 21, 0, 0, 29}},
      {"last in: a return is a negative unmatched quantity",
       kLifo, march_april, {{apr10, 15}, {apr10, -3}}, kTracked, {5, 10, 0, -3, 40}},
      {"last in: emptied lots are passed over",
       kLifo, {{mar1, 10, 20}, {QDate(2026, 3, 20), 5, 15}, {apr1, 10, 30}},
       {{apr10, 12}, {apr10, 4}}, kTracked, {9, 18, 0, 0, 47}},
      {"a product whose stock is not tracked",
       kFifo, march_april, {{apr10, 15}}, !kTracked, {}},
  };
  // clang-format on
  History history;
  auto& [products, purchases, invoices, sales] = history;
  long invoice = 1000;
  for (size_t i = 0; i < std::size(cases); ++i) {
    const QString code = QStringLiteral("K%1").arg(i + 1);
    products.push_back({code, cases[i].tracked});
    for (const Lot& lot : cases[i].lots)
      purchases.push_back({code, lot.date, lot.quantity, lot.cost});
    for (const Sold& sold : cases[i].sales) {
      sales.push_back({code, ++invoice, sold.quantity});
      if (sold.date.isValid()) invoices.push_back({invoice, sold.date});
    }
  }
  WriteHistory(history);
  OpenForCosting();
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    SCOPED_TRACE(c.name);
    Settings.fifo = c.fifo;
    EXPECT_EQ(CostProduct(QStringLiteral("K%1").arg(i + 1), FromQDate(apr30)), c.tracked);
    EXPECT_DOUBLE_EQ(ProductCost.LotQty, c.expected.LotQty);
    EXPECT_NEAR(ProductCost.LotCost, c.expected.LotCost, 1e-9);
    EXPECT_DOUBLE_EQ(ProductCost.OnOrder, c.expected.OnOrder);
    EXPECT_DOUBLE_EQ(ProductCost.Unmatched, c.expected.Unmatched);
    EXPECT_NEAR(ProductCost.SoldCost, c.expected.SoldCost, 1e-9);
  }
  EXPECT_FALSE(CostProduct("NOSUCH", FromQDate(apr30)));
}

// The figures of a cost of goods report, from its plain export.
std::map<QString, double> ReportFigures() {
  std::map<QString, double> figures;
  for (int line = 0; line < RptLines.Count(); ++line) {
    const QString text = reports::ExportLine(line, reports::ExportKind::kPlainText);
    const qsizetype split = text.lastIndexOf(QLatin1Char(' '));
    bool number = false;
    const double value = text.mid(split + 1).toDouble(&number);
    if (number) figures[text.left(split).trimmed()] = value;
  }
  return figures;
}

// For random histories, both methods: beginning inventory + the lots bought
// in the period - ending inventory = the cost the period's sales took out of
// stock (SoldCost at the end less SoldCost the day before), product by
// product; and the report's cost of goods sold is that cost plus the
// purchases that never become lots.
TEST_F(CostingTest, BeginningPlusPurchasesLessEndingIsTheCostOfWhatWasSold) {
  std::mt19937 random(18);
  auto between = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  const QDate year_start(2026, 1, 1);
  History history;
  auto& [products, purchases, invoices, sales] = history;
  long invoice = 0;
  for (int p = 0; p < 60; ++p) {
    const QString code = QStringLiteral("R%1").arg(p, 3, 10, QLatin1Char('0'));
    products.push_back({code, between(1, 10) > 1});
    for (int n = between(0, 7); n > 0; --n) {
      // Now and then a quantity of 0 or less, which is no lot.
      const double quantity = between(1, 12) == 1 ? -between(0, 3) : between(1, 40) / 2.0;
      purchases.push_back(
          {code, year_start.addDays(between(0, 180)), quantity, between(0, 50000) / 100.0});
    }
    for (int n = between(0, 12); n > 0; --n) {
      // Lines share invoices at random; invoice numbers do not follow dates.
      long number = 0;
      if (invoice > 0 && between(1, 3) == 1) {
        number = between(1, invoice);
      } else {
        number = ++invoice;
        // A few invoices are missing.
        if (between(1, 20) > 1) invoices.push_back({number, year_start.addDays(between(0, 200))});
      }
      sales.push_back({code, number, between(1, 10) == 1 ? -between(1, 3) : between(1, 30) / 2.0});
    }
  }
  WriteHistory(history);
  struct Span {
    QDate start, end;
  };
  const Span spans[] = {{QDate(2026, 3, 1), QDate(2026, 3, 31)},
                        {QDate(2026, 1, 1), QDate(2026, 1, 1)},
                        {QDate(2026, 2, 10), QDate(2026, 6, 30)}};
  for (const bool fifo : {true, false}) {
    for (const Span& span : spans) {
      SCOPED_TRACE((fifo ? "first in, " : "last in, ") + span.start.toString().toStdString());
      Settings.fifo = fifo;
      const TDate start = FromQDate(span.start), end = FromQDate(span.end);
      OpenForCosting();
      double beginning = 0, ending = 0, sold = 0, other_purchases = 0;
      for (const Product& product : products) {
        double lot_purchases = 0;
        for (const Purchase& purchase : purchases) {
          const TDate day = FromQDate(purchase.date);
          if (purchase.product != product.id || day < start || day > end) continue;
          if (product.tracked && purchase.quantity > 0) {
            lot_purchases += purchase.cost;
          } else {
            other_purchases += purchase.cost;
          }
        }
        if (!CostProduct(product.id, start - 1)) continue;
        const Costing before = ProductCost;
        ASSERT_TRUE(CostProduct(product.id, end));
        const Costing after = ProductCost;
        const double period_cost = after.SoldCost - before.SoldCost;
        EXPECT_NEAR(before.LotCost + lot_purchases - after.LotCost, period_cost, 1e-6)
            << product.id.toStdString();
        beginning += before.LotCost;
        ending += after.LotCost;
        sold += period_cost;
      }
      CloseAllTables();

      std::map<QString, double> figures;
      scripted_.OnModal(WindowId::kDateSpan, [&] {
        SpanStart = start;
        SpanEnd = end;
        SpanCancelled = false;
        return 1;
      });
      scripted_.OnModal(WindowId::kReportF, [&] {
        figures = ReportFigures();
        return 1;
      });
      CostOfGoodsReport();
      EXPECT_NEAR(figures["Beginning Inventory"], beginning, 0.0051);
      EXPECT_NEAR(figures["Ending Inventory"], ending, 0.0051);
      EXPECT_NEAR(figures["Cost of Goods Sold"], sold + other_purchases, 0.006);
    }
  }
}

}  // namespace
}  // namespace inventory_test
