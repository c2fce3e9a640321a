#pragma once
// What every invoice, bill and statement shares: the stationery header that
// starts each document (top margin, logo, company name and address, today's
// date), the start of a document in a buffer of several, the wrapping of
// free texts into printable lines, and amounts as the documents print them.
//
// Letterheads and wrapped texts are measured on the printer as the printout
// will be: in the report font, lowered one point at a time until the
// report's width fits the page (the printout lowers it the same way), so
// the lines reserved for a logo match the lines printed beside it.

#include <QString>
#include <QStringList>

// Opens the six tables the documents read (customers, groups, invoices,
// line items, payments, products); false when one could not be opened.
[[nodiscard]] bool OpenDocumentTables();
// Ends a run of documents: closes the tables, clears the progress display,
// shows the documents when there are any and frees the buffer.
void ShowDocuments();

// Takes the printer's measures for the documents of a report; call after
// InitReport (RptWidth set). Forgets the texts wrapped for the last report.
void PrepareDocumentMeasure();

// Appends the letterhead, as page 1 of a document (PageLine 0, PageNo 1):
// blank lines for the top margin, the logo with the lines its height needs
// below it, the company name and address lines in bold (the last underlined)
// aligned as the stationery says, then today's date at the right edge and a
// blank line.
void PutLetterhead();

// Starts a document with the title: an "EJECT" line when the buffer already
// holds one (each document starts a new page), the letterhead, the title
// and two blank lines. Page numbers restart with every document.
void StartDocument(const QString& title);

// Notes the customer a document just started is addressed to (number,
// stored e-mail address, what the document is) in RptRecipient: kept for
// the first document, and for later ones only while they go to the same
// customer. A document without a customer (number 0) goes to no one.
void AddressDocument(long customer, const QString& email, const QString& name);

// Splits the text into the lines that fit the report's width on the printer:
// a line feed starts a new line, carriage returns are dropped, and a line
// that grows too wide breaks after its last blank (the blank stays with the
// first part) or, for a single word wider than the line, within the word.
// False, with no lines, when the trimmed text is empty.
bool WrapText(const QString& text, QStringList* lines);

// The amount right-aligned in `width` characters with two decimals and the
// locale's decimal separator, as the documents print money ("%12.2f").
QString MoneyText(double amount, int width);
// An amount read back from a grid or document text, written with the
// locale's separator or a point; 0 for a text that is not a number.
double MoneyValue(const QString& text);
