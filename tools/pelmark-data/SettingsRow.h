#pragma once
// The one row of the settings table as the data tool writes it: field values
// given as text by field name (numbers in C notation, logicals "T" or "F").

#include <string>
#include <utility>
#include <vector>

#include "engine/TableEngine.h"

namespace tool {

using SettingsValues = std::vector<std::pair<std::string, std::string>>;

// The settings of an empty data set: computed lines "Computed 1" and
// "Computed 2" at 0 %, no tax on tax, normal rounding, GST/VAT on line 2,
// customers by name, first in first out, letterhead on the left.
SettingsValues DefaultSettings();

// Appends the settings row to the (empty) settings table; fields not named
// stay blank.
[[nodiscard]] bool WriteSettingsRow(CODE4* cb, const SettingsValues& values, std::string* error);

}  // namespace tool
