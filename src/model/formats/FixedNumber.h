#pragma once
// Fixed-notation number texts for the exchange writers, which format millions of coordinates:
// the same text as FormatFixed, made without allocating.
#include <cstddef>

namespace terravel {

// Room that WriteFixed needs at most (sign, 39 integer digits, separator, 12 decimals).
inline constexpr std::size_t kFixedTextRoom = 64;

// Writes the value with 0 to 12 decimals (more is an internal error) and the given separator at
// out and returns the end. The text equals FormatFixed(value, decimals, separator): the exact
// value rounded to nearest, halves to even.
char* WriteFixed(char* out, float value, int decimals, char separator);

// The SignPrefix rule ("+" for values >= 0) followed by WriteFixed.
inline char* WriteSignedFixed(char* out, float value, int decimals, char separator) {
  if (value >= 0) *out++ = '+';
  return WriteFixed(out, value, decimals, separator);
}

}  // namespace terravel
