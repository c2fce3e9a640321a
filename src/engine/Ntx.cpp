#include "Ntx.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <unordered_set>

#include "NtxBuild.h"
#include "NtxCache.h"
#include "NtxPage.h"
#include "TableEngine.h"

namespace engine {

using ntx::Get16;
using ntx::Get32;
using ntx::kPageSize;
using ntx::Layout;
using ntx::PageCache;
using ntx::PageView;
using ntx::PinnedPage;
using ntx::Put16;
using ntx::Put32;
using ntx::Slots;

namespace {
size_t g_default_cache_bytes = 64u << 20;
}  // namespace

void KeyList::Reset(int key_length) {
  key_length_ = key_length;
  stride_words_ = (key_length + 4 + 7) / 8;
  words_.clear();
}

char* KeyList::Add(uint32_t record) {
  size_t at = words_.size();
  words_.resize(at + static_cast<size_t>(stride_words_));  // zero: the padding
  uint8_t* entry = reinterpret_cast<uint8_t*>(words_.data() + at);
  Put32(entry + key_length_, __builtin_bswap32(record));
  std::memset(entry, ' ', static_cast<size_t>(key_length_));
  return reinterpret_cast<char*>(entry);
}

void KeyList::Add(std::string_view key, uint32_t record) {
  std::memcpy(Add(record), key.data(), std::min(key.size(), static_cast<size_t>(key_length_)));
}

uint32_t KeyList::Record(size_t i) const {
  return __builtin_bswap32(Get32(Entry(i) + key_length_));
}

struct Ntx::Impl {
  struct Level {
    uint32_t off;
    int idx;  // child taken on the way down; on the last level the entry
  };
  enum class State { kNone, kOn, kEof, kBof };

  FileSystem* fs = nullptr;
  std::string path;
  std::unique_ptr<File> file;
  bool read_only = false;
  Layout lay;
  std::string expression;
  uint8_t header[kPageSize] = {};
  uint32_t root = 0;
  uint32_t free_head = 0;
  uint16_t changes = 0;
  bool header_dirty = false;
  uint64_t file_end = 0;  // pages lie below this, including ones not yet written
  std::unique_ptr<PageCache> cache;
  std::vector<uint8_t> scratch;
  std::vector<uint8_t> carry;
  std::array<uint8_t, kPageSize> canon;

  // Cursor.
  std::vector<Level> path_;
  State state = State::kNone;
  std::string cur_key;
  uint32_t cur_rec = 0;
  uint64_t version = 0;
  uint64_t cur_version = 0;
  std::string reseat_key;
  // Path of the running Insert or Remove; after an insert that changed only
  // its leaf it stays valid while version equals finger_version.
  std::vector<Level> op;
  uint64_t finger_version = UINT64_MAX;

  bool ValidOffset(uint32_t off) const {
    return off >= kPageSize && off % kPageSize == 0 && off + uint64_t{kPageSize} <= file_end;
  }

  // A validated page; the pointer stays good until the next cache call.
  int Read(uint32_t off, const uint8_t** data) {
    int f;
    if (int rc = Fetch(off, &f); rc != 0) return rc;
    *data = cache->Data(f);
    return 0;
  }
  int Get(uint32_t off, PinnedPage* page) {
    int f;
    if (int rc = Fetch(off, &f); rc != 0) return rc;
    *page = PinnedPage(cache.get(), f);
    return 0;
  }
  int Fetch(uint32_t off, int* f) {
    if (!ValidOffset(off)) return e4index;
    if (int rc = cache->Fetch(off, f); rc != 0) return rc;
    if (!cache->Checked(*f)) {
      // Pages are kept in canonical form in memory, so readers address
      // slots directly; the bytes only reach the file again when changed.
      if (ntx::ValidatePage(cache->Data(*f), lay) != nullptr) return e4index;
      ntx::Canonicalize(cache->Data(*f), lay, canon.data());
      cache->SetChecked(*f);
    }
    return 0;
  }
  // A page about to change, marked dirty.
  int GetForWrite(uint32_t off, PinnedPage* page) {
    if (int rc = Get(off, page); rc != 0) return rc;
    page->MarkDirty();
    return 0;
  }
  Slots SlotsOf(const PinnedPage& p) const {
    return Slots(p.Data() + lay.first_slot, lay.item_size);
  }

  int AllocPage(PinnedPage* page) {
    uint32_t off;
    if (free_head != 0) {
      off = free_head;
      if (!ValidOffset(off)) return e4index;
      int f;
      if (int rc = cache->Fetch(off, &f); rc != 0) return rc;
      uint32_t next = Get32(cache->Data(f));
      if (next != 0 && (!ValidOffset(next) || next == off)) return e4index;
      free_head = next;
    } else {
      off = static_cast<uint32_t>(file_end);
      if (file_end + kPageSize > UINT32_MAX) return e4write;
      file_end += kPageSize;
    }
    int f;
    if (int rc = cache->Fresh(off, &f); rc != 0) return rc;
    ntx::FillOffsetTable(cache->Data(f), lay);
    cache->SetChecked(f);
    *page = PinnedPage(cache.get(), f);
    header_dirty = true;
    return 0;
  }
  int FreePage(uint32_t off) {
    int f;
    if (int rc = cache->Fresh(off, &f); rc != 0) return rc;
    Put32(cache->Data(f), free_head);
    free_head = off;
    header_dirty = true;
    return 0;
  }

