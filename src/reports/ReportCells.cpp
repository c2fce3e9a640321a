#include "reports/ReportCells.h"

#include "util/TextUtil.h"

namespace {

// Two characters: two digits, or one with a blank beside it ("C 9").
// Read by hand: exports run through millions of cells.
bool ReadColumn(QStringView cell, qsizetype from, int* column) {
  if (cell.size() < from + 2) return false;
  int value = 0;
  int digits = 0;
  for (qsizetype i = from; i < from + 2; ++i) {
    const char16_t c = cell[i].unicode();
    if (c >= u'0' && c <= u'9') {
      value = value * 10 + (c - u'0');
      ++digits;
    } else if (c != u' ') {
      return false;
    }
  }
  *column = value;
  return digits > 0;
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
