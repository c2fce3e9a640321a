#pragma once
// A small deterministic random generator (splitmix64-seeded xorshift64*), so a
// demo data set is the same for the same seed on every machine.

#include <cstdint>

class DemoRandom {
 public:
  explicit DemoRandom(uint64_t seed) {
    // splitmix64 spreads small seeds over the whole state; the state is never 0.
    uint64_t z = seed + 0x9E3779B97F4A7C15ULL;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    state_ = (z ^ (z >> 31)) | 1;
  }

  uint64_t Next() {
    state_ ^= state_ >> 12;
    state_ ^= state_ << 25;
    state_ ^= state_ >> 27;
    return state_ * 0x2545F4914F6CDD1DULL;
  }

  // Uniform in [low, high].
  int64_t Between(int64_t low, int64_t high) {
    const uint64_t span = static_cast<uint64_t>(high - low) + 1;
    return low + static_cast<int64_t>(Next() % span);
  }

  // True with the given chance in percent.
  bool Percent(int chance) { return Between(1, 100) <= chance; }

 private:
  uint64_t state_;
};
