#pragma once
// The options of the Unreal map export: how the terrain becomes closed brushes for UnrealEd's CSG.
#include <optional>
#include <string>

namespace terravel {

// What the terrain's solid is to UnrealEd.
enum class TCsgMode {
  Subtract,   // the ground is the floor of a subtracted space under a flat ceiling
  Add,        // the ground is the top of an added solid on a flat floor
  Semisolid,  // as Add, the brush semisolid
};

struct TMapExportOptions {
  TCsgMode Csg = TCsgMode::Subtract;
  std::optional<double> Ceiling;  // Subtract; none: the highest node + 512
  std::optional<double> Floor;    // Add, Semisolid; none: the lowest node - 256
  std::string SideTexture;        // walls and caps; empty: the ground's most used texture
  bool InvisibleSides = false;
  double TileSize = 2048;    // world units, tiles aligned to multiples of it from 0
  int MaxBrushPolygons = 0;  // a tile of more polygons is halved until it fits; 0: no limit
  double Snap = 1;           // grid of the written vertices; 0: as stored
  bool Force = false;        // write polygons that snapping spoils, and list them
  double TextureScale = 1;   // texels per world unit
  bool Room = false;         // a subtracted box around the terrain, a light and a player start
};

}  // namespace terravel
