#include "reports/MailMerge.h"

#include <QDir>
#include <QSaveFile>
#include <QStringList>

#include "engine/TableEngine.h"
#include "masterdata/GroupEdit.h"
#include "platform/Platform.h"
#include "reports/ReportRun.h"
#include "store/dbFiles.h"
#include "util/TextUtil.h"

namespace reports {
namespace {

QString Field(const QString& text) {
  QString field = text.trimmed();
  for (QChar& c : field) {
    if (c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
      c = QLatin1Char(' ');
    }
  }
  return field;
}

// Writes the header and a line for every customer of the chosen groups, in
// the selected tag's order; false when the file could not be written.
bool WriteMailMerge(QSaveFile& file) {
  constexpr qsizetype kChunk = 1 << 20;
  QString chunk = MailMergeHeader() + QLatin1String("\r\n");
  auto flush = [&file, &chunk] {
    const QByteArray bytes = chunk.toUtf8();
    chunk.resize(0);
    return file.write(bytes) == bytes.size();
  };
  RecordProgress progress;
  progress.SetTotal(d4recCountDo(CustDb));
  for (int rc = d4top(CustDb); rc == r4success; rc = d4skip(CustDb, 1)) {
    if (IndexInList(&masterdata::GroupChoice, f4int(CustFld.ngroup)) >= 0) {
      LoadCustomer();
      chunk += MailMergeLine();
      chunk += QLatin1String("\r\n");
      if (chunk.size() >= kChunk && !flush()) return false;
    }
    progress.Step();
  }
  return flush();
}

}  // namespace

QString MailMergeHeader() {
  return QStringLiteral("Title\tFirstName\tLastName\tCompany\tAddr1\tAddr2\tAddr3\tPostalCode");
}

QString MailMergeLine() {
  const CustomerRecord& c = CustRec;
  return QStringList{Field(c.title), Field(c.first), Field(c.last),  Field(c.addr1),
                     Field(c.addr2), Field(c.addr3), Field(c.addr4), Field(c.zip)}
      .join(QLatin1Char('\t'));
}

void ExportMailMerge() {
  platform::Platform& desktop = platform::Current();
  if (!OpenCustomers() || !OpenGroups()) {
    CloseAllTables();
    return;
  }
  SelectTag(CustDb, "CZip");
  desktop.ShowModal(platform::WindowId::kMultGroup);
  if (masterdata::GroupChoice.isEmpty()) {
    CloseAllTables();
    return;
  }
  // The dialog may change the current directory, which the data files are
  // found through.
  const QString directory = QDir::currentPath();
  const QString name = desktop.SaveFileName(QStringLiteral("Generate a Mail Merge File"),
                                            QStringLiteral("Delimited files (*.doc)|*.doc"),
                                            QStringLiteral("doc"), QString());
  QDir::setCurrent(directory);
  if (name.isEmpty()) {
    CloseAllTables();
    return;
  }
  // The file replaces an existing one only once it is complete.
  QSaveFile file(name);
  file.setDirectWriteFallback(true);
  if (!file.open(QIODevice::WriteOnly)) {
    CloseAllTables();
    desktop.Inform(QStringLiteral("Unable to save to: ") + name);
    return;
  }
  desktop.ShowProgress(QStringLiteral("Exporting Mail Merge File"));
  const bool written = WriteMailMerge(file);
  if (!written) file.cancelWriting();
  const bool saved = written && file.commit();
  desktop.ShowProgress(QString());
  CloseAllTables();
  if (!saved) desktop.Inform(QStringLiteral("Unable to save to: ") + name);
}

}  // namespace reports