  // Compares item (rec, key) with (record, key).
  int CompareEntry(const uint8_t* item, const uint8_t* key, uint32_t record) const {
    int c = std::memcmp(item + 8, key, lay.key_length);
    if (c != 0) return c;
    uint32_t r = Get32(item + 4);
    return r < record ? -1 : (r > record ? 1 : 0);
  }

  int PushPath(std::vector<Level>* p, uint32_t off, int idx) {
    if (p->size() >= static_cast<size_t>(ntx::kMaxDepth)) return e4index;
    for (const Level& l : *p) {
      if (l.off == off) return e4index;  // a cycle
    }
    p->push_back({off, idx});
    return 0;
  }

  void SetCurrent(const uint8_t* data, int i) {
    PageView v(data, lay);
    cur_key.assign(reinterpret_cast<const char*>(v.Key(i)), lay.key_length);
    cur_rec = v.Record(i);
    cur_version = version;
    state = State::kOn;
  }
  int AtEof() {
    path_.clear();
    state = State::kEof;
    return r4eof;
  }

  // Goes down from page off (a child of the path's last level, or the root
  // when the path is empty) to the first or last entry below it.
  int Descend(uint32_t off, bool first) {
    for (;;) {
      const uint8_t* d;
      if (int rc = Read(off, &d); rc != 0) return Fail(rc);
      PageView v(d, lay);
      int n = v.Count();
      if (int rc = PushPath(&path_, off, first ? 0 : n); rc != 0) return Fail(rc);
      if (v.IsLeaf()) {
        if (n == 0) {
          if (path_.size() == 1) return AtEof();
          return Fail(e4index);
        }
        path_.back().idx = first ? 0 : n - 1;
        SetCurrent(d, path_.back().idx);
        return r4success;
      }
      off = v.Child(first ? 0 : n);
    }
  }
  int Fail(int rc) {
    path_.clear();
    state = State::kNone;
    return rc;
  }

  int Top() {
    path_.clear();
    return Descend(root, true);
  }
  int Bottom() {
    path_.clear();
    int rc = Descend(root, false);
    return rc;
  }

  // Binary search: the first slot in [0, n) whose entry is not below the
  // target; *exact when it equals it. Compares only prefix_len key bytes when
  // record is null.
  int LowerBound(const uint8_t* data, const uint8_t* key, size_t prefix_len, const uint32_t* record,
                 bool* exact) const {
    PageView v(data, lay);
    int lo = 0, hi = v.Count();
    while (lo < hi) {
      int mid = (lo + hi) / 2;
      int c = record ? CompareEntry(v.Item(mid), key, *record)
                     : std::memcmp(v.Key(mid), key, prefix_len);
      if (c < 0) {
        lo = mid + 1;
      } else {
        hi = mid;
      }
    }
    *exact = record && lo < v.Count() && CompareEntry(v.Item(lo), key, *record) == 0;
    return lo;
  }

  // Positions on the first entry not below the target. Returns 0 when found
  // exactly (record given), 1 when positioned otherwise, r4eof, or an error.
  int SearchTo(const uint8_t* key, size_t prefix_len, const uint32_t* record) {
    path_.clear();
    int cand_level = -1, cand_idx = 0;
    uint32_t off = root;
    for (;;) {
      const uint8_t* d;
      if (int rc = Read(off, &d); rc != 0) return Fail(rc);
      bool exact;
      int i = LowerBound(d, key, prefix_len, record, &exact);
      if (int rc = PushPath(&path_, off, i); rc != 0) return Fail(rc);
      PageView v(d, lay);
      if (exact) {
        SetCurrent(d, i);
        return 0;
      }
      if (i < v.Count()) {
        cand_level = static_cast<int>(path_.size()) - 1;
        cand_idx = i;
      }
      if (v.IsLeaf()) {
        if (i < v.Count()) {
          SetCurrent(d, i);
          return 1;
        }
        if (cand_level < 0) return AtEof();
        path_.resize(static_cast<size_t>(cand_level) + 1);
        path_.back().idx = cand_idx;
        if (int rc = Read(path_.back().off, &d); rc != 0) return Fail(rc);
        SetCurrent(d, cand_idx);
        return 1;
      }
      off = v.Child(i);
    }
  }

  int SeekEntry(std::string_view key, uint32_t record) {
    if (key.size() != static_cast<size_t>(lay.key_length)) return e4parm;
    int rc = SearchTo(reinterpret_cast<const uint8_t*>(key.data()), key.size(), &record);
    return rc == 1 ? r4after : rc;
  }

