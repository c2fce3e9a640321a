// The Clipper index: file layout, the B-tree against a std::set model under
// random changes, cursor movement and re-seating, Seek, Position, the free
// page list, Flush and the strict checker.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <random>
#include <set>

#include "EngineTestUtil.h"
#include "engine/Ntx.h"
#include "engine/NtxPage.h"
#include "engine/TableEngine.h"
#include "testing/FaultyFileSystem.h"

namespace {

using engine::Ntx;
using engine::NtxEntry;
using engine_test::ReadAll;
using engine_test::ScratchDir;
using engine_test::WriteAll;
using Model = std::set<std::pair<std::string, uint32_t>>;

uint16_t U16(const std::string& b, size_t at) {
  return engine::ntx::Get16(reinterpret_cast<const uint8_t*>(b.data() + at));
}
uint32_t U32(const std::string& b, size_t at) {
  return engine::ntx::Get32(reinterpret_cast<const uint8_t*>(b.data() + at));
}

std::string Key(uint64_t value, int length) {
  std::string k = std::to_string(value);
  if (static_cast<int>(k.size()) < length) k.insert(0, length - k.size(), ' ');
  return k.substr(0, length);
}

// The whole index in forward and backward order must equal the model.
void ExpectSameAsModel(Ntx& ntx, const Model& model) {
  std::vector<std::pair<std::string, uint32_t>> forward;
  int rc = ntx.Top();
  while (rc == 0) {
    forward.emplace_back(std::string(ntx.CurrentKey()), ntx.CurrentRecord());
    ASSERT_LE(forward.size(), model.size()) << "walk runs past the model";
    rc = ntx.Next();
  }
  ASSERT_EQ(rc, r4eof);
  ASSERT_TRUE(std::equal(forward.begin(), forward.end(), model.begin(), model.end()));
  size_t back = 0;
  auto it = model.rbegin();
  rc = ntx.Bottom();
  while (rc == 0) {
    ASSERT_NE(it, model.rend());
    ASSERT_EQ(ntx.CurrentKey(), it->first);
    ASSERT_EQ(ntx.CurrentRecord(), it->second);
    ++it;
    ++back;
    rc = ntx.Prev();
  }
  ASSERT_EQ(rc, model.empty() ? r4eof : r4bof);
  ASSERT_EQ(back, model.size());
}

void ExpectSeeksMatch(Ntx& ntx, const Model& model, std::mt19937& rng, int key_length, int pool) {
  for (int s = 0; s < 30; ++s) {
    std::string full = Key(rng() % (pool + 2), key_length);
    size_t cut = 1 + rng() % key_length;
    std::string prefix = full.substr(0, cut);
    auto it = std::find_if(model.begin(), model.end(),
                           [&](const auto& e) { return e.first.compare(0, cut, prefix) >= 0; });
    int rc = ntx.Seek(prefix);
    if (it == model.end()) {
      ASSERT_EQ(rc, r4eof) << prefix;
      continue;
    }
    ASSERT_EQ(rc, it->first.compare(0, cut, prefix) == 0 ? 0 : r4after) << prefix;
    ASSERT_EQ(ntx.CurrentKey(), it->first);
    ASSERT_EQ(ntx.CurrentRecord(), it->second);
  }
}

void ExpectCheckClean(Ntx& ntx, uint64_t entries) {
  Ntx::CheckReport report;
  int rc = ntx.Check(0, nullptr, &report);
  std::string lines;
  for (const auto& p : report.problems) lines += p + "\n";
  ASSERT_EQ(rc, 0) << lines;
  ASSERT_EQ(report.entries, entries);
  ASSERT_EQ(report.underfull_pages, 0u);
}

struct ModelCase {
  const char* name;
  uint32_t seed;
  int key_length;
  int pool;  // distinct key values: small pools give long runs of equal keys
  int batches;
  int ops_per_batch;
  bool bulk_start;
  size_t cache_bytes;
  int run = 1;  // inserts come in ascending runs of this length, as batched appends do
};

void PrintTo(const ModelCase& c, std::ostream* out) { *out << c.name; }

class NtxModelTest : public ::testing::TestWithParam<ModelCase> {};

TEST_P(NtxModelTest, RandomChangesMatchModel) {
  const ModelCase& c = GetParam();
  ScratchDir dir;
  const std::string path = dir.File("t.ntx");
  std::mt19937 rng(c.seed);
  Model model;
  std::vector<NtxEntry> initial;
  uint32_t next_record = 1;
  if (c.bulk_start) {
    for (int i = 0; i < 3000; ++i) {
      NtxEntry e{Key(rng() % c.pool, c.key_length), next_record++};
      model.emplace(e.key, e.record);
      initial.push_back(e);
    }
  }
  // The cache size for indexes opened by this test only.
  struct CacheSize {
    explicit CacheSize(size_t bytes) : saved(Ntx::DefaultCacheBytes()) {
      Ntx::SetDefaultCacheBytes(bytes);
    }
    ~CacheSize() { Ntx::SetDefaultCacheBytes(saved); }
    size_t saved;
  } cache_size(c.cache_bytes);
  std::unique_ptr<Ntx> ntx;
  ASSERT_EQ(Ntx::Create(engine::DiskFileSystem(), path, "KEY", c.key_length, initial, &ntx), 0);
  ExpectCheckClean(*ntx, model.size());
  for (int batch = 0; batch < c.batches; ++batch) {
    for (int op = 0; op < c.ops_per_batch; ++op) {
      // Grow for the first half of the run, shrink in the second.
      bool grow = batch < c.batches / 2 ? rng() % 4 != 0 : rng() % 4 == 0;
      if (grow || model.empty()) {
        if (c.run == 1) {
          std::string key = Key(rng() % c.pool, c.key_length);
          uint32_t rec = next_record++;
          ASSERT_EQ(ntx->Insert(key, rec), 0);
          model.emplace(key, rec);
        } else {
          std::vector<std::pair<std::string, uint32_t>> run;
          for (int i = 0; i < c.run; ++i) {
            run.emplace_back(Key(rng() % c.pool, c.key_length), next_record++);
          }
          std::sort(run.begin(), run.end());
          engine::KeyList sorted(c.key_length);
          for (const auto& [key, rec] : run) {
            sorted.Add(key, rec);
            model.emplace(key, rec);
          }
          ASSERT_EQ(ntx->InsertSorted(sorted), 0);
        }
      } else {
        auto it = model.begin();
        std::advance(it, rng() % model.size());
        ASSERT_EQ(ntx->Remove(it->first, it->second), 0);
        model.erase(it);
      }
    }
    ExpectSameAsModel(*ntx, model);
    ExpectSeeksMatch(*ntx, model, rng, c.key_length, c.pool);
    ExpectCheckClean(*ntx, model.size());
    if (batch % 3 == 2) {
      ASSERT_EQ(ntx->Flush(batch % 2 == 0), 0);
      ntx.reset();
      ASSERT_EQ(Ntx::Open(engine::DiskFileSystem(), path, false, &ntx), 0);
      ExpectSameAsModel(*ntx, model);
    }
  }
  // Everything out again: one empty root page is left.
  while (!model.empty()) {
    ASSERT_EQ(ntx->Remove(model.begin()->first, model.begin()->second), 0);
    model.erase(model.begin());
  }
  ExpectSameAsModel(*ntx, model);
  ExpectCheckClean(*ntx, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Trees, NtxModelTest,
    ::testing::Values(
        ModelCase{"short_keys", 1, 6, 1000000, 12, 600, false, 4u << 20},
        ModelCase{"equal_keys", 2, 8, 7, 12, 400, false, 4u << 20},
        ModelCase{"long_keys", 3, 90, 500, 16, 250, false, 4u << 20},
        ModelCase{"long_equal_keys", 4, 70, 3, 16, 250, false, 4u << 20},
        ModelCase{"tiny_cache", 5, 60, 300, 12, 250, false, 16 * 1024},
        ModelCase{"bulk_then_changes", 6, 80, 200, 12, 250, true, 4u << 20},
        ModelCase{"bulk_short", 7, 10, 50, 12, 400, true, 16 * 1024},
        ModelCase{"sorted_runs", 8, 40, 5000, 12, 60, true, 4u << 20, 40},
        ModelCase{"sorted_runs_small_cache", 9, 40, 5000, 12, 60, true, 64 * 1024, 40},
        ModelCase{"ascending_runs_equal_keys", 10, 12, 20, 12, 80, false, 64 * 1024, 25}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NtxLayout, EmptyIndexIsHeaderAndOneRootPage) {
  struct Case {
    int key_length;
    int max_keys;
  };
  for (Case c : {Case{6, 62}, Case{8, 54}, Case{10, 50}, Case{25, 28}, Case{250, 2}}) {
    ScratchDir dir;
    std::unique_ptr<Ntx> ntx;
    ASSERT_EQ(Ntx::Create(engine::DiskFileSystem(), dir.File("e.ntx"), "Upper(Name)", c.key_length,
                          {}, &ntx),
              0);
    ntx.reset();
    std::string b = ReadAll(dir.File("e.ntx"));
    ASSERT_EQ(b.size(), 2048u) << c.key_length;
    EXPECT_EQ(U16(b, 0), 6);
    EXPECT_EQ(U32(b, 4), 1024u);
    EXPECT_EQ(U32(b, 8), 0u);
    EXPECT_EQ(U16(b, 12), c.key_length + 8);
    EXPECT_EQ(U16(b, 14), c.key_length);
    EXPECT_EQ(U16(b, 16), 0);
    EXPECT_EQ(U16(b, 18), c.max_keys) << c.key_length;
    EXPECT_EQ(U16(b, 20), c.max_keys / 2);
    EXPECT_EQ(std::string(b.data() + 22), "Upper(Name)");
    EXPECT_EQ(b[278], 0);
    EXPECT_EQ(b[280], 0);
    EXPECT_EQ(U16(b, 1024), 0);
    for (int i = 0; i <= c.max_keys; ++i) {
      EXPECT_EQ(U16(b, 1024 + 2 + 2 * i), 2 + 2 * (c.max_keys + 1) + i * (c.key_length + 8));
    }
  }
}

// Bulk build: pages full but for the last two of a level, leaves at one
// depth, and the leaves first in the file with the root last.
TEST(NtxLayout, BulkBuildFillsPagesAndPutsTheRootLast) {
  ScratchDir dir;
  std::vector<NtxEntry> entries;
  Model model;
  std::mt19937 rng(11);
  for (uint32_t r = 1; r <= 20000; ++r) {
    entries.push_back({Key(rng() % 5000, 6), r});
    model.emplace(entries.back().key, r);
  }
  std::unique_ptr<Ntx> ntx;
  ASSERT_EQ(Ntx::Create(engine::DiskFileSystem(), dir.File("b.ntx"), "K", 6, entries, &ntx), 0);
  ExpectSameAsModel(*ntx, model);
  ExpectCheckClean(*ntx, model.size());
  ntx.reset();
  std::string b = ReadAll(dir.File("b.ntx"));
  // 20000 entries at 62 keys a page and one between neighbours: 318
  // leaves, 6 branches, 1 root.
  EXPECT_EQ(b.size(), (1u + 318 + 6 + 1) * 1024);
  EXPECT_EQ(U32(b, 4), b.size() - 1024);
  int full = 0;
  for (size_t p = 1; p <= 318; ++p) full += U16(b, p * 1024) == 62;
  EXPECT_GE(full, 316);
  EXPECT_FALSE(std::filesystem::exists(dir.File("b.ntx.tmp~")));
}

// Input in any order, with long runs of equal keys: the build sorts on the
// record number too.
TEST(NtxLayout, BulkBuildSortsShuffledInput) {
  ScratchDir dir;
  std::vector<NtxEntry> entries;
  Model model;
  std::mt19937 rng(5);
  for (uint32_t r = 1; r <= 30000; ++r) {
    entries.push_back({Key(rng() % 4, 9), r});
    model.emplace(entries.back().key, entries.back().record);
  }
  std::shuffle(entries.begin(), entries.end(), rng);
  std::unique_ptr<Ntx> ntx;
  ASSERT_EQ(Ntx::Create(engine::DiskFileSystem(), dir.File("s.ntx"), "K", 9, entries, &ntx), 0);
  ExpectSameAsModel(*ntx, model);
  ExpectCheckClean(*ntx, model.size());
}

TEST(NtxLayout, EmptyIndexHasNoEntries) {
  ScratchDir dir;
  std::unique_ptr<Ntx> ntx;
  ASSERT_EQ(Ntx::Create(engine::DiskFileSystem(), dir.File("z.ntx"), "K", 5, {}, &ntx), 0);
  EXPECT_EQ(ntx->Top(), r4eof);
  EXPECT_EQ(ntx->Bottom(), r4eof);
  EXPECT_EQ(ntx->Next(), r4eof);
  EXPECT_EQ(ntx->Seek("a"), r4eof);
  EXPECT_FALSE(ntx->Positioned());
  double f = -1;
  EXPECT_EQ(ntx->Position(&f), r4eof);
  EXPECT_EQ(ntx->Insert("abcde", 1), 0);
  EXPECT_EQ(ntx->Seek("a"), 0);
  ASSERT_EQ(ntx->Position(&f), 0);
  EXPECT_EQ(f, 1.0);  // the only entry is the last one
  EXPECT_EQ(ntx->Remove("abcde", 1), 0);
  EXPECT_EQ(ntx->Top(), r4eof);
  ASSERT_EQ(ntx->Flush(false), 0);
  EXPECT_EQ(std::filesystem::file_size(dir.File("z.ntx")), 2048u);
}

TEST(NtxLayout, ReadersFollowTheOffsetTable) {
  ScratchDir dir;
  std::vector<NtxEntry> entries;
  Model model;
  for (uint32_t r = 1; r <= 500; ++r) {
    entries.push_back({Key(r * 7 % 101, 8), r});
    model.emplace(entries.back().key, r);
  }
  std::unique_ptr<Ntx> ntx;
  ASSERT_EQ(Ntx::Create(engine::DiskFileSystem(), dir.File("o.ntx"), "K", 8, entries, &ntx), 0);
  ntx.reset();
  // Store every page's slots in reverse physical order.
  std::string b = ReadAll(dir.File("o.ntx"));
  const int max = 54, item = 16, first = 2 + 2 * (max + 1);
  for (size_t p = 1024; p < b.size(); p += 1024) {
    std::string copy = b.substr(p, 1024);
    for (int i = 0; i <= max; ++i) {
      int to = first + (max - i) * item;
      std::memcpy(&b[p + to], copy.data() + first + i * item, item);
      b[p + 2 + 2 * i] = static_cast<char>(to & 0xff);
      b[p + 3 + 2 * i] = static_cast<char>(to >> 8);
    }
  }
  WriteAll(dir.File("o.ntx"), b);
  ASSERT_EQ(Ntx::Open(engine::DiskFileSystem(), dir.File("o.ntx"), false, &ntx), 0);
  ExpectSameAsModel(*ntx, model);
  ExpectCheckClean(*ntx, model.size());
  // Changing such pages works too.
  for (uint32_t r = 1; r <= 500; r += 2) {
    ASSERT_EQ(ntx->Remove(Key(r * 7 % 101, 8), r), 0);
    model.erase({Key(r * 7 % 101, 8), r});
  }
  for (uint32_t r = 501; r <= 700; ++r) {
    ASSERT_EQ(ntx->Insert(Key(r % 13, 8), r), 0);
    model.emplace(Key(r % 13, 8), r);
  }
  ExpectSameAsModel(*ntx, model);
  ExpectCheckClean(*ntx, model.size());
}

TEST(NtxTree, FreedPagesAreReusedBeforeTheFileGrows) {
  ScratchDir dir;
  const std::string path = dir.File("f.ntx");
  std::unique_ptr<Ntx> ntx;
  ASSERT_EQ(Ntx::Create(engine::DiskFileSystem(), path, "K", 40, {}, &ntx), 0);
  for (uint32_t r = 1; r <= 3000; ++r) ASSERT_EQ(ntx->Insert(Key(r * 37 % 3001, 40), r), 0);
  ASSERT_EQ(ntx->Flush(false), 0);
  uintmax_t grown = std::filesystem::file_size(path);
  for (uint32_t r = 1; r <= 2900; ++r) ASSERT_EQ(ntx->Remove(Key(r * 37 % 3001, 40), r), 0);
  ASSERT_EQ(ntx->Flush(false), 0);
  std::string b = ReadAll(path);
  EXPECT_NE(U32(b, 8), 0u) << "no free list after removing most entries";
  for (uint32_t r = 3001; r <= 5900; ++r) ASSERT_EQ(ntx->Insert(Key(r * 37 % 3001, 40), r), 0);
  ASSERT_EQ(ntx->Flush(false), 0);
  EXPECT_LE(std::filesystem::file_size(path), grown);
  ExpectCheckClean(*ntx, 3000);
  // Reopened, the free list is still followed.
  ntx.reset();
  ASSERT_EQ(Ntx::Open(engine::DiskFileSystem(), path, false, &ntx), 0);
  for (uint32_t r = 3001; r <= 5900; ++r) ASSERT_EQ(ntx->Remove(Key(r * 37 % 3001, 40), r), 0);
  for (uint32_t r = 6001; r <= 8900; ++r) ASSERT_EQ(ntx->Insert(Key(r * 37 % 3001, 40), r), 0);
  ASSERT_EQ(ntx->Flush(false), 0);
  EXPECT_LE(std::filesystem::file_size(path), grown);
  ExpectCheckClean(*ntx, 3000);
}

class NtxCursorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::vector<NtxEntry> entries;
    // Keys "  0" .. " 99", each on records k*10+1 .. k*10+3 (300 entries,
    // several levels with 30-byte keys).
    for (uint32_t k = 0; k < 100; ++k) {
      for (uint32_t j = 1; j <= 3; ++j) entries.push_back({Key(k, 30), k * 10 + j});
    }
    ASSERT_EQ(Ntx::Create(engine::DiskFileSystem(), dir_.File("c.ntx"), "K", 30, entries, &ntx_),
              0);
  }
  ScratchDir dir_;
  std::unique_ptr<Ntx> ntx_;
};

TEST_F(NtxCursorTest, SeekComparesOnlyThePrefix) {
  struct Case {
    std::string prefix;
    int rc;
    std::string key;
    uint32_t record;
  };
  const std::string k42 = Key(42, 30);
  const std::vector<Case> cases = {
      {k42, 0, k42, 421},
      {k42.substr(0, 29), 0, Key(40, 30), 401},  // the first key starting " 4"
      {k42 + "tail", 0, k42, 421},               // cut to the key length
      {std::string(28, ' ') + "4:", r4after, Key(50, 30), 501},
      {std::string(30, '~'), r4eof, "", 0},
      {"", 0, Key(0, 30), 1},
  };
  for (const Case& c : cases) {
    int rc = ntx_->Seek(c.prefix);
    EXPECT_EQ(rc, c.rc) << '"' << c.prefix << '"';
    if (c.rc != r4eof) {
      EXPECT_EQ(ntx_->CurrentKey(), c.key) << '"' << c.prefix << '"';
      EXPECT_EQ(ntx_->CurrentRecord(), c.record) << '"' << c.prefix << '"';
    } else {
      EXPECT_FALSE(ntx_->Positioned());
    }
  }
  // A prefix of 28 blanks matches the first key whose first 28 bytes are blank.
  ASSERT_EQ(ntx_->Seek(std::string(28, ' ')), 0);
  EXPECT_EQ(ntx_->CurrentRecord(), 1u);
  ASSERT_EQ(ntx_->SeekEntry(k42, 422), 0);
  EXPECT_EQ(ntx_->CurrentRecord(), 422u);
  ASSERT_EQ(ntx_->SeekEntry(k42, 425), r4after);
  EXPECT_EQ(ntx_->CurrentRecord(), 431u);
  ASSERT_EQ(ntx_->SeekEntry(Key(99, 30), 994), r4eof);
}

TEST_F(NtxCursorTest, StepsFromTheEnds) {
  ASSERT_EQ(ntx_->Bottom(), 0);
  EXPECT_EQ(ntx_->CurrentRecord(), 993u);
  EXPECT_EQ(ntx_->Next(), r4eof);
  EXPECT_EQ(ntx_->Next(), r4eof);
  ASSERT_EQ(ntx_->Prev(), 0);  // from the end back onto the last entry
  EXPECT_EQ(ntx_->CurrentRecord(), 993u);
  ASSERT_EQ(ntx_->Top(), 0);
  EXPECT_EQ(ntx_->Prev(), r4bof);
  ASSERT_EQ(ntx_->Next(), 0);
  EXPECT_EQ(ntx_->CurrentRecord(), 1u);
}

TEST_F(NtxCursorTest, ReseatsAfterTheTreeChanged) {
  const std::string k42 = Key(42, 30), k43 = Key(43, 30), k41 = Key(41, 30);
  // Current entry removed: Next lands on the next greater pair.
  ASSERT_EQ(ntx_->SeekEntry(k42, 423), 0);
  ASSERT_EQ(ntx_->Remove(k42, 423), 0);
  ASSERT_EQ(ntx_->Next(), 0);
  EXPECT_EQ(ntx_->CurrentRecord(), 431u);
  // ... and Prev on the next smaller.
  ASSERT_EQ(ntx_->SeekEntry(k42, 421), 0);
  ASSERT_EQ(ntx_->Remove(k42, 421), 0);
  ASSERT_EQ(ntx_->Prev(), 0);
  EXPECT_EQ(ntx_->CurrentRecord(), 413u);
  // Entries added around the current one are seen by the next step.
  ASSERT_EQ(ntx_->SeekEntry(k42, 422), 0);
  ASSERT_EQ(ntx_->Insert(k42, 500), 0);
  ASSERT_EQ(ntx_->Insert(k42, 100), 0);
  ASSERT_EQ(ntx_->Next(), 0);
  EXPECT_EQ(ntx_->CurrentRecord(), 500u);
  ASSERT_EQ(ntx_->Prev(), 0);
  EXPECT_EQ(ntx_->CurrentRecord(), 422u);
  ASSERT_EQ(ntx_->Prev(), 0);
  EXPECT_EQ(ntx_->CurrentRecord(), 100u);
  // The last entry removed while current: Next reports the end.
  ASSERT_EQ(ntx_->Bottom(), 0);
  ASSERT_EQ(ntx_->Remove(Key(99, 30), 993), 0);
  EXPECT_EQ(ntx_->Next(), r4eof);
  // Many changes (splits and merges) between two steps.
  ASSERT_EQ(ntx_->SeekEntry(k41, 411), 0);
  for (uint32_t r = 2000; r < 2300; ++r) ASSERT_EQ(ntx_->Insert(k41, r), 0);
  for (uint32_t r = 2000; r < 2300; ++r) ASSERT_EQ(ntx_->Remove(k41, r), 0);
  ASSERT_EQ(ntx_->Next(), 0);
  EXPECT_EQ(ntx_->CurrentRecord(), 412u);
  (void)k43;
}

TEST_F(NtxCursorTest, PositionGrowsFromZeroToOneInKeyOrder) {
  double last = -1, f = -1;
  int count = 0;
  for (int rc = ntx_->Top(); rc == 0; rc = ntx_->Next(), ++count) {
    ASSERT_EQ(ntx_->Position(&f), 0);
    if (count == 0) {
      EXPECT_EQ(f, 0.0);
    }
    EXPECT_GE(f, last);
    // Near the true place.
    EXPECT_NEAR(f, count / 299.0, 0.1) << count;
    last = f;
  }
  EXPECT_EQ(last, 1.0);
}

TEST(NtxTree, RefusesDuplicatePairsAndMissingOnes) {
  ScratchDir dir;
  std::unique_ptr<Ntx> ntx;
  std::vector<NtxEntry> twice = {{"ab", 1}, {"ab", 1}};
  EXPECT_EQ(Ntx::Create(engine::DiskFileSystem(), dir.File("d.ntx"), "K", 2, twice, &ntx), e4parm);
  std::vector<NtxEntry> wrong_length = {{"abc", 1}};
  EXPECT_EQ(Ntx::Create(engine::DiskFileSystem(), dir.File("d.ntx"), "K", 2, wrong_length, &ntx),
            e4parm);
  EXPECT_FALSE(std::filesystem::exists(dir.File("d.ntx")));
  ASSERT_EQ(Ntx::Create(engine::DiskFileSystem(), dir.File("d.ntx"), "K", 2, {{"ab", 1}}, &ntx), 0);
  EXPECT_EQ(ntx->Insert("ab", 1), e4index);
  EXPECT_EQ(ntx->Remove("ab", 2), e4index);
  EXPECT_EQ(ntx->Insert("abc", 2), e4parm);
  ntx.reset();
  ASSERT_EQ(Ntx::Open(engine::DiskFileSystem(), dir.File("d.ntx"), true, &ntx), 0);
  EXPECT_EQ(ntx->Insert("ac", 2), e4write);
  EXPECT_EQ(ntx->Flush(true), 0);
}

// A file system that counts Sync calls of the files it hands out.
class CountingFileSystem final : public engine::FileSystem {
 public:
  int syncs = 0;
  int Open(const std::string& path, engine::OpenMode mode,
           std::unique_ptr<engine::File>* out) override {
    std::unique_ptr<engine::File> inner;
    int rc = engine::DiskFileSystem().Open(path, mode, &inner);
    if (rc != 0) return rc;
    *out = std::make_unique<Counted>(std::move(inner), this);
    return 0;
  }
  int Rename(const std::string& from, const std::string& to) override {
    return engine::DiskFileSystem().Rename(from, to);
  }
  int Remove(const std::string& path) override { return engine::DiskFileSystem().Remove(path); }
  bool Exists(const std::string& path) override { return engine::DiskFileSystem().Exists(path); }

