#include "reports/ReportLines.h"

#include <algorithm>

void ReportLines::Reset(int cells) {
  cells_ = std::max(0, cells);
  count_ = 0;
  std::vector<char16_t>().swap(text_);
  std::vector<std::uint32_t>().swap(line_start_);
  std::vector<std::uint32_t>().swap(cell_end_);
  dead_ = 0;
  open_.clear();
}

void ReportLines::PackOpenLine() {
  if (count_ == 0) return;
  Pack(count_ - 1, open_);
  open_.clear();
}

void ReportLines::Pack(int line, const QStringList& cells) {
  const std::size_t first_cell = static_cast<std::size_t>(line) * cells_;
  if (static_cast<std::size_t>(line) == line_start_.size()) {
    line_start_.push_back(0);
    cell_end_.resize(first_cell + cells_);
  } else {
    dead_ += cell_end_[first_cell + cells_ - 1] - line_start_[line];
  }
  line_start_[line] = static_cast<std::uint32_t>(text_.size());
  for (int i = 0; i < cells_; ++i) {
    if (i < cells.size()) {
      const QString& cell = cells[i];
      const char16_t* chars = reinterpret_cast<const char16_t*>(cell.utf16());
      text_.insert(text_.end(), chars, chars + cell.size());
    }
    cell_end_[first_cell + i] = static_cast<std::uint32_t>(text_.size());
  }
  if (dead_ > text_.size() / 2) Compact();
}

void ReportLines::Compact() {
  std::vector<char16_t> packed;
  packed.reserve(text_.size() - dead_);
  for (std::size_t line = 0; line < line_start_.size(); ++line) {
    const std::uint32_t start = line_start_[line];
    const std::uint32_t end = cell_end_[(line + 1) * cells_ - 1];
    const auto shift = static_cast<std::int64_t>(packed.size()) - start;
    packed.insert(packed.end(), text_.begin() + start, text_.begin() + end);
    line_start_[line] = static_cast<std::uint32_t>(start + shift);
    for (int i = 0; i < cells_; ++i) {
      std::uint32_t& cell_end = cell_end_[line * cells_ + i];
      cell_end = static_cast<std::uint32_t>(cell_end + shift);
    }
  }
  text_.swap(packed);
  dead_ = 0;
}

void ReportLines::Append() { Append(QStringList()); }

void ReportLines::Append(const QStringList& cells) {
  PackOpenLine();
  open_ = cells.mid(0, cells_);
  while (open_.size() < cells_) open_.append(QString());
  ++count_;
}

QStringView ReportLines::Cell(int line, int cell) const {
  if (line < 0 || line >= count_ || cell < 0 || cell >= cells_) return QStringView();
  if (line == count_ - 1) return QStringView(open_[cell]);
  const std::size_t index = static_cast<std::size_t>(line) * cells_ + cell;
  const std::uint32_t start = cell == 0 ? line_start_[line] : cell_end_[index - 1];
  return QStringView(text_.data() + start, cell_end_[index] - start);
}

void ReportLines::Set(int line, int cell, const QString& text) {
  if (line < 0 || line >= count_ || cell < 0 || cell >= cells_) return;
  if (line == count_ - 1) {
    open_[cell] = text;
    return;
  }
  QStringList cells = Line(line);
  cells[cell] = text;
  Pack(line, cells);
}

QStringList ReportLines::Line(int line) const {
  QStringList cells;
  if (line < 0 || line >= count_) return cells;
  cells.reserve(cells_);
  for (int i = 0; i < cells_; ++i) cells << Cell(line, i).toString();
  return cells;
}

std::size_t ReportLines::MemoryBytes() const {
  std::size_t bytes = sizeof(*this) + text_.capacity() * sizeof(char16_t) +
                      line_start_.capacity() * sizeof(std::uint32_t) +
                      cell_end_.capacity() * sizeof(std::uint32_t);
  for (const QString& cell : open_) bytes += sizeof(QString) + cell.capacity() * sizeof(QChar);
  return bytes;
}
