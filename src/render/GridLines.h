#pragma once
// The grid under the mesh. Zoomed out, only every 2^L-th line is drawn (L from the grid step in
// pixels), so drawn lines stay about 8 pixels apart; every 8th line is darker.
#include "render/Raster.h"

namespace terravel {

class TEditor;

// L = -Round(log2(g * Zoom * 0.125)); line k is drawn when L <= 0 or 2^L divides k.
int GridLevel(int grid, float zoom);

// Draws the vertical lines, then the horizontal ones; nothing when the grid size is 0.
void DrawGrid(TRaster& raster, const TEditor& editor);

}  // namespace terravel
