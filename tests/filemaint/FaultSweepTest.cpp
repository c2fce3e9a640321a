// File maintenance with the disk failing at every step in turn, as if the
// machine stopped there: pack, erase, restore and backup. After each run and
// the next start's repairs, no record that was there before is lost or
// changed, every table agrees with its indexes, and a command that did not
// complete said so.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "TestData.h"
#include "engine/FileSystem.h"
#include "testing/FaultyFileSystem.h"
#include "engine/Ntx.h"
#include "engine/TableEngine.h"
#include "testing/ScriptedPlatform.h"
#include "store/CodeBase.h"
#include "store/FileMaint.h"
#include "store/TableDefs.h"
#include "store/dbFiles.h"

namespace {

using platform::Answer;
using platform::ScriptedPlatform;
using platform::WindowId;

// Every row of every table in record order (the deletion mark, then each
// field, memos as their text), and what the engine's checker says of each
// table opened with its index group.
struct DataState {
  std::map<std::string, std::vector<std::string>> rows;
  std::vector<std::string> problems;
};

DataState ReadData() {
  DataState state;
  for (const store::TableDef& def : store::AllTables()) {
    std::vector<std::string>& rows = state.rows[def.name];
    const int auto_open = code4autoOpen(cb, def.Indexed() ? 1 : 0);
    DATA4* d = d4open(cb, def.name);
    code4autoOpen(cb, auto_open);
    if (d == nullptr) {
      state.problems.push_back(std::string(def.name) + " cannot be opened");
      code4errorCode(cb, 0);
      continue;
    }
    for (int rc = d4top(d); rc == r4success; rc = d4skip(d, 1)) {
      std::string row = d4deleted(d) ? "*" : " ";
      for (int j = 1; j <= d4numFields(d); ++j) {
        FIELD4* field = d4fieldJ(d, j);
        row += '|';
        row += f4type(field) == 'M' ? f4memoStr(field) : f4str(field);
      }
      rows.push_back(row);
    }
    std::vector<std::string> found;
    if (d4check(d, &found) < 0 && found.empty()) found.push_back("check failed");
    for (const store::TagDef& tag : def.tags) {
      if (d4tag(d, tag.file) == nullptr) found.push_back(std::string("no tag ") + tag.name);
    }
    for (const std::string& line : found) state.problems.push_back(def.name + (": " + line));
    EXPECT_GE(d4close(d), 0);
    code4errorCode(cb, 0);
  }
  return state;
}

// The rows a pack keeps.
std::vector<std::string> Packed(const std::vector<std::string>& rows) {
  std::vector<std::string> kept;
  for (const std::string& row : rows) {
    if (row[0] != '*') kept.push_back(row);
  }
  return kept;
}

using Rows = std::map<std::string, std::vector<std::string>>;

class FaultSweepTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Small tables: small index caches keep each of the many opens cheap.
    engine::Ntx::SetDefaultCacheBytes(size_t{64} << 10);
    demo_ = std::make_unique<testdata::DemoDirectory>(testdata::DemoSize::kSmall,
                                                  testdata::DemoStorage::kMemory);
    ASSERT_TRUE(demo_->Valid());
    backup_ = demo_->MakeSibling("backup");
    platform::Install(&ui_);
    SetRemovableTest([](const QString&) { return false; });
    Start();
    original_ = testdata::Snapshot(demo_->Path());
  }
  void TearDown() override {
    Stop();
    SetRemovableTest(nullptr);
    platform::Install(nullptr);
    demo_.reset();
    engine::Ntx::SetDefaultCacheBytes(saved_cache_bytes_);
  }

  void Start() {
    ASSERT_TRUE(StartEngine());
    UseFileSystem(&disk_);
  }
  void Stop() {
    CloseAllTables();
    UseFileSystem(nullptr);
    EndEngine();
  }

  // Makes the directory hold exactly these files. Files still there are
  // rewritten in place: creating files anew is what costs most here.
  static void Put(const QString& directory, const std::map<QString, QByteArray>& files) {
    QDir dir(directory);
    for (const QString& name : dir.entryList(QDir::Files)) {
      if (files.count(name) == 0) dir.remove(name);
    }
    for (const auto& [name, bytes] : files) {
      ASSERT_TRUE(testdata::WriteContents(directory + "/" + name, bytes));
    }
  }

  // The next start: a new engine instance mends what a change cut short and
  // rebuilds index groups that are missing.
  void Restart() {
    Stop();
    Start();
    bool mended = false;
    RecoverDataFiles(&mended);
    EXPECT_TRUE(mended);
    Reindex(true);
  }

  struct Case {
    const char* name;
    std::function<void()> prepare;  // on the fresh copy, before the command
    std::function<bool()> run;      // the command; true when it reported no failure
    // Checks the data after the restart against before (the prepared state)
    // and after (a run without faults), knowing what the operator was told.
    std::function<void(bool reported_ok, const QStringList& said, const Rows& before,
                       const Rows& after, const Rows& now)>
        verify;
  };

  // Runs the case once without faults to count its steps, then once for
  // every step failing from there on. Returns the number of steps.
  int64_t Sweep(const Case& c) {
    SCOPED_TRACE(c.name);
    {
      ScriptedPlatform quiet;
      platform::ScopedPlatform scope(&quiet);
      Stop();
      Put(demo_->Path(), original_);
      Put(backup_, {});
      Start();
      c.prepare();
      Stop();
      Start();
    }
    const auto prepared_data = testdata::Snapshot(demo_->Path());
    const auto prepared_backup = testdata::Snapshot(backup_);
    auto fresh = [&] {
      Stop();
      Put(demo_->Path(), prepared_data);
      Put(backup_, prepared_backup);
      Start();
    };
    fresh();
    const DataState before = ReadData();
    EXPECT_TRUE(before.problems.empty());
    disk_.Reset();
    ScriptedPlatform clean;
    bool clean_ok = false;
    {
      platform::ScopedPlatform scope(&clean);
      clean_ok = c.run();
    }
    const int64_t steps = disk_.StepCount();
    EXPECT_TRUE(clean_ok) << clean.Said().join(" | ").toStdString();
    Restart();
    const DataState after = ReadData();
    EXPECT_TRUE(after.problems.empty());
    for (int64_t n = 1; n <= steps; ++n) {
      SCOPED_TRACE("the disk stops at step " + std::to_string(n));
      fresh();
      ScriptedPlatform ui;
      bool ok = false;
      {
        platform::ScopedPlatform scope(&ui);
        disk_.Reset();
        disk_.FailFromStep(n);
        ok = c.run() && !ui.TerminateRequested();
        disk_.Reset();
      }
      Restart();
      const DataState now = ReadData();
      c.verify(ok, ui.Said(), before.rows, after.rows, now.rows);
      EXPECT_TRUE(now.problems.empty()) << now.problems.front();
      if (HasFailure()) break;  // one step's story is enough to read
    }
    return steps;
  }

  void ChooseBackupDirectory(ScriptedPlatform* ui) {
    const QString backup = backup_;
    ui->OnModal(WindowId::kDriveDir, [backup] {
      ChosenDirectory = backup;
      return 1;
    });
  }

  const size_t saved_cache_bytes_ = engine::Ntx::DefaultCacheBytes();
  std::unique_ptr<testdata::DemoDirectory> demo_;
  QString backup_;
  ScriptedPlatform ui_;
  engine::FaultyFileSystem disk_;
  std::map<QString, QByteArray> original_;
  std::map<QString, QByteArray> previous_backup_;
  std::map<QString, QByteArray> live_before_backup_;
};

