#pragma once
// The lines of a report, each a row of the same number of text cells.
// Reports run to a hundred thousand lines, so lines are stored packed: the
// texts of all lines but the last share one character store (two bytes a
// character, four a cell). The last line, the one a generator is writing, is
// kept as separate strings until the next line begins. Changing an earlier
// line packs it again at the end of the store.
//
//   lines[i][j] = "L00Page 1";          // write a cell
//   lines[i][j] += "U";                 // add to it
//   QString text = lines[i][j];         // read it
//   QStringView view = lines.Cell(i, j);  // read without a copy

#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <vector>

class ReportLines {
 public:
  class CellRef;
  class LineRef;

  // Empties the lines, releasing their memory, and sets the cells per line.
  void Reset(int cells);
  int Count() const { return count_; }
  int Cells() const { return cells_; }
  bool IsEmpty() const { return count_ == 0; }

  // Appends a line of empty cells, or a copy of the given cells (missing
  // cells empty, surplus ones dropped).
  void Append();
  void Append(const QStringList& cells);

  // The cell's text. A view stays valid until the lines next change.
  QStringView Cell(int line, int cell) const;
  QString Text(int line, int cell) const { return Cell(line, cell).toString(); }
  void Set(int line, int cell, const QString& text);
  // All cells of a line.
  QStringList Line(int line) const;

  // Bytes held for the lines (allocated capacity included).
  std::size_t MemoryBytes() const;

  LineRef operator[](int line) { return LineRef(this, line); }

  class CellRef {
   public:
    CellRef& operator=(const QString& text) {
      lines_->Set(line_, cell_, text);
      return *this;
    }
    CellRef& operator+=(const QString& text) {
      lines_->Set(line_, cell_, lines_->Text(line_, cell_) + text);
      return *this;
    }
    operator QString() const { return lines_->Text(line_, cell_); }

   private:
    friend class LineRef;
    CellRef(ReportLines* lines, int line, int cell) : lines_(lines), line_(line), cell_(cell) {}
    ReportLines* lines_;
    int line_;
    int cell_;
  };

  class LineRef {
   public:
    CellRef operator[](int cell) const { return CellRef(lines_, line_, cell); }

   private:
    friend class ReportLines;
    LineRef(ReportLines* lines, int line) : lines_(lines), line_(line) {}
    ReportLines* lines_;
    int line_;
  };

 private:
  // Moves the open last line into the store.
  void PackOpenLine();
  // Writes the cells at the end of the store as line `line`.
  void Pack(int line, const QStringList& cells);
  // Rewrites the store without the space of replaced lines.
  void Compact();

  int cells_ = 0;
  int count_ = 0;
  // Lines 0 .. count_-2 live in the store; the last line lives in open_.
  std::vector<char16_t> text_;
  std::vector<std::uint32_t> line_start_;  // per packed line
  std::vector<std::uint32_t> cell_end_;    // per packed cell, cells_ per line
  std::size_t dead_ = 0;                   // characters of replaced lines
  QStringList open_;
};
