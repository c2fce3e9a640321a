#pragma once
// File maintenance: rebuilding the index files, packing the tables, backing
// the data files up to and restoring them from another directory or a chain
// of removable disks, and erasing the business data. Works on the data files
// in the current directory through the program-wide engine instance, and
// copies through the same file system the engine writes through.

#include <QString>
#include <array>
#include <functional>

namespace engine {
class FileSystem;
}
struct CODE4;

// The backup set, in the order it is copied. The settings table and the
// index files are not part of it; indexes are rebuilt after a restore.
inline constexpr int kBackupFileCount = 11;
inline constexpr std::array<const char*, kBackupFileCount> kBackupSet = {
    "CUST5.dbf",  "CUST5.dbt",  "GROUPS.dbf", "INV5.dbf",  "INV5.dbt", "ITM5.dbf",
    "LABELS.dbf", "GSTPMT.dbf", "Pur5.dbf",   "Prod5.dbf", "Prod5.dbt"};
// The progress value set before each file of the backup set is copied.
inline constexpr std::array<int, kBackupFileCount> kCopyProgress = {10, 20, 30, 35, 45, 55,
                                                                    70, 75, 85, 95, 100};
// A copy is tried at most this often (each retry follows the operator's OK),
// so a disk that never takes the file, or a disk that never turns up, ends
// the command instead of asking forever.
inline constexpr int kMaxCopyAttempts = 8;
// Backup copies are written under this name and renamed into place when whole.
inline constexpr const char* kBackupTempSuffix = ".backup-part";

enum class CopyDirection { kToBackup, kFromBackup };

// Set by TDriveDir: the directory chosen, empty when the chooser was cancelled.
extern QString ChosenDirectory;
// Set by the caller before showing TDriveDir: its caption and its OK button's.
extern QString DriveDirCaption;
extern QString DriveDirOkCaption;
// When set, TDriveDir also offers to make a new data directory in the one it
// shows: called with the new directory's path, it makes the empty tables
// there and returns an empty text, or why it could not.
extern std::function<QString(const QString& directory)> DriveDirNewDataSet;

// Rebuilds index groups. Quiet: only the groups with a missing file, no
// progress display. Otherwise every group, with progress.
void Reindex(bool quiet);
// Packs every table and clears the pack-pending flag when all were packed.
// False when a table could not be packed (its files stay as they were).
bool PackAll();
// Packs one table (and its memo file when asked) in one change; a table that
// cannot be opened is passed over. False when the table was not packed, and
// then its files are as they were.
bool PackTable(const char* name, bool compress_memo);
// Copies the backup set to or from the directory. A restore gathers every
// file beside the live ones first and replaces them only when all have
// arrived, all at once (the old files stay when that fails). The progress
// display is left for the caller to clear.
[[nodiscard]] bool CopyDataFiles(CopyDirection direction, const QString& directory);
// Copies one file of the set to or from the directory, replacing the old copy
// only once the new one is whole.
[[nodiscard]] bool CopyOneFile(CopyDirection direction, const QString& directory,
                               const QString& file_name);
// Asks, then removes every record of the business tables, all of them or
// none (the operator is told when none); the label stock and the settings
// remain.
void EraseAllData();
// The Backup and Restore commands: choose a directory, refuse the data
// directory itself, copy, report failure.
void BtnBackupClick();
void BtnRestoreClick();

// Puts the data directory back in order after a change of several files that
// was cut short: the files of an unfinished change get their old versions
// back, leftover copies are removed. Returns what was done in words for the
// status bar, empty when there was nothing to do; *ok is false when
// something could not be mended.
QString RecoverDataFiles(bool* ok = nullptr);

// Takes into each table of the data set in the engine instance's directory
// the whole, well-formed records its file holds after the header's count (a
// stop between writing records and the header leaves them), restoring the
// count from the file. A table whose extra records are not all whole and
// well formed is left as it is. One line per table taken in or left; the
// tables' index groups are not updated (rebuild them afterwards).
QStringList TakeInUncountedRecords(CODE4* code_base);

// After a run that did not end cleanly: takes into each table the records
// written after its header's count, then checks every index group against its
// table and rebuilds those that disagree or cannot be opened, with progress.
// Returns one line per repair for the operator, empty when all was sound.
QStringList RepairDataFiles();

// Whether two directory texts name the same directory (trimmed; a trailing
// separator, "." and "..", and links do not make a difference).
bool SameDirectory(const QString& a, const QString& b);

// Removable media stand in for diskette drives. The default decides by the
// mount point of the directory's volume (under /media or /run/media); tests
// install their own answer. Null restores the default.
using RemovableTest = std::function<bool(const QString& directory)>;
void SetRemovableTest(RemovableTest test);
bool OnRemovableMedia(const QString& directory);

// The file system the data files are written through: given to the engine
// instance (when there is one) and used for every copy. Null restores the
// real disk. Call again after a new engine instance is started.
void UseFileSystem(engine::FileSystem* file_system);
engine::FileSystem& DataFileSystem();
