// Times the invoice and statement commands on a large data set: the tax
// invoices of one day, and the statements with balances of one month, each
// from the date span's answer to the viewer (the documents composed in the
// report buffer), measured on the program's printer canvas.
// Usage: bench_documents DIR [DAY [RUNS [invoices|statements]]]   (DIR made
// by `pelmark-data demo DIR --customers 100000 --invoices 998999`; DAY as
// YYYY-MM-DD, or "-" for 18 days before the newest invoice)

#include <QApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <algorithm>
#include <ctime>
#include <cstdio>
#include <functional>
#include <map>
#include <vector>

#include "../BenchTiming.h"
#include "engine/TableEngine.h"
#include "platform/Platform.h"
#include "platform/PrintSetup.h"
#include "platform/QtCanvas.h"
#include "reports/RptInvoices.h"
#include "reports/RptStatements.h"
#include "reports/RptUtil.h"
#include "store/CodeBase.h"
#include "store/dbFiles.h"
#include "util/DateUtil.h"
#include "util/TextUtil.h"

namespace {

using bench::Median;

// Processor time of the process: on a machine shared with other work the
// wall clock says more about the others.
double CpuMs() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

// Answers the date span, times the composing up to the viewer, and
// measures on the real printer canvas (a PDF page without a printer).
class BenchPlatform final : public platform::Platform {
 public:
  TDate start = 0;
  TDate end = 0;
  QElapsedTimer timer;
  double cpu_start_ms = 0;
  double composed_ms = 0;
  double composed_cpu_ms = 0;
  int lines = 0;

  void Inform(const QString& text) override {
    std::fprintf(stderr, "message: %s\n", qPrintable(text));
  }
  platform::Answer AskYesNo(const QString&) override { return platform::Answer::kNo; }
  platform::Answer AskOkCancel(const QString&) override { return platform::Answer::kCancel; }
  platform::Answer WarnOkCancel(const QString&) override { return platform::Answer::kCancel; }
  bool InputBox(const QString&, const QString&, const QString&, QString*) override {
    return false;
  }
  QString OpenFileName(const QString&, const QString&) override { return QString(); }
  QString SaveFileName(const QString&, const QString&, const QString&, const QString&) override {
    return QString();
  }
  void ShowProgress(const QString&) override {}
  void SetProgress(int) override {}
  int ShowModal(platform::WindowId id) override {
    if (id == platform::WindowId::kDateSpan) {
      SpanStart = start;
      SpanEnd = end;
      SpanCancelled = false;
      cpu_start_ms = CpuMs();
      timer.start();
      return 1;
    }
    if (id == platform::WindowId::kReportF) {
      composed_ms = static_cast<double>(timer.nsecsElapsed()) / 1e6;
      composed_cpu_ms = CpuMs() - cpu_start_ms;
      lines = CurLine + 1;
      return 1;
    }
    return 0;
  }
  bool HasPrinter() override { return !PrintsToPdf(); }
  std::unique_ptr<platform::Canvas> PrinterCanvas() override { return platform::QtPrinterCanvas(); }
  void Terminate(int exit_code) override { std::exit(exit_code); }
};

// Runs the command `runs` times over the span; prints the medians of the
// composing time (wall clock and processor) and returns the processor's in
// milliseconds.
double Measure(BenchPlatform& bench, const char* what, QDate first, QDate last, int runs,
               const std::function<void()>& command) {
  bench.start = FromQDate(first);
  bench.end = FromQDate(last);
  std::vector<double> wall;
  std::vector<double> cpu;
  for (int i = 0; i < runs; ++i) {
    bench.composed_ms = -1;
    command();
    if (bench.composed_ms < 0) {
      std::printf("%s: nothing was shown\n", what);
      return -1;
    }
    wall.push_back(bench.composed_ms);
    cpu.push_back(bench.composed_cpu_ms);
  }
  const double median = Median(cpu);
  std::printf("%-38s median %8.1f ms processor, %8.1f ms wall over %d runs (%d lines)\n", what,
              median, Median(wall), runs, bench.lines);
  return median;
}

long CountInvoices(QDate first, QDate last) {
  if (!OpenInvoices()) return 0;
  bench::MustSucceed(d4tagSelect(InvDb, d4tag(InvDb, "InvD")), "d4tagSelect");
  long count = 0;
  int rc = d4seek(InvDb, KeyText(DateToText(FromQDate(first))).constData());
  const QByteArray end = DateToText(FromQDate(last)).toLatin1();
  while ((rc == r4success || rc == r4after) && qstrncmp(f4str(InvFld.IDate), end, 8) <= 0) {
    ++count;
    rc = d4skip(InvDb, 1);
  }
  CloseAllTables();
  return count;
}

QDate NewestInvoiceDate() {
  if (!OpenInvoices()) return QDate();
  bench::MustSucceed(d4tagSelect(InvDb, d4tag(InvDb, "InvD")), "d4tagSelect");
  bench::MustSucceed(d4bottom(InvDb), "d4bottom");
  const QDate newest = ToQDate(TextToDate(QString::fromLatin1(f4str(InvFld.IDate))));
  CloseAllTables();
  return newest;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc < 2 || !QDir::setCurrent(QString::fromLocal8Bit(argv[1]))) {
    std::fprintf(stderr, "usage: bench_documents DATA_DIR [YYYY-MM-DD [RUNS]]\n");
    return 2;
  }
  BenchPlatform bench;
  platform::Install(&bench);
  if (!StartEngine() || !OpenSettings()) return 1;
  LoadSettings();
  bench::MustSucceed(CloseSettings(), "CloseSettings");
  if (!Settings.FontName.trimmed().isEmpty()) ReportFont.setFamily(Settings.FontName.trimmed());
  if (Settings.FontSize > 0) ReportFont.setPointSize(Settings.FontSize);

  QDate day = argc > 2 && qstrcmp(argv[2], "-") != 0 ? QDate::fromString(QString::fromLatin1(argv[2]), Qt::ISODate)
                       : NewestInvoiceDate().addDays(-18);
  const int runs = argc > 3 ? std::max(1, atoi(argv[3])) : 5;
  const QString only = argc > 4 ? QString::fromLatin1(argv[4]) : QString();
  if (!day.isValid()) return 2;
  const QDate month_start(day.year(), day.month(), 1);
  const QDate month_end = month_start.addMonths(1).addDays(-1);
  if (!OpenCustomers()) return 1;
  const long customers = d4recCountDo(CustDb);
  CloseAllTables();
  std::printf("data: %s, %ld customers; %ld invoices on %s, %ld in its month\n", argv[1],
              customers, CountInvoices(day, day), qPrintable(day.toString(Qt::ISODate)),
              CountInvoices(month_start, month_end));

  const double invoices_ms =
      only == "statements" ? 0
                           : Measure(bench, "tax invoices of one day", day, day, runs,
                                     [] { PrintInvoices(true, true); });
  const double statements_ms =
      only == "invoices" ? 0
                         : Measure(bench, "statements with balances of a month", month_start,
                                   month_end, runs, [] { PrintStatements(true); });
  const double per_second = statements_ms > 0 ? customers / (statements_ms / 1000) : 0;
  std::printf("invoices of a day: %.1f ms (goal < 100 ms) %s\n", invoices_ms,
              invoices_ms >= 0 && invoices_ms < 100 ? "ok" : "MISSED");
  std::printf("statements: %.0f customers a second (goal >= 20000) %s\n", per_second,
              per_second >= 20000 ? "ok" : "MISSED");
  EndEngine();
  platform::Install(nullptr);
  return 0;
}
