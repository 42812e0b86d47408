#pragma once
// The terrain as UnrealEd's brushes: the ground cut into tiles, each tile a closed solid (its
// triangles, walls hanging from its outline and a flat cap), the sky polygons as two-sided sheets,
// every vertex on the grid. Every polygon is planar and convex with at most 16 vertices, and its
// normal, (v1 - v0) x (v2 - v0), points out of its brush.
#include <cstdint>
#include <string>
#include <vector>

#include "model/formats/MapExportOptions.h"

namespace terravel {

class TCoordList;
class TPolyList;

// UnrealEd's polygon flags used here.
inline constexpr std::uint32_t kPolyInvisible = 1;
inline constexpr std::uint32_t kPolyNotSolid = 8;
inline constexpr std::uint32_t kPolySemisolid = 32;
inline constexpr std::uint32_t kPolyTwoSided = 256;

struct TMapPoint {
  float X = 0;
  float Y = 0;
  float Z = 0;
  bool operator==(const TMapPoint&) const = default;
};

struct TMapPolygon {
  std::vector<TMapPoint> Vertices;
  std::string Texture;  // empty: none
  std::uint32_t Flags = 0;
  // The texture's axes; the texture origin is the world's origin for every polygon.
  TMapPoint TextureU;
  TMapPoint TextureV;
  int Source = -1;  // the document's polygon, or -1 for walls and caps
};

enum class TBrushRole { Terrain, Sky, Room };

struct TMapBrush {
  TBrushRole Role = TBrushRole::Terrain;
  bool Subtract = false;  // CsgOper: CSG_Subtract, else CSG_Add
  std::uint32_t PolyFlags = 0;
  std::vector<TMapPolygon> Polygons;
};

struct TMapActor {
  std::string Class;  // "Light", "PlayerStart"
  TMapPoint Location;
};

struct TMapBrushes {
  std::vector<TMapBrush> Brushes;  // in CSG order: the room first
  std::vector<TMapActor> Actors;
  std::vector<std::string> Forced;   // polygons written although snapping spoilt them
  std::vector<int> ForcedPolygons;   // the same polygons' indices
  double LargestZChange = 0;         // by snapping
  std::size_t LargestBrush() const;  // polygons of the largest brush
  std::size_t PolygonCount() const;
};

// The brushes of the ground and sky polygons. Throws ETerravelError naming the polygon for a
// texture name UnrealEd cannot hold, for a triangle that snapping makes degenerate or turns over
// (unless options.Force), and for a ceiling or floor that does not clear the ground.
TMapBrushes BuildMapBrushes(const TCoordList& nodes, const TPolyList& polygons,
                            const TMapExportOptions& options);

// What names a polygon in messages: polygon 12 "Hill".
std::string PolygonLabel(int index, const std::string& name);

// A texture name UnrealEd can hold: letters, digits, "_" and "-", in parts joined by single dots.
bool IsUnrealName(const std::string& name);

// The corners snapped to multiples of the grid (0: unchanged), in single precision.
float SnapToGrid(float value, double grid);

// The normal of the first three vertices, (v1 - v0) x (v2 - v0), not normalised.
TMapPoint PolygonNormal(const TMapPolygon& polygon);

}  // namespace terravel
