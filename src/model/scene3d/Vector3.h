#pragma once
// Small vector and matrix types of the 3-D view: double precision for the camera and the ray cast;
// matrices are column-major, as OpenGL takes them.
#include <array>
#include <cmath>

namespace terravel {

struct TVec3 {
  double X = 0;
  double Y = 0;
  double Z = 0;

  friend TVec3 operator+(const TVec3& a, const TVec3& b) { return {a.X + b.X, a.Y + b.Y, a.Z + b.Z}; }
  friend TVec3 operator-(const TVec3& a, const TVec3& b) { return {a.X - b.X, a.Y - b.Y, a.Z - b.Z}; }
  friend TVec3 operator*(const TVec3& a, double s) { return {a.X * s, a.Y * s, a.Z * s}; }
  friend TVec3 operator*(double s, const TVec3& a) { return a * s; }
  friend bool operator==(const TVec3&, const TVec3&) = default;
};

inline double Dot(const TVec3& a, const TVec3& b) { return a.X * b.X + a.Y * b.Y + a.Z * b.Z; }
inline TVec3 Cross(const TVec3& a, const TVec3& b) {
  return {a.Y * b.Z - a.Z * b.Y, a.Z * b.X - a.X * b.Z, a.X * b.Y - a.Y * b.X};
}
inline double Length(const TVec3& a) { return std::sqrt(Dot(a, a)); }
// The zero vector stays zero.
inline TVec3 Normalized(const TVec3& a) {
  const double length = Length(a);
  return length > 0 ? a * (1 / length) : a;
}

// An axis-aligned box; empty until a point is added.
struct TBox3 {
  TVec3 Min{1, 1, 1};
  TVec3 Max{-1, -1, -1};

  bool Empty() const { return Min.X > Max.X; }
  void Add(const TVec3& p) {
    if (Empty()) {
      Min = Max = p;
      return;
    }
    Min = {std::fmin(Min.X, p.X), std::fmin(Min.Y, p.Y), std::fmin(Min.Z, p.Z)};
    Max = {std::fmax(Max.X, p.X), std::fmax(Max.Y, p.Y), std::fmax(Max.Z, p.Z)};
  }
  TVec3 Centre() const { return (Min + Max) * 0.5; }
};

struct TVec4 {
  double X = 0;
  double Y = 0;
  double Z = 0;
  double W = 0;
};

// Column-major: M[column * 4 + row].
struct TMat4 {
  std::array<double, 16> M{};

  static TMat4 Identity() {
    TMat4 m;
    m.M[0] = m.M[5] = m.M[10] = m.M[15] = 1;
    return m;
  }
  double& At(int row, int column) { return M[static_cast<std::size_t>(column * 4 + row)]; }
  double At(int row, int column) const { return M[static_cast<std::size_t>(column * 4 + row)]; }

  TVec4 operator*(const TVec4& v) const {
    TVec4 r;
    r.X = At(0, 0) * v.X + At(0, 1) * v.Y + At(0, 2) * v.Z + At(0, 3) * v.W;
    r.Y = At(1, 0) * v.X + At(1, 1) * v.Y + At(1, 2) * v.Z + At(1, 3) * v.W;
    r.Z = At(2, 0) * v.X + At(2, 1) * v.Y + At(2, 2) * v.Z + At(2, 3) * v.W;
    r.W = At(3, 0) * v.X + At(3, 1) * v.Y + At(3, 2) * v.Z + At(3, 3) * v.W;
    return r;
  }
  friend TMat4 operator*(const TMat4& a, const TMat4& b) {
    TMat4 r;
    for (int row = 0; row < 4; ++row)
      for (int column = 0; column < 4; ++column) {
        double sum = 0;
        for (int k = 0; k < 4; ++k) sum += a.At(row, k) * b.At(k, column);
        r.At(row, column) = sum;
      }
    return r;
  }
  // The float copy handed to a shader.
  std::array<float, 16> Floats() const {
    std::array<float, 16> f{};
    for (std::size_t i = 0; i < 16; ++i) f[i] = static_cast<float>(M[i]);
    return f;
  }
};

// A right-handed view looking from eye towards target.
TMat4 LookAt(const TVec3& eye, const TVec3& target, const TVec3& up);
// OpenGL's perspective projection (depth -1..1); fovY in radians.
TMat4 Perspective(double fovY, double aspect, double nearPlane, double farPlane);
// The inverse by cofactors; the identity when the matrix is singular.
TMat4 Inverse(const TMat4& m);

}  // namespace terravel
