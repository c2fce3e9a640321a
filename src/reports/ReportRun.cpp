#include "reports/ReportRun.h"

#include <algorithm>

#include "platform/Platform.h"
#include "reports/RptUtil.h"
#include "store/dbFiles.h"

namespace reports {

void RecordProgress::Step() {
  ++done_;
  if (total_ <= 0) return;
  // A total that was estimated may be passed: the bar stays full.
  const int percent = static_cast<int>(std::min(100LL, 100LL * done_ / total_));
  if (percent == shown_) return;
  shown_ = percent;
  platform::Current().SetProgress(percent);
}

void RunReport(const ReportRun& run) {
  if (run.preset_span) {
    run.preset_span();
    if (!(run.one_date_caption.isEmpty() ? AskDateSpan() : AskOneDate(run.one_date_caption)))
      return;
  }
  if ((run.open_tables && !run.open_tables()) || (run.prepare && !run.prepare())) {
    CloseAllTables();
    return;
  }
  RptWidth = run.width;
  RptCells = run.cells;
  InitReport();
  if (run.layout) run.layout();
  platform::Platform& desktop = platform::Current();
  desktop.ShowProgress(run.progress_text);
  RecordProgress progress;
  if (run.write) run.write(progress);
  CloseAllTables();
  desktop.ShowProgress(QString());
  if (CurLine >= 0) AddFlags(QStringLiteral("U"));
  ShowReport();
}

void ShowReport() {
  if (CurLine >= 0) platform::Current().ShowModal(platform::WindowId::kReportF);
  FreeReport();
}

}  // namespace reports
