// The date span window and the report viewer, shown without a display.

#include <QAction>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>

#include "ReportFixture.h"
#include "platform/PrintSetup.h"
#include "reports/DateSpanU.h"
#include "reports/ReportU.h"

namespace {

class WindowTest : public ReportTest {};

TEST_F(WindowTest, DateSpanOkChecksTheOrderOnlyWhenBothDatesAreShown) {
  const QDate day(2026, 3, 14);
  const QString refusal = "Ending Date must be greater than or equal to Starting Date.";
  struct Case {
    bool second_visible;
    QDate start, end;  // typed into the pickers
    const char* button;
    bool stays_open;
    bool cancelled;
  };
  const Case cases[] = {
      {true, day, day, "BtnOK", false, false},
      {true, day, day.addDays(-1), "BtnOK", true, true},
      {false, day, day.addDays(-1), "BtnOK", false, false},
      {true, day, day.addDays(-1), "BtnCancel", false, true},
  };
  for (const Case& c : cases) {
    scripted_.ClearRecords();
    SpanStart = FromQDate(QDate(2026, 3, 1));
    SpanEnd = FromQDate(QDate(2026, 3, 31));
    SpanCaptions.second_visible = c.second_visible;
    if (!c.second_visible) SpanCaptions.first = "Inventory as Of:";
    TDateSpan window;
    window.show();
    EXPECT_EQ(window.DateTimePicker1->date(), QDate(2026, 3, 1));
    EXPECT_EQ(window.DateTimePicker2->date(), QDate(2026, 3, 31));
    EXPECT_EQ(window.Label1->text(), SpanCaptions.first);
    EXPECT_EQ(window.DateTimePicker2->isVisible(), c.second_visible);
    EXPECT_EQ(window.Label2->isVisible(), c.second_visible);
    EXPECT_TRUE(SpanCancelled);
    window.grab().save(
        QDir(PELMARK_SCREENSHOT_DIR).filePath(c.second_visible ? "date_span.png" : "one_date.png"));
    window.DateTimePicker1->setDate(c.start);
    window.DateTimePicker2->setDate(c.end);
    QTest::mouseClick(window.findChild<QPushButton*>(c.button), Qt::LeftButton);
    EXPECT_EQ(window.isVisible(), c.stays_open);
    EXPECT_EQ(SpanCancelled, c.cancelled);
    EXPECT_EQ(scripted_.Said(), c.stays_open ? QStringList{refusal} : QStringList());
    EXPECT_EQ(ToQDate(SpanStart), c.start);
    EXPECT_EQ(ToQDate(SpanEnd), c.end);
    SpanCaptions = DateSpanCaptions();
  }
}

// A boxed table over several pages, a bold line and a rule closing it.
void ComposeSample(int items) {
  RptWidth = 73;
  RptCells = 12;
  InitReport();
  RptTitles = {"Sales Summary for 3/1/26 through 3/31/26"};
  ColCodes = {"V00", "L01", "V12", "L13", "V41", "R49", "V50", "R59", "V60", "R72", "V73"};
  SetColumnHeadings({"Item Code", "Description", "Price", "Qty", "Total"});
  for (int i = 0; i < items; ++i) {
    NewDetailLine();
    PutRow({QStringLiteral("PRD%1").arg(i, 4, 10, QLatin1Char('0')),
            QStringLiteral("Product number %1").arg(i), "19.99", "3.00", "59.97"});
    if (i % 7 == 3) AddFlags("B");
  }
  AddFlags("U");
}

TEST_F(WindowTest, ViewerScrollsByLinePageAndEndsAndPaintsAScreenshot) {
  ReportFont = QFont(QStringLiteral("DejaVu Sans"), 10);
  ComposeSample(100);
  TReportF viewer;
  viewer.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&viewer));
  const int lines = RptLines.Count();
  ASSERT_GT(lines, viewer.VisLines());
  QScrollBar* bar = viewer.ScrollBar1;
  EXPECT_TRUE(bar->isEnabled());
  EXPECT_EQ(bar->maximum(), lines - viewer.VisLines());
  EXPECT_EQ(bar->pageStep(), viewer.VisLines() - 1);
  const struct {
    Qt::Key key;
    int first_line;
  } keys[] = {{Qt::Key_Down, 1},
              {Qt::Key_PageDown, viewer.VisLines()},
              {Qt::Key_Up, viewer.VisLines() - 1},
              {Qt::Key_End, lines - viewer.VisLines()},
              {Qt::Key_Home, 0}};
  for (const auto& k : keys) {
    QTest::keyClick(&viewer, k.key);
    EXPECT_EQ(viewer.FirstLine(), k.first_line) << k.key;
  }
  QTest::keyClick(&viewer, Qt::Key_PageDown);
  const QImage shot = viewer.grab().toImage();
  EXPECT_TRUE(shot.save(QDir(PELMARK_SCREENSHOT_DIR).filePath("report_viewer.png")));
  // Text and rules are drawn on the white page.
  int dark = 0;
  for (int y = 0; y < shot.height(); y += 2) {
    for (int x = 0; x < shot.width(); x += 2) dark += qGray(shot.pixel(x, y)) < 96 ? 1 : 0;
  }
  EXPECT_GT(dark, 2000);
  EXPECT_EQ(shot.pixelColor(shot.width() / 2, shot.height() - 3), QColor(Qt::white));
}

TEST_F(WindowTest, MenuItemsPrintAndExportTheReport) {
  ComposeSample(3);
  TReportF viewer;
  const struct {
    QAction* action;
    const char* title;
    const char* filter;
  } items[] = {
      {viewer.AsciiText1, "Export Report", "Text files (*.txt)|*.TXT"},
      {viewer.TabDelimited1, "Export Report", "Delimited files (*.asc)|*.ASC"},
      {viewer.PdfDocument1, "Export Report", "PDF files (*.pdf)|*.PDF"},
      {viewer.mPrint, "Print to PDF File", "PDF files (*.pdf)|*.PDF"},
  };
  for (const auto& item : items) {
    scripted_.ClearRecords();
    scripted_.QueueFileName(QString());  // the operator cancels the dialog
    item.action->trigger();
    ASSERT_EQ(scripted_.Requests().size(), 1u);
    EXPECT_EQ(scripted_.Requests()[0].text, item.title);
    EXPECT_EQ(scripted_.Requests()[0].caption, item.filter);
  }
  // E-mail is offered for the documents of one customer only.
  for (const long customer : {0L, -1L, 7L}) {
    RptRecipient = {customer, "ann@kestrel.example", "Bill 12"};
    viewer.FormShow();
    EXPECT_EQ(viewer.SendMail1->isVisible(), customer > 0) << customer;
  }
  scripted_.ClearRecords();
  scripted_.QueueProgramOutcome(platform::ProgramOutcome::kSucceeded);
  viewer.SendMail1->trigger();
  ASSERT_EQ(scripted_.ProgramRuns().size(), 1u);
  EXPECT_EQ(scripted_.ProgramRuns()[0].arguments.value(2), "ann@kestrel.example");
  QDir(QFileInfo(scripted_.ProgramRuns()[0].arguments.value(1)).path()).removeRecursively();
  EXPECT_EQ(viewer.SendMail1->text(), "Send by &E-mail...");
}

}  // namespace
