#pragma once
// The terrain check: what in a terrain would cut or hole UnrealEd's BSP, found before UnrealEd
// finds it, and what the map export would make of the terrain. Each problem names the nodes or
// polygons it is about, so that a window can select them.
#include <string>
#include <vector>

#include "model/document/CoordList.h"

namespace terravel {

class TEditor;

enum class TTerrainProblemKind {
  OffGrid,      // a node not on multiples of the grid
  Sliver,       // a triangle with an angle under a degree or an area under a unit
  TJunction,    // a node on another polygon's edge without being its corner
  CrowdedEdge,  // an edge of more than two polygons
  Overlap,      // two ground (or two sky) polygons overlapping in plan view
  MixedEdge,    // a ground and a sky polygon on one edge
  Texture,      // a texture name UnrealEd cannot hold
  Snapping,     // a triangle that snapping would make degenerate or turn over
};

struct TTerrainProblem {
  TTerrainProblemKind Kind = TTerrainProblemKind::OffGrid;
  std::string Text;  // one line for the user
  std::vector<int> Nodes;
  std::vector<int> Polygons;
};

struct TTerrainCheck {
  std::vector<TTerrainProblem> Problems;
  // The map export with its defaults and the grid: brushes, polygons of the largest, on average.
  std::size_t Brushes = 0;
  std::size_t LargestBrush = 0;
  double PolygonsPerBrush = 0;
  std::string ExportError;  // why the export would stop, or empty
};

// The word of a kind in the command line's JSON ("off-grid", "sliver", ...).
const char* ProblemKindWord(TTerrainProblemKind kind);

// Checks every node and polygon; grid 0 leaves the grid and snapping out.
TTerrainCheck CheckTerrain(const TCoordList& nodes, const TPolyList& polygons, double grid);

// Selects the problem's nodes and polygons, and nothing else, through the request functions.
void SelectProblem(TEditor& editor, const TTerrainProblem& problem);

// The report's lines: every problem, then what the map export would make.
std::vector<std::string> TerrainCheckLines(const TTerrainCheck& check);

}  // namespace terravel
