// Staging, committing and undoing changes of several files, and mending what
// an interrupted change left behind.

#include "Replacement.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <memory>

#include "Engine.h"

namespace engine {
namespace {

constexpr char kMarkerSignature[] = "PELMARK-REPLACE 1";

std::string BaseName(const std::string& path) {
  size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool EndsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && EqualNoCase(text.substr(text.size() - end.size()), end);
}

// A staged, moved-aside or temporary copy of a table, memo file, tag or group.
bool IsLeftoverCopy(std::string name) {
  static const char* const kCopySuffixes[] = {kStagedSuffix, kAsideSuffix, ".tmp", ".tmp~"};
  bool stripped = false;
  for (bool again = true; again;) {
    again = false;
    for (const char* suffix : kCopySuffixes) {
      if (name.size() > std::char_traits<char>::length(suffix) && EndsWith(name, suffix)) {
        name.resize(name.size() - std::char_traits<char>::length(suffix));
        stripped = again = true;
      }
    }
  }
  if (!stripped) return false;
  for (const char* extension : {".dbf", ".dbt", ".ntx", ".cgp"}) {
    if (name.size() > 4 && EndsWith(name, extension)) return true;
  }
  return false;
}

std::string FormatMarker(const std::vector<ReplacedFile>& files) {
  std::string text = kMarkerSignature;
  text += '\n';
  for (const ReplacedFile& file : files) {
    text += file.remove ? "D " : "R ";
    text += file.existed ? "1 " : "0 ";
    text += file.name + '\n';
  }
  return text;
}

bool ParseMarker(const std::string& text, std::vector<ReplacedFile>* files) {
  files->clear();
  size_t at = 0;
  bool first = true;
  while (at < text.size()) {
    size_t end = text.find('\n', at);
    if (end == std::string::npos) return false;  // written whole, so cut short is damage
    std::string line = text.substr(at, end - at);
    at = end + 1;
    if (first) {
      if (line != kMarkerSignature) return false;
      first = false;
      continue;
    }
    if (line.size() < 5 || (line[0] != 'R' && line[0] != 'D') || line[1] != ' ' ||
        (line[2] != '0' && line[2] != '1') || line[3] != ' ' ||
        line.find('/') != std::string::npos) {
      return false;
    }
    files->push_back({line.substr(4), line[0] == 'D', line[2] == '1'});
  }
  return !first;
}

int ReadSmallFile(FileSystem& fs, const std::string& path, std::string* text) {
  std::unique_ptr<File> file;
  if (fs.Open(path, OpenMode::kRead, &file) != 0) return e4open;
  int64_t size = file->Size();
  if (size < 0) return e4read;
  if (size > (1 << 20)) return e4data;
  text->assign(static_cast<size_t>(size), '\0');
  return file->ReadAt(0, text->data(), text->size()) == size ? 0 : e4read;
}

// Writes the marker through a temporary file, so that it is there whole or not at all.
int WriteMarker(FileSystem& fs, const std::string& directory, const std::string& text) {
  const std::string marker = JoinPath(directory, kReplaceMarker);
  const std::string temp = marker + ".tmp";
  std::unique_ptr<File> file;
  if (fs.Open(temp, OpenMode::kCreate, &file) != 0) return e4create;
  int rc = file->WriteAt(0, text.data(), text.size()) == 0 && file->Sync() == 0 ? 0 : e4write;
  file.reset();
  if (rc == 0 && fs.Rename(temp, marker) != 0) rc = e4rename;
  if (rc == 0 && fs.SyncDirectory(directory) != 0) rc = e4write;
  if (rc != 0) (void)fs.Remove(temp);
  return rc;
}

// Returns every file of an uncommitted change to its old version and removes
// the new ones; the marker goes last, once all is back. Safe to repeat.
int PutBack(FileSystem& fs, const std::string& directory, const std::vector<ReplacedFile>& files,
            std::vector<std::string>* restored) {
  int result = 0;
  for (auto it = files.rbegin(); it != files.rend(); ++it) {
    const std::string live = JoinPath(directory, it->name);
    const std::string aside = live + kAsideSuffix;
    const std::string staged = live + kStagedSuffix;
    bool put_back = false;
    if (fs.Exists(aside)) {
      if (fs.Rename(aside, live) != 0) {
        result = e4rename;
      } else {
        put_back = true;
      }
    } else if (!it->existed && !it->remove && !fs.Exists(staged) && fs.Exists(live)) {
      // A file the change added.
      if (fs.Remove(live) != 0) {
        result = e4write;
      } else {
        put_back = true;
      }
    }
    if (fs.Exists(staged) && fs.Remove(staged) != 0) result = e4write;
    if (put_back && restored != nullptr) restored->push_back(it->name);
  }
  if (fs.SyncDirectory(directory) != 0) result = e4write;
  if (result != 0) return result;  // the marker stays, so the next open tries again
  const std::string marker = JoinPath(directory, kReplaceMarker);
  if (fs.Exists(marker) && (fs.Remove(marker) != 0 || fs.SyncDirectory(directory) != 0)) {
    return e4write;
  }
  return 0;
}

}  // namespace

Replacement::Replacement(FileSystem& fs, std::string directory)
    : fs_(fs), directory_(std::move(directory)) {}

Replacement::~Replacement() { Abandon(); }

std::string Replacement::Path(const std::string& name) const { return JoinPath(directory_, name); }

std::string Replacement::Stage(const std::string& live_path) {
  const std::string name = BaseName(live_path);
  auto it = std::find_if(members_.begin(), members_.end(),
                         [&](const ReplacedFile& file) { return file.name == name; });
  if (it == members_.end()) {
    members_.push_back({name, false, true});
  } else {
    it->remove = false;
  }
  return Path(name) + kStagedSuffix;
}

void Replacement::StageRemoval(const std::string& live_path) {
  const std::string name = BaseName(live_path);
  auto it = std::find_if(members_.begin(), members_.end(),
                         [&](const ReplacedFile& file) { return file.name == name; });
  if (it == members_.end()) {
    members_.push_back({name, true, true});
    return;
  }
  if (!it->remove) (void)fs_.Remove(Path(name) + kStagedSuffix);
  it->remove = true;
}

std::string Replacement::StagedPath(const std::string& live_path) const {
  const std::string name = BaseName(live_path);
  for (const ReplacedFile& file : members_) {
    if (file.name == name && !file.remove) return Path(name) + kStagedSuffix;
  }
  return std::string();
}

void Replacement::Abandon() {
  for (const ReplacedFile& file : members_) {
    if (!file.remove) (void)fs_.Remove(Path(file.name) + kStagedSuffix);
  }
  members_.clear();
}

int Replacement::Commit() {
  std::vector<ReplacedFile> files;
  files.swap(members_);
  // A removal of a file that is not there is no change.
  std::erase_if(files, [&](ReplacedFile& file) {
    file.existed = fs_.Exists(Path(file.name));
    return file.remove && !file.existed;
  });
  if (files.empty()) return 0;
  int rc = WriteMarker(fs_, directory_, FormatMarker(files));
  for (size_t i = 0; rc == 0 && i < files.size(); ++i) {
    const std::string live = Path(files[i].name);
    if (files[i].existed && fs_.Rename(live, live + kAsideSuffix) != 0) rc = e4rename;
    if (rc == 0 && !files[i].remove && fs_.Rename(live + kStagedSuffix, live) != 0) rc = e4rename;
  }
  if (rc == 0 && fs_.SyncDirectory(directory_) != 0) rc = e4write;
  // The one step that decides: without the marker the new files are live.
  if (rc == 0 && fs_.Remove(Path(kReplaceMarker)) != 0) rc = e4write;
  if (rc != 0) {
    (void)PutBack(fs_, directory_, files, nullptr);
    return rc;
  }
  // The change has taken effect. Copies that cannot be removed now, and a
  // directory sync that fails here, leave only leftovers for the next open.
  (void)fs_.SyncDirectory(directory_);
  for (const ReplacedFile& file : files) {
    if (file.existed) (void)fs_.Remove(Path(file.name) + kAsideSuffix);
  }
  return 0;
}

bool ReplacementPending(FileSystem& fs, const std::string& directory) {
  return fs.Exists(JoinPath(directory, kReplaceMarker));
}

std::vector<std::string> LeftoverFiles(FileSystem& fs, const std::string& directory) {
  std::vector<std::string> names;
  std::vector<std::string> leftovers;
  if (fs.ListDirectory(directory, &names) != 0) return leftovers;
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) {
    if (name == std::string(kReplaceMarker) + ".tmp" || IsLeftoverCopy(name)) {
      leftovers.push_back(name);
    }
  }
  return leftovers;
}

