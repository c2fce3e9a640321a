#include "DataDir.h"

#include <QStringList>
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <ostream>
#include <vector>

#include "SettingsRow.h"
#include "engine/FileSystem.h"
#include "engine/Ntx.h"
#include "engine/Replacement.h"
#include "engine/TagGroup.h"
#include "store/FileMaint.h"
#include "store/TableDefs.h"

namespace tool {
namespace fs = std::filesystem;
using store::TableDef;

namespace {

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// The regular files in the directory: lower-cased name to name as found.
std::map<std::string, std::string> FilesIn(const std::string& directory) {
  std::map<std::string, std::string> names;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(directory, ec)) {
    if (entry.is_regular_file(ec)) {
      const std::string name = entry.path().filename().string();
      names.emplace(Lower(name), name);
    }
  }
  return names;
}

// Key expressions compared without regard to case and blanks.
std::string ExpressionForm(std::string_view text) {
  std::string form;
  for (char c : text) {
    if (c != ' ') form += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  return form;
}

// The key expression of the tag file in the directory (the name matched
// without regard to case); false with *problem set when it cannot be read.
bool TagFileExpression(const std::string& directory,
                       const std::map<std::string, std::string>& files, const std::string& file,
                       std::string* expression, std::string* problem) {
  const auto found = files.find(Lower(file));
  if (found == files.end()) {
    *problem = "file missing";
    return false;
  }
  std::unique_ptr<engine::Ntx> ntx;
  const int rc = engine::Ntx::Open(engine::DiskFileSystem(),
                                   (fs::path(directory) / found->second).string(), true, &ntx);
  if (rc < 0 || ntx == nullptr) {
    *problem = "cannot be opened: " + ErrorText(rc < 0 ? rc : e4open);
    return false;
  }
  *expression = ntx->Expression();
  return true;
}

// The group file as the engine reads it: each tag it names is one of the
// table's, kept in the file the catalogue gives it, and that file is built on
// the tag's expression (a group naming two files the other way round would
// walk the table in the wrong order under both tags).
void CheckGroupFile(const std::string& directory, const std::map<std::string, std::string>& files,
                    const TableDef& def, std::vector<std::string>* problems) {
  const auto group = files.find(Lower(def.group_file));
  if (group == files.end()) return;  // reported with the tag files
  std::vector<engine::TagGroupEntry> entries;
  const int rc = engine::ReadTagGroup(engine::DiskFileSystem(),
                                      (fs::path(directory) / group->second).string(), &entries);
  if (rc < 0) {
    problems->push_back(std::string("index group ") + def.group_file + " " + ErrorText(rc));
    return;
  }
  for (const engine::TagGroupEntry& entry : entries) {
    const std::string where = std::string("index group ") + def.group_file + ": tag " +
                              entry.tag_name + " (" + entry.file_name + ")";
    const auto tag = std::find_if(def.tags.begin(), def.tags.end(), [&](const store::TagDef& t) {
      return Lower(t.name) == Lower(entry.tag_name);
    });
    if (tag == def.tags.end()) {
      problems->push_back(where + ": not a tag of the table");
      continue;
    }
    const std::string expected_file = std::string(tag->file) + ".ntx";
    if (Lower(entry.file_name) != Lower(expected_file)) {
      problems->push_back(where + ": kept in the wrong file, expected " + expected_file);
    }
    std::string expression;
    std::string problem;
    if (!TagFileExpression(directory, files, entry.file_name, &expression, &problem)) {
      problems->push_back(where + ": " + problem);
    } else if (ExpressionForm(expression) != ExpressionForm(tag->expression)) {
      problems->push_back(where + ": key expression \"" + expression + "\", expected \"" +
                          tag->expression + "\"");
    }
  }
}

// Each tag file of the table's index set: present, readable, and built on the
// expected key expression.
void CheckTagFiles(const std::string& directory, const std::map<std::string, std::string>& files,
                   const TableDef& def, std::vector<std::string>* problems) {
  if (files.count(Lower(def.group_file)) == 0) {
    problems->push_back(std::string("index group ") + def.group_file + " missing");
  }
  for (const store::TagDef& tag : def.tags) {
    const std::string file = std::string(tag.file) + ".ntx";
    const std::string where = std::string("tag ") + tag.name + " (" + file + ")";
    std::string expression;
    std::string problem;
    if (!TagFileExpression(directory, files, file, &expression, &problem)) {
      problems->push_back(where + ": " + problem);
    } else if (ExpressionForm(expression) != ExpressionForm(tag.expression)) {
      problems->push_back(where + ": key expression \"" + expression + "\", expected \"" +
                          tag.expression + "\"");
    }
  }
  CheckGroupFile(directory, files, def, problems);
}

// Copies a change cut short left beside the data files, and its marker.
void CheckLeftovers(const std::string& directory, std::vector<std::string>* problems) {
  engine::FileSystem& disk = engine::DiskFileSystem();
  if (engine::ReplacementPending(disk, directory)) {
    problems->push_back(std::string(engine::kReplaceMarker) +
                        ": a change of several files was cut short (the next open undoes it)");
  }
  for (const std::string& name : engine::LeftoverFiles(disk, directory)) {
    problems->push_back(name + ": left over from an interrupted rewrite (reindex removes it)");
  }
}

// Every file name a data set consists of, as the catalogue spells them.
std::vector<std::string> DataSetFiles() {
  std::vector<std::string> names;
  for (const TableDef& def : store::AllTables()) {
    names.push_back(def.data_file);
    if (def.memo_file != nullptr) names.push_back(def.memo_file);
    if (def.group_file != nullptr) names.push_back(def.group_file);
    for (const store::TagDef& tag : def.tags) names.push_back(std::string(tag.file) + ".ntx");
  }
  return names;
}

// Checks the directory exists and holds at least one of the nine tables.
bool CheckDataDirectory(const std::string& directory, std::ostream& err) {
  std::error_code ec;
  if (!fs::is_directory(directory, ec)) {
    err << "pelmark-data: no such directory: " << directory << "\n";
    return false;
  }
  const auto present = FilesIn(directory);
  for (const TableDef& def : store::AllTables()) {
    if (present.count(Lower(def.data_file)) != 0) return true;
  }
  err << "pelmark-data: " << directory << " is not a data directory (no "
      << store::AllTables()[0].data_file << " or other table file)\n";
  return false;
}

std::string Trim(std::string_view text, bool leading) {
  size_t begin = 0;
  size_t end = text.size();
  while (end > begin && text[end - 1] == ' ') --end;
  if (leading) {
    while (begin < end && text[begin] == ' ') ++begin;
  }
  return std::string(text.substr(begin, end - begin));
}

// Tabs, line ends and backslashes escaped so one record stays on one line.
void AppendEscaped(std::string_view text, std::string* out) {
  for (char c : text) {
    switch (c) {
      case '\t':
        *out += "\\t";
        break;
      case '\n':
        *out += "\\n";
        break;
      case '\r':
        *out += "\\r";
        break;
      case '\\':
        *out += "\\\\";
        break;
      default:
        *out += c;
    }
  }
}

// The table's fields against the catalogue: names, types, widths, decimals.
void CheckLayout(DATA4* data, const TableDef& def, std::vector<std::string>* problems) {
  const int count = d4numFields(data);
  if (count != static_cast<int>(def.fields.size())) {
    problems->push_back("has " + std::to_string(count) + " fields, expected " +
                        std::to_string(def.fields.size()));
  }
  for (int j = 1; j <= count && j <= static_cast<int>(def.fields.size()); ++j) {
    FIELD4* field = d4fieldJ(data, j);
    const store::FieldDef& want = def.fields[static_cast<size_t>(j - 1)];
    const std::string name = f4name(field);
    const bool memo_width_free = want.type == 'M';
    if (Lower(name) != Lower(want.name) || f4type(field) != want.type ||
        (!memo_width_free && (f4len(field) != want.length || f4decimals(field) != want.decimals))) {
      problems->push_back("field " + std::to_string(j) + " is " + name + " " +
                          std::string(1, f4type(field)) + " " + std::to_string(f4len(field)) + "." +
                          std::to_string(f4decimals(field)) + ", expected " + want.name + " " +
                          std::string(1, want.type) + " " + std::to_string(want.length) + "." +
                          std::to_string(want.decimals));
    }
  }
}

}  // namespace

DirectoryEngine::DirectoryEngine(const std::string& directory) : cb_(code4allocate()) {
  // A failed start is the first error the commands take.
  const int started = code4initP(cb_);
  if (started < 0) code4errorCode(cb_, started);
  code4directory(cb_, directory.c_str());
}

DirectoryEngine::~DirectoryEngine() {
  // Every table is closed by now: ending the instance has nothing to lose.
  static_cast<void>(code4initUndoP(cb_));
  code4free(cb_);
}

void CloseAfterError(CODE4* cb, DATA4* data) {
  // The error that led here is the one reported; what closing meets is not.
  if (data != nullptr && d4close(data) < 0) code4errorCode(cb, 0);
}

int DirectoryEngine::TakeError() { return code4errorCode(cb_, 0); }

std::string FirstDataFilePresent(const std::string& directory) {
  const auto present = FilesIn(directory);
  for (const std::string& name : DataSetFiles()) {
    if (present.count(Lower(name)) != 0) return name;
  }
  return std::string();
}

bool CreateTables(CODE4* cb, std::string* error) {
  for (const TableDef& def : store::AllTables()) {
    const std::vector<FIELD4INFO> fields = store::CreateFieldList(def);
    DATA4* data = d4create(cb, def.name, fields.data());
    const int rc = code4errorCode(cb, 0);
    if (data == nullptr || rc < 0) {
      *error = std::string(def.data_file) + ": " + ErrorText(rc < 0 ? rc : e4create);
      CloseAfterError(cb, data);
      return false;
    }
    if (d4close(data) < 0) {
      *error = std::string(def.data_file) + ": " + ErrorText(code4errorCode(cb, 0));
      return false;
    }
  }
  return true;
}

bool WriteDefaultSettings(CODE4* cb, std::string* error) {
  return WriteSettingsRow(cb, DefaultSettings(), error);
}

bool BuildIndexGroups(CODE4* cb, std::ostream* progress, std::vector<std::string>* failures) {
  const int auto_open = code4autoOpen(cb, 0);
  const int safety = code4safety(cb, 0);
  const int access = code4accessMode(cb, 1);
  const size_t failed_before = failures->size();
  // A group that cannot be rebuilt does not stop the others.
  for (const TableDef* def : store::ReindexOrder()) {
    DATA4* data = d4open(cb, def->name);
    int rc = code4errorCode(cb, 0);
    if (data == nullptr || rc < 0) {
      failures->push_back(std::string(def->group_file) + ": not rebuilt, " + def->data_file + " " +
                          ErrorText(rc < 0 ? rc : e4open));
      CloseAfterError(cb, data);
      code4errorCode(cb, 0);
      continue;
    }
    const long beyond = d4recordsBeyondCount(data);
    const std::vector<TAG4INFO> tags = store::CreateTagList(*def);
    INDEX4* index = i4create(data, def->name, tags.data());
    rc = code4errorCode(cb, 0);
    const int close_rc = d4close(data);
    code4errorCode(cb, 0);
    if (index == nullptr || rc < 0 || close_rc < 0) {
      const int code = rc < 0 ? rc : (close_rc < 0 ? close_rc : e4create);
      failures->push_back(std::string(def->group_file) + ": " + ErrorText(code));
      continue;
    }
    if (progress != nullptr) {
      *progress << "rebuilt " << def->group_file << " (" << def->tags.size() << " tags, "
                << "table " << def->data_file << ")\n";
    }
    if (beyond > 0) {
      // The rebuilt group agrees with the count, but the table is not sound.
      failures->push_back(std::string(def->data_file) + ": holds " + std::to_string(beyond) +
                          " records after its header's count, left out of the index "
                          "(pelmark-data repair takes them in)");
    }
  }
  code4autoOpen(cb, auto_open);
  code4safety(cb, safety);
  code4accessMode(cb, access);
  return failures->size() == failed_before;
}

bool BuildIndexGroups(CODE4* cb, std::ostream* progress, std::string* error) {
  std::vector<std::string> failures;
  if (BuildIndexGroups(cb, progress, &failures)) return true;
  *error = failures.front();
  return false;
}

namespace {

// Checks that a data set may be built at target: absent, or a directory
// without data files.
bool MayBuildAt(const fs::path& target, std::string* error) {
  std::error_code ec;
  if (!fs::exists(target, ec)) return true;
  if (!fs::is_directory(target, ec)) {
    *error = target.string() + " exists and is not a directory";
    return false;
  }
  const std::string present = FirstDataFilePresent(target.string());
  if (!present.empty()) {
    *error = target.string() + " already holds data files (" + present + "); nothing was written";
    return false;
  }
  return true;
}

// Makes the data files built in staging live in target, a directory that
// holds other files: all of them at once, through one change of several files.
bool MoveIntoPlace(const fs::path& staging, const fs::path& target, std::string* error) {
  engine::FileSystem& disk = engine::DiskFileSystem();
  engine::Replacement change(disk, target.string());
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(staging, ec)) {
    const std::string name = entry.path().filename().string();
    const std::string staged = change.Stage((target / name).string());
    if (disk.Rename(entry.path().string(), staged) != 0) {
      *error = "cannot move " + name + " into " + target.string();
      return false;  // the change removes what was staged
    }
  }
  if (ec || change.Commit() != 0) {
    *error = "cannot move the new data files into " + target.string();
    return false;
  }
  return true;
}

}  // namespace

