#pragma once
// The mail-merge file: names and addresses of the customers of the chosen
// groups, in postal code order, as tab-delimited text with a header line,
// for a word processor's mail merge.

#include <QString>

namespace reports {

// The main window's "Generate a Mail Merge File": the group choice, the
// save dialog (the current directory restored afterwards), then the file
// written with progress in the status bar. "Unable to save to: " + the name
// when it cannot be written; nothing is written when no group was chosen or
// the dialog was cancelled.
void ExportMailMerge();

// One line of the file (without its CR LF) for the customer in CustRec:
// title, first, last, company, the three address lines and the postal code,
// each trimmed, joined by TAB. A TAB, CR or LF inside a field is written as
// a blank, so every line keeps its eight columns.
QString MailMergeLine();
// The header line naming the eight columns.
QString MailMergeHeader();

}  // namespace reports