  // Before a cursor step: when the tree changed since the cursor was placed,
  // finds the remembered entry again. *landed is set when the entry is gone
  // and the cursor now stands on the next greater one (or at the end).
  int Reseat(bool* landed, int* result) {
    *landed = false;
    if (state != State::kOn || cur_version == version) return 0;
    reseat_key = cur_key;
    int rc = SeekEntry(reseat_key, cur_rec);
    if (rc < 0) return rc;
    if (rc != 0) {
      *landed = true;
      *result = rc == r4after ? r4success : rc;
    }
    return 0;
  }

  int Next() {
    bool landed;
    int result = 0;
    if (int rc = Reseat(&landed, &result); rc != 0) return rc;
    if (landed) return result;
    return StepForward();
  }
  int StepForward() {
    if (state == State::kEof) return r4eof;
    if (state != State::kOn || path_.empty()) return Top();
    const uint8_t* d;
    if (int rc = Read(path_.back().off, &d); rc != 0) return Fail(rc);
    PageView v(d, lay);
    int j = path_.back().idx;
    if (j >= v.Count()) return Fail(e4index);
    if (!v.IsLeaf()) {
      path_.back().idx = j + 1;
      return Descend(v.Child(j + 1), true);
    }
    if (j + 1 < v.Count()) {
      path_.back().idx = j + 1;
      SetCurrent(d, j + 1);
      return 0;
    }
    while (path_.size() > 1) {
      path_.pop_back();
      if (int rc = Read(path_.back().off, &d); rc != 0) return Fail(rc);
      PageView p(d, lay);
      int ci = path_.back().idx;
      if (ci < p.Count()) {
        SetCurrent(d, ci);
        return 0;
      }
    }
    return AtEof();
  }

  int Prev() {
    bool landed;
    int result = 0;
    if (int rc = Reseat(&landed, &result); rc != 0) return rc;
    if (landed && result == r4eof) return Bottom();
    return StepBack();
  }
  int StepBack() {
    if (state == State::kBof) return r4bof;
    if (state != State::kOn || path_.empty()) return Bottom();
    const uint8_t* d;
    if (int rc = Read(path_.back().off, &d); rc != 0) return Fail(rc);
    PageView v(d, lay);
    int j = path_.back().idx;
    if (j >= v.Count()) return Fail(e4index);
    if (!v.IsLeaf()) {
      return Descend(v.Child(j), false);
    }
    if (j > 0) {
      path_.back().idx = j - 1;
      SetCurrent(d, j - 1);
      return 0;
    }
    while (path_.size() > 1) {
      path_.pop_back();
      if (int rc = Read(path_.back().off, &d); rc != 0) return Fail(rc);
      PageView p(d, lay);
      int ci = path_.back().idx;
      if (ci > 0 && ci - 1 < p.Count()) {
        path_.back().idx = ci - 1;
        SetCurrent(d, ci - 1);
        return 0;
      }
    }
    path_.clear();
    state = State::kBof;
    return r4bof;
  }

  int Position(double* fraction) {
    bool landed;
    int result = 0;
    *fraction = 0;
    if (int rc = Reseat(&landed, &result); rc != 0) return rc;
    if (state == State::kEof) {
      *fraction = 1;
      return r4eof;
    }
    if (state == State::kBof) return r4bof;
    if (state != State::kOn) return r4eof;
    double f = 0, width = 1;
    bool last = true;
    for (size_t l = 0; l < path_.size(); ++l) {
      const uint8_t* d;
      if (int rc = Read(path_[l].off, &d); rc != 0) return rc;
      PageView v(d, lay);
      int n = v.Count(), idx = path_[l].idx;
      if (l + 1 < path_.size()) {
        f += width * idx / (n + 1);
        width /= n + 1;
        if (idx != n) last = false;
      } else if (v.IsLeaf()) {
        if (n > 0) f += width * idx / n;
        if (idx != n - 1) last = false;
      } else {
        f += width * (idx + 1) / (n + 1);
        last = false;
      }
    }
    *fraction = last ? 1.0 : std::clamp(f, 0.0, 1.0);
    return 0;
  }

  // Walks down to where (key, record) belongs, filling op. *found_level is
  // the level holding the pair, or -1 (then op's last level is the leaf and
  // its idx the insertion slot).
  int Locate(const uint8_t* key, uint32_t record, int* found_level, bool near_last = false) {
    *found_level = -1;
    // Keys inserted in order (near_last) mostly land in or near the leaf of
    // the last insert: the walk starts at the deepest page of that path
    // whose subtree holds the pair, not at the root.
    size_t start = 0;
    if (near_last && finger_version == version && !op.empty()) {
      for (size_t level = op.size() - 1; level > 0 && start == 0; --level) {
        bool inside = false;
        if (int rc = InSubtree(level, key, record, &inside); rc != 0) return rc;
        if (inside) start = level;
      }
    }
    uint32_t off = start == 0 ? root : op[start].off;
    op.resize(start);
    for (;;) {
      const uint8_t* d;
      if (int rc = Read(off, &d); rc != 0) return rc;
      bool exact;
      int i = LowerBound(d, key, 0, &record, &exact);
      if (int rc = PushPath(&op, off, i); rc != 0) return rc;
      PageView v(d, lay);
      if (exact) {
        *found_level = static_cast<int>(op.size()) - 1;
        return 0;
      }
      if (v.IsLeaf()) return 0;
      off = v.Child(i);
    }
  }

