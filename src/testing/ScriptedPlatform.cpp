#include "testing/ScriptedPlatform.h"

#include <algorithm>

namespace platform {

void ScriptedPlatform::QueueAnswer(Answer answer) { answers_.push_back(answer); }

void ScriptedPlatform::QueueInput(const QString& text) { inputs_.push_back(text); }

void ScriptedPlatform::QueueInputCancelled() { inputs_.push_back(std::nullopt); }

void ScriptedPlatform::QueueFileName(const QString& path) { file_names_.push_back(path); }

void ScriptedPlatform::OnModal(WindowId id, std::function<int()> stand_in) {
  stand_ins_[id] = std::move(stand_in);
}

QStringList ScriptedPlatform::Said() const {
  QStringList texts;
  for (const Request& request : requests_) texts << request.text;
  return texts;
}

bool ScriptedPlatform::WasShown(const QString& text) const {
  return std::any_of(requests_.begin(), requests_.end(),
                     [&text](const Request& request) { return request.text == text; });
}

int ScriptedPlatform::ModalCount(WindowId id) const {
  return static_cast<int>(std::count(modal_shown_.begin(), modal_shown_.end(), id));
}

QStringList ScriptedPlatform::ProgressTexts() const {
  QStringList texts;
  for (const ProgressCall& call : progress_) {
    if (call.is_text) texts << call.text;
  }
  return texts;
}

std::vector<int> ScriptedPlatform::ProgressPercents() const {
  std::vector<int> percents;
  for (const ProgressCall& call : progress_) {
    if (!call.is_text) percents.push_back(call.percent);
  }
  return percents;
}

int ScriptedPlatform::Pending() const {
  return static_cast<int>(answers_.size() + inputs_.size() + file_names_.size() +
                          program_outcomes_.size());
}

QString ScriptedPlatform::Leftovers() const {
  QStringList parts;
  for (const QString& what : unanswered_what_) parts << "unanswered: " + what;
  if (Pending() > 0) parts << QStringLiteral("unused: %1 queued").arg(Pending());
  return parts.join(QStringLiteral("; "));
}

void ScriptedPlatform::Unanswered(const QString& what) {
  ++unanswered_;
  unanswered_what_ << what;
}

void ScriptedPlatform::ClearRecords() {
  requests_.clear();
  modal_shown_.clear();
  progress_.clear();
  print_jobs_.clear();
  program_runs_.clear();
  unanswered_ = 0;
  unanswered_what_.clear();
  exit_code_.reset();
}

void ScriptedPlatform::Inform(const QString& text) {
  requests_.push_back({Kind::kInform, text, {}, {}, {}});
}

Answer ScriptedPlatform::NextAnswer(Kind kind, const QString& text, Answer otherwise) {
  requests_.push_back({kind, text, {}, {}, {}});
  if (answers_.empty()) {
    Unanswered(text);
    return otherwise;
  }
  const Answer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

Answer ScriptedPlatform::AskYesNo(const QString& text) {
  return NextAnswer(Kind::kAskYesNo, text, Answer::kNo);
}

Answer ScriptedPlatform::AskOkCancel(const QString& text) {
  return NextAnswer(Kind::kAskOkCancel, text, Answer::kCancel);
}

Answer ScriptedPlatform::WarnOkCancel(const QString& text) {
  return NextAnswer(Kind::kWarnOkCancel, text, Answer::kCancel);
}

bool ScriptedPlatform::InputBox(const QString& caption, const QString& prompt,
                                const QString& proposed, QString* text) {
  requests_.push_back({Kind::kInputBox, prompt, caption, proposed, {}});
  if (inputs_.empty()) {
    Unanswered(prompt);
    return false;
  }
  const std::optional<QString> input = inputs_.front();
  inputs_.pop_front();
  if (!input) return false;
  if (text != nullptr) *text = *input;
  return true;
}

QString ScriptedPlatform::NextFileName() {
  if (file_names_.empty()) {
    Unanswered(requests_.back().text);
    return QString();
  }
  const QString path = file_names_.front();
  file_names_.pop_front();
  return path;
}

QString ScriptedPlatform::OpenFileName(const QString& title, const QString& filter) {
  requests_.push_back({Kind::kOpenFile, title, filter, {}, {}});
  return NextFileName();
}

QString ScriptedPlatform::SaveFileName(const QString& title, const QString& filter,
                                       const QString& default_suffix, const QString& proposed) {
  requests_.push_back({Kind::kSaveFile, title, filter, proposed, default_suffix});
  return NextFileName();
}

void ScriptedPlatform::ShowProgress(const QString& text) { progress_.push_back({true, text, 0}); }

void ScriptedPlatform::SetProgress(int percent) { progress_.push_back({false, {}, percent}); }

void ScriptedPlatform::QueueProgramOutcome(ProgramOutcome outcome) {
  program_outcomes_.push_back(outcome);
}

ProgramOutcome ScriptedPlatform::RunProgram(const QString& program, const QStringList& arguments,
                                            int wait_ms) {
  (void)wait_ms;
  program_runs_.push_back({program, arguments});
  if (program_outcomes_.empty()) {
    ++unanswered_;
    return ProgramOutcome::kNotStarted;
  }
  const ProgramOutcome outcome = program_outcomes_.front();
  program_outcomes_.pop_front();
  return outcome;
}

int ScriptedPlatform::ShowModal(WindowId id) {
  modal_shown_.push_back(id);
  const auto found = stand_ins_.find(id);
  if (found == stand_ins_.end() || !found->second) {
    Unanswered(QStringLiteral("window %1").arg(static_cast<int>(id)));
    return 0;
  }
  // A copy, so a stand-in may replace itself or others while it runs.
  const std::function<int()> stand_in = found->second;
  return stand_in();
}

std::unique_ptr<Canvas> ScriptedPlatform::PrinterCanvas() {
  return std::make_unique<RecordingCanvas>(page_metrics_);
}

std::unique_ptr<Canvas> ScriptedPlatform::StartPrintJob(const QString& pdf_path) {
  if (fail_print_jobs_ || (pdf_path.isEmpty() && !has_printer_)) return nullptr;
  auto canvas = std::make_unique<RecordingCanvas>(page_metrics_);
  print_jobs_.push_back({pdf_path, canvas->recording()});
  return canvas;
}

void ScriptedPlatform::Terminate(int exit_code) {
  // The first request wins, as the real program would already be ending.
  if (!exit_code_) exit_code_ = exit_code;
}

}  // namespace platform
