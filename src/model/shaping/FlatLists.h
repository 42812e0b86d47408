#pragma once
// Many short lists of whole numbers, one per owner, kept in one pool: a list that outgrows its room
// moves to the end of the pool with twice the room, and the pool is packed again when more than
// half of it is left behind. Order within a list is not kept by Remove.
#include <algorithm>
#include <cstddef>
#include <span>
#include <utility>
#include <vector>

namespace terravel {

class TFlatLists {
 public:
  // Room for rooms[i] values in list i to start with.
  void Reset(const std::vector<int>& rooms) {
    const std::size_t count = rooms.size();
    start_.resize(count);
    size_.assign(count, 0);
    room_ = rooms;
    std::size_t total = 0;
    for (std::size_t i = 0; i < count; ++i) {
      start_[i] = total;
      total += static_cast<std::size_t>(rooms[i]);
    }
    pool_.assign(total, 0);
    unused_ = 0;
  }

  std::span<const int> Of(int owner) const {
    const auto at = static_cast<std::size_t>(owner);
    return {pool_.data() + start_[at], static_cast<std::size_t>(size_[at])};
  }
  int Size(int owner) const { return size_[static_cast<std::size_t>(owner)]; }

  // Spans taken before a Push may be left dangling.
  void Push(int owner, int value) {
    const auto at = static_cast<std::size_t>(owner);
    if (size_[at] == room_[at]) Grow(at);
    pool_[start_[at] + static_cast<std::size_t>(size_[at]++)] = value;
  }

  // The value must be in the list; the last one takes its place.
  void Remove(int owner, int value) {
    const auto at = static_cast<std::size_t>(owner);
    int* first = pool_.data() + start_[at];
    int* last = first + size_[at] - 1;
    *std::find(first, last, value) = *last;
    --size_[at];
  }

  void Clear(int owner) {
    const auto at = static_cast<std::size_t>(owner);
    unused_ += static_cast<std::size_t>(room_[at]);
    size_[at] = room_[at] = 0;
  }

 private:
  void Grow(std::size_t at) {
    if (unused_ > pool_.size() / 2 && pool_.size() > 4096) Pack();
    const int room = std::max(4, 2 * room_[at]);
    const std::size_t start = pool_.size();
    pool_.resize(start + static_cast<std::size_t>(room));
    std::copy_n(pool_.begin() + static_cast<std::ptrdiff_t>(start_[at]), size_[at],
                pool_.begin() + static_cast<std::ptrdiff_t>(start));
    unused_ += static_cast<std::size_t>(room_[at]);
    start_[at] = start;
    room_[at] = room;
  }

  void Pack() {
    std::vector<int> packed;
    packed.reserve(pool_.size() - unused_);
    for (std::size_t i = 0; i < start_.size(); ++i) {
      const std::size_t start = packed.size();
      packed.insert(packed.end(), pool_.begin() + static_cast<std::ptrdiff_t>(start_[i]),
                    pool_.begin() + static_cast<std::ptrdiff_t>(start_[i]) + room_[i]);
      start_[i] = start;
    }
    pool_ = std::move(packed);
    unused_ = 0;
  }

  std::vector<int> pool_;
  std::vector<std::size_t> start_;
  std::vector<int> size_, room_;
  std::size_t unused_ = 0;  // room left behind by moved and cleared lists
};

}  // namespace terravel
