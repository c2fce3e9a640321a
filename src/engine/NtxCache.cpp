#include "NtxCache.h"

#include <algorithm>
#include <cstring>

#include "TableEngine.h"

namespace engine::ntx {

namespace {
size_t FramesFor(size_t bytes) { return std::max(bytes / 1024, PageCache::kMinFrames); }
}  // namespace

PageCache::PageCache(File* file, size_t bytes) : file_(file) { Reserve(bytes); }

void PageCache::Reserve(size_t bytes) {
  memory_.reset();
  capacity_ = FramesFor(bytes);
  memory_ = std::make_unique<PageMemory>(capacity_ * 1024);
  if (memory_->Data() == nullptr) {
    capacity_ = kMinFrames;
    memory_ = std::make_unique<PageMemory>(capacity_ * 1024);
  }
  base_ = memory_->Data();
  ResetMap();
}

void PageCache::ResetMap() {
  // Small at first and grown with use, so opening an index costs little.
  map_.assign(64, {0, -1});
  mask_ = map_.size() - 1;
  map_count_ = 0;
}

void PageCache::GrowMap() {
  std::vector<std::pair<uint32_t, int>> old(map_.size() * 2, {0, -1});
  old.swap(map_);
  mask_ = map_.size() - 1;
  for (const auto& entry : old) {
    if (entry.first == 0) continue;
    size_t i = Slot(entry.first);
    while (map_[i].first != 0) i = (i + 1) & mask_;
    map_[i] = entry;
  }
}

int PageCache::Find(uint32_t off) const {
  for (size_t i = Slot(off);; i = (i + 1) & mask_) {
    if (map_[i].first == off) return map_[i].second;
    if (map_[i].first == 0) return -1;
  }
}

void PageCache::MapInsert(uint32_t off, int frame) {
  // At most half full keeps the probe runs short.
  if ((map_count_ + 1) * 2 > map_.size()) GrowMap();
  size_t i = Slot(off);
  while (map_[i].first != 0 && map_[i].first != off) i = (i + 1) & mask_;
  if (map_[i].first == 0) ++map_count_;
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
  --map_count_;
}

int PageCache::Victim(int* frame) {
  if (meta_.size() < capacity_) {
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
      // Every dirty page goes out now, in file order and joined into runs:
      // one write per run instead of one per evicted page.
      // Pinned pages may be half way through a change: they stay dirty.
      if (WriteDirty(true) != 0) return e4write;
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
  if (capacity_ - meta_.size() >= kReadAhead) return FetchRun(off, frame);
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

int PageCache::FetchRun(uint32_t off, int* frame) {
  // While frames are still unused, a miss reads the aligned run of pages
  // around it in one call: a tree being walked or changed all over (a bulk
  // insert, a first pass of seeks) then costs a read per run, not per page.
  // Pages already cached keep their (perhaps changed) bytes.
  const uint32_t run_bytes = kReadAhead * 1024;
  const uint32_t start = off - off % run_bytes;
  if (run_.size() < run_bytes) run_.resize(run_bytes);
  int64_t got = file_->ReadAt(start, run_.data(), run_bytes);
  if (got < 0) return e4read;
  if (got < static_cast<int64_t>(off - start) + 1024) return e4index;
  for (uint32_t page = start; page + 1024 <= start + static_cast<uint64_t>(got); page += 1024) {
    if (page == 0 || (page != off && Find(page) >= 0)) continue;
    int f;
    if (int rc = Victim(&f); rc != 0) return rc;
    std::memcpy(Data(f), &run_[page - start], 1024);
    // Only the page asked for counts as used; the others go first.
    meta_[f] = Meta{page, 0, true, false, page == off, false};
    MapInsert(page, f);
    if (page == off) *frame = f;
  }
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

int PageCache::WriteDirty(bool skip_pinned) {
  std::vector<int> dirty;
  for (size_t i = 0; i < meta_.size(); ++i) {
    const Meta& m = meta_[i];
    if (m.used && m.dirty && !(skip_pinned && m.pins > 0)) dirty.push_back(static_cast<int>(i));
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
  Reserve(bytes);
  hand_ = 0;
  return 0;
}

}  // namespace engine::ntx
