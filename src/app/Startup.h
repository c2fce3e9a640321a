#pragma once
// Opening and closing the data directory around a run of the program: the
// check that the data files are here, the directory's lock (one program per
// data directory), the engine instance, putting back what a stopped run left
// (an unfinished change of several files; after a run that did not end
// cleanly, records past a table's count and indexes that disagree with their
// tables), the quiet rebuild of missing index files and the settings; at the
// end, pending deletions packed, the engine ended and the run marked clean.

#include <QString>

inline constexpr char kDataFilesMissingMessage[] =
    "Database files not found in startup directory\r\n"
    "Program must be started from the directory containing the data files.";
inline constexpr char kDataFilesInUseMessage[] =
    "The data files are in use by another copy of the program.\r\n"
    "Program will now terminate.";
// Written when a run starts and removed when it ends cleanly: found at a
// start, it says the last run stopped abnormally.
inline constexpr char kRunMarkerFile[] = "pelmark.running";
inline constexpr char kRepairedHeading[] =
    "The program did not end normally last time. "
    "The data files were checked and repaired:";
inline constexpr char kCheckedSoundText[] =
    "The program did not end normally last time; the data files were checked and are sound.";

// False when the program must end: the data files are missing (the operator
// is told, nothing is created), another copy of the program holds them, or
// the engine failed. In each case the platform has been asked to terminate.
// A directory opened is remembered for the next start from the desktop's menu.
[[nodiscard]] bool OpenDataDirectory();
// Packs the tables when deletions are pending, ends the engine instance,
// marks the run clean when everything was written, and lets the directory go.
void CloseDataDirectory();
