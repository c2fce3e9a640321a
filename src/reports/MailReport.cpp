#include "reports/MailReport.h"

#include <QDir>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>

#include "platform/Platform.h"
#include "reports/ReportOutput.h"
#include "reports/RptUtil.h"

namespace reports {
namespace {

constexpr char kMailProgram[] = "xdg-email";
// Long enough for xdg-email to find out there is no mail program; a mail
// program it starts may keep it running for as long as the message is open.
constexpr int kMailProgramWaitMs = 3000;

// The document's name made safe as a file name; without blanks, which some
// mail programs split an attachment's name at.
QString FileName(const QString& name) {
  QString file = name.trimmed();
  static const QRegularExpression unsafe(QStringLiteral(R"([^A-Za-z0-9._-])"));
  file.replace(unsafe, QStringLiteral("_"));
  if (file.isEmpty() || file.startsWith(QLatin1Char('.'))) file.prepend(QStringLiteral("Document"));
  return file + QStringLiteral(".pdf");
}

}  // namespace

bool CanMailReport() { return CurLine >= 0 && RptRecipient.customer > 0; }

QString MailAddress(const QString& stored) {
  static const QRegularExpression plain(
      QStringLiteral(R"(^[A-Za-z0-9_%+][A-Za-z0-9._%+-]*@[A-Za-z0-9-]+(\.[A-Za-z0-9-]+)+$)"));
  const QString address = stored.trimmed();
  return plain.match(address).hasMatch() ? address : QString();
}

void MailReport() {
  if (!CanMailReport()) return;
  platform::Platform& desktop = platform::Current();
  const QString file_name = FileName(RptRecipient.name);
  QTemporaryDir folder(QDir::temp().filePath(QStringLiteral("pelmark-mail-XXXXXX")));
  const QString path = folder.filePath(file_name);
  if (!folder.isValid() || !WritePdfFile(path)) {
    desktop.Inform(QStringLiteral("Unable to save to: ") + path);
    return;
  }
  QStringList arguments = {QStringLiteral("--attach"), path};
  const QString address = MailAddress(RptRecipient.email);
  if (!address.isEmpty()) arguments << address;
  const platform::ProgramOutcome outcome =
      desktop.RunProgram(QString::fromLatin1(kMailProgram), arguments, kMailProgramWaitMs);
  if (outcome == platform::ProgramOutcome::kSucceeded ||
      outcome == platform::ProgramOutcome::kStillRunning) {
    folder.setAutoRemove(false);  // the mail program reads the file later
    return;
  }
  if (desktop.AskYesNo(
          QStringLiteral("No mail program is set up on this computer to send the document.\r\n"
                         "Save it as a PDF file instead?")) == platform::Answer::kYes) {
    ExportReport(ExportKind::kPdf, file_name);
  }
}

}  // namespace reports
