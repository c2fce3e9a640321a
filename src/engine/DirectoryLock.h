#pragma once
// One program at a time per data directory: a lock file in the directory,
// locked for as long as a DirectoryLock lives. Programs that change the data
// hold it exclusive, readers hold it shared. The lock belongs to the open
// file, so the system drops it when the process ends, however it ends; the
// file itself stays (removing it would let two holders lock two files).

#include <memory>
#include <string>

namespace engine {

inline constexpr char kDirectoryLockFile[] = "pelmark.lock";

enum class LockMode { kShared, kExclusive };

class DirectoryLock {
 public:
  // Locks the directory without waiting. Returns 0 with *out holding the
  // lock; EWOULDBLOCK when another holder's lock conflicts; else the errno
  // of opening the lock file (ENOENT: no such directory). A shared lock of a
  // directory this process may not write, which holds no lock file yet,
  // succeeds unlocked: there is nothing to lock and nothing it can break.
  [[nodiscard]] static int Acquire(const std::string& directory, LockMode mode,
                                   std::unique_ptr<DirectoryLock>* out);
  ~DirectoryLock();
  DirectoryLock(const DirectoryLock&) = delete;
  DirectoryLock& operator=(const DirectoryLock&) = delete;

  LockMode Mode() const { return mode_; }
  const std::string& Directory() const { return directory_; }

 private:
  DirectoryLock(int fd, LockMode mode, std::string directory)
      : fd_(fd), mode_(mode), directory_(std::move(directory)) {}
  int fd_;
  LockMode mode_;
  std::string directory_;
};

}  // namespace engine
