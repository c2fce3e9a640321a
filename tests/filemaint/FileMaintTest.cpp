// File maintenance on copies of the demo data set: index rebuilding, packing,
// backup and restore through a file system that can fill up or refuse
// writes, and erasing.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <memory>
#include <vector>

#include "TestData.h"
#include "engine/FileSystem.h"
#include "engine/Replacement.h"
#include "engine/TableEngine.h"
#include "store/CodeBase.h"
#include "store/FileMaint.h"
#include "store/TableDefs.h"
#include "store/dbFiles.h"
#include "testing/FaultyFileSystem.h"
#include "testing/ScriptedPlatform.h"

using platform::Answer;
using platform::ScriptedPlatform;
using platform::WindowId;

namespace {

// A scripted platform that also lets a test act when a message or question
// comes up, as the operator does before pressing OK (changing the disk,
// removing the write protection, making room).
class HookedPlatform final : public platform::Platform {
 public:
  ScriptedPlatform script;
  std::function<void(const QString&)> on_question;

  void Inform(const QString& text) override {
    Hook(text);
    script.Inform(text);
  }
  Answer AskYesNo(const QString& text) override {
    Hook(text);
    return script.AskYesNo(text);
  }
  Answer AskOkCancel(const QString& text) override {
    Hook(text);
    return script.AskOkCancel(text);
  }
  Answer WarnOkCancel(const QString& text) override {
    Hook(text);
    return script.WarnOkCancel(text);
  }
  bool InputBox(const QString& caption, const QString& prompt, const QString& proposed,
                QString* text) override {
    return script.InputBox(caption, prompt, proposed, text);
  }
  QString OpenFileName(const QString& title, const QString& filter) override {
    return script.OpenFileName(title, filter);
  }
  QString SaveFileName(const QString& title, const QString& filter, const QString& suffix,
                       const QString& proposed) override {
    return script.SaveFileName(title, filter, suffix, proposed);
  }
  void ShowProgress(const QString& text) override { script.ShowProgress(text); }
  void SetProgress(int percent) override { script.SetProgress(percent); }
  int ShowModal(WindowId id) override { return script.ShowModal(id); }
  void Terminate(int exit_code) override { script.Terminate(exit_code); }

 private:
  void Hook(const QString& text) {
    if (on_question) on_question(text);
  }
};

struct Modes {
  int auto_open;
  int safety;
  int access;
  bool operator==(const Modes&) const = default;
};

Modes CurrentModes() {
  Modes modes;
  modes.auto_open = code4autoOpen(cb, 0);
  code4autoOpen(cb, modes.auto_open);
  modes.safety = code4safety(cb, 0);
  code4safety(cb, modes.safety);
  modes.access = code4accessMode(cb, 0);
  code4accessMode(cb, modes.access);
  return modes;
}

constexpr Modes kEveryDay{1, 1, 0};

long RecordCount(const char* table) {
  DATA4* data = d4open(cb, table);
  if (data == nullptr) {
    code4errorCode(cb, 0);
    return -1;
  }
  const long count = d4recCountDo(data);
  EXPECT_GE(d4close(data), 0);
  return count;
}

QStringList BackupSetNames() {
  QStringList names;
  for (const char* name : kBackupSet) names << name;
  return names;
}

// The group files and tag files of one table's index group.
QStringList IndexFiles(const store::TableDef& def) {
  QStringList files{def.group_file};
  for (const store::TagDef& tag : def.tags) files << QString(tag.file) + ".ntx";
  return files;
}

QStringList LeftoverTemporaries(const QString& directory) {
  QStringList leftovers =
      QDir(directory).entryList({QString("*") + kBackupTempSuffix}, QDir::Files);
  for (const std::string& name : engine::LeftoverFiles(
           engine::DiskFileSystem(), QFile::encodeName(directory).toStdString())) {
    leftovers << QFile::decodeName(name.c_str());
  }
  if (engine::ReplacementPending(engine::DiskFileSystem(),
                                 QFile::encodeName(directory).toStdString())) {
    leftovers << engine::kReplaceMarker;
  }
  return leftovers;
}

class FileMaintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(testdata::DataTool().isEmpty()) << "the data tool was not built";
    demo_ = std::make_unique<testdata::DemoDirectory>();
    ASSERT_TRUE(demo_->Valid());
    platform::Install(&ui_);
    ASSERT_TRUE(StartEngine());
    UseFileSystem(&disk_);
    SetRemovableTest(nullptr);
  }

  void TearDown() override {
    EXPECT_EQ(ui_.script.Leftovers().toStdString(), "");
    if (cb != nullptr) CloseAllTables();
    UseFileSystem(nullptr);
    EndEngine();
    SetRemovableTest(nullptr);
    platform::Install(nullptr);
    demo_.reset();
  }

  QString Data() const { return demo_->Path(); }

  // The chooser answers with this directory.
  void ChooseDirectory(const QString& directory) {
    ui_.script.OnModal(WindowId::kDriveDir, [directory] {
      ChosenDirectory = directory;
      return 1;
    });
  }

  std::map<QString, QByteArray> BackupSetContents(const QString& directory) {
    std::map<QString, QByteArray> files;
    for (const QString& name : BackupSetNames()) {
      files[name] = testdata::Contents(directory + "/" + name);
    }
    return files;
  }

  std::unique_ptr<testdata::DemoDirectory> demo_;
  HookedPlatform ui_;
  engine::FaultyFileSystem disk_;
};

