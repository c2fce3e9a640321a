// Opening the data directory: the refusal when a table is missing or the
// directory is in use, the quiet rebuild of missing index files, and what a
// start after an abnormal end mends and tells.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <cerrno>
#include <functional>
#include <memory>

#include "Startup.h"
#include "TestData.h"
#include "engine/DirectoryLock.h"
#include "store/CodeBase.h"
#include "store/TableDefs.h"
#include "store/dbFiles.h"
#include "testing/ScriptedPlatform.h"

namespace {

QStringList IndexFilesPresent() {
  return QDir::current().entryList({"*.ntx", "*.cgp"}, QDir::Files);
}

TEST(StartupTest, AnyMissingTableRefusesToStartAndCreatesNothing) {
  for (const store::TableDef& def : store::AllTables()) {
    SCOPED_TRACE(def.data_file);
    testdata::DemoDirectory demo;
    ASSERT_TRUE(demo.Valid());
    for (const QString& index : IndexFilesPresent()) ASSERT_TRUE(QFile::remove(index));
    ASSERT_TRUE(QFile::remove(def.data_file));
    const QStringList before = QDir::current().entryList(QDir::Files);
    platform::ScriptedPlatform ui;
    platform::ScopedPlatform installed(&ui);

    EXPECT_FALSE(OpenDataDirectory());

    EXPECT_EQ(ui.Said(), QStringList({kDataFilesMissingMessage}));
    EXPECT_TRUE(ui.TerminateRequested());
    EXPECT_EQ(QDir::current().entryList(QDir::Files), before);
    EXPECT_EQ(cb, nullptr) << "no engine started";
  }
}

TEST(StartupTest, MissingTagIsRebuiltQuietlyAndOnlyItsGroupIsWritten) {
  testdata::DemoDirectory demo;
  ASSERT_TRUE(demo.Valid());
  const auto before = testdata::Snapshot(demo.Path());
  const auto times = testdata::Times(demo.Path());
  ASSERT_TRUE(QFile::remove("czip.ntx"));
  platform::ScriptedPlatform ui;
  platform::ScopedPlatform installed(&ui);

  ASSERT_TRUE(OpenDataDirectory());

  const QStringList customer_group = {"cName.ntx", "ccno.ntx", "czip.ntx", "ccomp.ntx"};
  const auto times_after = testdata::Times(demo.Path());
  for (const auto& [name, time] : times) {
    if (customer_group.contains(name)) {
      EXPECT_NE(times_after.at(name), time) << name.toStdString();
    } else if (name != "CUST5.cgp") {
      EXPECT_EQ(times_after.at(name), time) << name.toStdString();
      EXPECT_EQ(testdata::Contents(name), before.at(name)) << name.toStdString();
    }
  }
  EXPECT_TRUE(QFile::exists("czip.ntx"));
  EXPECT_TRUE(ui.Said().isEmpty());
  EXPECT_TRUE(ui.Progress().empty());
  EXPECT_FALSE(ui.TerminateRequested());
  EXPECT_EQ(SettingsDb, nullptr) << "the settings table is closed again";
  EXPECT_FALSE(Settings.ShipLine.trimmed().isEmpty()) << "settings loaded";
  CloseDataDirectory();
  EXPECT_EQ(cb, nullptr);
  EXPECT_TRUE(testdata::CheckClean(demo.Path()));
}

TEST(StartupTest, ClosingPacksPendingDeletions) {
  testdata::DemoDirectory demo;
  ASSERT_TRUE(demo.Valid());
  platform::ScriptedPlatform ui;
  platform::ScopedPlatform installed(&ui);
  ASSERT_TRUE(OpenDataDirectory());
  ASSERT_TRUE(OpenProducts());
  const long products = d4recCountDo(ProdDb);
  ASSERT_EQ(d4go(ProdDb, 1), 0);
  d4delete(ProdDb);
  CloseAllTables();
  PackPending = true;

  CloseDataDirectory();

  EXPECT_EQ(cb, nullptr);
  ASSERT_TRUE(OpenDataDirectory());
  ASSERT_TRUE(OpenProducts());
  EXPECT_EQ(d4recCountDo(ProdDb), products - 1);
  CloseAllTables();
  CloseDataDirectory();
}

// Another copy of the program (exclusive) or the data tool reading
// (shared) holds the directory: the start is refused with the message and
// nothing is touched. While the program runs, the data tool refuses too, in
// its own process; once the program has ended it works again.
TEST(StartupTest, DataDirectoryInUseRefusesTheStartAndTheProgramKeepsOthersOut) {
  testdata::DemoDirectory demo;
  ASSERT_TRUE(demo.Valid());
  for (const engine::LockMode held : {engine::LockMode::kExclusive, engine::LockMode::kShared}) {
    SCOPED_TRACE(held == engine::LockMode::kExclusive ? "held exclusive" : "held shared");
    std::unique_ptr<engine::DirectoryLock> other;
    ASSERT_EQ(engine::DirectoryLock::Acquire(demo.Path().toStdString(), held, &other), 0);
    const auto before = testdata::Snapshot(demo.Path());
    platform::ScriptedPlatform ui;
    platform::ScopedPlatform installed(&ui);

    EXPECT_FALSE(OpenDataDirectory());

    EXPECT_EQ(ui.Said(), QStringList({kDataFilesInUseMessage}));
    EXPECT_TRUE(ui.TerminateRequested());
    EXPECT_NE(ui.ExitCode(), 0);
    EXPECT_EQ(cb, nullptr) << "no engine started";
    EXPECT_EQ(testdata::Snapshot(demo.Path()), before) << "nothing written, no run marker";
  }

  platform::ScriptedPlatform ui;
  platform::ScopedPlatform installed(&ui);
  ASSERT_TRUE(OpenDataDirectory());
  const QString dir = "'" + demo.Path() + "' > /dev/null 2>&1";
  EXPECT_EQ(testdata::RunDataTool("reindex " + dir), 1);
  EXPECT_EQ(testdata::RunDataTool("check " + dir), 1);
  EXPECT_EQ(testdata::RunDataTool("dump " + dir + " CUST5"), 1);
  CloseDataDirectory();
  EXPECT_TRUE(testdata::CheckClean(demo.Path()));
  std::unique_ptr<engine::DirectoryLock> after;
  EXPECT_EQ(engine::DirectoryLock::Acquire(demo.Path().toStdString(), engine::LockMode::kExclusive,
                                           &after),
            0)
      << "let go at the end of the run";
}

// Sets the record count in a table's header.
void SetHeaderCount(const QString& table, uint32_t count) {
  QByteArray bytes = testdata::Contents(table);
  ASSERT_GT(bytes.size(), 8);
  for (int i = 0; i < 4; ++i) bytes[4 + i] = static_cast<char>((count >> (8 * i)) & 0xFF);
  ASSERT_TRUE(testdata::WriteContents(table, bytes));
}

uint32_t HeaderCount(const QString& table) {
  const QByteArray bytes = testdata::Contents(table);
  uint32_t count = 0;
  for (int i = 0; i < 4; ++i)
    count |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[4 + i])) << (8 * i);
  return count;
}

