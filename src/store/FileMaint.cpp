#include "store/FileMaint.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QStorageInfo>
#include <cerrno>
#include <cstring>
#include <vector>

#include "engine/FileSystem.h"
#include "engine/Replacement.h"
#include "engine/TableEngine.h"
#include "platform/Platform.h"
#include "store/CodeBase.h"
#include "store/EngineResult.h"
#include "store/TableDefs.h"
#include "store/dbFiles.h"

QString ChosenDirectory;
QString DriveDirCaption;
QString DriveDirOkCaption;
std::function<QString(const QString&)> DriveDirNewDataSet;

namespace {

engine::FileSystem* file_system = nullptr;
RemovableTest removable_test;

platform::Platform& Ui() { return platform::Current(); }

// Puts the engine back into its everyday modes when an operation ends, by
// whatever path it ends.
class EveryDayModes {
 public:
  EveryDayModes() = default;
  EveryDayModes(const EveryDayModes&) = delete;
  EveryDayModes& operator=(const EveryDayModes&) = delete;
  ~EveryDayModes() {
    if (cb == nullptr) return;
    code4autoOpen(cb, 1);
    code4safety(cb, 1);
    code4accessMode(cb, 0);
  }
};

// An engine change of several tables that is abandoned unless committed.
class TableChange {
 public:
  TableChange() : begun_(cb != nullptr && code4replaceBegin(cb) == 0) {}
  TableChange(const TableChange&) = delete;
  TableChange& operator=(const TableChange&) = delete;
  ~TableChange() {
    if (begun_) code4replaceAbandon(cb);
  }
  bool Begun() const { return begun_; }
  // Puts every new file in place, or none; the tables must be closed.
  bool Commit() {
    if (!begun_) return false;
    begun_ = false;
    return code4replaceCommit(cb) == 0;
  }

