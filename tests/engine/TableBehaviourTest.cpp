// Behaviour of the flat interface: positioning return codes, field
// assignment, record buffering, tags, pack and zap, errors, locks and
// injected write failures.

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "EngineTestUtil.h"
#include "testing/FaultyFileSystem.h"

namespace {

using engine_test::EngineFixture;

const FIELD4INFO kItemFields[] = {
    {"IvNo", 'N', 6, 0},  {"PrID", 'C', 10, 0}, {"Qty", 'N', 12, 2},   {"PDesc", 'C', 27, 0},
    {"LTax1", 'L', 1, 0}, {"IDate", 'D', 8, 0}, {"Notes", 'M', 10, 0}, {nullptr, 0, 0, 0},
};

const TAG4INFO kItemTags[] = {
    {"Itm", "Str(IvNo,6,0)", nullptr, 0, 0},
    {"ItmP", "PrID + Str(IvNo,6,0)", nullptr, 0, 0},
    {nullptr, nullptr, nullptr, 0, 0},
};

class TableTest : public EngineFixture {
 protected:
  // A table ITEMS with the given (IvNo, PrID) rows and the two tags.
  DATA4* MakeItems(const std::vector<std::pair<int, std::string>>& rows, bool tags = true) {
    DATA4* d = d4create(cb_, "ITEMS", kItemFields);
    EXPECT_NE(d, nullptr);
    if (d == nullptr) return nullptr;
    for (const auto& [ivno, prid] : rows) {
      EXPECT_EQ(d4appendBlank(d), 0);
      f4assignInt(d4field(d, "IvNo"), ivno);
      f4assign(d4field(d, "PrID"), prid.c_str());
    }
    EXPECT_EQ(d4flush(d), 0);
    if (tags) {
      EXPECT_NE(i4create(d, "ITEMS", kItemTags), nullptr);
    }
    return d;
  }
  std::vector<long> WalkTag(DATA4* d, const char* tag) {
    std::vector<long> order;
    EXPECT_EQ(d4tagSelectP(d, tag == nullptr ? nullptr : d4tag(d, tag)), 0);
    for (int rc = d4top(d); rc == r4success; rc = d4skip(d, 1)) order.push_back(d4recNo(d));
    return order;
  }
};

TEST_F(TableTest, EmptyTableReportsEofEverywhere) {
  DATA4* d = MakeItems({});
  ASSERT_NE(d, nullptr);
  for (const char* tag : {static_cast<const char*>(nullptr), "Itm"}) {
    EXPECT_GE(d4tagSelectP(d, tag == nullptr ? nullptr : d4tag(d, tag)), 0);
    EXPECT_EQ(d4top(d), r4eof);
    EXPECT_EQ(d4bottom(d), r4eof);
    EXPECT_EQ(d4recNo(d), 0);
    EXPECT_TRUE(d4eof(d));
    EXPECT_EQ(d4skip(d, 1), r4eof);
    EXPECT_EQ(d4skip(d, -1), r4bof);
  }
  EXPECT_EQ(d4recCountDo(d), 0);
  EXPECT_EQ(TakeError(), 0);
}

TEST_F(TableTest, SkipReturnCodesInRecordAndTagOrder) {
  DATA4* d = MakeItems({{3, "C"}, {1, "A"}, {2, "B"}});
  ASSERT_NE(d, nullptr);
  struct Case {
    const char* tag;
    std::vector<long> order;
  } cases[] = {{nullptr, {1, 2, 3}}, {"itm", {2, 3, 1}}, {"ITMP", {2, 3, 1}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.tag == nullptr ? "record order" : c.tag);
    EXPECT_EQ(WalkTag(d, c.tag), c.order);
    EXPECT_TRUE(d4eof(d));
    EXPECT_EQ(d4recNo(d), 0);
    EXPECT_EQ(d4skip(d, 1), r4eof);
    // Backing off from eof lands on the last record.
    EXPECT_EQ(d4skip(d, -1), r4success);
    EXPECT_EQ(d4recNo(d), c.order.back());
    EXPECT_EQ(d4top(d), r4success);
    EXPECT_EQ(d4skip(d, -1), r4bof);
    EXPECT_EQ(d4recNo(d), c.order.front());
    EXPECT_TRUE(d4bof(d));
    EXPECT_EQ(d4skip(d, 2), r4success);
    EXPECT_EQ(d4recNo(d), c.order[2]);
    EXPECT_EQ(d4skip(d, -5), r4bof);
    EXPECT_EQ(d4recNo(d), c.order.front());
    EXPECT_EQ(d4bottom(d), r4success);
    EXPECT_EQ(d4recNo(d), c.order.back());
    EXPECT_EQ(d4skip(d, 5), r4eof);
  }
  EXPECT_EQ(TakeError(), 0);
}

TEST_F(TableTest, SeekFindsExactPrefixAfterAndEof) {
  DATA4* d = MakeItems({{10, "APPLE"}, {20, "APRICOT"}, {30, "BANANA"}, {40, "APPLE"}});
  ASSERT_NE(d, nullptr);
  ASSERT_EQ(d4tagSelectP(d, d4tag(d, "ItmP")), 0);
  struct Case {
    const char* key;
    int rc;
    long rec;
  } cases[] = {
      {"APPLE         10", r4success, 1},
      {"APPLE", r4success, 1},
      {"AP", r4success, 1},
      {"APR", r4success, 2},
      {"APPLE         40", r4success, 4},
      {"APPLE         41", r4after, 2},
      {"B", r4success, 3},
      {"AA", r4after, 1},
      {"C", r4eof, 0},
      {"BANANA        30xxxx", r4success, 3},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(d4seek(d, c.key), c.rc) << c.key;
    EXPECT_EQ(d4recNo(d), c.rec) << c.key;
  }
  ASSERT_EQ(d4tagSelectP(d, d4tag(d, "Itm")), 0);
  EXPECT_EQ(d4seek(d, "    30"), r4success);
  EXPECT_EQ(d4recNo(d), 3);
  EXPECT_EQ(d4skip(d, 1), r4success);
  EXPECT_EQ(d4recNo(d), 4);
  EXPECT_EQ(TakeError(), 0);
}

TEST_F(TableTest, FieldsAssignPadTruncateAndFormat) {
  DATA4* d = MakeItems({}, false);
  ASSERT_NE(d, nullptr);
  ASSERT_EQ(d4appendBlank(d), 0);
  FIELD4* prid = d4field(d, "prid");  // any case
  FIELD4* qty = d4field(d, "QTY");
  FIELD4* tax = d4field(d, "ltax1");
  FIELD4* date = d4field(d, "IDATE");
  ASSERT_TRUE(prid && qty && tax && date);
  EXPECT_STREQ(f4str(prid), "          ");
  EXPECT_STREQ(f4str(date), "        ");
  EXPECT_EQ(f4long(qty), 0);
  f4assign(prid, "AB");
  EXPECT_STREQ(f4str(prid), "AB        ");
  f4assign(prid, "ABCDEFGHIJKLMN");
  EXPECT_STREQ(f4str(prid), "ABCDEFGHIJ");
  f4assignDouble(qty, -1234.567);
  EXPECT_STREQ(f4str(qty), "    -1234.57");
  double value = 0;
  EXPECT_EQ(f4double2(qty, &value), 0);
  EXPECT_DOUBLE_EQ(value, -1234.57);
  EXPECT_EQ(f4long(qty), -1234);
  f4assignDouble(qty, 1e12);
  EXPECT_STREQ(f4str(qty), "************");
  f4assignLong(qty, 7);
  EXPECT_STREQ(f4str(qty), "        7.00");
  const struct {
    const char* text;
    int truth;
  } logicals[] = {{"T", 1}, {"t", 1}, {"Y", 1}, {"y", 1}, {"F", 0}, {"?", 0}, {" ", 0}, {"N", 0}};
  for (const auto& l : logicals) {
    f4assign(tax, l.text);
    EXPECT_EQ(f4true(tax), l.truth) << l.text;
  }
  EXPECT_EQ(d4field(d, "Nope"), nullptr);
  EXPECT_EQ(TakeError(), e4field);
  EXPECT_EQ(f4type(date), 'D');
  EXPECT_EQ(f4len(qty), 12);
  EXPECT_EQ(f4decimals(qty), 2);
  EXPECT_EQ(d4numFields(d), 7);
  EXPECT_STREQ(f4name(d4fieldJ(d, 2)), "PrID");
}

TEST_F(TableTest, ChangedKeyIsWrittenWhenThePointerMoves) {
  DATA4* d = MakeItems({{1, "A"}, {2, "B"}, {3, "C"}});
  ASSERT_NE(d, nullptr);
  ASSERT_EQ(d4tagSelectP(d, d4tag(d, "Itm")), 0);
  ASSERT_EQ(d4seek(d, "     1"), r4success);
  f4assignInt(d4field(d, "IvNo"), 9);
  // The skip writes the record first: record 1 now sorts last.
  EXPECT_EQ(d4skip(d, 1), r4eof);
  EXPECT_EQ(WalkTag(d, "Itm"), (std::vector<long>{2, 3, 1}));
  // A change followed by close persists with its keys.
  ASSERT_EQ(d4go(d, 2), r4success);
  f4assign(d4field(d, "PrID"), "Z");
  d4delete(d);
  EXPECT_EQ(d4close(d), 0);
  d = d4open(cb_, "items");
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(WalkTag(d, "ItmP"), (std::vector<long>{1, 3, 2}));
  ASSERT_EQ(d4go(d, 2), r4success);
  EXPECT_STREQ(f4str(d4field(d, "PrID")), "Z         ");
  EXPECT_TRUE(d4deleted(d));
  d4recall(d);
  EXPECT_FALSE(d4deleted(d));
  std::vector<std::string> problems;
  EXPECT_EQ(d4check(d, &problems), 0) << (problems.empty() ? "" : problems[0]);
}

TEST_F(TableTest, AppendThenSkipSeesAConsistentTag) {
  DATA4* d = MakeItems({{5, "E"}, {1, "A"}});
  ASSERT_NE(d, nullptr);
  ASSERT_EQ(d4tagSelectP(d, d4tag(d, "Itm")), 0);
  ASSERT_EQ(d4appendBlank(d), 0);
  EXPECT_EQ(d4recCountDo(d), 3);
  f4assignInt(d4field(d, "IvNo"), 3);
  EXPECT_EQ(d4skip(d, 1), r4success);
  EXPECT_EQ(d4recNo(d), 1);
  EXPECT_EQ(d4skip(d, -1), r4success);
  EXPECT_EQ(d4recNo(d), 3);
  double place = -1;
  EXPECT_EQ(d4position2(d, &place), 0);
  EXPECT_GE(place, 0.0);
  EXPECT_LE(place, 1.0);
  EXPECT_EQ(WalkTag(d, "Itm"), (std::vector<long>{2, 3, 1}));
  EXPECT_EQ(d4check(d, nullptr), 0);
}

TEST_F(TableTest, PackAndZapKeepTagsRight) {
  DATA4* d = MakeItems({{4, "D"}, {2, "B"}, {3, "C"}, {1, "A"}, {5, "E"}});
  ASSERT_NE(d, nullptr);
  for (long rec : {2, 4}) {
    ASSERT_EQ(d4go(d, rec), r4success);
    d4delete(d);
  }
  // Deleted records stay visible until the pack.
  EXPECT_EQ(WalkTag(d, "Itm"), (std::vector<long>{4, 2, 3, 1, 5}));
  ASSERT_EQ(d4pack(d), 0);
  EXPECT_EQ(d4recCountDo(d), 3);
  EXPECT_EQ(WalkTag(d, "Itm"), (std::vector<long>{2, 1, 3}));
  EXPECT_EQ(d4check(d, nullptr), 0);
  ASSERT_EQ(d4zap(d, 2, 1), 0);
  EXPECT_EQ(WalkTag(d, "ItmP"), (std::vector<long>{1, 2}));
  ASSERT_EQ(d4zap(d, 1, d4recCountDo(d)), 0);
  EXPECT_EQ(d4recCountDo(d), 0);
  EXPECT_EQ(d4top(d), r4eof);
  EXPECT_EQ(d4check(d, nullptr), 0);
  EXPECT_EQ(d4close(d), 0);
  EXPECT_EQ(engine_test::ReadAll(dir_.File("ITEMS.dbf")).size(), 32u + 7 * 32 + 1 + 1);
}

TEST_F(TableTest, IndexCreationRefusesBadExpressionsAndOverwritesOnlyWithoutSafety) {
  DATA4* d = MakeItems({{1, "A"}}, false);
  ASSERT_NE(d, nullptr);
  const TAG4INFO bad[] = {{"Good", "PrID", nullptr, 0, 0},
                          {"Bad", "Nosuchfield + PrID", nullptr, 0, 0},
                          {nullptr, nullptr, nullptr, 0, 0}};
  EXPECT_EQ(i4create(d, "ITEMS", bad), nullptr);
  EXPECT_EQ(TakeError(), e4expr);
  EXPECT_FALSE(std::filesystem::exists(dir_.File("Good.ntx")));
  EXPECT_FALSE(std::filesystem::exists(dir_.File("ITEMS.cgp")));

  ASSERT_NE(i4create(d, "ITEMS", kItemTags), nullptr);
  std::string group = engine_test::ReadAll(dir_.File("ITEMS.cgp"));
  EXPECT_EQ(group.rfind("PELMARK-CGP 1\n", 0), 0u);
  EXPECT_EQ(i4create(d, "ITEMS", kItemTags), nullptr);
  EXPECT_EQ(TakeError(), e4create);

  // Without safety the files are replaced; an old copy spelt differently goes.
  engine_test::WriteAll(dir_.File("itm.NTX"), "old");
  code4safety(cb_, 0);
  ASSERT_NE(i4create(d, "ITEMS", kItemTags), nullptr);
  EXPECT_FALSE(std::filesystem::exists(dir_.File("itm.NTX")));
  EXPECT_TRUE(std::filesystem::exists(dir_.File("Itm.ntx")));
  EXPECT_EQ(d4check(d, nullptr), 0);
  const TAG4INFO filtered[] = {{"F", "PrID", "IvNo > 1", 0, 0}, {nullptr, nullptr, nullptr, 0, 0}};
  EXPECT_EQ(i4create(d, "F", filtered), nullptr);
  EXPECT_EQ(TakeError(), e4parm);
}

TEST_F(TableTest, FileNamesResolveWithoutRegardToCase) {
  DATA4* d = MakeItems({{1, "A"}});
  ASSERT_NE(d, nullptr);
  ASSERT_EQ(d4close(d), 0);
  for (const char* name : {"ITEMS", "items", "Items.DBF", "iTeMs"}) {
    d = d4open(cb_, name);
    ASSERT_NE(d, nullptr) << name;
    EXPECT_NE(d4tag(d, "itmp"), nullptr);
    EXPECT_EQ(d4close(d), 0);
  }
  EXPECT_EQ(d4open(cb_, "MISSING"), nullptr);
  EXPECT_EQ(TakeError(), e4open);
  // A missing tag file is an error at open.
  std::filesystem::remove(dir_.File("ItmP.ntx"));
  EXPECT_EQ(d4open(cb_, "ITEMS"), nullptr);
  EXPECT_LT(TakeError(), 0);
  code4autoOpen(cb_, 0);
  d = d4open(cb_, "ITEMS");
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d4tag(d, "Itm"), nullptr);
  EXPECT_EQ(TakeError(), e4tagName);
}

