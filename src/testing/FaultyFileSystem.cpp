#include "testing/FaultyFileSystem.h"

#include <cerrno>

namespace engine {
namespace {

// A file handed out by FaultyFileSystem: every change asks the file system first.
class FaultyFile final : public File {
 public:
  FaultyFile(std::unique_ptr<File> inner, FaultyFileSystem* fs, std::string path)
      : inner_(std::move(inner)), fs_(fs), path_(std::move(path)) {}
  int64_t ReadAt(uint64_t offset, void* buffer, size_t n) override {
    return inner_->ReadAt(offset, buffer, n);
  }
  int WriteAt(uint64_t offset, const void* data, size_t n) override {
    int rc = fs_->Step("write " + path_, n);
    if (rc != 0) return rc;
    return inner_->WriteAt(offset, data, n);
  }
  int Truncate(uint64_t size) override {
    int rc = fs_->Step("truncate " + path_);
    if (rc != 0) return rc;
    return inner_->Truncate(size);
  }
  // Syncs are steps that can fail, but are not passed on (nor is the hint to
  // start writing back): tests stop the program, not the machine, and real
  // disk writes at every step of a sweep cost minutes.
  int Sync() override { return fs_->Step("sync " + path_); }
  int64_t Size() override { return inner_->Size(); }

 private:
  std::unique_ptr<File> inner_;
  FaultyFileSystem* fs_;
  std::string path_;
};

}  // namespace

int FaultyFileSystem::Step(const std::string& what, size_t bytes) {
  int64_t step = ++steps_;
  if (logging_) log_.push_back(what);
  if (step == fail_only_ || (fail_from_ >= 0 && step >= fail_from_)) return EIO;
  if (bytes_left_ >= 0 && bytes > 0) {
    if (static_cast<int64_t>(bytes) > bytes_left_) {
      bytes_left_ = 0;
      return ENOSPC;
    }
    bytes_left_ -= static_cast<int64_t>(bytes);
  }
  return 0;
}

int FaultyFileSystem::Open(const std::string& path, OpenMode mode, std::unique_ptr<File>* out) {
  if (read_only_ && mode != OpenMode::kRead) return EROFS;
  std::unique_ptr<File> inner;
  int rc = DiskFileSystem().Open(path, mode, &inner);
  if (rc != 0) return rc;
  *out = std::make_unique<FaultyFile>(std::move(inner), this, path);
  return 0;
}

int FaultyFileSystem::Rename(const std::string& from, const std::string& to) {
  if (read_only_) return EROFS;
  int rc = Step("rename " + from + " -> " + to);
  return rc != 0 ? rc : DiskFileSystem().Rename(from, to);
}

int FaultyFileSystem::Remove(const std::string& path) {
  if (read_only_) return EROFS;
  int rc = Step("remove " + path);
  return rc != 0 ? rc : DiskFileSystem().Remove(path);
}

int FaultyFileSystem::SyncDirectory(const std::string& dir) {
  return Step("sync directory " + (dir.empty() ? std::string(".") : dir));
}

bool FaultyFileSystem::Exists(const std::string& path) { return DiskFileSystem().Exists(path); }

}  // namespace engine
