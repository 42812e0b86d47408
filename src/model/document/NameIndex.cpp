#include "model/document/NameIndex.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdint>

#include "model/core/Errors.h"

namespace terravel {

namespace {

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether the text equals the lower-case pattern text, ASCII letter case ignored.
bool SameLower(std::string_view text, std::string_view lower) {
  if (text.size() != lower.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (LowerAscii(text[i]) != lower[i]) return false;
  }
  return true;
}

}  // namespace

bool TNameIndex::TNumberCounts::Used(int number) const {
  if (number < static_cast<int>(dense_.size())) return dense_[static_cast<std::size_t>(number)] > 0;
  return sparse_.count(number) != 0;
}

void TNameIndex::TNumberCounts::GrowDense(std::size_t index) {
  const std::size_t room = std::max(kDenseFloor, kDensePerName * (names_ + 1));
  dense_.resize(std::min(std::max(index + 1, 2 * dense_.size()), room), 0);
  if (sparse_.empty()) return;
  for (auto at = sparse_.begin(); at != sparse_.end();) {
    if (static_cast<std::size_t>(at->first) < dense_.size()) {
      dense_[static_cast<std::size_t>(at->first)] = at->second;
      at = sparse_.erase(at);
    } else {
      ++at;
    }
  }
}

// Numbers beyond the vector: grow it while they are small enough for the names counted, else use
// the map.
int TNameIndex::TNumberCounts::ChangeOutside(int number, int delta) {
  const auto index = static_cast<std::size_t>(number);
  if (delta > 0 && index < std::max(kDenseFloor, kDensePerName * (names_ + 1))) {
    GrowDense(index);
    return Change(number, delta);
  }
  const auto found = sparse_.find(number);
  const int before = found != sparse_.end() ? found->second : 0;
  const int count = before + delta > 0 ? before + delta : 0;
  names_ += static_cast<std::size_t>(count) - static_cast<std::size_t>(before);
  if (count > 0) {
    sparse_[number] = count;
    return count;
  }
  if (found != sparse_.end()) sparse_.erase(found);
  return 0;
}

void TNameIndex::TNumberCounts::Clear() {
  dense_.clear();
  sparse_.clear();
  names_ = 0;
}

TNameIndex::Pattern& TNameIndex::PatternFor(std::string_view pattern) {
  return const_cast<Pattern&>(static_cast<const TNameIndex*>(this)->PatternFor(pattern));
}

const TNameIndex::Pattern& TNameIndex::PatternFor(std::string_view pattern) const {
  if (pattern == kNodePattern) return node_;
  Require(pattern == kPolygonPattern, modules::Buffers, "unknown name pattern");
  return polygon_;
}

// Candidates are written without leading zeros, so "Node01" blocks nothing.
int TNameIndex::NumberIn(const Pattern& pattern, std::string_view name) {
  const std::size_t prefix = pattern.prefix.size(), suffix = pattern.suffix.size();
  if (name.size() <= prefix + suffix) return 0;
  if (!SameLower(name.substr(0, prefix), pattern.prefix)) return 0;
  if (!SameLower(name.substr(name.size() - suffix), pattern.suffix)) return 0;
  const std::string_view digits = name.substr(prefix, name.size() - prefix - suffix);
  if (digits.size() > 10 || digits[0] == '0') return 0;
  std::uint64_t number = 0;
  for (char c : digits) {
    const auto digit = static_cast<unsigned>(static_cast<unsigned char>(c) - '0');
    if (digit > 9) return 0;
    number = number * 10 + digit;
  }
  return number <= INT_MAX ? static_cast<int>(number) : 0;
}

void TNameIndex::Count(std::string_view name, int delta) {
  if (name.empty()) return;
  const char first = LowerAscii(name[0]);
  for (Pattern* pattern : {&node_, &polygon_}) {
    if (!pattern->prefix.empty() && pattern->prefix[0] != first) continue;  // the quick refusal
    const int number = NumberIn(*pattern, name);
    if (number == 0) continue;
    if (pattern->used.Change(number, delta) == 0 && number < pattern->firstFree) pattern->firstFree = number;
  }
}

void TNameIndex::Add(std::string_view name) {
  Count(name, +1);
}

void TNameIndex::Remove(std::string_view name) {
  Count(name, -1);
}

void TNameIndex::Clear() {
  for (Pattern* pattern : {&node_, &polygon_}) {
    pattern->used.Clear();
    pattern->firstFree = 1;
  }
}

std::string TNameIndex::UniqueName(std::string_view patternText) const {
  const Pattern& pattern = PatternFor(patternText);
  while (pattern.used.Used(pattern.firstFree)) ++pattern.firstFree;
  const auto at = patternText.find("%d");
  // Composed in one string: a name is made for every polygon a bulk edit adds.
  char digits[16];
  const auto written = std::to_chars(digits, digits + sizeof digits, pattern.firstFree).ptr;
  std::string name;
  name.reserve(patternText.size() - 2 + static_cast<std::size_t>(written - digits));
  name.append(patternText.substr(0, at)).append(digits, written).append(patternText.substr(at + 2));
  return name;
}

}  // namespace terravel
