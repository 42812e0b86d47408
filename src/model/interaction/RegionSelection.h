#pragma once
// What a region drawn over the top view selects: the nodes whose X and Y lie inside its outline
// and the polygons whose three corners do. The outline is a rectangle or a lasso, closed from its
// last point back to its first; inside follows the even-odd rule. A region drawn over another
// view (the 3-D view) goes by where that view shows each node, with the same rules.
#include <vector>

#include "model/view/ViewTransform.h"

namespace terravel {

class TEditor;

struct TRegionHits {
  std::vector<int> Nodes;     // ascending
  std::vector<int> Polygons;  // ascending
};

// Where a view shows a node, in that view's pixels; a node the view does not show (behind the
// eye, at no finite place) is never inside.
struct TRegionPlace {
  float X = 0;
  float Y = 0;
  bool Shown = false;
};

bool InsideOutline(const std::vector<TWorldPoint>& outline, double x, double y);
TRegionHits RecordsInRegion(const TEditor& editor, const std::vector<TWorldPoint>& outline);
// An outline drawn in another view's pixels; places[i] is where node i shows there, and nodes
// beyond the list are not shown.
TRegionHits RecordsInRegion(const TEditor& editor, const std::vector<TScreenPoint>& outline,
                            const std::vector<TRegionPlace>& places);

// One "Select Region" step: the records inside become the selection, or join it when adding.
// Nothing is recorded when the selection would stay as it is.
void DoSelectRegion(TEditor& editor, const std::vector<TWorldPoint>& outline, bool add);
void DoSelectRegion(TEditor& editor, const std::vector<TScreenPoint>& outline,
                    const std::vector<TRegionPlace>& places, bool add);

}  // namespace terravel
