#pragma once
// Counting what an action keeps on the heap, for the memory figures of the unbounded history.
#include <cstddef>
#include <string>
#include <vector>

namespace terravel {

// Heap bytes of a text beyond the string object (none while it fits the small-string buffer).
inline std::size_t HeapBytes(const std::string& text) {
  static const std::size_t inlineCapacity = std::string().capacity();
  return text.capacity() > inlineCapacity ? text.capacity() + 1 : 0;
}

// Heap bytes of a vector's buffer, not counting what its elements own.
template <typename Entry>
std::size_t HeapBytes(const std::vector<Entry>& entries) {
  return entries.capacity() * sizeof(Entry);
}

}  // namespace terravel
