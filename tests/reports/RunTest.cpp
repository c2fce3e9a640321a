// The generator steps shared by every report, and the date span's rules.

#include "ReportFixture.h"
#include "reports/ReportRun.h"

namespace {

using platform::WindowId;

class RunTest : public ReportTest {};

TEST_F(RunTest, ReportRunsThroughSpanTablesProgressAndViewerOnlyWhenThereAreLines) {
  struct Case {
    const char* name;
    bool with_span;
    bool span_ok;
    bool tables_open;
    int records;
    QStringList steps;  // what the callbacks saw, in order
    int viewer_shown;
    std::vector<int> percents;
  };
  const Case cases[] = {
      {"cancelled span", true, false, true, 3, {}, 0, {}},
      {"tables fail", false, true, false, 3, {"open"}, 0, {}},
      {"no records", true, true, true, 0, {"open", "prepare", "layout", "write"}, 0, {}},
      {"three records",
       true,
       true,
       true,
       3,
       {"open", "prepare", "layout", "write"},
       1,
       {33, 66, 100}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    scripted_.ClearRecords();
    QStringList steps;
    QStringList shown_flags;  // the last line's flags as the viewer sees them
    int lines_at_viewer = -1;
    scripted_.OnModal(WindowId::kDateSpan, [&] {
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

TEST_F(RunTest, SpanOkTakesEqualDatesRefusesAnEndBeforeTheStartUnlessOneDateIsAsked) {
  const TDate day = FromQDate(QDate(2026, 3, 14));
  const QString refusal = "Ending Date must be greater than or equal to Starting Date.";
  struct Case {
    TDate start, end;
    bool second_visible;
    bool accepted;
  };
  const Case cases[] = {
      {day, day, true, true},
      {day, day + 1, true, true},
      {day, day - 1, true, false},
      {day, day - 1, false, true},
  };
  for (const Case& c : cases) {
    scripted_.ClearRecords();
    SpanCancelled = true;
    EXPECT_EQ(AcceptSpan(c.start, c.end, c.second_visible), c.accepted);
    EXPECT_EQ(SpanCancelled, !c.accepted);
    EXPECT_EQ(SpanStart, c.start);
    EXPECT_EQ(SpanEnd, c.end);
    EXPECT_EQ(scripted_.Said(), c.accepted ? QStringList() : QStringList{refusal});
  }
  CancelSpan(day, day + 3);
  EXPECT_TRUE(SpanCancelled);
  EXPECT_EQ(SpanEnd, day + 3);
}

TEST_F(RunTest, OneDateHidesTheSecondPickerOnlyWhileItIsAsked) {
  DateSpanCaptions seen;
  scripted_.OnModal(WindowId::kDateSpan, [&] {
    seen = SpanCaptions;
    SpanCancelled = false;
    return 1;
  });
  EXPECT_TRUE(AskOneDate("Inventory as Of:"));
  EXPECT_EQ(seen.first, "Inventory as Of:");
  EXPECT_FALSE(seen.second_visible);
  EXPECT_EQ(SpanCaptions.first, "Print Beginning:");
  EXPECT_EQ(SpanCaptions.second, "Ending:");
  EXPECT_TRUE(SpanCaptions.second_visible);
  // No window to ask: the span counts as cancelled.
  scripted_.OnModal(WindowId::kDateSpan, nullptr);
  SpanCancelled = false;
  EXPECT_FALSE(AskDateSpan());
}

}  // namespace
