#include "labels/LabPrint.h"

#include <algorithm>

#include "engine/TableEngine.h"
#include "store/dbFiles.h"

namespace labels {

bool LabPrintCancelled = true;
int LabStartColumn = 1;
int LabStartRow = 1;

namespace {

int Across() { return std::max(1, LabelRec.NAcross); }

int Number(const QString& text) {
  bool ok = false;
  const int value = text.trimmed().toInt(&ok);
  return ok ? value : 1;
}

}  // namespace

LabPrintOpening OpenLabPrint() {
  LabPrintOpening opening;
  LabPrintCancelled = true;
  LabStartColumn = 1;
  LabStartRow = 1;
  if (LabelDb == nullptr) return opening;
  for (int rc = d4top(LabelDb); rc == r4success; rc = d4skip(LabelDb, 1)) {
    const QString name = QString::fromLatin1(f4str(LabelFld.Name));
    if (name == Settings.LabID) opening.selected = static_cast<int>(opening.stocks.size());
    opening.stocks << name.trimmed();
  }
  if (opening.selected < 0 && !opening.stocks.isEmpty()) opening.selected = 0;
  LoadStock(opening.selected);
  return opening;
}

void LoadStock(int index) {
  if (LabelDb == nullptr || index < 0) return;
  if (d4top(LabelDb) == r4success && d4skip(LabelDb, index) == r4success) LoadLabel();
}

int NextColumn(int column) { return column < Across() ? column + 1 : column; }
int PreviousColumn(int column) { return column > 1 ? column - 1 : column; }
int NextRow(int row) { return row + 1; }
int PreviousRow(int row) { return row > 1 ? row - 1 : row; }

int TidyColumn(const QString& text) { return std::clamp(Number(text), 1, Across()); }
int TidyRow(const QString& text) { return std::max(1, Number(text)); }

bool AcceptLabPrint(int index, const QString& column, const QString& row) {
  if (index < 0 || LabelDb == nullptr) return false;
  LoadStock(index);
  if (LabelRec.Name != Settings.LabID) {
    Settings.LabID = LabelRec.Name;
    // The operator is told when it cannot be kept; the labels print anyway.
    (void)SaveSettings();
  }
  // The stock may have changed after the column was typed.
  LabStartColumn = TidyColumn(column);
  LabStartRow = TidyRow(row);
  LabPrintCancelled = false;
  return true;
}

}  // namespace labels
