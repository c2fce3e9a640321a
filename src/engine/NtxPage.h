#pragma once
// Byte layout of .ntx pages: the header page fields, the geometry derived from
// the key length, the validation of a page read from disk, and the item-slot
// moves the B-tree is built from. A page read into the cache is put in
// canonical form (offset table i -> first slot + i * item size), so slots are
// addressed directly and slot runs can be moved with memmove.

#include <bit>
#include <cstdint>
#include <cstring>

namespace engine::ntx {

static_assert(std::endian::native == std::endian::little,
              "the page code assumes a little-endian host");

inline constexpr int kPageSize = 1024;
inline constexpr int kMaxKeyLength = 250;
inline constexpr int kExpressionOffset = 22;
inline constexpr int kExpressionSize = 256;
inline constexpr int kSignature = 6;
inline constexpr int kUniqueOffset = 278;
inline constexpr int kDescendingOffset = 280;
// Deeper paths than this only come from damaged files.
inline constexpr int kMaxDepth = 40;

inline uint16_t Get16(const uint8_t* p) {
  uint16_t v;
  std::memcpy(&v, p, 2);
  return v;
}
inline uint32_t Get32(const uint8_t* p) {
  uint32_t v;
  std::memcpy(&v, p, 4);
  return v;
}
inline void Put16(uint8_t* p, uint16_t v) { std::memcpy(p, &v, 2); }
inline void Put32(uint8_t* p, uint32_t v) { std::memcpy(p, &v, 4); }

// The maximum keys per page this engine writes for a key length.
inline int MaxKeysFor(int key_length) {
  int m = 1020 / (key_length + 10) - 1;
  return m & ~1;
}

struct Layout {
  int key_length = 0;
  int item_size = 0;
  int max_keys = 0;
  int half = 0;
  int first_slot = 0;  // offset of the first item slot, after the offset table

  static Layout For(int key_length, int max_keys) {
    Layout l;
    l.key_length = key_length;
    l.item_size = key_length + 8;
    l.max_keys = max_keys;
    l.half = max_keys / 2;
    l.first_slot = 2 + 2 * (max_keys + 1);
    return l;
  }
  // True when max_keys + 1 slots and their offset table fit a page.
  bool Fits() const {
    return max_keys >= 2 && first_slot + (max_keys + 1) * item_size <= kPageSize;
  }
};

// Read access to a validated page. Pages in the cache are in canonical form
// and are addressed directly; a page straight from the file (the checker's)
// is read through its offset table.
class PageView {
 public:
  PageView(const uint8_t* data, const Layout& l, bool follow_table = false)
      : d_(data), l_(&l), follow_(follow_table) {}
  int Count() const { return Get16(d_); }
  const uint8_t* Item(int i) const {
    return follow_ ? d_ + Get16(d_ + 2 + 2 * i) : d_ + l_->first_slot + i * l_->item_size;
  }
  uint32_t Child(int i) const { return Get32(Item(i)); }
  uint32_t Record(int i) const { return Get32(Item(i) + 4); }
  const uint8_t* Key(int i) const { return Item(i) + 8; }
  bool IsLeaf() const { return Child(0) == 0; }

 private:
  const uint8_t* d_;
  const Layout* l_;
  bool follow_;
};

// Returns null when the page can be read safely: its key count is within the
// maximum and the offsets of slots 0..n lie inside the page, past the table.
// Otherwise a short reason.
inline const char* ValidatePage(const uint8_t* d, const Layout& l, int* bad_count = nullptr) {
  int n = Get16(d);
  if (n > l.max_keys) {
    if (bad_count) *bad_count = n;
    return "key count above the maximum";
  }
  for (int i = 0; i <= n; ++i) {
    int off = Get16(d + 2 + 2 * i);
    if (off < l.first_slot) return "offset table entry overlapping the table";
    if (off + l.item_size > kPageSize) return "offset table entry pointing outside the page";
  }
  return nullptr;
}

inline bool IsCanonical(const uint8_t* d, const Layout& l) {
  for (int i = 0; i <= l.max_keys; ++i) {
    if (Get16(d + 2 + 2 * i) != l.first_slot + i * l.item_size) return false;
  }
  return true;
}

inline void FillOffsetTable(uint8_t* d, const Layout& l) {
  for (int i = 0; i <= l.max_keys; ++i) {
    Put16(d + 2 + 2 * i, static_cast<uint16_t>(l.first_slot + i * l.item_size));
  }
}

// Rewrites a validated page so its slots 0..n lie in order from first_slot.
// scratch holds at least kPageSize bytes.
inline void Canonicalize(uint8_t* d, const Layout& l, uint8_t* scratch) {
  if (IsCanonical(d, l)) return;
  int n = Get16(d);
  for (int i = 0; i <= n; ++i) {
    std::memcpy(scratch + i * l.item_size, d + Get16(d + 2 + 2 * i), l.item_size);
  }
  FillOffsetTable(d, l);
  std::memcpy(d + l.first_slot, scratch, static_cast<size_t>(n + 1) * l.item_size);
}

// Contiguous slot runs (a canonical page's slots, or a scratch area for a split).
class Slots {
 public:
  Slots(uint8_t* base, int item_size) : b_(base), s_(item_size) {}
  uint8_t* Item(int i) const { return b_ + static_cast<ptrdiff_t>(i) * s_; }
  uint32_t Child(int i) const { return Get32(Item(i)); }
  void SetChild(int i, uint32_t c) const { Put32(Item(i), c); }
  // Copies record and key of src into slot i, keeping slot i's child.
  void SetEntry(int i, const uint8_t* src_item) const {
    std::memcpy(Item(i) + 4, src_item + 4, static_cast<size_t>(s_ - 4));
  }
  void SetEntry(int i, uint32_t record, const uint8_t* key) const {
    Put32(Item(i) + 4, record);
    std::memcpy(Item(i) + 8, key, static_cast<size_t>(s_ - 8));
  }
  // With n keys (slots 0..n): inserts key i between children left and right
  // (left becomes child i, right child i + 1). Needs room for slot n + 1.
  void Insert(int n, int i, uint32_t left, uint32_t record, const uint8_t* key,
              uint32_t right) const {
    std::memmove(Item(i + 1), Item(i), static_cast<size_t>(n + 1 - i) * s_);
    SetChild(i, left);
    SetEntry(i, record, key);
    SetChild(i + 1, right);
  }
  // Removes key i and child i (slots i + 1..n move down one).
  void RemoveLeft(int n, int i) const {
    std::memmove(Item(i), Item(i + 1), static_cast<size_t>(n - i) * s_);
  }
  // Removes key i and child i + 1.
  void RemoveRight(int n, int i) const {
    uint32_t c = Child(i);
    RemoveLeft(n, i);
    SetChild(i, c);
  }

 private:
  uint8_t* b_;
  int s_;
};

}  // namespace engine::ntx
