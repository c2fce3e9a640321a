// The table file: header validation, the page cache and table rewrites.

#include "Dbf.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <mutex>

#include "Engine.h"

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

// Tables to which this process wrote appended records that no header has
// counted (yet): the count in the header and the records written. Records
// there beyond the header's count are its own unfinished writes, which a
// later append may write over; records beyond the count of any other table
// were left by a stop and are kept.
struct Unfinished {
  uint32_t counted;
  uint32_t written;
};
std::mutex& UnfinishedMutex() {
  static std::mutex mutex;
  return mutex;
}
std::map<std::string, Unfinished>& UnfinishedAppends() {
  static std::map<std::string, Unfinished> unfinished;
  return unfinished;
}

// The file's path with links and relative parts resolved, naming it alike
// from every open.
std::string FileKey(const std::string& path) {
  char resolved[PATH_MAX];
  return ::realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

}  // namespace

int ReadError(int64_t rc) { return rc == -ENOENT ? e4open : e4read; }

TableFile::~TableFile() = default;

int TableFile::Open(FileSystem& fs, const std::string& path, bool read_only,
                    std::unique_ptr<TableFile>* out) {
  std::unique_ptr<TableFile> table(new TableFile());
  table->fs_ = &fs;
  table->path_ = path;
  table->key_ = FileKey(path);
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
  // Readable all the same, but not what a dBASE III or Clipper writer leaves:
  // a length one past the terminator whose extra byte is not the 0x00
  // padding has moved every record by a byte.
  header_notes_.clear();
  if (header_length_ == 32 * n + 34 && descriptors[header_length_ - 1] != 0) {
    header_notes_.push_back("header length " + std::to_string(header_length_) +
                            " does not fit its " + std::to_string(n) +
                            " field descriptors (expected " + std::to_string(32 * n + 33) + ")");
  }
  fields_.clear();
  has_memo_ = false;
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
  const uint8_t expected_version = has_memo_ ? 0x83 : 0x03;
  if (version_ != expected_version) {
    char text[64];
    std::snprintf(text, sizeof text, "version byte 0x%02X, expected 0x%02X", version_,
                  expected_version);
    header_notes_.push_back(text);
  }
  beyond_count_ = static_cast<uint32_t>(std::min<uint64_t>(
      (static_cast<uint64_t>(disk_size_) - DataEnd()) / static_cast<uint64_t>(record_length_),
      UINT32_MAX - count_));
  if (beyond_count_ > 0) {
    std::lock_guard<std::mutex> guard(UnfinishedMutex());
    auto it = UnfinishedAppends().find(key_);
    if (it != UnfinishedAppends().end() && it->second.counted == count_ &&
        it->second.written >= count_ + beyond_count_) {
      beyond_count_ = 0;
    }
  }
  stored_count_ = count_;
  appended_.clear();
  changed_index_.clear();
  changed_.clear();
  header_dirty_ = false;
  ResetCache();
  return 0;
}

void TableFile::ResetCache() {
  cache_.reset();  // made at the first read
  slot_chunk_.clear();
  slot_valid_.clear();
  last_miss_ = UINT64_MAX;
}

int TableFile::ReadStored(uint64_t offset, char* out, size_t n) {
  if (!cache_) {
    // Room for the whole file and some growth, up to the limit; the memory
    // is committed only as chunks are read.
    size_t slots = static_cast<size_t>(disk_size_) / kChunk + 16;
    slots = std::min(slots, kMaxCacheBytes / kChunk);
    cache_ = std::make_unique<PageMemory>(slots * kChunk);
    if (cache_->Data() == nullptr) slots = 0;
    slot_chunk_.assign(slots, 0);
    slot_valid_.assign(slots, 0);
  }
  const size_t slots = slot_chunk_.size();
  while (n > 0) {
    const uint64_t chunk = offset / kChunk;
    const size_t within = static_cast<size_t>(offset % kChunk);
    const size_t take = std::min(n, kChunk - within);
    const size_t slot = slots == 0 ? 0 : static_cast<size_t>(chunk % slots);
    char* bytes = slots == 0 ? nullptr : reinterpret_cast<char*>(cache_->Data()) + slot * kChunk;
    if (slots > 0 && slot_chunk_[slot] == chunk + 1 && within + take <= slot_valid_[slot]) {
      std::memcpy(out, bytes + within, take);
    } else if (slots > 0 &&
               (slot_chunk_[slot] == 0 || chunk == last_miss_ || chunk == last_miss_ + 1)) {
      // A free slot, or reads running through the file: the whole chunk.
      last_miss_ = chunk;
      slot_chunk_[slot] = 0;
      int64_t got = file_->ReadAt(chunk * kChunk, bytes, kChunk);
      if (got < 0) return e4read;
      slot_chunk_[slot] = chunk + 1;
      slot_valid_[slot] = static_cast<uint32_t>(got);
      if (within + take > static_cast<size_t>(got)) return e4data;  // cut short
      std::memcpy(out, bytes + within, take);
    } else {
      // Random reads over a full cache: only the bytes asked for.
      last_miss_ = chunk;
      int64_t got = file_->ReadAt(offset, out, take);
      if (got < 0) return e4read;
      if (static_cast<size_t>(got) != take) return e4data;
    }
    offset += take;
    out += take;
    n -= take;
  }
  return 0;
}

