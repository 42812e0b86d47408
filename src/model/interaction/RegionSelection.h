#pragma once
// What a region drawn over the top view selects: the nodes whose X and Y lie inside its outline
// and the polygons whose three corners do. The outline is a rectangle or a lasso, closed from its
// last point back to its first; inside follows the even-odd rule.
#include <vector>

#include "model/view/ViewTransform.h"

namespace terravel {

class TEditor;

struct TRegionHits {
  std::vector<int> Nodes;     // ascending
  std::vector<int> Polygons;  // ascending
};

bool InsideOutline(const std::vector<TWorldPoint>& outline, double x, double y);
TRegionHits RecordsInRegion(const TEditor& editor, const std::vector<TWorldPoint>& outline);

// One "Select Region" step: the records inside become the selection, or join it when adding.
// Nothing is recorded when the selection would stay as it is.
void DoSelectRegion(TEditor& editor, const std::vector<TWorldPoint>& outline, bool add);

}  // namespace terravel
