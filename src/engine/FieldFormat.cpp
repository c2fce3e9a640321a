// Number and text formatting of field values.

#include "FieldFormat.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

namespace engine {
namespace {

void Stars(int length, char* out) { std::memset(out, '*', static_cast<size_t>(length)); }

// Digits of magnitude with decimals decimals, sign in front.
void PlaceScaled(bool negative, uint64_t magnitude, int length, int decimals, char* out) {
  std::string digits = std::to_string(magnitude);
  if (decimals > 0) {
    if (digits.size() < static_cast<size_t>(decimals) + 1) {
      digits.insert(0, static_cast<size_t>(decimals) + 1 - digits.size(), '0');
    }
    digits.insert(digits.size() - static_cast<size_t>(decimals), 1, '.');
  }
  if (negative && magnitude != 0) digits.insert(0, 1, '-');
  if (digits.size() > static_cast<size_t>(length)) {
    Stars(length, out);
    return;
  }
  size_t pad = static_cast<size_t>(length) - digits.size();
  std::memset(out, ' ', pad);
  std::memcpy(out + pad, digits.data(), digits.size());
}

}  // namespace

void FormatNumber(double value, int length, int decimals, char* out) {
  if (length <= 0) return;
  if (!std::isfinite(value) || decimals < 0 || decimals > 18) {
    Stars(length, out);
    return;
  }
  double scaled = value * std::pow(10.0, decimals);
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

double ParseNumber(std::string_view text) {
  char buffer[64];
  size_t n = 0;
  for (char c : text) {
    if (c == ' ') continue;
    if (n + 1 >= sizeof buffer) break;
    buffer[n++] = c;
  }
  buffer[n] = '\0';
  if (n == 0) return 0;
  char* end = nullptr;
  double value = std::strtod(buffer, &end);
  if (end == buffer || !std::isfinite(value)) return 0;
  return value;
}

void AssignText(std::string_view text, int length, char* out) {
  size_t take = std::min(text.size(), static_cast<size_t>(length));
  std::memcpy(out, text.data(), take);
  std::memset(out + take, ' ', static_cast<size_t>(length) - take);
}

}  // namespace engine
