#pragma once
// A shaping command's worked-out TMeshEdit applied as a whole, inside the command's transaction,
// which gives the step its description ("Smooth 300 nodes", "Subdivide 80 polygons", "Simplify
// 5,000 polygons"). Undo puts back every record as it was: heights, corners, removed polygons and
// nodes with their names, groups and flags; so does an error halfway through applying it.
#include <array>
#include <cstdint>
#include <vector>

#include "model/document/Records.h"
#include "model/history/Action.h"
#include "model/shaping/MeshEdit.h"

namespace terravel {

class TMeshEditAction : public TAction {
 public:
  // Performed only inside a transaction.
  TMeshEditAction(TEditor& editor, TMeshEdit edit);

  std::size_t CapturedBytes() const override;

  // Lists change with the records; the properties window follows the selection that is left.
  void Changes(TChangeSet& changes) const override;

 protected:
  bool DoExecute() override;
  void DoUndo() override;

 private:
  // Puts back what DoExecute applied so far.
  void TakeBack();

  TMeshEdit edit_;
  // Captured by DoExecute: the old heights and corners, the records taken out.
  std::vector<float> oldHeights_;
  std::vector<std::array<std::int32_t, 3>> oldCorners_;
  std::vector<TPoly> removedPolygons_;
  std::vector<T3DCoord> removedNodes_;
  int added_ = 0;
  int addedNodes_ = 0;
  bool polygonsDetached_ = false;
  bool nodesDetached_ = false;
};

}  // namespace terravel
