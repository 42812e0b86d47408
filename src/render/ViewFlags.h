#pragma once
// The display switches of the viewport that are not saved with the project (ShowZ is saved with
// it and lives in the view state, model/view/ViewState.h).

namespace terravel {

struct TViewFlags {
  bool ShowNodeNames = false;     // every named node labelled with its name
  bool ShowPolygonNames = false;  // every named polygon labelled with its name
  bool ShowTextureNames = false;  // every polygon labelled with texture and orientation
  bool GradientLines = true;      // outlines drawn pixel by pixel in gradient colours
  bool ShowPosition = false;      // position readout and centre cross
  bool ShowScale = false;         // scale readout
  bool ViewportFocused = false;   // highlight frame while the viewport has the keyboard focus
};

}  // namespace terravel