bool BuildNewDataSet(const std::string& directory, const DataSetBuilder& build,
                     std::string* error) {
  std::error_code ec;
  fs::path target = fs::absolute(directory, ec).lexically_normal();
  if (!target.has_filename()) target = target.parent_path();
  if (ec || target.filename().empty()) {
    *error = "cannot build a data set at " + directory;
    return false;
  }
  if (!MayBuildAt(target, error)) return false;
  const fs::path parent = target.parent_path();
  fs::create_directories(parent, ec);
  // Built beside the target and renamed into place when whole, so that a
  // stopped or failed run leaves the target absent (or as it was), never half
  // built. A staging directory of an earlier stopped run is ours to remove.
  const fs::path staging = parent / ("." + target.filename().string() + ".building~");
  fs::remove_all(staging, ec);
  if (!fs::create_directory(staging, ec) || ec) {
    *error = "cannot create " + staging.string() + ": " + ec.message();
    return false;
  }
  bool ok = false;
  {
    DirectoryEngine engine(staging.string());
    ok = build(engine.get(), error);
  }  // every table closed and synced
  engine::FileSystem& disk = engine::DiskFileSystem();
  if (ok && disk.SyncDirectory(staging.string()) != 0) {
    *error = "cannot sync " + staging.string();
    ok = false;
  }
  if (ok) {
    if (!fs::exists(target, ec) || fs::is_empty(target, ec)) {
      fs::rename(staging, target, ec);  // an empty directory is replaced
      if (ec) {
        *error =
            "cannot rename " + staging.string() + " to " + target.string() + ": " + ec.message();
      }
      ok = !ec;
    } else {
      ok = MoveIntoPlace(staging, target, error);
    }
  }
  fs::remove_all(staging, ec);
  if (ok && disk.SyncDirectory(parent.string()) != 0) {
    *error = "cannot sync " + parent.string();
    ok = false;
  }
  return ok;
}

