#pragma once
// The data tool's work on one data directory: creating the empty table set
// with its settings row and index groups, checking tables against their
// indexes, dumping a table, and rebuilding the index groups. Each command
// returns the process exit code and reports on the given streams.

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

#include "engine/TableEngine.h"
#include "store/EngineResult.h"

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
using store::ErrorText;

// Closes a table after a failure the caller reports (null: nothing to
// close); what closing meets is cleared, not reported.
void CloseAfterError(CODE4* cb, DATA4* data);

// The data file names (tables, memo files, index groups and tags) present in
// the directory, matched without regard to case; empty when none.
std::string FirstDataFilePresent(const std::string& directory);

// Creates the nine empty tables (no index yet). The settings row is not written.
[[nodiscard]] bool CreateTables(CODE4* cb, std::string* error);
// Writes the one settings row with the defaults of an empty data set.
[[nodiscard]] bool WriteDefaultSettings(CODE4* cb, std::string* error);
// Builds every index group it can from the tables' records (existing files
// replaced); false with one line per group not rebuilt, or per table whose
// file holds records after its header's count, in *failures.
[[nodiscard]] bool BuildIndexGroups(CODE4* cb, std::ostream* progress,
                                    std::vector<std::string>* failures);
// The same, with the first failure in *error.
[[nodiscard]] bool BuildIndexGroups(CODE4* cb, std::ostream* progress, std::string* error);

// Builds a new data set with build, run on an engine instance working in a
// staging directory beside directory, and moves it into place when whole: the
// directory is then either complete or as it was before (absent, empty, or
// holding only other files). Fails, writing nothing, when directory already
// holds any data file.
using DataSetBuilder = std::function<bool(CODE4* cb, std::string* error)>;
[[nodiscard]] bool BuildNewDataSet(const std::string& directory, const DataSetBuilder& build,
                                   std::string* error);

// Creates an empty data set (tables, settings row, index groups) in a new
// directory or one without data files, through BuildNewDataSet; false with
// the reason in *error otherwise.
[[nodiscard]] bool InitDataDirectory(const std::string& directory, std::string* error);

int RunInit(const std::string& directory, std::ostream& out, std::ostream& err);
int RunCheck(const std::string& directory, std::ostream& out, std::ostream& err);
int RunDump(const std::string& directory, const std::string& table, const std::string& tag,
            std::ostream& out, std::ostream& err);
int RunReindex(const std::string& directory, std::ostream& out, std::ostream& err);
// Mends what a stop left: puts back an interrupted change of several files,
// takes in the whole records found after a table's count, and rebuilds the
// index groups.
int RunRepair(const std::string& directory, std::ostream& out, std::ostream& err);

}  // namespace tool
