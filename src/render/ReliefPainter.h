#pragma once
// A shaded relief of the terrain seen from above, for judging a heightmap import at a glance: each
// polygon in the gradient colour of its mean height, lit from the top left of the view by its
// normal (hill-shading).
#include <QImage>

namespace terravel {

class TEditor;

// The view as the project's values place it (pan, zoom), the editor's viewport size, on white.
QImage RenderRelief(const TEditor& editor);

}  // namespace terravel
