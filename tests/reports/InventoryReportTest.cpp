// The product and stock reports on one small data set, checked line by line
// through the plain export, with their flags, dialogs and progress.

#include <QStringList>
#include <functional>

#include "InventoryFixture.h"
#include "reports/ReportOutput.h"
#include "reports/RptInventory.h"
#include "reports/RptUtil.h"

namespace inventory_test {
namespace {

using platform::WindowId;

// Today is 30 April 2026. BOLT has lots in February, March and April and
// sales in each month; GASKET only a purchase tomorrow; NUT a March lot and a
// sale dated after today; WASHER sales and no purchases; CLIP two lots whose
// quantities add up a hair below its reorder level; SERVICE is not stocked;
// GHOST purchases have no product.
class InventoryReportTest : public InventoryFixture {
 protected:
  void SetUp() override {
    InventoryFixture::SetUp();
    if (HasFatalFailure()) return;
    // clang-format off
    WriteHistory({
        {{"NUT", true, 80, "Nut M6", 0.10}, {"BOLT", true, 10, "Bolt M6 x 30", 1.25, "Box of 100"},
         {"SERVICE", false, 0, "Service call", 85}, {"WASHER", true, 0, "Washer M6", 0.05},
         {"GASKET", true, 5, "Gasket 40mm", 3.5}, {"CLIP", true, 0.8, "Hose clip", 0.9}},
        {{"BOLT", QDate(2026, 2, 10), 10, 20}, {"BOLT", QDate(2026, 3, 1), 10, 30},
         {"BOLT", QDate(2026, 3, 25), 2, 6}, {"BOLT", QDate(2026, 4, 1), 10, 40},
         {"SERVICE", QDate(2026, 3, 15), 1, 99}, {"NUT", QDate(2026, 3, 20), 100, 5},
         {"GHOST", QDate(2026, 3, 2), 1, 1}, {"GASKET", QDate(2026, 5, 1), 20, 50},
         {"CLIP", QDate(2026, 1, 5), 0.7, 0.7}, {"CLIP", QDate(2026, 1, 6), 0.1, 0.1}},
        {{1001, QDate(2026, 2, 20)}, {1002, QDate(2026, 3, 10)}, {1003, QDate(2026, 4, 10)},
         {1004, QDate(2026, 5, 2)}},
        {{"BOLT", 1001, 4}, {"BOLT", 1002, 8}, {"BOLT", 1003, 5}, {"WASHER", 1003, 4},
         {"NUT", 1004, 30}, {"SERVICE", 1002, 1}}});
    // clang-format on
  }
};

// The lines with flags, as "line:flags", leaving out the title's bold.
QStringList FlaggedLines() {
  QStringList flagged;
  for (int line = 0; line < RptLines.Count(); ++line) {
    const QString flags = RptLines.Text(line, FlagsCell());
    if (!flags.isEmpty() && !RptLines.Text(line, 0).startsWith('C')) {
      flagged << QString::number(line) + ':' + flags;
    }
  }
  return flagged;
}

TEST_F(InventoryReportTest, ReportsListTheirLinesWithTitlesHeadingsAndFlags) {
  struct Case {
    const char* name;
    std::function<void()> report;
    TDate span_start, span_end;  // what the date window returns; 0: no window
    QString progress_text;
    QString title;      // as exported
    QStringList body;   // the plain export from the headings on
    QStringList flags;  // FlaggedLines
  };
  // clang-format off
  const Case cases[] = {
      {"product listing", ProductListing, 0, 0, "Processing Product Listing",
       "                         Product Listing",
       {"Product     Description                  Unit Price      Reorder",
        "BOLT        Bolt M6 x 30                       1.25        10.00",
        "            Box of 100",
        "CLIP        Hose clip                          0.90         0.80",
        "GASKET      Gasket 40mm                        3.50         5.00",
        "NUT         Nut M6                             0.10        80.00",
        "SERVICE     Service call                      85.00         0.00",
        "WASHER      Washer M6                          0.05         0.00"},
       {"6:U", "7:U", "14:U"}},
      {"purchasing", PurchasingReport, Day(2026, 3, 1), Day(2026, 3, 31),
       "Processing Purchasing Report",
       "             Purchasing Report for 3/1/26 through 3/31/26",
       {"Product     Description                    Date   Quantity         Cost",
        "BOLT        Bolt M6 x 30                 3/1/26      10.00        30.00",
        "                                        3/25/26       2.00         6.00",
        "GHOST       Not Found                    3/2/26       1.00         1.00",
        "NUT         Nut M6                      3/20/26     100.00         5.00",
        "SERVICE     Service call                3/15/26       1.00        99.00",
        "Total                                                            141.00"},
       {"6:U", "7:U", "12:U", "13:U"}},
      // A sale after today lowers the stock on hand; a purchase tomorrow is on order.
      {"stock on hand", StockOnHandReport, 0, 0, "Processing Inventory",
       "                             Stock On-Hand as of 4/30/26",
       {"                                            Quantity     Quantity      Reorder   Need",
        "Product     Description                      On-Hand     On-Order        Level  Stock",
        "BOLT        Bolt M6 x 30                       15.00         0.00        10.00     OK",
        "CLIP        Hose clip                           0.80         0.00         0.80     OK",
        "GASKET      Gasket 40mm                         0.00        20.00         5.00     OK",
        "NUT         Nut M6                             70.00         0.00        80.00    YES",
        "WASHER      Washer M6                          -4.00         0.00         0.00    YES"},
       {"6:U", "8:U", "12:B", "13:BU"}},
      {"inventory", InventoryReport, Day(2026, 3, 31), 0, "Processing Inventory",
       "                      Inventory as of 3/31/26",
       {"Product     Description                     Quantity           Cost",
        "BOLT        Bolt M6 x 30                       10.00          30.00",
        "CLIP        Hose clip                           0.80           0.80",
        "GASKET      Gasket 40mm                         0.00           0.00",
        "NUT         Nut M6                            100.00           5.00",
        "WASHER      Washer M6                           0.00           0.00",
        "                                               Total          35.80"},
       {"6:U", "7:U", "12:U", "13:U"}},
      // March begins with the stock at the end of February.
      {"cost of goods", CostOfGoodsReport, Day(2026, 3, 1), Day(2026, 3, 31),
       "Processing Cost of Goods",
       "  Cost of Goods Sold from 3/1/26 through 3/31/26",
       {"Description                                 Amount",
        "Beginning Inventory                          12.80",
        "Inventory Purchases                         141.00",
        "Total                                       153.80",
        "Ending Inventory                             35.80",
        "Cost of Goods Sold                          118.00"},
       {"6:U", "7:U", "9:U", "11:U", "12:U"}},
  };
  // clang-format on
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    scripted_.ClearRecords();
    DateSpanCaptions captions;
    scripted_.OnModal(WindowId::kDateSpan, [&] {
      captions = SpanCaptions;
      SpanStart = c.span_start;
      SpanEnd = c.span_end;
      SpanCancelled = false;
      return 1;
    });
    QString title;
    QStringList body;
    QStringList flags;
    scripted_.OnModal(WindowId::kReportF, [&] {
      title = reports::ExportLine(2, reports::ExportKind::kPlainText);
      for (int line = 7; line < RptLines.Count(); ++line) {
        body << reports::ExportLine(line, reports::ExportKind::kPlainText);
      }
      flags = FlaggedLines();
      return 1;
    });
    c.report();
    EXPECT_EQ(title, c.title);
    EXPECT_EQ(body, c.body);
    EXPECT_EQ(flags, c.flags);
    EXPECT_EQ(scripted_.ProgressTexts(), (QStringList{c.progress_text, ""}));
    EXPECT_EQ(scripted_.ProgressPercents().back(), 100);
    // Only the inventory asks for one date, and the window is put back after.
    EXPECT_EQ(scripted_.ModalCount(WindowId::kDateSpan), c.span_start != 0 ? 1 : 0);
    const bool one_date = c.span_start != 0 && c.span_end == 0;
    EXPECT_EQ(captions.first, one_date ? "Inventory as Of:" : "Print Beginning:");
    EXPECT_EQ(captions.second_visible, !one_date);
    EXPECT_EQ(SpanCaptions.first, "Print Beginning:");
    EXPECT_TRUE(SpanCaptions.second_visible);
  }
}

}  // namespace
}  // namespace inventory_test