// What the previous run left, and what the next start must mend and say:
// after an abnormal end (the run marker still there) the tables are checked
// with progress, records past a table's count are taken in, an index that
// disagrees with its table is rebuilt, and the operator is told; an
// unfinished change of several files is undone at every start, in the status
// bar. A clean end leaves nothing to say.
TEST(StartupTest, StartAfterAnAbnormalEndMendsTheDataFilesAndSaysWhat) {
  struct Case {
    const char* what;
    bool abnormal_end;
    std::function<void()> leave;  // what the stopped run left behind
    const char* told;             // a line of the message; "" when no message
    const char* status;           // in the status bar's last text; "" for none
  };
  const Case cases[] = {
      {"clean end", false, [] {}, "", ""},
      {"abnormal end, all sound", true, [] {}, "", kCheckedSoundText},
      {"records written past the count", true,
       [] { SetHeaderCount("CUST5.dbf", HeaderCount("CUST5.dbf") - 2); },
       "CUST5: 2 records written before the interruption taken in", "taken in"},
      {"an index behind its table", true,
       [] {
         // The customer's name changed, the name index not.
         const QByteArray old_index = testdata::Contents("cName.ntx");
         ASSERT_TRUE(StartEngine());
         ASSERT_TRUE(OpenCustomers());
         ASSERT_EQ(d4go(CustDb, 1), 0);
         f4assign(CustFld.last, "Zzyzx");
         CloseAllTables();
         EndEngine();
         ASSERT_TRUE(testdata::WriteContents("cName.ntx", old_index));
       },
       "CUST5: index group rebuilt", "index group rebuilt"},
      {"a copy left by an unfinished change", false,
       [] { ASSERT_TRUE(QFile::copy("GROUPS.dbf", "GROUPS.dbf.new~")); }, "",
       "1 leftover copy of an interrupted change removed"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testdata::DemoDirectory demo;
    ASSERT_TRUE(demo.Valid());
    const uint32_t customers = HeaderCount("CUST5.dbf");
    c.leave();
    if (c.abnormal_end) {
      ASSERT_TRUE(testdata::WriteContents(kRunMarkerFile, "stopped\n"));
    }
    platform::ScriptedPlatform ui;
    platform::ScopedPlatform installed(&ui);

    ASSERT_TRUE(OpenDataDirectory());

    EXPECT_TRUE(QFile::exists(kRunMarkerFile)) << "marked while running";
    const QStringList said = ui.Said();
    if (*c.told == '\0') {
      EXPECT_TRUE(said.isEmpty()) << said.join(" | ").toStdString();
    } else {
      ASSERT_EQ(said.size(), 1);
      EXPECT_TRUE(said.front().startsWith(kRepairedHeading));
      EXPECT_TRUE(said.front().split("\r\n").contains(c.told)) << said.front().toStdString();
    }
    const QStringList texts = ui.ProgressTexts();
    EXPECT_EQ(texts.contains("Checking Data Files"), c.abnormal_end) << "progress of the check";
    if (*c.status == '\0') {
      EXPECT_TRUE(texts.isEmpty()) << texts.join(" | ").toStdString();
    } else {
      ASSERT_FALSE(texts.isEmpty());
      EXPECT_TRUE(texts.back().contains(c.status)) << texts.back().toStdString();
    }
    EXPECT_FALSE(ui.TerminateRequested());
    CloseDataDirectory();
    EXPECT_FALSE(QFile::exists(kRunMarkerFile)) << "a clean end removes the marker";
    EXPECT_FALSE(QFile::exists("GROUPS.dbf.new~"));
    EXPECT_EQ(HeaderCount("CUST5.dbf"), customers);
    EXPECT_TRUE(testdata::CheckClean(demo.Path()));
  }
}

}  // namespace
