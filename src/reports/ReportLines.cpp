#include "reports/ReportLines.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

// Blocks grow from 64 KiB to 2 MiB; the large ones are aligned to and asked
// for as huge pages where the system offers them: touching fresh memory a
// huge page at a time costs far less than 4 KiB at a time, and a long report
// writes tens of megabytes.
constexpr std::size_t kFirstBlock = std::size_t{64} << 10;
constexpr std::size_t kLargeBlock = std::size_t{2} << 20;

std::byte* NewBlock(std::size_t bytes) {
  if (bytes % kLargeBlock != 0) return static_cast<std::byte*>(std::malloc(bytes));
  void* memory = std::aligned_alloc(kLargeBlock, bytes);
#ifdef MADV_HUGEPAGE
  // Advice only: without huge pages the memory works the same.
  if (memory != nullptr) (void)madvise(memory, bytes, MADV_HUGEPAGE);
#endif
  return static_cast<std::byte*>(memory);
}

std::size_t RoundUp4(std::size_t bytes) { return (bytes + 3) & ~std::size_t{3}; }

}  // namespace

void ReportLines::FreeBytes::operator()(std::byte* bytes) const { std::free(bytes); }

void ReportLines::Reset(int cells) {
  cells_ = std::max(0, cells);
  count_ = 0;
  std::vector<Block>().swap(blocks_);
  std::vector<const std::uint32_t*>().swap(records_);
  stored_ = 0;
  dead_ = 0;
  std::vector<std::uint32_t>().swap(open_ends_);
  std::vector<char16_t>().swap(open_text_);
}

std::byte* ReportLines::Allocate(std::size_t bytes) {
  if (blocks_.empty() || blocks_.back().size - blocks_.back().used < bytes) {
    std::size_t size =
        blocks_.empty() ? kFirstBlock : std::min(blocks_.back().size * 2, kLargeBlock);
    while (size < bytes) size += kLargeBlock - size % kLargeBlock;
    Block block;
    block.data.reset(NewBlock(size));
    if (!block.data) throw std::bad_alloc();
    block.size = size;
    blocks_.push_back(std::move(block));
  }
  Block& block = blocks_.back();
  std::byte* at = block.data.get() + block.used;
  block.used += bytes;
  stored_ += bytes;
  return at;
}

std::size_t ReportLines::RecordBytes(std::uint32_t length) const {
  return RoundUp4(sizeof(std::uint32_t) * cells_ + sizeof(char16_t) * length);
}

void ReportLines::PackOpenLine() {
  if (count_ == 0) return;
  Pack(count_ - 1, open_ends_.data(), open_text_.data());
  std::fill(open_ends_.begin(), open_ends_.end(), 0);
  open_text_.clear();
}

void ReportLines::Pack(int line, const std::uint32_t* ends, const char16_t* text) {
  const std::uint32_t length = cells_ > 0 ? ends[cells_ - 1] : 0;
  std::byte* record = Allocate(RecordBytes(length));
  if (cells_ > 0) std::memcpy(record, ends, sizeof(std::uint32_t) * cells_);
  if (length > 0)
    std::memcpy(record + sizeof(std::uint32_t) * cells_, text, sizeof(char16_t) * length);
  const auto* packed = reinterpret_cast<const std::uint32_t*>(record);
  if (static_cast<std::size_t>(line) == records_.size()) {
    records_.push_back(packed);
  } else {
    dead_ += RecordBytes(cells_ > 0 ? records_[line][cells_ - 1] : 0);
    records_[line] = packed;
  }
  if (dead_ > stored_ / 2) Compact();
}

void ReportLines::Compact() {
  std::vector<Block> old;
  old.swap(blocks_);
  stored_ = 0;
  dead_ = 0;
  for (const std::uint32_t*& record : records_) {
    const std::size_t bytes = RecordBytes(cells_ > 0 ? record[cells_ - 1] : 0);
    std::byte* moved = Allocate(bytes);
    std::memcpy(moved, record, bytes);
    record = reinterpret_cast<const std::uint32_t*>(moved);
  }
}

