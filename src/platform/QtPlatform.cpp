#include "platform/QtPlatform.h"

#include <QApplication>
#include <QDialog>
#include <QEventLoop>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include <cstdlib>

#include "platform/FileFilter.h"
#include "platform/PrintSetup.h"
#include "platform/QtCanvas.h"

namespace platform {
namespace {

// Boxes belong to the window the operator is working in.
QWidget* BoxParent() {
  if (QWidget* modal = QApplication::activeModalWidget()) return modal;
  return QApplication::activeWindow();
}

QMessageBox::StandardButton RunBox(QMessageBox::Icon icon, const QString& text,
                                   QMessageBox::StandardButtons buttons,
                                   QMessageBox::StandardButton default_button) {
  QMessageBox box(icon, QString::fromLatin1(kProgramTitle), QtPlatform::DisplayText(text), buttons,
                  BoxParent());
  box.setDefaultButton(default_button);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace

QString QtPlatform::DisplayText(const QString& text) {
  QString display = text;
  display.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  display.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return display;
}

void QtPlatform::RegisterWindow(WindowId id, QDialog* window) { windows_[id] = window; }

QDialog* QtPlatform::Window(WindowId id) const {
  const auto found = windows_.find(id);
  return found == windows_.end() ? nullptr : found->second.data();
}

void QtPlatform::SetProgressHandlers(std::function<void(const QString&)> show_progress,
                                     std::function<void(int)> set_progress) {
  show_progress_ = std::move(show_progress);
  set_progress_ = std::move(set_progress);
}

void QtPlatform::Inform(const QString& text) {
  RunBox(QMessageBox::Information, text, QMessageBox::Ok, QMessageBox::Ok);
}

Answer QtPlatform::AskYesNo(const QString& text) {
  return RunBox(QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No,
                QMessageBox::Yes) == QMessageBox::Yes
             ? Answer::kYes
             : Answer::kNo;
}

Answer QtPlatform::AskOkCancel(const QString& text) {
  return RunBox(QMessageBox::Information, text, QMessageBox::Ok | QMessageBox::Cancel,
                QMessageBox::Ok) == QMessageBox::Ok
             ? Answer::kOk
             : Answer::kCancel;
}

Answer QtPlatform::WarnOkCancel(const QString& text) {
  return RunBox(QMessageBox::Warning, text, QMessageBox::Ok | QMessageBox::Cancel,
                QMessageBox::Ok) == QMessageBox::Ok
             ? Answer::kOk
             : Answer::kCancel;
}

bool QtPlatform::InputBox(const QString& caption, const QString& prompt, const QString& proposed,
                          QString* text) {
  bool ok = false;
  const QString entry = QInputDialog::getText(BoxParent(), caption, DisplayText(prompt),
                                              QLineEdit::Normal, proposed, &ok);
  if (!ok) return false;
  if (text != nullptr) *text = entry;
  return true;
}

QString QtPlatform::OpenFileName(const QString& title, const QString& filter) {
  QFileDialog dialog(BoxParent(), title, QString(), QtFileFilter(filter));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().constFirst();
}

QString QtPlatform::SaveFileName(const QString& title, const QString& filter,
                                 const QString& default_suffix, const QString& proposed) {
  QFileDialog dialog(BoxParent(), title, QString(), QtFileFilter(filter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(default_suffix);
  if (!proposed.isEmpty()) dialog.selectFile(proposed);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  return dialog.selectedFiles().constFirst();
}

void QtPlatform::ShowProgress(const QString& text) {
  if (show_progress_) show_progress_(text);
}

void QtPlatform::SetProgress(int percent) {
  if (set_progress_) set_progress_(percent);
}

int QtPlatform::ShowModal(WindowId id) {
  QDialog* window = Window(id);
  if (window == nullptr) return 0;
  return window->exec();
}

ProgramOutcome QtPlatform::RunProgram(const QString& program, const QStringList& arguments,
                                      int wait_ms) {
  // Without a parent: deleting a QProcess kills its program, and one still
  // running (a mail program opened for the operator) must outlive this call
  // and the program itself.
  auto* process = new QProcess;
  process->setProgram(program);
  process->setArguments(arguments);
  process->setStandardInputFile(QProcess::nullDevice());
  process->setStandardOutputFile(QProcess::nullDevice());
  process->setStandardErrorFile(QProcess::nullDevice());
  process->start();
  if (!process->waitForStarted()) {
    delete process;
    return ProgramOutcome::kNotStarted;
  }
  QApplication::setOverrideCursor(Qt::BusyCursor);
  QEventLoop wait;
  QObject::connect(process, &QProcess::finished, &wait, &QEventLoop::quit);
  QTimer::singleShot(wait_ms, &wait, &QEventLoop::quit);
  if (process->state() != QProcess::NotRunning) wait.exec(QEventLoop::ExcludeUserInputEvents);
  QApplication::restoreOverrideCursor();
  if (process->state() != QProcess::NotRunning) {
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    return ProgramOutcome::kStillRunning;
  }
  const bool succeeded = process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
  delete process;
  return succeeded ? ProgramOutcome::kSucceeded : ProgramOutcome::kFailed;
}

bool QtPlatform::HasPrinter() { return !PrintsToPdf(); }

std::unique_ptr<Canvas> QtPlatform::PrinterCanvas() { return QtPrinterCanvas(); }

std::unique_ptr<Canvas> QtPlatform::StartPrintJob(const QString& pdf_path) {
  return StartQtPrintJob(pdf_path);
}

void QtPlatform::Terminate(int exit_code) {
  if (QThread::currentThread()->loopLevel() > 0) {
    QCoreApplication::exit(exit_code);
    return;
  }
  std::exit(exit_code);
}

}  // namespace platform
