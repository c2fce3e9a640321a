#pragma once
// The steps every report generator shares, written once: the date span,
// opening and closing the tables, the report's layout, progress in the
// status bar, the closing rule, the viewer (only when there is a line) and
// freeing the buffer. A generator gives only its particulars:
//
//   ReportRun run;
//   run.preset_span = SetMonthSpan;
//   run.open_tables = [] { return OpenProducts() && OpenPurchases(); };
//   run.width = 71;
//   run.cells = 6;
//   run.layout = [] { RptTitles = {...}; ColCodes = {...}; SetColumnHeadings({...}); };
//   run.progress_text = "Processing Purchasing Report";
//   run.write = [](RecordProgress& progress) {
//     progress.SetTotal(record count);
//     for each record: NewDetailLine(); PutRow({...}); progress.Step();
//   };
//   RunReport(run);

#include <QString>
#include <functional>

namespace reports {

// The status bar's percentage while records are read: trunc(100 * done /
// total) after each record, at most 100, passed on only when it changes.
class RecordProgress {
 public:
  void SetTotal(long total) { total_ = total; }
  void Step();

 private:
  long total_ = 0;
  long done_ = 0;
  int shown_ = 0;
};

struct ReportRun {
  // Presets SpanStart and SpanEnd before the date span window is shown
  // (SetMonthSpan, most often). Unset for reports without dates; a report
  // that asks later (after a pick list) calls AskDateSpan in `prepare`.
  std::function<void()> preset_span;
  // When not empty, the window asks for one date only (into SpanStart), its
  // first date captioned with this text (AskOneDate).
  QString one_date_caption;
  // Opens the tables the report reads; false ends the report.
  std::function<bool()> open_tables;
  // Runs with the tables open before the layout (counting, choosing); false
  // ends the report without output, the callback having said why.
  std::function<bool()> prepare;
  int width = 0;  // RptWidth
  int cells = 0;  // RptCells
  // After InitReport: fills RptTitles, ColCodes and ColHeads.
  std::function<void()> layout;
  // The status bar's text while the lines are written.
  QString progress_text;
  // Writes the report's lines, stepping the progress after each record.
  std::function<void(RecordProgress&)> write;
};

// Runs the report: the span (a cancelled span ends it before any table is
// opened), the tables, the layout, the lines with progress, all tables
// closed and the status bar cleared; then, when the buffer holds a line,
// that last line is underlined and the viewer shown. The buffer is freed.
void RunReport(const ReportRun& run);

// Shows the viewer when the buffer holds a line, then frees the buffer.
void ShowReport();

}  // namespace reports
