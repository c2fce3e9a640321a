#pragma once
// Shared helpers of the engine tests: a scratch directory per test and an
// engine instance working in it.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/TableEngine.h"

namespace engine_test {

class ScratchDir {
 public:
  // in_memory: on memory-backed storage where there is some (tests that
  // create many files), else in the usual temporary directory.
  explicit ScratchDir(bool in_memory = false) {
    std::error_code ec;
    std::filesystem::path parent = std::filesystem::temp_directory_path();
    if (in_memory && std::filesystem::is_directory("/dev/shm", ec) &&
        ::access("/dev/shm", W_OK) == 0) {
      parent = "/dev/shm";
    }
    std::string pattern = (parent / "engine-XXXXXX").string();
    char* made = ::mkdtemp(pattern.data());
    path_ = made == nullptr ? "" : made;
  }
  ~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

inline std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// An instance that works in a scratch directory and never ends the process.
class EngineFixture : public ::testing::Test {
 protected:
  explicit EngineFixture(bool in_memory = false) : dir_(in_memory) {}

  void SetUp() override {
    cb_ = code4allocate();
    ASSERT_EQ(code4initP(cb_), 0);
    code4directory(cb_, dir_.Path().c_str());
    code4setExitHook(cb_, [](int) {});
  }
  void TearDown() override {
    EXPECT_GE(code4initUndoP(cb_), 0);
    code4free(cb_);
  }
  int TakeError() { return code4errorCode(cb_, 0); }

  ScratchDir dir_;
  CODE4* cb_ = nullptr;
};

}  // namespace engine_test
