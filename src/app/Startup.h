#pragma once
// Opening and closing the data directory around a run of the program: the
// check that the data files are here, the engine instance, the quiet rebuild
// of missing index files and the settings; at the end, pending deletions
// packed and the engine ended.

inline constexpr char kDataFilesMissingMessage[] =
    "Database files not found in startup directory\r\n"
    "Program must be started from the directory containing the data files.";

// False when the program must end: the data files are missing (the
// operator is told, nothing is created) or the engine failed. In both cases
// the platform has been asked to terminate. A directory opened is remembered
// for the next start from the desktop's menu.
[[nodiscard]] bool OpenDataDirectory();
// Packs the tables when deletions are pending and ends the engine instance.
void CloseDataDirectory();
