#pragma once
// A file system over the disk whose changes can be made to fail, for tests:
// disk full after N bytes, a read-only target, a failure or a crash at any
// numbered step.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/FileSystem.h"

namespace engine {

// A file system over the disk whose changes can be made to fail, for tests.
// Every change of the disk is one numbered step: a write, a sync of a file or
// a directory, a truncation, a rename, a removal. Syncs are counted but not
// done (the tests stop the program, not the machine).
class FaultyFileSystem final : public FileSystem {
 public:
  // Writes succeed until this many bytes were written in all; then ENOSPC.
  void FailAfterBytes(int64_t bytes) { bytes_left_ = bytes; }
  // Step n from now (1 = the next) and every step after it fail with EIO, as
  // if the machine stopped there.
  void FailFromStep(int64_t n) { fail_from_ = steps_ + n; }
  // Only step n from now fails with EIO; the steps after it succeed again.
  void FailOnlyStep(int64_t n) { fail_only_ = steps_ + n; }
  // Opening for writing, creating, renaming and removing fail with EROFS.
  void SetReadOnly(bool on) { read_only_ = on; }
  // Keeps a line per step ("rename A -> B", "write A 512") from now on.
  void LogSteps(bool on) {
    logging_ = on;
    log_.clear();
  }
  void Reset() {
    bytes_left_ = -1;
    fail_from_ = -1;
    fail_only_ = -1;
    read_only_ = false;
    steps_ = 0;
    log_.clear();
  }
  // Steps taken since the last Reset (failed ones included).
  int64_t StepCount() const { return steps_; }
  const std::vector<std::string>& StepLog() const { return log_; }

  int Open(const std::string& path, OpenMode mode, std::unique_ptr<File>* out) override;
  int Rename(const std::string& from, const std::string& to) override;
  int Remove(const std::string& path) override;
  bool Exists(const std::string& path) override;
  int SyncDirectory(const std::string& dir) override;

  // Called before each step; returns 0 or the errno the step fails with.
  int Step(const std::string& what, size_t bytes = 0);

 private:
  int64_t bytes_left_ = -1;  // -1: no limit
  int64_t fail_from_ = -1;   // step number; -1: none
  int64_t fail_only_ = -1;
  bool read_only_ = false;
  int64_t steps_ = 0;
  bool logging_ = false;
  std::vector<std::string> log_;
};

}  // namespace engine
