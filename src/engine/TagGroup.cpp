// Reading and writing tag group files.

#include "TagGroup.h"

#include "TableEngine.h"

namespace engine {

bool ParseTagGroup(std::string_view text, std::vector<TagGroupEntry>* entries) {
  entries->clear();
  bool first = true;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (first) {
      if (line != kTagGroupSignature) return false;
      first = false;
      continue;
    }
    if (line.empty()) continue;
    size_t blank = line.find(' ');
    if (blank == 0 || blank == std::string_view::npos) return false;
    std::string_view tag = line.substr(0, blank);
    std::string_view file = line.substr(blank + 1);
    if (file.empty() || file.find(' ') != std::string_view::npos ||
        file.find('/') != std::string_view::npos) {
      return false;
    }
    for (char c : line) {
      if (static_cast<unsigned char>(c) < ' ') return false;
    }
    entries->push_back({std::string(tag), std::string(file)});
  }
  return !first;
}

std::string FormatTagGroup(const std::vector<TagGroupEntry>& entries) {
  std::string text = kTagGroupSignature;
  text += '\n';
  for (const TagGroupEntry& entry : entries) {
    text += entry.tag_name + ' ' + entry.file_name + '\n';
  }
  return text;
}

int ReadTagGroup(FileSystem& fs, const std::string& path, std::vector<TagGroupEntry>* entries) {
  std::unique_ptr<File> file;
  if (fs.Open(path, OpenMode::kRead, &file) != 0) return e4open;
  int64_t size = file->Size();
  if (size < 0) return e4read;
  if (size > 65536) return e4index;
  std::string text(static_cast<size_t>(size), '\0');
  int64_t got = file->ReadAt(0, text.data(), text.size());
  if (got != size) return e4read;
  return ParseTagGroup(text, entries) ? 0 : e4index;
}

int WriteTagGroup(FileSystem& fs, const std::string& path,
                  const std::vector<TagGroupEntry>& entries) {
  std::string text = FormatTagGroup(entries);
  std::string temp = path + ".tmp";
  std::unique_ptr<File> file;
  if (fs.Open(temp, OpenMode::kCreate, &file) != 0) return e4create;
  if (file->WriteAt(0, text.data(), text.size()) != 0 || file->Sync() != 0) {
    file.reset();
    (void)fs.Remove(temp);
    return e4write;
  }
  file.reset();
  if (fs.Rename(temp, path) != 0) {
    (void)fs.Remove(temp);
    return e4rename;
  }
  return 0;
}

}  // namespace engine
