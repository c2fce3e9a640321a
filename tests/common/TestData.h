#pragma once
// Test helpers for working on a data directory: a demo data set made once by
// the data tool and copied fresh for each test, the current directory moved
// into it, file contents and times, and the data tool's check.

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QTemporaryDir>
#include <map>

namespace testdata {

// The data tool's path; empty when the build has no data tool.
QString DataTool();
// Runs the data tool; returns its exit code.
int RunDataTool(const QString& arguments);

// A fresh copy of the demo data set in a temporary directory, which is the
// current directory while the object lives. The small set (a few customers
// and invoices) serves tests that repeat an operation many times; they may
// also ask for memory-backed storage, where creating files costs less (the
// usual temporary directory when there is none).
enum class DemoSize { kFull, kSmall };
enum class DemoStorage { kTemporary, kMemory };
class DemoDirectory {
 public:
  explicit DemoDirectory(DemoSize size = DemoSize::kFull,
                         DemoStorage storage = DemoStorage::kTemporary);
  ~DemoDirectory();
  DemoDirectory(const DemoDirectory&) = delete;
  DemoDirectory& operator=(const DemoDirectory&) = delete;

  bool Valid() const { return valid_; }
  // The data directory.
  QString Path() const { return data_; }
  // A new empty directory beside the data directory.
  QString MakeSibling(const QString& name) const;

 private:
  QTemporaryDir root_;
  QString data_;
  QString previous_;
  bool valid_ = false;
};

QByteArray Contents(const QString& path);
bool WriteContents(const QString& path, const QByteArray& data);
// Every file of the directory with its contents.
std::map<QString, QByteArray> Snapshot(const QString& directory);
// Every file of the directory with its modification time.
std::map<QString, QDateTime> Times(const QString& directory);
// True when the data tool finds every table sound against its indexes.
bool CheckClean(const QString& directory);

}  // namespace testdata
