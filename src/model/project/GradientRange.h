#pragma once
// The gradient's MinZ and MaxZ fitted to the heights of the terrain: the lowest and the highest
// finite node Z. A terrain without nodes or with one height has no range to fit.
#include <optional>

namespace terravel {

class TEditor;

struct TTerrainHeights {
  float Lowest = 0;
  float Highest = 0;
};

// None when fewer than two different finite heights exist.
std::optional<TTerrainHeights> TerrainHeightRange(const TEditor& editor);

// Sets MinZ and MaxZ without a history step (a project just made from an import) and shows them.
void SetGradientToTerrain(TEditor& editor);

// "Fit Gradient to Terrain": both values as one step; nothing when there is no range or the
// values are already so.
void DoFitGradientToTerrain(TEditor& editor);

}  // namespace terravel
