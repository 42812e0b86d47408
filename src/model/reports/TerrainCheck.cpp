#include "model/reports/TerrainCheck.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <numbers>
#include <unordered_map>

#include "model/actions/Requests.h"
#include "model/core/Errors.h"
#include "model/document/Orientation.h"
#include "model/formats/MapBrushes.h"

namespace terravel {

namespace {

constexpr double kSliverAngle = 1;  // degrees
constexpr double kSliverArea = 1;   // square units

std::string Number(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(value));
  return std::string(buffer, result.ptr);
}

std::string NodeLabel(const TCoordList& nodes, int index) {
  const std::string& name = nodes[index].Name;
  return "node " + std::to_string(index) + (name.empty() ? "" : " \"" + name + "\"");
}

std::string Label(const TPolyList& polygons, int index) {
  return PolygonLabel(index, polygons[index].Name);
}

std::array<int, 3> Corners(const TPoly& p) {
  return {p.Node1, p.Node2, p.Node3};
}

// A hash of plan-view cells, each holding the items whose box touches it.
class TPlanGrid {
 public:
  explicit TPlanGrid(double cell) : cell_(cell > 0 ? cell : 1) {}
  long long Cell(double v) const { return static_cast<long long>(std::floor(v / cell_)); }
  static std::uint64_t Key(long long x, long long y) {
    return (static_cast<std::uint64_t>(x) << 32) ^ static_cast<std::uint64_t>(y & 0xffffffff);
  }
  void Add(int item, double x0, double y0, double x1, double y1) {
    for (long long x = Cell(x0); x <= Cell(x1); ++x)
      for (long long y = Cell(y0); y <= Cell(y1); ++y) cells_[Key(x, y)].push_back(item);
  }
  template <typename Visit>
  void Each(double x0, double y0, double x1, double y1, Visit visit) const {
    for (long long x = Cell(x0); x <= Cell(x1); ++x) {
      for (long long y = Cell(y0); y <= Cell(y1); ++y) {
        const auto found = cells_.find(Key(x, y));
        if (found != cells_.end())
          for (int item : found->second) visit(item, x, y);
      }
    }
  }
  const std::unordered_map<std::uint64_t, std::vector<int>>& Cells() const { return cells_; }