void ReportLines::Append() {
  PackOpenLine();
  open_ends_.resize(cells_, 0);
  ++count_;
}

void ReportLines::Append(const QStringList& cells) {
  Append();
  for (int i = 0; i < cells_ && i < cells.size(); ++i) SetOpen(i, cells[i], QStringView());
}

QStringView ReportLines::Cell(int line, int cell) const {
  if (line < 0 || line >= count_ || cell < 0 || cell >= cells_) return QStringView();
  const std::uint32_t* ends = line == count_ - 1 ? open_ends_.data() : records_[line];
  const char16_t* text =
      line == count_ - 1 ? open_text_.data() : reinterpret_cast<const char16_t*>(ends + cells_);
  const std::uint32_t start = cell == 0 ? 0 : ends[cell - 1];
  return QStringView(text + start, ends[cell] - start);
}

void ReportLines::SetOpen(int cell, QStringView first, QStringView second) {
  const std::uint32_t start = cell == 0 ? 0 : open_ends_[cell - 1];
  const std::uint32_t old_end = open_ends_[cell];
  const auto length = static_cast<std::uint32_t>(first.size() + second.size());
  const std::int64_t shift = static_cast<std::int64_t>(length) - (old_end - start);
  if (shift != 0) {
    // Cells are written left to right as a rule, so the text after this
    // cell is usually empty and nothing moves.
    const std::uint32_t tail = open_ends_[cells_ - 1] - old_end;
    if (shift > 0) open_text_.resize(open_text_.size() + static_cast<std::size_t>(shift));
    char16_t* base = open_text_.data();
    std::memmove(base + start + length, base + old_end, sizeof(char16_t) * tail);
    if (shift < 0) open_text_.resize(open_text_.size() - static_cast<std::size_t>(-shift));
    for (int i = cell; i < cells_; ++i)
      open_ends_[i] = static_cast<std::uint32_t>(open_ends_[i] + shift);
  }
  char16_t* at = open_text_.data() + start;
  for (const QChar c : first) *at++ = c.unicode();
  for (const QChar c : second) *at++ = c.unicode();
}

void ReportLines::Set(int line, int cell, const QString& text) {
  Compose(line, cell, text, QStringView());
}

void ReportLines::Compose(int line, int cell, QStringView first, QStringView second) {
  if (line < 0 || line >= count_ || cell < 0 || cell >= cells_) return;
  if (line == count_ - 1) {
    SetOpen(cell, first, second);
    return;
  }
  // An earlier line: rebuilt with the new cell and packed again.
  QStringList cells = Line(line);
  cells[cell] = first.toString().append(second);
  std::vector<std::uint32_t> ends(cells_);
  std::vector<char16_t> text;
  for (int i = 0; i < cells_; ++i) {
    const auto* chars = reinterpret_cast<const char16_t*>(cells[i].utf16());
    text.insert(text.end(), chars, chars + cells[i].size());
    ends[i] = static_cast<std::uint32_t>(text.size());
  }
  Pack(line, ends.data(), text.data());
}

QStringList ReportLines::Line(int line) const {
  QStringList cells;
  if (line < 0 || line >= count_) return cells;
  cells.reserve(cells_);
  for (int i = 0; i < cells_; ++i) cells << Cell(line, i).toString();
  return cells;
}

std::size_t ReportLines::MemoryBytes() const {
  std::size_t bytes = sizeof(*this) + blocks_.capacity() * sizeof(Block) +
                      records_.capacity() * sizeof(const std::uint32_t*) +
                      open_ends_.capacity() * sizeof(std::uint32_t) +
                      open_text_.capacity() * sizeof(char16_t);
  for (const Block& block : blocks_) bytes += block.size;
  return bytes;
}
