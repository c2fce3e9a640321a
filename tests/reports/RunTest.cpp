// The generator steps shared by every report.

#include "ReportFixture.h"
#include "reports/ReportRun.h"

namespace {

using platform::WindowId;

class RunTest : public ReportTest {};

TEST_F(RunTest, ReportRunsThroughSpanTablesProgressAndViewerOnlyWhenThereAreLines) {
  const QStringList all = {"open", "prepare", "layout", "write"};
  struct Case {
    const char* name;
    bool with_span;
    bool span_ok;
    bool tables_open;
    int records;
    QStringList steps;  // what the callbacks saw, in order
    int viewer_shown;
    std::vector<int> percents;
    QString one_date = {};  // a caption asks for one date only
  };
  const Case cases[] = {
      {"cancelled span", true, false, true, 3, {}, 0, {}},
      {"tables fail", false, true, false, 3, {"open"}, 0, {}},
      {"no records", true, true, true, 0, all, 0, {}},
      {"three records", true, true, true, 3, all, 1, {33, 66, 100}},
      {"one date", true, true, true, 1, all, 1, {100}, "Inventory as Of:"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    scripted_.ClearRecords();
    QStringList steps;
    QStringList shown_flags;  // the last line's flags as the viewer sees them
    int lines_at_viewer = -1;
    DateSpanCaptions asked;
    scripted_.OnModal(WindowId::kDateSpan, [&] {
      asked = SpanCaptions;
      SpanCancelled = !c.span_ok;
      return c.span_ok ? 1 : 0;
    });
    scripted_.OnModal(WindowId::kReportF, [&] {
      lines_at_viewer = RptLines.Count();
      shown_flags << RptLines.Text(CurLine, FlagsCell());
      return 1;
    });
    reports::ReportRun run;
    if (c.with_span) run.preset_span = SetMonthSpan;
    run.one_date_caption = c.one_date;
    run.open_tables = [&] {
      steps << "open";
      return c.tables_open;
    };
    run.prepare = [&] {
      steps << "prepare";
      return true;
    };
    run.width = 40;
    run.cells = 3;
    run.layout = [&] {
      steps << "layout";
      RptTitles = {"Test Listing"};
      ColCodes = {"L00", "R40"};
      SetColumnHeadings({"Name", "Amount"});
    };
    run.progress_text = "Processing Test";
    run.write = [&](reports::RecordProgress& progress) {
      steps << "write";
      progress.SetTotal(c.records);
      for (int i = 0; i < c.records; ++i) {
        NewDetailLine();
        PutRow({"name", "1.00"});
        if (i == c.records - 1) AddFlags("B");
        progress.Step();
      }
    };
    reports::RunReport(run);
    EXPECT_EQ(steps, c.steps);
    EXPECT_EQ(scripted_.ModalCount(WindowId::kDateSpan), c.with_span ? 1 : 0);
    if (c.with_span) {
      // One date hides the second picker for this report only.
      EXPECT_EQ(asked.first, c.one_date.isEmpty() ? "Print Beginning:" : c.one_date);
      EXPECT_EQ(asked.second_visible, c.one_date.isEmpty());
      EXPECT_TRUE(SpanCaptions.second_visible);
      EXPECT_EQ(SpanCaptions.first, "Print Beginning:");
    }
    EXPECT_EQ(scripted_.ModalCount(WindowId::kReportF), c.viewer_shown);
    if (c.viewer_shown) {
      // Header (5), headings (3) and the records; the last one underlined.
      EXPECT_EQ(lines_at_viewer, 8 + c.records);
      EXPECT_EQ(shown_flags, QStringList{"BU"});
    }
    if (c.steps.contains("write")) {
      EXPECT_EQ(scripted_.ProgressTexts(), (QStringList{"Processing Test", ""}));
      EXPECT_EQ(scripted_.ProgressPercents(), c.percents);
    } else {
      EXPECT_TRUE(scripted_.Progress().empty());
    }
    // Whatever happened, the buffer is empty afterwards.
    EXPECT_EQ(RptLines.Count(), 0);
    EXPECT_EQ(CurLine, -1);
  }
}

TEST_F(RunTest, ProgressStaysFullWhenMoreRecordsComeThanEstimated) {
  reports::RecordProgress progress;
  progress.SetTotal(2);
  for (int i = 0; i < 4; ++i) progress.Step();
  EXPECT_EQ(scripted_.ProgressPercents(), (std::vector<int>{50, 100}));
}

TEST_F(RunTest, NoDateSpanWindowMeansCancelled) {
  SpanCancelled = false;
  EXPECT_FALSE(AskDateSpan());
  EXPECT_EQ(scripted_.Unanswered(), 1);
  scripted_.ClearRecords();
}

}  // namespace
