#pragma once
// The top view's own state: where it looks, how large it is, and whether it labels every node with
// its Z. None of it is the document: changing it is no edit, records no history, marks nothing
// modified and reaches no view that shows the document from elsewhere (the 3-D view). The project
// file still stores pan, zoom and ShowZ: saving copies them out of here, opening copies them in.
#include "model/document/ProjectValues.h"

namespace terravel {

// The viewport's client size in pixels; the back buffer and the pick buffer have the same size.
struct TViewportSize {
  int Width = 960;
  int Height = 594;
};

struct TViewState {
  // Screen displacement, in pixels, of the world origin from the viewport centre.
  float PanX = 0;
  float PanY = 0;
  float Zoom = kDefaultZoom;  // pixels per world unit
  bool ShowZ = true;          // every node labelled with its Z
  TViewportSize Size;
};

}  // namespace terravel
