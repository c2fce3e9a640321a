#include "reports/ReportOutput.h"

#include <QDir>
#include <QSaveFile>

#include "platform/Canvas.h"
#include "platform/Platform.h"
#include "reports/LinePainter.h"
#include "reports/ReportCells.h"
#include "reports/RptUtil.h"

namespace reports {
namespace {

struct ExportFormat {
  const char* filter;
  const char* suffix;
};

ExportFormat FormatOf(ExportKind kind) {
  switch (kind) {
    case ExportKind::kPlainText:
      return {"Text files (*.txt)|*.TXT", "txt"};
    case ExportKind::kTabDelimited:
      return {"Delimited files (*.asc)|*.ASC", "asc"};
    case ExportKind::kPdf:
      break;
  }
  return {"PDF files (*.pdf)|*.PDF", "pdf"};
}

void AppendLine(int line, ExportKind kind, QString* out) {
  const qsizetype line_start = out->size();
  for (int cell = 0; cell < RptCells - 1; ++cell) {
    const CellItem item = ReadCell(RptLines.Cell(line, cell));
    if (item.kind != CellItem::kText) continue;
    if (kind == ExportKind::kTabDelimited) {
      if (item.text.isEmpty()) continue;
      if (out->size() > line_start) out->append(QLatin1Char('\t'));
      out->append(item.text);
      continue;
    }
    qsizetype position = item.column;
    if (item.align == QLatin1Char('R')) position -= item.text.size();
    if (item.align == QLatin1Char('C')) position -= item.text.size() / 2;
    if (line_start + position > out->size()) out->resize(line_start + position, QLatin1Char(' '));
    out->append(item.text);
  }
}

// Asks for a file name; the dialog may change the current directory, which
// the program's data files are found through.
QString AskFileName(const QString& title, ExportKind kind, const QString& proposed = QString()) {
  const QString directory = QDir::currentPath();
  const ExportFormat format = FormatOf(kind);
  const QString name = platform::Current().SaveFileName(
      title, QString::fromLatin1(format.filter), QString::fromLatin1(format.suffix), proposed);
  QDir::setCurrent(directory);
  return name;
}

void CannotSave(const QString& name) {
  platform::Current().Inform(QStringLiteral("Unable to save to: ") + name);
}

// Prints into the PDF file, or on the printer when pdf_path is empty.
bool PrintTo(const QString& pdf_path) {
  std::unique_ptr<platform::Canvas> job = platform::Current().StartPrintJob(pdf_path);
  if (!job) return false;
  const bool printed = PrintLines(*job);
  return job->Finish() && printed;
}

}  // namespace

QString ExportLine(int line, ExportKind kind) {
  QString text;
  AppendLine(line, kind, &text);
  return text;
}

bool WriteTextFile(const QString& path, ExportKind kind) {
  QSaveFile file(path);
  // A directory that takes no new files may still let an existing file be
  // rewritten.
  file.setDirectWriteFallback(true);
  if (!file.open(QIODevice::WriteOnly)) return false;
  constexpr qsizetype kChunk = 1 << 20;
  QString chunk;
  chunk.reserve(kChunk + 4096);
  const int lines = RptLines.Count();
  for (int line = 0; line < lines; ++line) {
    AppendLine(line, kind, &chunk);
    chunk.append(QLatin1String("\r\n"));
    if (chunk.size() >= kChunk || line == lines - 1) {
      const QByteArray bytes = chunk.toUtf8();
      if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
      }
      chunk.resize(0);
    }
  }
  return file.commit();
}

bool WritePdfFile(const QString& path) { return !path.isEmpty() && PrintTo(path); }

void ExportReport(ExportKind kind, const QString& proposed) {
  const QString name = AskFileName(QStringLiteral("Export Report"), kind, proposed);
  if (name.isEmpty()) return;
  const bool written = kind == ExportKind::kPdf ? WritePdfFile(name) : WriteTextFile(name, kind);
  if (!written) CannotSave(name);
}

bool ChoosePrintTarget(QString* pdf_path) {
  pdf_path->clear();
  if (platform::Current().HasPrinter()) return true;
  *pdf_path = AskFileName(QStringLiteral("Print to PDF File"), ExportKind::kPdf);
  return !pdf_path->isEmpty();
}

void PrintReport() {
  QString name;
  if (!ChoosePrintTarget(&name)) return;
  if (PrintTo(name)) return;
  if (name.isEmpty()) {
    platform::Current().Inform(QStringLiteral("Unable to print the report."));
  } else {
    CannotSave(name);
  }
}

}  // namespace reports
