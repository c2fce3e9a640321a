// Starting with --open: the data directory used last, the chooser when it is
// missing or gone, a new data directory made from the chooser, and the
// directory remembered at each successful start.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <deque>

#include "OpenDataDir.h"
#include "Startup.h"
#include "TestData.h"
#include "store/FileMaint.h"
#include "store/dbFiles.h"
#include "testing/ScriptedPlatform.h"

namespace {

// What the operator does in the chooser, one entry per time it is shown.
enum class Pick { kCancel, kData, kEmpty, kMakeNew };
// What the settings remember before the start.
enum class Remembered { kNothing, kData, kGone, kEmpty };

struct OpenCase {
  const char* name;
  Remembered remembered;
  std::vector<Pick> picks;
  bool opened;
  const char* ends_in;          // "data", "new", or "" for where it started
  const char* first_chooser_at;  // "home", "root", "empty", or "" when not shown
  int refusals;                  // "no data files" messages
};

class OpenDataDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(root_.isValid());
    root_path_ = QDir(root_.path()).canonicalPath();
    data_ = root_path_ + "/data";
    empty_ = root_path_ + "/empty";
    ASSERT_EQ(MakeNewDataDirectory(data_), QString());
    ASSERT_TRUE(QDir(root_path_).mkpath("empty"));
    previous_ = QDir::currentPath();
    platform::Install(&ui_);
  }
  void TearDown() override {
    platform::Install(nullptr);
    QDir::setCurrent(previous_);
  }

  QTemporaryDir root_;
  QString root_path_;
  QString data_;
  QString empty_;
  QString previous_;
  platform::ScriptedPlatform ui_;
};

TEST_F(OpenDataDirTest, OpenFindsTheLastDirectoryOrAsksForOne) {
  const OpenCase cases[] = {
      {"remembered data directory opens at once", Remembered::kData, {}, true, "data", "", 0},
      {"nothing remembered asks, from home", Remembered::kNothing, {Pick::kData}, true, "data",
       "home", 0},
      {"remembered directory gone asks, from its parent", Remembered::kGone, {Pick::kData}, true,
       "data", "root", 0},
      {"remembered directory without tables asks, from there", Remembered::kEmpty, {Pick::kData},
       true, "data", "empty", 0},
      {"cancel ends the start", Remembered::kNothing, {Pick::kCancel}, false, "", "home", 0},
      {"a directory without tables is refused, then asked again", Remembered::kNothing,
       {Pick::kEmpty, Pick::kData}, true, "data", "home", 1},
      {"a refused directory then cancel", Remembered::kNothing, {Pick::kEmpty, Pick::kCancel},
       false, "", "home", 1},
      {"a new data directory made in the chooser opens", Remembered::kNothing, {Pick::kMakeNew},
       true, "new", "home", 0},
  };
  int made = 0;
  for (const OpenCase& c : cases) {
    SCOPED_TRACE(c.name);
    ui_.ClearRecords();
    DriveDirCaption = "left by an earlier backup";
    DriveDirOkCaption = "Backup";
    QSettings("Pelmark", "Pelmark Invoicing").clear();
    switch (c.remembered) {
      case Remembered::kNothing:
        break;
      case Remembered::kData:
        RememberDataDirectory(data_);
        break;
      case Remembered::kGone:
        RememberDataDirectory(root_path_ + "/gone/deeper");
        break;
      case Remembered::kEmpty:
        RememberDataDirectory(empty_);
        break;
    }
    const QString new_dir = root_path_ + "/new" + QString::number(++made);
    std::deque<Pick> picks(c.picks.begin(), c.picks.end());
    QStringList shown_at;
    ui_.OnModal(platform::WindowId::kDriveDir, [&]() -> int {
      shown_at << QDir::currentPath();
      EXPECT_EQ(DriveDirCaption, "Open Data Directory");
      EXPECT_EQ(DriveDirOkCaption, "Open");
      EXPECT_TRUE(DriveDirNewDataSet != nullptr);
      if (picks.empty()) return 0;
      const Pick pick = picks.front();
      picks.pop_front();
      switch (pick) {
        case Pick::kCancel:
          ChosenDirectory.clear();
          return 0;
        case Pick::kData:
          ChosenDirectory = data_;
          return 1;
        case Pick::kEmpty:
          ChosenDirectory = empty_;
          return 1;
        case Pick::kMakeNew:
          EXPECT_EQ(DriveDirNewDataSet(new_dir), QString());
          ChosenDirectory = new_dir;
          return 1;
      }
      return 0;
    });
    const QString started_in = QDir::homePath();
    ASSERT_TRUE(QDir::setCurrent(started_in));

    EXPECT_EQ(ChangeToDataDirectory(), c.opened);

    const QString ends_in = QString(c.ends_in) == "data"  ? data_
                            : QString(c.ends_in) == "new" ? new_dir
                                                          : QString();
    if (!ends_in.isEmpty()) {
      EXPECT_EQ(QDir::currentPath(), ends_in);
    }
    EXPECT_TRUE(picks.empty()) << "the chooser was shown too few times";
    EXPECT_EQ(shown_at.size(), static_cast<qsizetype>(c.picks.size()));
    const QString first = c.first_chooser_at;
    if (!first.isEmpty() && !shown_at.isEmpty()) {
      EXPECT_EQ(shown_at.first(), first == "home"   ? QDir(QDir::homePath()).canonicalPath()
                                  : first == "root" ? root_path_
                                                    : empty_);
    }
    EXPECT_EQ(ui_.Requests().size(), static_cast<size_t>(c.refusals));
    if (c.refusals > 0) {
      EXPECT_TRUE(ui_.Said().first().contains(empty_));
    }
    if (!shown_at.isEmpty()) {
      // Backup and restore get the chooser back as they expect it.
      EXPECT_TRUE(DriveDirCaption.isEmpty());
      EXPECT_TRUE(DriveDirOkCaption.isEmpty());
    }
    EXPECT_TRUE(DriveDirNewDataSet == nullptr);
  }
}