  // Whether (key, record) belongs strictly inside the subtree of op[level]:
  // between the separators of that page's nearest ancestors on the path.
  int InSubtree(size_t level, const uint8_t* key, uint32_t record, bool* inside) {
    *inside = false;
    bool have_upper = false, have_lower = false;
    for (size_t l = level; l-- > 0 && !(have_upper && have_lower);) {
      const uint8_t* d;
      if (int rc = Read(op[l].off, &d); rc != 0) return rc;
      PageView v(d, lay);
      int idx = op[l].idx;
      if (!have_upper && idx < v.Count()) {
        if (CompareEntry(v.Item(idx), key, record) <= 0) return 0;
        have_upper = true;
      }
      if (!have_lower && idx > 0) {
        if (CompareEntry(v.Item(idx - 1), key, record) >= 0) return 0;
        have_lower = true;
      }
    }
    *inside = true;
    return 0;
  }

  int Insert(std::string_view key, uint32_t record, bool near_last = false) {
    if (read_only) return e4write;
    if (key.size() != static_cast<size_t>(lay.key_length)) return e4parm;
    int found;
    if (int rc = Locate(reinterpret_cast<const uint8_t*>(key.data()), record, &found, near_last);
        rc != 0) {
      return rc;
    }
    if (found >= 0) return e4index;  // the pair is already there
    ++version;
    Put32(carry.data(), 0);
    Put32(carry.data() + 4, record);
    std::memcpy(carry.data() + 8, key.data(), key.size());
    uint32_t right = 0;
    const int is = lay.item_size;
    for (int level = static_cast<int>(op.size()) - 1; level >= 0; --level) {
      PinnedPage page;
      if (int rc = GetForWrite(op[level].off, &page); rc != 0) return rc;
      Slots s = SlotsOf(page);
      int n = Get16(page.Data());
      int i = std::min(op[level].idx, n);
      if (n < lay.max_keys) {
        s.Insert(n, i, s.Child(i), Get32(carry.data() + 4), carry.data() + 8, right);
        Put16(page.Data(), static_cast<uint16_t>(n + 1));
        Changed();
        // Only this page changed: the path down to it stays good for the
        // next insert nearby (appends come in key order).
        if (level == static_cast<int>(op.size()) - 1) finger_version = version;
        return 0;
      }
      // Split: the max + 1 keys go to this page (the lower half), the median
      // up a level and the upper half to a new page.
      Slots t(scratch.data(), is);
      std::memcpy(scratch.data(), s.Item(0), static_cast<size_t>(n + 1) * is);
      t.Insert(n, i, t.Child(i), Get32(carry.data() + 4), carry.data() + 8, right);
      int m = (n + 1) / 2;
      PinnedPage fresh;
      if (int rc = AllocPage(&fresh); rc != 0) return rc;
      Slots r = SlotsOf(fresh);
      std::memcpy(r.Item(0), t.Item(m + 1), static_cast<size_t>(n + 1 - m) * is);
      Put16(fresh.Data(), static_cast<uint16_t>(n - m));
      std::memcpy(s.Item(0), t.Item(0), static_cast<size_t>(m + 1) * is);
      Put16(page.Data(), static_cast<uint16_t>(m));
      std::memcpy(carry.data(), t.Item(m), is);
      right = fresh.Offset();
    }
    // The root split: a new root above the two halves.
    PinnedPage top;
    if (int rc = AllocPage(&top); rc != 0) return rc;
    Slots s = SlotsOf(top);
    Put32(s.Item(0), root);
    s.SetEntry(0, carry.data());
    s.SetChild(1, right);
    Put16(top.Data(), 1);
    root = top.Offset();
    return Changed();
  }

  int Changed() {
    ++changes;
    ++version;
    header_dirty = true;
    return 0;
  }

  int Remove(std::string_view key, uint32_t record) {
    if (read_only) return e4write;
    if (key.size() != static_cast<size_t>(lay.key_length)) return e4parm;
    int found;
    if (int rc = Locate(reinterpret_cast<const uint8_t*>(key.data()), record, &found); rc != 0) {
      return rc;
    }
    if (found < 0) return e4index;  // not in the index
    ++version;
    {
      PinnedPage page;
      if (int rc = GetForWrite(op[found].off, &page); rc != 0) return rc;
      Slots s = SlotsOf(page);
      int n = Get16(page.Data());
      int i = op[found].idx;
      if (s.Child(0) == 0) {
        s.RemoveRight(n, i);
        Put16(page.Data(), static_cast<uint16_t>(n - 1));
      } else {
        // A branch entry: replaced by its in-order predecessor, the last
        // entry of the rightmost leaf below child i.
        op.resize(static_cast<size_t>(found) + 1);
        uint32_t off = s.Child(i);
        for (;;) {
          const uint8_t* d;
          if (int rc = Read(off, &d); rc != 0) return rc;
          PageView v(d, lay);
          if (int rc = PushPath(&op, off, v.Count()); rc != 0) return rc;
          if (v.IsLeaf()) break;
          off = v.Child(v.Count());
        }
        PinnedPage leaf;
        if (int rc = GetForWrite(op.back().off, &leaf); rc != 0) return rc;
        int ln = Get16(leaf.Data());
        if (ln == 0) return e4index;
        Slots ls = SlotsOf(leaf);
        s.SetEntry(i, ls.Item(ln - 1));
        ls.RemoveRight(ln, ln - 1);
        Put16(leaf.Data(), static_cast<uint16_t>(ln - 1));
        op.back().idx = ln - 1;
      }
    }
    if (int rc = Rebalance(); rc != 0) return rc;
    return Changed();
  }

