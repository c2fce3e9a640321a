// The drive and directory chooser: captions set by the caller, moving through
// directories, and the chosen directory left behind with the current
// directory restored.

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "store/DriveDirU.h"
#include "store/FileMaint.h"
#include "testing/ScriptedPlatform.h"

namespace {

QListWidgetItem* ItemNamed(QListWidget* list, const QString& text) {
  const auto found = list->findItems(text, Qt::MatchExactly);
  return found.isEmpty() ? nullptr : found.first();
}

class DriveDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(root_.isValid());
    ASSERT_TRUE(QDir(root_.path()).mkpath("data"));
    ASSERT_TRUE(QDir(root_.path()).mkpath("backups/monday"));
    QFile file(root_.path() + "/backups/readme.txt");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    previous_ = QDir::currentPath();
    data_ = QDir(root_.path() + "/data").canonicalPath();
    ASSERT_TRUE(QDir::setCurrent(data_));
    platform::Install(&ui_);
  }
  void TearDown() override {
    EXPECT_EQ(ui_.Leftovers().toStdString(), "");
    platform::Install(nullptr);
    QDir::setCurrent(previous_);
  }

  // Runs the chooser modally; the action runs once it is shown.
  int Run(TDriveDir& chooser, std::function<void()> action) {
    QTimer::singleShot(0, [&chooser, action] {
      EXPECT_TRUE(QTest::qWaitForWindowExposed(&chooser));
      action();
      if (chooser.isVisible()) chooser.reject();  // an action that stopped short
    });
    return chooser.exec();
  }

  QTemporaryDir root_;
  QString previous_;
  QString data_;
  platform::ScriptedPlatform ui_;
};

TEST_F(DriveDirTest, OkLeavesTheDirectoryChosenAndReturnsToTheDataDirectory) {
  TDriveDir chooser;
  DriveDirCaption = "Choose Backup Drive & Directory";
  DriveDirOkCaption = "Backup";
  ChosenDirectory = "stale";
  bool file_list_disabled = false;
  QStringList files_shown;
  const int result = Run(chooser, [&] {
    EXPECT_EQ(chooser.windowTitle(), "Choose Backup Drive & Directory");
    EXPECT_EQ(chooser.BtnOK->text(), "Backup");
    EXPECT_EQ(chooser.Directory(), data_);
    EXPECT_GT(chooser.DriveComboBox1->count(), 0);
    // Up to the parent, into "backups", into "monday".
    QListWidgetItem* up = ItemNamed(chooser.DirectoryListBox1, "..");
    ASSERT_NE(up, nullptr);
    emit chooser.DirectoryListBox1->itemDoubleClicked(up);
    QListWidgetItem* backups = ItemNamed(chooser.DirectoryListBox1, "backups");
    ASSERT_NE(backups, nullptr);
    emit chooser.DirectoryListBox1->itemDoubleClicked(backups);
    file_list_disabled = !chooser.FileListBox1->isEnabled();
    EXPECT_TRUE(chooser.grab().save(QString(SCREENSHOT_DIR) + "/drive-dir.png"));
    for (int i = 0; i < chooser.FileListBox1->count(); ++i) {
      files_shown << chooser.FileListBox1->item(i)->text();
    }
    QListWidgetItem* monday = ItemNamed(chooser.DirectoryListBox1, "monday");
    ASSERT_NE(monday, nullptr);
    emit chooser.DirectoryListBox1->itemDoubleClicked(monday);
    chooser.BtnOK->click();
  });
  EXPECT_EQ(result, QDialog::Accepted);
  EXPECT_EQ(ChosenDirectory, QDir(root_.path() + "/backups/monday").canonicalPath());
  EXPECT_EQ(QDir::currentPath(), data_);
  EXPECT_TRUE(file_list_disabled);
  EXPECT_EQ(files_shown, QStringList({"readme.txt"}));
}

TEST_F(DriveDirTest, CancelAndEscapeLeaveNoDirectory) {
  for (const bool escape : {false, true}) {
    SCOPED_TRACE(escape ? "escape" : "cancel");
    TDriveDir chooser;
    DriveDirCaption = "Choose Drive & Directory Containing BACKUP";
    DriveDirOkCaption = "Restore";
    ChosenDirectory = "stale";
    const int result = Run(chooser, [&] {
      EXPECT_EQ(chooser.BtnOK->text(), "Restore");
      if (escape) {
        QTest::keyClick(&chooser, Qt::Key_Escape);
      } else {
        chooser.BtnCancel->click();
      }
    });
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_TRUE(ChosenDirectory.isEmpty());
    EXPECT_EQ(QDir::currentPath(), data_);
  }
}

TEST_F(DriveDirTest, UnreadableDirectoryIsNotEntered) {
  TDriveDir chooser;
  ASSERT_TRUE(chooser.SetDirectory(data_));
  EXPECT_FALSE(chooser.SetDirectory(root_.path() + "/no-such-directory"));
  EXPECT_EQ(chooser.Directory(), data_);
}

TEST_F(DriveDirTest, NewDataDirectoryIsOfferedOnlyWhenAskedAndMadeInTheDirectoryShown) {
  struct Case {
    const char* entry;  // the name typed; nullptr cancels the input box
    const char* made;   // the directory the maker is asked for; nullptr: not asked
    const char* refusal_contains;
  };
  const Case cases[] = {
      {"books", "books", nullptr},
      {"  spaced  ", "spaced", nullptr},
      {nullptr, nullptr, nullptr},
      {"..", nullptr, "cannot name"},
      {"a/b", nullptr, "cannot name"},
      {"taken", "taken", "No new data directory was made"},
  };
  QStringList asked;
  DriveDirNewDataSet = [&asked](const QString& path) -> QString {
    asked << path;
    if (path.endsWith("taken")) return "taken already holds data files";
    return QDir().mkpath(path) ? QString() : QString("cannot create");
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entry ? c.entry : "cancelled");
    asked.clear();
    ui_.ClearRecords();
    if (c.entry != nullptr) {
      ui_.QueueInput(c.entry);
    } else {
      ui_.QueueInputCancelled();
    }
    TDriveDir chooser;
    QString shown;
    Run(chooser, [&] {
      EXPECT_TRUE(chooser.BtnNew->isVisible());
      chooser.BtnNew->click();
      shown = chooser.Directory();
      chooser.BtnCancel->click();
    });
    const QString expected = c.made ? data_ + "/" + c.made : QString();
    EXPECT_EQ(asked, c.made ? QStringList{expected} : QStringList());
    const bool refused = c.refusal_contains != nullptr;
    EXPECT_EQ(shown, c.made && !refused ? expected : data_);
    EXPECT_EQ(ui_.Said().size(), refused ? 2 : 1) << ui_.Said().join(" | ").toStdString();
    if (refused) {
      EXPECT_TRUE(ui_.Said().last().contains(c.refusal_contains));
    }
  }
  DriveDirNewDataSet = nullptr;
  TDriveDir backup_chooser;
  Run(backup_chooser, [&] {
    EXPECT_FALSE(backup_chooser.BtnNew->isVisible()) << "backup and restore make no data sets";
    backup_chooser.BtnCancel->click();
  });
}

}  // namespace