// --- Reindex -----------------------------------------------------------------

TEST_F(FileMaintTest, QuietReindexRebuildsOnlyTheGroupWithAMissingFile) {
  for (const store::TableDef* def : store::ReindexOrder()) {
    SCOPED_TRACE(def->name);
    for (const QString& missing : IndexFiles(*def)) {
      SCOPED_TRACE(missing.toStdString());
      const auto before = testdata::Snapshot(Data());
      const auto times_before = testdata::Times(Data());
      ASSERT_TRUE(QFile::remove(missing));
      ui_.script.ClearRecords();

      Reindex(true);

      const QStringList rebuilt = IndexFiles(*def);
      const auto times_after = testdata::Times(Data());
      ASSERT_TRUE(QFile::exists(missing));
      for (const auto& [name, time] : times_before) {
        if (rebuilt.contains(name) && name != def->group_file) {
          EXPECT_NE(times_after.at(name), time) << name.toStdString() << " not rebuilt";
        } else if (!rebuilt.contains(name)) {
          EXPECT_EQ(times_after.at(name), time) << name.toStdString() << " was touched";
          EXPECT_EQ(testdata::Contents(name), before.at(name)) << name.toStdString();
        }
      }
      EXPECT_TRUE(ui_.script.Progress().empty()) << "a quiet reindex shows no progress";
      EXPECT_EQ(CurrentModes(), kEveryDay);
    }
  }
  EXPECT_TRUE(testdata::CheckClean(Data()));
}

TEST_F(FileMaintTest, ReindexWithProgressRebuildsEveryGroup) {
  // Damage one tag beyond use: the full reindex must replace it.
  ASSERT_TRUE(testdata::WriteContents("czip.ntx", QByteArray(1024, 'x')));
  ASSERT_FALSE(testdata::CheckClean(Data()));

  Reindex(false);

  EXPECT_EQ(ui_.script.ProgressTexts(), QStringList({"Rebuilding Indexes", ""}));
  EXPECT_EQ(ui_.script.ProgressPercents(), (std::vector<int>{5, 25, 30, 35, 40, 60, 80, 100, 100}));
  EXPECT_TRUE(testdata::CheckClean(Data()));
  EXPECT_EQ(CurrentModes(), kEveryDay);
}

// --- Pack ----------------------------------------------------------------------

TEST_F(FileMaintTest, PackAllRemovesDeletedRecordsAndClearsTheFlag) {
  const long customers = RecordCount("CUST5");
  const long products = RecordCount("Prod5");
  ASSERT_GT(customers, 1);
  ASSERT_GT(products, 1);
  ASSERT_TRUE(OpenCustomers());
  ASSERT_EQ(d4go(CustDb, 1), 0);
  d4delete(CustDb);
  ASSERT_TRUE(OpenProducts());
  ASSERT_EQ(d4go(ProdDb, 2), 0);
  d4delete(ProdDb);
  CloseAllTables();
  PackPending = true;

  PackAll();

  EXPECT_EQ(RecordCount("CUST5"), customers - 1);
  EXPECT_EQ(RecordCount("Prod5"), products - 1);
  EXPECT_FALSE(PackPending);
  EXPECT_EQ(ui_.script.ProgressTexts(), QStringList({"Packing Data Files", ""}));
  EXPECT_EQ(ui_.script.ProgressPercents(), (std::vector<int>{10, 30, 35, 50, 70, 75, 85, 100}));
  EXPECT_EQ(CurrentModes(), kEveryDay);
  EXPECT_TRUE(testdata::CheckClean(Data()));
}

