#pragma once
// The layout language written into report cells. A cell is empty (ignored)
// or a text whose first character selects its kind; column numbers are two
// characters, a column below 10 may have a leading blank ("C 9").
//
//   "L" column text   text starting at the column
//   "R" column text   text ending at the column
//   "C" column text   text centred on the column
//   "EJECT"           page break: the next line starts a new printed page
//   "I" align column file   a picture (align "L", "C" or "R"; the file name
//                     is characters 5 to 64, trimmed)
//   "V" column        a vertical rule down the line at the column
//   "H" first last    a rule along the top of the line ("H6073")
//
// The last cell of a line holds its flags, tested by containment: "B" bold
// text, "U" a rule under the line across the report. A line with a picture
// has the flags "S" + height + width in inches, each 5 characters with 2
// decimals ("S 1.50 2.00"), the size the picture is printed at.

#include <QString>
#include <QStringView>

struct CellItem {
  enum Kind { kNone, kText, kEject, kPicture, kVerticalRule, kHorizontalRule };
  Kind kind = kNone;
  QChar align;          // text and pictures: 'L', 'C' or 'R'
  int column = 0;       // text, pictures, vertical rules; a rule's first column
  int last_column = 0;  // horizontal rules
  QStringView text;     // the text, or the picture's file name
};

// What the cell says. An empty cell, an unknown kind or a column that is not
// a number gives kNone, which every reader skips.
CellItem ReadCell(QStringView cell);

// A column as written in codes: two characters, a leading blank below 10.
QString ColumnCode(int column);

// Whether the flags cell contains the flag letter.
inline bool HasFlag(QStringView flags, QChar flag) { return flags.contains(flag); }

// The picture size in inches from a flags cell "S" + height + width; false
// when the flags do not give one.
bool PictureInches(QStringView flags, double* height, double* width);
