#include "model/actions/StringActions.h"

#include <utility>

#include "model/actions/CapturedSize.h"
#include "model/core/Errors.h"
#include "model/editor/Editor.h"

namespace terravel {

TSetStringAction::TSetStringAction(TEditor& editor, std::string description, TStringField field,
                                   std::string text)
    : TAction(editor, std::move(description)), field_(field), text_(std::move(text)) {}

bool TSetStringAction::DoExecute() {
  entries_.clear();
  const int count = RecordCount();
  for (int i = 0; i < count; ++i) {
    if (!IsSelected(i)) continue;
    entries_.push_back({i, Exchange(i, text_)});
  }
  entries_.shrink_to_fit();
  return true;
}

void TSetStringAction::DoUndo() {
  Require(!entries_.empty(), modules::Actions, "string action undone without entries");
  for (TStringEntry& entry : entries_) Exchange(entry.Index, std::move(entry.Old));
  entries_.clear();
}

void TSetStringAction::Changes(TChangeSet& changes) const {
  changes.Add(TChangeSet::Edit());
  changes.RecordValues = true;
  // The group filter lists the groups.
  changes.Records = changes.Records || field_ == TStringField::Group;
}

std::size_t TSetStringAction::CapturedBytes() const {
  std::size_t bytes = HeapBytes(entries_) + HeapBytes(text_);
  for (const TStringEntry& entry : entries_) bytes += HeapBytes(entry.Old);
  return bytes;
}

// Nodes

int TSetNodeStringAction::RecordCount() const {
  return editor_.Nodes.Count();
}

bool TSetNodeStringAction::IsSelected(int index) const {
  return editor_.Nodes[index].Selected;
}

std::string TSetNodeStringAction::Exchange(int index, std::string text) {
  T3DCoord& node = editor_.Nodes[index];
  switch (Field()) {
    case TStringField::Name: {
      std::string old = node.Name;
      editor_.Nodes.SetName(index, std::move(text));
      return old;
    }
    case TStringField::Group:
      return std::exchange(node.Group, std::move(text));
    case TStringField::Texture:
      break;
  }
  throw EAssertionFailure(modules::Actions, "nodes have no texture");
}

TSetNodeNameAction::TSetNodeNameAction(TEditor& editor, const std::string& name)
    : TSetNodeStringAction(editor, "Set Node Name to " + name, TStringField::Name, name) {}

TSetNodeGroupAction::TSetNodeGroupAction(TEditor& editor, const std::string& group)
    : TSetNodeStringAction(editor, "Set Node Group to " + group, TStringField::Group, group) {}

// Polygons

int TSetPolyStringAction::RecordCount() const {
  return editor_.Polygons.Count();
}

bool TSetPolyStringAction::IsSelected(int index) const {
  return editor_.Polygons[index].Selected;
}

std::string TSetPolyStringAction::Exchange(int index, std::string text) {
  TPoly& polygon = editor_.Polygons[index];
  switch (Field()) {
    case TStringField::Name: {
      std::string old = polygon.Name;
      editor_.Polygons.SetName(index, std::move(text));
      return old;
    }
    case TStringField::Group:
      return std::exchange(polygon.Group, std::move(text));
    case TStringField::Texture:
      return std::exchange(polygon.Texture, std::move(text));
  }
  throw EAssertionFailure(modules::Actions, "unknown polygon text field");
}

TSetPolyNameAction::TSetPolyNameAction(TEditor& editor, const std::string& name)
    : TSetPolyStringAction(editor, "Set Polygon Name to " + name, TStringField::Name, name) {}

TSetPolyGroupAction::TSetPolyGroupAction(TEditor& editor, const std::string& group)
    : TSetPolyStringAction(editor, "Set Polygon Group to " + group, TStringField::Group, group) {}

TSetPolyTextureAction::TSetPolyTextureAction(TEditor& editor, const std::string& texture)
    : TSetPolyStringAction(editor, "Set Polygon Texture to " + (texture.empty() ? "(undefined)" : texture),
                           TStringField::Texture, texture) {}

}  // namespace terravel
