#pragma once
// The seam between the program's logic and the desktop: message and input
// boxes, file dialogs, the status-bar progress display, and showing the
// program's windows modally. The running program installs the Qt
// implementation; tests install a scripted one that answers from a queue and
// records every question it was asked.

#include <QString>
#include <QStringList>
#include <memory>

#include "platform/Canvas.h"

namespace platform {

// Answers of the question boxes.
enum class Answer { kOk, kCancel, kYes, kNo };

// How a desktop program run by RunProgram went.
enum class ProgramOutcome {
  kNotStarted,   // missing, or not executable
  kFailed,       // ended with an exit code other than 0, or crashed
  kSucceeded,    // ended with exit code 0
  kStillRunning  // still running when the wait was over; it goes on by itself
};

// The windows the logic opens, named by their class.
enum class WindowId {
  kAboutForm,
  kDriveDir,
  kCustomer,
  kPickCust,
  kPickGroup,
  kGroupDef,
  kPickProd,
  kProdDef,
  kPickInv,
  kInvoice,
  kItemDef,
  kPmtDef,
  kPickPmt,
  kReportF,
  kStationary,
  kDateSpan,
  kLabPrint,
  kMultGroup,
  kPickPur,
  kPurDef,
  kTaxDef,
  kLabelDef,
  kPickLab,
};

class Platform {
 public:
  virtual ~Platform() = default;

  // Information box with an OK button.
  virtual void Inform(const QString& text) = 0;
  // Confirmation with Yes and No: kYes or kNo.
  virtual Answer AskYesNo(const QString& text) = 0;
  // Confirmation (information icon) with OK and Cancel: kOk or kCancel.
  virtual Answer AskOkCancel(const QString& text) = 0;
  // Warning box with OK and Cancel: kOk or kCancel.
  virtual Answer WarnOkCancel(const QString& text) = 0;
  // Input box; false when cancelled, else *text holds the entry.
  virtual bool InputBox(const QString& caption, const QString& prompt, const QString& proposed,
                        QString* text) = 0;
  // File dialogs; an empty result means cancelled.
  virtual QString OpenFileName(const QString& title, const QString& filter) = 0;
  virtual QString SaveFileName(const QString& title, const QString& filter,
                               const QString& default_suffix, const QString& proposed) = 0;
  // Status-bar progress: a text (empty clears it, the bar drawn at 0), then a
  // percentage (0 clears the bar, 1 to 100 fills it).
  virtual void ShowProgress(const QString& text) = 0;
  virtual void SetProgress(int percent) = 0;
  // Shows a program window modally; returns its dialog result (1 accepted).
  virtual int ShowModal(WindowId id) = 0;
  // Printing. Whether the system has a printer; without one every print
  // goes to a PDF file.
  virtual bool HasPrinter() { return false; }
  // A canvas that measures, in the report font, the pages a print would
  // produce: the printer's, or a PDF file's without a printer. It draws
  // nothing. Null when there is nothing to measure on.
  virtual std::unique_ptr<Canvas> PrinterCanvas() { return nullptr; }
  // Starts a print job on the printer, or into the PDF file when pdf_path is
  // not empty (pages laid out as the printer's); the canvas starts in the
  // report font and the job ends with its Finish. Null when the job could
  // not start.
  virtual std::unique_ptr<Canvas> StartPrintJob(const QString& pdf_path) {
    (void)pdf_path;
    return nullptr;
  }
  // Runs a program of the desktop (found on the PATH) with the arguments,
  // not through a shell, and waits at most wait_ms for it to end.
  virtual ProgramOutcome RunProgram(const QString& program, const QStringList& arguments,
                                    int wait_ms) {
    (void)program;
    (void)arguments;
    (void)wait_ms;
    return ProgramOutcome::kNotStarted;
  }
  // Ends the program after a fatal error (the running program quits; tests
  // record the request).
  virtual void Terminate(int exit_code) = 0;
};

// The platform in use. The program installs the Qt platform at start; tests
// install a scripted one. Before anything is installed, a silent platform
// answers No/Cancel, shows nothing, and ends the process on Terminate.
Platform& Current();
void Install(Platform* platform);

// Installs a platform for the lifetime of the object (a test's scope) and
// puts the previous one back afterwards.
class ScopedPlatform {
 public:
  explicit ScopedPlatform(Platform* platform);
  ~ScopedPlatform();
  ScopedPlatform(const ScopedPlatform&) = delete;
  ScopedPlatform& operator=(const ScopedPlatform&) = delete;

 private:
  Platform* previous_;
};

}  // namespace platform