 private:
  bool begun_;
};

// Closes every table; false when one of them could not write what it held.
bool CloseTables() {
  const bool closed = cb == nullptr || code4close(cb) == 0;
  CloseAllTables();
  return closed;
}

std::string Native(const QString& path) { return QFile::encodeName(path).toStdString(); }

bool Exists(const QString& path) { return DataFileSystem().Exists(Native(path)); }

void RemoveIfPresent(const QString& path) {
  if (Exists(path)) (void)DataFileSystem().Remove(Native(path));
}

QString DataPath(const QString& name) { return QDir::current().absoluteFilePath(name); }

// The live file of that name in the data directory, spelt as it is on disk
// (the engine matches names without regard to case); the name itself when
// there is none.
QString LivePath(const QString& name) {
  const QStringList matches = QDir::current().entryList({name}, QDir::Files);
  return DataPath(matches.isEmpty() ? name : matches.first());
}

// The directory as text ending in one separator.
QString WithSeparator(const QString& directory) {
  QString dir = directory.trimmed();
  if (!dir.endsWith('/')) dir += '/';
  return dir;
}

QString ErrorText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

void ReportUnableToFind(const QString& source) {
  Ui().Inform("Unable to find " + source + "\r\n" + "Function Aborted");
}

void ReportUnableToCopy(const QString& source, const QString& target, int error) {
  Ui().Inform("Unable to copy " + source + " to " + target + "\r\n" + ErrorText(error) + "\r\n" +
              "Function Aborted");
}

// Copies source to target through a temporary file beside the target, so the
// target is either the old file or the whole new one. Returns an errno.
int CopyThroughTemp(const QString& source, const QString& target, const QString& temp) {
  engine::FileSystem& fs = DataFileSystem();
  int rc = fs.Copy(Native(source), Native(temp));
  if (rc == 0) rc = fs.Rename(Native(temp), Native(target));
  if (rc != 0) RemoveIfPresent(temp);
  return rc;
}

// One file to the backup directory. A full disk asks for another one and a
// write-protected one for the protection to be removed; after OK the whole
// file is copied again to whatever disk is there.
bool BackupOneFile(const QString& dir, const QString& name) {
  const QString source = LivePath(name);
  const QString target = dir + name;
  if (!Exists(source)) {
    ReportUnableToFind(source);
    return false;
  }
  int rc = 0;
  for (int attempt = 1; attempt <= kMaxCopyAttempts; ++attempt) {
    rc = CopyThroughTemp(source, target, target + kBackupTempSuffix);
    if (rc == 0) return true;
    if (attempt == kMaxCopyAttempts) break;
    if (rc == ENOSPC) {
      if (Ui().AskOkCancel("Disk Full. Insert another disk." + name) != platform::Answer::kOk) {
        return false;
      }
    } else if (rc == EROFS || rc == EACCES) {
      if (Ui().AskOkCancel("Disk is Write Protected") != platform::Answer::kOk) return false;
    } else {
      break;
    }
  }
  ReportUnableToCopy(source, target, rc);
  return false;
}

// One file from the backup directory to where the change stages its new
// version. On removable media a missing file asks for the disk holding it.
bool FetchOneFile(const QString& dir, const QString& name, engine::Replacement* change) {
  const QString source = dir + name;
  const QString staged = QFile::decodeName(change->Stage(Native(LivePath(name))).c_str());
  const bool removable = OnRemovableMedia(dir);
  for (int attempt = 1; attempt <= kMaxCopyAttempts; ++attempt) {
    if (Exists(source)) {
      const int rc = DataFileSystem().Copy(Native(source), Native(staged));
      if (rc == 0) return true;
      RemoveIfPresent(staged);
      ReportUnableToCopy(source, staged, rc);
      return false;
    }
    if (!removable || attempt == kMaxCopyAttempts) break;
    if (Ui().AskOkCancel("Insert disk containing " + name) != platform::Answer::kOk) return false;
  }
  ReportUnableToFind(source);
  return false;
}

// The data directory, for a change of its files.
engine::Replacement DataChange() {
  return engine::Replacement(DataFileSystem(), Native(QDir::currentPath()));
}

// Puts the fetched files in place in one change, together with the removal
// of their tables' index groups: the indexes of the old data must not
// survive, even should the rebuild after the restore never happen (the next
// start rebuilds missing groups).
bool ReplaceLiveFiles(engine::Replacement* change, const QStringList& names) {
  for (const QString& name : names) {
    for (const store::TableDef& def : store::AllTables()) {
      if (def.group_file != nullptr && name.compare(def.data_file, Qt::CaseInsensitive) == 0) {
        change->StageRemoval(Native(LivePath(def.group_file)));
      }
    }
  }
  CloseAllTables();
  if (change->Commit() != 0) {
    Ui().Inform("Unable to put the restored files in place\r\nFunction Aborted");
    return false;
  }
  return true;
}

// The lower-case names of the files in the current directory; the engine
// matches file names without regard to case.
QSet<QString> FilesPresent() {
  QSet<QString> present;
  for (const QString& name : QDir::current().entryList(QDir::Files)) present.insert(name.toLower());
  return present;
}

bool GroupIncomplete(const store::TableDef& def, const QSet<QString>& present) {
  if (!present.contains(QString(def.group_file).toLower())) return true;
  for (const store::TagDef& tag : def.tags) {
    if (!present.contains((QString(tag.file) + ".ntx").toLower())) return true;
  }
  return false;
}

int ReindexProgress(const store::TableDef& def) {
  static constexpr struct {
    const char* name;
    int percent;
  } kSteps[] = {{"CUST5", 25}, {"GROUPS", 30}, {"Prod5", 35},   {"Pur5", 40},
                {"INV5", 60},  {"ITM5", 80},   {"GSTPMT", 100}, {"LABELS", 100}};
  for (const auto& step : kSteps) {
    if (QString(step.name).compare(def.name, Qt::CaseInsensitive) == 0) return step.percent;
  }
  return 100;
}

// Removes every record of the open table; true when it worked.
bool Zap(DATA4* table) {
  if (table == nullptr) return false;
  const long count = d4recCountDo(table);
  if (count <= 0) return true;
  return d4zap(table, 1, count) == 0;
}

}  // namespace

void UseFileSystem(engine::FileSystem* fs) {
  file_system = fs;
  if (cb != nullptr) code4fileSystem(cb, fs);
}

engine::FileSystem& DataFileSystem() {
  return file_system != nullptr ? *file_system : engine::DiskFileSystem();
}

void SetRemovableTest(RemovableTest test) { removable_test = std::move(test); }

bool OnRemovableMedia(const QString& directory) {
  if (removable_test) return removable_test(directory);
  const QStorageInfo volume(directory.trimmed());
  if (!volume.isValid()) return false;
  const QString root = volume.rootPath();
  return root.startsWith("/media/") || root.startsWith("/run/media/");
}

