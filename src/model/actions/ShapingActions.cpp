#include "model/actions/ShapingActions.h"

#include <memory>
#include <numeric>
#include <utility>

#include "model/actions/AddTrianglesAction.h"
#include "model/actions/CapturedSize.h"
#include "model/actions/Requests.h"
#include "model/core/Errors.h"
#include "model/document/CornerMaintenance.h"
#include "model/editor/Editor.h"
#include "model/shaping/ConstrainedTriangulation.h"
#include "model/shaping/EdgeCollapse.h"
#include "model/shaping/HeightSmoothing.h"
#include "model/shaping/ShapingScope.h"
#include "model/shaping/Subdivision.h"

namespace terravel {

namespace {

std::array<std::int32_t, 3> CornersOf(const TPoly& polygon) {
  return {polygon.Node1, polygon.Node2, polygon.Node3};
}

void SetCorners(TPoly& polygon, const std::array<std::int32_t, 3>& corners) {
  polygon.Node1 = corners[0];
  polygon.Node2 = corners[1];
  polygon.Node3 = corners[2];
}

}  // namespace

TMeshEditAction::TMeshEditAction(TEditor& editor, TMeshEdit edit) : TAction(editor), edit_(std::move(edit)) {}

bool TMeshEditAction::DoExecute() {
  TCoordList& nodes = editor_.Nodes;
  TPolyList& polygons = editor_.Polygons;
  for (const THeightChange& change : edit_.Heights) {
    Require(nodes.NodeAt(change.Index) != nullptr, modules::Actions, "height change out of range");
  }
  for (const TCornerChange& change : edit_.Corners) {
    Require(polygons.PolygonAt(change.Index) != nullptr, modules::Actions, "corner change out of range");
  }

  oldHeights_.clear();
  oldCorners_.clear();
  removedPolygons_.clear();
  removedNodes_.clear();
  polygonsDetached_ = nodesDetached_ = false;
  added_ = addedNodes_ = 0;
  // Whatever fails halfway (no memory, a broken edit), what was applied so far goes back before
  // the error goes on: the document is as it was and the action is withdrawn.
  try {
    oldHeights_.reserve(edit_.Heights.size());
    for (const THeightChange& change : edit_.Heights) {
      T3DCoord& node = nodes[change.Index];
      oldHeights_.push_back(node.Z);
      node.Z = change.Z;
    }
    nodes.Reserve(static_cast<std::size_t>(nodes.Count()) + edit_.AddedNodes.size());
    for (const T3DCoord& node : edit_.AddedNodes) {
      Require(nodes.AddNode(node) >= 0, modules::Actions, "no memory for a new node");
      ++addedNodes_;
    }
    oldCorners_.reserve(edit_.Corners.size());
    for (const TCornerChange& change : edit_.Corners) {
      TPoly& polygon = polygons[change.Index];
      oldCorners_.push_back(CornersOf(polygon));
      SetCorners(polygon, change.Corners);
    }
    // Each of the two detaches changes nothing when it fails.
    removedPolygons_ = polygons.DetachMany(edit_.RemovedPolygons);
    polygonsDetached_ = true;
    removedNodes_ = DetachNodesFixingCorners(nodes, polygons, edit_.RemovedNodes);
    nodesDetached_ = true;
    polygons.Reserve(static_cast<std::size_t>(polygons.Count()) + edit_.AddedPolygons.size());
    for (const TPoly& polygon : edit_.AddedPolygons) {
      Require(polygons.AddPolygon(polygon) >= 0, modules::Actions, "no memory for a new polygon");
      ++added_;
    }
  } catch (...) {
    TakeBack();
    throw;
  }
  return true;
}

void TMeshEditAction::DoUndo() {
  TakeBack();
}

void TMeshEditAction::TakeBack() {
  TCoordList& nodes = editor_.Nodes;
  TPolyList& polygons = editor_.Polygons;
  Require(added_ <= polygons.Count(), modules::Actions, "added polygons not found");
  std::vector<int> last(static_cast<std::size_t>(added_));
  std::iota(last.begin(), last.end(), polygons.Count() - added_);
  polygons.DetachMany(last);
  added_ = 0;
  if (nodesDetached_) InsertNodesFixingCorners(nodes, polygons, edit_.RemovedNodes, std::move(removedNodes_));
  if (polygonsDetached_) polygons.InsertMany(edit_.RemovedPolygons, std::move(removedPolygons_));
  nodesDetached_ = polygonsDetached_ = false;
  removedNodes_.clear();
  removedPolygons_.clear();
  for (std::size_t k = oldCorners_.size(); k-- > 0;) {
    SetCorners(polygons[edit_.Corners[k].Index], oldCorners_[k]);
  }
  for (std::size_t k = oldHeights_.size(); k-- > 0;) nodes[edit_.Heights[k].Index].Z = oldHeights_[k];
  // The added nodes are the last ones again, and no polygon uses them any more.
  Require(addedNodes_ <= nodes.Count(), modules::Actions, "added nodes not found");
  std::vector<int> lastNodes(static_cast<std::size_t>(addedNodes_));
  std::iota(lastNodes.begin(), lastNodes.end(), nodes.Count() - addedNodes_);
  nodes.DetachMany(lastNodes);
  addedNodes_ = 0;
}

void TMeshEditAction::Changes(TChangeSet& changes) const {
  changes.Add(TChangeSet::Edit());
  changes.NodesAddedOrRemoved = !edit_.AddedNodes.empty() || !edit_.RemovedNodes.empty();
  changes.PolygonsAddedOrRemoved = !edit_.AddedPolygons.empty() || !edit_.RemovedPolygons.empty();
  changes.PolygonsRewired = !edit_.Corners.empty();
  // Records that come or go change the lists and may take selected ones with them.
  changes.Records = changes.NodesAddedOrRemoved || changes.PolygonsAddedOrRemoved;
  changes.Selection = changes.Records;
  for (const auto& entry : edit_.Heights) changes.MovedNodes.push_back(entry.Index);
  changes.PropertyMode = PropertyModeFor(editor_.Nodes.SelectedCount(), editor_.Polygons.SelectedCount());
}

std::size_t TMeshEditAction::CapturedBytes() const {
  std::size_t bytes = HeapBytes(edit_.AddedNodes) + HeapBytes(edit_.Heights) + HeapBytes(edit_.Corners) +
                      HeapBytes(edit_.RemovedPolygons) + HeapBytes(edit_.RemovedNodes) +
                      HeapBytes(edit_.AddedPolygons) + HeapBytes(oldHeights_) + HeapBytes(oldCorners_) +
                      HeapBytes(removedPolygons_) + HeapBytes(removedNodes_);
  for (const TPoly& polygon : edit_.AddedPolygons) {
    bytes += HeapBytes(polygon.Name) + HeapBytes(polygon.Group) + HeapBytes(polygon.Texture);
  }
  for (const TPoly& polygon : removedPolygons_) {
    bytes += HeapBytes(polygon.Name) + HeapBytes(polygon.Group) + HeapBytes(polygon.Texture);
  }
  for (const T3DCoord& node : removedNodes_) bytes += HeapBytes(node.Name) + HeapBytes(node.Group);
  for (const T3DCoord& node : edit_.AddedNodes) bytes += HeapBytes(node.Name) + HeapBytes(node.Group);
  return bytes;
}

// Requests
//
// Each command works out its edit and performs it inside one transaction: the step keeps the
// command's description, and a cancel while working, or an error while the edit is applied or
// shown, takes back whatever was performed and leaves the project as it was.

namespace {

// The transaction's step carries the description: the edit inside has none of its own.
void Perform(TEditor& editor, TMeshEdit edit) {
  if (edit.Empty()) return;
  editor.History.Perform(std::make_unique<TMeshEditAction>(editor, std::move(edit)));
}

}  // namespace

TTriangulateResult DoTriangulate(TEditor& editor, const TTriangulateOptions& options,
                                 const TShapingProgress& progress) {
  TTransaction transaction(editor.History, "Triangulate " + FormatCount(CountChosen(ChosenNodes(editor))) + " nodes");
  TTriangulateResult result = TriangulateNodes(editor, options, progress);
  if (!result.Triangles.empty()) {
    editor.History.Perform(std::make_unique<TAddTrianglesAction>(editor, std::move(result.Triangles)));
  }
  result.Triangles = {};
  transaction.Commit();
  return result;
}

TSimplifyResult DoSimplify(TEditor& editor, const TSimplifyOptions& options, const TShapingProgress& progress) {
  TTransaction transaction(editor.History, "Simplify");
  TSimplifyResult result = SimplifyPolygons(editor, options, progress);
  TMeshEdit edit = std::move(result.Edit);
  result.Edit = {};
  editor.History.Describe("Simplify " + FormatCount(result.PolygonsBefore) + " polygons");
  Perform(editor, std::move(edit));
  transaction.Commit();
  return result;
}

int DoSubdivide(TEditor& editor) {
  TTransaction transaction(editor.History,
                           "Subdivide " + FormatCount(CountChosen(ChosenPolygons(editor))) + " polygons");
  TMeshEdit edit = SubdividePolygons(editor);
  const int split = static_cast<int>(edit.Corners.size());
  Perform(editor, std::move(edit));
  transaction.Commit();
  return split;
}

int DoSmoothHeights(TEditor& editor, const TSmoothOptions& options, const TShapingProgress& progress) {
  TTransaction transaction(editor.History, "Smooth " + FormatCount(CountChosen(ChosenNodes(editor))) + " nodes");
  TMeshEdit edit = SmoothHeights(editor, options, progress);
  const int changed = static_cast<int>(edit.Heights.size());
  Perform(editor, std::move(edit));
  transaction.Commit();
  return changed;
}

}  // namespace terravel
