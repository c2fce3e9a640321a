// Damaged index files: cut short, header fields and page bytes changed,
// cycles. Every call must return an error or valid data, never crash or
// hang (these tests run under AddressSanitizer and UBSan).

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>

#include "EngineTestUtil.h"
#include "engine/FileSystem.h"
#include "engine/Ntx.h"
#include "engine/TableEngine.h"

namespace {

using engine::Ntx;
using engine::NtxEntry;
using engine_test::ReadAll;
using engine_test::ScratchDir;
using engine_test::WriteAll;

constexpr int kKeyLength = 40;  // 18 keys a page: three levels for 1000 entries
constexpr uint32_t kEntries = 1000;

std::string Key(uint32_t r) {
  std::string k = "key" + std::to_string(r * 7919 % 1009);
  return k + std::string(kKeyLength - k.size(), ' ');
}

// A valid three-level index file, built once.
const std::string& ValidFile() {
  static const std::string bytes = [] {
    ScratchDir dir;
    std::vector<NtxEntry> entries;
    for (uint32_t r = 1; r <= kEntries; ++r) entries.push_back({Key(r), r});
    std::unique_ptr<Ntx> ntx;
    if (Ntx::Create(engine::DiskFileSystem(), dir.File("v.ntx"), "KEY", kKeyLength, entries,
                    &ntx) != 0) {
      return std::string();
    }
    // Some changes so pages are not all in bulk-built shape.
    for (uint32_t r = 1; r <= kEntries; r += 3) (void)ntx->Remove(Key(r), r);
    for (uint32_t r = 1; r <= kEntries; r += 3) (void)ntx->Insert(Key(r), r + kEntries);
    if (ntx->Flush(false) != 0) return std::string();
    ntx.reset();
    return ReadAll(dir.File("v.ntx"));
  }();
  return bytes;
}

bool ValidResult(int rc) {
  return rc == 0 || rc == r4after || rc == r4eof || rc == r4bof || rc == e4index || rc == e4read;
}

// Runs every reading call (and a few changes) over the file; all must end.
void Exercise(const std::string& path, const std::string& what) {
  SCOPED_TRACE(what);
  std::unique_ptr<Ntx> ntx;
  int rc = Ntx::Open(engine::DiskFileSystem(), path, false, &ntx);
  if (rc != 0) {
    EXPECT_TRUE(rc == e4index || rc == e4read) << rc;
    EXPECT_EQ(ntx, nullptr);
    return;
  }
  const int kMaxSteps = 4 * kEntries;
  int steps = 0;
  for (rc = ntx->Top(); rc == 0 && steps < kMaxSteps; rc = ntx->Next()) {
    ASSERT_EQ(ntx->CurrentKey().size(), static_cast<size_t>(kKeyLength));
    ++steps;
  }
  EXPECT_TRUE(ValidResult(rc)) << rc;
  steps = 0;
  for (rc = ntx->Bottom(); rc == 0 && steps < kMaxSteps; rc = ntx->Prev()) ++steps;
  EXPECT_TRUE(ValidResult(rc)) << rc;
  for (uint32_t r : {1u, 500u, 999u}) {
    EXPECT_TRUE(ValidResult(ntx->Seek(Key(r).substr(0, 5)))) << r;
    double f;
    EXPECT_TRUE(ValidResult(ntx->Position(&f)));
    EXPECT_TRUE(ValidResult(ntx->SeekEntry(Key(r), r)));
  }
  Ntx::CheckReport report;
  rc = ntx->Check(2 * kEntries, nullptr, &report);
  EXPECT_TRUE(rc == 0 || rc == e4index || rc == e4read) << rc;
  EXPECT_LE(report.problems.size(), 201u);
  for (uint32_t r = 2; r <= 400; r += 37) {
    EXPECT_TRUE(ValidResult(ntx->Remove(Key(r), r)));
    EXPECT_TRUE(ValidResult(ntx->Insert(Key(r), 5000 + r)));
  }
  (void)ntx->Flush(false);
}

TEST(NtxCorruption, TheValidFileIsClean) {
  ScratchDir dir;
  ASSERT_FALSE(ValidFile().empty());
  WriteAll(dir.File("v.ntx"), ValidFile());
  std::unique_ptr<Ntx> ntx;
  ASSERT_EQ(Ntx::Open(engine::DiskFileSystem(), dir.File("v.ntx"), true, &ntx), 0);
  Ntx::CheckReport report;
  ASSERT_EQ(ntx->Check(0, nullptr, &report), 0);
  EXPECT_EQ(report.entries, kEntries);
  EXPECT_GE(ValidFile().size(), 60u * 1024);
}

TEST(NtxCorruption, CutShort) {
  ScratchDir dir;
  const std::string& valid = ValidFile();
  std::vector<size_t> cuts = {0, 1, 21, 300, 1023, 1025, 1500, 2047, valid.size() - 1};
  for (size_t at = 1024; at < valid.size(); at += 1024) cuts.push_back(at);
  for (size_t at : cuts) {
    WriteAll(dir.File("c.ntx"), valid.substr(0, at));
    Exercise(dir.File("c.ntx"), "cut at " + std::to_string(at));
  }
}

TEST(NtxCorruption, HeaderFieldsChanged) {
  ScratchDir dir;
  const std::string& valid = ValidFile();
  for (size_t at = 0; at < 24; ++at) {
    for (uint8_t value : {0x00, 0x01, 0x03, 0x7f, 0xff}) {
      std::string b = valid;
      if (static_cast<uint8_t>(b[at]) == value) continue;
      b[at] = static_cast<char>(value);
      WriteAll(dir.File("h.ntx"), b);
      Exercise(dir.File("h.ntx"),
               "header byte " + std::to_string(at) + " = " + std::to_string(value));
    }
  }
  // An expression without its terminating NUL.
  std::string b = valid;
  std::fill(b.begin() + 22, b.begin() + 22 + 256, 'x');
  WriteAll(dir.File("h.ntx"), b);
  std::unique_ptr<Ntx> ntx;
  EXPECT_EQ(Ntx::Open(engine::DiskFileSystem(), dir.File("h.ntx"), true, &ntx), e4index);
}

TEST(NtxCorruption, HeaderChecksAtOpen) {
  ScratchDir dir;
  struct Case {
    const char* what;
    size_t at;
    uint16_t value;
  };
  const std::vector<Case> cases = {
      {"signature", 0, 7},       {"key length 0", 14, 0},      {"key length 251", 14, 251},
      {"item size", 12, 47},     {"too many keys", 18, 21},    {"root off the grid", 4, 1000},
      {"root outside", 6, 0x10}, {"free list off grid", 8, 5},
  };
  for (const Case& c : cases) {
    std::string b = ValidFile();
    b[c.at] = static_cast<char>(c.value & 0xff);
    b[c.at + 1] = static_cast<char>(c.value >> 8);
    WriteAll(dir.File("o.ntx"), b);
    std::unique_ptr<Ntx> ntx;
    EXPECT_EQ(Ntx::Open(engine::DiskFileSystem(), dir.File("o.ntx"), false, &ntx), e4index)
        << c.what;
  }
}

TEST(NtxCorruption, PageBytesChanged) {
  ScratchDir dir;
  const std::string& valid = ValidFile();
  std::mt19937 rng(2024);
  for (int round = 0; round < 400; ++round) {
    std::string b = valid;
    // The structural parts of pages most of the time: counts, offset tables,
    // child pointers; any byte otherwise.
    size_t page = 1024 * (1 + rng() % (valid.size() / 1024 - 1));
    size_t at;
    switch (round % 4) {
      case 0:
        at = page + rng() % 2;
        break;
      case 1:
        at = page + 2 + rng() % 38;
        break;
      case 2:
        at = page + 40 + (rng() % 19) * 48 + rng() % 4;
        break;
      default:
        at = page + rng() % 1024;
        break;
    }
    b[at] = static_cast<char>(rng() % 4 == 0 ? 0xff : rng());
    WriteAll(dir.File("p.ntx"), b);
    Exercise(dir.File("p.ntx"), "byte " + std::to_string(at));
  }
}

uint32_t Root(const std::string& b) {
  uint32_t v;
  std::memcpy(&v, b.data() + 4, 4);
  return v;
}

TEST(NtxCorruption, CheckNamesTheProblem) {
  ScratchDir dir;
  const std::string& valid = ValidFile();
  const uint32_t root = Root(valid);
  const int first_slot = 2 + 2 * 19;
  struct Case {
    const char* what;
    std::function<void(std::string&)> damage;
    std::string expected;
  };
  auto put16 = [](std::string& b, size_t at, uint16_t v) { std::memcpy(&b[at], &v, 2); };
  auto put32 = [](std::string& b, size_t at, uint32_t v) { std::memcpy(&b[at], &v, 4); };
  auto child = [&](const std::string& b, uint32_t page, int i) {
    uint16_t off;
    std::memcpy(&off, b.data() + page + 2 + 2 * i, 2);
    uint32_t c;
    std::memcpy(&c, b.data() + page + off, 4);
    return c;
  };
  const std::vector<Case> cases = {
      {"key count", [&](std::string& b) { put16(b, child(b, root, 0), 19); },
       "19 keys, maximum 18"},
      {"cycle",
       [&](std::string& b) {
         uint32_t c = child(b, root, 0);
         uint16_t off;
         std::memcpy(&off, b.data() + c + 2, 2);
         put32(b, c + off, root);
       },
       "reached twice"},
      {"off the grid",
       [&](std::string& b) {
         uint16_t off;
         std::memcpy(&off, b.data() + root + 2, 2);
         put32(b, root + off, 1500);
       },
       "not on the 1024-byte grid"},
      {"outside",
       [&](std::string& b) {
         uint16_t off;
         std::memcpy(&off, b.data() + root + 2, 2);
         put32(b, root + off, 1024 * 5000);
       },
       "outside the file"},
      {"offset table", [&](std::string& b) { put16(b, child(b, root, 1) + 2, 3); },
       "overlapping the table"},
      {"offset past the page", [&](std::string& b) { put16(b, child(b, root, 1) + 4, 1000); },
       "pointing outside the page"},
      {"order",
       [&](std::string& b) {
         uint32_t leaf = child(b, child(b, root, 0), 0);
         std::swap_ranges(b.begin() + leaf + first_slot + 8, b.begin() + leaf + first_slot + 48,
                          b.begin() + leaf + first_slot + 48 + 8);
       },
       "out of order"},
  };
  for (const Case& c : cases) {
    std::string b = valid;
    c.damage(b);
    WriteAll(dir.File("d.ntx"), b);
    std::unique_ptr<Ntx> ntx;
    int rc = Ntx::Open(engine::DiskFileSystem(), dir.File("d.ntx"), true, &ntx);
    if (rc != 0) {
      ADD_FAILURE() << c.what << ": only the root page is read at Open";
      continue;
    }
    Ntx::CheckReport report;
    EXPECT_EQ(ntx->Check(0, nullptr, &report), e4index) << c.what;
    bool found = false;
    for (const auto& p : report.problems) found = found || p.find(c.expected) != std::string::npos;
    EXPECT_TRUE(found) << c.what << ": "
                       << (report.problems.empty() ? "no problem" : report.problems[0]);
  }
}

}  // namespace
