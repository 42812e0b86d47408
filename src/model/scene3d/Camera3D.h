#pragma once
// The camera of the 3-D view: it orbits a focus point (azimuth and elevation in degrees, distance in
// scene units), pans, zooms towards a point and flies. Scene space is world X, minus world Y and
// the exaggerated Z, so that seen from straight above the picture stands as in the top view.
// Pixels count from the top left corner of the viewport, y downwards.
#include <vector>

#include "model/scene3d/Vector3.h"

namespace terravel {

struct TRay {
  TVec3 Origin;
  TVec3 Direction;  // unit length
};

// A point on screen: pixels, and the depth 0 (near plane) .. 1 (far plane).
struct TScreenPosition {
  double X = 0;
  double Y = 0;
  double Depth = 0;
};

class TCamera3D {
 public:
  static constexpr double kFieldOfView = 45;  // vertical, degrees

  TVec3 Focus;
  double Azimuth = 30;    // around the vertical; 0 looks along scene +Y (north in the top view)
  double Elevation = 45;  // -90 (from below) .. 90 (straight down)
  double Distance = 1000;

  void SetViewport(int width, int height);
  int Width() const { return width_; }
  int Height() const { return height_; }
  // The box of everything drawn; the near and far planes are chosen from it.
  void SetSceneBounds(const TBox3& bounds) { bounds_ = bounds; }

  TVec3 Eye() const;
  TVec3 Forward() const;
  TVec3 Right() const;
  TVec3 Up() const;
  // Near and far planes: everything in the scene bounds lies between them.
  double NearPlane() const;
  double FarPlane() const;
  TMat4 View() const;
  TMat4 Projection() const;
  TMat4 ViewProjection() const { return Projection() * View(); }

  // False for a point behind the eye.
  bool Project(const TVec3& point, TScreenPosition& out) const;
  TVec3 Unproject(const TScreenPosition& position) const;
  TRay RayThrough(double x, double y) const;

  void Orbit(double azimuthDegrees, double elevationDegrees);
  // Moves the focus so that the scene follows the pointer by the given pixels.
  void Pan(double dx, double dy);
  // factor < 1 comes closer; the point keeps its place on screen.
  void ZoomTowards(const TVec3& point, double factor);
  // Moves eye and focus together along the view's own axes, in scene units.
  void Fly(double forward, double right, double up);
  // Turns the view around the eye (fly mode's mouse look).
  void Look(double azimuthDegrees, double elevationDegrees);
  // Looks at the points from the current direction, near enough to fill the view and far enough
  // that every point is on screen at any aspect ratio. Nothing happens without points.
  void Frame(const std::vector<TVec3>& points);

 private:
  void ClampElevation();
  double MinimumDistance() const;

  int width_ = 800;
  int height_ = 600;
  TBox3 bounds_;
};

}  // namespace terravel
