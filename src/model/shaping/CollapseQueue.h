#pragma once
// The waiting collapses of the simplifier, cheapest first: a heap of (cost, length, node) with four
// children a place (half as deep as a binary one, the children side by side), at most one entry a
// node, ordered by cost, then length, then node. The front can be looked at
// and given a new cost in place, which moves it once instead of taking it out and putting it back.
#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

namespace terravel {

struct TCollapseKey {
  double Cost = 0;
  double Length = 0;  // squared, in X and Y
  int Node = 0;
  bool Before(const TCollapseKey& other) const {
    if (Cost != other.Cost) return Cost < other.Cost;
    if (Length != other.Length) return Length < other.Length;
    return Node < other.Node;
  }
};

class TCollapseQueue {
 public:
  // The keys in any order.
  void Assign(std::vector<TCollapseKey> keys) {
    heap_ = std::move(keys);
    for (std::size_t i = heap_.size() / kWays + 1; i-- > 0;) {
      if (i < heap_.size()) SiftDown(i, heap_[i]);
    }
  }

  bool Empty() const { return heap_.empty(); }
  const TCollapseKey& Front() const { return heap_.front(); }

  // Whether the key comes after every entry but the front.
  bool AfterTheRest(const TCollapseKey& key) const {
    const std::size_t size = heap_.size();
    if (size < 2) return false;
    return heap_[Least(1, size)].Before(key);
  }

  void Push(const TCollapseKey& key) {
    std::size_t at = heap_.size();
    heap_.push_back(key);
    while (at > 0) {
      const std::size_t parent = (at - 1) / kWays;
      if (!key.Before(heap_[parent])) break;
      heap_[at] = heap_[parent];
      at = parent;
    }
    heap_[at] = key;
  }

  void PopFront() {
    const TCollapseKey last = heap_.back();
    heap_.pop_back();
    if (!heap_.empty()) SiftDown(0, last);
  }

  // The front takes the key (of the same node) and goes where it now belongs.
  void ReplaceFront(const TCollapseKey& key) { SiftDown(0, key); }

 private:
  void SiftDown(std::size_t at, const TCollapseKey key) {
    const std::size_t size = heap_.size();
    for (;;) {
      const std::size_t first = kWays * at + 1;
      if (first >= size) break;
      const std::size_t child = Least(first, size);
      if (!heap_[child].Before(key)) break;
      heap_[at] = heap_[child];
      at = child;
    }
    heap_[at] = key;
  }

  static constexpr std::size_t kWays = 4;

  // The least of the children that start at first.
  std::size_t Least(std::size_t first, std::size_t size) const {
    const std::size_t end = std::min(first + kWays, size);
    std::size_t least = first;
    for (std::size_t i = first + 1; i < end; ++i) {
      if (heap_[i].Before(heap_[least])) least = i;
    }
    return least;
  }

  std::vector<TCollapseKey> heap_;
};

}  // namespace terravel
