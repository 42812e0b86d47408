#pragma once

namespace terravel {

// What the properties window shows for the current selection.
enum class TPropertyMode { pmNone, pmPolys, pmNodes, pmNode, pmPoly, pmBoth };

// The mode that fits n selected nodes and p selected polygons; pmNone when nothing is selected.
inline TPropertyMode PropertyModeFor(int n, int p) {
  if (n >= 1 && p >= 1) return TPropertyMode::pmBoth;
  if (n == 1) return TPropertyMode::pmNode;
  if (n >= 2) return TPropertyMode::pmNodes;
  if (p == 1) return TPropertyMode::pmPoly;
  if (p >= 2) return TPropertyMode::pmPolys;
  return TPropertyMode::pmNone;
}

}  // namespace terravel
