#pragma once
// What one action, undo, redo or transaction changed, as a value: the history publishes one per
// step to the host (THost::Publish), and every view decides from it what to redo. The notices are
// the classic windows' share (redraw, refresh the properties, the lists, Undo and Redo); the rest
// says what changed in the document, so that a view can redo exactly that: the 3-D view rewrites
// the moved vertices and their normals and leaves everything else.
#include <vector>

#include "model/history/Notices.h"

namespace terravel {

struct TChangeSet {
  TNotices Notices;
  // The action did not say what it changed: a view re-reads the whole document.
  bool Everything = false;
  // Nodes whose X, Y or Z changed, by index (in no order; one may be named twice).
  std::vector<int> MovedNodes;
  bool NodesAddedOrRemoved = false;
  bool PolygonsAddedOrRemoved = false;
  bool PolygonsRewired = false;  // corners changed or turned over
  bool Selection = false;        // the selected nodes or polygons
  // With Selection: the flags changed only on the records named here (by index, in no order;
  // one may be named twice). Without it a view looks through every record.
  bool SelectionListed = false;
  std::vector<int> SelectionNodes;
  std::vector<int> SelectionPolygons;
  bool Records = false;          // names, groups, textures, colours: the lists
  bool Values = false;           // project values (grid, heights range, PgInc)
  bool History = false;          // the Undo and Redo commands
  bool Modified = false;         // the modified state

  // Nodes or polygons came or went, or polygons changed corners: indices and neighbours are new.
  bool Topology() const { return Everything || NodesAddedOrRemoved || PolygonsAddedOrRemoved || PolygonsRewired; }
  // Anything a view of the mesh shows: positions, topology or the selection.
  bool Mesh() const { return Topology() || !MovedNodes.empty() || Selection; }

  // Both in one (a transaction's parts).
  void Add(const TChangeSet& other);

  // The document was replaced outside the history (New, a new mesh): the views that follow change
  // sets read it anew; the classic windows were told by their own notices.
  static TChangeSet Rebuilt() {
    TChangeSet changes;
    changes.Everything = true;
    return changes;
  }

  friend bool operator==(const TChangeSet&, const TChangeSet&) = default;
};

// What a set of notices says by itself: the modified state and the history always; a full redraw
// means Everything, a light one project values, the lists records. Actions that know better say so.
TChangeSet ChangesFromNotices(const TNotices& notices);

}  // namespace terravel