  // Restores at least half keys on every page of op below the root, by
  // borrowing from a sibling or merging with one, then drops an empty root.
  int Rebalance() {
    const int is = lay.item_size;
    for (int level = static_cast<int>(op.size()) - 1; level > 0; --level) {
      PinnedPage p;
      if (int rc = GetForWrite(op[level].off, &p); rc != 0) return rc;
      int pn = Get16(p.Data());
      if (pn >= lay.half) break;
      PinnedPage q;
      if (int rc = GetForWrite(op[level - 1].off, &q); rc != 0) return rc;
      Slots qs = SlotsOf(q), ps = SlotsOf(p);
      int qn = Get16(q.Data());
      int ci = op[level - 1].idx;
      if (ci > qn) return e4index;
      PinnedPage left, right;
      auto sibling = [&](uint32_t off, PinnedPage* out) {
        if (off == p.Offset() || off == q.Offset()) return e4index;
        return GetForWrite(off, out);
      };
      if (ci > 0) {
        if (int rc = sibling(qs.Child(ci - 1), &left); rc != 0) return rc;
        int ln = Get16(left.Data());
        if (ln > lay.half) {
          Slots ls = SlotsOf(left);
          ps.Insert(pn, 0, ls.Child(ln), Get32(qs.Item(ci - 1) + 4), qs.Item(ci - 1) + 8,
                    ps.Child(0));
          Put16(p.Data(), static_cast<uint16_t>(pn + 1));
          qs.SetEntry(ci - 1, ls.Item(ln - 1));
          ls.RemoveRight(ln, ln - 1);
          Put16(left.Data(), static_cast<uint16_t>(ln - 1));
          break;
        }
      }
      if (ci < qn) {
        if (int rc = sibling(qs.Child(ci + 1), &right); rc != 0) return rc;
        int rn = Get16(right.Data());
        if (rn > lay.half) {
          Slots rs = SlotsOf(right);
          ps.Insert(pn, pn, ps.Child(pn), Get32(qs.Item(ci) + 4), qs.Item(ci) + 8, rs.Child(0));
          Put16(p.Data(), static_cast<uint16_t>(pn + 1));
          qs.SetEntry(ci, rs.Item(0));
          rs.RemoveLeft(rn, 0);
          Put16(right.Data(), static_cast<uint16_t>(rn - 1));
          break;
        }
      }
      // Merge: lower page + separator + upper page into the lower page.
      PinnedPage* lower = ci > 0 ? &left : &p;
      PinnedPage* upper = ci > 0 ? &p : &right;
      int sep = ci > 0 ? ci - 1 : ci;
      if (ci == 0 && ci >= qn) return e4index;  // a branch without keys
      int lo_n = Get16(lower->Data()), up_n = Get16(upper->Data());
      if (lo_n + 1 + up_n > lay.max_keys) return e4index;
      Slots los = SlotsOf(*lower), ups = SlotsOf(*upper);
      los.SetEntry(lo_n, qs.Item(sep));
      std::memcpy(los.Item(lo_n + 1), ups.Item(0), static_cast<size_t>(up_n + 1) * is);
      Put16(lower->Data(), static_cast<uint16_t>(lo_n + 1 + up_n));
      qs.RemoveRight(qn, sep);
      Put16(q.Data(), static_cast<uint16_t>(qn - 1));
      uint32_t gone = upper->Offset();
      upper->Release();
      if (int rc = FreePage(gone); rc != 0) return rc;
    }
    const uint8_t* d;
    if (int rc = Read(root, &d); rc != 0) return rc;
    PageView v(d, lay);
    if (v.Count() == 0 && !v.IsLeaf()) {
      uint32_t old = root;
      root = v.Child(0);
      if (int rc = FreePage(old); rc != 0) return rc;
    }
    return 0;
  }

  int Flush(bool sync) {
    if (read_only) return 0;
    if (int rc = cache->WriteDirty(); rc != 0) return rc;
    if (header_dirty) {
      Put16(header + 2, changes);
      Put32(header + 4, root);
      Put32(header + 8, free_head);
      if (file->WriteAt(0, header, kPageSize) != 0) return e4write;
      header_dirty = false;
    }
    if (sync && file->Sync() != 0) return e4write;
    return 0;
  }

