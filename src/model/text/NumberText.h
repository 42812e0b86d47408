#pragma once
// Every number text of the program is made here: the general 5-digit format of descriptions and
// edit boxes, fixed notation for the exchange formats and readouts, hexadecimal colours, and
// parsing of numbers that users type. All of them honour one process-wide decimal separator.
#include <cstdint>
#include <string>
#include <string_view>

namespace terravel {

// The user's decimal separator. Starts as the system locale's; tests may set ",".
char DecimalSeparator();
void SetDecimalSeparator(char separator);
// The separator of the system locale (the environment's LC_NUMERIC / LANG).
char SystemDecimalSeparator();

// General format with 5 significant digits: fixed without trailing zeros while the integer part
// has at most 5 digits and the magnitude is at least 0.0001, scientific otherwise (1.2346E5, 1E-6).
std::string FormatGeneral(double value);

// Fixed notation with the given number of decimals and the given separator, without grouping.
// The exact binary value is rounded to nearest. Negative zero is written as zero.
std::string FormatFixed(double value, int decimals, char separator);
inline std::string FormatFixed(double value, int decimals) {
  return FormatFixed(value, decimals, DecimalSeparator());
}

// "+" for values >= 0, the empty text for negative values and for NaN.
std::string SignPrefix(double value);

// Upper-case hexadecimal of the 32-bit pattern, at least minDigits digits.
std::string FormatHex(std::uint32_t value, int minDigits);

// Reads a decimal number as a user types it with the user's separator: leading and trailing
// spaces, a sign and an exponent are allowed. False for anything else and for overflow.
bool TryParseNumber(std::string_view text, double& value, char separator);
inline bool TryParseNumber(std::string_view text, double& value) {
  return TryParseNumber(text, value, DecimalSeparator());
}

// ASCII letter case folding ("ignoring letter case" throughout the program).
std::string ToLowerAscii(std::string_view text);
bool SameTextIgnoringCase(std::string_view a, std::string_view b);

}  // namespace terravel
