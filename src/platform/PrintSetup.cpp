#include "platform/PrintSetup.h"

#include <QPrinter>
#include <QPrinterInfo>
#include <memory>

QFont ReportFont;

namespace {

std::unique_ptr<QPrinter>& ProgramPrinter() {
  static std::unique_ptr<QPrinter> printer;
  return printer;
}

}  // namespace

QPrinter& Printer() {
  std::unique_ptr<QPrinter>& printer = ProgramPrinter();
  if (!printer) {
    const QPrinterInfo system_default = QPrinterInfo::defaultPrinter();
    if (!system_default.isNull()) {
      printer = std::make_unique<QPrinter>(system_default, QPrinter::HighResolution);
    } else {
      printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
      printer->setOutputFormat(QPrinter::PdfFormat);
    }
  }
  return *printer;
}

bool PrintsToPdf() { return Printer().outputFormat() == QPrinter::PdfFormat; }

QString PrinterDescription() {
  if (PrintsToPdf()) return QString();
  QPrinter& printer = Printer();
  const bool landscape = printer.pageLayout().orientation() == QPageLayout::Landscape;
  return printer.printerName() + (landscape ? "-Landscape" : "-Portrait");
}

QString FontDescription(const QFont& font) {
  const int points = font.pointSize() > 0 ? font.pointSize() : qRound(font.pointSizeF());
  return font.family() + "@" + QString::number(points);
}
