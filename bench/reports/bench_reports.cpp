// Times the report viewer, export and printing on a generated report of
// 100,000 lines (a boxed sales table, about 1,900 pages), and measures the
// buffer's memory.
// Usage: bench_reports [DIR [LINES]]   (files are written to DIR, /tmp by default)

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QScrollBar>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <functional>
#include <tuple>
#include <vector>

#include "../BenchTiming.h"
#include "platform/PrintSetup.h"
#include "platform/QtCanvas.h"
#include "reports/LinePainter.h"
#include "reports/ReportOutput.h"
#include "reports/ReportU.h"
#include "reports/RptUtil.h"
#include "testing/ScriptedPlatform.h"

namespace {

using bench::Median;

double Max(const std::vector<double>& samples) {
  return *std::max_element(samples.begin(), samples.end());
}

// Processor time of the process so far, in milliseconds: on a shared
// machine it shows the work apart from waiting for the processor.
double CpuMs() { return 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC; }

// Runs `step` `runs` times and returns the times in milliseconds; prints
// the processor time of a run on average.
std::vector<double> Time(int runs, const std::function<void(int)>& step) {
  std::vector<double> samples;
  const double cpu_start = CpuMs();
  for (int i = 0; i < runs; ++i) {
    QElapsedTimer timer;
    timer.start();
    step(i);
    samples.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
  }
  std::printf("  processor time %.2f ms a run\n", (CpuMs() - cpu_start) / runs);
  return samples;
}

bool Report(const char* what, double value, const char* unit, double goal, bool below) {
  const bool met = below ? value < goal : value >= goal;
  std::printf("%-34s %12.2f %-8s (goal %s %g) %s\n", what, value, unit, below ? "<" : ">=", goal,
              met ? "ok" : "MISSED");
  return met;
}

// A sales table: rules between six columns, every line full.
void Compose(int lines) {
  RptWidth = 64;
  RptCells = 14;
  InitReport();
  RptTitles = {"Sales Summary for 1/1/26 through 12/31/26"};
  ColCodes = {"V00", "R07", "V08", "R17", "V18", "R28", "V29",
              "R40", "V41", "R52", "V53", "R63", "V64"};
  SetColumnHeadings({"Inv. No", "Date", "Items", "Shipping", "Tax", "Total"});
  for (int i = 0; RptLines.Count() < lines; ++i) {
    NewDetailLine();
    const double items = 10 + i % 997 * 1.37;
    PutRow({QString::number(i + 1).rightJustified(6), "12/31/26",
            QString::asprintf("%10.2f", items), QString::asprintf("%10.2f", 4.5),
            QString::asprintf("%10.2f", items * 0.07),
            QString::asprintf("%10.2f", items * 1.07 + 4.5)});
  }
  AddFlags("U");
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const QString dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath();
  const int lines = argc > 2 ? std::atoi(argv[2]) : 100000;
  platform::ScriptedPlatform scripted;
  platform::Install(&scripted);
  ReportFont = QFont(QStringLiteral("DejaVu Sans"), 10);
  bool ok = true;

  QElapsedTimer compose;
  compose.start();
  Compose(lines);
  const int cells = RptLines.Count() * RptCells;
  std::printf("report: %d lines, %d cells, composed in %.0f ms\n", RptLines.Count(), cells,
              static_cast<double>(compose.nsecsElapsed()) / 1e6);
  ok &= Report("buffer memory per cell", static_cast<double>(RptLines.MemoryBytes()) / cells,
               "bytes", 100, true);

  // Opening: a new viewer shown, laid out and painted once.
  const std::vector<double> opens = Time(21, [&](int) {
    TReportF fresh;
    fresh.show();
    QCoreApplication::processEvents();
    fresh.grab();
  });
  std::printf("  max open %.2f ms\n", Max(opens));
  ok &= Report("viewer open (median of 21)", Median(opens), "ms", 100, true);
  TReportF viewer;
  viewer.show();
  QCoreApplication::processEvents();
  QRandomGenerator random(5);
  const std::vector<double> repaints = Time(201, [&](int) {
    viewer.ScrollBar1->setValue(random.bounded(viewer.ScrollBar1->maximum() + 1));
    viewer.grab();
  });
  std::printf("  viewer %dx%d, %d lines visible; max repaint %.2f ms\n", viewer.width(),
              viewer.height(), viewer.VisLines(), Max(repaints));
  ok &= Report("viewer repaint (median of 201)", Median(repaints), "ms", 16, true);
  viewer.hide();

  for (const auto& [kind, name, file] :
       {std::tuple{reports::ExportKind::kPlainText, "plain text export", "bench_reports.txt"},
        std::tuple{reports::ExportKind::kTabDelimited, "tab-delimited export",
                   "bench_reports.asc"}}) {
    const QString path = QDir(dir).filePath(QString::fromLatin1(file));
    const std::vector<double> times = Time(5, [&](int) {
      if (!reports::WriteTextFile(path, kind)) std::printf("cannot write %s\n", file);
    });
    std::printf("  %s: %.1f MB\n", file, static_cast<double>(QFileInfo(path).size()) / 1e6);
    ok &= Report(name, RptLines.Count() / (Median(times) / 1000.0), "lines/s", 500000, false);
    QFile::remove(path);
  }

  const QString pdf = QDir(dir).filePath(QStringLiteral("bench_reports.pdf"));
  scripted.ClearRecords();
  QElapsedTimer print;
  print.start();
  const double print_cpu = CpuMs();
  std::unique_ptr<platform::Canvas> job = platform::StartQtPrintJob(pdf);
  const bool printed = job && reports::PrintLines(*job) && job->Finish();
  const double seconds = static_cast<double>(print.nsecsElapsed()) / 1e9;
  std::printf("  processor time %.2f s\n", (CpuMs() - print_cpu) / 1000);
  std::printf("  %s: %.1f MB, %zu progress updates\n", printed ? "printed" : "FAILED",
              static_cast<double>(QFileInfo(pdf).size()) / 1e6, scripted.ProgressPercents().size());
  ok &= printed && Report("print to PDF", seconds, "s", 30, true);
  QFile::remove(pdf);
  platform::Install(nullptr);
  return ok ? 0 : 1;
}
