#include "NtxCache.h"

#include <algorithm>
#include <cstring>

#include "TableEngine.h"

namespace engine::ntx {

namespace {
size_t FramesFor(size_t bytes) { return std::max(bytes / 1024, PageCache::kMinFrames); }
}  // namespace

PageCache::PageCache(File* file, size_t bytes) : file_(file), capacity_(FramesFor(bytes)) {
  ResetMap();
}

void PageCache::ResetMap() {
  size_t size = 1;
  while (size < capacity_ * 2) size <<= 1;
  map_.assign(size, {0, -1});
  mask_ = size - 1;
}

int PageCache::Find(uint32_t off) const {
  for (size_t i = Slot(off);; i = (i + 1) & mask_) {
    if (map_[i].first == off) return map_[i].second;
    if (map_[i].first == 0) return -1;
  }
}

void PageCache::MapInsert(uint32_t off, int frame) {
  size_t i = Slot(off);
  while (map_[i].first != 0 && map_[i].first != off) i = (i + 1) & mask_;
  map_[i] = {off, frame};
}

void PageCache::MapErase(uint32_t off) {
  size_t i = Slot(off);
  while (map_[i].first != off) {
    if (map_[i].first == 0) return;
    i = (i + 1) & mask_;
  }
  // Backward-shift deletion keeps every probe run unbroken.
  for (size_t j = (i + 1) & mask_; map_[j].first != 0; j = (j + 1) & mask_) {
    size_t home = Slot(map_[j].first);
    // Move j into the hole at i when its home does not lie in (i, j].
    bool between = i <= j ? (home > i && home <= j) : (home > i || home <= j);
    if (!between) {
      map_[i] = map_[j];
      i = j;
    }
  }
  map_[i] = {0, -1};
}

int PageCache::Victim(int* frame) {
  if (meta_.size() < capacity_) {
    if (meta_.size() % kBlockFrames == 0) {
      blocks_.emplace_back(new uint8_t[kBlockFrames * 1024]);
    }
    meta_.emplace_back();
    *frame = static_cast<int>(meta_.size() - 1);
    return 0;
  }
  size_t n = meta_.size();
  for (size_t step = 0; step < 3 * n; ++step) {
    size_t i = hand_;
    hand_ = (hand_ + 1) % n;
    Meta& m = meta_[i];
    if (!m.used) {
      *frame = static_cast<int>(i);
      return 0;
    }
    if (m.pins > 0) continue;
    if (m.ref) {
      m.ref = false;
      continue;
    }
    if (m.dirty) {
      if (file_->WriteAt(m.off, Data(static_cast<int>(i)), 1024) != 0) return e4write;
      m.dirty = false;
    }
    MapErase(m.off);
    m.used = false;
    *frame = static_cast<int>(i);
    return 0;
  }
  return e4index;  // every frame pinned: cannot happen with a sane tree depth
}

int PageCache::Fetch(uint32_t off, int* frame) {
  if (int found = Find(off); found >= 0) {
    meta_[found].ref = true;
    *frame = found;
    return 0;
  }
  int f;
  if (int rc = Victim(&f); rc != 0) return rc;
  int64_t got = file_->ReadAt(off, Data(f), 1024);
  if (got < 0) return e4read;
  if (got != 1024) return e4index;
  Meta& m = meta_[f];
  m = Meta{off, 0, true, false, true, false};
  MapInsert(off, f);
  *frame = f;
  return 0;
}

int PageCache::Fresh(uint32_t off, int* frame) {
  int f = Find(off);
  if (f < 0) {
    if (int rc = Victim(&f); rc != 0) return rc;
    MapInsert(off, f);
  }
  std::memset(Data(f), 0, 1024);
  Meta& m = meta_[f];
  int32_t pins = m.used && m.off == off ? m.pins : 0;
  m = Meta{off, pins, true, true, true, false};
  *frame = f;
  return 0;
}

bool PageCache::HasDirty() const {
  return std::any_of(meta_.begin(), meta_.end(), [](const Meta& m) { return m.used && m.dirty; });
}

int PageCache::WriteDirty() {
  std::vector<int> dirty;
  for (size_t i = 0; i < meta_.size(); ++i) {
    if (meta_[i].used && meta_[i].dirty) dirty.push_back(static_cast<int>(i));
  }
  std::sort(dirty.begin(), dirty.end(),
            [this](int a, int b) { return meta_[a].off < meta_[b].off; });
  constexpr size_t kRun = 64;
  std::vector<uint8_t> buffer;
  size_t i = 0;
  while (i < dirty.size()) {
    size_t j = i + 1;
    while (j < dirty.size() && j - i < kRun &&
           meta_[dirty[j]].off == meta_[dirty[j - 1]].off + 1024) {
      ++j;
    }
    int rc;
    if (j - i == 1) {
      rc = file_->WriteAt(meta_[dirty[i]].off, Data(dirty[i]), 1024);
    } else {
      buffer.resize((j - i) * 1024);
      for (size_t k = i; k < j; ++k) std::memcpy(&buffer[(k - i) * 1024], Data(dirty[k]), 1024);
      rc = file_->WriteAt(meta_[dirty[i]].off, buffer.data(), buffer.size());
    }
    if (rc != 0) return e4write;
    for (size_t k = i; k < j; ++k) meta_[dirty[k]].dirty = false;
    i = j;
  }
  return 0;
}

int PageCache::Resize(size_t bytes) {
  if (int rc = WriteDirty(); rc != 0) return rc;
  meta_.clear();
  blocks_.clear();
  capacity_ = FramesFor(bytes);
  ResetMap();
  hand_ = 0;
  return 0;
}

}  // namespace engine::ntx