  int Check(uint32_t record_count,
            const std::function<bool(uint32_t record, std::string* key)>* key_of,
            CheckReport* report);
  int ParseHeader(int64_t size);
};

// Reads and checks the header page; fills the layout and the tree roots.
int Ntx::Impl::ParseHeader(int64_t size) {
  if (size < 2 * kPageSize) return e4index;
  int64_t got = file->ReadAt(0, header, kPageSize);
  if (got < 0) return e4read;
  if (got != kPageSize) return e4index;
  const uint8_t* h = header;
  int key_length = Get16(h + 14);
  int item_size = Get16(h + 12);
  int max_keys = Get16(h + 18);
  if (Get16(h) != ntx::kSignature) return e4index;
  if (key_length < 1 || key_length > ntx::kMaxKeyLength) return e4index;
  if (item_size != key_length + 8) return e4index;
  lay = Layout::For(key_length, max_keys);
  if (!lay.Fits()) return e4index;
  const char* expr = reinterpret_cast<const char*>(h + ntx::kExpressionOffset);
  size_t len = strnlen(expr, ntx::kExpressionSize);
  if (len == ntx::kExpressionSize) return e4index;
  expression.assign(expr, len);
  changes = Get16(h + 2);
  root = Get32(h + 4);
  free_head = Get32(h + 8);
  file_end = static_cast<uint64_t>(size) / kPageSize * kPageSize;
  if (!ValidOffset(root)) return e4index;
  if (free_head != 0 && !ValidOffset(free_head)) return e4index;
  return 0;
}

Ntx::Ntx(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

Ntx::~Ntx() {
  if (impl_ && impl_->file) (void)impl_->Flush(false);
}

void Ntx::SetDefaultCacheBytes(size_t bytes) { g_default_cache_bytes = bytes; }
size_t Ntx::DefaultCacheBytes() { return g_default_cache_bytes; }

int Ntx::SetCacheBytes(size_t bytes) { return impl_->cache->Resize(bytes) == 0 ? 0 : e4write; }

int Ntx::Open(FileSystem& fs, const std::string& path, bool read_only, std::unique_ptr<Ntx>* out) {
  out->reset();
  auto t = std::make_unique<Impl>();
  t->fs = &fs;
  t->path = path;
  t->read_only = read_only;
  if (fs.Open(path, read_only ? OpenMode::kRead : OpenMode::kReadWrite, &t->file) != 0) {
    return e4open;
  }
  int64_t size = t->file->Size();
  if (size < 0) return e4read;
  if (int rc = t->ParseHeader(size); rc != 0) return rc;
  t->cache = std::make_unique<PageCache>(t->file.get(), g_default_cache_bytes);
  t->scratch.assign(static_cast<size_t>(t->lay.max_keys + 2) * t->lay.item_size + kPageSize, 0);
  t->carry.assign(static_cast<size_t>(t->lay.item_size), 0);
  t->path_.reserve(ntx::kMaxDepth);
  t->op.reserve(ntx::kMaxDepth);
  const uint8_t* root;
  if (int rc = t->Read(t->root, &root); rc != 0) return rc;
  out->reset(new Ntx(std::move(t)));
  return 0;
}

int Ntx::Create(FileSystem& fs, const std::string& path, std::string_view expression,
                KeyList* entries, std::unique_ptr<Ntx>* out) {
  out->reset();
  const int key_length = entries->KeyLength();
  if (key_length < 1 || key_length > ntx::kMaxKeyLength) return e4parm;
  if (expression.size() >= static_cast<size_t>(ntx::kExpressionSize)) return e4parm;
  Layout lay = Layout::For(key_length, ntx::MaxKeysFor(key_length));
  const std::string temp = path + ".tmp~";
  std::unique_ptr<File> file;
  if (fs.Open(temp, OpenMode::kCreate, &file) != 0) return e4create;
  int rc = ntx::WriteIndexFile(file.get(), lay, expression, entries);
  if (rc == 0 && file->Sync() != 0) rc = e4write;
  file.reset();
  if (rc == 0 && fs.Rename(temp, path) != 0) rc = e4rename;
  if (rc != 0) {
    (void)fs.Remove(temp);
    return rc;
  }
  return Open(fs, path, false, out);
}

int Ntx::Create(FileSystem& fs, const std::string& path, std::string_view expression,
                int key_length, const std::vector<NtxEntry>& entries, std::unique_ptr<Ntx>* out) {
  out->reset();
  if (key_length < 1 || key_length > ntx::kMaxKeyLength) return e4parm;
  KeyList list(key_length);
  list.Reserve(entries.size());
  for (const NtxEntry& e : entries) {
    if (e.key.size() != static_cast<size_t>(key_length)) return e4parm;
    list.Add(e.key, e.record);
  }
  return Create(fs, path, expression, &list, out);
}

const std::string& Ntx::Expression() const { return impl_->expression; }
int Ntx::KeyLength() const { return impl_->lay.key_length; }
int Ntx::Insert(std::string_view key, uint32_t record) { return impl_->Insert(key, record); }

int Ntx::InsertSorted(const KeyList& entries) {
  if (entries.KeyLength() != impl_->lay.key_length) return e4parm;
  for (size_t i = 0; i < entries.Size(); ++i) {
    if (int rc = impl_->Insert(entries.Key(i), entries.Record(i), true); rc != 0) return rc;
  }
  return 0;
}
int Ntx::Remove(std::string_view key, uint32_t record) { return impl_->Remove(key, record); }
int Ntx::Top() { return impl_->Top(); }
int Ntx::Bottom() { return impl_->Bottom(); }
int Ntx::Next() { return impl_->Next(); }
int Ntx::Prev() { return impl_->Prev(); }

int Ntx::Seek(std::string_view prefix) {
  size_t len = std::min(prefix.size(), static_cast<size_t>(impl_->lay.key_length));
  int rc = impl_->SearchTo(reinterpret_cast<const uint8_t*>(prefix.data()), len, nullptr);
  if (rc < 0 || rc == r4eof) return rc;
  return std::memcmp(impl_->cur_key.data(), prefix.data(), len) == 0 ? r4success : r4after;
}

int Ntx::SeekEntry(std::string_view key, uint32_t record) { return impl_->SeekEntry(key, record); }
bool Ntx::Positioned() const { return impl_->state == Impl::State::kOn; }
std::string_view Ntx::CurrentKey() const {
  return Positioned() ? std::string_view(impl_->cur_key) : std::string_view();
}
uint32_t Ntx::CurrentRecord() const { return Positioned() ? impl_->cur_rec : 0; }
int Ntx::Position(double* fraction) { return impl_->Position(fraction); }
int Ntx::Flush(bool sync) { return impl_->Flush(sync); }
void Ntx::StartWriteback() { impl_->file->StartWriteback(); }

int Ntx::Check(uint32_t record_count,
               const std::function<bool(uint32_t record, std::string* key)>* key_of,
               CheckReport* report) {
  return impl_->Check(record_count, key_of, report);
}

// The strict walk, in key order with an explicit stack.
int Ntx::Impl::Check(uint32_t record_count,
                     const std::function<bool(uint32_t record, std::string* key)>* key_of,
                     CheckReport* report) {
  constexpr size_t kMaxProblems = 200;
  report->problems.clear();
  report->entries = 0;
  report->underfull_pages = 0;
  auto problem = [&](std::string line) {
    if (report->problems.size() < kMaxProblems) {
      report->problems.push_back(std::move(line));
    } else if (report->problems.size() == kMaxProblems) {
      report->problems.push_back("more problems not listed");
    }
  };
  auto page_name = [](uint32_t off) { return "page " + std::to_string(off); };

  // Header fields the layout does not depend on, but a sound file keeps: the
  // keys here are character keys of a tree that holds every record.
  if (const int decimals = Get16(header + 16); decimals != 0) {
    problem("header: key decimals " + std::to_string(decimals) + ", expected 0");
  }
  if (const int half = Get16(header + 20); half != lay.max_keys / 2) {
    problem("header: half page " + std::to_string(half) + ", expected " +
            std::to_string(lay.max_keys / 2));
  }
  if (const int unique = header[ntx::kUniqueOffset]; unique != 0) {
    problem("header: unique flag " + std::to_string(unique) + ", expected 0");
  }
  if (const int descending = header[ntx::kDescendingOffset]; descending != 0) {
    problem("header: descending flag " + std::to_string(descending) + ", expected 0");
  }

  std::unordered_set<uint32_t> visited;
  std::vector<uint8_t> seen(key_of ? static_cast<size_t>(record_count) + 1 : 0, 0);
  std::string prev_key, key;
  uint32_t prev_rec = 0;
  bool have_prev = false;
  int leaf_depth = -1;
  std::string expected;

  auto emit = [&](uint32_t off, const uint8_t* item) {
    const uint8_t* k = item + 8;
    uint32_t rec = Get32(item + 4);
    ++report->entries;
    if (have_prev) {
      int c = std::memcmp(prev_key.data(), k, lay.key_length);
      if (c > 0 || (c == 0 && prev_rec >= rec)) {
        problem(page_name(off) + ": entry of record " + std::to_string(rec) + " out of order");
      }
    }
    prev_key.assign(reinterpret_cast<const char*>(k), lay.key_length);
    prev_rec = rec;
    have_prev = true;
    if (!key_of) return;
    if (rec < 1 || rec > record_count) {
      problem(page_name(off) + ": record " + std::to_string(rec) + " outside the table (1 to " +
              std::to_string(record_count) + ")");
      return;
    }
    if (seen[rec]++) {
      problem("record " + std::to_string(rec) + ": indexed more than once");
      return;
    }
    expected.clear();
    if (!(*key_of)(rec, &expected)) {
      problem("record " + std::to_string(rec) + ": its key could not be computed");
    } else if (expected != prev_key) {
      problem("record " + std::to_string(rec) + ": key \"" + prev_key + "\", expected \"" +
              expected + "\"");
    }
  };

  // Loads and checks one page; false when it cannot be walked.
  // The file itself is checked, read past the cache: first everything
  // changed goes to it. One page buffer per tree level.
  if (int rc = Flush(false); rc != 0) return rc;
  std::vector<std::array<uint8_t, kPageSize>> page_buffers(ntx::kMaxDepth + 1);
  auto load = [&](uint32_t off, int depth, const uint8_t** d) -> int {
    if (off % kPageSize != 0 || off < kPageSize) {
      problem(page_name(off) + ": offset not on the 1024-byte grid");
      return 1;
    }
    if (off + uint64_t{kPageSize} > file_end) {
      problem(page_name(off) + ": outside the file");
      return 1;
    }
    if (!visited.insert(off).second) {
      problem(page_name(off) + ": reached twice");
      return 1;
    }
    if (depth >= ntx::kMaxDepth) {
      problem(page_name(off) + ": tree deeper than " + std::to_string(ntx::kMaxDepth));
      return 1;
    }
    uint8_t* data = page_buffers[static_cast<size_t>(depth)].data();
    int64_t got = file->ReadAt(off, data, kPageSize);
    if (got < 0) return e4read;
    if (got != kPageSize) {
      problem(page_name(off) + ": cannot be read whole");
      return 1;
    }
    int bad_count = 0;
    if (const char* why = ntx::ValidatePage(data, lay, &bad_count)) {
      if (bad_count) {
        problem(page_name(off) + ": " + std::to_string(bad_count) + " keys, maximum " +
                std::to_string(lay.max_keys));
      } else {
        problem(page_name(off) + ": " + why);
      }
      return 1;
    }
    *d = data;
    return 0;
  };

  struct Step {
    uint32_t off;
    int next;  // next child to walk (branch) or 0 (leaf, not yet emitted)
    int depth;
  };
  std::vector<Step> stack;
  auto enter = [&](uint32_t off, int depth) -> int {
    const uint8_t* d = nullptr;
    int rc = load(off, depth, &d);
    if (rc != 0) return rc < 0 ? rc : 0;
    PageView v(d, lay, true);
    int n = v.Count();
    bool leaf = v.IsLeaf();
    if (depth > 0 && n == 0) problem(page_name(off) + ": no keys");
    if (depth > 0 && n < lay.half) ++report->underfull_pages;
    // Overlapping slots would make two entries share bytes.
    std::vector<int> offs;
    for (int i = 0; i <= n; ++i) offs.push_back(Get16(d + 2 + 2 * i));
    std::sort(offs.begin(), offs.end());
    for (size_t i = 1; i < offs.size(); ++i) {
      if (offs[i] - offs[i - 1] < lay.item_size) {
        problem(page_name(off) + ": item slots overlap");
        break;
      }
    }
    for (int i = 0; i <= n; ++i) {
      if (leaf && v.Child(i) != 0) {
        problem(page_name(off) + ": leaf with a child pointer in slot " + std::to_string(i));
        break;
      }
    }
    if (leaf) {
      if (leaf_depth < 0) leaf_depth = depth;
      if (depth != leaf_depth) {
        problem(page_name(off) + ": leaf at depth " + std::to_string(depth) + ", others at " +
                std::to_string(leaf_depth));
      }
      for (int i = 0; i < n; ++i) emit(off, v.Item(i));
      return 0;
    }
    stack.push_back({off, 0, depth});
    return 0;
  };

  if (int rc = enter(root, 0); rc != 0) return rc;
  while (!stack.empty()) {
    Step& s = stack.back();
    PageView v(page_buffers[static_cast<size_t>(s.depth)].data(), lay, true);
    int n = v.Count();
    if (s.next > 0 && s.next <= n) emit(s.off, v.Item(s.next - 1));
    if (s.next > n) {
      stack.pop_back();
      continue;
    }
    uint32_t child = v.Child(s.next);
    int depth = s.depth + 1;
    ++s.next;
    if (child == 0) {
      problem(page_name(s.off) + ": branch without child in slot " + std::to_string(s.next - 1));
      continue;
    }
    if (int rc = enter(child, depth); rc != 0) return rc;
  }

  // The free list: bounded, on the grid, and no page also in the tree.
  uint32_t off = free_head;
  for (uint64_t steps = 0; off != 0; ++steps) {
    if (!ValidOffset(off) || steps > file_end / kPageSize) {
      problem("free list: bad page " + std::to_string(off));
      break;
    }
    if (!visited.insert(off).second) {
      problem(page_name(off) + ": on the free list and in use");
      break;
    }
    uint8_t next[4];
    int64_t got = file->ReadAt(off, next, 4);
    if (got < 0) return e4read;
    if (got != 4) break;
    off = Get32(next);
  }

  if (key_of) {
    for (uint32_t r = 1; r <= record_count; ++r) {
      if (!seen[r]) problem("record " + std::to_string(r) + ": missing from the index");
    }
  }
  return report->problems.empty() ? 0 : e4index;
}

}  // namespace engine
