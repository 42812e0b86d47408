#include "model/projectfile/Real48.h"

#include <bit>
#include <cfloat>
#include <cmath>

namespace terravel {

namespace {

constexpr int kBias = 129;
constexpr int kFractionBits = 39;
constexpr std::uint64_t kFractionMask = (std::uint64_t{1} << kFractionBits) - 1;

TReal48 Pack(int exponent, std::uint64_t fraction, bool negative) {
  TReal48 bytes{};
  bytes[0] = static_cast<std::uint8_t>(exponent);
  for (int i = 1; i <= 5; ++i) {
    bytes[i] = static_cast<std::uint8_t>(fraction & 0xFF);
    fraction >>= 8;
  }
  if (negative) bytes[5] |= 0x80;
  return bytes;
}

}  // namespace

TReal48 FloatToReal48(float value) {
  const std::uint32_t bits = std::bit_cast<std::uint32_t>(value);
  const bool negative = (bits >> 31) != 0;
  const int biased = static_cast<int>((bits >> 23) & 0xFF);
  std::uint32_t mantissa = bits & 0x7FFFFF;

  if (biased == 0xFF && mantissa != 0) return TReal48{};          // NaN
  if (biased == 0xFF) return Pack(255, kFractionMask, negative);  // infinity
  if (biased == 0 && mantissa == 0) return TReal48{};             // zero, either sign

  int exponent;  // unbiased: the value is 1.fraction * 2^exponent
  if (biased == 0) {
    // Subnormal: mantissa * 2^-149. Move the leading one into the hidden bit.
    const int lead = std::bit_width(mantissa) - 1;
    exponent = lead - 149;
    mantissa = (mantissa << (23 - lead)) & 0x7FFFFF;
  } else {
    exponent = biased - 127;
  }
  if (exponent + kBias < 1) return TReal48{};                             // below 2^-128
  if (exponent + kBias > 255) return Pack(255, kFractionMask, negative);  // 2^127 or more
  return Pack(exponent + kBias, std::uint64_t{mantissa} << (kFractionBits - 23), negative);
}

float Real48ToFloat(const TReal48& bytes) {
  if (bytes[0] == 0) return 0.0f;
  std::uint64_t fraction = bytes[5] & 0x7F;
  for (int i = 4; i >= 1; --i) fraction = (fraction << 8) | bytes[i];
  // 40 significant bits and an exponent from -128 to 126: exact in a double, so the conversion to
  // float below is the only rounding.
  const double magnitude = std::ldexp(1.0 + std::ldexp(static_cast<double>(fraction), -kFractionBits),
                                      static_cast<int>(bytes[0]) - kBias);
  float result = magnitude > FLT_MAX ? FLT_MAX : static_cast<float>(magnitude);
  return (bytes[5] & 0x80) != 0 ? -result : result;
}

}  // namespace terravel