bool SameDirectory(const QString& a, const QString& b) {
  const QFileInfo first(a.trimmed());
  const QFileInfo second(b.trimmed());
  const QString first_path =
      first.exists() ? first.canonicalFilePath() : QDir::cleanPath(first.absoluteFilePath());
  const QString second_path =
      second.exists() ? second.canonicalFilePath() : QDir::cleanPath(second.absoluteFilePath());
  return first_path == second_path;
}

void Reindex(bool quiet) {
  if (cb == nullptr) return;
  EveryDayModes restore_modes;
  code4autoOpen(cb, 0);
  code4safety(cb, 0);
  code4accessMode(cb, 1);
  if (!quiet) {
    Ui().ShowProgress("Rebuilding Indexes");
    Ui().SetProgress(5);
  }
  const QSet<QString> present = FilesPresent();
  for (const store::TableDef* def : store::ReindexOrder()) {
    if (!quiet || GroupIncomplete(*def, present)) {
      // A table or index that cannot be opened or written ends the program;
      // nothing more is attempted once that has been asked for.
      DATA4* table = d4open(cb, def->name);
      if (error4exitTest(cb) != 0 || table == nullptr) return;
      const std::vector<TAG4INFO> tags = store::CreateTagList(*def);
      const INDEX4* built = i4create(table, def->name, tags.data());
      const int closed = code4close(cb);
      if (error4exitTest(cb) != 0 || built == nullptr || closed < 0) return;
    }
    if (!quiet) Ui().SetProgress(ReindexProgress(*def));
  }
  if (!quiet) Ui().ShowProgress("");
}

bool PackTable(const char* name, bool compress_memo) {
  if (cb == nullptr) return false;
  EveryDayModes restore_modes;
  code4accessMode(cb, 1);
  // Pack and memo compression are one change: the table, its tags and its
  // memo file are all new or all as they were.
  TableChange change;
  DATA4* table = d4open(cb, name);
  bool packed = false;
  if (change.Begun() && store::TakeResult(table).ok() && table != nullptr) {
    packed = d4pack(table) == 0;
    if (packed && compress_memo) packed = d4memoCompress(table) == 0;
  }
  if (!CloseTables()) packed = false;
  if (packed) packed = change.Commit();
  // A failed pack leaves the table as it was; its error must not end the
  // program at the next error test.
  if (!store::TakeResult(table).ok()) packed = false;
  return packed;
}

bool PackAll() {
  if (cb == nullptr) return false;
  static constexpr struct {
    int percent;
    const char* name;
    bool compress_memo;
  } kSteps[] = {{10, "CUST5", true}, {30, "GROUPS", false}, {35, "INV5", true},
                {50, "ITM5", false}, {70, "LABELS", false}, {75, "GSTPMT", false},
                {85, "Pur5", false}, {100, "Prod5", true}};
  EveryDayModes restore_modes;
  code4accessMode(cb, 1);
  Ui().ShowProgress("Packing Data Files");
  bool all_packed = true;
  for (const auto& step : kSteps) {
    Ui().SetProgress(step.percent);
    if (!PackTable(step.name, step.compress_memo)) all_packed = false;
  }
  Ui().ShowProgress("");
  // Deletions still waiting keep the flag, so the next chance packs again.
  if (all_packed) PackPending = false;
  return all_packed;
}

bool CopyOneFile(CopyDirection direction, const QString& directory, const QString& file_name) {
  const QString dir = WithSeparator(directory);
  if (direction == CopyDirection::kToBackup) return BackupOneFile(dir, file_name);
  engine::Replacement change = DataChange();
  return FetchOneFile(dir, file_name, &change) && ReplaceLiveFiles(&change, {file_name});
}

bool CopyDataFiles(CopyDirection direction, const QString& directory) {
  const QString dir = WithSeparator(directory);
  Ui().ShowProgress("Copying Data Files");
  engine::Replacement change = DataChange();
  QStringList names;
  for (int i = 0; i < kBackupFileCount; ++i) {
    Ui().SetProgress(kCopyProgress[i]);
    const QString name = kBackupSet[i];
    const bool copied = direction == CopyDirection::kToBackup ? BackupOneFile(dir, name)
                                                              : FetchOneFile(dir, name, &change);
    if (!copied) return false;  // a restore's fetched files go with the change
    names << name;
  }
  if (direction == CopyDirection::kToBackup) return true;
  // Every file has arrived: only now are the live files replaced, all at once.
  return ReplaceLiveFiles(&change, names);
}