int RecoverDirectory(FileSystem& fs, const std::string& directory, RecoveryReport* report) {
  int result = 0;
  const std::string marker = JoinPath(directory, kReplaceMarker);
  if (fs.Exists(marker)) {
    std::string text;
    std::vector<ReplacedFile> files;
    int rc = ReadSmallFile(fs, marker, &text);
    if (rc == 0 && !ParseMarker(text, &files)) {
      // A damaged marker: every file moved aside goes back.
      for (const std::string& name : LeftoverFiles(fs, directory)) {
        if (EndsWith(name, kAsideSuffix)) {
          files.push_back({name.substr(0, name.size() - std::strlen(kAsideSuffix)), false, true});
        }
      }
    }
    if (rc == 0) rc = PutBack(fs, directory, files, &report->restored);
    if (rc != 0) result = rc;
  }
  if (result != 0) return result;  // leftovers may still be needed to undo the change
  bool removed = false;
  for (const std::string& name : LeftoverFiles(fs, directory)) {
    if (fs.Remove(JoinPath(directory, name)) != 0) {
      result = e4write;
    } else {
      report->removed.push_back(name);
      removed = true;
    }
  }
  if (removed && fs.SyncDirectory(directory) != 0 && result == 0) result = e4write;
  return result;
}

}  // namespace engine
