#pragma once
// A platform for tests: answers questions, input boxes and file dialogs from
// queues, runs a stand-in for each program window shown modally, and records
// everything it was asked, every progress call and any request to terminate,
// in order. Nothing is shown and the process never ends.

#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "platform/Platform.h"
#include "testing/RecordingCanvas.h"

namespace platform {

class ScriptedPlatform final : public Platform {
 public:
  // What the logic asked of the operator.
  enum class Kind {
    kInform,
    kAskYesNo,
    kAskOkCancel,
    kWarnOkCancel,
    kInputBox,
    kOpenFile,
    kSaveFile
  };
  struct Request {
    Kind kind;
    QString text;      // message text, input prompt, or dialog title, as given
    QString caption;   // input box caption; file dialogs: the filter
    QString proposed;  // input box proposal; save dialog: the proposed name
    QString suffix;    // save dialog: the default suffix
  };
  // One progress call: a text (ShowProgress) or a percentage (SetProgress).
  struct ProgressCall {
    bool is_text;
    QString text;
    int percent;
  };

  // Answers for AskYesNo, AskOkCancel and WarnOkCancel, taken in order. With
  // the queue empty a question is answered No or Cancel and counted as
  // unanswered.
  void QueueAnswer(Answer answer);
  // Entries for InputBox, in order; QueueInputCancelled makes one cancel. With
  // the queue empty an input box is cancelled and counted as unanswered.
  void QueueInput(const QString& text);
  void QueueInputCancelled();
  // Names the file dialogs return, in order ("" cancels). With the queue
  // empty a dialog is cancelled and counted as unanswered.
  void QueueFileName(const QString& path);
  // The stand-in run whenever the window is shown modally: it sets the
  // program-wide state the real window would set and returns the dialog
  // result. A window with no stand-in returns 0 (rejected) and is counted as
  // unanswered.
  void OnModal(WindowId id, std::function<int()> stand_in);

  // One print job: the PDF file it wrote ("" for the printer) and what was
  // drawn on it.
  struct PrintJob {
    QString pdf_path;
    std::shared_ptr<RecordingCanvas::Recording> recording;
  };
  // Printing: whether a printer is installed (none at first) and the pages'
  // metrics (RecordingCanvas's defaults at first), which PrinterCanvas and
  // every print job use. FailPrintJobs makes StartPrintJob fail.
  void SetHasPrinter(bool has_printer) { has_printer_ = has_printer; }
  void SetPageMetrics(const RecordingCanvas::Metrics& metrics) { page_metrics_ = metrics; }
  void FailPrintJobs(bool fail) { fail_print_jobs_ = fail; }
  // The print jobs started, in order.
  const std::vector<PrintJob>& PrintJobs() const { return print_jobs_; }

  // Desktop programs: the outcomes RunProgram gives, in order. With the
  // queue empty a program is not started and counted as unanswered.
  struct ProgramRun {
    QString program;
    QStringList arguments;
  };
  void QueueProgramOutcome(ProgramOutcome outcome);
  // The programs run, in order.
  const std::vector<ProgramRun>& ProgramRuns() const { return program_runs_; }

  // Everything asked of the operator, in order.
  const std::vector<Request>& Requests() const { return requests_; }
  // Just the texts, in order.
  QStringList Said() const;
  // Whether a message, question or input prompt with exactly this text was
  // shown.
  bool WasShown(const QString& text) const;
  // The windows shown modally, in order.
  const std::vector<WindowId>& ModalShown() const { return modal_shown_; }
  int ModalCount(WindowId id) const;
  // Progress calls in order, and the texts and percentages alone.
  const std::vector<ProgressCall>& Progress() const { return progress_; }
  QStringList ProgressTexts() const;
  std::vector<int> ProgressPercents() const;
  // Questions, inputs, dialogs or windows met with nothing queued for them.
  int Unanswered() const { return unanswered_; }
  // Answers and inputs still queued (a test can check they were all used).
  int Pending() const;
  int PendingInputs() const { return static_cast<int>(inputs_.size()); }
  // What the script left over, in words: each question, input, dialog or
  // window met with nothing queued, and the count of answers, inputs and file
  // names never used. Empty when the test scripted exactly what happened;
  // fixtures check it at tear-down.
  QString Leftovers() const;
  bool TerminateRequested() const { return exit_code_.has_value(); }
  int ExitCode() const { return exit_code_.value_or(0); }
  // Forgets the records (queues and stand-ins stay).
  void ClearRecords();

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
  int ShowModal(WindowId id) override;
  bool HasPrinter() override { return has_printer_; }
  std::unique_ptr<Canvas> PrinterCanvas() override;
  // Without a printer only PDF jobs start.
  std::unique_ptr<Canvas> StartPrintJob(const QString& pdf_path) override;
  ProgramOutcome RunProgram(const QString& program, const QStringList& arguments,
                            int wait_ms) override;
  void Terminate(int exit_code) override;

 private:
  Answer NextAnswer(Kind kind, const QString& text, Answer otherwise);
  void Unanswered(const QString& what);
  QString NextFileName();

  std::deque<Answer> answers_;
  std::deque<std::optional<QString>> inputs_;
  std::deque<QString> file_names_;
  std::map<WindowId, std::function<int()>> stand_ins_;
  std::vector<Request> requests_;
  std::vector<WindowId> modal_shown_;
  std::vector<ProgressCall> progress_;
  int unanswered_ = 0;
  QStringList unanswered_what_;
  std::optional<int> exit_code_;
  bool has_printer_ = false;
  bool fail_print_jobs_ = false;
  RecordingCanvas::Metrics page_metrics_;
  std::vector<PrintJob> print_jobs_;
  std::deque<ProgramOutcome> program_outcomes_;
  std::vector<ProgramRun> program_runs_;
};

}  // namespace platform
