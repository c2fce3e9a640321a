#include "DirectoryLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

namespace engine {

int DirectoryLock::Acquire(const std::string& directory, LockMode mode,
                           std::unique_ptr<DirectoryLock>* out) {
  out->reset();
  std::string path = directory.empty() ? std::string(".") : directory;
  if (path.back() != '/') path += '/';
  path += kDirectoryLockFile;
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0 && (errno == EROFS || errno == EACCES)) {
    const int create_error = errno;
    // A lock file another user made, or a directory we may not write: flock
    // locks through a descriptor opened for reading as well.
    fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT && mode == LockMode::kShared) {
      out->reset(new DirectoryLock(-1, mode, directory));
      return 0;
    }
    if (fd < 0) return create_error;
  }
  if (fd < 0) return errno;
  const int operation = (mode == LockMode::kExclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
  int rc = 0;
  do {
    rc = ::flock(fd, operation);
  } while (rc != 0 && errno == EINTR);
  if (rc != 0) {
    const int error = errno;
    ::close(fd);
    return error == EWOULDBLOCK ? EWOULDBLOCK : error;
  }
  out->reset(new DirectoryLock(fd, mode, directory));
  return 0;
}

DirectoryLock::~DirectoryLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace engine
