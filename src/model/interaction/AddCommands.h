#pragma once
// "Add node here" and the add-polygon commands: what they create and select. The window supplies
// the pointer position and shows the message that fits the outcome.
#include "model/view/ViewTransform.h"

namespace terravel {

class TEditor;

enum class TPolygonKind { Ground, Sky };

// Where the corners come from: the nodes nearest a point (the viewport popup's items), or exactly
// three selected nodes and otherwise the nodes nearest the pointer (Ctrl+D, Ctrl+K, the popup of a
// selection).
enum class TPolygonSource { NearPoint, SelectionOrPoint };

enum class TAddPolygonOutcome {
  Added,
  TooFewNodes,     // fewer than three nodes in the project
  NearbyExists,    // every nearby choice repeats or overlaps a polygon, or the nearby polygon exists
  SelectedExists,  // the three selected nodes already form a polygon
  Degenerate,      // the corners lie on one line
};

// A node at the viewport pixel (snapped to the grid when snapping is on), at Z 0, as the only
// selected object.
void AddNodeAt(TEditor& editor, int px, int py);

// True when the command takes the three selected nodes and needs no point.
bool PolygonFromSelection(const TEditor& editor, TPolygonSource source);

// Adds a polygon of the kind, oriented for it, as the only selected object. When a polygon with
// exactly those corners exists, it becomes the only selection instead, without an action of its
// own.
TAddPolygonOutcome AddPolygon(TEditor& editor, TPolygonKind kind, TPolygonSource source, TWorldPoint at);

}  // namespace terravel
