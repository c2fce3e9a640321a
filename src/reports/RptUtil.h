#pragma once
// The report being built (one at a time, program-wide): the line buffer in
// the cell layout language of ReportCells.h, the page header with page
// numbers, the page length, and the reporting date span that date-bounded
// reports share with the date span window.
//
// A generator sets RptWidth and RptCells, calls InitReport, fills RptTitles,
// ColCodes and ColHeads, and then writes each line after CheckPage:
//
//   RptWidth = 64; RptCells = 5; InitReport();
//   RptTitles = {"Product Listing"};
//   ColCodes = {"L00", "L12", "R51", "R64"};
//   SetColumnHeadings({"Product", "Description", "Unit Price", "Reorder"});
//   ...for each record:
//   NewDetailLine();                        // CheckPage(PageLine + 1, true); NewLine()
//   PutRow({id, description, price, reorder});
//
// ReportRun.h wraps the steps every generator shares (date span, progress,
// showing the viewer, freeing the buffer).

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <initializer_list>
#include <utility>

#include "reports/ReportLines.h"
#include "util/DateUtil.h"

namespace platform {
class Canvas;
}

// Width of the report in character columns (a column is the width of "B"
// in the report font).
extern int RptWidth;
// Cells in every line: layout cells 0 .. RptCells-2, then the flags cell.
extern int RptCells;
extern ReportLines RptLines;
// Index of the last line; -1 while the buffer is empty.
extern int CurLine;
// Lines added since the current page's header began (header included).
extern int PageLine;
// The current page; 0 before the first page header.
extern int PageNo;
// Lines that fit on a printed page.
extern int PageLen;
// Titles printed centred and bold in every page header, one line each.
extern QStringList RptTitles;
// The position code of each layout cell ("L00", "R51", "V12").
extern QStringList ColCodes;
// The column-heading lines copied under each page header, each a full line
// of RptCells cells (flags included).
extern QList<QStringList> ColHeads;

// The customer the documents in the buffer (invoices, bills, statements)
// are all addressed to, so the viewer can offer to e-mail them; the
// documents note it. Reset by InitReport and FreeReport.
struct DocumentRecipient {
  long customer = 0;  // 0 no document yet; -1 documents for several customers
  QString email;      // the customer's e-mail address as stored
  QString name;       // what the documents are ("Tax Invoice 1042"), for a file name
};
extern DocumentRecipient RptRecipient;

// The reporting date span; both end days are inside it.
extern TDate SpanStart;
extern TDate SpanEnd;
extern bool SpanCancelled;

// What the date span window shows; a generator may change them before it
// shows the window.
struct DateSpanCaptions {
  QString first = QStringLiteral("Print Beginning:");
  QString second = QStringLiteral("Ending:");
  bool second_visible = true;
};
extern DateSpanCaptions SpanCaptions;

// The page length when the system has no printer.
inline constexpr int kPageLenWithoutPrinter = 60;

// Starts a report after RptWidth and RptCells are set (RptCells is at least
// 3): the page length from the printer's page height and the report font
// (60 without a printer), an empty buffer, no page yet, one empty heading
// line and RptCells-1 empty column codes.
void InitReport();
// Appends an empty line.
void NewLine();
// One line per title: centred on column RptWidth/2, bold.
void PutTitles();
// A blank line, then a copy of every heading line.
void PutHeadings();
// Begins a page when none is begun yet or when `needed` (the PageLine the
// lines about to be added will reach) passes the page length: page 2 and
// later start with an "EJECT" line, the line before it underlined when
// headings repeat. The header: "Page n" left and today's date right, a
// blank line, the titles, two blank lines, and with headings PutHeadings.
// True when a page was begun.
bool CheckPage(int needed, bool withHeadings);
// Empties the lines, headings and codes once the report has been shown.
void FreeReport();
// The span from the first to the last day of the current month.
void SetMonthSpan();

// A canvas measuring as the printer (or the PDF page without one) does, in
// the report font, from InitReport to FreeReport; null when the platform
// offers none. Generators that lay out by printed size (letterheads,
// wrapped texts) measure on it.
platform::Canvas* ReportPrinterCanvas();

// --- Helpers for generators ---------------------------------------------------
// Index of the flags cell.
inline int FlagsCell() { return RptCells - 1; }
// The current line's cell := its column code + the text.
void PutCell(int cell, const QString& text);
void PutCell(int cell, QStringView text);
// Writes the current line's rules (cells whose code begins with "V") and its
// text cells: texts[i] goes, behind its code, to the i-th cell whose code is
// not a rule; empty texts leave their cell empty.
void PutRow(const QStringList& texts);
// The same over views, which long reports use to write their lines without
// allocating (PutRow({name, amount}) picks it when every text is a view or a
// QString).
void PutRow(std::initializer_list<QStringView> texts);
// A full line of RptCells cells laid out as PutRow does, with these flags.
QStringList RowCells(const QStringList& texts, const QString& flags = QString());
// Adds flag letters to a line's flags cell (the current line by default),
// keeping those it has.
void AddFlags(const QString& flags, int line = -1);
// A totals line: on a new line the label in cell 1 and each amount in its
// cell, the cells on either side of an amount left empty; underlined.
void PutTotalLine(QStringView label, std::initializer_list<std::pair<int, QStringView>> amounts);
// The usual column headings: an empty line underlined (a rule above the
// headings), then the headings laid out as PutRow does, underlined.
void SetColumnHeadings(const QStringList& texts);
// CheckPage keeping `keep` lines together, then NewLine.
void NewDetailLine(int keep = 1, bool withHeadings = true);

// --- The date span window ------------------------------------------------------
// Shows the date span window over the preset SpanStart and SpanEnd; true
// when the operator chose OK (SpanCancelled false).
bool AskDateSpan();
// Asks for one date (into SpanStart): the second picker hidden and the first
// captioned as given; the captions are restored afterwards.
bool AskOneDate(const QString& caption);
// The window's OK: takes the dates; refuses an end before the start (when
// the second date is shown) with "Ending Date must be greater than or equal
// to Starting Date." and returns false, so the window stays open.
bool AcceptSpan(TDate start, TDate end, bool second_visible);
// The window's Cancel: takes the dates and marks the span cancelled.
void CancelSpan(TDate start, TDate end);
