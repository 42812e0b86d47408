#include "model/scene3d/Camera3D.h"

#include <algorithm>
#include <numbers>

namespace terravel {

namespace {

constexpr double kRadians = std::numbers::pi / 180;
// Far plane over near plane at most: the depth buffer keeps its precision.
constexpr double kDepthRatio = 1e-5;

double SceneRadius(const TBox3& box) {
  return box.Empty() ? 1 : std::max(Length(box.Max - box.Min) / 2, 1.0);
}

}  // namespace

void TCamera3D::SetViewport(int width, int height) {
  width_ = std::max(width, 1);
  height_ = std::max(height, 1);
}

TVec3 TCamera3D::Forward() const {
  const double a = Azimuth * kRadians;
  const double e = Elevation * kRadians;
  return {std::cos(e) * std::sin(a), std::cos(e) * std::cos(a), -std::sin(e)};
}

TVec3 TCamera3D::Right() const {
  const double a = Azimuth * kRadians;
  return {std::cos(a), -std::sin(a), 0};
}

TVec3 TCamera3D::Up() const { return Cross(Right(), Forward()); }

TVec3 TCamera3D::Eye() const { return Focus - Forward() * Distance; }

double TCamera3D::FarPlane() const {
  const TVec3 eye = Eye();
  double farthest = 0;
  if (!bounds_.Empty()) {
    for (int corner = 0; corner < 8; ++corner) {
      const TVec3 p{corner & 1 ? bounds_.Max.X : bounds_.Min.X, corner & 2 ? bounds_.Max.Y : bounds_.Min.Y,
                    corner & 4 ? bounds_.Max.Z : bounds_.Min.Z};
      farthest = std::max(farthest, Dot(p - eye, Forward()));
    }
  }
  return std::max({farthest * 1.01, Distance * 2, 1.0});
}

double TCamera3D::NearPlane() const {
  const double farPlane = FarPlane();
  double nearest = farPlane;
  if (!bounds_.Empty()) {
    const TVec3 eye = Eye();
    const TVec3 closest{std::clamp(eye.X, bounds_.Min.X, bounds_.Max.X), std::clamp(eye.Y, bounds_.Min.Y, bounds_.Max.Y),
                        std::clamp(eye.Z, bounds_.Min.Z, bounds_.Max.Z)};
    nearest = Length(closest - eye);
  }
  return std::max(nearest * 0.9, farPlane * kDepthRatio);
}

TMat4 TCamera3D::View() const { return LookAt(Eye(), Eye() + Forward(), Up()); }

TMat4 TCamera3D::Projection() const {
  return Perspective(kFieldOfView * kRadians, static_cast<double>(width_) / height_, NearPlane(), FarPlane());
}

bool TCamera3D::Project(const TVec3& point, TScreenPosition& out) const {
  const TVec4 clip = ViewProjection() * TVec4{point.X, point.Y, point.Z, 1};
  if (clip.W <= 0) return false;
  out.X = (clip.X / clip.W + 1) / 2 * width_;
  out.Y = (1 - clip.Y / clip.W) / 2 * height_;
  out.Depth = (clip.Z / clip.W + 1) / 2;
  return true;
}

TVec3 TCamera3D::Unproject(const TScreenPosition& position) const {
  const TVec4 ndc{2 * position.X / width_ - 1, 1 - 2 * position.Y / height_, 2 * position.Depth - 1, 1};
  const TVec4 p = Inverse(ViewProjection()) * ndc;
  return {p.X / p.W, p.Y / p.W, p.Z / p.W};
}

TRay TCamera3D::RayThrough(double x, double y) const {
  const TVec3 eye = Eye();
  const double tanHalf = std::tan(kFieldOfView * kRadians / 2);
  const double aspect = static_cast<double>(width_) / height_;
  const double nx = (2 * x / width_ - 1) * tanHalf * aspect;
  const double ny = (1 - 2 * y / height_) * tanHalf;
  return {eye, Normalized(Forward() + Right() * nx + Up() * ny)};
}

void TCamera3D::ClampElevation() { Elevation = std::clamp(Elevation, -90.0, 90.0); }

double TCamera3D::MinimumDistance() const { return SceneRadius(bounds_) * 1e-3; }

void TCamera3D::Orbit(double azimuthDegrees, double elevationDegrees) {
  Azimuth = std::fmod(Azimuth + azimuthDegrees, 360.0);
  Elevation += elevationDegrees;
  ClampElevation();
}

void TCamera3D::Pan(double dx, double dy) {
  const double unitsPerPixel = 2 * Distance * std::tan(kFieldOfView * kRadians / 2) / height_;
  Focus = Focus - Right() * (dx * unitsPerPixel) + Up() * (dy * unitsPerPixel);
}

void TCamera3D::ZoomTowards(const TVec3& point, double factor) {
  if (!(factor > 0)) return;
  const double distance = std::max(Distance * factor, MinimumDistance());
  const double applied = distance / Distance;
  // Eye and focus both shrink towards the point, so the directions from the eye stay.
  const TVec3 eye = point + (Eye() - point) * applied;
  Distance = distance;
  Focus = eye + Forward() * Distance;
}

void TCamera3D::Fly(double forward, double right, double up) {
  Focus = Focus + Forward() * forward + Right() * right + TVec3{0, 0, up};
}

void TCamera3D::Look(double azimuthDegrees, double elevationDegrees) {
  const TVec3 eye = Eye();
  Azimuth = std::fmod(Azimuth + azimuthDegrees, 360.0);
  Elevation += elevationDegrees;
  ClampElevation();
  Focus = eye + Forward() * Distance;
}

void TCamera3D::Frame(const std::vector<TVec3>& points) {
  if (points.empty()) return;
  TBox3 box;
  for (const TVec3& p : points) box.Add(p);
  const TVec3 centre = box.Centre();
  double radius = 0;
  for (const TVec3& p : points) radius = std::max(radius, Length(p - centre));
  radius = std::max(radius, SceneRadius(bounds_) * 0.01);
  // The sphere around the points fits the narrower of the two angles of view, with a margin.
  const double halfY = kFieldOfView * kRadians / 2;
  const double halfX = std::atan(std::tan(halfY) * width_ / height_);
  Focus = centre;
  Distance = radius / std::sin(std::min(halfX, halfY)) * 1.05;
}

}  // namespace terravel
