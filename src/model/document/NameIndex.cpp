#include "model/document/NameIndex.h"

#include <climits>

#include "model/core/Errors.h"
#include "model/text/NumberText.h"

namespace terravel {

TNameIndex::Pattern& TNameIndex::PatternFor(std::string_view pattern) {
  return const_cast<Pattern&>(static_cast<const TNameIndex*>(this)->PatternFor(pattern));
}

const TNameIndex::Pattern& TNameIndex::PatternFor(std::string_view pattern) const {
  if (pattern == kNodePattern) return node_;
  Require(pattern == kPolygonPattern, modules::Buffers, "unknown name pattern");
  return polygon_;
}

// The number a name stands for in the pattern ("node12" -> 12), or 0 when the name is no
// candidate of it. Candidates are written without leading zeros, so "Node01" blocks nothing.
int TNameIndex::NumberIn(const Pattern& pattern, std::string_view lowerName) {
  if (lowerName.size() <= pattern.prefix.size() + pattern.suffix.size()) return 0;
  if (lowerName.substr(0, pattern.prefix.size()) != pattern.prefix) return 0;
  if (lowerName.substr(lowerName.size() - pattern.suffix.size()) != pattern.suffix) return 0;
  const auto digits =
      lowerName.substr(pattern.prefix.size(), lowerName.size() - pattern.prefix.size() - pattern.suffix.size());
  if (digits.empty() || digits.size() > 10 || digits[0] == '0') return 0;
  long long number = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return 0;
    number = number * 10 + (c - '0');
  }
  return number <= INT_MAX ? static_cast<int>(number) : 0;
}

void TNameIndex::Count(std::string_view name, int delta) {
  const std::string lower = ToLowerAscii(name);
  for (Pattern* pattern : {&node_, &polygon_}) {
    const int number = NumberIn(*pattern, lower);
    if (number == 0) continue;
    int& count = pattern->used[number];
    count += delta;
    if (count <= 0) {
      pattern->used.erase(number);
      if (number < pattern->firstFree) pattern->firstFree = number;
    }
  }
}

void TNameIndex::Add(std::string_view name) { Count(name, +1); }

void TNameIndex::Remove(std::string_view name) { Count(name, -1); }

void TNameIndex::Clear() {
  for (Pattern* pattern : {&node_, &polygon_}) {
    pattern->used.clear();
    pattern->firstFree = 1;
  }
}

std::string TNameIndex::UniqueName(std::string_view patternText) const {
  const Pattern& pattern = PatternFor(patternText);
  while (pattern.used.count(pattern.firstFree) != 0) ++pattern.firstFree;
  const auto at = patternText.find("%d");
  return std::string(patternText.substr(0, at)) + std::to_string(pattern.firstFree) +
         std::string(patternText.substr(at + 2));
}

}  // namespace terravel