bool InitDataDirectory(const std::string& directory, std::string* error) {
  const auto build = [](CODE4* cb, std::string* failure) {
    return CreateTables(cb, failure) && WriteDefaultSettings(cb, failure) &&
           BuildIndexGroups(cb, nullptr, failure);
  };
  return BuildNewDataSet(directory, build, error);
}

int RunInit(const std::string& directory, std::ostream& out, std::ostream& err) {
  std::string error;
  if (!InitDataDirectory(directory, &error)) {
    err << "pelmark-data: " << error << "\n";
    return kExitFailed;
  }
  out << "created an empty data set in " << directory << "\n";
  return kExitOk;
}

int RunCheck(const std::string& directory, std::ostream& out, std::ostream& err) {
  if (!CheckDataDirectory(directory, err)) return kExitFailed;
  DirectoryEngine engine(directory);
  CODE4* cb = engine.get();
  const auto present = FilesIn(directory);
  int problem_count = 0;
  int tables_checked = 0;
  auto report = [&](const std::string& where, const std::string& what) {
    out << where << ": " << what << "\n";
    ++problem_count;
  };
  std::vector<std::string> leftovers;
  CheckLeftovers(directory, &leftovers);
  for (const std::string& line : leftovers) {
    out << line << "\n";
    ++problem_count;
  }

  for (const TableDef& def : store::AllTables()) {
    if (present.count(Lower(def.data_file)) == 0) {
      report(def.data_file, "missing");
      continue;
    }
    if (def.memo_file != nullptr && present.count(Lower(def.memo_file)) == 0) {
      report(def.memo_file, "missing");
    }
    code4autoOpen(cb, def.Indexed() ? 1 : 0);
    DATA4* data = d4open(cb, def.name);
    int rc = engine.TakeError();
    bool group_open = def.Indexed();
    if ((data == nullptr || rc < 0) && def.Indexed()) {
      group_open = false;
      // The table may be sound and only its index group damaged: look at it alone.
      CloseAfterError(cb, data);
      report(def.group_file, "cannot be opened: " + ErrorText(rc < 0 ? rc : e4open));
      code4autoOpen(cb, 0);
      data = d4open(cb, def.name);
      rc = engine.TakeError();
    }
    code4autoOpen(cb, 1);
    if (data == nullptr || rc < 0) {
      report(def.data_file, "cannot be opened: " + ErrorText(rc < 0 ? rc : e4open));
      CloseAfterError(cb, data);
      continue;
    }
    ++tables_checked;

    std::vector<std::string> problems;
    CheckLayout(data, def, &problems);
    if (def.Indexed()) CheckTagFiles(directory, present, def, &problems);
    if (!def.Indexed() && d4recCountDo(data) != 1) {
      problems.push_back("holds " + std::to_string(d4recCountDo(data)) +
                         " rows, expected exactly one");
    }
    for (const store::TagDef& tag : def.tags) {
      if (group_open && d4tag(data, tag.file) == nullptr) {
        engine.TakeError();
        problems.push_back(std::string("tag ") + tag.name + " not in the index group");
      }
    }
    const size_t found_before = problems.size();
    if (d4check(data, &problems) < 0 && problems.size() == found_before) {
      problems.push_back("could not be read to the end");
    }
    engine.TakeError();
    for (const std::string& problem : problems) report(def.name, problem);
    CloseAfterError(cb, data);  // only read
    engine.TakeError();
  }

  if (problem_count == 0) {
    out << "checked " << tables_checked << " tables in " << directory << ": sound\n";
    return kExitOk;
  }
  out << "checked " << tables_checked << " tables in " << directory << ": " << problem_count
      << (problem_count == 1 ? " problem" : " problems") << "\n";
  return kExitFailed;
}

