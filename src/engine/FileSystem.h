#pragma once
// The one seam through which the engine (and the program's file maintenance)
// touches the disk, so tests can replace it with one whose writes fail (see
// testing/FaultyFileSystem.h).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace engine {

// Errors are errno values (ENOSPC, EROFS, EACCES, ENOENT, EIO, ...); 0 is success.
class File {
 public:
  virtual ~File() = default;
  // Reads up to n bytes at offset; returns the count read (short at end of
  // file) or -errno.
  [[nodiscard]] virtual int64_t ReadAt(uint64_t offset, void* buffer, size_t n) = 0;
  // Writes all n bytes at offset or fails.
  [[nodiscard]] virtual int WriteAt(uint64_t offset, const void* data, size_t n) = 0;
  [[nodiscard]] virtual int Truncate(uint64_t size) = 0;
  [[nodiscard]] virtual int Sync() = 0;  // fdatasync
  // Asks the system to start writing this file's changed pages to the disk
  // now, so that a Sync soon after waits less. A hint only.
  virtual void StartWriteback() {}
  [[nodiscard]] virtual int64_t Size() = 0;  // or -errno
};

enum class OpenMode {
  kRead,       // existing file, read only
  kReadWrite,  // existing file
  kCreate,     // create or truncate, read/write
  kCreateNew,  // create; fails with EEXIST when present
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  [[nodiscard]] virtual int Open(const std::string& path, OpenMode mode,
                                 std::unique_ptr<File>* out) = 0;
  [[nodiscard]] virtual int Rename(const std::string& from, const std::string& to) = 0;
  [[nodiscard]] virtual int Remove(const std::string& path) = 0;
  virtual bool Exists(const std::string& path) = 0;
  // Copies a whole file (target created or truncated); on failure the partial
  // target is removed and the errno of the failing step returned.
  [[nodiscard]] virtual int Copy(const std::string& from, const std::string& to);
  // Names of the entries of a directory ("" is the current one), for finding
  // files without regard to case.
  [[nodiscard]] virtual int ListDirectory(const std::string& dir, std::vector<std::string>* names);
  // Makes the directory's entries (files created, renamed, removed) durable.
  [[nodiscard]] virtual int SyncDirectory(const std::string& dir);
};

// The real disk.
FileSystem& DiskFileSystem();

// A block of memory reserved from the system and committed only as it is
// first touched; its bytes are undefined until written. Beyond its first
// 2 MiB it asks for huge pages, so a large cache fills with few page faults
// while a small one costs what it touches. A freed block is kept for the next
// one of the process, its pages handed back to the system lazily: the caches
// of tables opened again (each report opens its tables) start without page
// faults while the machine has memory to spare.
class PageMemory {
 public:
  PageMemory() = default;
  explicit PageMemory(size_t bytes);
  PageMemory(const PageMemory&) = delete;
  PageMemory& operator=(const PageMemory&) = delete;
  ~PageMemory();
  uint8_t* Data() const { return data_; }
  size_t Size() const { return size_; }

 private:
  uint8_t* data_ = nullptr;
  size_t size_ = 0;
  size_t mapped_size_ = 0;  // of the mapping, which may be larger than size_
};

}  // namespace engine
