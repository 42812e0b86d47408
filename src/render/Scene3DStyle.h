#pragma once
// How the 3-D view draws: the light, the tints and the switches. The renderer's shaders and the
// picture tests take the light from here.
#include <QRgb>

#include "model/document/ProjectValues.h"
#include "model/scene3d/Vector3.h"

namespace terravel {

struct TScene3DStyle {
  float MinZ = 0;
  float MaxZ = 0;
  QRgb Background = 0xFF5A6470;
  QRgb Selection = 0xFF0078D7;
  QRgb SkyTint = 0xFF8CA0C8;  // blue-grey, mixed half and half with the lit colour
  QRgb NodeColour = 0xFF101010;
  bool ShowNodes = true;  // as dots, where they stand apart on screen
  bool Wireframe = false;
};

// The light: ambient plus one directional light from above and behind the south-west.
inline constexpr double kAmbient = 0.35;
inline constexpr double kDiffuse = 0.65;
inline TVec3 LightDirection() { return Normalized(TVec3{-0.3, -0.4, 0.866}); }
// The factor by which a surface with this normal scales its colour (both faces are lit alike).
inline double LightFactor(const TVec3& normal) {
  const double d = Dot(Normalized(normal), LightDirection());
  return kAmbient + kDiffuse * (d < 0 ? -d : d);
}

// MinZ, MaxZ and the selection colour of the top view.
TScene3DStyle StyleFor(const TProjectValues& values);

}  // namespace terravel