void EraseAllData() {
  if (Ui().WarnOkCancel("WARNING: You are about to erase all of your existing data.") !=
      platform::Answer::kOk) {
    return;
  }
  if (cb == nullptr) return;
  EveryDayModes restore_modes;
  code4accessMode(cb, 1);
  Ui().ShowProgress("Erasing Data Files");
  Ui().SetProgress(5);

  // One change for every table: the data is erased whole or not at all.
  TableChange change;
  bool erased = change.Begun();
  if (!erased) {
    Ui().Inform("Erase Failed . . Your data files were left as they were.");
    return;
  }
  struct Step {
    bool (*open)();
    DATA4** table;
    int removed_progress;  // 0: none between the removal and the compression
    int done_progress;
  };
  const Step steps[] = {{&OpenCustomers, &CustDb, 15, 30}, {&OpenGroups, &GroupDb, 0, 40},
                        {&OpenInvoices, &InvDb, 50, 60},   {&OpenLineItems, &ItemDb, 0, 70},
                        {&OpenPayments, &PmtDb, 0, 85},    {&OpenProducts, &ProdDb, 90, 95},
                        {&OpenPurchases, &PurDb, 0, 100}};
  for (const Step& step : steps) {
    if (!step.open()) return;  // the program ends
    const bool zapped = Zap(*step.table);
    if (step.removed_progress > 0) {
      Ui().SetProgress(step.removed_progress);
      if (zapped && d4memoCompress(*step.table) != 0) erased = false;
    }
    if (!zapped) erased = false;
    if (!CloseTables()) erased = false;
    Ui().SetProgress(step.done_progress);
    if (!erased) break;
  }
  if (erased) erased = change.Commit();
  store::TakeResult(static_cast<DATA4*>(nullptr));  // reported below; must not end the program later
  if (!erased) Ui().Inform("Erase Failed . . Your data files were left as they were.");
}

namespace {

// Problems the checker finds in the table opened with its index group (the
// group failing to open is one).
QStringList CheckProblems(const store::TableDef& def) {
  QStringList problems;
  code4autoOpen(cb, 1);
  DATA4* table = d4open(cb, def.name);
  if (table == nullptr || !store::TakeResult(def.table).ok()) {
    CloseAfterFailure(table);
    return {"its index group cannot be opened"};
  }
  std::vector<std::string> found;
  if (d4check(table, &found) < 0 && found.empty()) found.push_back("it could not be read");
  for (const store::TagDef& tag : def.tags) {
    if (d4tag(table, tag.file) == nullptr)
      found.push_back(std::string("tag ") + tag.name + " missing");
  }
  // Only read: what closing meets changes nothing the check found.
  store::TakeResult(def.table, d4close(table));
  for (const std::string& line : found) problems << QString::fromStdString(line);
  return problems;
}

bool RebuildGroup(const store::TableDef& def) {
  code4autoOpen(cb, 0);
  code4safety(cb, 0);
  DATA4* table = d4open(cb, def.name);
  bool rebuilt = false;
  if (table != nullptr && store::TakeResult(def.table).ok()) {
    const std::vector<TAG4INFO> tags = store::CreateTagList(def);
    rebuilt = i4create(table, def.name, tags.data()) != nullptr;
  }
  if (table != nullptr && d4close(table) != 0) rebuilt = false;
  store::TakeResult(def.table);
  code4autoOpen(cb, 1);
  code4safety(cb, 1);
  return rebuilt;
}

}  // namespace

