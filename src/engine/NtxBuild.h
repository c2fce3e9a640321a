#pragma once
// Bulk building of an .ntx file: the entries, packed in a KeyList (key bytes,
// then the record number big-endian, so byte order is (key, record) order),
// are radix sorted and the pages written bottom-up in one sequential pass:
// full leaves, then each branch level, the root last.

#include <cstdint>
#include <string_view>
#include <vector>

#include "FileSystem.h"
#include "Ntx.h"
#include "NtxPage.h"

namespace engine::ntx {

// Fills a header page for the layout.
void FillHeader(uint8_t* page, const Layout& l, std::string_view expression, uint32_t root,
                uint32_t free_head, uint16_t changes);

// Sorts the list into (key, record) order. Returns 0, or e4parm when a
// (key, record) pair is there twice.
[[nodiscard]] int SortKeys(KeyList* entries);

// Writes a whole index file holding entries (consumed: sorted, then
// released) to file, which is empty. Returns 0, e4write, or e4parm for a key
// of the wrong length or a (key, record) pair given twice.
[[nodiscard]] int WriteIndexFile(File* file, const Layout& l, std::string_view expression,
                                 KeyList* entries);

// How count items of one tree level are split into pages holding at most
// max keys, one item between two neighbouring pages moving up a level:
// PagesFor gives the page count, KeysOnPage the keys of page i. Every page is
// full except the last two, which share the rest so neither has fewer than
// half.
int PagesFor(uint64_t count, const Layout& l);
int KeysOnPage(uint64_t count, int pages, int i, const Layout& l);

}  // namespace engine::ntx
