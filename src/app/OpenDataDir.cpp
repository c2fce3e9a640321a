#include "OpenDataDir.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include "DataDir.h"
#include "platform/Platform.h"
#include "store/FileMaint.h"
#include "store/dbFiles.h"

namespace {

constexpr char kOrganization[] = "Pelmark";
constexpr char kApplication[] = "Pelmark Invoicing";
constexpr char kLastDirectoryKey[] = "LastDataDirectory";

// Where the chooser starts: the remembered directory, or the nearest of its
// parents that still exists, or the home directory.
QString StartingDirectory(const QString& last) {
  if (last.isEmpty()) return QDir::homePath();
  QString path = QDir::cleanPath(QDir(last).absolutePath());
  while (!QFileInfo(path).isDir()) {
    const QString parent = QFileInfo(path).path();
    if (parent == path) return QDir::homePath();
    path = parent;
  }
  return path;
}

// The chooser set up for opening, and put back as backup and restore expect it.
class OpeningChooser {
 public:
  OpeningChooser() {
    DriveDirCaption = "Open Data Directory";
    DriveDirOkCaption = "Open";
    DriveDirNewDataSet = MakeNewDataDirectory;
  }
  ~OpeningChooser() {
    DriveDirCaption.clear();
    DriveDirOkCaption.clear();
    DriveDirNewDataSet = nullptr;
    ChosenDirectory.clear();
  }
  OpeningChooser(const OpeningChooser&) = delete;
  OpeningChooser& operator=(const OpeningChooser&) = delete;

  // The directory chosen; empty when cancelled.
  QString Choose() {
    ChosenDirectory.clear();
    platform::Current().ShowModal(platform::WindowId::kDriveDir);
    return ChosenDirectory;
  }
};

}  // namespace

QString LastDataDirectory() {
  return QSettings(kOrganization, kApplication).value(kLastDirectoryKey).toString();
}

void RememberDataDirectory(const QString& directory) {
  QSettings settings(kOrganization, kApplication);
  settings.setValue(kLastDirectoryKey, QDir(directory).absolutePath());
}

QString MakeNewDataDirectory(const QString& directory) {
  std::string error;
  if (tool::InitDataDirectory(QDir::toNativeSeparators(directory).toStdString(), &error)) {
    return QString();
  }
  return QString::fromStdString(error);
}

bool ChangeToDataDirectory() {
  const QString last = LastDataDirectory();
  if (!last.isEmpty() && DataFilesPresentIn(last) && QDir::setCurrent(last)) return true;

  QDir::setCurrent(StartingDirectory(last));
  OpeningChooser chooser;
  for (;;) {
    const QString chosen = chooser.Choose();
    if (chosen.isEmpty()) return false;
    if (DataFilesPresentIn(chosen) && QDir::setCurrent(chosen)) return true;
    platform::Current().Inform(
        "No data files in " + QDir::toNativeSeparators(chosen) +
        "\r\nChoose the directory that holds them, or make one with New Data Directory.");
    QDir::setCurrent(chosen);  // the chooser opens again where the operator was
  }
}
