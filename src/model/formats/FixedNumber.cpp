#include "model/formats/FixedNumber.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "model/core/Errors.h"
#include "model/text/NumberText.h"

namespace terravel {

namespace {

constexpr std::uint64_t kPowersOfTen[] = {1,           10,           100,          1000,      10000,
                                          100000,      1000000,      10000000,     100000000, 1000000000,
                                          10000000000, 100000000000, 1000000000000};

// value * 10^decimals rounded to nearest, halves to even as FormatFixed rounds,
// for a magnitude m * 2^-shift with m below 2^24: the product stays below 2^64.
std::uint64_t ScaledMagnitude(std::uint64_t m, int shift, int decimals) {
  const std::uint64_t product = m * kPowersOfTen[decimals];
  if (shift == 0) return product;
  if (shift >= 64) return shift == 64 && product > (std::uint64_t{1} << 63) ? 1 : 0;
  const std::uint64_t quotient = product >> shift;
  const std::uint64_t rest = product - (quotient << shift);
  const std::uint64_t half = std::uint64_t{1} << (shift - 1);
  const bool up = rest > half || (rest == half && (quotient & 1) != 0);
  return quotient + (up ? 1 : 0);
}

constexpr char kPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// The last `count` digits of the value, with leading zeros, ending just before `end`.
void WriteDigitsBackwards(char* end, std::uint64_t value, int count) {
  for (; count >= 2; count -= 2) {
    end -= 2;
    std::memcpy(end, kPairs + 2 * (value % 100), 2);
    value /= 100;
  }
  if (count == 1) *--end = static_cast<char>('0' + value % 10);
}

void WriteFourDigits(char* out, std::uint32_t value) {
  std::memcpy(out, kPairs + 2 * (value / 100), 2);
  std::memcpy(out + 2, kPairs + 2 * (value % 100), 2);
}

char* WriteDigits(char* out, std::uint64_t value) {
  int count = 1;
  for (std::uint64_t rest = value / 10; rest != 0; rest /= 10) ++count;
  WriteDigitsBackwards(out + count, value, count);
  return out + count;
}

// The split into integer digits and decimals divides by a constant for the common counts.
template <int kDecimals>
char* WriteScaled(char* out, std::uint64_t scaled, char separator) {
  constexpr std::uint64_t kUnit = kPowersOfTen[kDecimals];
  out = WriteDigits(out, scaled / kUnit);
  if constexpr (kDecimals == 12) {
    // Three independent groups of four digits; whole numbers (snapped to the grid) skip the work.
    *out++ = separator;
    const std::uint64_t fraction = scaled % kUnit;
    if (fraction == 0) {
      std::memcpy(out, "000000000000", 12);
    } else {
      const auto high = static_cast<std::uint32_t>(fraction / 100000000);
      const auto low = static_cast<std::uint32_t>(fraction % 100000000);
      WriteFourDigits(out, high);
      WriteFourDigits(out + 4, low / 10000);
      WriteFourDigits(out + 8, low % 10000);
    }
    out += 12;
  } else if constexpr (kDecimals > 0) {
    *out++ = separator;
    WriteDigitsBackwards(out + kDecimals, scaled % kUnit, kDecimals);
    out += kDecimals;
  }
  return out;
}

char* WriteScaled(char* out, std::uint64_t scaled, int decimals, char separator) {
  switch (decimals) {
    case 12:
      return WriteScaled<12>(out, scaled, separator);
    case 2:
      return WriteScaled<2>(out, scaled, separator);
    default: {
      const std::uint64_t unit = kPowersOfTen[decimals];
      out = WriteDigits(out, scaled / unit);
      if (decimals == 0) return out;
      *out++ = separator;
      WriteDigitsBackwards(out + decimals, scaled % unit, decimals);
      return out + decimals;
    }
  }
}

}  // namespace

char* WriteFixed(char* out, float value, int decimals, char separator) {
  Require(decimals >= 0 && decimals <= 12, modules::FormatIE, "fixed notation with more than 12 decimals");
  const std::uint32_t bits = std::bit_cast<std::uint32_t>(value);
  const int biased = static_cast<int>((bits >> 23) & 0xFF);
  // Magnitudes of 2^24 and more, infinities and NaN go the general way.
  if (biased > 150) {
    const std::string text = FormatFixed(value, decimals, separator);
    std::memcpy(out, text.data(), text.size());
    return out + text.size();
  }
  const std::uint64_t m = (bits & 0x7FFFFF) | (biased != 0 ? 0x800000u : 0u);
  const int shift = biased != 0 ? 150 - biased : 149;
  if ((bits >> 31) != 0 && m != 0) *out++ = '-';  // a rounded-away negative keeps its sign; -0 does not
  return WriteScaled(out, ScaledMagnitude(m, shift, decimals), decimals, separator);
}

}  // namespace terravel
