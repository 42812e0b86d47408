#include "model/actions/PolygonActions.h"

#include <memory>
#include <utility>

#include "model/actions/CapturedSize.h"
#include "model/actions/Requests.h"
#include "model/actions/StringActions.h"
#include "model/core/Errors.h"
#include "model/editor/Editor.h"
#include "model/text/NumberText.h"

namespace terravel {

namespace {

std::int32_t& Field(TPoly& polygon, TPolyIntegerField field) {
  switch (field) {
    case TPolyIntegerField::Node1:
      return polygon.Node1;
    case TPolyIntegerField::Node2:
      return polygon.Node2;
    case TPolyIntegerField::Node3:
      return polygon.Node3;
    case TPolyIntegerField::Color:
      return polygon.Color;
  }
  throw EAssertionFailure(modules::Actions, "unknown polygon field");
}

TPolyIntegerField CornerField(int corner) {
  Require(corner >= 1 && corner <= 3, modules::Actions, "polygon corner out of range");
  return static_cast<TPolyIntegerField>(corner - 1);
}

}  // namespace

// TSetPolyIntegerAction

TSetPolyIntegerAction::TSetPolyIntegerAction(TEditor& editor, std::string description,
                                             TPolyIntegerField field, std::int32_t value)
    : TAction(editor, std::move(description)), field_(field), value_(value) {}

void TSetPolyIntegerAction::Changes(TChangeSet& changes) const {
  changes.Add(TChangeSet::Edit());
  if (field_ == TPolyIntegerField::Color) {
    changes.RecordValues = true;
  } else {
    changes.PolygonsRewired = true;
  }
}

bool TSetPolyIntegerAction::DoExecute() {
  entries_.clear();
  const int count = editor_.Polygons.Count();
  for (int i = 0; i < count; ++i) {
    TPoly& polygon = editor_.Polygons[i];
    if (!polygon.Selected) continue;
    entries_.push_back({i, std::exchange(Field(polygon, field_), value_)});
  }
  entries_.shrink_to_fit();
  return true;
}

void TSetPolyIntegerAction::DoUndo() {
  Require(!entries_.empty(), modules::Actions, "polygon field undone without entries");
  for (const TIntegerEntry& entry : entries_) Field(editor_.Polygons[entry.Index], field_) = entry.Old;
}

std::size_t TSetPolyIntegerAction::CapturedBytes() const {
  return HeapBytes(entries_);
}

TSetPolyNodeAction::TSetPolyNodeAction(TEditor& editor, int corner, std::int32_t nodeIndex)
    : TSetPolyIntegerAction(
          editor, "Set Polygon Node Index " + std::to_string(corner) + " to " + std::to_string(nodeIndex),
          CornerField(corner), nodeIndex) {}

TSetPolyColorAction::TSetPolyColorAction(TEditor& editor, std::int32_t color)
    : TSetPolyIntegerAction(editor,
                            "Set Polygon Color to $" + FormatHex(static_cast<std::uint32_t>(color), 8),
                            TPolyIntegerField::Color, color) {}

// TFlipPolygonAction

TFlipPolygonAction::TFlipPolygonAction(TEditor& editor) : TAction(editor, "Flip Polygon Orientation") {}

void TFlipPolygonAction::Flip() {
  for (std::int32_t index : flipped_) {
    TPoly& polygon = editor_.Polygons[index];
    std::swap(polygon.Node2, polygon.Node3);
  }
}

bool TFlipPolygonAction::DoExecute() {
  flipped_.clear();
  const int count = editor_.Polygons.Count();
  for (int i = 0; i < count; ++i) {
    if (editor_.Polygons[i].Selected) flipped_.push_back(i);
  }
  flipped_.shrink_to_fit();
  Flip();
  return true;
}

void TFlipPolygonAction::DoUndo() {
  Require(!flipped_.empty(), modules::Actions, "flip undone without polygons");
  Flip();
}

std::size_t TFlipPolygonAction::CapturedBytes() const {
  return HeapBytes(flipped_);
}

// Requests

void DoAddPolygon(TEditor& editor, const TPoly& polygon) {
  const int count = editor.Nodes.Count();
  for (std::int32_t corner : {polygon.Node1, polygon.Node2, polygon.Node3}) {
    if (corner < 0 || corner >= count) return;
  }
  editor.History.Perform(std::make_unique<TAddPolygonAction>(editor, polygon));
}

void DoSetPolyName(TEditor& editor, const std::string& name) {
  if (editor.State.SelectedPolygonCount() <= 0) return;
  editor.History.Perform(std::make_unique<TSetPolyNameAction>(editor, name));
}

void DoSetPolyGroup(TEditor& editor, const std::string& group) {
  if (editor.State.SelectedPolygonCount() <= 0) return;
  editor.History.Perform(std::make_unique<TSetPolyGroupAction>(editor, group));
}

void DoSetPolyTexture(TEditor& editor, const std::string& texture) {
  if (editor.State.SelectedPolygonCount() <= 0) return;
  editor.History.Perform(std::make_unique<TSetPolyTextureAction>(editor, texture));
}

void DoSetPolyNode(TEditor& editor, int corner, int nodeIndex) {
  if (corner < 1 || corner > 3 || editor.State.SelectedPolygonCount() <= 0) return;
  editor.History.Perform(std::make_unique<TSetPolyNodeAction>(editor, corner, nodeIndex));
}

void DoSetPolyColor(TEditor& editor, std::int32_t color) {
  if (editor.State.SelectedPolygonCount() <= 0) return;
  editor.History.Perform(std::make_unique<TSetPolyColorAction>(editor, color));
}

void DoFlipPolygons(TEditor& editor) {
  if (editor.State.SelectedPolygonCount() <= 0) return;
  editor.History.Perform(std::make_unique<TFlipPolygonAction>(editor));
}

}  // namespace terravel
