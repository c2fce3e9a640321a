#include "Startup.h"

#include <QDir>

#include "OpenDataDir.h"
#include "engine/TableEngine.h"
#include "platform/Platform.h"
#include "store/CodeBase.h"
#include "store/FileMaint.h"
#include "store/dbFiles.h"

bool OpenDataDirectory() {
  if (!DataFilesPresent()) {
    platform::Current().Inform(kDataFilesMissingMessage);
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
  Reindex(true);
  if (!OpenSettings()) return false;
  LoadSettings();
  CloseAllTables();
  PackPending = false;
  RememberDataDirectory(QDir::currentPath());
  return true;
}

void CloseDataDirectory() {
  if (cb == nullptr) return;
  error4exitTest(cb);
  if (PackPending) PackAll();
  EndEngine();
}
