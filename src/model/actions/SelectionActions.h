#pragma once
// Undoable changes of the selection: one node or polygon, everything, nothing, the polygons of a
// texture and the corner nodes of the selected polygons. They change the flags through the lists
// (which keep the counts) and never mark the project modified.
#include <string>
#include <string_view>
#include <vector>

#include "model/actions/SelectionSnapshot.h"
#include "model/history/Action.h"

namespace terravel {

// Every selection action.
class TSelectionAction : public TAction {
 public:
  // The selection and the history only: no record moved, came or went, nothing is modified.
  void Changes(TChangeSet& changes) const override {
    changes.Selection = true;
    changes.History = true;
  }

 protected:
  using TAction::TAction;
};

// Selects or deselects one record; never created itself.
class TSelectAction : public TSelectionAction {
 public:
  bool Select() const { return select_; }

 protected:
  TSelectAction(TEditor& editor, bool select);

 private:
  bool select_;
};

class TSelectNodeAction : public TSelectAction {
 public:
  TSelectNodeAction(TEditor& editor, int index, bool select);
  void Changes(TChangeSet& changes) const override;

 protected:
  bool DoExecute() override;
  void DoUndo() override;

 private:
  void Apply(bool selected);
  int index_;
};

class TSelectPolyAction : public TSelectAction {
 public:
  TSelectPolyAction(TEditor& editor, int index, bool select);
  void Changes(TChangeSet& changes) const override;

 protected:
  bool DoExecute() override;
  void DoUndo() override;

 private:
  void Apply(bool selected);
  int index_;
};

// Rewrites the whole selection; DoExecute takes a snapshot of it before the subclass changes it,
// DoUndo puts the snapshot back. Never created itself.
class TSelectMultipleAction : public TSelectionAction {
 public:
  std::size_t CapturedBytes() const override;

 protected:
  using TSelectionAction::TSelectionAction;
  bool DoExecute() override;
  void DoUndo() override;
  // The change of the selection after the snapshot.
  virtual void ChangeSelection() = 0;
  const TSelectionSnapshot& NodesBefore() const { return nodes_; }
  const TSelectionSnapshot& PolygonsBefore() const { return polygons_; }

 private:
  TSelectionSnapshot nodes_;
  TSelectionSnapshot polygons_;
};

// "Select All", "Select All Nodes" (deselects every polygon) or "Select All Polygons" (deselects
// every node); at least one of the two must be requested.
class TSelectAllAction : public TSelectMultipleAction {
 public:
  TSelectAllAction(TEditor& editor, bool allNodes, bool allPolygons);

 protected:
  void ChangeSelection() override;

 private:
  bool allNodes_;
  bool allPolygons_;
};

class TSelectNothingAction : public TSelectMultipleAction {
 public:
  explicit TSelectNothingAction(TEditor& editor);
  // Names the records that were selected when there were few (a click's usual case).
  void Changes(TChangeSet& changes) const override;
  std::size_t CapturedBytes() const override;

 protected:
  void ChangeSelection() override;
  void DoUndo() override;

 private:
  // Whether the records the action deselects are named in its change set: only when few were
  // selected. Done, they are the snapshot's; undone, the snapshot is given back and they move here.
  bool listed_ = false;
  std::vector<int> nodes_;
  std::vector<int> polygons_;
};

// Adds the polygons whose texture matches the pattern to the polygon selection.
class TSelectTextureAction : public TSelectMultipleAction {
 public:
  TSelectTextureAction(TEditor& editor, std::string pattern);

 protected:
  void ChangeSelection() override;

 private:
  std::string pattern_;
};

// "Select Region": the given nodes and polygons (ascending indices) become the selection, or
// join it when adding.
class TSelectRegionAction : public TSelectMultipleAction {
 public:
  TSelectRegionAction(TEditor& editor, std::vector<int> nodes, std::vector<int> polygons, bool add);

 protected:
  void ChangeSelection() override;

 private:
  std::vector<int> nodes_;
  std::vector<int> polygons_;
  bool add_;
};

// Adds the corner nodes of the selected polygons to the node selection.
class TSelectSelectedPolyNodesAction : public TSelectionAction {
 public:
  explicit TSelectSelectedPolyNodesAction(TEditor& editor);
  std::size_t CapturedBytes() const override { return nodes_.CapturedBytes(); }

 protected:
  bool DoExecute() override;
  void DoUndo() override;

 private:
  TSelectionSnapshot nodes_;
};

// An empty pattern matches the empty texture only. Otherwise one trailing "*" is dropped and a
// texture matches when it begins with the rest, ignoring the case of ASCII letters.
bool TextureMatchesPattern(std::string_view texture, std::string_view pattern);

}  // namespace terravel
