#pragma once
// Finding the node at a position among many, for imports that share nodes by position.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "model/document/CoordList.h"

namespace terravel {

// Finds the first node of the list at exactly a position, in constant time: the index of every
// node that was first at its position, kept up to date as the import appends nodes. Positions
// compare as single-precision numbers (so 0 and -0 are one position, and NaN matches nothing).
// An open-addressing table with linear probing, at most half full.
class TNodeLookup {
 public:
  explicit TNodeLookup(const TCoordList& nodes) {
    Grow(2 * static_cast<std::size_t>(nodes.Count()) + 2048);
    for (int i = 0; i < nodes.Count(); ++i) Remember(nodes[i].X, nodes[i].Y, nodes[i].Z, i);
  }

  int Find(float x, float y, float z) const {
    if (std::isnan(x) || std::isnan(y) || std::isnan(z)) return -1;
    return slots_[SlotOf(KeyOf(x, y, z))].index;
  }

  // Keeps the index unless an earlier node stands at the same position.
  void Remember(float x, float y, float z, int index) {
    if (std::isnan(x) || std::isnan(y) || std::isnan(z)) return;
    if (2 * (used_ + 1) > slots_.size()) Grow(2 * slots_.size());
    const TKey key = KeyOf(x, y, z);
    TSlot& slot = slots_[SlotOf(key)];
    if (slot.index >= 0) return;
    slot = {key, index};
    ++used_;
  }

 private:
  struct TKey {
    std::uint32_t x, y, z;
    bool operator==(const TKey&) const = default;
  };
  struct TSlot {
    TKey key{};
    int index = -1;  // -1: free
  };

  static std::uint32_t BitsOf(float value) {
    value += 0.0f;  // -0 becomes +0
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
  }
  static TKey KeyOf(float x, float y, float z) { return {BitsOf(x), BitsOf(y), BitsOf(z)}; }

  static std::uint64_t HashOf(const TKey& key) {
    std::uint64_t h = (std::uint64_t(key.x) << 32 | key.y) * 0x9E3779B97F4A7C15ull;
    h ^= (h >> 29) + key.z * 0xBF58476D1CE4E5B9ull;
    h *= 0x94D049BB133111EBull;
    return h ^ (h >> 31);
  }

  // The slot that holds the key, or the free slot where it belongs.
  std::size_t SlotOf(const TKey& key) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = static_cast<std::size_t>(HashOf(key)) & mask;
    while (slots_[at].index >= 0 && !(slots_[at].key == key)) at = (at + 1) & mask;
    return at;
  }

  void Grow(std::size_t wanted) {
    std::size_t size = 1;
    while (size < wanted) size *= 2;
    std::vector<TSlot> old = std::move(slots_);
    slots_.assign(size, TSlot());
    for (const TSlot& slot : old)
      if (slot.index >= 0) slots_[SlotOf(slot.key)] = slot;
  }

  std::vector<TSlot> slots_;
  std::size_t used_ = 0;
};

}  // namespace terravel
