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
  // What the header holds that a sound table would not, though the table
  // can be read (a wrong version byte, a length that does not fit the field
  // descriptors); one readable line each.
  const std::vector<std::string>& HeaderNotes() const { return header_notes_; }

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

  // Writes a rewritten copy of the table to target: visit is called for
  // every record in order and may change it or drop it (*keep = false). The
  // copy is written to a temporary file, synced and renamed to target; the
  // table itself stays open on its own file.
  using Visitor = std::function<int(uint32_t rec, char* record, bool* keep)>;
  [[nodiscard]] int Rewrite(const Visitor& visit, const std::string& target);
  // Opens the table on the file now at path (a replacement made live, or a
  // staged copy); buffered changes are dropped, so flush first.
  [[nodiscard]] int Reopen(const std::string& path);

  // Gives back the memory of the read cache (it fills again as records are read).
  void ReleaseCache() { ResetCache(); }

  // Whole records the file holds after the header's count: what a stop
  // between writing appended records and the header leaves. While there are
  // any, appending is refused (it would write over them).
  uint32_t RecordsBeyondCount() const { return beyond_count_; }
  // Takes the records beyond the count into the table when they are well
  // formed (a valid deletion flag and fields of their types), and ends the
  // file after them: what follows them may only be what a write cut short
  // leaves. A good record after a bad one is damage: e4data, nothing changed.
  // *taken is the number taken in.
  [[nodiscard]] int TakeInRecordsBeyondCount(uint32_t* taken);
  // Whether a record's bytes could have been written by a dBASE writer: a
  // blank or "*" flag and every field of its type's shape.
  bool WellFormed(const char* record) const;

  // Sets how many bytes of changed and appended records may wait in memory
  // before they are written (without sync) on their own.
  void SetBufferLimit(size_t bytes) { buffer_limit_ = bytes; }

 private:
  TableFile() = default;
  [[nodiscard]] int ParseHeader();
  // Reads stored bytes (records already in the file) through the chunk cache.
  [[nodiscard]] int ReadStored(uint64_t offset, char* out, size_t n);
  // Writes to the file, keeping cached chunks equal to it.
  [[nodiscard]] int WriteFile(uint64_t offset, const char* data, size_t n);
  void ResetCache();
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
  std::string key_;  // the path resolved
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
  uint32_t beyond_count_ = 0;
  std::vector<std::string> header_notes_;

  // Stored records are read through chunks of the file kept in memory, chunk
  // i in slot i % slots. (Not a memory map: a file cut short by another
  // program must give an error, not a signal.) Changed records wait in
  // changed_ and appended ones in appended_ until Flush, or until they
  // outgrow buffer_limit_.
  static constexpr size_t kChunk = size_t{32} << 10;
  static constexpr size_t kMaxCacheBytes = size_t{256} << 20;
  std::unique_ptr<PageMemory> cache_;
  std::vector<uint64_t> slot_chunk_;  // chunk index + 1 held by each slot, 0 when empty
  std::vector<uint32_t> slot_valid_;  // bytes of that chunk read (short at the end of the file)
  uint64_t last_miss_ = UINT64_MAX;   // tells a run of reads from random ones
  uint32_t stored_count_ = 0;         // records 1..stored_count_ are in the file
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