 private:
  double cell_;
  std::unordered_map<std::uint64_t, std::vector<int>> cells_;
};

void CheckGrid(const TCoordList& nodes, double grid, TTerrainCheck& check) {
  if (!(grid > 0)) return;
  for (int i = 0; i < nodes.Count(); ++i) {
    const T3DCoord& n = nodes[i];
    if (SnapToGrid(n.X, grid) == n.X && SnapToGrid(n.Y, grid) == n.Y && SnapToGrid(n.Z, grid) == n.Z)
      continue;
    check.Problems.push_back({TTerrainProblemKind::OffGrid,
                              NodeLabel(nodes, i) + " is off the grid of " + Number(grid) + " (X " +
                                  Number(n.X) + ", Y " + Number(n.Y) + ", Z " + Number(n.Z) + ")",
                              {i},
                              {}});
  }
}

void CheckSlivers(const TCoordList& nodes, const TPolyList& polygons, TTerrainCheck& check) {
  for (int i = 0; i < polygons.Count(); ++i) {
    const auto c = Corners(polygons[i]);
    double smallest = 180;
    double area = 0;
    for (int k = 0; k < 3; ++k) {
      const T3DCoord &a = nodes[c[k]], &b = nodes[c[(k + 1) % 3]], &o = nodes[c[(k + 2) % 3]];
      const double ux = double(a.X) - o.X, uy = double(a.Y) - o.Y, uz = double(a.Z) - o.Z;
      const double vx = double(b.X) - o.X, vy = double(b.Y) - o.Y, vz = double(b.Z) - o.Z;
      const double cx = uy * vz - uz * vy, cy = uz * vx - ux * vz, cz = ux * vy - uy * vx;
      const double cross = std::sqrt(cx * cx + cy * cy + cz * cz);
      area = cross / 2;
      smallest = std::min(smallest, std::atan2(cross, ux * vx + uy * vy + uz * vz) * 180 / std::numbers::pi);
    }
    if (smallest >= kSliverAngle && area >= kSliverArea) continue;
    check.Problems.push_back({TTerrainProblemKind::Sliver,
                              Label(polygons, i) + " is a sliver (smallest angle " + Number(smallest) +
                                  " degrees, area " + Number(area) + ")",
                              {},
                              {i}});
  }
}

struct TEdgeUse {
  std::vector<int> Polygons;
};

std::uint64_t EdgeKey(int a, int b) {
  if (a > b) std::swap(a, b);
  return (std::uint64_t{static_cast<std::uint32_t>(a)} << 32) | static_cast<std::uint32_t>(b);
}

void CheckEdges(const TCoordList& nodes, const TPolyList& polygons, const std::vector<char>& ground,
                std::unordered_map<std::uint64_t, TEdgeUse>& edges, TTerrainCheck& check) {
  std::vector<std::uint64_t> order;
  for (int i = 0; i < polygons.Count(); ++i) {
    const auto c = Corners(polygons[i]);
    for (int k = 0; k < 3; ++k) {
      auto& use = edges[EdgeKey(c[k], c[(k + 1) % 3])];
      if (use.Polygons.empty()) order.push_back(EdgeKey(c[k], c[(k + 1) % 3]));
      use.Polygons.push_back(i);
    }
  }
  for (std::uint64_t key : order) {
    const std::vector<int>& users = edges[key].Polygons;
    const int a = static_cast<int>(key >> 32), b = static_cast<int>(key & 0xffffffff);
    const std::string edge = "the edge from " + NodeLabel(nodes, a) + " to " + NodeLabel(nodes, b);
    if (users.size() > 2) {
      check.Problems.push_back({TTerrainProblemKind::CrowdedEdge,
                                edge + " belongs to " + std::to_string(users.size()) + " polygons",
                                {a, b},
                                users});
    }
    const bool anyGround = std::any_of(users.begin(), users.end(), [&](int p) { return ground[p] != 0; });
    const bool anySky = std::any_of(users.begin(), users.end(), [&](int p) { return ground[p] == 0; });
    if (anyGround && anySky) {
      check.Problems.push_back(
          {TTerrainProblemKind::MixedEdge, edge + " joins ground and sky polygons", {a, b}, users});
    }
  }
}

void CheckTJunctions(const TCoordList& nodes, const TPolyList& polygons,
                     const std::unordered_map<std::uint64_t, TEdgeUse>& edges, double cell,
                     TTerrainCheck& check) {
  std::vector<char> used(std::size_t(nodes.Count()), 0);
  for (const TPoly& p : polygons)
    for (int n : Corners(p)) used[std::size_t(n)] = 1;
  TPlanGrid grid(cell);
  for (int i = 0; i < nodes.Count(); ++i)
    if (used[std::size_t(i)] != 0) grid.Add(i, nodes[i].X, nodes[i].Y, nodes[i].X, nodes[i].Y);
  std::vector<std::pair<std::uint64_t, const TEdgeUse*>> sorted;
  for (const auto& [key, use] : edges) sorted.emplace_back(key, &use);
  std::sort(sorted.begin(), sorted.end());
  for (const auto& entry : sorted) {
    const std::uint64_t key = entry.first;
    const TEdgeUse* use = entry.second;  // a plain variable: lambdas cannot capture bindings in C++20
    const int a = static_cast<int>(key >> 32), b = static_cast<int>(key & 0xffffffff);
    const T3DCoord &pa = nodes[a], &pb = nodes[b];
    const double dx = double(pb.X) - pa.X, dy = double(pb.Y) - pa.Y, dz = double(pb.Z) - pa.Z;
    const double length2 = dx * dx + dy * dy;
    if (!(length2 > 0)) continue;
    const double length = std::sqrt(length2);
    grid.Each(
        std::min(pa.X, pb.X), std::min(pa.Y, pb.Y), std::max(pa.X, pb.X), std::max(pa.Y, pb.Y),
        [&](int n, long long, long long) {
          if (n == a || n == b) return;
          const T3DCoord& pn = nodes[n];
          const double ex = double(pn.X) - pa.X, ey = double(pn.Y) - pa.Y;
          const double t = (ex * dx + ey * dy) / length2;
          if (!(t > 0 && t < 1)) return;
          if (std::abs(dx * ey - dy * ex) / length > 1e-3) return;
          if (std::abs(pa.Z + t * dz - pn.Z) > 1e-2) return;
          check.Problems.push_back({TTerrainProblemKind::TJunction,
                                    NodeLabel(nodes, n) + " lies on the edge of " +
                                        Label(polygons, use->Polygons.front()) + " without being its corner",
                                    {n},
                                    use->Polygons});
        });
  }
}

// True when the two triangles' interiors overlap in plan view: no edge of either separates them.
bool OverlapInPlan(const std::array<const T3DCoord*, 3>& s, const std::array<const T3DCoord*, 3>& t) {
  for (const auto* shape : {&s, &t}) {
    for (int k = 0; k < 3; ++k) {
      const T3DCoord &a = *(*shape)[k], &b = *(*shape)[(k + 1) % 3];
      const double nx = double(a.Y) - b.Y, ny = double(b.X) - a.X;
      double lowS = 1e300, highS = -1e300, lowT = 1e300, highT = -1e300;
      for (const T3DCoord* p : s) {
        const double d = nx * p->X + ny * p->Y;
        lowS = std::min(lowS, d);
        highS = std::max(highS, d);
      }
      for (const T3DCoord* p : t) {
        const double d = nx * p->X + ny * p->Y;
        lowT = std::min(lowT, d);
        highT = std::max(highT, d);
      }
      const double scale = std::abs(nx) + std::abs(ny);
      if (std::min(highS, highT) - std::max(lowS, lowT) <=
          1e-9 * scale * (1 + std::abs(highS) + std::abs(highT)))
        return false;
    }
  }
  return true;
}

void CheckOverlaps(const TCoordList& nodes, const TPolyList& polygons, const std::vector<char>& ground,
                   double cell, TTerrainCheck& check) {
  TPlanGrid grid(cell);
  std::vector<std::array<double, 4>> boxes(std::size_t(polygons.Count()));
  for (int i = 0; i < polygons.Count(); ++i) {
    const auto c = Corners(polygons[i]);
    auto& box = boxes[std::size_t(i)];
    box = {1e300, 1e300, -1e300, -1e300};
    for (int n : c) {
      box[0] = std::min(box[0], double(nodes[n].X));
      box[1] = std::min(box[1], double(nodes[n].Y));
      box[2] = std::max(box[2], double(nodes[n].X));
      box[3] = std::max(box[3], double(nodes[n].Y));
    }
    grid.Add(i, box[0], box[1], box[2], box[3]);
  }
  const auto triangle = [&](int i) {
    const auto c = Corners(polygons[i]);
    return std::array<const T3DCoord*, 3>{&nodes[c[0]], &nodes[c[1]], &nodes[c[2]]};
  };
  for (int i = 0; i < polygons.Count(); ++i) {
    const auto& box = boxes[std::size_t(i)];
    grid.Each(box[0], box[1], box[2], box[3], [&](int j, long long x, long long y) {
      if (j <= i || ground[std::size_t(i)] != ground[std::size_t(j)]) return;
      const auto& other = boxes[std::size_t(j)];
      // Each pair once: in the cell of the lower corner of where their boxes meet.
      if (grid.Cell(std::max(box[0], other[0])) != x || grid.Cell(std::max(box[1], other[1])) != y) return;
      if (!OverlapInPlan(triangle(i), triangle(j))) return;
      check.Problems.push_back({TTerrainProblemKind::Overlap,
                                Label(polygons, i) + " overlaps " + Label(polygons, j) + " in plan view",
                                {},
                                {i, j}});
    });
  }
}

void CheckTextures(const TPolyList& polygons, TTerrainCheck& check) {
  for (int i = 0; i < polygons.Count(); ++i) {
    const std::string& texture = polygons[i].Texture;
    if (texture.empty() || IsUnrealName(texture)) continue;
    check.Problems.push_back(
        {TTerrainProblemKind::Texture,
         Label(polygons, i) + " has the texture name \"" + texture + "\", which UnrealEd cannot hold",
         {},
         {i}});
  }
}

void CheckExport(const TCoordList& nodes, const TPolyList& polygons, double grid, TTerrainCheck& check) {
  TMapExportOptions options;
  options.Snap = grid;
  options.Force = true;
  try {
    const TMapBrushes brushes = BuildMapBrushes(nodes, polygons, options);
    for (std::size_t k = 0; k < brushes.Forced.size(); ++k) {
      check.Problems.push_back(
          {TTerrainProblemKind::Snapping, brushes.Forced[k], {}, {brushes.ForcedPolygons[k]}});
    }
    check.Brushes = brushes.Brushes.size();
    check.LargestBrush = brushes.LargestBrush();
    check.PolygonsPerBrush =
        brushes.Brushes.empty() ? 0 : double(brushes.PolygonCount()) / double(brushes.Brushes.size());
  } catch (const ETerravelError& error) {
    check.ExportError = error.what();
  }
}

// A cell about the size of an average edge, so that a cell holds a few nodes.
double CellSize(const TCoordList& nodes, const TPolyList& polygons) {
  double sum = 0;
  for (const TPoly& p : polygons) {
    sum += std::abs(double(nodes[p.Node1].X) - nodes[p.Node2].X) +
           std::abs(double(nodes[p.Node1].Y) - nodes[p.Node2].Y);
  }
  return polygons.Count() > 0 && sum > 0 ? sum / polygons.Count() : 1;
}

}  // namespace

