#include "NtxBuild.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "TableEngine.h"

namespace engine::ntx {

void FillHeader(uint8_t* page, const Layout& l, std::string_view expression, uint32_t root,
                uint32_t free_head, uint16_t changes) {
  std::memset(page, 0, kPageSize);
  Put16(page + 0, kSignature);
  Put16(page + 2, changes);
  Put32(page + 4, root);
  Put32(page + 8, free_head);
  Put16(page + 12, static_cast<uint16_t>(l.item_size));
  Put16(page + 14, static_cast<uint16_t>(l.key_length));
  Put16(page + 16, 0);
  Put16(page + 18, static_cast<uint16_t>(l.max_keys));
  Put16(page + 20, static_cast<uint16_t>(l.half));
  size_t n = std::min(expression.size(), static_cast<size_t>(kExpressionSize - 1));
  std::memcpy(page + kExpressionOffset, expression.data(), n);
}

int PagesFor(uint64_t count, const Layout& l) {
  if (count <= static_cast<uint64_t>(l.max_keys)) return 1;
  return static_cast<int>((count + 1 + l.max_keys) / (l.max_keys + 1));
}

int KeysOnPage(uint64_t count, int pages, int i, const Layout& l) {
  if (pages == 1) return static_cast<int>(count);
  int64_t keys = static_cast<int64_t>(count) - (pages - 1);
  int64_t rest = keys - static_cast<int64_t>(pages - 1) * l.max_keys;
  if (rest >= l.half) return i == pages - 1 ? static_cast<int>(rest) : l.max_keys;
  int64_t shared = l.max_keys + rest;
  if (i < pages - 2) return l.max_keys;
  if (i == pages - 2) return static_cast<int>(shared - shared / 2);
  return static_cast<int>(shared / 2);
}

namespace {

// LSD radix sort of n records of `words` 64-bit words on their first
// `bytes` bytes, given the byte histograms of every position (count[b * 256 +
// v]); positions where every record agrees are skipped.
template <int W>
void Scatter(const uint64_t* src, uint64_t* dst, size_t n, int words, int byte, uint64_t* pos) {
  const int w = W > 0 ? W : words;
  const size_t word = static_cast<size_t>(byte) / 8;
  const int shift = (byte % 8) * 8;
  for (size_t r = 0; r < n; ++r) {
    const uint64_t* s = src + r * w;
    uint64_t* d = dst + pos[(s[word] >> shift) & 0xff]++ * w;
    for (int k = 0; k < w; ++k) d[k] = s[k];
  }
}

void RadixSort(std::vector<uint64_t>* a, size_t n, int words, int bytes,
               const std::vector<uint64_t>& count) {
  std::vector<uint64_t> tmp;
  uint64_t pos[256];
  for (int b = bytes - 1; b >= 0; --b) {
    const uint64_t* c = &count[static_cast<size_t>(b) * 256];
    if (std::any_of(c, c + 256, [n](uint64_t v) { return v == n; })) continue;
    if (tmp.empty()) tmp.resize(n * static_cast<size_t>(words));
    uint64_t sum = 0;
    for (int v = 0; v < 256; ++v) {
      pos[v] = sum;
      sum += c[v];
    }
    switch (words) {
      case 1:
        Scatter<1>(a->data(), tmp.data(), n, words, b, pos);
        break;
      case 2:
        Scatter<2>(a->data(), tmp.data(), n, words, b, pos);
        break;
      case 3:
        Scatter<3>(a->data(), tmp.data(), n, words, b, pos);
        break;
      case 4:
        Scatter<4>(a->data(), tmp.data(), n, words, b, pos);
        break;
      default:
        Scatter<0>(a->data(), tmp.data(), n, words, b, pos);
        break;
    }
    a->swap(tmp);
  }
}

// Collects pages into large sequential writes.
class PageWriter {
 public:
  explicit PageWriter(File* file) : file_(file), buffer_(kBatch * kPageSize) {}
  uint8_t* Next() {
    uint8_t* p = &buffer_[used_ * kPageSize];
    std::memset(p, 0, kPageSize);
    ++used_;
    return p;
  }
  [[nodiscard]] int FlushIfFull() { return used_ == kBatch ? Flush() : 0; }
  [[nodiscard]] int Flush() {
    if (used_ == 0) return 0;
    if (file_->WriteAt(offset_, buffer_.data(), used_ * kPageSize) != 0) return e4write;
    offset_ += used_ * kPageSize;
    used_ = 0;
    return 0;
  }

