// Measures the index layer alone: bulk Create of 1,000,000 keys (6 and 16
// bytes), random Seek and sequential Next rates, and Insert/Remove rates.
// Usage: bench_ntx [directory] (default: the system temporary directory).

#include <time.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "../BenchTiming.h"
#include "engine/FileSystem.h"
#include "engine/Ntx.h"

namespace {

using bench::CpuSeconds;

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

std::string Key(uint64_t v, int length) {
  std::string k(static_cast<size_t>(length), ' ');
  for (int i = length - 1; i >= 0 && v > 0; --i, v /= 10) k[i] = static_cast<char>('0' + v % 10);
  return k;
}

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path dir =
      argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::temp_directory_path();
  const std::string path = (dir / "bench_ntx.ntx").string();
  constexpr uint32_t kCount = 1000000;
  std::mt19937_64 rng(42);
  std::vector<uint64_t> values(kCount);
  for (auto& v : values) v = rng() % 900000;  // many equal keys, as in real tags

  for (int key_length : {6, 16}) {
    std::vector<engine::NtxEntry> entries;
    entries.reserve(kCount);
    for (uint32_t r = 0; r < kCount; ++r) entries.push_back({Key(values[r], key_length), r + 1});
    std::unique_ptr<engine::Ntx> ntx;
    auto t0 = Clock::now();
    double c0 = CpuSeconds();
    int rc = engine::Ntx::Create(engine::DiskFileSystem(), path, "KEY", key_length,
                                 std::move(entries), &ntx);
    double took = Seconds(t0), cpu = CpuSeconds() - c0;
    if (rc != 0) {
      std::fprintf(stderr, "Create failed: %d\n", rc);
      return 1;
    }
    std::printf("create %u keys of %d bytes: %.3f s (cpu %.3f s, file %ju bytes)\n", kCount,
                key_length, took, cpu, static_cast<uintmax_t>(std::filesystem::file_size(path)));
  }

  // The 16-byte index is open now; use the 6-byte one for the rates.
  {
    std::vector<engine::NtxEntry> entries;
    for (uint32_t r = 0; r < kCount; ++r) entries.push_back({Key(values[r], 6), r + 1});
    std::unique_ptr<engine::Ntx> ntx;
    if (engine::Ntx::Create(engine::DiskFileSystem(), path, "KEY", 6, std::move(entries), &ntx)) {
      return 1;
    }
    for (size_t cache : {size_t{4} << 20, size_t{32} << 20}) {
      if (ntx->SetCacheBytes(cache) != 0) return 1;
      constexpr int kSeeks = 1000000;
      for (int warm = 0; warm < 2; ++warm) {
        std::mt19937_64 pick(7);
        int found = 0;
        auto t0 = Clock::now();
        double c0 = CpuSeconds();
        for (int i = 0; i < kSeeks; ++i) found += ntx->Seek(Key(values[pick() % kCount], 6)) == 0;
        double took = Seconds(t0), cpu = CpuSeconds() - c0;
        if (warm == 1) {
          std::printf("seek, %zu MiB cache: %.0f /s (cpu: %.0f /s, %d found)\n", cache >> 20,
                      kSeeks / took, kSeeks / cpu, found);
        }
      }
    }
    auto t0 = Clock::now();
    double c0 = CpuSeconds();
    uint32_t steps = 0;
    for (int rc = ntx->Top(); rc == 0; rc = ntx->Next()) ++steps;
    double took = Seconds(t0);
    std::printf("next: %.0f /s (cpu: %.0f /s, %u entries)\n", steps / took,
                steps / (CpuSeconds() - c0), steps);
    t0 = Clock::now();
    steps = 0;
    for (int rc = ntx->Bottom(); rc == 0; rc = ntx->Prev()) ++steps;
    took = Seconds(t0);
    std::printf("prev: %.0f /s (%u entries)\n", steps / took, steps);

    constexpr uint32_t kChanges = 200000;
    t0 = Clock::now();
    for (uint32_t i = 0; i < kChanges; ++i) {
      if (ntx->Insert(Key(rng() % 900000, 6), kCount + 1 + i) != 0) return 1;
    }
    took = Seconds(t0);
    std::printf("insert: %.0f /s\n", kChanges / took);
    t0 = Clock::now();
    for (uint32_t i = 0; i < kChanges; ++i) {
      if (ntx->Remove(Key(values[i], 6), i + 1) != 0) return 1;
    }
    took = Seconds(t0);
    std::printf("remove: %.0f /s\n", kChanges / took);
    t0 = Clock::now();
    if (ntx->Flush(true) != 0) return 1;
    std::printf("flush: %.3f s\n", Seconds(t0));
  }
  std::filesystem::remove(path);
  return 0;
}
