#pragma once
// The one document of a run and everything that belongs to it: the node and polygon lists, the
// project values, the selection counts and the undo history, and the top view's state. The app makes
// exactly one; tests make a fresh one per case.
#include "model/document/BufferState.h"
#include "model/document/CoordList.h"
#include "model/document/Host.h"
#include "model/document/NameIndex.h"
#include "model/document/ProjectValues.h"
#include "model/history/History.h"
#include "model/view/ViewState.h"
#include "model/topology/MeshIndex.h"

namespace terravel {

class TEditor {
 public:
  // Without a host the editor reports to nobody (command line, benchmarks).
  explicit TEditor(THost* host = nullptr);
  TEditor(const TEditor&) = delete;
  TEditor& operator=(const TEditor&) = delete;

  THost& Host() { return *host_; }
  void SetHost(THost& host);

  // Clears both lists (polygons first) without touching the history or the values.
  void ClearDocument();

  // The modified state: every applied change and every undo counts one modification; the project
  // is modified while the count differs from the one of the last save, open, new or discard.
  bool Modified() const { return modifications_ != savedAt_; }
  long long Modifications() const { return modifications_; }
  // Counts one modification without telling the host (the action's change set tells it).
  void CountModification() { ++modifications_; }
  // Counts one modification made outside the history and publishes what changed with it.
  void MarkModified(TChangeSet changes = {});
  // The document as it is now is the saved one; the windows hear of the modified state.
  void MarkSaved();
  // Goes back to a count taken before (a rolled-back transaction), telling nobody: the rollback's
  // change set does.
  void RestoreModifications(long long count) { modifications_ = count; }

  // Tells the mesh index, then the host, what changed: every change set goes this way.
  void Publish(const TChangeSet& changes);

 private:
  TNullHost nullHost_;
  THost* host_;       // the only place the host is kept: everything else asks the editor
  TNameIndex names_;  // the shared name space of nodes and polygons
  long long modifications_ = 0;
  long long savedAt_ = 0;

 public:
  // Before the lists: they announce their selection counts to it.
  TBufferState State{*this};
  TCoordList Nodes{names_};
  TPolyList Polygons{names_};
  // The polygons around each node, the neighbours and the plan-view grid, shared by every view and tool.
  TMeshIndex Index{Nodes, Polygons};
  TProjectValues Values;
  THistory History{*this};
  // The top view's pan, zoom, size and ShowZ: not the document's (see ViewState.h).
  TViewState View;
  // Display switch of the main window, not saved: show dragged nodes and snap commits to the grid.
  bool SnapToGrid = true;
};

}  // namespace terravel
