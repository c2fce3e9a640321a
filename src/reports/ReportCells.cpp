#include "reports/ReportCells.h"

#include "util/TextUtil.h"

namespace {

bool ReadColumn(QStringView cell, qsizetype from, int* column) {
  if (cell.size() < from + 2) return false;
  bool ok = false;
  *column = cell.mid(from, 2).trimmed().toInt(&ok);
  return ok;
}

bool IsAlign(QChar letter) {
  return letter == QLatin1Char('L') || letter == QLatin1Char('C') || letter == QLatin1Char('R');
}

}  // namespace

CellItem ReadCell(QStringView cell) {
  CellItem item;
  if (cell.isEmpty()) return item;
  const QChar kind = cell[0];
  switch (kind.unicode()) {
    case 'L':
    case 'R':
    case 'C':
      if (!ReadColumn(cell, 1, &item.column)) return item;
      item.kind = CellItem::kText;
      item.align = kind;
      item.text = cell.mid(3);
      break;
    case 'E':
      item.kind = CellItem::kEject;
      break;
    case 'I':
      if (cell.size() < 2 || !IsAlign(cell[1]) || !ReadColumn(cell, 2, &item.column)) return item;
      item.kind = CellItem::kPicture;
      item.align = cell[1];
      item.text = cell.mid(4, 60).trimmed();
      break;
    case 'V':
      if (!ReadColumn(cell, 1, &item.column)) return item;
      item.kind = CellItem::kVerticalRule;
      break;
    case 'H':
      if (!ReadColumn(cell, 1, &item.column) || !ReadColumn(cell, 3, &item.last_column)) {
        return item;
      }
      item.kind = CellItem::kHorizontalRule;
      break;
    default:
      break;
  }
  return item;
}

QString ColumnCode(int column) { return PadNumber(column, 2); }

bool PictureInches(QStringView flags, double* height, double* width) {
  if (flags.size() < 11 || flags[0] != QLatin1Char('S')) return false;
  bool height_ok = false;
  bool width_ok = false;
  *height = flags.mid(1, 5).trimmed().toDouble(&height_ok);
  *width = flags.mid(6, 5).trimmed().toDouble(&width_ok);
  return height_ok && width_ok;
}
