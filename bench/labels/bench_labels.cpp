// Times a group label run on a large data set: every customer of one group,
// in postal code order, printed into a PDF file (and, to show where the time
// goes, onto a canvas that draws nothing). Reports labels, sheets, labels a
// second and the peak memory.
// Usage: bench_labels DATA_DIR [RUNS [GROUP]]
//   DATA_DIR made by `pelmark-data demo DIR --customers 100000`; it is only
//   read (the print dialog's stand-in keeps the stock the data set last used).

#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

#include "../BenchTiming.h"
#include "labels/LabPrint.h"
#include "labels/LabelGen.h"
#include "masterdata/GroupEdit.h"
#include "platform/Platform.h"
#include "platform/PrintSetup.h"
#include "platform/QtCanvas.h"
#include "store/CodeBase.h"
#include "store/dbFiles.h"

namespace {

using bench::CpuSeconds;
using bench::Median;

// Draws nothing, measures like a 600 dpi A4 page in a 10 point font.
class NullCanvas final : public platform::Canvas {
 public:
  int FontPoints() const override { return points_; }
  void SetFontPoints(int points) override { points_ = points; }
  void SetBold(bool) override {}
  QSize TextExtent(const QString& text) override {
    return QSize(static_cast<int>(text.size()) * points_ * 5, points_ * 10);
  }
  void DrawText(int, int, const QString&) override {}
  void DrawLine(int, int, int, int) override {}
  void DrawDottedLine(int, int, int, int) override {}
  QSize PictureSize(const QString&) override { return {}; }
  void DrawPicture(int, int, const QString&) override {}
  void DrawPictureStretched(const QRect&, const QString&) override {}
  bool NewPage() override { return true; }
  bool Finish() override { return true; }
  QSize PageSize() const override { return {4960, 7016}; }
  int DpiX() const override { return 600; }
  int DpiY() const override { return 600; }

 private:
  int points_ = 10;
};

// The desktop for the run: no printer, the PDF file as the print target,
// the stock the data set names, the one group chosen.
class BenchPlatform final : public platform::Platform {
 public:
  BenchPlatform(QString pdf, int group, bool draw) : pdf_(pdf), group_(group), draw_(draw) {}
  QString status;

  void Inform(const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
  platform::Answer AskYesNo(const QString&) override { return platform::Answer::kNo; }
  platform::Answer AskOkCancel(const QString&) override { return platform::Answer::kCancel; }
  platform::Answer WarnOkCancel(const QString&) override { return platform::Answer::kCancel; }
  bool InputBox(const QString&, const QString&, const QString&, QString*) override { return false; }
  QString OpenFileName(const QString&, const QString&) override { return {}; }
  QString SaveFileName(const QString&, const QString&, const QString&, const QString&) override {
    return pdf_;
  }
  void ShowProgress(const QString& text) override { status = text; }
  void SetProgress(int) override {}
  int ShowModal(platform::WindowId id) override {
    if (id == platform::WindowId::kLabPrint) {
      labels::OpenLabPrint();  // loads the stock LabID names
      labels::LabPrintCancelled = false;
    }
    if (id == platform::WindowId::kMultGroup) masterdata::GroupChoice = {group_};
    return 1;
  }
  std::unique_ptr<platform::Canvas> PrinterCanvas() override { return platform::QtPrinterCanvas(); }
  std::unique_ptr<platform::Canvas> StartPrintJob(const QString& pdf_path) override {
    if (!draw_) return std::make_unique<NullCanvas>();
    return platform::StartQtPrintJob(pdf_path);
  }
  void Terminate(int exit_code) override { std::exit(exit_code); }

 private:
  QString pdf_;
  int group_;
  bool draw_;
};

long PeakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc < 2 || !QDir::setCurrent(QString::fromLocal8Bit(argv[1]))) {
    std::fprintf(stderr, "usage: bench_labels DATA_DIR [RUNS [GROUP]]\n");
    return 2;
  }
  const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  const int group = argc > 3 ? std::atoi(argv[3]) : 1;
  QTemporaryDir out;
  const QString pdf = out.filePath("labels.pdf");
  if (!StartEngine() || !OpenSettings()) return 1;
  LoadSettings();
  bench::MustSucceed(CloseSettings(), "CloseSettings");
  ReportFont = QFont(Settings.FontName.trimmed(), Settings.FontSize);
  if (!OpenCustomers()) return 1;
  std::printf("%ld customers; group %d; stock \"%s\"\n", d4recCountDo(CustDb), group,
              qPrintable(Settings.LabID.trimmed()));
  CloseAllTables();

  bool met = true;
  for (const bool draw : {false, true}) {
    BenchPlatform desktop(pdf, group, draw);
    platform::Install(&desktop);
    std::vector<double> seconds;
    std::vector<double> cpu_seconds;
    for (int run = 0; run < runs; ++run) {
      QElapsedTimer timer;
      timer.start();
      const double cpu_start = CpuSeconds();
      labels::PrintLabels(labels::kCustomerGroups);
      seconds.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e9);
      cpu_seconds.push_back(CpuSeconds() - cpu_start);
    }
    std::sort(seconds.begin(), seconds.end());
    const double median = seconds[seconds.size() / 2];
    const double cpu = Median(cpu_seconds);
    const int labels = desktop.status.section(' ', 0, 0).toInt();
    const double rate = labels / median;
    const double cpu_rate = labels / cpu;
    // The machine is shared: the goal is judged on the processor time,
    // which is what the run would take on a machine of its own.
    if (draw) met = cpu_rate >= 20000;
    std::printf(
        "%-22s %s; median %.3f s (min %.3f, max %.3f; processor %.3f) over %d runs: "
        "%.0f labels/s (%.0f by processor time)%s; %s; peak memory %ld kB\n",
        draw ? "to PDF" : "walk only (no drawing)", qPrintable(desktop.status), median,
        seconds.front(), seconds.back(), cpu, runs, rate, cpu_rate,
        draw ? (met ? " (goal 20000: ok)" : " (goal 20000: MISSED)") : "",
        draw ? qPrintable(QStringLiteral("PDF %1 kB").arg(QFileInfo(pdf).size() / 1024))
             : "no file",
        PeakKilobytes());
    platform::Install(nullptr);
  }
  EndEngine();
  return met ? 0 : 1;
}