TEST_F(FileMaintTest, PackThatCannotWriteKeepsTheFlagAndTheData) {
  ASSERT_TRUE(OpenGroups());
  ASSERT_EQ(d4go(GroupDb, 1), 0);
  d4delete(GroupDb);
  CloseAllTables();
  const QByteArray groups = testdata::Contents("GROUPS.dbf");
  PackPending = true;
  disk_.SetReadOnly(true);

  PackAll();

  disk_.SetReadOnly(false);
  EXPECT_TRUE(PackPending) << "deletions are still waiting to be packed";
  EXPECT_EQ(testdata::Contents("GROUPS.dbf"), groups);
  EXPECT_EQ(code4errorCode(cb, 0), 0) << "no error left pending to end the program";
  EXPECT_EQ(CurrentModes(), kEveryDay);
}

// --- Backup --------------------------------------------------------------------

TEST_F(FileMaintTest, BackupToTheDataDirectoryItselfIsRefused) {
  const auto before = testdata::Snapshot(Data());
  const QString spellings[] = {Data(), Data() + "/", "  " + Data() + "  ", Data() + "/.",
                               Data() + "/../data"};
  for (const QString& spelling : spellings) {
    SCOPED_TRACE(spelling.toStdString());
    ui_.script.ClearRecords();
    ChooseDirectory(spelling);
    ::BtnBackupClick();
    EXPECT_EQ(ui_.script.Said(),
              QStringList({"Backup must be to a different drive and/or directory"}));
    EXPECT_TRUE(ui_.script.Progress().empty());

    ui_.script.ClearRecords();
    ::BtnRestoreClick();
    EXPECT_EQ(ui_.script.Said(),
              QStringList({"Restore must be from a different drive and/or directory"}));
  }
  EXPECT_EQ(testdata::Snapshot(Data()), before);
}

TEST_F(FileMaintTest, CancelledChooserCopiesNothing) {
  const QString target = demo_->MakeSibling("backup");
  ui_.script.OnModal(WindowId::kDriveDir, [] {
    ChosenDirectory.clear();
    return 0;
  });
  ::BtnBackupClick();
  EXPECT_TRUE(QDir(target).entryList(QDir::Files).isEmpty());
  EXPECT_TRUE(ui_.script.Said().isEmpty());
  EXPECT_EQ(DriveDirCaption, "Choose Backup Drive & Directory");
  EXPECT_EQ(DriveDirOkCaption, "Backup");
  ::BtnRestoreClick();
  EXPECT_EQ(DriveDirCaption, "Choose Drive & Directory Containing BACKUP");
  EXPECT_EQ(DriveDirOkCaption, "Restore");
  EXPECT_TRUE(ui_.script.Said().isEmpty());
}

TEST_F(FileMaintTest, BackupThenRestoreRepairsADamagedDataSet) {
  const QString backup = demo_->MakeSibling("backup");
  const auto original = BackupSetContents(Data());
  const QByteArray settings = testdata::Contents("PLM1.dbf");
  ChooseDirectory(backup);

  ::BtnBackupClick();

  EXPECT_TRUE(ui_.script.Said().isEmpty()) << ui_.script.Said().join('|').toStdString();
  EXPECT_EQ(BackupSetContents(backup), original);
  EXPECT_EQ(QDir(backup).entryList(QDir::Files).size(), kBackupFileCount)
      << "only the backup set, no temporaries, no settings";
  EXPECT_EQ(ui_.script.ProgressTexts(), QStringList({"Copying Data Files", ""}));
  EXPECT_EQ(ui_.script.ProgressPercents(),
            (std::vector<int>{10, 20, 30, 35, 45, 55, 70, 75, 85, 95, 100}));

  // Damage: a cut table, a scribbled one, a lost memo file, a changed record.
  QByteArray customers = testdata::Contents("CUST5.dbf");
  ASSERT_TRUE(testdata::WriteContents("CUST5.dbf", customers.left(customers.size() / 2)));
  QByteArray invoices = testdata::Contents("INV5.dbf");
  invoices.replace(invoices.size() / 2, 64, QByteArray(64, '\xff'));
  ASSERT_TRUE(testdata::WriteContents("INV5.dbf", invoices));
  ASSERT_TRUE(QFile::remove("Prod5.dbt"));
  ASSERT_FALSE(testdata::CheckClean(Data()));

  ui_.script.ClearRecords();
  ::BtnRestoreClick();

  EXPECT_TRUE(ui_.script.Said().isEmpty()) << ui_.script.Said().join('|').toStdString();
  EXPECT_EQ(BackupSetContents(Data()), original);
  EXPECT_EQ(testdata::Contents("PLM1.dbf"), settings);
  EXPECT_TRUE(LeftoverTemporaries(Data()).isEmpty());
  EXPECT_TRUE(testdata::CheckClean(Data()));
  EXPECT_EQ(ui_.script.ProgressTexts(),
            QStringList({"Copying Data Files", "", "Rebuilding Indexes", ""}));
  EXPECT_EQ(CurrentModes(), kEveryDay);
}

