// Costing a product's stock from its purchase lots and sales, and the
// accounting identity that makes the cost of goods report trustworthy.

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
  constexpr bool kFifo = true, kLifo = false;
  struct Case {
    const char* name;
    bool fifo;
    std::vector<Lot> lots;
    std::vector<Sold> sales;
    Costing expected;  // LotQty, LotCost, OnOrder, Unmatched, SoldCost
  };
  const std::vector<Lot> march_april = {{mar1, 10, 20}, {apr1, 10, 30}};
  // Each case costs its own product, K1, K2, ... at 30 April; K1 is a prefix
  // of K10 and K11, whose purchases and lines it must not pick up. Untracked
  // products and sales without lots are in the report tests.
  // clang-format off
  const Case cases[] = {
      {"first in: the March lot goes first",
       kFifo, march_april, {{apr10, 15}}, {5, 15, 0, 0, 35}},
      {"last in: the April lot goes first",
       kLifo, march_april, {{apr10, 15}}, {5, 10, 0, 0, 40}},
      {"last in: a lot bought after the sale is taken in the second pass",
       kLifo, march_april, {{mar15, 15}}, {5, 15, 0, 0, 35}},
      {"last in: a lot bought on the sale's day is no later lot",
       kLifo, {{mar1, 10, 20}, {apr10, 10, 30}}, {{apr10, 5}}, {15, 35, 0, 0, 15}},
      {"sales beyond the lots, last in",
       kLifo, march_april, {{mar15, 25}}, {0, 0, 0, 5, 50}},
      {"a line whose invoice is missing is left out",
       kFifo, {{mar1, 10, 20}}, {{QDate(), 5}}, {10, 20, 0, 0, 0}},
      {"purchases of no quantity are no lots",
       kFifo, {{mar1, 0, 50}, {mar1, -5, -10}, {apr1, 4, 8}}, {}, {4, 8, 0, 0, 0}},
      {"purchases and sales on and after the cut-off day",
       kFifo, {{apr30, 10, 20}, {may10, 20, 100}}, {{apr30, 4}, {may10, 3}},
       {6, 12, 20, 3, 8}},
      {"first in: a return goes back into the oldest lot",
       kFifo, march_april, {{apr10, 15}, {apr10, -3}}, {8, 21, 0, 0, 29}},
      {"last in: a return is a negative unmatched quantity",
       kLifo, march_april, {{apr10, 15}, {apr10, -3}}, {5, 10, 0, -3, 40}},
      {"last in: emptied lots are passed over",
       kLifo, {{mar1, 10, 20}, {QDate(2026, 3, 20), 5, 15}, {apr1, 10, 30}},
       {{apr10, 12}, {apr10, 4}}, {9, 18, 0, 0, 47}},
  };
  // clang-format on
  History history;
  auto& [products, purchases, invoices, sales] = history;
  long invoice = 1000;
  for (size_t i = 0; i < std::size(cases); ++i) {
    const QString code = QStringLiteral("K%1").arg(i + 1);
    products.push_back({code});
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
    EXPECT_TRUE(CostProduct(QStringLiteral("K%1").arg(i + 1), FromQDate(apr30)));
    EXPECT_DOUBLE_EQ(ProductCost.LotQty, c.expected.LotQty);
    EXPECT_NEAR(ProductCost.LotCost, c.expected.LotCost, 1e-9);
    EXPECT_DOUBLE_EQ(ProductCost.OnOrder, c.expected.OnOrder);
    EXPECT_DOUBLE_EQ(ProductCost.Unmatched, c.expected.Unmatched);
    EXPECT_NEAR(ProductCost.SoldCost, c.expected.SoldCost, 1e-9);
  }
}

// The amount on the line with this caption in the report's plain export.
double Figure(const QString& caption) {
  for (int line = 0; line < RptLines.Count(); ++line) {
    const QString text = reports::ExportLine(line, reports::ExportKind::kPlainText);
    if (text.startsWith(caption + "  ")) return text.mid(caption.size()).toDouble();
  }
  return -1e9;
}

