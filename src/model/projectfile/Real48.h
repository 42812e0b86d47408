#pragma once
// The 6-byte real of the project file: byte 0 is the exponent with a bias of 129 (0 means the
// value 0), bytes 1 to 5 a 39-bit fraction, least significant byte first, and bit 7 of byte 5 the
// sign. The value is (-1)^s * (1 + f / 2^39) * 2^(e - 129).
#include <array>
#include <cstdint>

namespace terravel {

using TReal48 = std::array<std::uint8_t, 6>;

// Exact for 0 and for every magnitude from 2^-128 up to (not including) 2^127. Anything else gets
// the nearest value the format can hold: magnitudes of 2^127 or more (and infinities) the largest
// one with their sign, non-zero magnitudes below 2^-128 zero. NaN becomes zero as well.
TReal48 FloatToReal48(float value);

// Rounded to the nearest float, halves to even. The format's largest magnitude lies below 2^127,
// so the result is always finite.
float Real48ToFloat(const TReal48& bytes);

}  // namespace terravel
