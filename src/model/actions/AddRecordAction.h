#pragma once
// "Add Node" and "Add Polygon": append a selected copy of a record, and take it away again on
// undo. The two differ only in their list and the properties mode.
#include <cstddef>
#include <cstdint>

#include "model/actions/CapturedSize.h"
#include "model/core/Errors.h"
#include "model/editor/Editor.h"
#include "model/history/Action.h"

namespace terravel {

template <typename Record>
struct TAddRecordTraits;

template <>
struct TAddRecordTraits<T3DCoord> {
  static constexpr const char* kDescription = "Add Node";
  static constexpr TPropertyMode kMode = TPropertyMode::pmNode;
  static void Came(TChangeSet& changes) { changes.NodesAddedOrRemoved = true; }
  static TCoordList& List(TEditor& editor) { return editor.Nodes; }
  static int Append(TEditor& editor, const T3DCoord& node) { return editor.Nodes.AddNode(node); }
  static std::size_t TextBytes(const T3DCoord& node) { return HeapBytes(node.Name) + HeapBytes(node.Group); }
};

template <>
struct TAddRecordTraits<TPoly> {
  static constexpr const char* kDescription = "Add Polygon";
  static constexpr TPropertyMode kMode = TPropertyMode::pmPoly;
  static void Came(TChangeSet& changes) { changes.PolygonsAddedOrRemoved = true; }
  static TPolyList& List(TEditor& editor) { return editor.Polygons; }
  static int Append(TEditor& editor, const TPoly& polygon) { return editor.Polygons.AddPolygon(polygon); }
  static std::size_t TextBytes(const TPoly& polygon) {
    return HeapBytes(polygon.Name) + HeapBytes(polygon.Group) + HeapBytes(polygon.Texture);
  }
};

// The new record is always created selected, on top of the current selection; an empty name is
// generated afresh on every redo.
template <typename Record>
class TAddRecordAction : public TAction {
  using Traits = TAddRecordTraits<Record>;

 public:
  TAddRecordAction(TEditor& editor, const Record& record)
      : TAction(editor, Traits::kDescription), record_(record) {
    record_.Selected = true;
  }

  std::size_t CapturedBytes() const override { return Traits::TextBytes(record_); }

  // The index of the created record while applied, -1 otherwise.
  int Index() const { return index_; }

  // The new record is shown in the properties window; after an undo they show what is left.
  void Changes(TChangeSet& changes) const override {
    changes.Add(TChangeSet::Edit());
    changes.Records = true;
    changes.Selection = true;  // the new record comes selected
    Traits::Came(changes);
    if (Done()) changes.PropertyMode = Traits::kMode;
  }

 protected:
  bool DoExecute() override {
    const int index = Traits::Append(editor_, record_);
    if (index < 0) return false;  // no memory: nothing changed, the history drops the action
    index_ = index;
    return true;
  }

  void DoUndo() override {
    auto& list = Traits::List(editor_);
    Require(index_ >= 0 && index_ < list.Count(), modules::Actions, "added record not found");
    list.Detach(index_);
    index_ = -1;
  }

 private:
  std::int32_t index_ = -1;
  Record record_;
};

class TAddNodeAction : public TAddRecordAction<T3DCoord> {
 public:
  using TAddRecordAction::TAddRecordAction;
};

class TAddPolygonAction : public TAddRecordAction<TPoly> {
 public:
  using TAddRecordAction::TAddRecordAction;
};

}  // namespace terravel
