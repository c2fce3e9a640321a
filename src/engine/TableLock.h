#pragma once
// Advisory locks on table files between processes (flock): shared for normal
// use, exclusive for maintenance. Within one process tables never refuse each
// other: every open of the same file shares one lock, held in the strongest
// mode any of them asked for.

#include <memory>
#include <string>

namespace engine {

class TableLock {
 public:
  // Locks path; e4open when another process holds a conflicting lock.
  [[nodiscard]] static int Acquire(const std::string& path, bool exclusive,
                                   std::unique_ptr<TableLock>* out);
  ~TableLock();
  // Takes the lock again on the file now at the path (after a replacement was
  // renamed into place).
  [[nodiscard]] int Renew();

 private:
  TableLock(std::string key, bool exclusive) : key_(std::move(key)), exclusive_(exclusive) {}
  std::string key_;
  bool exclusive_;
};

}  // namespace engine
