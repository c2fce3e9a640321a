// Changes of several files (pack, memo compression, zap, index creation, and
// groups of them) with a fault injected at every step: afterwards the table,
// its memo file and its tags are either all old or all new, every record
// reads as it should, and a change that did not happen is never reported as
// done.

#include <map>
#include <set>
#include <string>
#include <vector>

#include "EngineTestUtil.h"
#include "engine/FileSystem.h"
#include "testing/FaultyFileSystem.h"
#include "engine/Replacement.h"

namespace {

using engine_test::EngineFixture;
using engine_test::ReadAll;
using engine_test::WriteAll;

const FIELD4INFO kFields[] = {
    {"NAME", 'C', 12, 0}, {"N", 'N', 6, 0}, {"TEXT", 'M', 10, 0}, {nullptr, 0, 0, 0}};
const TAG4INFO kNameTag[] = {{"BYNAME", "Upper(NAME)", nullptr, 0, 0},
                             {nullptr, nullptr, nullptr, 0, 0}};
const TAG4INFO kBothTags[] = {{"BYNAME", "Upper(NAME)", nullptr, 0, 0},
                              {"BYN", "Str(N,6)", nullptr, 0, 0},
                              {nullptr, nullptr, nullptr, 0, 0}};

// Everything a reader sees of a table: records in record order, deletion
// marks, memos, the order of each tag, what the checker says, and the size
// of the memo file (which only a compression changes).
struct TableState {
  std::vector<std::string> records;
  std::map<std::string, std::vector<long>> tag_orders;
  std::vector<std::string> problems;
  uintmax_t memo_bytes = 0;
  bool operator==(const TableState&) const = default;
};

void PrintTo(const TableState& s, std::ostream* os) {
  *os << s.records.size() << " records, memo file " << s.memo_bytes << " bytes, tags";
  for (const auto& [tag, order] : s.tag_orders) *os << " " << tag << ":" << order.size();
  for (const std::string& problem : s.problems) *os << "\n  " << problem;
}

class ReplacementTest : public EngineFixture {
 protected:
  ReplacementTest() : EngineFixture(true) {}

  void SetUp() override {
    EngineFixture::SetUp();
    DATA4* d = d4create(cb_, "BOOK", kFields);
    ASSERT_NE(d, nullptr);
    for (int i = 1; i <= 12; ++i) {
      ASSERT_EQ(d4appendBlank(d), 0);
      f4assign(d4field(d, "NAME"), ("name" + std::to_string((i * 7) % 12)).c_str());
      f4assignInt(d4field(d, "N"), 100 - i);
      // Memos long and short; rewritten longer, so the memo file holds garbage.
      ASSERT_EQ(f4memoAssign(d4field(d, "TEXT"), std::string(40 * i, 'a' + i).c_str()), 0);
    }
    for (int i : {2, 5, 9}) {
      ASSERT_EQ(d4go(d, i), 0);
      ASSERT_EQ(f4memoAssign(d4field(d, "TEXT"), std::string(3000, 'A' + i).c_str()), 0);
    }
    for (int i : {3, 7}) {
      ASSERT_EQ(d4go(d, i), 0);
      d4delete(d);
    }
    ASSERT_NE(i4create(d, "BOOK", kNameTag), nullptr);
    ASSERT_EQ(d4close(d), 0);
    ASSERT_EQ(TakeError(), 0);
    original_ = Files();
  }

  std::map<std::string, std::string> Files() {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.Path())) {
      files[entry.path().filename().string()] = ReadAll(entry.path().string());
    }
    return files;
  }

  void PutBackOriginal() {
    for (const auto& entry : std::filesystem::directory_iterator(dir_.Path())) {
      std::filesystem::remove(entry.path());
    }
    for (const auto& [name, bytes] : original_) WriteAll(dir_.File(name), bytes);
  }

  TableState Read() {
    TableState state;
    DATA4* d = d4open(cb_, "BOOK");
    if (d == nullptr) {
      state.problems.push_back("cannot open: " + std::to_string(TakeError()));
      return state;
    }
    for (int rc = d4go(d, 1); rc == r4success; rc = d4skip(d, 1)) {
      state.records.push_back(std::string(d4deleted(d) ? "*" : " ") + f4str(d4field(d, "NAME")) +
                              f4str(d4field(d, "N")) + f4memoStr(d4field(d, "TEXT")));
    }
    for (const char* tag : {"BYNAME", "BYN"}) {
      TAG4* t = d4tag(d, tag);
      if (t == nullptr) {
        TakeError();
        continue;
      }
      EXPECT_GE(d4tagSelectP(d, t), 0);
      for (int rc = d4top(d); rc == r4success; rc = d4skip(d, 1)) {
        state.tag_orders[tag].push_back(d4recNo(d));
      }
    }
    if (d4check(d, &state.problems) < 0 && state.problems.empty()) {
      state.problems.push_back("check failed");
    }
    EXPECT_GE(d4close(d), 0);
    std::error_code ignored;
    state.memo_bytes = std::filesystem::file_size(dir_.File("BOOK.dbt"), ignored);
    if (int error = TakeError(); error != 0) state.problems.push_back(std::to_string(error));
    return state;
  }

  std::map<std::string, std::string> original_;
};

