#pragma once
// Tag group files (.cgp): which index tags belong to a table.
//
// A tag group is a small text file. The first line is the signature
// "PELMARK-CGP 1"; each following line names one tag: the tag name, one
// blank, and the tag file name (in the table's directory), for example
//
//   PELMARK-CGP 1
//   CName cName.ntx
//   CCNO ccno.ntx
//
// Lines end with "\n" ("\r\n" is accepted). Names contain no blanks. Blank
// lines are ignored; anything else is a damaged group.

#include <string>
#include <string_view>
#include <vector>

#include "FileSystem.h"

namespace engine {

struct TagGroupEntry {
  std::string tag_name;
  std::string file_name;
};

inline constexpr const char* kTagGroupSignature = "PELMARK-CGP 1";

// Parses group text; false when it is not a well-formed group.
[[nodiscard]] bool ParseTagGroup(std::string_view text, std::vector<TagGroupEntry>* entries);
std::string FormatTagGroup(const std::vector<TagGroupEntry>& entries);

// Reads a group file. Returns 0, e4open or e4read, or e4index when damaged.
[[nodiscard]] int ReadTagGroup(FileSystem& fs, const std::string& path,
                               std::vector<TagGroupEntry>* entries);
// Writes a group file through a temporary file renamed into place.
[[nodiscard]] int WriteTagGroup(FileSystem& fs, const std::string& path,
                                const std::vector<TagGroupEntry>& entries);

}  // namespace engine
