#include "model/actions/RemoveAction.h"

#include <memory>
#include <utility>

#include "model/actions/CapturedSize.h"
#include "model/actions/Requests.h"
#include "model/core/Errors.h"
#include "model/document/CornerMaintenance.h"
#include "model/editor/Editor.h"

namespace terravel {

namespace {

// Ascending positions in the full list become the positions each record had when it was taken
// out, one after the other: the k-th loses the k records removed before it.
void ToDetachPositions(std::vector<int>& positions) {
  for (std::size_t k = 0; k < positions.size(); ++k) positions[k] -= static_cast<int>(k);
}

// The reverse: where each record stands once all of them are back.
std::vector<int> ToListPositions(const std::vector<int>& detachPositions) {
  std::vector<int> positions(detachPositions.size());
  for (std::size_t k = 0; k < positions.size(); ++k) positions[k] = detachPositions[k] + static_cast<int>(k);
  return positions;
}

}  // namespace

TRemoveAction::TRemoveAction(TEditor& editor) : TAction(editor, "Remove") {}

bool TRemoveAction::DoExecute() {
  removedNodes_.clear();
  nodeIndices_.clear();
  removedPolygons_.clear();
  polygonIndices_.clear();

  // Polygons first: every selected one and every one with a selected corner. They keep the corner
  // indices of the node list as it is now.
  TCoordList& nodes = editor_.Nodes;
  TPolyList& polygons = editor_.Polygons;
  const auto cornerSelected = [&nodes](int corner) {
    const T3DCoord* node = nodes.NodeAt(corner);
    return node != nullptr && node->Selected;
  };
  std::vector<int> polygonPositions;
  for (int i = 0; i < polygons.Count(); ++i) {
    const TPoly& polygon = polygons[i];
    if (polygon.Selected || cornerSelected(polygon.Node1) || cornerSelected(polygon.Node2) ||
        cornerSelected(polygon.Node3)) {
      polygonPositions.push_back(i);
    }
  }
  removedPolygons_ = polygons.DetachMany(polygonPositions);
  ToDetachPositions(polygonPositions);
  polygonIndices_ = std::move(polygonPositions);

  // Then the selected nodes; corner indices above each removed node move down.
  std::vector<int> nodePositions;
  for (int j = 0; j < nodes.Count(); ++j) {
    if (nodes[j].Selected) nodePositions.push_back(j);
  }
  removedNodes_ = DetachNodesFixingCorners(nodes, polygons, nodePositions);
  ToDetachPositions(nodePositions);
  nodeIndices_ = std::move(nodePositions);

  return true;
}

void TRemoveAction::DoUndo() {
  Require(!removedNodes_.empty() || !removedPolygons_.empty(), modules::Actions, "nothing was removed");
  Require(removedNodes_.size() == nodeIndices_.size(), modules::Actions,
          "removed node lists differ in length");
  Require(removedPolygons_.size() == polygonIndices_.size(), modules::Actions,
          "removed polygon lists differ in length");

  // Nodes back first (corner indices at or above each re-inserted node move up), then the polygons
  // with the corner indices they had.
  InsertNodesFixingCorners(editor_.Nodes, editor_.Polygons, ToListPositions(nodeIndices_),
                           std::move(removedNodes_));
  editor_.Polygons.InsertMany(ToListPositions(polygonIndices_), std::move(removedPolygons_));
  removedNodes_.clear();
  nodeIndices_.clear();
  removedPolygons_.clear();
  polygonIndices_.clear();

}

void TRemoveAction::Changes(TChangeSet& changes) const {
  changes.Add(TChangeSet::Edit());
  changes.Records = true;
  changes.Selection = true;
  changes.NodesAddedOrRemoved = true;
  changes.PolygonsAddedOrRemoved = true;
  if (Done()) {
    changes.PropertyMode = TPropertyMode::pmNone;
    return;
  }
  const int nodeCount = editor_.Nodes.SelectedCount();
  const int polygonCount = editor_.Polygons.SelectedCount();
  if (nodeCount > 0 || polygonCount > 0) changes.PropertyMode = PropertyModeFor(nodeCount, polygonCount);
}

std::size_t TRemoveAction::CapturedBytes() const {
  std::size_t bytes = HeapBytes(removedNodes_) + HeapBytes(nodeIndices_) + HeapBytes(removedPolygons_) +
                      HeapBytes(polygonIndices_);
  for (const T3DCoord& node : removedNodes_) bytes += HeapBytes(node.Name) + HeapBytes(node.Group);
  for (const TPoly& polygon : removedPolygons_) {
    bytes += HeapBytes(polygon.Name) + HeapBytes(polygon.Group) + HeapBytes(polygon.Texture);
  }
  return bytes;
}

void DoRemove(TEditor& editor) {
  if (editor.State.SelectedNodeCount() <= 0 && editor.State.SelectedPolygonCount() <= 0) return;
  editor.History.Perform(std::make_unique<TRemoveAction>(editor));
}

}  // namespace terravel
