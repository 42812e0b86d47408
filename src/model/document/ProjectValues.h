#pragma once
#include <cstdint>

namespace terravel {

// The values saved with a project beside its nodes and polygons. PanX/PanY are the screen
// displacement, in pixels, of the world origin from the viewport centre; Zoom is pixels per world
// unit; GridX and GridY always hold the same step (0 = no grid).
struct TProjectValues {
  float MinZ = 0;
  float MaxZ = 1024;
  float PgInc = 64;
  bool ShowZ = true;
  float PanX = 0;
  float PanY = 0;
  float Zoom = 0.5f;
  std::int32_t GridX = 64;
  std::int32_t GridY = 64;
};

// The values a file without a trailer gets, and that a new project starts from.
inline constexpr float kDefaultMinZ = 0;
inline constexpr float kDefaultMaxZ = 1024;
inline constexpr float kDefaultPgInc = 64;
inline constexpr float kDefaultZoom = 0.5f;
inline constexpr std::int32_t kDefaultGrid = 64;

}  // namespace terravel
