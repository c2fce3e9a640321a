// The disk file system.

#include "FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <mutex>
#include <new>
#include <vector>

namespace engine {
namespace {

class DiskFile final : public File {
 public:
  explicit DiskFile(int fd) : fd_(fd) {}
  ~DiskFile() override { ::close(fd_); }

  void StartWriteback() override { (void)::sync_file_range(fd_, 0, 0, SYNC_FILE_RANGE_WRITE); }

  int64_t ReadAt(uint64_t offset, void* buffer, size_t n) override {
    size_t done = 0;
    char* out = static_cast<char*>(buffer);
    while (done < n) {
      ssize_t got = ::pread(fd_, out + done, n - done, static_cast<off_t>(offset + done));
      if (got < 0) {
        if (errno == EINTR) continue;
        return -errno;
      }
      if (got == 0) break;
      done += static_cast<size_t>(got);
    }
    return static_cast<int64_t>(done);
  }

  int WriteAt(uint64_t offset, const void* data, size_t n) override {
    size_t done = 0;
    const char* in = static_cast<const char*>(data);
    while (done < n) {
      ssize_t put = ::pwrite(fd_, in + done, n - done, static_cast<off_t>(offset + done));
      if (put < 0) {
        if (errno == EINTR) continue;
        return errno;
      }
      done += static_cast<size_t>(put);
    }
    return 0;
  }

  int Truncate(uint64_t size) override {
    return ::ftruncate(fd_, static_cast<off_t>(size)) == 0 ? 0 : errno;
  }

  int Sync() override { return ::fdatasync(fd_) == 0 ? 0 : errno; }

  int64_t Size() override {
    struct stat st;
    if (::fstat(fd_, &st) != 0) return -errno;
    return st.st_size;
  }

 private:
  int fd_;
};

class RealFileSystem final : public FileSystem {
 public:
  int Open(const std::string& path, OpenMode mode, std::unique_ptr<File>* out) override {
    int flags = O_CLOEXEC;
    switch (mode) {
      case OpenMode::kRead:
        flags |= O_RDONLY;
        break;
      case OpenMode::kReadWrite:
        flags |= O_RDWR;
        break;
      case OpenMode::kCreate:
        flags |= O_RDWR | O_CREAT | O_TRUNC;
        break;
      case OpenMode::kCreateNew:
        flags |= O_RDWR | O_CREAT | O_EXCL;
        break;
    }
    int fd = ::open(path.c_str(), flags, 0644);
    if (fd < 0) return errno;
    *out = std::make_unique<DiskFile>(fd);
    return 0;
  }
  int Rename(const std::string& from, const std::string& to) override {
    return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
  }
  int Remove(const std::string& path) override { return ::unlink(path.c_str()) == 0 ? 0 : errno; }
  bool Exists(const std::string& path) override {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0;
  }
};

}  // namespace

FileSystem& DiskFileSystem() {
  static RealFileSystem disk;
  return disk;
}

int FileSystem::Copy(const std::string& from, const std::string& to) {
  std::unique_ptr<File> source;
  int rc = Open(from, OpenMode::kRead, &source);
  if (rc != 0) return rc;
  std::unique_ptr<File> target;
  rc = Open(to, OpenMode::kCreate, &target);
  if (rc != 0) return rc;
  std::vector<char> buffer(1 << 16);
  uint64_t offset = 0;
  for (;;) {
    int64_t got = source->ReadAt(offset, buffer.data(), buffer.size());
    if (got < 0) {
      rc = static_cast<int>(-got);
      break;
    }
    if (got == 0) break;
    rc = target->WriteAt(offset, buffer.data(), static_cast<size_t>(got));
    if (rc != 0) break;
    offset += static_cast<uint64_t>(got);
  }
  if (rc == 0) rc = target->Sync();
  target.reset();
  if (rc != 0) (void)Remove(to);
  return rc;
}

int FileSystem::ListDirectory(const std::string& dir, std::vector<std::string>* names) {
  names->clear();
  DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
  if (d == nullptr) return errno;
  while (struct dirent* entry = ::readdir(d)) {
    std::string name = entry->d_name;
    if (name != "." && name != "..") names->push_back(std::move(name));
  }
  ::closedir(d);
  return 0;
}

int FileSystem::SyncDirectory(const std::string& dir) {
  int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return errno;
  int rc = ::fsync(fd) == 0 ? 0 : errno;
  ::close(fd);
  return rc;
}

namespace {

struct FreedMapping {
  uint8_t* data;
  size_t size;
};

// Mappings freed with MADV_FREE, newest last. A few suffice: a report opens
// fewer tables and indexes than this.
constexpr size_t kKeptMappings = 24;

std::mutex& FreedMutex() {
  static std::mutex mutex;
  return mutex;
}

std::vector<FreedMapping>& Freed() {
  static std::vector<FreedMapping> freed;
  return freed;
}

// The smallest kept mapping that holds `bytes` without wasting more than its
// size again, taken out of the list.
FreedMapping TakeFreed(size_t bytes) {
  std::lock_guard<std::mutex> guard(FreedMutex());
  std::vector<FreedMapping>& freed = Freed();
  size_t best = freed.size();
  for (size_t i = 0; i < freed.size(); ++i) {
    if (freed[i].size < bytes || freed[i].size / 2 > bytes) continue;
    if (best == freed.size() || freed[i].size < freed[best].size) best = i;
  }
  if (best == freed.size()) return {nullptr, 0};
  FreedMapping taken = freed[best];
  freed.erase(freed.begin() + static_cast<std::ptrdiff_t>(best));
  return taken;
}

void KeepFreed(uint8_t* data, size_t size) {
  // The system takes the pages back when it needs them; until then they are
  // reused as they are.
  if (madvise(data, size, MADV_FREE) != 0) {
    munmap(data, size);
    return;
  }
  FreedMapping oldest{nullptr, 0};
  {
    std::lock_guard<std::mutex> guard(FreedMutex());
    std::vector<FreedMapping>& freed = Freed();
    freed.push_back({data, size});
    if (freed.size() > kKeptMappings) {
      oldest = freed.front();
      freed.erase(freed.begin());
    }
  }
  if (oldest.data != nullptr) munmap(oldest.data, oldest.size);
}

}  // namespace

PageMemory::PageMemory(size_t bytes) : size_(bytes) {
  if (bytes == 0) return;
  if (FreedMapping kept = TakeFreed(bytes); kept.data != nullptr) {
    data_ = kept.data;
    mapped_size_ = kept.size;
    return;
  }
  void* p = mmap(nullptr, bytes, PROT_READ | PROT_WRITE,
                 MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
  if (p != MAP_FAILED) {
    data_ = static_cast<uint8_t*>(p);
    mapped_size_ = bytes;
    constexpr size_t kHuge = size_t{2} << 20;
    if (bytes > 2 * kHuge) {
      // Advice only: without huge pages the memory works the same.
      (void)madvise(data_ + kHuge, bytes - kHuge, MADV_HUGEPAGE);
    }
    return;
  }
  data_ = new (std::nothrow) uint8_t[bytes];
  if (data_ == nullptr) size_ = 0;
}

PageMemory::~PageMemory() {
  if (mapped_size_ > 0) {
    KeepFreed(data_, mapped_size_);
  } else {
    delete[] data_;
  }
}

}  // namespace engine