const char* ProblemKindWord(TTerrainProblemKind kind) {
  switch (kind) {
    case TTerrainProblemKind::OffGrid:
      return "off-grid";
    case TTerrainProblemKind::Sliver:
      return "sliver";
    case TTerrainProblemKind::TJunction:
      return "t-junction";
    case TTerrainProblemKind::CrowdedEdge:
      return "crowded-edge";
    case TTerrainProblemKind::Overlap:
      return "overlap";
    case TTerrainProblemKind::MixedEdge:
      return "mixed-edge";
    case TTerrainProblemKind::Texture:
      return "texture";
    case TTerrainProblemKind::Snapping:
      break;
  }
  return "snapping";
}

TTerrainCheck CheckTerrain(const TCoordList& nodes, const TPolyList& polygons, double grid) {
  TTerrainCheck check;
  std::vector<char> ground(std::size_t(polygons.Count()));
  for (int i = 0; i < polygons.Count(); ++i) {
    const TPoly& p = polygons[i];
    ground[std::size_t(i)] = IsGround(nodes[p.Node1], nodes[p.Node2], nodes[p.Node3]) ? 1 : 0;
  }
  const double cell = CellSize(nodes, polygons);
  CheckGrid(nodes, grid, check);
  CheckSlivers(nodes, polygons, check);
  std::unordered_map<std::uint64_t, TEdgeUse> edges;
  CheckEdges(nodes, polygons, ground, edges, check);
  CheckTJunctions(nodes, polygons, edges, cell, check);
  CheckOverlaps(nodes, polygons, ground, cell, check);
  CheckTextures(polygons, check);
  CheckExport(nodes, polygons, grid, check);
  return check;
}

void SelectProblem(TEditor& editor, const TTerrainProblem& problem) {
  DoSelectNothing(editor);
  for (int node : problem.Nodes) DoSelectNode(editor, node, true);
  for (int polygon : problem.Polygons) DoSelectPoly(editor, polygon, true);
}

std::vector<std::string> TerrainCheckLines(const TTerrainCheck& check) {
  std::vector<std::string> lines;
  if (check.Problems.empty()) lines.push_back("No problems found.");
  for (const TTerrainProblem& problem : check.Problems) lines.push_back(problem.Text);
  if (!check.ExportError.empty()) {
    lines.push_back("The map export would stop: " + check.ExportError);
  } else {
    lines.push_back("The map export makes " + std::to_string(check.Brushes) + " brushes, the largest of " +
                    std::to_string(check.LargestBrush) + " polygons, " + Number(check.PolygonsPerBrush) +
                    " polygons per brush on average.");
  }
  return lines;
}

}  // namespace terravel
