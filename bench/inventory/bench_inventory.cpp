// Times the stock reports on a large data set: stock on hand (one costing of
// every product) and the cost of goods sold for a month (two costings), each
// with the progress it shows, for first in first out and last in first out.
// Usage: bench_inventory DATA_DIR [RUNS [YYYY-MM-DD]]
//   DATA_DIR made by `pelmark-data demo DIR --products 10000 --purchases 50000
//   --invoices 357300 --today 2026-11-30`; the date is today for the reports
//   (default 2026-11-30), and the month of cost of goods is its month.

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <vector>

#include "../BenchTiming.h"
#include "reports/RptInventory.h"
#include "reports/RptUtil.h"
#include "store/CodeBase.h"
#include "store/dbFiles.h"
#include "testing/ScriptedPlatform.h"

namespace {

using bench::CpuSeconds;
using bench::Median;

struct Goal {
  const char* what;
  std::function<void()> report;
  double goal_seconds;
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc < 2 || !QDir::setCurrent(QString::fromLocal8Bit(argv[1]))) {
    std::fprintf(stderr, "usage: bench_inventory DATA_DIR [RUNS [YYYY-MM-DD]]\n");
    return 2;
  }
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 3;
  const QDate today =
      argc > 3 ? QDate::fromString(QString::fromLatin1(argv[3]), Qt::ISODate) : QDate(2026, 11, 30);
  if (!today.isValid()) return 2;
  SetTodayForTests(today);

  platform::ScriptedPlatform scripted;
  platform::Install(&scripted);
  if (!StartEngine() || !OpenSettings()) return 1;
  LoadSettings();
  bench::MustSucceed(CloseSettings(), "CloseSettings");
  if (!OpenProducts() || !OpenPurchases() || !OpenLineItems()) return 1;
  std::printf("%ld products, %ld purchases, %ld invoice lines; today %s\n", d4recCountDo(ProdDb),
              d4recCountDo(PurDb), d4recCountDo(ItemDb), qPrintable(today.toString(Qt::ISODate)));
  CloseAllTables();

  // The date window takes the month of today; the viewer counts the lines.
  scripted.OnModal(platform::WindowId::kDateSpan, [] {
    SetMonthSpan();
    SpanCancelled = false;
    return 1;
  });
  int lines = 0;
  scripted.OnModal(platform::WindowId::kReportF, [&lines] {
    lines = RptLines.Count();
    return 1;
  });

  const Goal goals[] = {{"stock on hand", StockOnHandReport, 5.0},
                        {"cost of goods sold, one month", CostOfGoodsReport, 10.0}};
  bool all_met = true;
  for (const bool fifo : {true, false}) {
    Settings.fifo = fifo;
    for (const Goal& goal : goals) {
      std::vector<double> seconds;
      std::vector<double> cpu_seconds;
      size_t progress_calls = 0;
      int last_percent = 0;
      for (int run = 0; run < runs; ++run) {
        scripted.ClearRecords();
        QElapsedTimer timer;
        timer.start();
        const double cpu_start = CpuSeconds();
        goal.report();
        seconds.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e9);
        cpu_seconds.push_back(CpuSeconds() - cpu_start);
        const std::vector<int> percents = scripted.ProgressPercents();
        progress_calls = percents.size();
        last_percent = percents.empty() ? 0 : percents.back();
      }
      const double median = Median(seconds);
      const bool met = median < goal.goal_seconds && last_percent == 100;
      all_met = all_met && met;
      std::printf(
          "%-30s %s median %5.2f s (min %5.2f, max %5.2f; processor %5.2f) over %d runs; "
          "%d lines; progress %zu steps to %d%% (goal < %.0f s) %s\n",
          goal.what, fifo ? "FIFO" : "LIFO", median,
          *std::min_element(seconds.begin(), seconds.end()),
          *std::max_element(seconds.begin(), seconds.end()), Median(cpu_seconds), runs, lines,
          progress_calls, last_percent, goal.goal_seconds, met ? "ok" : "MISSED");
    }
  }
  EndEngine();
  return all_met ? 0 : 1;
}