TEST_F(TableTest, ErrorsStayPendingUntilReadAndExitTestCallsTheHook) {
  DATA4* d = MakeItems({{1, "A"}}, false);
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d4go(d, 0), e4record);
  EXPECT_EQ(d4go(d, 2), e4record);
  EXPECT_EQ(code4errorCode(cb_, 0), e4record);
  EXPECT_EQ(code4errorCode(cb_, 0), 0);
  EXPECT_EQ(error4exitTest(cb_), 0);
  static int exit_code = 0;
  exit_code = 0;
  code4setExitHook(cb_, [](int code) { exit_code = code == 0 ? -1 : code; });
  EXPECT_EQ(d4seek(d, "x"), e4tagName);
  EXPECT_LT(error4exitTest(cb_), 0);
  EXPECT_NE(exit_code, 0);
}

TEST_F(TableTest, MemosAreWrittenMovedAndCompressed) {
  DATA4* d = MakeItems({{1, "A"}, {2, "B"}}, false);
  ASSERT_NE(d, nullptr);
  FIELD4* notes = d4field(d, "Notes");
  std::string big(1500, 'x');
  ASSERT_EQ(d4go(d, 1), r4success);
  ASSERT_EQ(f4memoAssign(notes, big.c_str()), 0);
  EXPECT_EQ(std::string(f4memoStr(notes)), big);  // visible before the write
  ASSERT_EQ(d4go(d, 2), r4success);
  ASSERT_EQ(f4memoAssignN(notes, "short\x1A tail", 11), 0);
  ASSERT_EQ(d4go(d, 1), r4success);
  EXPECT_EQ(std::string(f4memoStr(notes)), big);
  EXPECT_EQ(f4memoLen(notes), 1500u);
  // Shorter text fits the old blocks; longer text moves to the end.
  ASSERT_EQ(f4memoAssign(notes, "now short"), 0);
  ASSERT_EQ(d4go(d, 2), r4success);
  EXPECT_STREQ(f4memoStr(notes), "short");
  ASSERT_EQ(f4memoAssign(notes, big.c_str()), 0);
  ASSERT_EQ(d4flush(d), 0);
  size_t before = engine_test::ReadAll(dir_.File("ITEMS.dbt")).size();
  ASSERT_EQ(d4memoCompress(d), 0);
  size_t after = engine_test::ReadAll(dir_.File("ITEMS.dbt")).size();
  EXPECT_LT(after, before);
  ASSERT_EQ(d4go(d, 1), r4success);
  EXPECT_STREQ(f4memoStr(notes), "now short");
  ASSERT_EQ(d4go(d, 2), r4success);
  EXPECT_EQ(std::string(f4memoStr(notes)), big);
  EXPECT_EQ(d4check(d, nullptr), 0);
  // A pointer outside the memo file is reported, not followed.
  f4assign(d4field(d, "PrID"), "Q");
  EXPECT_EQ(d4close(d), 0);
  std::string table = engine_test::ReadAll(dir_.File("ITEMS.dbf"));
  size_t memo_at = 32 + 7 * 32 + 1 + 1 + 6 + 10 + 12 + 27 + 1 + 8;
  table.replace(memo_at, 10, "     99999");
  engine_test::WriteAll(dir_.File("ITEMS.dbf"), table);
  d = d4open(cb_, "ITEMS");
  ASSERT_NE(d, nullptr);
  ASSERT_EQ(d4go(d, 1), r4success);
  EXPECT_STREQ(f4memoStr(d4field(d, "Notes")), "");
  EXPECT_EQ(TakeError(), e4memo);
  EXPECT_EQ(d4check(d, nullptr), e4memo);
}

