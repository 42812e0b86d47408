#include "model/project/GradientRange.h"

#include <cmath>
#include <memory>

#include "model/editor/Editor.h"
#include "model/history/Action.h"

namespace terravel {

namespace {

// Both gradient values in one step.
class TFitGradientAction : public TAction {
 public:
  TFitGradientAction(TEditor& editor, TTerrainHeights range)
      : TAction(editor, "Fit Gradient to Terrain"), range_(range) {}

  void Changes(TChangeSet& changes) const override {
    changes.Add(TChangeSet::Edit());
    changes.Values = true;
    changes.UnitFields = TChangeSet::UnitBit(TUnitField::MinZ) | TChangeSet::UnitBit(TUnitField::MaxZ);
  }

 protected:
  bool DoExecute() override {
    old_ = {editor_.Values.MinZ, editor_.Values.MaxZ};
    Set(range_);
    return true;
  }
  void DoUndo() override { Set(old_); }

 private:
  void Set(const TTerrainHeights& range) {
    editor_.Values.MinZ = range.Lowest;
    editor_.Values.MaxZ = range.Highest;
  }

  TTerrainHeights range_;
  TTerrainHeights old_;
};

}  // namespace

std::optional<TTerrainHeights> TerrainHeightRange(const TEditor& editor) {
  bool any = false;
  TTerrainHeights range;
  for (const T3DCoord& node : editor.Nodes) {
    if (!std::isfinite(node.Z)) continue;
    if (!any || node.Z < range.Lowest) range.Lowest = node.Z;
    if (!any || node.Z > range.Highest) range.Highest = node.Z;
    any = true;
  }
  if (!any || !(range.Lowest < range.Highest)) return std::nullopt;
  return range;
}

void SetGradientToTerrain(TEditor& editor) {
  const std::optional<TTerrainHeights> range = TerrainHeightRange(editor);
  if (!range) return;
  editor.Values.MinZ = range->Lowest;
  editor.Values.MaxZ = range->Highest;
  TChangeSet changes;
  changes.Values = true;
  changes.UnitFields = TChangeSet::UnitBit(TUnitField::MinZ) | TChangeSet::UnitBit(TUnitField::MaxZ);
  editor.History.Publish(changes);
}

void DoFitGradientToTerrain(TEditor& editor) {
  const std::optional<TTerrainHeights> range = TerrainHeightRange(editor);
  if (!range || (range->Lowest == editor.Values.MinZ && range->Highest == editor.Values.MaxZ)) return;
  editor.History.Perform(std::make_unique<TFitGradientAction>(editor, *range));
}

}  // namespace terravel
