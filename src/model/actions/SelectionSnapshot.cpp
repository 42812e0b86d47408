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
void TSelectionSnapshot::RestoreTo(List& list) const {
  Require(list.Count() == size_, modules::Actions, "selection record does not match the list");
  if (dense_) {
    list.AssignSelected([this](int index, const auto&) {
      const auto at = static_cast<std::size_t>(index);
      return (bits_[at / kWordBits] >> (at % kWordBits) & 1) != 0;
    });
    return;
  }
  // The list asks in ascending order, so the indices are walked once.
  std::size_t next = 0;
  list.AssignSelected([this, &next](int index, const auto&) {
    const bool selected = next < indices_.size() && indices_[next] == index;
    if (selected) ++next;
    return selected;
  });
}

void TSelectionSnapshot::Take(const TCoordList& nodes) {
  TakeFrom(nodes);
}
void TSelectionSnapshot::Take(const TPolyList& polygons) {
  TakeFrom(polygons);
}
void TSelectionSnapshot::Restore(TCoordList& nodes) const {
  RestoreTo(nodes);
}
void TSelectionSnapshot::Restore(TPolyList& polygons) const {
  RestoreTo(polygons);
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