QStringList TakeInUncountedRecords(CODE4* code_base) {
  QStringList lines;
  if (code_base == nullptr) return lines;
  const int auto_open = code4autoOpen(code_base, 0);
  const int access = code4accessMode(code_base, 1);
  for (const store::TableDef& def : store::AllTables()) {
    DATA4* table = d4open(code_base, def.name);
    long taken = 0;
    const long beyond = table != nullptr ? d4recordsBeyondCount(table) : 0;
    const int recovered = beyond > 0 ? d4recoverRecords(table, &taken) : 0;
    // Closing writes the new count; the instance may be another program's
    // own (the data tool's), so its error is cleared here, reported below.
    const int closed = table != nullptr ? d4close(table) : 0;
    code4errorCode(code_base, 0);
    const int rc = recovered < 0 ? recovered : closed;
    if (rc == 0 && taken > 0) {
      lines << QString("%1: %2 record%3 written before the interruption taken in")
                   .arg(def.name)
                   .arg(taken)
                   .arg(taken == 1 ? "" : "s");
    } else if (rc < 0 && beyond > 0) {
      // Left as they are: the table keeps refusing appends over them.
      lines << QString("%1: %2 record%3 after the table's count could not be taken in (%4)")
                   .arg(def.name)
                   .arg(beyond)
                   .arg(beyond == 1 ? "" : "s")
                   .arg(rc == e4data ? "malformed records among them"
                                     : "the file could not be written");
    }
  }
  code4autoOpen(code_base, auto_open);
  code4accessMode(code_base, access);
  return lines;
}

QStringList RepairDataFiles() {
  QStringList repairs;
  if (cb == nullptr) return repairs;
  EveryDayModes restore_modes;
  code4accessMode(cb, 1);
  Ui().ShowProgress("Checking Data Files");
  Ui().SetProgress(5);
  // Records a stop left after a table's count come first: the indexes are
  // checked against the tables as they will stay.
  repairs << TakeInUncountedRecords(cb);
  code4autoOpen(cb, 1);
  const std::vector<const store::TableDef*> groups = store::ReindexOrder();
  for (size_t i = 0; i < groups.size(); ++i) {
    const store::TableDef& def = *groups[i];
    Ui().SetProgress(10 + static_cast<int>(90 * (i + 1) / groups.size()));
    if (CheckProblems(def).isEmpty()) continue;
    if (!RebuildGroup(def)) {
      repairs << QString("%1: its index group could not be rebuilt").arg(def.name);
      continue;
    }
    const QStringList remaining = CheckProblems(def);
    repairs << QString("%1: index group rebuilt").arg(def.name) +
                   (remaining.isEmpty() ? QString() : "; still: " + remaining.join("; "));
  }
  Ui().ShowProgress("");
  return repairs;
}

QString RecoverDataFiles(bool* ok) {
  engine::RecoveryReport report;
  const int rc = engine::RecoverDirectory(DataFileSystem(), Native(QDir::currentPath()), &report);
  if (ok != nullptr) *ok = rc == 0;
  QStringList done;
  if (!report.restored.empty()) {
    QStringList names;
    for (const std::string& name : report.restored) names << QFile::decodeName(name.c_str());
    done << "An interrupted change was undone: " + names.join(", ") + " put back";
  }
  if (!report.removed.empty()) {
    done << QString("%1 leftover cop%2 of an interrupted change removed")
                .arg(report.removed.size())
                .arg(report.removed.size() == 1 ? "y" : "ies");
  }
  if (rc != 0) done << "the data files could not all be put back in order";
  return done.join("; ");
}

void BtnBackupClick() {
  const QString noted = QDir::currentPath();
  DriveDirCaption = "Choose Backup Drive & Directory";
  DriveDirOkCaption = "Backup";
  ChosenDirectory.clear();
  Ui().ShowModal(platform::WindowId::kDriveDir);
  QDir::setCurrent(noted);  // the data directory, whatever the chooser did
  if (ChosenDirectory.isEmpty()) return;
  if (SameDirectory(ChosenDirectory, noted)) {
    Ui().Inform("Backup must be to a different drive and/or directory");
    return;
  }
  if (!CopyDataFiles(CopyDirection::kToBackup, ChosenDirectory)) {
    Ui().Inform("Backup Failed . . Check that disk is not write protected");
  }
  Ui().ShowProgress("");
}

void BtnRestoreClick() {
  const QString noted = QDir::currentPath();
  DriveDirCaption = "Choose Drive & Directory Containing BACKUP";
  DriveDirOkCaption = "Restore";
  ChosenDirectory.clear();
  Ui().ShowModal(platform::WindowId::kDriveDir);
  QDir::setCurrent(noted);
  if (ChosenDirectory.isEmpty()) return;
  if (SameDirectory(ChosenDirectory, noted)) {
    Ui().Inform("Restore must be from a different drive and/or directory");
    return;
  }
  if (!CopyDataFiles(CopyDirection::kFromBackup, ChosenDirectory)) {
    Ui().Inform("Restore Failed . . Check that your disk is not full.");
  }
  Ui().ShowProgress("");
  Reindex(false);
}
