#pragma once
// Changes of several files of one directory that take effect together or not
// at all (a table with its memo file and tags, a tag group, a restored set).
//
// The new version of each file is written beside it under a staged name
// ("CUST5.dbf.new~") and made durable. Commit then writes a marker listing
// the files, moves each live file aside ("CUST5.dbf.old~"), renames the new
// one in, and syncs the directory. Removing the marker is the one step that
// makes the new generation live; until then the old files are put back, by
// the change itself when a step fails, or by RecoverDirectory at the next
// open when the program stopped part way. Afterwards the moved-aside files
// are removed.

#include <string>
#include <vector>

#include "FileSystem.h"

namespace engine {

inline constexpr char kStagedSuffix[] = ".new~";
inline constexpr char kAsideSuffix[] = ".old~";
// The marker of a change in progress, in the directory it changes.
inline constexpr char kReplaceMarker[] = "pelmark.replacing";

// One file of a replacement.
struct ReplacedFile {
  std::string name;     // file name in the directory
  bool remove = false;  // the file goes away instead of getting a new version
  bool existed = true;  // a live file was there before the change
};

class Replacement {
 public:
  Replacement(FileSystem& fs, std::string directory);
  Replacement(const Replacement&) = delete;
  Replacement& operator=(const Replacement&) = delete;
  // Staged files of a change that was not committed are removed.
  ~Replacement();

  // Where the new version of the file at live_path (in this directory) is to
  // be written; the same path every time for one file. Writers write a
  // temporary file and rename it to this path when it is whole and synced.
  std::string Stage(const std::string& live_path);
  // The file at live_path is to go away with the change.
  void StageRemoval(const std::string& live_path);
  // The staged path of live_path, or empty when it has no new version here.
  std::string StagedPath(const std::string& live_path) const;
  bool Empty() const { return members_.empty(); }
  const std::string& Directory() const { return directory_; }

  // Makes every staged file live at once. Returns 0 when the new files are
  // live, else an engine error with the old files in place (put back now, or
  // at the next open when the disk lets nothing be undone). Either way the
  // replacement is empty afterwards.
  [[nodiscard]] int Commit();
  // Removes the staged files; the live ones stay as they are.
  void Abandon();

 private:
  std::string Path(const std::string& name) const;

  FileSystem& fs_;
  std::string directory_;
  std::vector<ReplacedFile> members_;
};

// What RecoverDirectory did, one file name per entry.
struct RecoveryReport {
  std::vector<std::string> restored;  // returned to the version before an unfinished change
  std::vector<std::string> removed;   // leftover copies of unfinished or finished changes
  bool Empty() const { return restored.empty() && removed.empty(); }
};

// Puts the directory back in order after a change that was cut short: the
// files of a change whose marker is still there get their old versions back,
// and staged, moved-aside and temporary copies of data files are removed.
// Returns 0, or e4write / e4rename when something could not be mended (what
// was done is reported all the same).
[[nodiscard]] int RecoverDirectory(FileSystem& fs, const std::string& directory,
                                   RecoveryReport* report);
// True when a change in the directory was cut short before it took effect.
bool ReplacementPending(FileSystem& fs, const std::string& directory);
// The names of the leftover copies RecoverDirectory would remove: staged,
// moved-aside and temporary copies of tables, memo files, tags and groups.
std::vector<std::string> LeftoverFiles(FileSystem& fs, const std::string& directory);

}  // namespace engine
