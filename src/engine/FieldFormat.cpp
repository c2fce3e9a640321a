// Number and text formatting of field values.

#include "FieldFormat.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

namespace engine {
namespace {

void Stars(int length, char* out) { std::memset(out, '*', static_cast<size_t>(length)); }

// Digits of magnitude with decimals decimals, sign in front, right aligned
// in length characters; all '*' when it does not fit.
void PlaceScaled(bool negative, uint64_t magnitude, int length, int decimals, char* out) {
  char text[48];  // 20 digits, 18 decimals' leading zeros, point and sign
  int at = sizeof text;
  int placed = 0;
  do {
    if (decimals > 0 && placed == decimals) text[--at] = '.';
    text[--at] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
    ++placed;
  } while (magnitude != 0 || placed <= decimals);
  bool zero = true;
  for (int i = at; i < static_cast<int>(sizeof text); ++i)
    zero = zero && (text[i] == '0' || text[i] == '.');
  if (negative && !zero) text[--at] = '-';
  const int size = static_cast<int>(sizeof text) - at;
  if (size > length) {
    Stars(length, out);
    return;
  }
  std::memset(out, ' ', static_cast<size_t>(length - size));
  std::memcpy(out + (length - size), text + at, static_cast<size_t>(size));
}

constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8, 1e9,
                                   1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18};

}  // namespace

void FormatNumber(double value, int length, int decimals, char* out) {
  if (length <= 0) return;
  if (!std::isfinite(value) || decimals < 0 || decimals > 18) {
    Stars(length, out);
    return;
  }
  double scaled = value * kPowersOfTen[decimals];
  // A value like 2.675 is 2.67499999... in binary; nudge by a few units of
  // the last place so halves round away from zero as written.
  double nudged = scaled + std::copysign(std::fabs(scaled) * 4 * DBL_EPSILON, scaled);
  double rounded = std::round(nudged);
  if (std::fabs(rounded) >= 1.8e19) {
    Stars(length, out);
    return;
  }
  PlaceScaled(rounded < 0, static_cast<uint64_t>(std::fabs(rounded)), length, decimals, out);
}

void FormatInteger(int64_t value, int length, int decimals, char* out) {
  if (length <= 0) return;
  bool negative = value < 0;
  uint64_t magnitude =
      negative ? uint64_t{0} - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  if (decimals < 0 || decimals > 18) {
    Stars(length, out);
    return;
  }
  uint64_t scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  if (magnitude > UINT64_MAX / scale) {
    Stars(length, out);
    return;
  }
  PlaceScaled(negative, magnitude * scale, length, decimals, out);
}

namespace {

// Stored numbers are blanks, an optional minus, digits and a point. When the
// digits fit 53 bits the value is their integer over a power of ten: both are
// exact doubles, so the division rounds correctly, as from_chars does, and
// from_chars is needed only for other text.
bool ParsePlainDecimal(std::string_view text, double* value) {
  static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  size_t i = 0;
  const size_t n = text.size();
  while (i < n && text[i] == ' ') ++i;
  const bool negative = i < n && text[i] == '-';
  if (negative) ++i;
  uint64_t digits = 0;
  int count = 0;
  int decimals = -1;  // digits after the point; -1 before it
  for (; i < n; ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      if (++count > 15) return false;
      digits = digits * 10 + static_cast<uint64_t>(c - '0');
      if (decimals >= 0) ++decimals;
    } else if (c == '.' && decimals < 0) {
      decimals = 0;
    } else {
      break;
    }
  }
  while (i < n && text[i] == ' ') ++i;
  if (i != n || count == 0) return false;
  const double magnitude = static_cast<double>(digits) / kPowers[decimals > 0 ? decimals : 0];
  *value = negative ? -magnitude : magnitude;
  return true;
}

}  // namespace

double ParseNumber(std::string_view text) {
  double plain = 0;
  if (ParsePlainDecimal(text, &plain)) return plain;
  char buffer[64];
  size_t n = 0;
  for (char c : text) {
    if (c == ' ') continue;
    if (n + 1 >= sizeof buffer) break;
    buffer[n++] = c;
  }
  buffer[n] = '\0';
  if (n == 0) return 0;
  // from_chars reads the point whatever the process locale, as the files
  // are written; it takes no '+', which dBASE writers may put in front.
  const char* first = buffer[0] == '+' ? buffer + 1 : buffer;
  double value = 0;
  const std::from_chars_result read = std::from_chars(first, buffer + n, value);
  if (read.ec != std::errc() || !std::isfinite(value)) return 0;
  return value;
}

void AssignText(std::string_view text, int length, char* out) {
  size_t take = std::min(text.size(), static_cast<size_t>(length));
  std::memcpy(out, text.data(), take);
  std::memset(out + take, ' ', static_cast<size_t>(length) - take);
}

}  // namespace engine
