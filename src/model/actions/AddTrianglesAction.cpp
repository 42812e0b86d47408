#include "model/actions/AddTrianglesAction.h"

#include <numeric>
#include <utility>

#include "model/actions/CapturedSize.h"
#include "model/core/Errors.h"
#include "model/editor/Editor.h"

namespace terravel {

TAddTrianglesAction::TAddTrianglesAction(TEditor& editor, std::vector<std::array<std::int32_t, 3>> corners)
    : TAction(editor), corners_(std::move(corners)) {}

bool TAddTrianglesAction::DoExecute() {
  TPolyList& polygons = editor_.Polygons;
  polygons.Reserve(static_cast<std::size_t>(polygons.Count()) + corners_.size());
  added_ = 0;
  try {
    for (const auto& [node1, node2, node3] : corners_) {
      TPoly polygon;
      polygon.Node1 = node1;
      polygon.Node2 = node2;
      polygon.Node3 = node3;
      polygon.Texture = kDefaultTexture;
      Require(polygons.AddPolygon(std::move(polygon)) >= 0, modules::Actions, "no memory for a new polygon");
      ++added_;
    }
  } catch (...) {
    // A step that fails leaves the list as it found it.
    DoUndo();
    throw;
  }
  return true;
}

void TAddTrianglesAction::DoUndo() {
  TPolyList& polygons = editor_.Polygons;
  Require(added_ <= polygons.Count(), modules::Actions, "added polygons not found");
  std::vector<int> last(static_cast<std::size_t>(added_));
  std::iota(last.begin(), last.end(), polygons.Count() - added_);
  polygons.DetachMany(last);
  added_ = 0;
}

void TAddTrianglesAction::Changes(TChangeSet& changes) const {
  changes.Add(TChangeSet::Edit());
  changes.PolygonsAddedOrRemoved = true;
  // Records that come or go change the lists and may take selected ones with them.
  changes.Records = true;
  changes.Selection = true;
  changes.PropertyMode = PropertyModeFor(editor_.Nodes.SelectedCount(), editor_.Polygons.SelectedCount());
}

std::size_t TAddTrianglesAction::CapturedBytes() const {
  return HeapBytes(corners_);
}

}  // namespace terravel
