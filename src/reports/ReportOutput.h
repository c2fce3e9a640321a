#pragma once
// What the report viewer does with the report: print it on the program's
// printer (into a PDF file the operator names when the system has none),
// and export it as plain text, tab-delimited text or a PDF of the printed
// pages.

#include <QString>

namespace reports {

enum class ExportKind { kPlainText, kTabDelimited, kPdf };

// One buffer line as exported. Only text cells ("L", "R", "C") count.
// Plain text: each text is placed at its position (the column; less its
// length for "R"; less half its length for "C"), blanks filling the gap; a
// text that would start left of the line's end follows it. Tab-delimited:
// the non-empty texts in cell order, joined by TAB.
QString ExportLine(int line, ExportKind kind);

// Writes every buffer line, ending in CR LF, as UTF-8 text. The file is
// replaced only once complete; false when it could not be written.
bool WriteTextFile(const QString& path, ExportKind kind);

// Prints the report's pages into the PDF file; false when it could not be
// written.
bool WritePdfFile(const QString& path);

// The Export menu's items: the save dialog "Export Report" with the kind's
// filter and extension (proposing the name given), the current directory
// restored afterwards, then the file written; "Unable to save to: " + the
// name when it cannot be. A cancelled dialog writes nothing.
void ExportReport(ExportKind kind, const QString& proposed = QString());

// Where a print goes: the printer (true, with *pdf_path empty) or, when the
// system has none, the PDF file the operator names in the save dialog
// "Print to PDF File" (false when the dialog was cancelled).
bool ChoosePrintTarget(QString* pdf_path);

// Prints the report without a print dialog; without a printer the pages go
// into a PDF file the operator names.
void PrintReport();

}  // namespace reports