platform::ScriptedPlatform* Ui() { return static_cast<ScriptedPlatform*>(&platform::Current()); }

// Deletes the first record of a table (the pack-pending flag is set).
void DeleteFirst(bool (*open)(), DATA4** table) {
  ASSERT_TRUE(open());
  ASSERT_EQ(d4go(*table, 1), r4success);
  d4delete(*table);
  CloseAllTables();
  PackPending = true;
}

TEST_F(FaultSweepTest, PackWithMemoCompressionIsAllOrNothingAtEveryStep) {
  const Case c = {
      "pack with memo compression", [] { DeleteFirst(&OpenInvoices, &InvDb); },
      [] { return PackTable("INV5", true); },
      [](bool ok, const QStringList&, const Rows& before, const Rows& after, const Rows& now) {
        EXPECT_EQ(now, ok ? after : before);
        EXPECT_EQ(after.at("INV5"), Packed(before.at("INV5")));
      }};
  const int64_t steps = Sweep(c);
  EXPECT_GT(steps, 10);
  RecordProperty(std::string("steps of ") + c.name, static_cast<int>(steps));
}

TEST_F(FaultSweepTest, EraseIsAllOrNothingAtEveryStep) {
  const Case c = {"erase", [] {},
                  [] {
                    Ui()->QueueAnswer(Answer::kOk);
                    EraseAllData();
                    return !Ui()->Said().join("|").contains("Failed");
                  },
                  [](bool ok, const QStringList&, const Rows& before, const Rows& after,
                     const Rows& now) { EXPECT_EQ(now, ok ? after : before); }};
  const int64_t steps = Sweep(c);
  EXPECT_GT(steps, 10);
  RecordProperty(std::string("steps of ") + c.name, static_cast<int>(steps));
}

