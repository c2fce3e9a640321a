#include "Startup.h"

#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

#include "OpenDataDir.h"
#include "engine/DirectoryLock.h"
#include "engine/FileSystem.h"
#include "engine/TableEngine.h"
#include "platform/Platform.h"
#include "store/CodeBase.h"
#include "store/EngineResult.h"
#include "store/FileMaint.h"
#include "store/dbFiles.h"

namespace {

// The lock of the data directory this run works on; held until the run ends
// (the system drops it if the process dies first).
std::unique_ptr<engine::DirectoryLock>& DataLock() {
  static std::unique_ptr<engine::DirectoryLock> lock;
  return lock;
}

std::string DataDirectory() { return QFile::encodeName(QDir::currentPath()).toStdString(); }

std::string MarkerPath() { return DataDirectory() + "/" + kRunMarkerFile; }

// Claims the current directory for this run. False (the operator told) when
// another program holds it or it cannot be locked.
bool LockDataDirectory() {
  const std::string directory = DataDirectory();
  std::unique_ptr<engine::DirectoryLock>& held = DataLock();
  if (held && held->Directory() == directory) return true;
  held.reset();
  const int rc = engine::DirectoryLock::Acquire(directory, engine::LockMode::kExclusive, &held);
  if (rc == 0) return true;
  if (rc == EWOULDBLOCK) {
    platform::Current().Inform(kDataFilesInUseMessage);
  } else {
    platform::Current().Inform(
        QStringLiteral("Unable to lock the data files in this directory: %1\r\n"
                       "Program will now terminate.")
            .arg(QString::fromLocal8Bit(std::strerror(rc))));
  }
  return false;
}

// Writes the run marker; a run whose marker cannot be written goes on (the
// engine reports the disk's trouble when it writes), it only loses the
// check after a crash.
void WriteRunMarker() {
  engine::FileSystem& fs = DataFileSystem();
  std::unique_ptr<engine::File> file;
  if (fs.Open(MarkerPath(), engine::OpenMode::kCreate, &file) != 0) return;
  const std::string text =
      "Pelmark Invoicing is running (process " + std::to_string(::getpid()) + ")\n";
  if (file->WriteAt(0, text.data(), text.size()) != 0 || file->Sync() != 0) return;
  file.reset();
  (void)fs.SyncDirectory(DataDirectory());
}

void RemoveRunMarker() {
  engine::FileSystem& fs = DataFileSystem();
  if (fs.Remove(MarkerPath()) == 0) (void)fs.SyncDirectory(DataDirectory());
}

// Tells the operator what was put back after a stopped run: an unfinished
// change undone (the status bar says so), and after an abnormal end the
// repairs of the check (listed in a message), or that all was sound.
void ReportMending(const QString& recovered, bool abnormal_end, QStringList repairs) {
  platform::Platform& ui = platform::Current();
  if (!recovered.isEmpty()) repairs.prepend(recovered);
  if (!repairs.isEmpty() && abnormal_end) {
    ui.Inform(QString(kRepairedHeading) + "\r\n" + repairs.join("\r\n"));
    ui.ShowProgress(QString(kRepairedHeading) + " " + repairs.join("; "));
  } else if (!repairs.isEmpty()) {
    ui.ShowProgress(repairs.join("; "));
  } else if (abnormal_end) {
    ui.ShowProgress(kCheckedSoundText);
  }
}

}  // namespace

bool OpenDataDirectory() {
  if (!DataFilesPresent()) {
    platform::Current().Inform(kDataFilesMissingMessage);
    platform::Current().Terminate(1);
    return false;
  }
  if (!LockDataDirectory()) {
    platform::Current().Terminate(1);
    return false;
  }
  if (!StartEngine()) {
    if (cb != nullptr) error4exitTest(cb);
    platform::Current().Terminate(1);
    return false;
  }
  if (error4exitTest(cb) != 0) return false;
  code4optimize(cb, 1);
  code4optimizeWrite(cb, -1);
  // The engine writes through the same file system the copies use.
  code4fileSystem(cb, &DataFileSystem());
  const bool abnormal_end = DataFileSystem().Exists(MarkerPath());
  WriteRunMarker();
  // Before any table is opened, which would undo an unfinished change unseen.
  const QString recovered = RecoverDataFiles();
  Reindex(true);
  // An error still pending here means the program has been asked to end.
  if (!store::ErrorPending()) {
    // After an abnormal end: records past a table's count are taken in and
    // every index group is checked against its table, with progress.
    ReportMending(recovered, abnormal_end, abnormal_end ? RepairDataFiles() : QStringList());
  }
  if (!OpenSettings()) return false;
  LoadSettings();
  CloseAllTables();
  PackPending = false;
  RememberDataDirectory(QDir::currentPath());
  return true;
}

void CloseDataDirectory() {
  if (cb != nullptr) {
    error4exitTest(cb);
    if (PackPending) PackAll();
    // The run ended cleanly only when every table wrote what it held.
    const bool written = CloseAllTables();
    EndEngine();
    if (written) RemoveRunMarker();
  }
  DataLock().reset();
}
