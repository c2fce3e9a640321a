#pragma once
// One dBASE III memo file (.dbt): 512-byte blocks, block 0 the header with the
// next free block number; a memo runs over consecutive blocks and ends with
// 0x1A 0x1A. There is no free list: a memo that outgrows its blocks moves to
// the end of the file and its old blocks stay unused until the file is
// rewritten (d4memoCompress).

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "FileSystem.h"

namespace engine {

class MemoFile {
 public:
  static constexpr int64_t kBlockSize = 512;

  [[nodiscard]] static int Open(FileSystem& fs, const std::string& path, bool read_only,
                                std::unique_ptr<MemoFile>* out);
  // Writes an empty memo file (next free block 1), created or truncated.
  [[nodiscard]] static int Create(FileSystem& fs, const std::string& path);

  // True when block is a memo block inside the file.
  bool Contains(uint32_t block) const {
    return block >= 1 && static_cast<int64_t>(block) * kBlockSize < size_;
  }
  // Reads the memo starting at block (text up to the first 0x1A). A block
  // outside the file, or a memo without its end marker, is e4memo.
  [[nodiscard]] int Read(uint32_t block, std::string* text);
  // Stores text for a field whose memo was at old_block (0: none). Text is cut
  // at the first 0x1A. Empty text gives *block = 0. A memo that fits the
  // blocks of the old one is rewritten in place; otherwise it is appended.
  [[nodiscard]] int Write(uint32_t old_block, std::string_view text, uint32_t* block);
  // Appends text at the end of the file (used when rewriting the file).
  [[nodiscard]] int Append(std::string_view text, uint32_t* block);
  [[nodiscard]] int Flush(bool sync);
  void StartWriteback();
  bool Written() const { return written_; }
  int64_t Size() const { return size_; }

 private:
  MemoFile() = default;
  uint32_t EndBlock() const {
    return static_cast<uint32_t>(std::max<int64_t>(1, (size_ + kBlockSize - 1) / kBlockSize));
  }

  std::unique_ptr<File> file_;
  bool read_only_ = false;
  bool written_ = false;
  bool unsynced_ = false;
  int64_t size_ = 0;
};

}  // namespace engine
