#include "model/actions/SelectionSnapshot.h"

#include "model/core/Errors.h"

namespace terravel {

namespace {

constexpr std::size_t kWordBits = 64;

}  // namespace

template <typename List>
void TSelectionSnapshot::TakeFrom(const List& list) {
  Release();
  size_ = list.Count();
  for (const auto& record : list) count_ += record.Selected ? 1 : 0;
  // An index costs 32 bits, the bitmap one bit per record.
  dense_ = static_cast<std::size_t>(count_) * 32 > static_cast<std::size_t>(size_);
  if (dense_) {
    bits_.assign((static_cast<std::size_t>(size_) + kWordBits - 1) / kWordBits, 0);
  } else {
    indices_.reserve(static_cast<std::size_t>(count_));
  }
  std::size_t index = 0;
  for (const auto& record : list) {
    if (record.Selected) {
      if (dense_) {
        bits_[index / kWordBits] |= std::uint64_t{1} << (index % kWordBits);
      } else {
        indices_.push_back(static_cast<std::int32_t>(index));
      }
    }
    ++index;
  }
}

template <typename List>
int TSelectionSnapshot::RestoreTo(List& list) const {
  Require(list.Count() == size_, modules::Actions, "selection record does not match the list");
  std::size_t index = 0, next = 0;
  for (auto& record : list) {
    if (dense_) {
      record.Selected = (bits_[index / kWordBits] >> (index % kWordBits) & 1) != 0;
    } else {
      record.Selected = next < indices_.size() && indices_[next] == static_cast<std::int32_t>(index);
      if (record.Selected) ++next;
    }
    ++index;
  }
  return count_;
}

void TSelectionSnapshot::Take(const TCoordList& nodes) {
  TakeFrom(nodes);
}
void TSelectionSnapshot::Take(const TPolyList& polygons) {
  TakeFrom(polygons);
}
int TSelectionSnapshot::Restore(TCoordList& nodes) const {
  return RestoreTo(nodes);
}
int TSelectionSnapshot::Restore(TPolyList& polygons) const {
  return RestoreTo(polygons);
}

void TSelectionSnapshot::Release() {
  size_ = 0;
  count_ = 0;
  dense_ = false;
  std::vector<std::int32_t>().swap(indices_);
  std::vector<std::uint64_t>().swap(bits_);
}

std::size_t TSelectionSnapshot::CapturedBytes() const {
  return indices_.capacity() * sizeof(std::int32_t) + bits_.capacity() * sizeof(std::uint64_t);
}

}  // namespace terravel
