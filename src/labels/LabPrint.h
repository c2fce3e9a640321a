#pragma once
// The label print dialog without its window: the label stocks offered (the
// one last used chosen first), the starting column and row with their
// arrows and limits, and OK remembering the chosen stock in the settings.
// Works on LabelRec, Settings and the open LABELS table.

#include <QString>
#include <QStringList>

namespace labels {

// What the dialog leaves behind: cancelled or not, and where the first
// label goes. The chosen stock is in LabelRec.
extern bool LabPrintCancelled;
extern int LabStartColumn;
extern int LabStartRow;

struct LabPrintOpening {
  QStringList stocks;  // every stock in name order, deleted ones included
  int selected = -1;   // the stock whose name is LabID (the last of several), else the first
};

// Opening: reads the stocks, loads the preselected one into LabelRec, starts
// at column 1, row 1 and marks the dialog cancelled.
LabPrintOpening OpenLabPrint();
// The list's choice changed: loads that stock, whose labels across limit
// the starting column.
void LoadStock(int index);

// The arrows: the column stays within 1 .. labels across of the loaded
// stock; the row has no upper limit and stays at 1 or more.
int NextColumn(int column);
int PreviousColumn(int column);
int NextRow(int row);
int PreviousRow(int row);
// Leaving a field: an empty field becomes 1; the column is held within
// 1 .. labels across, the row at 1 or more.
int TidyColumn(const QString& text);
int TidyRow(const QString& text);

// OK: with a stock chosen, loads it, remembers its name in LabID (writing
// the settings when it changed), takes the column and row and clears the
// cancelled mark; true then. With no stock chosen the dialog stays
// cancelled (false).
bool AcceptLabPrint(int index, const QString& column, const QString& row);

}  // namespace labels
