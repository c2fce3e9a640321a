#pragma once
// The lines of a report, each a row of the same number of text cells.
// Reports run to a hundred thousand lines, so lines are stored packed: each
// line is one record (four bytes a cell for where its text ends, then two
// bytes a character). The last line, the one a generator is writing, is
// built in a record of its own whose memory serves line after line; when the
// next line begins it is copied to the end of the store, large blocks that
// never move. Writing line after line allocates nothing but those blocks.
// Changing an earlier line packs it again at the end of the store.
//
//   lines[i][j] = "L00Page 1";          // write a cell
//   lines[i][j] += "U";                 // add to it
//   QString text = lines[i][j];         // read it
//   QStringView view = lines.Cell(i, j);  // read without a copy
//   lines.Compose(i, j, u"R12", amount);  // write two pieces as one text

#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstddef>
#include <cstdint>
#include <memory>
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
  // The cell := first followed by second.
  void Compose(int line, int cell, QStringView first, QStringView second);
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
  struct FreeBytes {
    void operator()(std::byte* bytes) const;
  };
  struct Block {
    std::unique_ptr<std::byte, FreeBytes> data;
    std::size_t size = 0;
    std::size_t used = 0;
  };

  // Moves the open last line into the store.
  void PackOpenLine();
  // Writes a record (cells_ ends, then the text) at the end of the store as
  // line `line`.
  void Pack(int line, const std::uint32_t* ends, const char16_t* text);
  // Room for a record of that many bytes at the end of the store.
  std::byte* Allocate(std::size_t bytes);
  // The bytes of a record whose text is that long.
  std::size_t RecordBytes(std::uint32_t length) const;
  // Rewrites the store without the space of replaced lines.
  void Compact();
  // The open line's cell := the pieces, one after the other.
  void SetOpen(int cell, QStringView first, QStringView second);

  int cells_ = 0;
  int count_ = 0;
  // Lines 0 .. count_-2 live in the blocks; the last line lives in open_.
  std::vector<Block> blocks_;
  std::vector<const std::uint32_t*> records_;  // per packed line: its cells' ends, then its text
  std::size_t stored_ = 0;                     // bytes of all records
  std::size_t dead_ = 0;                       // bytes of replaced records
  std::vector<std::uint32_t> open_ends_;
  std::vector<char16_t> open_text_;
};
