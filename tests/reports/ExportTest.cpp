// Plain and tab-delimited export of report lines, and the export and print
// commands around them: dialogs, files, messages.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "ReportFixture.h"
#include "reports/ReportOutput.h"
#include "util/TextUtil.h"

namespace {

using reports::ExportKind;
using reports::ExportLine;

class ExportTest : public ReportTest {};

TEST_F(ExportTest, LinesPlaceTextsByColumnOrJoinThemWithTabs) {
  struct Case {
    QStringList cells;  // four layout cells and the flags
    QString plain;
    QString tabbed;
  };
  const Case cases[] = {
      // A page header 73 wide with a 10-character date: the date at 63.
      {{"L00Page 1", "R7303/14/2026", "", "", ""},
       "Page 1" + Spaces(57) + "03/14/2026",
       "Page 1\t03/14/2026"},
      // A 12-character amount right-aligned on column 64 starts at 52.
      {{"R64     1234.50", "", "", "", ""}, Spaces(52) + "     1234.50", "     1234.50"},
      {{"L00ABC", "", "R51 1.00", "", ""}, "ABC" + Spaces(43) + " 1.00", "ABC\t 1.00"},
      // Centred on 10: half the length to the left; a text that would
      // start left of the line's end follows it.
      {{"C10abcd", "L09xyz", "", "", ""}, Spaces(8) + "abcdxyz", "abcd\txyz"},
      {{"C 9ab", "", "", "", ""}, Spaces(8) + "ab", "ab"},
      // Rules, pictures, page breaks and flags give nothing.
      {{"V00", "H0073", "IL00logo.bmp", "", "BU"}, "", ""},
      {{"EJECT", "", "", "", ""}, "", ""},
      // An empty text still moves the plain line on, but is no field.
      {{"L00", "R30x", "L40", "L50y", "B"}, Spaces(29) + "x" + Spaces(20) + "y", "x\ty"},
  };
  for (const Case& c : cases) {
    StartReport(73, 5);
    AddLine(c.cells);
    EXPECT_EQ(ExportLine(0, ExportKind::kPlainText), c.plain) << c.cells.join('|').toStdString();
    EXPECT_EQ(ExportLine(0, ExportKind::kTabDelimited), c.tabbed);
  }
}

TEST_F(ExportTest, ExportAsksForTheFileAndReplacesItWithEveryLineOrSaysWhyNot) {
  QTemporaryDir temp;
  ASSERT_TRUE(temp.isValid());
  const QString txt = temp.filePath("out.txt");
  const QString missing = temp.filePath("no/such/dir/out.asc");
  struct Case {
    ExportKind kind;
    QString name;  // what the dialog returns; "" cancels
    const char* filter;
    const char* suffix;
    QByteArray contents;  // of the file afterwards
    QString message = {};
  };
  const Case cases[] = {
      {ExportKind::kPlainText, txt, "Text files (*.txt)|*.TXT", "txt",
       "Page 1   \xc3\xa9t\xc3\xa9\r\n\r\n    12.00\r\n"},
      {ExportKind::kTabDelimited, txt, "Delimited files (*.asc)|*.ASC", "asc",
       "Page 1\t\xc3\xa9t\xc3\xa9\r\n\r\n    12.00\r\n"},
      // Cancelled: the older file stays as it was.
      {ExportKind::kPdf, "", "PDF files (*.pdf)|*.PDF", "pdf", "older"},
      {ExportKind::kTabDelimited, missing, "Delimited files (*.asc)|*.ASC", "asc", "older",
       "Unable to save to: " + missing},
  };
  const QString data_dir = QDir::currentPath();
  for (const Case& c : cases) {
    StartReport(20, 4);
    AddLine({"L00Page 1", "R12\u00e9t\u00e9", "", ""});
    AddLine({"V00", "", "", "U"});
    AddLine({"R09    12.00", "", "", ""});
    QFile old(txt);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("older");
    old.close();
    scripted_.ClearRecords();
    scripted_.QueueFileName(c.name);
    reports::ExportReport(c.kind);
    ASSERT_FALSE(scripted_.Requests().empty());
    const auto& asked = scripted_.Requests()[0];
    EXPECT_EQ(asked.kind, platform::ScriptedPlatform::Kind::kSaveFile);
    EXPECT_EQ(asked.text, "Export Report");
    EXPECT_EQ(asked.caption, QString::fromLatin1(c.filter));
    EXPECT_EQ(asked.suffix, QString::fromLatin1(c.suffix));
    EXPECT_TRUE(asked.proposed.isEmpty());
    EXPECT_EQ(scripted_.Said().mid(1),
              c.message.isEmpty() ? QStringList() : QStringList{c.message});
    EXPECT_TRUE(scripted_.PrintJobs().empty());
    QFile written(txt);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), c.contents);
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files), QStringList{"out.txt"});
    EXPECT_EQ(QDir::currentPath(), data_dir);
  }
}

TEST_F(ExportTest, PrintGoesToThePrinterOrToANamedPdfAndReportsFailures) {
  struct Case {
    bool has_printer;
    bool fail;
    QString file;  // queued for the save dialog
    QStringList said;
    QString job;  // the PDF path of the job started; "-" for none
  };
  const Case cases[] = {
      {true, false, QString(), {}, QString()},
      {true, true, QString(), {"Unable to print the report."}, "-"},
      {false, false, "/tmp/r.pdf", {"Print to PDF File"}, "/tmp/r.pdf"},
      {false, false, QString(), {"Print to PDF File"}, "-"},
      {false, true, "/tmp/r.pdf", {"Print to PDF File", "Unable to save to: /tmp/r.pdf"}, "-"},
  };
  for (const Case& c : cases) {
    StartReport(20, 3);
    AddLine({"L00text", "", ""});
    scripted_.ClearRecords();
    scripted_.SetHasPrinter(c.has_printer);
    scripted_.FailPrintJobs(c.fail);
    if (!c.has_printer) scripted_.QueueFileName(c.file);
    reports::PrintReport();
    EXPECT_EQ(scripted_.Said(), c.said);
    if (c.job == "-") {
      EXPECT_TRUE(scripted_.PrintJobs().empty());
      continue;
    }
    ASSERT_EQ(scripted_.PrintJobs().size(), 1u);
    EXPECT_EQ(scripted_.PrintJobs()[0].pdf_path, c.job);
    const auto& recording = *scripted_.PrintJobs()[0].recording;
    EXPECT_EQ(recording.Texts(), QStringList{"text"});
    EXPECT_EQ(recording.ops.back().kind, platform::RecordingCanvas::Op::kFinish);
    // Progress in the status bar, cleared at the end.
    EXPECT_EQ(scripted_.ProgressTexts(), (QStringList{"Printing Report", ""}));
    EXPECT_EQ(scripted_.ProgressPercents(), std::vector<int>{100});
  }
}

}  // namespace
