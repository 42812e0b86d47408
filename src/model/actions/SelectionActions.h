#pragma once
// Undoable changes of the selection: one node or polygon, everything, nothing, the polygons of a
// texture and the corner nodes of the selected polygons. They keep the Selected flags and the
// selection counts consistent and never mark the project modified.
#include <string>
#include <string_view>

#include "model/actions/SelectionSnapshot.h"
#include "model/history/Action.h"

namespace terravel {

// Selects or deselects one record; never created itself.
class TSelectAction : public TAction {
 public:
  bool Select() const { return select_; }

 protected:
  TSelectAction(TEditor& editor, bool select);
  // Properties, then redraw: sent after every change of flags and counts.
  void NotifySelectionChanged();

 private:
  bool select_;
};

class TSelectNodeAction : public TSelectAction {
 public:
  TSelectNodeAction(TEditor& editor, int index, bool select);
  bool Execute() override;
  bool Undo() override;

 private:
  void Apply(bool selected);
  int index_;
};

class TSelectPolyAction : public TSelectAction {
 public:
  TSelectPolyAction(TEditor& editor, int index, bool select);
  bool Execute() override;
  bool Undo() override;

 private:
  void Apply(bool selected);
  int index_;
};

// Rewrites the whole selection; Execute takes a snapshot of it, Undo puts the snapshot back.
// Never created itself.
class TSelectMultipleAction : public TAction {
 public:
  bool Execute() override;  // the snapshot; subclasses change the selection after it
  bool Undo() override;     // restores the snapshot, for every subclass
  std::size_t CapturedBytes() const override;

 protected:
  using TAction::TAction;

 private:
  TSelectionSnapshot nodes_;
  TSelectionSnapshot polygons_;
};

// "Select All", "Select All Nodes" (deselects every polygon) or "Select All Polygons" (deselects
// every node); at least one of the two must be requested.
class TSelectAllAction : public TSelectMultipleAction {
 public:
  TSelectAllAction(TEditor& editor, bool allNodes, bool allPolygons);
  bool Execute() override;

 private:
  bool allNodes_;
  bool allPolygons_;
};

class TSelectNothingAction : public TSelectMultipleAction {
 public:
  explicit TSelectNothingAction(TEditor& editor);
  bool Execute() override;
};

// Adds the polygons whose texture matches the pattern to the polygon selection.
class TSelectTextureAction : public TSelectMultipleAction {
 public:
  TSelectTextureAction(TEditor& editor, std::string pattern);
  bool Execute() override;

 private:
  std::string pattern_;
};

// Adds the corner nodes of the selected polygons to the node selection.
class TSelectSelectedPolyNodesAction : public TAction {
 public:
  explicit TSelectSelectedPolyNodesAction(TEditor& editor);
  bool Execute() override;
  bool Undo() override;
  std::size_t CapturedBytes() const override { return nodes_.CapturedBytes(); }

 private:
  TSelectionSnapshot nodes_;
};

// An empty pattern matches the empty texture only. Otherwise one trailing "*" is dropped and a
// texture matches when it begins with the rest, ignoring the case of ASCII letters.
bool TextureMatchesPattern(std::string_view texture, std::string_view pattern);

}  // namespace terravel
