#include "TestData.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdlib>

namespace testdata {

namespace {

// The demo sets are made once per run and copied for each test.
QString DemoTemplate(DemoSize size) {
  static QTemporaryDir root;
  auto make = [](const QString& name, const QString& options) {
    const QString dir = root.path() + "/" + name;
    if (RunDataTool("demo '" + dir + "' " + options + " > /dev/null") != 0) return QString();
    return dir;
  };
  if (size == DemoSize::kSmall) {
    static QString small = make("small", "--customers 4 --invoices 5 --seed 2");
    return small;
  }
  static QString full = make("demo", "");
  return full;
}

bool CopyDirectory(const QString& from, const QString& to) {
  if (!QDir().mkpath(to)) return false;
  for (const QFileInfo& file : QDir(from).entryInfoList(QDir::Files)) {
    if (!QFile::copy(file.absoluteFilePath(), to + "/" + file.fileName())) return false;
  }
  return true;
}

}  // namespace

QString DataTool() {
#ifdef PELMARK_DATA_TOOL
  return PELMARK_DATA_TOOL;
#else
  return QString();
#endif
}

int RunDataTool(const QString& arguments) {
  if (DataTool().isEmpty()) return -1;
  const QString command = "'" + DataTool() + "' " + arguments;
  const int status = std::system(command.toLocal8Bit().constData());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

namespace {
QString TemporaryPattern(DemoStorage storage) {
  const QFileInfo shared_memory("/dev/shm");
  if (storage == DemoStorage::kMemory && shared_memory.isDir() && shared_memory.isWritable()) {
    return "/dev/shm/pelmark-test-XXXXXX";
  }
  return QDir::tempPath() + "/pelmark-test-XXXXXX";
}
}  // namespace

DemoDirectory::DemoDirectory(DemoSize size, DemoStorage storage)
    : root_(TemporaryPattern(storage)), previous_(QDir::currentPath()) {
  const QString demo = DemoTemplate(size);
  data_ = root_.path() + "/data";
  if (demo.isEmpty() || !CopyDirectory(demo, data_)) return;
  valid_ = QDir::setCurrent(data_);
}

DemoDirectory::~DemoDirectory() { QDir::setCurrent(previous_); }

QString DemoDirectory::MakeSibling(const QString& name) const {
  const QString path = root_.path() + "/" + name;
  QDir().mkpath(path);
  return path;
}

QByteArray Contents(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QByteArray();
  return file.readAll();
}

bool WriteContents(const QString& path, const QByteArray& data) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(data) == data.size();
}

std::map<QString, QByteArray> Snapshot(const QString& directory) {
  std::map<QString, QByteArray> files;
  for (const QFileInfo& file : QDir(directory).entryInfoList(QDir::Files)) {
    files[file.fileName()] = Contents(file.absoluteFilePath());
  }
  return files;
}

std::map<QString, QDateTime> Times(const QString& directory) {
  std::map<QString, QDateTime> times;
  for (const QFileInfo& file : QDir(directory).entryInfoList(QDir::Files)) {
    times[file.fileName()] = file.lastModified();
  }
  return times;
}

bool CheckClean(const QString& directory) {
  return RunDataTool("check '" + directory + "' > /dev/null 2>&1") == 0;
}

}  // namespace testdata
