// The memo file: reading memos up to their end marker, appending and
// rewriting them, and keeping the header's next free block.

#include "Dbt.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "TableEngine.h"

namespace engine {

int MemoFile::Open(FileSystem& fs, const std::string& path, bool read_only,
                   std::unique_ptr<MemoFile>* out) {
  std::unique_ptr<MemoFile> memo(new MemoFile());
  memo->read_only_ = read_only;
  if (fs.Open(path, read_only ? OpenMode::kRead : OpenMode::kReadWrite, &memo->file_) != 0) {
    return e4open;
  }
  memo->size_ = memo->file_->Size();
  if (memo->size_ < 0) return e4read;
  if (memo->size_ < 4) return e4memo;
  *out = std::move(memo);
  return 0;
}

int MemoFile::Create(FileSystem& fs, const std::string& path) {
  std::unique_ptr<File> file;
  if (fs.Open(path, OpenMode::kCreate, &file) != 0) return e4create;
  char header[kBlockSize] = {};
  header[0] = 1;
  header[16] = 0x03;
  if (file->WriteAt(0, header, sizeof header) != 0) return e4write;
  if (file->Sync() != 0) return e4write;
  return 0;
}

int MemoFile::Read(uint32_t block, std::string* text) {
  text->clear();
  if (!Contains(block)) return e4memo;
  uint64_t offset = uint64_t{block} * kBlockSize;
  char chunk[4096];
  for (;;) {
    int64_t got = file_->ReadAt(offset, chunk, sizeof chunk);
    if (got < 0) return e4read;
    if (got == 0) return e4memo;  // no end marker before the end of the file
    const char* end = static_cast<const char*>(std::memchr(chunk, 0x1A, static_cast<size_t>(got)));
    if (end != nullptr) {
      text->append(chunk, static_cast<size_t>(end - chunk));
      return 0;
    }
    text->append(chunk, static_cast<size_t>(got));
    offset += static_cast<uint64_t>(got);
  }
}

int MemoFile::Append(std::string_view text, uint32_t* block) {
  if (read_only_) return e4write;
  uint32_t at = EndBlock();
  std::string bytes(text);
  bytes.append("\x1A\x1A");
  bytes.resize(((bytes.size() + kBlockSize - 1) / kBlockSize) * kBlockSize, '\0');
  if (file_->WriteAt(uint64_t{at} * kBlockSize, bytes.data(), bytes.size()) != 0) return e4write;
  size_ = static_cast<int64_t>(at) * kBlockSize + static_cast<int64_t>(bytes.size());
  char next[4];
  uint32_t free_block = EndBlock();
  for (int i = 0; i < 4; ++i) next[i] = static_cast<char>((free_block >> (8 * i)) & 0xFF);
  if (file_->WriteAt(0, next, 4) != 0) return e4write;
  written_ = unsynced_ = true;
  *block = at;
  return 0;
}

int MemoFile::Write(uint32_t old_block, std::string_view text, uint32_t* block) {
  if (read_only_) return e4write;
  size_t cut = text.find('\x1A');
  if (cut != std::string_view::npos) text = text.substr(0, cut);
  if (text.empty()) {
    *block = 0;
    return 0;
  }
  if (Contains(old_block)) {
    std::string old_text;
    if (Read(old_block, &old_text) == 0) {
      size_t old_blocks = (old_text.size() + 2 + kBlockSize - 1) / kBlockSize;
      size_t new_blocks = (text.size() + 2 + kBlockSize - 1) / kBlockSize;
      if (new_blocks <= old_blocks) {
        std::string bytes(text);
        bytes.append("\x1A\x1A");
        if (file_->WriteAt(uint64_t{old_block} * kBlockSize, bytes.data(), bytes.size()) != 0) {
          return e4write;
        }
        size_ = std::max<int64_t>(size_, static_cast<int64_t>(old_block) * kBlockSize +
                                             static_cast<int64_t>(bytes.size()));
        written_ = unsynced_ = true;
        *block = old_block;
        return 0;
      }
    }
  }
  return Append(text, block);
}

void MemoFile::StartWriteback() {
  if (unsynced_) file_->StartWriteback();
}

int MemoFile::Flush(bool sync) {
  if (sync && unsynced_) {
    if (file_->Sync() != 0) return e4write;
    unsynced_ = false;
  }
  return 0;
}

}  // namespace engine
