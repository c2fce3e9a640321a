#pragma once
// The platform of the running program: Qt message boxes titled "Pelmark
// Invoicing", input and file dialogs, the program's windows registered by
// id and shown modally, progress sent to the main window's status bar, and
// quitting the application.

#include <QPointer>
#include <QString>
#include <functional>
#include <map>

#include "platform/Platform.h"

class QDialog;
class QWidget;

namespace platform {

inline constexpr char kProgramTitle[] = "Pelmark Invoicing";

class QtPlatform final : public Platform {
 public:
  // Makes the window available to ShowModal; a second registration for the
  // same id replaces the first.
  void RegisterWindow(WindowId id, QDialog* window);
  QDialog* Window(WindowId id) const;
  // Where ShowProgress and SetProgress go (the main window's status bar).
  // Without handlers progress is not shown.
  void SetProgressHandlers(std::function<void(const QString&)> show_progress,
                           std::function<void(int)> set_progress);

  void Inform(const QString& text) override;
  Answer AskYesNo(const QString& text) override;
  Answer AskOkCancel(const QString& text) override;
  Answer WarnOkCancel(const QString& text) override;
  bool InputBox(const QString& caption, const QString& prompt, const QString& proposed,
                QString* text) override;
  QString OpenFileName(const QString& title, const QString& filter) override;
  QString SaveFileName(const QString& title, const QString& filter, const QString& default_suffix,
                       const QString& proposed) override;
  void ShowProgress(const QString& text) override;
  void SetProgress(int percent) override;
  // Runs the registered window modally; 0 (rejected) when none is
  // registered.
  int ShowModal(WindowId id) override;
  // The program's printer and report font (PrintSetup.h).
  bool HasPrinter() override;
  std::unique_ptr<Canvas> PrinterCanvas() override;
  std::unique_ptr<Canvas> StartPrintJob(const QString& pdf_path) override;
  // Waits with the window repainting but taking no input; a program still
  // running afterwards is left running, also when this program ends.
  ProgramOutcome RunProgram(const QString& program, const QStringList& arguments,
                            int wait_ms) override;
  // Leaves every running event loop with the code; when no loop runs (a
  // failure before or after the main loop) the process ends at once.
  void Terminate(int exit_code) override;

  // The program's texts break lines with "\r\n"; Qt wants "\n".
  static QString DisplayText(const QString& text);

 private:
  std::map<WindowId, QPointer<QDialog>> windows_;
  std::function<void(const QString&)> show_progress_;
  std::function<void(int)> set_progress_;
};

}  // namespace platform
