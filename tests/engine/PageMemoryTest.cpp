#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/FileSystem.h"

namespace {

// Freed blocks are handed out again: each block must still be as large as
// asked, and no two live blocks may share memory.
TEST(PageMemoryTest, ReusedBlocksAreLargeEnoughAndNeverShared) {
  constexpr size_t kMiB = size_t{1} << 20;
  const std::vector<std::vector<size_t>> rounds = {
      {8 * kMiB, 64 * 1024, 3 * kMiB},
      {8 * kMiB, 8 * kMiB, 64 * 1024},   // the same size twice at once
      {20 * kMiB, 3 * kMiB, 4096},       // larger than any freed block
      {2 * kMiB, 2 * kMiB, 2 * kMiB, 9 * kMiB},
  };
  for (size_t round = 0; round < rounds.size(); ++round) {
    std::vector<std::unique_ptr<engine::PageMemory>> live;
    for (size_t bytes : rounds[round]) {
      live.push_back(std::make_unique<engine::PageMemory>(bytes));
      engine::PageMemory& block = *live.back();
      ASSERT_NE(block.Data(), nullptr);
      ASSERT_EQ(block.Size(), bytes);
      // Touch every page, the last byte included, with this block's mark.
      const auto mark = static_cast<uint8_t>(live.size() + 16 * round);
      for (size_t at = 0; at < bytes; at += 4096) block.Data()[at] = mark;
      block.Data()[bytes - 1] = mark;
    }
    for (size_t i = 0; i < live.size(); ++i) {
      const auto mark = static_cast<uint8_t>(i + 1 + 16 * round);
      const engine::PageMemory& block = *live[i];
      for (size_t at = 0; at < block.Size(); at += 4096) {
        ASSERT_EQ(block.Data()[at], mark) << "round " << round << " block " << i;
      }
      ASSERT_EQ(block.Data()[block.Size() - 1], mark) << "round " << round << " block " << i;
    }
  }
}

}  // namespace
