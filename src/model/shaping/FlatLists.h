#pragma once
// Many short lists of values, one per owner, kept in one pool: a list that outgrows its room
// moves to room at least twice its own, left behind by another list where there is some (kept by
// size, in powers of two), otherwise at the end of the pool; the pool is packed again when more
// than half of it is left behind. Order within a list is not kept by
// RemoveAt. Where a list starts, how long it is and its room lie side by side, so that finding a
// list reads one place.
#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <span>
#include <utility>
#include <vector>

namespace terravel {

template <typename T>
class TFlatLists {
 public:
  // Room for rooms[i] values in list i to start with, and for about as many again taken by lists
  // that grow before the pool is moved (memory taken only where used).
  void Reset(const std::vector<int>& rooms, std::size_t growth = 0) {
    const std::size_t count = rooms.size();
    lists_.assign(count, {});
    std::size_t total = 0;
    for (std::size_t i = 0; i < count; ++i) {
      lists_[i].Start = total;
      lists_[i].Room = rooms[i];
      total += static_cast<std::size_t>(rooms[i]);
    }
    pool_.clear();
    pool_.reserve(total + std::max(total, growth));
    pool_.resize(total);
    unused_ = 0;
    for (auto& blocks : free_) blocks.clear();
  }

  std::span<const T> Of(int owner) const {
    const TList& list = lists_[static_cast<std::size_t>(owner)];
    return {pool_.data() + list.Start, static_cast<std::size_t>(list.Size)};
  }
  int Size(int owner) const { return lists_[static_cast<std::size_t>(owner)].Size; }
  T& At(int owner, int index) {
    return pool_[lists_[static_cast<std::size_t>(owner)].Start + static_cast<std::size_t>(index)];
  }

  // Asks the processor to fetch where a list lies, or its first values, ahead of their use.
  void FetchPlace(int owner) const { __builtin_prefetch(&lists_[static_cast<std::size_t>(owner)]); }
  void FetchValues(int owner) const {
    __builtin_prefetch(pool_.data() + lists_[static_cast<std::size_t>(owner)].Start);
  }

  // Spans taken before a Push may be left dangling.
  void Push(int owner, const T& value) {
    TList* list = &lists_[static_cast<std::size_t>(owner)];
    if (list->Size == list->Room) list = &Grow(static_cast<std::size_t>(owner));
    pool_[list->Start + static_cast<std::size_t>(list->Size++)] = value;
  }

  // The value at index in the list goes; the last one takes its place.
  void RemoveAt(int owner, int index) {
    TList& list = lists_[static_cast<std::size_t>(owner)];
    T* first = pool_.data() + list.Start;
    first[index] = first[list.Size - 1];
    --list.Size;
  }

  // The list is emptied and keeps its room.
  void Empty(int owner) { lists_[static_cast<std::size_t>(owner)].Size = 0; }

  void Clear(int owner) {
    TList& list = lists_[static_cast<std::size_t>(owner)];
    Leave(list.Start, list.Room);
    list.Size = list.Room = 0;
  }

 private:
  struct TList {
    std::size_t Start = 0;
    int Size = 0;
    int Room = 0;
  };

  // A block of room left behind; one of at least 2^k values lies in free_[k].
  struct TBlock {
    std::size_t Start = 0;
    int Room = 0;
  };

  void Leave(std::size_t start, int room) {
    if (room <= 0) return;
    unused_ += static_cast<std::size_t>(room);
    free_[static_cast<std::size_t>(std::bit_width(static_cast<unsigned>(room)) - 1)].push_back({start, room});
  }

  TList& Grow(std::size_t at) {
    if (unused_ > pool_.size() / 2 && pool_.size() > 4096) Pack();
    TList& list = lists_[at];
    const int wanted = std::max(4, 2 * list.Room);
    // The last block left of wanted's own power of two where it is large enough, otherwise one of
    // the next (each at least wanted).
    const auto fits = static_cast<std::size_t>(std::bit_width(static_cast<unsigned>(wanted)) - 1);
    auto* blocks = &free_[fits];
    if (blocks->empty() || blocks->back().Room < wanted) blocks = &free_[fits + 1];
    TBlock block{pool_.size(), wanted};
    if (!blocks->empty()) {
      block = blocks->back();
      blocks->pop_back();
      unused_ -= static_cast<std::size_t>(block.Room);
    } else {
      pool_.resize(block.Start + static_cast<std::size_t>(wanted));
    }
    std::copy_n(pool_.begin() + static_cast<std::ptrdiff_t>(list.Start), list.Size,
                pool_.begin() + static_cast<std::ptrdiff_t>(block.Start));
    Leave(list.Start, list.Room);
    list.Start = block.Start;
    list.Room = block.Room;
    return list;
  }

  void Pack() {
    std::vector<T> packed;
    packed.reserve(pool_.capacity());  // the lists grow on
    for (TList& list : lists_) {
      const std::size_t start = packed.size();
      packed.insert(packed.end(), pool_.begin() + static_cast<std::ptrdiff_t>(list.Start),
                    pool_.begin() + static_cast<std::ptrdiff_t>(list.Start) + list.Room);
      list.Start = start;
    }
    pool_ = std::move(packed);
    unused_ = 0;
    for (auto& blocks : free_) blocks.clear();
  }

  std::vector<T> pool_;
  std::vector<TList> lists_;
  std::size_t unused_ = 0;  // room left behind by moved and cleared lists
  std::array<std::vector<TBlock>, 32> free_;
};

}  // namespace terravel