TEST_F(TableTest, ExclusiveAccessConflictsOnlyWithOtherOpeners) {
  DATA4* d = MakeItems({{1, "A"}}, false);
  ASSERT_NE(d, nullptr);
  code4accessMode(cb_, 1);
  // Within the process a second open never refuses.
  DATA4* again = d4open(cb_, "ITEMS");
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(d4close(again), 0);
  EXPECT_EQ(d4close(d), 0);
  // Another holder of the file (a separate open file description behaves
  // like another process for flock).
  int fd = ::open(dir_.File("ITEMS.dbf").c_str(), O_RDONLY);
  ASSERT_GE(fd, 0);
  ASSERT_EQ(::flock(fd, LOCK_SH), 0);
  EXPECT_EQ(d4open(cb_, "ITEMS"), nullptr);
  EXPECT_EQ(TakeError(), e4open);
  code4accessMode(cb_, 0);
  d = d4open(cb_, "ITEMS");
  EXPECT_NE(d, nullptr);
  ::close(fd);
}

TEST_F(TableTest, FailedWritesAreNeverReportedAsSuccess) {
  DATA4* d = MakeItems({{1, "A"}, {2, "B"}});
  ASSERT_NE(d, nullptr);
  ASSERT_EQ(d4close(d), 0);
  engine::FaultyFileSystem faulty;
  code4fileSystem(cb_, &faulty);
  int failures = 0;
  for (int n = 1; n <= 12; ++n) {
    SCOPED_TRACE(n);
    faulty.Reset();
    d = d4open(cb_, "ITEMS");
    ASSERT_NE(d, nullptr);
    ASSERT_EQ(d4go(d, 1), r4success);
    std::string text = "STORE" + std::to_string(n);
    f4assign(d4field(d, "PrID"), text.c_str());
    ASSERT_EQ(f4memoAssign(d4field(d, "Notes"), (text + " memo").c_str()), 0);
    faulty.FailFromStep(n);
    int rc = d4close(d);
    faulty.Reset();
    TakeError();
    d = d4open(cb_, "ITEMS");
    if (d == nullptr) {
      EXPECT_NE(rc, 0);
      ++failures;
      TakeError();
      continue;
    }
    ASSERT_EQ(d4go(d, 1), r4success);
    if (rc == 0) {
      EXPECT_EQ(std::string(f4str(d4field(d, "PrID"))).substr(0, text.size()), text);
      EXPECT_EQ(std::string(f4memoStr(d4field(d, "Notes"))), text + " memo");
    } else {
      EXPECT_LT(rc, 0);
      ++failures;
    }
    EXPECT_GE(d4close(d), 0);
    TakeError();
  }
  EXPECT_GT(failures, 0);
  faulty.Reset();
  faulty.FailAfterBytes(0);
  d = d4open(cb_, "ITEMS");
  ASSERT_NE(d, nullptr);
  ASSERT_EQ(d4appendBlank(d), 0);
  EXPECT_LT(d4flush(d), 0);
  EXPECT_LT(d4close(d), 0);
  faulty.Reset();
  code4fileSystem(cb_, nullptr);
}