TEST_F(FaultSweepTest, RestoreIsAllOrNothingAtEveryStep) {
  const Case c = {"restore",
                  [this] {
                    // The backup holds the data as it is; then customers and invoices change.
                    ASSERT_TRUE(CopyDataFiles(CopyDirection::kToBackup, backup_));
                    DeleteFirst(&OpenCustomers, &CustDb);
                    DeleteFirst(&OpenInvoices, &InvDb);
                    ASSERT_TRUE(PackTable("CUST5", true));
                    ASSERT_TRUE(PackTable("INV5", true));
                  },
                  [this] {
                    // The copying; the rebuild of the indexes that follows is the
                    // reindex swept in the engine's tests.
                    return CopyDataFiles(CopyDirection::kFromBackup, backup_);
                  },
                  [](bool ok, const QStringList&, const Rows& before, const Rows& after,
                     const Rows& now) { EXPECT_EQ(now, ok ? after : before); }};
  const int64_t steps = Sweep(c);
  EXPECT_GT(steps, 10);
  RecordProperty(std::string("steps of ") + c.name, static_cast<int>(steps));
}

TEST_F(FaultSweepTest, BackupKeepsWholeFilesAtEveryStep) {
  const Case c = {
      "backup",
      [this] {
        // A previous backup of other data is there.
        ASSERT_TRUE(CopyDataFiles(CopyDirection::kToBackup, backup_));
        previous_backup_ = testdata::Snapshot(backup_);
        DeleteFirst(&OpenCustomers, &CustDb);
        ASSERT_TRUE(PackTable("CUST5", true));
      },
      [this] {
        ChooseBackupDirectory(Ui());
        live_before_backup_ = testdata::Snapshot(demo_->Path());
        ::BtnBackupClick();
        return !Ui()->Said().join("|").contains("Failed");
      },
      [this](bool ok, const QStringList&, const Rows& before, const Rows&, const Rows& now) {
        EXPECT_EQ(now, before) << "a backup changes no data";
        // Every file of the backup is the previous one or the new one, whole.
        for (const auto& [name, bytes] : testdata::Snapshot(backup_)) {
          if (name.endsWith(kBackupTempSuffix)) continue;  // an unfinished copy
          const QByteArray& live = live_before_backup_.at(name);
          if (ok) {
            EXPECT_EQ(bytes, live) << name.toStdString();
          } else {
            EXPECT_TRUE(bytes == live || bytes == previous_backup_.at(name)) << name.toStdString();
          }
        }
      }};
  const int64_t steps = Sweep(c);
  EXPECT_GT(steps, 10);
  RecordProperty(std::string("steps of ") + c.name, static_cast<int>(steps));
}

}  // namespace
