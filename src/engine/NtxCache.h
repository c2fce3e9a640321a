#pragma once
// A fixed-size cache of 1024-byte index pages over one file, with clock
// (second chance) replacement. The frames are one reservation of memory that
// is committed as frames are first used, so opening an index is cheap. Dirty pages are written when
// evicted and on Flush. Frames in use by a tree operation are pinned so they
// stay put.

#include <cstdint>
#include <memory>
#include <vector>

#include "FileSystem.h"

namespace engine::ntx {

class PageCache {
 public:
  static constexpr size_t kMinFrames = 16;

  PageCache(File* file, size_t bytes);

  // Makes page off present and returns its frame. Errors: e4read, e4index
  // (short page), e4write (evicting a dirty page failed).
  [[nodiscard]] int Fetch(uint32_t off, int* frame);
  // A zero-filled dirty frame for page off, not read from the file.
  [[nodiscard]] int Fresh(uint32_t off, int* frame);
  // Whether the frame's bytes passed the caller's validation since they were
  // read or last made fresh.
  bool Checked(int f) const { return meta_[f].checked; }
  void SetChecked(int f) { meta_[f].checked = true; }

  uint8_t* Data(int f) { return base_ + static_cast<size_t>(f) * 1024; }
  uint32_t Offset(int f) const { return meta_[f].off; }
  void MarkDirty(int f) { meta_[f].dirty = true; }
  void Pin(int f) { ++meta_[f].pins; }
  void Unpin(int f) { --meta_[f].pins; }
  // Writes every dirty page, in file order, joining neighbours into one write.
  [[nodiscard]] int WriteDirty(bool skip_pinned = false);
  bool HasDirty() const;
  // Writes dirty pages and changes the number of frames.
  [[nodiscard]] int Resize(size_t bytes);
  size_t Frames() const { return capacity_; }

 private:
  struct Meta {
    uint32_t off = 0;
    int32_t pins = 0;
    bool used = false;
    bool dirty = false;
    bool ref = false;
    bool checked = false;
  };
  [[nodiscard]] int Victim(int* frame);
  // Fetch's miss while unused frames remain: reads the run around off.
  [[nodiscard]] int FetchRun(uint32_t off, int* frame);
  static constexpr size_t kReadAhead = 16;  // pages per run
  // Open-addressing map from page offset (never 0) to frame.
  int Find(uint32_t off) const;
  void MapInsert(uint32_t off, int frame);
  void MapErase(uint32_t off);
  size_t Slot(uint32_t off) const { return ((off >> 10) * 0x9E3779B1u) & mask_; }
  void ResetMap();
  void GrowMap();

  File* file_;
  std::vector<Meta> meta_;
  // Sets the capacity and reserves its frames (fewer when memory is short).
  void Reserve(size_t bytes);
  size_t capacity_ = 0;
  std::unique_ptr<PageMemory> memory_;
  uint8_t* base_ = nullptr;
  std::vector<std::pair<uint32_t, int>> map_;
  std::vector<uint8_t> run_;
  size_t mask_ = 0;
  size_t map_count_ = 0;
  size_t hand_ = 0;
};

// Keeps a frame pinned for the life of a tree step.
class PinnedPage {
 public:
  PinnedPage() = default;
  PinnedPage(PageCache* c, int f) : c_(c), f_(f) { c_->Pin(f_); }
  PinnedPage(const PinnedPage&) = delete;
  PinnedPage& operator=(const PinnedPage&) = delete;
  PinnedPage(PinnedPage&& o) noexcept : c_(o.c_), f_(o.f_) { o.c_ = nullptr; }
  PinnedPage& operator=(PinnedPage&& o) noexcept {
    if (this != &o) {
      Release();
      c_ = o.c_;
      f_ = o.f_;
      o.c_ = nullptr;
    }
    return *this;
  }
  ~PinnedPage() { Release(); }
  void Release() {
    if (c_) c_->Unpin(f_);
    c_ = nullptr;
  }
  uint8_t* Data() const { return c_->Data(f_); }
  uint32_t Offset() const { return c_->Offset(f_); }
  void MarkDirty() const { c_->MarkDirty(f_); }

 private:
  PageCache* c_ = nullptr;
  int f_ = 0;
};

}  // namespace engine::ntx
