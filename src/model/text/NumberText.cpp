#include "model/text/NumberText.h"

#include <atomic>
#include <charconv>
#include <cmath>
#include <locale>
#include <system_error>

namespace terravel {

namespace {

char InitialSeparator() { return SystemDecimalSeparator(); }

std::atomic<char>& SeparatorSlot() {
  static std::atomic<char> slot{InitialSeparator()};
  return slot;
}

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

char DecimalSeparator() { return SeparatorSlot().load(std::memory_order_relaxed); }

void SetDecimalSeparator(char separator) { SeparatorSlot().store(separator, std::memory_order_relaxed); }

char SystemDecimalSeparator() {
  try {
    const std::locale system("");
    const char c = std::use_facet<std::numpunct<char>>(system).decimal_point();
    return c != '\0' ? c : '.';
  } catch (const std::exception&) {
    return '.';  // an unknown locale name in the environment
  }
}

std::string FormatFixed(double value, int decimals, char separator) {
  if (value == 0) value = 0;  // folds -0 into +0
  char buffer[400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  std::string text(buffer, result.ptr);
  if (separator != '.') {
    const auto dot = text.find('.');
    if (dot != std::string::npos) text[dot] = separator;
  }
  return text;
}

std::string FormatGeneral(double value) {
  if (value == 0) return "0";
  if (!std::isfinite(value)) return std::isnan(value) ? "NAN" : (value > 0 ? "INF" : "-INF");
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 4);
  const std::string sci(buffer, result.ptr);  // [-]d.dddde[+-]xx
  const bool negative = sci[0] == '-';
  const std::size_t start = negative ? 1 : 0;
  const std::size_t ePos = sci.find('e');
  std::string digits;
  for (std::size_t i = start; i < ePos; ++i)
    if (sci[i] != '.') digits += sci[i];
  const int exponent = std::stoi(sci.substr(ePos + 1));
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();

  const char separator = DecimalSeparator();
  std::string text = negative ? "-" : "";
  if (exponent >= -4 && exponent <= 4) {
    if (exponent >= 0) {
      const std::size_t intDigits = static_cast<std::size_t>(exponent) + 1;
      if (digits.size() <= intDigits) {
        text += digits;
        text.append(intDigits - digits.size(), '0');
      } else {
        text.append(digits, 0, intDigits);
        text += separator;
        text.append(digits, intDigits, std::string::npos);
      }
    } else {
      text += "0";
      text += separator;
      text.append(static_cast<std::size_t>(-exponent - 1), '0');
      text += digits;
    }
  } else {
    text += digits[0];
    if (digits.size() > 1) {
      text += separator;
      text.append(digits, 1, std::string::npos);
    }
    text += 'E';
    text += std::to_string(exponent);
  }
  return text;
}

std::string SignPrefix(double value) { return value >= 0 ? "+" : ""; }

std::string FormatHex(std::uint32_t value, int minDigits) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string text;
  do {
    text.insert(text.begin(), kDigits[value & 0xF]);
    value >>= 4;
  } while (value != 0);
  if (static_cast<int>(text.size()) < minDigits) text.insert(0, minDigits - text.size(), '0');
  return text;
}

bool TryParseNumber(std::string_view text, double& value, char separator) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && text[begin] == ' ') ++begin;
  while (end > begin && text[end - 1] == ' ') --end;
  std::string clean;
  std::size_t i = begin;
  if (i < end && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') clean += '-';
    ++i;
  }
  std::size_t mantissaDigits = 0;
  while (i < end && text[i] >= '0' && text[i] <= '9') clean += text[i++], ++mantissaDigits;
  if (i < end && text[i] == separator) {
    clean += '.';
    ++i;
    while (i < end && text[i] >= '0' && text[i] <= '9') clean += text[i++], ++mantissaDigits;
  }
  if (mantissaDigits == 0) return false;
  if (i < end && (text[i] == 'e' || text[i] == 'E')) {
    clean += 'e';
    ++i;
    if (i < end && (text[i] == '+' || text[i] == '-')) clean += text[i++];
    std::size_t expDigits = 0;
    while (i < end && text[i] >= '0' && text[i] <= '9') clean += text[i++], ++expDigits;
    if (expDigits == 0) return false;
  }
  if (i != end) return false;
  double parsed = 0;
  const auto result = std::from_chars(clean.data(), clean.data() + clean.size(), parsed);
  if (result.ec == std::errc::result_out_of_range) {
    // Underflow reads as zero; overflow is no number.
    const auto ePos = clean.find('e');
    if (ePos != std::string::npos && clean.find('-', ePos) != std::string::npos) {
      value = 0;
      return true;
    }
    return false;
  }
  if (result.ec != std::errc() || result.ptr != clean.data() + clean.size() || !std::isfinite(parsed)) return false;
  value = parsed;
  return true;
}

std::string ToLowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = LowerAscii(c);
  return lower;
}

bool SameTextIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

}  // namespace terravel
