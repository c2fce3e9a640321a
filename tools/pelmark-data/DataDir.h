#pragma once
// The data tool's work on one data directory: creating the empty table set
// with its settings row and index groups, checking tables against their
// indexes, dumping a table, and rebuilding the index groups. Each command
// returns the process exit code and reports on the given streams.

#include <iosfwd>
#include <string>

#include "engine/TableEngine.h"

namespace tool {

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // refused, problems found, or the work failed
inline constexpr int kExitUsage = 2;

// An engine instance working on one directory, ended on destruction.
class DirectoryEngine {
 public:
  explicit DirectoryEngine(const std::string& directory);
  ~DirectoryEngine();
  DirectoryEngine(const DirectoryEngine&) = delete;
  DirectoryEngine& operator=(const DirectoryEngine&) = delete;
  CODE4* get() const { return cb_; }
  // Takes the pending error (0 when none) and clears it.
  int TakeError();

 private:
  CODE4* cb_;
};

// A readable name for an engine error code.
std::string ErrorText(int code);

// The data file names (tables, memo files, index groups and tags) present in
// the directory, matched without regard to case; empty when none.
std::string FirstDataFilePresent(const std::string& directory);

// Creates the nine empty tables (no index yet). The settings row is not written.
[[nodiscard]] bool CreateTables(CODE4* cb, std::string* error);
// Writes the one settings row with the defaults of an empty data set.
[[nodiscard]] bool WriteDefaultSettings(CODE4* cb, std::string* error);
// Builds every index group from the tables' records (existing files replaced).
[[nodiscard]] bool BuildIndexGroups(CODE4* cb, std::ostream* progress, std::string* error);

// Creates directory when needed; fails when it already holds any data file.
[[nodiscard]] bool PrepareNewDirectory(const std::string& directory, std::string* error);

// Creates an empty data set (tables, settings row, index groups) in a new or
// empty directory; false with the reason in *error otherwise.
[[nodiscard]] bool InitDataDirectory(const std::string& directory, std::string* error);

int RunInit(const std::string& directory, std::ostream& out, std::ostream& err);
int RunCheck(const std::string& directory, std::ostream& out, std::ostream& err);
int RunDump(const std::string& directory, const std::string& table, const std::string& tag,
            std::ostream& out, std::ostream& err);
int RunReindex(const std::string& directory, std::ostream& out, std::ostream& err);

}  // namespace tool
