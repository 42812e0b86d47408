#pragma once
// What every fuzz target checks after a reader accepted its input: the document is one the rest
// of the program can work on. A broken rule aborts, so libFuzzer keeps the input as a crash.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "model/editor/Editor.h"

namespace terravel::fuzz {

[[noreturn]] inline void Fail(const std::string& what) {
  std::fprintf(stderr, "fuzz check failed: %s\n", what.c_str());
  std::abort();
}

inline void Check(bool condition, const char* what) {
  if (!condition) Fail(what);
}

// Corners name existing nodes, and the selection counts match the Selected flags.
inline void CheckConsistent(const TEditor& editor) {
  int selectedNodes = 0, selectedPolygons = 0;
  for (const T3DCoord& node : editor.Nodes) selectedNodes += node.Selected ? 1 : 0;
  for (const TPoly& polygon : editor.Polygons) {
    selectedPolygons += polygon.Selected ? 1 : 0;
    for (const auto corner : {polygon.Node1, polygon.Node2, polygon.Node3})
      Check(corner >= 0 && corner < editor.Nodes.Count(), "a polygon corner names no node");
  }
  Check(selectedNodes == editor.State.SelectedNodeCount(), "selected node count");
  Check(selectedPolygons == editor.State.SelectedPolygonCount(), "selected polygon count");
}

}  // namespace terravel::fuzz
