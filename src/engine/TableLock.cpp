// The process-wide registry of table locks.

#include "TableLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <map>
#include <mutex>

#include "TableEngine.h"

namespace engine {
namespace {

struct Holder {
  int fd = -1;
  int shared = 0;
  int exclusive = 0;
};

std::mutex& RegistryMutex() {
  static std::mutex mutex;
  return mutex;
}
std::map<std::string, Holder>& Registry() {
  static std::map<std::string, Holder> registry;
  return registry;
}

std::string KeyOf(const std::string& path) {
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) != nullptr) return resolved;
  return path;
}

bool Lock(int fd, bool exclusive) {
  return ::flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0;
}

}  // namespace

int TableLock::Acquire(const std::string& path, bool exclusive, std::unique_ptr<TableLock>* out) {
  std::lock_guard<std::mutex> guard(RegistryMutex());
  std::string key = KeyOf(path);
  auto& registry = Registry();
  auto it = registry.find(key);
  if (it == registry.end()) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return e4open;
    if (!Lock(fd, exclusive)) {
      ::close(fd);
      return e4open;
    }
    it = registry.emplace(key, Holder{fd, 0, 0}).first;
  } else if (exclusive && it->second.exclusive == 0) {
    if (!Lock(it->second.fd, true)) return e4open;
  }
  (exclusive ? it->second.exclusive : it->second.shared)++;
  out->reset(new TableLock(key, exclusive));
  return 0;
}

TableLock::~TableLock() {
  std::lock_guard<std::mutex> guard(RegistryMutex());
  auto& registry = Registry();
  auto it = registry.find(key_);
  if (it == registry.end()) return;
  Holder& holder = it->second;
  (exclusive_ ? holder.exclusive : holder.shared)--;
  if (holder.exclusive == 0 && holder.shared == 0) {
    ::close(holder.fd);
    registry.erase(it);
  } else if (exclusive_ && holder.exclusive == 0) {
    (void)Lock(holder.fd, false);
  }
}

int TableLock::Renew() {
  std::lock_guard<std::mutex> guard(RegistryMutex());
  auto it = Registry().find(key_);
  if (it == Registry().end()) return e4open;
  Holder& holder = it->second;
  int fd = ::open(key_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return e4open;
  if (!Lock(fd, holder.exclusive > 0)) {
    ::close(fd);
    return e4open;
  }
  ::close(holder.fd);
  holder.fd = fd;
  return 0;
}

}  // namespace engine
