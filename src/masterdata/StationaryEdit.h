#pragma once
// The stationery settings without their window: the letterhead texts, the
// logo file with its printed size, the top margin and the justification as
// the window shows them, the logo file choice, and the save that writes the
// whole settings record back to PLM1.

#include <QString>

namespace masterdata {

inline constexpr int kHelpStationary = 610;
// The stored logo path holds at most this many characters.
inline constexpr int kLogoPathWidth = 35;

// The filter of the logo file dialog: bitmaps, and the other pictures the
// printing reads.
inline constexpr char kLogoFilter[] =
    "Bitmap Files (*.BMP)|*.BMP|Picture Files (*.BMP;*.PNG;*.JPG;*.JPEG)|*.BMP;*.PNG;*.JPG;*.JPEG";

// The window's fields: the measures as their field texts ("%5.2f").
struct StationeryForm {
  QString logo_file;
  QString top_margin;
  QString logo_height;
  QString logo_width;
  QString company;
  QString addr1;
  QString addr2;
  QString addr3;
  QString addr4;
  QString closing;
  QString signature;
  int justify = 1;  // 1 left, 2 centre, 3 right
};

// The settings as the window opens on them: the logo path as stored, the
// other texts trimmed, any justification but 2 and 3 as left.
StationeryForm OpenStationery();

// The "Logo File" button: the file dialog, then what the path box shows.
// The file chosen (or, when the dialog is cancelled, the stored logo path)
// when it names an existing file, else nothing. A file inside the data
// directory is shown by its name relative to it. A path too long to be
// stored is refused with a message and the box keeps `shown`. The current
// directory is the same afterwards.
QString ChooseLogoFile(const QString& shown);

// Save: false (nothing changed) when a measure is not a number or the logo
// path is too long to be stored (both reported); otherwise
// the settings record takes the window's values (a logo path that names no
// existing file becomes empty) and is written whole into PLM1.
[[nodiscard]] bool SaveStationery(const StationeryForm& form);

// "Stationery": shows the stationery window.
void RunStationeryCommand();

}  // namespace masterdata
