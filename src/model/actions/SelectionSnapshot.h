#pragma once
// Which records of a list were selected, by index. A sparse selection keeps its ascending
// indices, a dense one a bit per record: whichever takes less memory.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/document/CoordList.h"

namespace terravel {

class TSelectionSnapshot {
 public:
  // Records the Selected flag of every record, discarding an earlier record.
  void Take(const TCoordList& nodes);
  void Take(const TPolyList& polygons);
  // Sets every record's Selected flag from the record through the list, which announces its count.
  // The list must have the length it had when the record was taken (internal error otherwise).
  void Restore(TCoordList& nodes) const;
  void Restore(TPolyList& polygons) const;
  // Deselects every record of the list, which must be unchanged since the record was taken: when
  // few were selected, only those are visited.
  void Clear(TCoordList& nodes) const;
  void Clear(TPolyList& polygons) const;
  // Forgets the record and gives its memory back.
  void Release();

  bool Empty() const { return size_ == 0; }
  int Size() const { return size_; }            // records in the list when taken
  int SelectedCount() const { return count_; }  // records that were selected
  std::size_t CapturedBytes() const;
  // The selected indices, ascending, when few were selected (empty with Dense()).
  bool Dense() const { return dense_; }
  const std::vector<std::int32_t>& Indices() const { return indices_; }

 private:
  template <typename List>
  void TakeFrom(const List& list);
  template <typename List>
  void RestoreTo(List& list) const;
  template <typename List>
  void ClearFrom(List& list) const;

  int size_ = 0;
  int count_ = 0;
  bool dense_ = false;
  std::vector<std::int32_t> indices_;  // sparse: the selected indices, ascending
  std::vector<std::uint64_t> bits_;    // dense: bit i set when record i was selected
};

}  // namespace terravel