// Appends big enough to leave memory in several chunks before the flush that
// writes the header: every record reads back in between, tags stay in order,
// and a machine stopping part way keeps the table as it was before.
TEST_F(TableTest, LongAppendRunsReadBackAndStopSafely) {
  DATA4* d = MakeItems({{1, "A"}});
  ASSERT_NE(d, nullptr);
  ASSERT_EQ(d4close(d), 0);
  const int kAdded = 30000;  // about 3 MiB of records
  auto append_all = [&](DATA4* t) {
    for (int i = 0; i < kAdded; ++i) {
      if (d4appendBlank(t) != 0) return false;
      f4assignInt(d4field(t, "IvNo"), (i * 7919) % kAdded + 2);
      char product[8];
      std::snprintf(product, sizeof product, "P%d", i % 97);
      f4assign(d4field(t, "PrID"), product);
    }
    return true;
  };
  d = d4open(cb_, "ITEMS");
  ASSERT_NE(d, nullptr);
  ASSERT_TRUE(append_all(d));
  for (long rec : {2L, 9000L, 15001L, 30001L}) {
    ASSERT_EQ(d4go(d, rec), r4success);
    EXPECT_EQ(f4int(d4field(d, "IvNo")), ((rec - 2) * 7919) % kAdded + 2) << rec;
  }
  std::vector<long> order = WalkTag(d, "Itm");
  ASSERT_EQ(order.size(), static_cast<size_t>(kAdded + 1));
  EXPECT_EQ(order.front(), 1);
  ASSERT_EQ(d4close(d), 0);
  d = d4open(cb_, "ITEMS");
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d4recCountDo(d), kAdded + 1);
  EXPECT_EQ(WalkTag(d, "Itm"), order);
  std::vector<std::string> problems;
  EXPECT_EQ(d4check(d, &problems), 0);
  EXPECT_TRUE(problems.empty());
  ASSERT_EQ(d4close(d), 0);
  // Other readers expect the end-of-file marker right after the last record.
  std::string bytes = engine_test::ReadAll(dir_.File("ITEMS.dbf"));
  ASSERT_FALSE(bytes.empty());
  EXPECT_EQ(bytes.back(), '\x1A');

  // The machine stops during the second append run's writes.
  engine::FaultyFileSystem faulty;
  code4fileSystem(cb_, &faulty);
  d = d4open(cb_, "ITEMS");
  ASSERT_NE(d, nullptr);
  faulty.FailFromStep(2);
  append_all(d);
  EXPECT_LT(d4close(d), 0);
  TakeError();
  faulty.Reset();
  code4fileSystem(cb_, nullptr);
  d = d4open(cb_, "ITEMS");
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d4recCountDo(d), kAdded + 1);
  ASSERT_EQ(d4go(d, kAdded + 1), r4success);
  EXPECT_EQ(f4int(d4field(d, "IvNo")), ((kAdded - 1) * 7919) % kAdded + 2);
  EXPECT_EQ(d4close(d), 0);
}

}  // namespace
