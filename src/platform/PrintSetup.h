#pragma once
// The run-wide report font and printer. The printer is the system's default
// one; a system without a printer prints to PDF files, and each print then
// asks where to write the file.

#include <QFont>
#include <QString>

class QPrinter;

// The font reports are printed with.
extern QFont ReportFont;

// The program-wide printer, set up on first use.
QPrinter& Printer();
// True when the system has no printer and printing writes PDF files.
bool PrintsToPdf();
// "<printer name>-Portrait" or "-Landscape"; empty when printing to PDF.
QString PrinterDescription();
// The font as shown beside the Report Font button: name + "@" + points.
QString FontDescription(const QFont& font);
