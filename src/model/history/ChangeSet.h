#pragma once
// What one action, undo, redo, transaction or replaced document changed, as a value: the model
// publishes one per step to its host (THost::Publish), and every window decides from it what to
// redo. The top view redraws when the mesh, the selection or the labels changed; the properties
// window refreshes when the selected records or their values changed, its lists when records came
// or went or their names or groups changed; the status bar follows the selection and the modified
// state; the Undo and Redo commands follow the history; the 3-D view rewrites the moved vertices
// and their normals and leaves everything else.
#include <cstdint>
#include <optional>
#include <vector>

#include "model/document/PropertyMode.h"

namespace terravel {

// The three edit boxes of the gradient panel.
enum class TUnitField { MinZ, MaxZ, PgInc };

struct TChangeSet {
  // The whole document may have changed (a new or opened project, an import): every window
  // re-reads it.
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
  // Records came or went, or their names or groups changed: what the group filter and the object
  // list show.
  bool Records = false;
  // Values of the records other than their positions: names, textures, colours, flags.
  bool RecordValues = false;
  // With a value: the kind of record the properties window shows afterwards (a record was added
  // or removed, or the selection was reshaped).
  std::optional<TPropertyMode> PropertyMode;
  bool Values = false;              // project values (grid, heights range, PgInc)
  std::uint8_t UnitFields = 0;      // of Values: the edit boxes whose value changed (UnitBit)
  bool History = false;             // the Undo and Redo commands
  bool Modified = false;            // the modified state

  static constexpr std::uint8_t UnitBit(TUnitField field) {
    return static_cast<std::uint8_t>(1u << static_cast<unsigned>(field));
  }
  bool HasUnitField(TUnitField field) const { return (UnitFields & UnitBit(field)) != 0; }

  // Nodes or polygons came or went, or polygons changed corners: indices and neighbours are new.
  bool Topology() const { return Everything || NodesAddedOrRemoved || PolygonsAddedOrRemoved || PolygonsRewired; }
  // Anything a view of the mesh shows: positions, topology or the selection.
  bool Mesh() const { return Topology() || !MovedNodes.empty() || Selection; }

  // Both in one (a transaction's parts).
  void Add(const TChangeSet& other);

  // An edit recorded in the history: it modified the document.
  static TChangeSet Edit() {
    TChangeSet changes;
    changes.History = true;
    changes.Modified = true;
    return changes;
  }
  // The document was replaced or rebuilt (New, Open, a new mesh, an import): every window reads it
  // anew, its history and modified state included.
  static TChangeSet Rebuilt() {
    TChangeSet changes;
    changes.Everything = true;
    changes.Records = true;
    changes.Values = true;
    changes.History = true;
    changes.Modified = true;
    return changes;
  }

  friend bool operator==(const TChangeSet&, const TChangeSet&) = default;
};

}  // namespace terravel
