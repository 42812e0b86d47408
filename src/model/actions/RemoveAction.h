#pragma once
// "Remove": takes the selected nodes out of the project together with every polygon that uses
// one of them, and the selected polygons. The action keeps the removed records until its Undo
// puts the very same records back.
#include <vector>

#include "model/document/Records.h"
#include "model/history/Action.h"

namespace terravel {

class TRemoveAction : public TAction {
 public:
  explicit TRemoveAction(TEditor& editor);
  std::size_t CapturedBytes() const override;

  // Each index is the position the record had when it was taken out, after the earlier records of
  // its kind had gone (removing nodes 2 and 5 of 8 records 2 and 4), ascending.
  const std::vector<int>& NodeIndices() const { return nodeIndices_; }
  const std::vector<int>& PolygonIndices() const { return polygonIndices_; }
  const std::vector<T3DCoord>& RemovedNodes() const { return removedNodes_; }

  // After a remove the properties window shows nothing; after its undo the mode follows the
  // restored selection.
  void Changes(TChangeSet& changes) const override;

 protected:
  // Polygons go first, then nodes; the counts become 0.
  bool DoExecute() override;
  // Nodes come back first, then polygons, with their flags.
  void DoUndo() override;

 private:
  std::vector<T3DCoord> removedNodes_;
  std::vector<int> nodeIndices_;
  std::vector<TPoly> removedPolygons_;
  std::vector<int> polygonIndices_;
};

}  // namespace terravel