// A removable disk fills up in the middle of a file: the operator puts in a
// second disk and the interrupted file is written again, whole, on it.
TEST_F(FileMaintTest, DiskFullBackupContinuesWholeOnTheNextDisk) {
  const QString drive = demo_->MakeSibling("drive");
  const QString first_disk = demo_->MakeSibling("first-disk");
  SetRemovableTest([drive](const QString& dir) { return SameDirectory(dir, drive); });
  const auto original = BackupSetContents(Data());
  // Room for the first three files and half of the fourth.
  qint64 room = 0;
  for (int i = 0; i < 3; ++i) room += original.at(kBackupSet[i]).size();
  const QString interrupted = kBackupSet[3];
  room += original.at(interrupted).size() / 2;
  disk_.FailAfterBytes(room);
  int disks_changed = 0;
  ui_.on_question = [&](const QString& text) {
    if (!text.startsWith("Disk Full")) return;
    // Take the full disk out (its files go with it) and put in an empty one.
    for (const QString& name : QDir(drive).entryList(QDir::Files)) {
      QFile::rename(drive + "/" + name, first_disk + "/" + name);
    }
    disk_.Reset();
    ++disks_changed;
  };
  ui_.script.QueueAnswer(Answer::kOk);
  ChooseDirectory(drive);

  ::BtnBackupClick();

  EXPECT_EQ(disks_changed, 1);
  EXPECT_EQ(ui_.script.Said(), QStringList({"Disk Full. Insert another disk." + interrupted}));
  QStringList on_first;
  for (int i = 0; i < 3; ++i) on_first << kBackupSet[i];
  EXPECT_EQ(QDir(first_disk).entryList(QDir::Files, QDir::Name),
            QDir(first_disk).entryList(on_first, QDir::Files, QDir::Name));
  EXPECT_EQ(QDir(first_disk).entryList(QDir::Files).size(), 3);
  for (int i = 0; i < kBackupFileCount; ++i) {
    const QString name = kBackupSet[i];
    const QString disk = i < 3 ? first_disk : drive;
    EXPECT_EQ(testdata::Contents(disk + "/" + name), original.at(name)) << name.toStdString();
  }
  EXPECT_TRUE(LeftoverTemporaries(drive).isEmpty());
  EXPECT_TRUE(LeftoverTemporaries(first_disk).isEmpty());
}