int RunDump(const std::string& directory, const std::string& table, const std::string& tag,
            std::ostream& out, std::ostream& err) {
  const TableDef* def = store::FindTable(table.c_str());
  if (def == nullptr) {
    err << "pelmark-data: no table named " << table << " (tables:";
    for (const TableDef& known : store::AllTables()) err << " " << known.name;
    err << ")\n";
    return kExitUsage;
  }
  if (!CheckDataDirectory(directory, err)) return kExitFailed;
  DirectoryEngine engine(directory);
  CODE4* cb = engine.get();
  code4autoOpen(cb, tag.empty() ? 0 : 1);
  DATA4* data = d4open(cb, def->name);
  int rc = engine.TakeError();
  if (data == nullptr || rc < 0) {
    err << "pelmark-data: " << def->data_file
        << " cannot be opened: " << ErrorText(rc < 0 ? rc : e4open) << "\n";
    CloseAfterError(cb, data);
    return kExitFailed;
  }
  if (!tag.empty()) {
    TAG4* selected = d4tag(data, tag.c_str());
    if (selected == nullptr) {
      engine.TakeError();
      err << "pelmark-data: " << def->name << " has no tag " << tag << "\n";
      CloseAfterError(cb, data);
      return kExitFailed;
    }
    if (d4tagSelectP(data, selected) < 0) {
      err << "pelmark-data: " << def->name << ": tag " << tag
          << " cannot be selected: " << ErrorText(engine.TakeError()) << "\n";
      CloseAfterError(cb, data);
      return kExitFailed;
    }
  }

  // Records after the header's count are not shown (the engine does not
  // count them); the dump is then not the whole file.
  const long beyond = d4recordsBeyondCount(data);
  const int field_count = d4numFields(data);
  std::string line;
  for (rc = d4top(data); rc == r4success; rc = d4skip(data, 1)) {
    line = std::to_string(d4recNo(data));
    line += d4deleted(data) ? "\t*" : "\t";
    for (int j = 1; j <= field_count; ++j) {
      FIELD4* field = d4fieldJ(data, j);
      line += '\t';
      if (f4type(field) == 'M') {
        const char* memo = f4memoStr(field);
        if (memo != nullptr) AppendEscaped(std::string_view(memo, f4memoLen(field)), &line);
      } else {
        AppendEscaped(Trim(f4str(field), f4type(field) != 'C'), &line);
      }
    }
    line += '\n';
    out << line;
  }
  const int error = engine.TakeError();
  CloseAfterError(cb, data);  // only read
  if (rc < 0 || error < 0) {
    err << "pelmark-data: " << def->data_file
        << ": reading stopped: " << ErrorText(rc < 0 ? rc : error) << "\n";
    return kExitFailed;
  }
  if (beyond > 0) {
    err << "pelmark-data: " << def->data_file << " holds " << beyond
        << " more records after its header's count, not shown (pelmark-data repair takes them "
           "in)\n";
    return kExitFailed;
  }
  return kExitOk;
}

