#pragma once
// Starting from the desktop's menu, where the current directory means
// nothing: the data directory used last is remembered in the user's
// settings, and `pelmark --open` changes to it, or lets the operator choose
// (or make) one in the drive and directory chooser.

#include <QString>

// The data directory of the last successful start; empty when none.
QString LastDataDirectory();
// Remembers the directory (made absolute) for the next `--open`.
void RememberDataDirectory(const QString& directory);

// Makes an empty data set in a new directory, as `pelmark-data init` does:
// an empty text on success, else why not.
QString MakeNewDataDirectory(const QString& directory);

// Changes the current directory to the data directory used last or, when
// there is none or it no longer holds the data files, to one chosen in the
// drive and directory chooser, which can also make a new data directory.
// False when the operator cancelled the chooser: the program then ends.
[[nodiscard]] bool ChangeToDataDirectory();