using Operation = int (*)(CODE4* cb);

// Each operation opens the table, changes it and closes it; 0 when all of it worked.
int Finish(CODE4* cb, DATA4* d, int rc) {
  int closed = d4close(d);
  code4errorCode(cb, 0);
  return rc != 0 ? rc : closed;
}
int Pack(CODE4* cb) {
  DATA4* d = d4open(cb, "BOOK");
  return d == nullptr ? e4open : Finish(cb, d, d4pack(d));
}
int Compress(CODE4* cb) {
  DATA4* d = d4open(cb, "BOOK");
  return d == nullptr ? e4open : Finish(cb, d, d4memoCompress(d));
}
int Zap(CODE4* cb) {
  DATA4* d = d4open(cb, "BOOK");
  return d == nullptr ? e4open : Finish(cb, d, d4zap(d, 4, 6));
}
int Reindex(CODE4* cb) {
  code4autoOpen(cb, 0);
  code4safety(cb, 0);
  DATA4* d = d4open(cb, "BOOK");
  code4autoOpen(cb, 1);
  INDEX4* index = d == nullptr ? nullptr : i4create(d, "BOOK", kBothTags);
  code4safety(cb, 1);
  if (d == nullptr) return e4open;
  return Finish(cb, d, index == nullptr ? e4create : 0);
}
// Pack and memo compression as one change.
int PackAndCompress(CODE4* cb) {
  if (code4replaceBegin(cb) != 0) return e4parm;
  DATA4* d = d4open(cb, "BOOK");
  int rc = d == nullptr ? e4open : d4pack(d);
  if (rc == 0) rc = d4memoCompress(d);
  if (d != nullptr) rc = Finish(cb, d, rc);
  if (rc != 0) {
    code4replaceAbandon(cb);
    return rc;
  }
  return code4replaceCommit(cb);
}

struct OperationCase {
  const char* name;
  Operation run;
};
const OperationCase kOperations[] = {{"pack", &Pack},
                                     {"memo compression", &Compress},
                                     {"zap", &Zap},
                                     {"reindex", &Reindex},
                                     {"pack and compression", &PackAndCompress}};

TEST_F(ReplacementTest, EveryFailingStepLeavesTheOldFilesOrTheNewOnes) {
  engine::FaultyFileSystem faulty;
  code4fileSystem(cb_, &faulty);
  for (const OperationCase& op : kOperations) {
    SCOPED_TRACE(op.name);
    PutBackOriginal();
    const TableState before = Read();
    ASSERT_TRUE(before.problems.empty()) << before.problems.front();
    faulty.Reset();
    ASSERT_EQ(op.run(cb_), 0);
    const int64_t steps = faulty.StepCount();
    const TableState after = Read();
    ASSERT_TRUE(after.problems.empty()) << after.problems.front();
    ASSERT_NE(after, before);
    int failures = 0;
    for (bool crash : {true, false}) {
      for (int64_t n = 1; n <= steps; ++n) {
        SCOPED_TRACE((crash ? "stopped at step " : "failed step ") + std::to_string(n));
        PutBackOriginal();
        faulty.Reset();
        if (crash) {
          faulty.FailFromStep(n);
        } else {
          faulty.FailOnlyStep(n);
        }
        const int rc = op.run(cb_);
        faulty.Reset();
        engine::RecoveryReport report;
        ASSERT_EQ(engine::RecoverDirectory(faulty, dir_.Path(), &report), 0);
        EXPECT_TRUE(engine::LeftoverFiles(faulty, dir_.Path()).empty());
        const TableState now = Read();
        // Reported done: the new files. Reported failed: the old ones.
        EXPECT_EQ(now, rc == 0 ? after : before);
        failures += rc != 0 ? 1 : 0;
      }
    }
    EXPECT_GT(failures, 0);
    RecordProperty(std::string("steps of ") + op.name, static_cast<int>(steps));
  }
  code4fileSystem(cb_, nullptr);
}

