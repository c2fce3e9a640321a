#pragma once
// One dBASE III table file (.dbf): the validated header and field list, and
// record reads and writes with write-back buffering of changed and appended
// records (written at Flush, or when the buffer is full).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "FileSystem.h"

namespace engine {

struct FieldDesc {
  std::string name;  // as stored, up to 10 characters
  char type;         // 'C', 'N', 'D', 'L', 'M'
  int offset;        // in the record; the flag byte is at 0
  int length;
  int decimals;
};

class TableFile {
 public:
  // Opens and validates an existing table. Damage in the header, the field
  // list or the record count is e4data; a failing open is e4open.
  [[nodiscard]] static int Open(FileSystem& fs, const std::string& path, bool read_only,
                                std::unique_ptr<TableFile>* out);
  // Checks a field list for a new table (names, types, widths). Fills in the
  // offsets. Returns 0 or e4parm.
  [[nodiscard]] static int LayOut(std::vector<FieldDesc>* fields);
  // The header bytes (terminator included) of a table with these fields.
  static std::string BuildHeader(const std::vector<FieldDesc>& fields, uint32_t count);
  // Writes an empty table at path (created or truncated) and syncs it.
  [[nodiscard]] static int Create(FileSystem& fs, const std::string& path,
                                  const std::vector<FieldDesc>& fields);
  ~TableFile();

  const std::vector<FieldDesc>& Fields() const { return fields_; }
  int RecordLength() const { return record_length_; }
  uint32_t RecordCount() const { return count_; }
  uint32_t HeaderLength() const { return header_length_; }
  bool HasMemoField() const { return has_memo_; }
  bool ReadOnly() const { return read_only_; }
  bool Written() const { return written_; }
  int64_t DiskSize() const { return disk_size_; }

  // Copies record rec (1..count) into buffer (RecordLength bytes).
  [[nodiscard]] int ReadRecord(uint32_t rec, char* buffer);
  // Writes record rec (1..count, or count + 1 to append one).
  [[nodiscard]] int WriteRecord(uint32_t rec, const char* buffer);
  // Writes the header (count, date of last update), the end marker and every
  // dirty page; sync makes it durable with one fdatasync.
  [[nodiscard]] int Flush(bool sync);
  // Starts writing what Flush wrote out to the disk (see File::StartWriteback).
  void StartWriteback() {
    if (written_) file_->StartWriteback();
  }

  // Visits every record in order, read from the file in large sequential
  // chunks; changed and appended records are seen as buffered. The visitor
  // may change its copy. A non-zero return stops the scan and is returned.
  using Scanner = std::function<int(uint32_t rec, char* record)>;
  [[nodiscard]] int Scan(const Scanner& visit);

  // Replaces the table by a rewritten copy: visit is called for every record
  // in order and may change it or drop it (*keep = false). The copy goes to a
  // temporary file beside the table, is synced and renamed into place; the
  // table is then open on the new file.
  using Visitor = std::function<int(uint32_t rec, char* record, bool* keep)>;
  // before_commit runs once the copy is durable, just before the rename.
  [[nodiscard]] int Rewrite(const Visitor& visit,
                            const std::function<int()>& before_commit = nullptr);

  // Sets how many bytes of changed and appended records may wait in memory
  // before they are written (without sync) on their own.
  void SetBufferLimit(size_t bytes) { buffer_limit_ = bytes; }

 private:
  TableFile() = default;
  [[nodiscard]] int ParseHeader();
  void Remap();
  // Reads stored bytes (records already in the file) from the view or the file.
  [[nodiscard]] int ReadStored(uint64_t offset, char* out, size_t n);
  [[nodiscard]] int WriteChanged();
  // Writes the appended records waiting in memory, with the end-of-file
  // marker after them when end_marker (at Flush; the header's count follows).
  [[nodiscard]] int WriteAppended(bool end_marker);
  uint64_t DataEnd() const {
    return header_length_ + uint64_t{count_} * static_cast<uint64_t>(record_length_);
  }
  uint64_t RecordOffset(uint32_t rec) const {
    return header_length_ + uint64_t{rec - 1} * static_cast<uint64_t>(record_length_);
  }

  FileSystem* fs_ = nullptr;
  std::string path_;
  std::unique_ptr<File> file_;
  bool read_only_ = false;
  bool written_ = false;  // written since the last sync
  bool has_memo_ = false;
  uint8_t version_ = 0x03;
  std::vector<FieldDesc> fields_;
  uint32_t header_length_ = 0;
  int record_length_ = 0;
  uint32_t count_ = 0;
  int64_t disk_size_ = 0;

  // Stored records are read straight from a view of the file (the system's
  // page cache). Changed records wait in changed_ and appended ones in
  // appended_ until Flush, or until they outgrow buffer_limit_.
  const char* map_ = nullptr;
  uint64_t map_size_ = 0;
  uint32_t stored_count_ = 0;  // records 1..stored_count_ are in the file
  std::vector<char> appended_;
  static constexpr size_t kAppendChunk = size_t{1} << 20;
  bool end_marker_due_ = false;  // records were written past the last end marker
  std::unordered_map<uint32_t, size_t> changed_index_;  // record -> offset in changed_
  std::vector<char> changed_;
  bool header_dirty_ = false;
  size_t buffer_limit_ = size_t{16} << 20;
};

// Maps an errno from the file system to the engine's error for the operation.
int ReadError(int64_t rc);

}  // namespace engine
