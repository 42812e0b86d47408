#pragma once
// The waiting collapses of the simplifier, cheapest first: a binary heap of (cost, length, node),
// at most one entry a node, ordered by cost, then length, then node. The front can be looked at
// and given a new cost in place, which moves it once instead of taking it out and putting it back.
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
    for (std::size_t i = heap_.size() / 2; i-- > 0;) SiftDown(i, heap_[i]);
  }

  bool Empty() const { return heap_.empty(); }
  const TCollapseKey& Front() const { return heap_.front(); }

  // Whether the key comes after every entry but the front.
  bool AfterTheRest(const TCollapseKey& key) const {
    const std::size_t size = heap_.size();
    if (size < 2) return false;
    const TCollapseKey& second = size == 2 || heap_[1].Before(heap_[2]) ? heap_[1] : heap_[2];
    return second.Before(key);
  }

  void Push(const TCollapseKey& key) {
    std::size_t at = heap_.size();
    heap_.push_back(key);
    while (at > 0) {
      const std::size_t parent = (at - 1) / 2;
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
      std::size_t child = 2 * at + 1;
      if (child >= size) break;
      if (child + 1 < size && heap_[child + 1].Before(heap_[child])) ++child;
      if (!heap_[child].Before(key)) break;
      heap_[at] = heap_[child];
      at = child;
    }
    heap_[at] = key;
  }

  std::vector<TCollapseKey> heap_;
};

}  // namespace terravel
