#pragma once
// How field values are stored as text: numbers right aligned with a fixed
// number of decimals ('*'-filled when too wide), logicals, blank padding.

#include <cstdint>
#include <string_view>

namespace engine {

// Writes value into out[0..length) right aligned with exactly decimals
// decimals, rounded half away from zero; all '*' when it does not fit.
void FormatNumber(double value, int length, int decimals, char* out);
// The same for a whole number (exact for every 64-bit value).
void FormatInteger(int64_t value, int length, int decimals, char* out);
// Parses stored number text, with a point whatever the process locale;
// blanks, '*' fill and other text read as 0.
double ParseNumber(std::string_view text);
// Copies text into out[0..length), cut or blank padded.
void AssignText(std::string_view text, int length, char* out);
// The logical values dBASE readers take as true.
inline bool IsTrueLogical(char c) { return c == 'T' || c == 't' || c == 'Y' || c == 'y'; }

}  // namespace engine
