#pragma once
// The two record types of a terrain project: nodes (points) and polygons (triangles).
#include <cstdint>
#include <string>

namespace terravel {

// A node. BaseX/BaseY hold the committed position while a drag moves X/Y live; outside a drag
// they equal X and Y. Names change only through TCoordList::SetName (the list keeps a name index).
struct T3DCoord {
  std::string Group;
  std::string Name;
  float X = 0;
  float Y = 0;
  float Z = 0;
  bool Selected = false;
  float BaseX = 0;
  float BaseY = 0;
};

inline constexpr std::int32_t kAutomaticColor = -1;

// A triangle: three corner indices into the node list, in winding order. Color is -1 for the
// automatic gradient colour, otherwise 0x00BBGGRR. Names change only through TPolyList::SetName.
struct TPoly {
  std::string Group;
  std::string Name;
  std::int32_t Node1 = 0;
  std::int32_t Node2 = 0;
  std::int32_t Node3 = 0;
  std::int32_t Color = kAutomaticColor;
  std::string Texture;
  bool Selected = false;
};

inline constexpr const char* kDefaultTexture = "GenEarth.Grass";

}  // namespace terravel