TEST_F(OpenDataDirTest, NewDataDirectoryHoldsTheEmptyTablesAndRefusesAnExistingSet) {
  const QString fresh = root_path_ + "/books/2027";
  EXPECT_EQ(MakeNewDataDirectory(fresh), QString());
  EXPECT_TRUE(DataFilesPresentIn(fresh));
  ASSERT_TRUE(QDir::setCurrent(fresh));
  ASSERT_TRUE(OpenDataDirectory());
  EXPECT_EQ(Settings.ShipLine.trimmed(), "Computed 1");
  CloseDataDirectory();

  const QByteArray settings_before = testdata::Contents(data_ + "/PLM1.dbf");
  const QString refusal = MakeNewDataDirectory(data_);
  EXPECT_TRUE(refusal.contains("already holds data files")) << refusal.toStdString();
  EXPECT_EQ(testdata::Contents(data_ + "/PLM1.dbf"), settings_before);
  EXPECT_FALSE(MakeNewDataDirectory(data_ + "/PLM1.dbf").isEmpty()) << "a file, not a directory";
}

TEST_F(OpenDataDirTest, EachSuccessfulStartIsRemembered) {
  QSettings("Pelmark", "Pelmark Invoicing").clear();
  ASSERT_TRUE(QDir::setCurrent(empty_));
  EXPECT_FALSE(OpenDataDirectory());
  EXPECT_EQ(LastDataDirectory(), QString()) << "a refused start is not remembered";

  ASSERT_TRUE(QDir::setCurrent(data_));
  ASSERT_TRUE(OpenDataDirectory());
  CloseDataDirectory();
  EXPECT_EQ(LastDataDirectory(), data_);
}

}  // namespace
