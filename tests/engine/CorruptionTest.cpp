// Damaged tables and memo files: cut at every byte and with bytes flipped,
// every open, walk and check ends with an error code or with data, never a
// crash or a hang.

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "EngineTestUtil.h"

namespace {

using engine_test::EngineFixture;
using engine_test::ReadAll;
using engine_test::WriteAll;

class CorruptionTest : public EngineFixture {
 protected:
  explicit CorruptionTest(bool in_memory = false) : EngineFixture(in_memory) {}
  void SetUp() override {
    EngineFixture::SetUp();
    const FIELD4INFO fields[] = {{"NAME", 'C', 20, 0}, {"AMT", 'N', 9, 2},   {"DAY", 'D', 8, 0},
                                 {"OK", 'L', 1, 0},    {"TEXT", 'M', 10, 0}, {nullptr, 0, 0, 0}};
    DATA4* d = d4create(cb_, "GOOD", fields);
    ASSERT_NE(d, nullptr);
    for (int i = 0; i < 6; ++i) {
      ASSERT_EQ(d4appendBlank(d), 0);
      f4assign(d4field(d, "NAME"), ("name " + std::to_string(i)).c_str());
      f4assignDouble(d4field(d, "AMT"), i * 1.5);
      ASSERT_EQ(f4memoAssign(d4field(d, "TEXT"), std::string(300 * i + 10, 'a' + i).c_str()), 0);
    }
    ASSERT_EQ(d4close(d), 0);
    table_ = ReadAll(dir_.File("GOOD.dbf"));
    memo_ = ReadAll(dir_.File("GOOD.dbt"));
    code4autoOpen(cb_, 0);
  }

  // Opens the table as it now lies on disk, reads everything, checks and
  // closes. Returns the open's error (0 when it opened).
  int Exercise() {
    DATA4* d = d4open(cb_, "GOOD");
    if (d == nullptr) {
      int error = TakeError();
      EXPECT_LT(error, 0);
      return error;
    }
    int steps = 0;
    for (int rc = d4top(d); rc == r4success && steps < 100; rc = d4skip(d, 1), ++steps) {
      for (int j = 1; j <= d4numFields(d); ++j) {
        FIELD4* f = d4fieldJ(d, j);
        (void)f4str(f);
        double value = 0;
        (void)f4double2(f, &value);
        if (f4type(f) == 'M') (void)f4memoStr(f);
      }
    }
    EXPECT_LT(steps, 100);
    (void)d4go(d, 3);
    (void)d4check(d, nullptr);
    EXPECT_EQ(d4close(d), 0);
    TakeError();
    return 0;
  }

