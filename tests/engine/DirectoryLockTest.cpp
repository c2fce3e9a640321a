// The data directory's lock between two holders in one process and between
// two processes, and its release when the holding process is killed.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <memory>

#include "EngineTestUtil.h"
#include "engine/DirectoryLock.h"

namespace engine_test {
namespace {

using engine::DirectoryLock;
using engine::LockMode;

TEST(DirectoryLockTest, ExclusiveRefusesEveryOtherHolderAndSharedOnlyWriters) {
  struct Case {
    LockMode held;
    LockMode wanted;
    int expected;
  };
  const Case cases[] = {
      {LockMode::kExclusive, LockMode::kExclusive, EWOULDBLOCK},
      {LockMode::kExclusive, LockMode::kShared, EWOULDBLOCK},
      {LockMode::kShared, LockMode::kExclusive, EWOULDBLOCK},
      {LockMode::kShared, LockMode::kShared, 0},
  };
  ScratchDir dir;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "held " << static_cast<int>(c.held) << ", wanted "
                                    << static_cast<int>(c.wanted));
    std::unique_ptr<DirectoryLock> first;
    ASSERT_EQ(DirectoryLock::Acquire(dir.Path(), c.held, &first), 0);
    std::unique_ptr<DirectoryLock> second;
    EXPECT_EQ(DirectoryLock::Acquire(dir.Path(), c.wanted, &second), c.expected);
    EXPECT_EQ(second != nullptr, c.expected == 0);
    second.reset();
    first.reset();
    // Let go, the directory is free for anyone again.
    EXPECT_EQ(DirectoryLock::Acquire(dir.Path(), LockMode::kExclusive, &second), 0);
  }
  std::unique_ptr<DirectoryLock> lock;
  EXPECT_EQ(DirectoryLock::Acquire(dir.File("missing"), LockMode::kShared, &lock), ENOENT);
}

// A child process takes the lock and is killed while holding it: the
// system lets the lock go, with nothing for the next holder to clean up.
TEST(DirectoryLockTest, KilledHolderReleasesTheLock) {
  ScratchDir dir;
  int ready[2];
  ASSERT_EQ(::pipe(ready), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::unique_ptr<DirectoryLock> lock;
    const char held = DirectoryLock::Acquire(dir.Path(), LockMode::kExclusive, &lock) == 0;
    (void)!::write(ready[1], &held, 1);
    for (;;) ::pause();
  }
  ::close(ready[1]);
  char held = 0;
  ASSERT_EQ(::read(ready[0], &held, 1), 1);
  ::close(ready[0]);
  EXPECT_TRUE(held);
  std::unique_ptr<DirectoryLock> lock;
  EXPECT_EQ(DirectoryLock::Acquire(dir.Path(), LockMode::kShared, &lock), EWOULDBLOCK);
  ASSERT_EQ(::kill(child, SIGKILL), 0);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_EQ(DirectoryLock::Acquire(dir.Path(), LockMode::kExclusive, &lock), 0);
}

}  // namespace
}  // namespace engine_test
