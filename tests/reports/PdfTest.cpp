// A real print into a PDF file, read back as text with pdftotext.

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "ReportFixture.h"
#include "platform/PrintSetup.h"
#include "platform/QtCanvas.h"
#include "reports/LinePainter.h"

namespace {

class PdfTest : public ReportTest {};

QString PdfText(const QString& path) {
  QProcess pdftotext;
  pdftotext.start(QStringLiteral("pdftotext"),
                  {QStringLiteral("-layout"), path, QStringLiteral("-")});
  if (!pdftotext.waitForFinished(30000)) return QString();
  return QString::fromUtf8(pdftotext.readAllStandardOutput());
}

TEST_F(PdfTest, PrintedPagesReadBackWithTheirHeadersAndLines) {
  QTemporaryDir temp;
  ASSERT_TRUE(temp.isValid());
  const QString path = temp.filePath(QStringLiteral("report.pdf"));
  ReportFont = QFont(QStringLiteral("DejaVu Sans"), 10);
  StartReport(64, 5);
  RptTitles = {"Product Listing"};
  ColCodes = {"L00", "L12", "R51", "V64"};
  SetColumnHeadings({"Product", "Description", "Unit Price"});
  for (int i = 0; i < 80; ++i) {
    NewDetailLine();
    PutRow({QStringLiteral("P%1").arg(i), QStringLiteral("Widget %1").arg(i), "12.50"});
  }
  AddFlags("U");
  std::unique_ptr<platform::Canvas> job = platform::StartQtPrintJob(path);
  ASSERT_NE(job, nullptr);
  ASSERT_TRUE(reports::PrintLines(*job));
  ASSERT_TRUE(job->Finish());

  const QStringList pages = PdfText(path).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
  ASSERT_GE(pages.size(), 2) << PdfText(path).toStdString();
  const struct {
    int page;
    const char* pattern;
  } expected[] = {
      {0, R"(Page 1\s+3/14/26)"},
      {0, R"(\n\s+Product Listing\s*\n)"},
      {0, R"(Product\s+Description\s+Unit Price)"},
      {0, R"(\nP0\s+Widget 0\s+12\.50)"},
      {1, R"(Page 2\s+3/14/26)"},
      {1, R"(Product\s+Description\s+Unit Price)"},
      {1, R"(\nP79\s+Widget 79\s+12\.50)"},
  };
  for (const auto& e : expected) {
    EXPECT_TRUE(pages[e.page].contains(QRegularExpression(QString::fromLatin1(e.pattern))))
        << e.pattern << "\n"
        << pages[e.page].toStdString();
  }
  EXPECT_FALSE(pages[0].contains(QStringLiteral("P79")));
}

}  // namespace
