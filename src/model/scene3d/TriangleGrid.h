#pragma once
// A uniform grid over the scene's ground plan that lists, per cell, the polygons whose plan box
// touches it: a ray visits the cells under its path in order and tests only their triangles. Built
// once; an edit moves only the polygons it changed, unless one leaves the grid's area.
#include <array>
#include <limits>
#include <vector>

#include "model/scene3d/Camera3D.h"
#include "model/scene3d/MeshBuffers.h"

namespace terravel {

struct TRayHit {
  int Polygon = -1;
  double T = std::numeric_limits<double>::infinity();  // distance along the ray
};

class TTriangleGrid {
 public:
  void Build(const TMeshBuffers& mesh);
  // Brings the grid in line after an update of the mesh.
  void Apply(const TMeshBuffers& mesh, const TMeshUpdate& update);
  // The nearest triangle the ray meets in front of its origin. A ray through an edge or a corner
  // meets the triangles there (the test includes their borders).
  TRayHit Cast(const TMeshBuffers& mesh, const TRay& ray) const;

 private:
  struct TCellRange {
    int X0 = 0, Y0 = 0, X1 = -1, Y1 = -1;  // empty when X1 < X0
  };
  TCellRange RangeOf(const TMeshBuffers& mesh, int polygon, bool& inside) const;
  void Insert(int polygon, const TCellRange& range);
  void Remove(int polygon, const TCellRange& range);
  std::vector<int>& Cell(int x, int y) { return cells_[static_cast<std::size_t>(y * columns_ + x)]; }
  const std::vector<int>& Cell(int x, int y) const { return cells_[static_cast<std::size_t>(y * columns_ + x)]; }

  double minX_ = 0, minY_ = 0, cellSize_ = 1;
  int columns_ = 0, rows_ = 0;
  std::vector<std::vector<int>> cells_;
  std::vector<TCellRange> ranges_;  // per polygon
};

// The distance along the ray to the triangle, borders included; infinity when it misses.
double RayTriangle(const TRay& ray, const TVec3& a, const TVec3& b, const TVec3& c);

}  // namespace terravel