namespace {

// Puts back or removes what a change of several files cut short left behind,
// saying what was done.
bool RecoverLeftovers(const std::string& directory, std::ostream& out, std::ostream& err) {
  engine::RecoveryReport report;
  const int rc = engine::RecoverDirectory(engine::DiskFileSystem(), directory, &report);
  for (const std::string& name : report.restored) out << "put back " << name << "\n";
  for (const std::string& name : report.removed) out << "removed leftover " << name << "\n";
  if (rc < 0) {
    err << "pelmark-data: the files of an interrupted change could not all be put back: "
        << ErrorText(rc) << "\n";
    return false;
  }
  return true;
}

}  // namespace

int RunReindex(const std::string& directory, std::ostream& out, std::ostream& err) {
  if (!CheckDataDirectory(directory, err)) return kExitFailed;
  bool ok = RecoverLeftovers(directory, out, err);
  DirectoryEngine engine(directory);
  std::vector<std::string> failures;
  ok = BuildIndexGroups(engine.get(), &out, &failures) && ok;
  for (const std::string& failure : failures) err << "pelmark-data: " << failure << "\n";
  return ok ? kExitOk : kExitFailed;
}

int RunRepair(const std::string& directory, std::ostream& out, std::ostream& err) {
  if (!CheckDataDirectory(directory, err)) return kExitFailed;
  bool ok = RecoverLeftovers(directory, out, err);
  DirectoryEngine engine(directory);
  const QStringList lines = TakeInUncountedRecords(engine.get());
  for (const QString& line : lines) out << line.toStdString() << "\n";
  // A table whose extra records were left shows up again below.
  std::vector<std::string> failures;
  ok = BuildIndexGroups(engine.get(), &out, &failures) && ok;
  for (const std::string& failure : failures) err << "pelmark-data: " << failure << "\n";
  return ok ? kExitOk : kExitFailed;
}

}  // namespace tool
