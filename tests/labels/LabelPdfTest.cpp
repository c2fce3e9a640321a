// A real label sheet printed into a PDF file on A4 with printer margins:
// the words land where the stock puts them on the sheet (read back with
// pdftotext -bbox), a full sheet takes one page, and the page is rendered
// to a picture (pdftoppm) beside the test for a look.

#include <gtest/gtest.h>

#include <QFile>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "labels/LabelGen.h"
#include "platform/PrintSetup.h"
#include "platform/QtCanvas.h"

namespace {

QString RunTool(const QString& program, const QStringList& args) {
  QProcess process;
  process.start(program, args);
  if (!process.waitForFinished(30000)) return QString();
  return QString::fromUtf8(process.readAllStandardOutput());
}

// The word's top-left corner on the page in points; (-1, -1) when absent.
QPointF WordAt(const QString& bbox_html, const QString& word) {
  const QRegularExpression pattern(
      QString::fromLatin1(R"re(<word xMin="([\d.]+)" yMin="([\d.]+)"[^>]*>%1</word>)re").arg(word));
  const QRegularExpressionMatch match = pattern.match(bbox_html);
  if (!match.hasMatch()) return QPointF(-1, -1);
  return QPointF(match.captured(1).toDouble(), match.captured(2).toDouble());
}

TEST(LabelPdfTest, ASheetOfLabelsLandsWhereTheStockSaysOnTheSheet) {
  QTemporaryDir temp;
  ASSERT_TRUE(temp.isValid());
  const QString path = temp.filePath("labels.pdf");
  ReportFont = QFont(QStringLiteral("DejaVu Sans"), 10);
  // A4 with quarter-inch margins the printer cannot print in.
  Printer().setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(18, 18, 18, 18), QPageLayout::Point));

  // The printer itself tells its unprintable edge and the sheet's size.
  const std::unique_ptr<platform::Canvas> printer = platform::QtPrinterCanvas();
  const int dpi = printer->DpiX();
  EXPECT_EQ(printer->PrintingOffset(), QPoint(18 * dpi / 72, 18 * dpi / 72));
  EXPECT_NEAR(printer->PhysicalPageSize().height(), 841.89 * dpi / 72, 2);
  EXPECT_NEAR(printer->PageSize().height(), (841.89 - 36) * dpi / 72, 2);

  // Three across, seven down: 63.5 x 38.1 mm labels.
  const LabelRecord stock = {"A4", 42.803, 20.409, 42.803, 20.409, 180, 108, 7.087, 0, 3, false};
  labels::LabelRun run(stock, 1, 1, [&path] { return platform::StartQtPrintJob(path); });
  for (int i = 1; i <= 23; ++i) {
    ASSERT_TRUE(
        run.Add({QStringLiteral("Customer%1").arg(i, 2, 10, QLatin1Char('0')),
                 "Harbourside Office Pty Ltd", "118 Hunter Street", "Newcastle NSW  2300"}));
  }
  ASSERT_TRUE(run.Finish());
  EXPECT_EQ(run.Sheets(), 2);
  EXPECT_EQ(run.Layout().down, 7);

  const QString html = temp.filePath("labels.html");
  RunTool("pdftotext", {"-bbox", path, html});
  QFile file(html);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QString bbox = QString::fromUtf8(file.readAll());
  struct Case {
    const char* word;
    double x;  // the label's left edge on the sheet, in points
    double y;  // its top edge
  };
  const Case cases[] = {
      {"Customer01", 20.409, 42.803},
      {"Customer02", 20.409 + 187.087, 42.803},
      {"Customer06", 20.409 + 2 * 187.087, 42.803 + 108},
      {"Customer21", 20.409 + 2 * 187.087, 42.803 + 6 * 108},
      {"Customer22", 20.409, 42.803},  // the second sheet
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.word);
    const QPointF at = WordAt(bbox, c.word);
    // Text starts at the label's corner; the glyphs sit a little inside it.
    EXPECT_NEAR(at.x(), c.x, 1.5);
    EXPECT_GE(at.y(), c.y - 0.5);
    EXPECT_LE(at.y(), c.y + 4);
  }
  RunTool("pdftoppm", {"-png", "-r", "60", "-f", "1", "-l", "1", path,
                       QStringLiteral(PELMARK_SCREENSHOT_DIR) + "/label-sheet"});
}

}  // namespace