  std::string table_;
  std::string memo_;
};

TEST_F(CorruptionTest, TableCutAtEveryByte) {
  for (size_t cut = 0; cut < table_.size(); ++cut) {
    SCOPED_TRACE(cut);
    WriteAll(dir_.File("GOOD.dbf"), table_.substr(0, cut));
    WriteAll(dir_.File("GOOD.dbt"), memo_);
    int rc = Exercise();
    // Only the end marker may go missing without the table counting as damaged.
    if (cut + 1 < table_.size()) {
      EXPECT_EQ(rc, e4data);
    } else {
      EXPECT_EQ(rc, 0);
    }
  }
}

TEST_F(CorruptionTest, TableWithStructuralBytesFlipped) {
  size_t header = 32 + 5 * 32 + 1;
  for (size_t at = 0; at < header + 20; ++at) {
    for (unsigned char mask : {0x01, 0x10, 0x80, 0xFF}) {
      SCOPED_TRACE(std::to_string(at) + " ^ " + std::to_string(mask));
      std::string bad = table_;
      bad[at] = static_cast<char>(bad[at] ^ mask);
      WriteAll(dir_.File("GOOD.dbf"), bad);
      WriteAll(dir_.File("GOOD.dbt"), memo_);
      Exercise();
    }
  }
}

TEST_F(CorruptionTest, MemoFileCutAndFlipped) {
  for (size_t cut = 0; cut < memo_.size(); cut += (cut < 600 ? 1 : 7)) {
    SCOPED_TRACE(cut);
    WriteAll(dir_.File("GOOD.dbf"), table_);
    WriteAll(dir_.File("GOOD.dbt"), memo_.substr(0, cut));
    Exercise();
  }
  for (size_t at = 0; at < memo_.size(); at += 13) {
    SCOPED_TRACE(at);
    std::string bad = memo_;
    bad[at] = static_cast<char>(bad[at] ^ 0x5A);
    WriteAll(dir_.File("GOOD.dbf"), table_);
    WriteAll(dir_.File("GOOD.dbt"), bad);
    Exercise();
  }
  // Memo pointers of every shape.
  size_t pointer = 32 + 5 * 32 + 1 + 1 + 20 + 9 + 8 + 1;
  for (const char* text : {"4294967295", "9999999999", "0000000000", "        -1", "1         ",
                           "    1 2   ", "abcdefghij", "         0"}) {
    SCOPED_TRACE(text);
    std::string bad = table_;
    bad.replace(pointer, 10, text);
    WriteAll(dir_.File("GOOD.dbf"), bad);
    WriteAll(dir_.File("GOOD.dbt"), memo_);
    EXPECT_EQ(Exercise(), 0);
  }
}

// Another program cuts the table short while it is open: reading the records
// no longer in the file is an error, not a crash (a memory-mapped file would
// end the process with a bus error).
TEST_F(CorruptionTest, TableCutShortWhileOpenGivesAnErrorNotASignal) {
  const FIELD4INFO fields[] = {{"NAME", 'C', 40, 0}, {nullptr, 0, 0, 0}};
  DATA4* big = d4create(cb_, "BIG", fields);
  ASSERT_NE(big, nullptr);
  constexpr long kRecords = 4000;  // several of the reader's chunks
  for (long i = 0; i < kRecords; ++i) {
    ASSERT_EQ(d4appendBlank(big), 0);
    f4assign(d4field(big, "NAME"), ("name " + std::to_string(i)).c_str());
  }
  ASSERT_EQ(d4close(big), 0);
  const std::string whole = ReadAll(dir_.File("BIG.dbf"));
  const size_t header = 32 + 32 + 1;
  for (const size_t kept : {size_t{0}, header + 10 * 41, size_t{70000}, whole.size() - 100}) {
    SCOPED_TRACE(kept);
    WriteAll(dir_.File("BIG.dbf"), whole);
    DATA4* d = d4open(cb_, "BIG");
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(d4go(d, 1), 0);
    ASSERT_EQ(::truncate(dir_.File("BIG.dbf").c_str(), static_cast<off_t>(kept)), 0);
    EXPECT_NE(d4go(d, kRecords), 0);
    EXPECT_LT(TakeError(), 0);
    long walked = 0;
    for (int rc = d4top(d); rc == r4success && walked <= kRecords; rc = d4skip(d, 1)) ++walked;
    EXPECT_LT(walked, kRecords);
    TakeError();
    (void)d4close(d);
    TakeError();
  }
}

// A stop between writing appended records and the header that counts them
// leaves records after the count: check names them, appending refuses to
// write over them, and taking them in keeps the whole, well-formed ones.
TEST_F(CorruptionTest, RecordsBeyondTheCountAreKeptNotOverwritten) {
  const size_t header = 32 + 5 * 32 + 1;
  const size_t length = 1 + 20 + 9 + 8 + 1 + 10;
  struct Case {
    const char* what;
    uint32_t count;    // written into the header (the file holds 6 records)
    std::string tail;  // replaces the end-of-file marker
    long taken;        // records taken in; -1: refused as damage
  };
  const Case cases[] = {
      {"two records not counted", 4, "\x1A", 2},
      {"none counted", 0, "", 6},
      {"a record cut short after them", 5, std::string(length / 2, 'x'), 1},
      {"zeros where a record should be", 5, std::string(length, '\0'), 1},
      {"a good record after a bad one is left alone", 3, "", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string bad = table_.substr(0, table_.size() - 1) + c.tail;
    for (int i = 0; i < 4; ++i) bad[4 + i] = static_cast<char>((c.count >> (8 * i)) & 0xFF);
    if (c.taken < 0) bad[header + 4 * length] = 'X';
    WriteAll(dir_.File("GOOD.dbf"), bad);
    WriteAll(dir_.File("GOOD.dbt"), memo_);
    DATA4* d = d4open(cb_, "GOOD");
    ASSERT_NE(d, nullptr);
    EXPECT_EQ(d4recCountDo(d), static_cast<long>(c.count));
    std::vector<std::string> problems;
    EXPECT_NE(d4check(d, &problems), 0);
    ASSERT_FALSE(problems.empty());
    EXPECT_NE(problems.front().find("more records than"), std::string::npos) << problems.front();
    EXPECT_EQ(d4appendBlank(d), e4data);
    TakeError();
    long taken = -1;
    if (c.taken < 0) {
      EXPECT_EQ(d4recoverRecords(d, &taken), e4data);
      TakeError();
      EXPECT_EQ(d4recCountDo(d), static_cast<long>(c.count));
      EXPECT_EQ(d4close(d), 0);
      EXPECT_EQ(ReadAll(dir_.File("GOOD.dbf")), bad);
      continue;
    }
    ASSERT_EQ(d4recoverRecords(d, &taken), 0);
    EXPECT_EQ(taken, c.taken);
    EXPECT_EQ(d4recCountDo(d), static_cast<long>(c.count) + c.taken);
    ASSERT_EQ(d4go(d, d4recCountDo(d)), r4success);
    EXPECT_EQ(std::string(f4str(d4field(d, "NAME"))).substr(0, 6),
              "name " + std::to_string(d4recCountDo(d) - 1));
    problems.clear();
    EXPECT_EQ(d4check(d, &problems), 0) << (problems.empty() ? "" : problems.front());
    EXPECT_EQ(d4appendBlank(d), 0);
    EXPECT_EQ(d4close(d), 0);
    EXPECT_EQ(ReadAll(dir_.File("GOOD.dbf")).size(),
              header + length * static_cast<size_t>(c.count + c.taken + 1) + 1);
  }
}

TEST_F(CorruptionTest, WritesToADamagedMemoFileStayInsideIt) {
  // A header whose next free block points far away must not make the file huge.
  std::string bad = memo_;
  bad[0] = bad[1] = bad[2] = bad[3] = static_cast<char>(0xFF);
  WriteAll(dir_.File("GOOD.dbt"), bad);
  DATA4* d = d4open(cb_, "GOOD");
  ASSERT_NE(d, nullptr);
  ASSERT_EQ(d4go(d, 1), r4success);
  ASSERT_EQ(f4memoAssign(d4field(d, "TEXT"), std::string(5000, 'z').c_str()), 0);
  ASSERT_EQ(d4close(d), 0);
  EXPECT_LT(ReadAll(dir_.File("GOOD.dbt")).size(), memo_.size() + 6000);
  d = d4open(cb_, "GOOD");
  ASSERT_NE(d, nullptr);
  ASSERT_EQ(d4go(d, 1), r4success);
  EXPECT_EQ(std::string(f4memoStr(d4field(d, "TEXT"))), std::string(5000, 'z'));
  EXPECT_EQ(d4close(d), 0);
}

// Damaged copies of a table with its memo file, two tags and their group:
// bits flipped, the file cut short, header fields set to extremes, a few
// bytes replaced. Opening with the tags, walking in both orders, reading the
// memos, checking and rebuilding the group end with a status every time.
// (The sanitizers of this test's build turn any bad access into a failure;
// tools/damage/campaign.py runs the same kinds of damage on whole data sets.)
class DamagedFilesTest : public CorruptionTest {
 protected:
  DamagedFilesTest() : CorruptionTest(true) {}
  void SetUp() override {
    CorruptionTest::SetUp();
    code4autoOpen(cb_, 0);
    DATA4* d = d4open(cb_, "GOOD");
    ASSERT_NE(d, nullptr);
    ASSERT_NE(i4create(d, "GOOD", kTags), nullptr);
    ASSERT_EQ(d4close(d), 0);
    for (const char* name : {"GOOD.dbf", "GOOD.dbt", "GOOD.cgp", "gname.ntx", "gamt.ntx"}) {
      files_[name] = ReadAll(dir_.File(name));
    }
  }

  // Puts every file back, with damaged in place of its own.
  void Lay(const std::string& name, const std::string& damaged) {
    for (const auto& [file, bytes] : files_) {
      WriteAll(dir_.File(file), file == name ? damaged : bytes);
    }
  }

  void Exercise() {
    code4autoOpen(cb_, 1);
    DATA4* d = d4open(cb_, "GOOD");
    if (d != nullptr) {
      for (TAG4* tag : {static_cast<TAG4*>(nullptr), d4tag(d, "GNAME")}) {
        TakeError();
        (void)d4tagSelectP(d, tag);
        int steps = 0;
        for (int rc = d4top(d); rc == r4success && steps < 50; rc = d4skip(d, 1), ++steps) {
          (void)f4str(d4field(d, "NAME"));
          (void)f4memoStr(d4field(d, "TEXT"));
        }
        EXPECT_LT(steps, 50);
      }
      (void)d4check(d, nullptr);
      (void)d4close(d);
    }
    TakeError();
    code4autoOpen(cb_, 0);
    code4safety(cb_, 0);
    d = d4open(cb_, "GOOD");
    if (d != nullptr) {
      (void)i4create(d, "GOOD", kTags);
      (void)d4close(d);
    }
    TakeError();
  }

  static constexpr TAG4INFO kTags[] = {{"gname", "NAME", nullptr, 0, 0},
                                       {"gamt", "Str(AMT,9,2)", nullptr, 0, 0},
                                       {nullptr, nullptr, nullptr, 0, 0}};
  std::map<std::string, std::string> files_;
};

struct Damage {
  const char* file;
  // Header fields (offset, size) set to extremes.
  std::vector<std::pair<size_t, int>> fields;
};

TEST_F(DamagedFilesTest, EveryKindOfDamageEndsWithAStatus) {
  const Damage damages[] = {
      {"GOOD.dbf", {{0, 1}, {4, 4}, {8, 2}, {10, 2}, {43, 1}, {48, 1}, {49, 1}, {80, 1}}},
      {"GOOD.dbt", {{0, 4}, {16, 1}}},
      {"gname.ntx",
       {{2, 2},
        {4, 4},
        {8, 4},
        {12, 2},
        {14, 2},
        {16, 2},
        {18, 2},
        {20, 2},
        {278, 1},
        {1024, 2},
        {1026, 2}}},
      {"GOOD.cgp", {}},
  };
  std::mt19937 random(13);
  int inputs = 0;
  for (const Damage& damage : damages) {
    const std::string& good = files_[damage.file];
    ASSERT_FALSE(good.empty()) << damage.file;
    auto at = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random); };
    std::vector<std::string> inputs_of_file;
    for (int i = 0; i < 24; ++i) {  // bits flipped
      std::string bad = good;
      for (int k = 0; k < 1 + i % 3; ++k) bad[at(bad.size())] ^= static_cast<char>(1 << at(8));
      inputs_of_file.push_back(bad);
    }
    for (int i = 0; i < 12; ++i) inputs_of_file.push_back(good.substr(0, at(good.size())));
    for (int i = 0; i < 8; ++i) {  // a few bytes replaced
      std::string bad = good;
      const size_t where = at(bad.size());
      for (size_t k = where; k < std::min(bad.size(), where + 4); ++k) {
        bad[k] = static_cast<char>(at(256));
      }
      inputs_of_file.push_back(bad);
    }
    for (const auto& [offset, size] : damage.fields) {
      for (uint64_t value : {uint64_t{0}, uint64_t{1}, (uint64_t{1} << (8 * size)) - 1,
                             (uint64_t{1} << (8 * size - 1))}) {
        std::string bad = good;
        for (int k = 0; k < size; ++k) bad[offset + k] = static_cast<char>(value >> (8 * k));
        inputs_of_file.push_back(bad);
      }
    }
    for (const std::string& bad : inputs_of_file) {
      SCOPED_TRACE(std::string(damage.file) + " input " + std::to_string(inputs));
      Lay(damage.file, bad);
      Exercise();
      ++inputs;
    }
  }
  Lay("", "");
  EXPECT_GE(inputs, 250);
}

}  // namespace
