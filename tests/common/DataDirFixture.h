#pragma once
// The base of the fixtures that work on a data directory: each test gets a
// fresh copy of an empty data set (made once per run by the data tool's init
// command) as the current directory, with the scripted platform installed,
// today fixed when asked, the engine started, the settings loaded and every
// selection number cleared. TearDown closes everything and puts back the
// current directory, today and the platform.

#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include "platform/Platform.h"
#include "store/CodeBase.h"
#include "store/dbFiles.h"
#include "testing/ScriptedPlatform.h"
#include "util/DateUtil.h"

namespace test_support {

class DataDirFixture : public ::testing::Test {
 protected:
  // today: the date the program takes as today (null: the real one).
  explicit DataDirFixture(QDate today = QDate()) : today_(today) {}

  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    const QString empty_set = EmptyDataSet();
    ASSERT_FALSE(empty_set.isEmpty());
    for (const QString& name : QDir(empty_set).entryList(QDir::Files)) {
      ASSERT_TRUE(QFile::copy(empty_set + QLatin1Char('/') + name, dir_.filePath(name)));
    }
    previous_dir_ = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir_.path()));
    platform::Install(&scripted_);
    if (today_.isValid()) SetTodayForTests(today_);
    ASSERT_TRUE(StartEngine());
    ASSERT_TRUE(OpenSettings());
    LoadSettings();
    EXPECT_TRUE(CloseSettings());
    PackPending = false;
    SelCust = SelGroup = SelProd = SelInv = SelPur = SelLab = -1;
  }

  void TearDown() override {
    EXPECT_EQ(scripted_.Leftovers().toStdString(), "");
    CloseAllTables();
    EndEngine();
    SetTodayForTests(QDate());
    QDir::setCurrent(previous_dir_);
    platform::Install(nullptr);
  }

  QString DataPath(const QString& name) const { return dir_.filePath(name); }

  platform::ScriptedPlatform scripted_;

 private:
  static QString EmptyDataSet() {
    static QTemporaryDir dir;
    static QString made;
    if (made.isEmpty() && dir.isValid()) {
      const QString data = dir.filePath(QStringLiteral("data"));
      QProcess tool;
      tool.start(QStringLiteral(PELMARK_DATA_TOOL), {QStringLiteral("init"), data});
      if (tool.waitForFinished(60000) && tool.exitCode() == 0) made = data;
    }
    return made;
  }

  QDate today_;
  QTemporaryDir dir_;
  QString previous_dir_;
};

}  // namespace test_support