int TableFile::WriteFile(uint64_t offset, const char* data, size_t n) {
  if (file_->WriteAt(offset, data, n) != 0) return e4write;
  written_ = true;
  const size_t slots = slot_chunk_.size();
  for (uint64_t at = offset; slots > 0 && at < offset + n;) {
    const uint64_t chunk = at / kChunk;
    const size_t within = static_cast<size_t>(at % kChunk);
    const size_t take = static_cast<size_t>(std::min<uint64_t>(offset + n - at, kChunk - within));
    const size_t slot = static_cast<size_t>(chunk % slots);
    if (slot_chunk_[slot] == chunk + 1) {
      if (within <= slot_valid_[slot]) {
        std::memcpy(reinterpret_cast<char*>(cache_->Data()) + slot * kChunk + within,
                    data + (at - offset), take);
        slot_valid_[slot] = std::max(slot_valid_[slot], static_cast<uint32_t>(within + take));
      } else {
        slot_chunk_[slot] = 0;  // a gap before the write: read again when needed
      }
    }
    at += take;
  }
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
    if (beyond_count_ > 0) return e4data;  // records the header does not count yet
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
  if (!appended_.empty()) {
    std::lock_guard<std::mutex> guard(UnfinishedMutex());
    Unfinished& unfinished =
        UnfinishedAppends().try_emplace(key_, Unfinished{stored_count_, 0}).first->second;
    unfinished.written = std::max(unfinished.written, count_);
  }
  if (end_marker) appended_.push_back(0x1A);
  uint64_t at = RecordOffset(stored_count_ + 1);
  int rc = WriteFile(at, appended_.data(), appended_.size());
  if (end_marker) appended_.pop_back();
  if (rc != 0) return rc;
  disk_size_ = std::max<int64_t>(
      disk_size_, static_cast<int64_t>(at + appended_.size() + (end_marker ? 1 : 0)));
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
    int rc = WriteFile(RecordOffset(first), run.data(), run.size());
    if (rc != 0) return rc;
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
    rc = WriteFile(0, head, sizeof head);
    if (rc != 0) return rc;
    stored_count_ = count_;
    appended_.clear();
    header_dirty_ = false;
    std::lock_guard<std::mutex> guard(UnfinishedMutex());
    auto it = UnfinishedAppends().find(key_);
    if (it != UnfinishedAppends().end()) {
      if (count_ >= it->second.written) {
        UnfinishedAppends().erase(it);
      } else {
        it->second.counted = count_;
      }
    }
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

int TableFile::Rewrite(const Visitor& visit, const std::string& target) {
  if (read_only_) return e4write;
  int rc = Flush(false);
  if (rc != 0) return rc;
  const std::string temp = target + ".tmp";
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
  if (rc == 0) {
    buffer.push_back(0x1A);
    if (out->WriteAt(written, buffer.data(), buffer.size()) != 0) rc = e4write;
  }
  if (rc == 0) {
    char count_bytes[4];
    Put32(count_bytes, kept);
    if (out->WriteAt(4, count_bytes, 4) != 0 || out->Sync() != 0) rc = e4write;
  }
  out.reset();
  if (rc == 0 && fs_->Rename(temp, target) != 0) rc = e4rename;
  if (rc != 0) (void)fs_->Remove(temp);
  return rc;
}

bool TableFile::WellFormed(const char* record) const {
  if (record[0] != ' ' && record[0] != '*') return false;
  for (const FieldDesc& field : fields_) {
    const char* p = record + field.offset;
    const std::string_view text(p, static_cast<size_t>(field.length));
    switch (field.type) {
      case 'C':
        if (text.find('\0') != std::string_view::npos) return false;
        break;
      case 'N':
        if (text.find_first_not_of(" 0123456789.-+*") != std::string_view::npos) return false;
        break;
      case 'D':
        if (text != "        " && text.find_first_not_of("0123456789") != std::string_view::npos) {
          return false;
        }
        break;
      case 'L':
        if (std::string_view("TtYyFfNn? ").find(p[0]) == std::string_view::npos) return false;
        break;
      case 'M': {
        uint32_t block = 0;
        if (!ParseMemoBlock(p, &block)) return false;
        break;
      }
    }
  }
  return true;
}

int TableFile::TakeInRecordsBeyondCount(uint32_t* taken) {
  *taken = 0;
  if (beyond_count_ == 0) return 0;
  if (read_only_) return e4write;
  int rc = Flush(false);
  if (rc != 0) return rc;
  std::vector<char> record(static_cast<size_t>(record_length_));
  uint32_t whole = 0;  // the well-formed records right after the count
  bool gap = false;
  for (uint32_t i = 0; i < beyond_count_; ++i) {
    int64_t got =
        file_->ReadAt(DataEnd() + uint64_t{i} * record.size(), record.data(), record.size());
    if (got < 0) return e4read;
    const bool good = static_cast<size_t>(got) == record.size() && WellFormed(record.data());
    // A stop leaves good records and then at most what a write cut short
    // left; a good record after a bad one is damage, not for mending here.
    if (good && gap) return e4data;
    if (!good) gap = true;
    if (good) ++whole;
  }
  // The count goes last, after the end marker and the cut of what follows
  // (a record cut short, or bytes that are no record).
  const uint64_t end = DataEnd() + uint64_t{whole} * record.size();
  const char marker = 0x1A;
  if (file_->WriteAt(end, &marker, 1) != 0 || file_->Truncate(end + 1) != 0) return e4write;
  disk_size_ = static_cast<int64_t>(end + 1);
  char head[4];
  Put32(head, count_ + whole);
  if (file_->WriteAt(4, head, 4) != 0 || file_->Sync() != 0) return e4write;
  count_ += whole;
  stored_count_ = count_;
  beyond_count_ = 0;
  ResetCache();
  *taken = whole;
  return 0;
}

int TableFile::Reopen(const std::string& path) {
  std::unique_ptr<File> reopened;
  if (fs_->Open(path, read_only_ ? OpenMode::kRead : OpenMode::kReadWrite, &reopened) != 0) {
    return e4open;
  }
  file_ = std::move(reopened);
  written_ = false;
  return ParseHeader();
}

}  // namespace engine
