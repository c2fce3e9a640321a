#pragma once
// One Clipper index file (.ntx): a B-tree of 1024-byte pages whose branch
// pages carry real keys; equal keys are kept in record-number order. Pages
// are read through a fixed-size in-process cache; a cursor remembers its path
// down the tree and is re-seated by (key, record) after the tree changes.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "FileSystem.h"

namespace engine {

struct NtxEntry {
  std::string key;  // exactly the index's key length
  uint32_t record;
};

// Entries of one index held flat: each is its key bytes, then its record
// number big-endian, padded to whole 64-bit words, so that comparing the
// bytes compares (key, record) and the list can be radix sorted in place.
class KeyList {
 public:
  KeyList() = default;
  explicit KeyList(int key_length) { Reset(key_length); }
  // Empties the list and sets the key length of what it will hold.
  void Reset(int key_length);
  void Reserve(size_t n) { words_.reserve(n * static_cast<size_t>(stride_words_)); }
  // Adds an entry; returns its key bytes (blank) for the caller to fill.
  char* Add(uint32_t record);
  void Add(std::string_view key, uint32_t record);
  void Clear() { words_.clear(); }
  // Gives the memory back.
  void Release() { std::vector<uint64_t>().swap(words_); }

  int KeyLength() const { return key_length_; }
  size_t Size() const { return words_.size() / static_cast<size_t>(stride_words_); }
  bool Empty() const { return words_.empty(); }
  std::string_view Key(size_t i) const {
    return {reinterpret_cast<const char*>(Entry(i)), static_cast<size_t>(key_length_)};
  }
  uint32_t Record(size_t i) const;
  // Bytes compared to order entries: the key and the record number.
  int SortBytes() const { return key_length_ + 4; }
  int StrideWords() const { return stride_words_; }
  const uint8_t* Entry(size_t i) const {
    return reinterpret_cast<const uint8_t*>(words_.data() + i * stride_words_);
  }
  std::vector<uint64_t>& Words() { return words_; }

 private:
  int key_length_ = 0;
  int stride_words_ = 1;
  std::vector<uint64_t> words_;
};

class Ntx {
 public:
  // Every call returns 0 or a negative engine error (e4open, e4read, e4write,
  // e4index for a damaged file, ...); see TableEngine.h.

  // Opens an existing index file. Reads the header and the root page only;
  // damage found later is reported by the call that meets it.
  [[nodiscard]] static int Open(FileSystem& fs, const std::string& path, bool read_only,
                                std::unique_ptr<Ntx>* out);
  // Writes a new index file holding entries (in any order; they are sorted by
  // key, then record) to a temporary file beside path and renames it into
  // place. The index is then open in *out.
  // The list is consumed (its memory released).
  [[nodiscard]] static int Create(FileSystem& fs, const std::string& path,
                                  std::string_view expression, KeyList* entries,
                                  std::unique_ptr<Ntx>* out);
  [[nodiscard]] static int Create(FileSystem& fs, const std::string& path,
                                  std::string_view expression, int key_length,
                                  const std::vector<NtxEntry>& entries, std::unique_ptr<Ntx>* out);
  ~Ntx();

  const std::string& Expression() const;
  int KeyLength() const;

  // Tree changes. Insert places (key, record) after equal keys of lower
  // records; Remove fails with e4index when the pair is absent.
  [[nodiscard]] int Insert(std::string_view key, uint32_t record);
  [[nodiscard]] int Remove(std::string_view key, uint32_t record);
  // Inserts a batch sorted in (key, record) order, each walk starting near
  // where the one before ended; stops at the first failure.
  [[nodiscard]] int InsertSorted(const KeyList& entries);

  // Cursor. Each returns r4success (0) when positioned on an entry, r4eof (3)
  // past the end, r4bof (4) before the start, or a negative error.
  [[nodiscard]] int Top();
  [[nodiscard]] int Bottom();
  [[nodiscard]] int Next();
  [[nodiscard]] int Prev();
  // First entry whose key, cut to the length of prefix, is >= prefix:
  // 0 when it starts with prefix, r4after (2) on a greater key, r4eof when none.
  [[nodiscard]] int Seek(std::string_view prefix);
  // Positions on (key, record) exactly: 0 when present, else like Seek on the
  // pair (2 on the next greater pair, 3 when none).
  [[nodiscard]] int SeekEntry(std::string_view key, uint32_t record);
  bool Positioned() const;
  std::string_view CurrentKey() const;
  uint32_t CurrentRecord() const;
  // Fraction (0 to 1) of the current entry's place in key order, estimated
  // from its slot on each page of the path down (no scan).
  [[nodiscard]] int Position(double* fraction);

  // Writes dirty pages and the header; sync makes it durable (one fdatasync).
  [[nodiscard]] int Flush(bool sync);
  // Starts writing what Flush wrote out to the disk (see File::StartWriteback).
  void StartWriteback();

  // Size of the page cache of indexes opened from now on (default 64 MiB;
  // frames are allocated as pages are first used, so a small index costs
  // only what it holds).
  static void SetDefaultCacheBytes(size_t bytes);
  static size_t DefaultCacheBytes();
  // Resizes this index's page cache (dirty pages are written first).
  [[nodiscard]] int SetCacheBytes(size_t bytes);

  struct CheckReport {
    std::vector<std::string> problems;  // one readable line each
    uint64_t entries = 0;
    // Pages below the root with fewer than half the maximum keys. Allowed in
    // files of other writers, so not a problem line; this engine's own trees
    // never have any.
    uint64_t underfull_pages = 0;
  };
  // The strict walk: page offsets on the 1024 grid and inside the file, no
  // page visited twice, key counts within the maximum, a sane offset table,
  // every leaf at one depth, entries in (key, record) order. When key_of is
  // given, every record 1..record_count must appear exactly once with the key
  // key_of returns for it. Never throws or crashes on a damaged file.
  // Returns 0 when clean, e4index when problems were listed, e4read.
  [[nodiscard]] int Check(uint32_t record_count,
                          const std::function<bool(uint32_t record, std::string* key)>* key_of,
                          CheckReport* report);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  explicit Ntx(std::unique_ptr<Impl> impl);
};

}  // namespace engine
