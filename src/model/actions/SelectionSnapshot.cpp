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
  // The list keeps its count, so that a selection of none or all is known without looking.
  count_ = list.SelectedCount();
  // An index costs 32 bits, the bitmap one bit per record.
  dense_ = static_cast<std::size_t>(count_) * 32 > static_cast<std::size_t>(size_);
  if (!dense_) {
    // A few selected records are found from the front on: the search stops at the last one.
    indices_.reserve(static_cast<std::size_t>(count_));
    for (int index = 0; index < size_ && static_cast<int>(indices_.size()) < count_; ++index) {
      if (list[index].Selected) indices_.push_back(index);
    }
    return;
  }
  const std::size_t words = (static_cast<std::size_t>(size_) + kWordBits - 1) / kWordBits;
  if (count_ == size_) {
    bits_.assign(words, ~std::uint64_t{0});
    return;
  }
  bits_.assign(words, 0);
  std::size_t index = 0;
  for (const auto& record : list) {
    if (record.Selected) bits_[index / kWordBits] |= std::uint64_t{1} << (index % kWordBits);
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
  // With nothing selected now (the undo of a deselection), only the recorded ones change.
  if (list.SelectedCount() == 0) {
    for (const std::int32_t index : indices_) list.SetSelected(index, true);
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

template <typename List>
void TSelectionSnapshot::ClearFrom(List& list) const {
  Require(list.Count() == size_, modules::Actions, "selection record does not match the list");
  if (dense_ || list.SelectedCount() != count_) {
    list.SetAllSelected(false);
    return;
  }
  // Unchanged since taken: the recorded ones are all there is to clear.
  for (const std::int32_t index : indices_) list.SetSelected(index, false);
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

void TSelectionSnapshot::Clear(TCoordList& nodes) const {
  ClearFrom(nodes);
}
void TSelectionSnapshot::Clear(TPolyList& polygons) const {
  ClearFrom(polygons);
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
