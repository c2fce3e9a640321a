// Opening the data directory: the refusal when a table is missing, and the
// quiet rebuild of missing index files.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "Startup.h"
#include "TestData.h"
#include "platform/ScriptedPlatform.h"
#include "store/CodeBase.h"
#include "store/TableDefs.h"
#include "store/dbFiles.h"

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

}  // namespace