 private:
  static constexpr size_t kBatch = 256;
  File* file_;
  std::vector<uint8_t> buffer_;
  size_t used_ = 0;
  uint64_t offset_ = 0;
};

}  // namespace

int SortKeys(KeyList* entries) {
  const size_t n = entries->Size();
  const int rec_bytes = entries->SortBytes();
  const int words = entries->StrideWords();
  const size_t stride = static_cast<size_t>(words) * 8;
  const uint8_t* raw = entries->Entry(0);
  bool in_order = true;
  for (size_t r = 1; r < n && in_order; ++r) {
    in_order = std::memcmp(raw + (r - 1) * stride, raw + r * stride, rec_bytes) < 0;
  }
  if (in_order) return 0;
  std::vector<uint64_t> count(static_cast<size_t>(rec_bytes) * 256, 0);
  // Input in record-number order (the usual case: a table read front to
  // back) needs no sorting on the record bytes, the sort being stable.
  bool records_rising = true;
  uint32_t last = 0;
  for (size_t r = 0; r < n; ++r) {
    const uint8_t* rec = raw + r * stride;
    for (int b = 0; b < rec_bytes; ++b) ++count[static_cast<size_t>(b) * 256 + rec[b]];
    uint32_t record = entries->Record(r);
    if (r > 0 && record <= last) records_rising = false;
    last = record;
  }
  RadixSort(&entries->Words(), n, words, records_rising ? entries->KeyLength() : rec_bytes, count);
  raw = entries->Entry(0);
  for (size_t r = 1; r < n; ++r) {
    if (std::memcmp(raw + (r - 1) * stride, raw + r * stride, rec_bytes) == 0) return e4parm;
  }
  return 0;
}

int WriteIndexFile(File* file, const Layout& l, std::string_view expression, KeyList* entries) {
  if (entries->KeyLength() != l.key_length) return e4parm;
  if (int rc = SortKeys(entries); rc != 0) return rc;
  const size_t n = entries->Size();
  const size_t stride = static_cast<size_t>(entries->StrideWords()) * 8;
  const uint8_t* raw = n == 0 ? nullptr : entries->Entry(0);
  auto put_item = [&](uint8_t* page, int slot, uint32_t child, size_t entry) {
    uint8_t* item = page + l.first_slot + slot * l.item_size;
    Put32(item, child);
    if (entry == SIZE_MAX) return;
    const uint8_t* rec = raw + entry * stride;
    uint32_t be;
    std::memcpy(&be, rec + l.key_length, 4);
    Put32(item + 4, __builtin_bswap32(be));
    std::memcpy(item + 8, rec, l.key_length);
  };

  // Page counts per level, leaves first, to know every offset in advance.
  std::vector<int> level_pages;
  {
    uint64_t items = n;
    for (;;) {
      int pages = PagesFor(items, l);
      level_pages.push_back(pages);
      if (pages == 1) break;
      items = static_cast<uint64_t>(pages - 1);
    }
  }
  uint64_t total_pages = 0;
  for (int p : level_pages) total_pages += p;
  if ((total_pages + 1) * kPageSize > UINT32_MAX) return e4write;
  const uint32_t root = static_cast<uint32_t>(total_pages * kPageSize);

  PageWriter out(file);
  FillHeader(out.Next(), l, expression, root, 0, 1);

  // items: the entries of the level being written (sorted record indexes);
  // children: the page offsets of the level below (none for leaves).
  std::vector<size_t> items;
  std::vector<uint32_t> children;
  std::vector<size_t> up;
  std::vector<uint32_t> up_children;
  uint32_t next_offset = kPageSize;
  for (size_t level = 0; level < level_pages.size(); ++level) {
    const bool leaf = level == 0;
    const uint64_t count = leaf ? n : items.size();
    const int pages = level_pages[level];
    up.clear();
    up_children.clear();
    size_t at = 0;     // next item
    size_t child = 0;  // next child
    for (int p = 0; p < pages; ++p) {
      int keys = KeysOnPage(count, pages, p, l);
      uint8_t* page = out.Next();
      Put16(page, static_cast<uint16_t>(keys));
      FillOffsetTable(page, l);
      for (int k = 0; k < keys; ++k, ++at) {
        put_item(page, k, leaf ? 0 : children[child++], leaf ? at : items[at]);
      }
      put_item(page, keys, leaf ? 0 : children[child++], SIZE_MAX);
      up_children.push_back(next_offset);
      next_offset += kPageSize;
      if (p + 1 < pages) {
        up.push_back(leaf ? at : items[at]);
        ++at;
      }
      if (int rc = out.FlushIfFull(); rc != 0) return rc;
    }
    items.swap(up);
    children.swap(up_children);
  }
  int rc = out.Flush();
  entries->Release();
  return rc;
}

}  // namespace engine::ntx
