#pragma once
#include <cstdint>

namespace terravel {

// The values of the document beside its nodes and polygons, changed through actions. GridX and
// GridY always hold the same step (0 = no grid). The project file stores them together with the
// top view's pan, zoom and ShowZ (model/view/ViewState.h), which are not the document's.
struct TProjectValues {
  float MinZ = 0;
  float MaxZ = 1024;
  float PgInc = 64;
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
