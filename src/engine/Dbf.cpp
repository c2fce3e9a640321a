// The table file: header validation, the page cache and table rewrites.

#include "Dbf.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>

#include "TableEngine.h"

namespace engine {
namespace {

uint16_t Get16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Get32(const unsigned char* p) {
  return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}
void Put16(char* p, uint32_t v) {
  p[0] = static_cast<char>(v & 0xFF);
  p[1] = static_cast<char>((v >> 8) & 0xFF);
}
void Put32(char* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

// The date of last update: YY MM DD with YY = year - 1900.
void PutToday(char* p) {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  p[0] = static_cast<char>(std::min(local.tm_year, 255));
  p[1] = static_cast<char>(local.tm_mon + 1);
  p[2] = static_cast<char>(local.tm_mday);
}

bool ValidWidth(char type, int length, int decimals) {
  switch (type) {
    case 'C':
      return length >= 1 && length <= 254;
    case 'N':
      return length >= 1 && length <= 19 && decimals >= 0 && decimals <= 15 &&
             (decimals == 0 || decimals < length - 1);
    case 'D':
      return length == 8;
    case 'L':
      return length == 1;
    case 'M':
      return length == 10;
    default:
      return false;
  }
}

}  // namespace

int ReadError(int64_t rc) { return rc == -ENOENT ? e4open : e4read; }

TableFile::~TableFile() = default;

int TableFile::Open(FileSystem& fs, const std::string& path, bool read_only,
                    std::unique_ptr<TableFile>* out) {
  std::unique_ptr<TableFile> table(new TableFile());
  table->fs_ = &fs;
  table->path_ = path;
  table->read_only_ = read_only;
  int rc = fs.Open(path, read_only ? OpenMode::kRead : OpenMode::kReadWrite, &table->file_);
  if (rc != 0) return e4open;
  int err = table->ParseHeader();
  if (err != 0) return err;
  *out = std::move(table);
  return 0;
}

int TableFile::ParseHeader() {
  disk_size_ = file_->Size();
  if (disk_size_ < 0) return e4read;
  if (disk_size_ < 32) return e4data;
  unsigned char head[32];
  int64_t got = file_->ReadAt(0, head, 32);
  if (got < 0) return e4read;
  if (got < 32) return e4data;
  version_ = head[0];
  count_ = Get32(head + 4);
  header_length_ = Get16(head + 8);
  record_length_ = Get16(head + 10);
  if (header_length_ < 65 || header_length_ > disk_size_) return e4data;
  std::vector<unsigned char> descriptors(header_length_);
  got = file_->ReadAt(0, descriptors.data(), header_length_);
  if (got != static_cast<int64_t>(header_length_)) return got < 0 ? e4read : e4data;
  size_t n = 0;
  bool terminated = false;
  for (size_t at = 32; at < header_length_; at += 32, ++n) {
    if (descriptors[at] == 0x0D) {
      terminated = true;
      break;
    }
  }
  if (!terminated || n == 0) return e4data;
  if (header_length_ != 32 * n + 33 && header_length_ != 32 * n + 34) return e4data;
  fields_.clear();
  int offset = 1;
  for (size_t i = 0; i < n; ++i) {
    const unsigned char* d = descriptors.data() + 32 + 32 * i;
    FieldDesc field;
    size_t name_length = 0;
    while (name_length < 11 && d[name_length] != 0) ++name_length;
    if (name_length == 0 || name_length > 10) return e4data;
    field.name.assign(reinterpret_cast<const char*>(d), name_length);
    for (char c : field.name) {
      if (static_cast<unsigned char>(c) <= ' ') return e4data;
    }
    field.type = static_cast<char>(d[11]);
    field.length = d[16];
    field.decimals = d[17];
    if (!ValidWidth(field.type, field.length, field.decimals)) return e4data;
    if (field.type != 'N') field.decimals = 0;
    field.offset = offset;
    offset += field.length;
    if (field.type == 'M') has_memo_ = true;
    fields_.push_back(std::move(field));
  }
  if (offset != record_length_) return e4data;
  if (DataEnd() > static_cast<uint64_t>(disk_size_)) return e4data;
  stored_count_ = count_;
  appended_.clear();
  changed_index_.clear();
  changed_.clear();
  header_dirty_ = false;
  Remap();
  return 0;
}

void TableFile::Remap() {
  // Only the records are mapped: other writers only ever append, so the
  // file never becomes shorter than this view.
  map_ = file_->Map(DataEnd());
  map_size_ = map_ != nullptr ? DataEnd() : 0;
}

int TableFile::ReadStored(uint64_t offset, char* out, size_t n) {
  if (offset + n <= map_size_) {
    std::memcpy(out, map_ + offset, n);
    return 0;
  }
  int64_t got = file_->ReadAt(offset, out, n);
  if (got < 0) return e4read;
  if (static_cast<size_t>(got) != n) return e4data;
  return 0;
}

int TableFile::ReadRecord(uint32_t rec, char* buffer) {
  if (rec < 1 || rec > count_) return e4record;
  size_t length = static_cast<size_t>(record_length_);
  if (rec > stored_count_) {
    std::memcpy(buffer, appended_.data() + (rec - stored_count_ - 1) * length, length);
    return 0;
  }
  if (!changed_index_.empty()) {
    auto it = changed_index_.find(rec);
    if (it != changed_index_.end()) {
      std::memcpy(buffer, changed_.data() + it->second, length);
      return 0;
    }
  }
  return ReadStored(RecordOffset(rec), buffer, length);
}

int TableFile::WriteRecord(uint32_t rec, const char* buffer) {
  if (read_only_) return e4write;
  if (rec < 1 || rec > count_ + 1 || rec == UINT32_MAX) return e4record;
  size_t length = static_cast<size_t>(record_length_);
  if (rec == count_ + 1) {
    appended_.insert(appended_.end(), buffer, buffer + length);
    ++count_;
    header_dirty_ = true;
    // Appended records go to the file in chunks, through one reused buffer;
    // the header's count follows at Flush.
    if (appended_.size() >= kAppendChunk) return WriteAppended(false);
  } else if (rec > stored_count_) {
    std::memcpy(appended_.data() + (rec - stored_count_ - 1) * length, buffer, length);
  } else {
    auto [it, added] = changed_index_.try_emplace(rec, changed_.size());
    if (added) changed_.resize(changed_.size() + length);
    std::memcpy(changed_.data() + it->second, buffer, length);
  }
  header_dirty_ = true;
  if (appended_.size() + changed_.size() > buffer_limit_) return Flush(false);
  return 0;
}

int TableFile::WriteAppended(bool end_marker) {
  if (appended_.empty() && !(end_marker && end_marker_due_)) return 0;
  if (end_marker) appended_.push_back(0x1A);
  uint64_t at = RecordOffset(stored_count_ + 1);
  int rc = file_->WriteAt(at, appended_.data(), appended_.size());
  if (end_marker) appended_.pop_back();
  if (rc != 0) return e4write;
  disk_size_ = std::max<int64_t>(
      disk_size_, static_cast<int64_t>(at + appended_.size() + (end_marker ? 1 : 0)));
  written_ = true;
  stored_count_ = count_;
  appended_.clear();
  end_marker_due_ = !end_marker;
  return 0;
}

int TableFile::WriteChanged() {
  // In file order; records close together go out in one write, the clean
  // ones between them copied from the file.
  std::vector<uint32_t> recs;
  recs.reserve(changed_index_.size());
  for (const auto& entry : changed_index_) recs.push_back(entry.first);
  std::sort(recs.begin(), recs.end());
  size_t length = static_cast<size_t>(record_length_);
  uint32_t gap = static_cast<uint32_t>(std::max<size_t>(1, 65536 / length));
  uint32_t span = static_cast<uint32_t>(std::max<size_t>(1, (1 << 20) / length));
  std::vector<char> run;
  size_t i = 0;
  while (i < recs.size()) {
    uint32_t first = recs[i];
    size_t j = i + 1;
    while (j < recs.size() && recs[j] - recs[j - 1] <= gap && recs[j] - first < span) ++j;
    uint32_t last = recs[j - 1];
    run.resize((last - first + 1) * length);
    if (last > first) {
      int rc = ReadStored(RecordOffset(first), run.data(), run.size());
      if (rc != 0) return rc;
    }
    for (size_t k = i; k < j; ++k) {
      std::memcpy(run.data() + (recs[k] - first) * length,
                  changed_.data() + changed_index_[recs[k]], length);
    }
    if (file_->WriteAt(RecordOffset(first), run.data(), run.size()) != 0) return e4write;
    written_ = true;
    i = j;
  }
  changed_index_.clear();
  changed_.clear();
  return 0;
}

int TableFile::Flush(bool sync) {
  if (header_dirty_) {
    if (read_only_) return e4write;
    int rc = WriteChanged();
    if (rc != 0) return rc;
    rc = WriteAppended(true);
    if (rc != 0) return rc;
    // The count goes last, so a crash before it leaves the old table.
    char head[8];
    head[0] = static_cast<char>(version_ == 0x03 || version_ == 0x83 ? version_
                                                                     : (has_memo_ ? 0x83 : 0x03));
    PutToday(head + 1);
    Put32(head + 4, count_);
    if (file_->WriteAt(0, head, sizeof head) != 0) return e4write;
    written_ = true;
    stored_count_ = count_;
    appended_.clear();
    header_dirty_ = false;
    if (DataEnd() > map_size_) Remap();
  }
  if (sync && written_) {
    if (file_->Sync() != 0) return e4write;
    written_ = false;
  }
  return 0;
}

int TableFile::LayOut(std::vector<FieldDesc>* fields) {
  if (fields->empty() || fields->size() > 1000) return e4parm;
  int offset = 1;
  for (FieldDesc& field : *fields) {
    if (field.name.empty() || field.name.size() > 10) return e4parm;
    for (char c : field.name) {
      if (static_cast<unsigned char>(c) <= ' ') return e4parm;
    }
    if (field.type >= 'a' && field.type <= 'z') field.type = static_cast<char>(field.type - 32);
    if (field.type == 'D') field.length = 8;
    if (field.type == 'L') field.length = 1;
    if (field.type == 'M') field.length = 10;
    if (field.type != 'N') field.decimals = 0;
    if (!ValidWidth(field.type, field.length, field.decimals)) return e4parm;
    field.offset = offset;
    offset += field.length;
  }
  if (offset > 65535) return e4parm;
  return 0;
}

std::string TableFile::BuildHeader(const std::vector<FieldDesc>& fields, uint32_t count) {
  size_t n = fields.size();
  std::string header(32 + 32 * n + 1, '\0');
  bool memo = false;
  int record_length = 1;
  for (size_t i = 0; i < n; ++i) {
    const FieldDesc& field = fields[i];
    char* d = header.data() + 32 + 32 * i;
    std::memcpy(d, field.name.data(), std::min<size_t>(field.name.size(), 10));
    d[11] = field.type;
    d[16] = static_cast<char>(field.length);
    d[17] = static_cast<char>(field.decimals);
    record_length += field.length;
    if (field.type == 'M') memo = true;
  }
  header[0] = static_cast<char>(memo ? 0x83 : 0x03);
  PutToday(header.data() + 1);
  Put32(header.data() + 4, count);
  Put16(header.data() + 8, static_cast<uint32_t>(header.size()));
  Put16(header.data() + 10, static_cast<uint32_t>(record_length));
  header.back() = 0x0D;
  return header;
}

int TableFile::Create(FileSystem& fs, const std::string& path,
                      const std::vector<FieldDesc>& fields) {
  std::string bytes = BuildHeader(fields, 0);
  bytes.push_back(0x1A);
  std::unique_ptr<File> file;
  if (fs.Open(path, OpenMode::kCreate, &file) != 0) return e4create;
  if (file->WriteAt(0, bytes.data(), bytes.size()) != 0) return e4write;
  if (file->Sync() != 0) return e4write;
  return 0;
}

int TableFile::Scan(const Scanner& visit) {
  const size_t length = static_cast<size_t>(record_length_);
  const uint32_t per_chunk = static_cast<uint32_t>(std::max<size_t>(1, (size_t{1} << 20) / length));
  std::vector<char> chunk;
  for (uint32_t first = 1; first <= count_;) {
    uint32_t n = std::min(per_chunk, count_ - first + 1);
    chunk.resize(n * length);
    if (first <= stored_count_) {
      // Stored records come straight from the file (not through the view, so
      // a one-pass scan of a big table does not stay resident).
      uint32_t stored = std::min(n, stored_count_ - first + 1);
      int64_t got = file_->ReadAt(RecordOffset(first), chunk.data(), stored * length);
      if (got < 0) return e4read;
      if (static_cast<size_t>(got) != stored * length) return e4data;
    }
    for (uint32_t i = 0; i < n; ++i) {
      uint32_t rec = first + i;
      char* record = chunk.data() + i * length;
      if (rec > stored_count_) {
        std::memcpy(record, appended_.data() + (rec - stored_count_ - 1) * length, length);
      } else if (!changed_index_.empty()) {
        auto it = changed_index_.find(rec);
        if (it != changed_index_.end()) std::memcpy(record, changed_.data() + it->second, length);
      }
      if (int rc = visit(rec, record); rc != 0) return rc;
    }
    first += n;
  }
  return 0;
}

int TableFile::Rewrite(const Visitor& visit, const std::function<int()>& before_commit) {
  if (read_only_) return e4write;
  int rc = Flush(false);
  if (rc != 0) return rc;
  std::string temp = path_ + ".tmp";
  std::unique_ptr<File> out;
  if (fs_->Open(temp, OpenMode::kCreate, &out) != 0) return e4create;
  std::string header = BuildHeader(fields_, 0);
  // Keep the table's own header length (some writers add a byte after the terminator).
  header.resize(header_length_, '\0');
  Put16(header.data() + 8, header_length_);
  std::vector<char> buffer;
  buffer.reserve(1 << 20);
  buffer.insert(buffer.end(), header.begin(), header.end());
  uint64_t written = 0;
  uint32_t kept = 0;
  auto fail = [&](int code) {
    out.reset();
    (void)fs_->Remove(temp);
    return code;
  };
  rc = Scan([&](uint32_t rec, char* record) {
    bool keep = true;
    int visited = visit(rec, record, &keep);
    if (visited != 0 || !keep) return visited;
    ++kept;
    buffer.insert(buffer.end(), record, record + record_length_);
    if (buffer.size() >= (1 << 20)) {
      if (out->WriteAt(written, buffer.data(), buffer.size()) != 0) return e4write;
      written += buffer.size();
      buffer.clear();
    }
    return 0;
  });
  if (rc != 0) return fail(rc);
  buffer.push_back(0x1A);
  if (out->WriteAt(written, buffer.data(), buffer.size()) != 0) return fail(e4write);
  char count_bytes[4];
  Put32(count_bytes, kept);
  if (out->WriteAt(4, count_bytes, 4) != 0) return fail(e4write);
  if (out->Sync() != 0) return fail(e4write);
  if (before_commit) {
    rc = before_commit();
    if (rc != 0) return fail(rc);
  }
  out.reset();
  if (fs_->Rename(temp, path_) != 0) return fail(e4rename);
  // The table now lives in the new file.
  std::unique_ptr<File> reopened;
  if (fs_->Open(path_, OpenMode::kReadWrite, &reopened) != 0) return e4open;
  file_ = std::move(reopened);
  written_ = false;
  map_ = nullptr;
  map_size_ = 0;
  return ParseHeader();
}

}  // namespace engine