// For random histories and both methods: beginning inventory + the lots
// bought in the period - ending inventory = the cost the period's sales took
// out of stock (SoldCost at the end less SoldCost the day before), product by
// product; and the report's cost of goods sold is that cost plus the
// purchases that never become lots (untracked products, no quantity).
TEST_F(CostingTest, BeginningPlusPurchasesLessEndingIsTheCostOfWhatWasSold) {
  std::mt19937 random(18);
  auto between = [&](int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
  };
  const QDate jan1(2026, 1, 1);
  History history;
  long invoice = 0;
  for (int p = 0; p < 60; ++p) {
    const QString code = QStringLiteral("R%1").arg(p, 3, 10, QLatin1Char('0'));
    history.products.push_back({code, between(1, 10) > 1});
    for (int n = between(0, 7); n > 0; --n) {
      const double quantity = between(1, 12) == 1 ? -between(0, 3) : between(1, 40) / 2.0;
      history.purchases.push_back(
          {code, jan1.addDays(between(0, 180)), quantity, between(0, 50000) / 100.0});
    }
    // Lines share invoices, a few invoices are missing, numbers do not follow
    // dates, and some lines are returns.
    for (int n = between(0, 12); n > 0; --n) {
      const bool shared = invoice > 0 && between(1, 3) == 1;
      const long number = shared ? between(1, invoice) : ++invoice;
      if (!shared && between(1, 20) > 1)
        history.invoices.push_back({number, jan1.addDays(between(0, 200))});
      history.sales.push_back(
          {code, number, between(1, 10) == 1 ? -between(1, 3) : between(1, 30) / 2.0});
    }
  }
  WriteHistory(history);
  const std::pair<QDate, QDate> spans[] = {{QDate(2026, 3, 1), QDate(2026, 3, 31)},
                                           {jan1, jan1},
                                           {QDate(2026, 2, 10), QDate(2026, 6, 30)}};
  for (const bool fifo : {true, false}) {
    for (const auto& [first, last] : spans) {
      SCOPED_TRACE((fifo ? "first in from " : "last in from ") + first.toString().toStdString());
      Settings.fifo = fifo;
      const TDate start = FromQDate(first), end = FromQDate(last);
      std::map<QString, double> lot_purchases;
      double other_purchases = 0;
      for (const Purchase& p : history.purchases) {
        if (FromQDate(p.date) < start || FromQDate(p.date) > end) continue;
        (p.quantity > 0 ? lot_purchases[p.product] : other_purchases) += p.cost;
      }
      double beginning = 0, ending = 0, sold = 0;
      OpenForCosting();
      for (const Product& product : history.products) {
        if (!CostProduct(product.id, start - 1)) {
          other_purchases += lot_purchases[product.id];
          continue;
        }
        const Costing before = ProductCost;
        ASSERT_TRUE(CostProduct(product.id, end));
        const double period_cost = ProductCost.SoldCost - before.SoldCost;
        EXPECT_NEAR(before.LotCost + lot_purchases[product.id] - ProductCost.LotCost, period_cost,
                    1e-6);
        beginning += before.LotCost;
        ending += ProductCost.LotCost;
        sold += period_cost;
      }
      CloseAllTables();
      scripted_.OnModal(WindowId::kDateSpan, [&] {
        SpanStart = start;
        SpanEnd = end;
        SpanCancelled = false;
        return 1;
      });
      scripted_.OnModal(WindowId::kReportF, [&] {
        EXPECT_NEAR(Figure("Beginning Inventory"), beginning, 0.0051);
        EXPECT_NEAR(Figure("Ending Inventory"), ending, 0.0051);
        EXPECT_NEAR(Figure("Cost of Goods Sold"), sold + other_purchases, 0.006);
        return 1;
      });
      CostOfGoodsReport();
      EXPECT_EQ(scripted_.ModalCount(WindowId::kReportF), 1);
      scripted_.ClearRecords();
    }
  }
}

}  // namespace
}  // namespace inventory_test