// A memo compression where the second of the table and its memo file cannot
// be renamed into place after the first was: every memo still belongs to its
// own record.
TEST_F(ReplacementTest, CompressionThatCannotMoveItsSecondFileInKeepsEveryMemo) {
  const TableState before = Read();
  engine::FaultyFileSystem faulty;
  code4fileSystem(cb_, &faulty);
  faulty.LogSteps(true);
  ASSERT_EQ(Compress(cb_), 0);
  std::vector<int64_t> moved_in;  // steps renaming a new version into place
  const std::vector<std::string>& log = faulty.StepLog();
  for (size_t i = 0; i < log.size(); ++i) {
    if (log[i].starts_with("rename ") &&
        log[i].find(std::string(engine::kStagedSuffix) + " -> ") != std::string::npos) {
      moved_in.push_back(static_cast<int64_t>(i) + 1);
    }
  }
  ASSERT_EQ(moved_in.size(), 2u);
  for (bool crash : {false, true}) {
    SCOPED_TRACE(crash ? "program stopped there" : "only that rename failed");
    PutBackOriginal();
    faulty.Reset();
    if (crash) {
      faulty.FailFromStep(moved_in[1]);
    } else {
      faulty.FailOnlyStep(moved_in[1]);
    }
    EXPECT_LT(Compress(cb_), 0);
    faulty.Reset();
    EXPECT_EQ(Read(), before);
  }
  code4fileSystem(cb_, nullptr);
}

// What recovery does with what a change cut short left behind.
TEST_F(ReplacementTest, RecoveryPutsBackUnfinishedChangesAndRemovesCopies) {
  struct Case {
    const char* what;
    std::map<std::string, std::string> files;  // written over the original set
    std::vector<std::string> removed_files;    // taken out of the original set
    std::set<std::string> restored;
    std::set<std::string> removed;
  };
  const std::string marker = engine::kReplaceMarker;
  const Case cases[] = {
      {"nothing to do", {}, {}, {}, {}},
      {"staged copies of a change that never started",
       {{"BOOK.dbf.new~", "x"}, {"BYNAME.ntx.new~.tmp~", "x"}, {"BOOK.dbt.new~.tmp", "x"}},
       {},
       {},
       {"BOOK.dbf.new~", "BYNAME.ntx.new~.tmp~", "BOOK.dbt.new~.tmp"}},
      {"table moved aside, new one not yet in",
       {{marker, "PELMARK-REPLACE 1\nR 1 BOOK.dbf\nR 1 BOOK.dbt\n"},
        {"BOOK.dbf.old~", ""},
        {"BOOK.dbf.new~", "x"},
        {"BOOK.dbt.new~", "x"}},
       {"BOOK.dbf"},
       {"BOOK.dbf"},
       {}},
      {"memo swapped, table not",
       {{marker, "PELMARK-REPLACE 1\nR 1 BOOK.dbt\nR 1 BOOK.dbf\n"},
        {"BOOK.dbt.old~", ""},
        {"BOOK.dbf.new~", "x"}},
       {},
       {"BOOK.dbt"},
       {}},
      {"a file the change added",
       {{marker, "PELMARK-REPLACE 1\nR 0 BYN.ntx\n"}, {"BYN.ntx", "x"}},
       {},
       {"BYN.ntx"},
       {}},
      {"finished change, copies left",
       {{"BOOK.dbf.old~", "x"}, {"BOOK.cgp.old~", "x"}},
       {},
       {},
       {"BOOK.dbf.old~", "BOOK.cgp.old~"}},
      {"marker being written", {{marker + ".tmp", "PELMARK-REP"}}, {}, {}, {marker + ".tmp"}},
      {"other people's files stay", {{"notes.txt.old~", "x"}, {"BOOK.bak", "x"}}, {}, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PutBackOriginal();
    const TableState before = Read();
    for (const auto& [name, bytes] : c.files) {
      // An old~ copy given empty stands for the original file moved aside.
      const std::string live = name.substr(0, name.size() - 5);
      WriteAll(dir_.File(name), bytes.empty() ? original_.at(live) : bytes);
    }
    for (const std::string& name : c.removed_files) std::filesystem::remove(dir_.File(name));
    engine::RecoveryReport report;
    EXPECT_EQ(engine::RecoverDirectory(engine::DiskFileSystem(), dir_.Path(), &report), 0);
    EXPECT_EQ(std::set<std::string>(report.restored.begin(), report.restored.end()), c.restored);
    EXPECT_EQ(std::set<std::string>(report.removed.begin(), report.removed.end()), c.removed);
    EXPECT_FALSE(engine::ReplacementPending(engine::DiskFileSystem(), dir_.Path()));
    EXPECT_EQ(Read(), before);
  }
}

}  // namespace