// Every way a backup copy can fail, with the operator's answer: what is
// asked, whether the backup ends well, and that a failed one leaves the
// previous backup whole.
TEST_F(FileMaintTest, BackupFailuresAskAndKeepThePreviousBackup) {
  struct Case {
    const char* what;
    bool read_only;          // else the disk fills up
    Answer answer;           // to the first question
    bool fixed_by_operator;  // the operator clears the fault before OK
    QString question;
    bool succeeds;
  };
  const Case cases[] = {
      {"protected, removed, OK", true, Answer::kOk, true, "Disk is Write Protected", true},
      {"protected, cancel", true, Answer::kCancel, false, "Disk is Write Protected", false},
      {"full, cancel", false, Answer::kCancel, false, "Disk Full. Insert another disk.", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const QString backup = demo_->MakeSibling(QString("backup-") + c.what);
    for (const QString& name : BackupSetNames()) {
      ASSERT_TRUE(
          testdata::WriteContents(backup + "/" + name, "previous backup of " + name.toLatin1()));
    }
    const auto previous = BackupSetContents(backup);
    ui_.script.ClearRecords();
    disk_.Reset();
    if (c.read_only) {
      disk_.SetReadOnly(true);
    } else {
      disk_.FailAfterBytes(testdata::Contents(kBackupSet[0]).size() + 100);
    }
    ui_.on_question = [&](const QString&) {
      if (c.fixed_by_operator) disk_.Reset();
    };
    ui_.script.QueueAnswer(c.answer);
    ChooseDirectory(backup);

    ::BtnBackupClick();

    disk_.Reset();
    ASSERT_FALSE(ui_.script.Said().isEmpty());
    EXPECT_TRUE(ui_.script.Said().first().startsWith(c.question));
    if (c.succeeds) {
      EXPECT_EQ(BackupSetContents(backup), BackupSetContents(Data()));
      EXPECT_EQ(ui_.script.Said().size(), 1);
    } else {
      EXPECT_EQ(ui_.script.Said().last(),
                "Backup Failed . . Check that disk is not write protected");
      // Files copied before the failure are new and whole; the rest are the
      // previous backup, untouched.
      for (const QString& name : BackupSetNames()) {
        const QByteArray now = testdata::Contents(backup + "/" + name);
        EXPECT_TRUE(now == previous.at(name) || now == testdata::Contents(name))
            << name.toStdString();
      }
      EXPECT_EQ(testdata::Contents(backup + "/" + kBackupSet[1]), previous.at(kBackupSet[1]));
    }
    EXPECT_TRUE(LeftoverTemporaries(backup).isEmpty());
    EXPECT_EQ(ui_.script.ProgressTexts().last(), "");
  }
}

TEST_F(FileMaintTest, ADiskThatNeverTakesTheFileEndsAfterBoundedRetries) {
  const QString backup = demo_->MakeSibling("backup");
  disk_.FailAfterBytes(10);
  ui_.on_question = [&](const QString&) { disk_.FailAfterBytes(10); };  // each "new disk" is full
  // One "new disk" for every attempt but the last; one more question would
  // go unanswered.
  for (int i = 0; i < kMaxCopyAttempts - 1; ++i) ui_.script.QueueAnswer(Answer::kOk);
  ChooseDirectory(backup);

  ::BtnBackupClick();

  const QStringList said = ui_.script.Said();
  EXPECT_EQ(said.count("Disk Full. Insert another disk." + QString(kBackupSet[0])),
            kMaxCopyAttempts - 1);
  ASSERT_GE(said.size(), 2);
  EXPECT_TRUE(said.at(said.size() - 2).startsWith("Unable to copy "));
  EXPECT_EQ(said.last(), "Backup Failed . . Check that disk is not write protected");
  EXPECT_TRUE(QDir(backup).entryList(QDir::Files).isEmpty());
}

TEST_F(FileMaintTest, BackupWithADataFileMissingEnds) {
  const QString backup = demo_->MakeSibling("backup");
  ASSERT_TRUE(QFile::remove("LABELS.dbf"));
  ChooseDirectory(backup);
  ::BtnBackupClick();
  EXPECT_EQ(ui_.script.Said(),
            QStringList({"Unable to find " + Data() + "/LABELS.dbf\r\nFunction Aborted",
                         "Backup Failed . . Check that disk is not write protected"}));
}

// --- Restore -------------------------------------------------------------------

// A restore stopped before every file has arrived leaves the live data as it
// was: from a fixed disk with a file missing, from a removable disk when the
// operator cancels the request for the next disk, and when the data
// directory fills up.
TEST_F(FileMaintTest, RestoreThatDoesNotFinishLeavesTheDataUntouched) {
  struct Case {
    const char* what;
    bool removable;
    bool disk_full;
    QStringList said_first;
  };
  const QString backup = demo_->MakeSibling("backup");
  const Case cases[] = {
      {"fixed disk, file missing",
       false,
       false,
       {"Unable to find " + backup + "/INV5.dbf\r\nFunction Aborted"}},
      {"removable, cancelled", true, false, {"Insert disk containing INV5.dbf"}},
      {"data directory full", false, true, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // The backup: an older state of the data, with INV5.dbf missing unless
    // the copying itself is to fail.
    for (const QString& name : BackupSetNames()) {
      ASSERT_TRUE(testdata::WriteContents(backup + "/" + name, "older " + name.toLatin1()));
    }
    if (!c.disk_full) {
      ASSERT_TRUE(QFile::remove(backup + "/INV5.dbf"));
    }
    const auto live = testdata::Snapshot(Data());
    SetRemovableTest([&](const QString&) { return c.removable; });
    disk_.Reset();
    if (c.disk_full) disk_.FailAfterBytes(40);
    // Told of the failure, the operator makes room again.
    ui_.on_question = [&](const QString&) { disk_.Reset(); };
    ui_.script.ClearRecords();
    if (c.removable) ui_.script.QueueAnswer(Answer::kCancel);  // no disk comes
    ChooseDirectory(backup);

    ::BtnRestoreClick();

    disk_.Reset();
    const QStringList said = ui_.script.Said();
    for (int i = 0; i < c.said_first.size(); ++i) {
      ASSERT_GT(said.size(), i);
      EXPECT_EQ(said.at(i), c.said_first.at(i));
    }
    if (c.disk_full) {
      EXPECT_TRUE(said.first().startsWith("Unable to copy "));
    }
    EXPECT_EQ(said.last(), "Restore Failed . . Check that your disk is not full.");
    // The data is as it was; the reindex that follows a restore rewrites only
    // index files.
    for (const auto& [name, contents] : live) {
      if (name.endsWith(".ntx") || name.endsWith(".cgp")) continue;
      EXPECT_EQ(testdata::Contents(name), contents) << name.toStdString();
    }
    EXPECT_TRUE(LeftoverTemporaries(Data()).isEmpty());
    EXPECT_TRUE(testdata::CheckClean(Data()));
    EXPECT_EQ(CurrentModes(), kEveryDay);
  }
}

TEST_F(FileMaintTest, RestoreFromRemovableDisksAsksForTheDiskHoldingEachFile) {
  const QString drive = demo_->MakeSibling("drive");
  const QString second_disk = demo_->MakeSibling("second-disk");
  const auto original = BackupSetContents(Data());
  // The backup spans two disks: the first seven files on the one in the
  // drive, the rest on the second.
  for (int i = 0; i < kBackupFileCount; ++i) {
    const QString name = kBackupSet[i];
    ASSERT_TRUE(
        testdata::WriteContents((i < 7 ? drive : second_disk) + "/" + name, original.at(name)));
  }
  // Spoil the live data so the restore has something to do.
  ASSERT_TRUE(testdata::WriteContents("CUST5.dbf", "spoilt"));
  SetRemovableTest([drive](const QString& dir) { return SameDirectory(dir, drive); });
  ui_.on_question = [&](const QString& text) {
    if (!text.startsWith("Insert disk containing")) return;
    for (const QString& name : QDir(drive).entryList(QDir::Files))
      QFile::remove(drive + "/" + name);
    for (const QString& name : QDir(second_disk).entryList(QDir::Files)) {
      QFile::copy(second_disk + "/" + name, drive + "/" + name);
    }
  };
  ui_.script.QueueAnswer(Answer::kOk);
  ChooseDirectory(drive);

  ::BtnRestoreClick();

  EXPECT_EQ(ui_.script.Said(), QStringList({"Insert disk containing " + QString(kBackupSet[7])}));
  EXPECT_EQ(BackupSetContents(Data()), original);
  EXPECT_TRUE(testdata::CheckClean(Data()));
}

// Should the program stop between replacing the files and rebuilding the
// indexes, the next start's quiet rebuild must not keep indexes of the old
// data.
TEST_F(FileMaintTest, RestoredTablesGetFreshIndexesEvenWithoutTheRebuild) {
  const QString backup = demo_->MakeSibling("backup");
  ASSERT_TRUE(CopyDataFiles(CopyDirection::kToBackup, backup));
  ui_.script.QueueAnswer(Answer::kOk);
  EraseAllData();  // the live indexes now describe empty tables
  ASSERT_EQ(RecordCount("CUST5"), 0);

  ASSERT_TRUE(CopyDataFiles(CopyDirection::kFromBackup, backup));
  Reindex(true);

  EXPECT_GT(RecordCount("CUST5"), 0);
  EXPECT_TRUE(testdata::CheckClean(Data()));
}

TEST_F(FileMaintTest, CopyOneFileReplacesOnlyThatFile) {
  const QString backup = demo_->MakeSibling("backup");
  const QByteArray groups = testdata::Contents("GROUPS.dbf");
  ASSERT_TRUE(CopyOneFile(CopyDirection::kToBackup, backup, "GROUPS.dbf"));
  EXPECT_EQ(testdata::Contents(backup + "/GROUPS.dbf"), groups);
  EXPECT_EQ(QDir(backup).entryList(QDir::Files), QStringList({"GROUPS.dbf"}));

  ASSERT_TRUE(testdata::WriteContents("GROUPS.dbf", "spoilt"));
  ASSERT_TRUE(CopyOneFile(CopyDirection::kFromBackup, backup, "GROUPS.dbf"));
  EXPECT_EQ(testdata::Contents("GROUPS.dbf"), groups);
  EXPECT_TRUE(LeftoverTemporaries(Data()).isEmpty());

  EXPECT_FALSE(CopyOneFile(CopyDirection::kFromBackup, backup, "INV5.dbf"));
  EXPECT_EQ(ui_.script.Said(),
            QStringList({"Unable to find " + backup + "/INV5.dbf\r\nFunction Aborted"}));
}

// --- Erase ---------------------------------------------------------------------

TEST_F(FileMaintTest, EraseEmptiesBusinessTablesAndKeepsLabelsAndSettings) {
  const QByteArray settings = testdata::Contents("PLM1.dbf");
  const QByteArray labels = testdata::Contents("LABELS.dbf");
  const long label_count = RecordCount("LABELS");
  ASSERT_GT(label_count, 0);
  ui_.script.QueueAnswer(Answer::kOk);

  EraseAllData();

  EXPECT_EQ(ui_.script.Said(),
            QStringList({"WARNING: You are about to erase all of your existing data."}));
  for (const char* table : {"CUST5", "GROUPS", "INV5", "ITM5", "GSTPMT", "Prod5", "Pur5"}) {
    EXPECT_EQ(RecordCount(table), 0) << table;
  }
  EXPECT_EQ(RecordCount("LABELS"), label_count);
  EXPECT_EQ(testdata::Contents("PLM1.dbf"), settings);
  EXPECT_EQ(testdata::Contents("LABELS.dbf"), labels);
  EXPECT_EQ(ui_.script.ProgressTexts(), QStringList({"Erasing Data Files"}));
  EXPECT_EQ(ui_.script.ProgressPercents(),
            (std::vector<int>{5, 15, 30, 40, 50, 60, 70, 85, 90, 95, 100}));
  EXPECT_EQ(CurrentModes(), kEveryDay);
  EXPECT_TRUE(testdata::CheckClean(Data()));
}

TEST_F(FileMaintTest, EraseNotConfirmedChangesNothing) {
  const auto before = testdata::Snapshot(Data());
  ui_.script.QueueAnswer(Answer::kCancel);
  EraseAllData();
  EXPECT_EQ(testdata::Snapshot(Data()), before);
  EXPECT_TRUE(ui_.script.Progress().empty());
}

// --- Helpers -------------------------------------------------------------------

TEST(SameDirectoryTest, SpellingsOfOneDirectory) {
  QTemporaryDir root;
  ASSERT_TRUE(QDir(root.path()).mkpath("a/b"));
  const QString a = root.path() + "/a";
  ASSERT_TRUE(QFile::link(a, root.path() + "/link"));
  struct Case {
    QString first;
    QString second;
    bool same;
  };
  const Case cases[] = {
      {a, a, true},
      {a, a + "/", true},
      {" " + a + " ", a, true},
      {a + "/b/..", a, true},
      {root.path() + "/link", a, true},
      {a + "/b", a, false},
      {a, root.path() + "/A", false},
      {a, root.path() + "/missing", false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SameDirectory(c.first, c.second), c.same)
        << c.first.toStdString() << " vs " << c.second.toStdString();
  }
}

TEST(RemovableTest, OverrideDecidesAndNullRestoresTheVolumeCheck) {
  SetRemovableTest([](const QString& dir) { return dir.startsWith("/floppy"); });
  EXPECT_TRUE(OnRemovableMedia("/floppy/backup"));
  EXPECT_FALSE(OnRemovableMedia("/tmp"));
  SetRemovableTest(nullptr);
  EXPECT_FALSE(OnRemovableMedia(QDir::tempPath())) << "the temporary directory is a fixed disk";
}

}  // namespace