 private:
  class Counted final : public engine::File {
   public:
    Counted(std::unique_ptr<engine::File> f, CountingFileSystem* fs) : f_(std::move(f)), fs_(fs) {}
    int64_t ReadAt(uint64_t o, void* b, size_t n) override { return f_->ReadAt(o, b, n); }
    int WriteAt(uint64_t o, const void* d, size_t n) override { return f_->WriteAt(o, d, n); }
    int Truncate(uint64_t s) override { return f_->Truncate(s); }
    int Sync() override {
      ++fs_->syncs;
      return f_->Sync();
    }
    int64_t Size() override { return f_->Size(); }

   private:
    std::unique_ptr<engine::File> f_;
    CountingFileSystem* fs_;
  };
};

TEST(NtxFlush, WritesEverythingAndSyncsOnce) {
  ScratchDir dir;
  CountingFileSystem fs;
  std::unique_ptr<Ntx> ntx;
  ASSERT_EQ(Ntx::Create(fs, dir.File("s.ntx"), "K", 20, {}, &ntx), 0);
  ASSERT_EQ(ntx->SetCacheBytes(32 * 1024), 0);  // small: evictions write pages early
  for (uint32_t r = 1; r <= 2000; ++r) ASSERT_EQ(ntx->Insert(Key(r * 13 % 1999, 20), r), 0);
  fs.syncs = 0;
  ASSERT_EQ(ntx->Flush(true), 0);
  EXPECT_EQ(fs.syncs, 1);
  ASSERT_EQ(ntx->Flush(false), 0);
  EXPECT_EQ(fs.syncs, 1);
  // What is on disk now is the whole tree, with the change counter moved on.
  std::unique_ptr<Ntx> other;
  ASSERT_EQ(Ntx::Open(engine::DiskFileSystem(), dir.File("s.ntx"), true, &other), 0);
  ExpectCheckClean(*other, 2000);
  std::string b = ReadAll(dir.File("s.ntx"));
  EXPECT_GT(U16(b, 2), 1000);
}

TEST(NtxFlush, FailedCreateLeavesNoFile) {
  ScratchDir dir;
  engine::FaultyFileSystem fs;
  std::vector<NtxEntry> entries;
  for (uint32_t r = 1; r <= 5000; ++r) entries.push_back({Key(r, 6), r});
  fs.FailAfterBytes(50000);
  std::unique_ptr<Ntx> ntx;
  EXPECT_EQ(Ntx::Create(fs, dir.File("x.ntx"), "K", 6, entries, &ntx), e4write);
  EXPECT_EQ(ntx, nullptr);
  EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
  fs.Reset();
  fs.SetReadOnly(true);
  EXPECT_EQ(Ntx::Create(fs, dir.File("x.ntx"), "K", 6, entries, &ntx), e4create);
  // A failing write during Flush is reported.
  fs.Reset();
  ASSERT_EQ(Ntx::Create(fs, dir.File("x.ntx"), "K", 6, entries, &ntx), 0);
  for (uint32_t r = 5001; r <= 5100; ++r) ASSERT_EQ(ntx->Insert(Key(r, 6), r), 0);
  fs.FailFromStep(1);
  EXPECT_EQ(ntx->Flush(false), e4write);
  fs.Reset();
  EXPECT_EQ(ntx->Flush(false), 0);
}

TEST(NtxCheck, ReportsKeysThatDisagreeWithTheTable) {
  ScratchDir dir;
  std::vector<NtxEntry> entries;
  for (uint32_t r = 1; r <= 400; ++r) entries.push_back({Key(r % 50, 12), r});
  std::unique_ptr<Ntx> ntx;
  ASSERT_EQ(Ntx::Create(engine::DiskFileSystem(), dir.File("k.ntx"), "K", 12, entries, &ntx), 0);
  std::function<bool(uint32_t, std::string*)> key_of = [](uint32_t r, std::string* key) {
    *key = Key(r % 50, 12);
    return true;
  };
  Ntx::CheckReport report;
  ASSERT_EQ(ntx->Check(400, &key_of, &report), 0);
  EXPECT_EQ(report.entries, 400u);

  struct Case {
    const char* what;
    uint32_t record_count;
    std::function<void(Ntx&)> change;
    std::string expected;
  };
  const std::vector<Case> cases = {
      {"missing record", 401, [](Ntx&) {}, "record 401: missing from the index"},
      {"extra record", 399, [](Ntx&) {}, "record 400 outside the table (1 to 399)"},
      {"wrong key", 400,
       [](Ntx& n) {
         ASSERT_EQ(n.Remove(Key(7, 12), 7), 0);
         ASSERT_EQ(n.Insert(Key(8, 12), 7), 0);
       },
       "record 7: key \"           8\", expected \"           7\""},
  };
  for (const Case& c : cases) {
    c.change(*ntx);
    EXPECT_EQ(ntx->Check(c.record_count, &key_of, &report), e4index) << c.what;
    bool found = false;
    for (const auto& p : report.problems) found = found || p.find(c.expected) != std::string::npos;
    EXPECT_TRUE(found) << c.what << ": " << (report.problems.empty() ? "" : report.problems[0]);
  }
}

}  // namespace
