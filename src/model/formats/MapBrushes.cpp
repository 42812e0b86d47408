#include "model/formats/MapBrushes.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <map>
#include <tuple>
#include <utility>

#include "model/core/Errors.h"
#include "model/document/CoordList.h"
#include "model/document/Orientation.h"

namespace terravel {

namespace {

constexpr std::size_t kMaxVertices = 16;  // UnrealEd's limit for a polygon
constexpr double kCeilingRise = 512;
constexpr double kFloorDrop = 256;
constexpr double kRoomMargin = 256;
constexpr double kLightBelowTop = 64;
constexpr double kPlayerAboveGround = 128;
constexpr int kMaxSplitDepth = 40;

std::string NumberWords(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

using TTriangle = std::array<int, 3>;  // point indices in the order written

std::uint64_t EdgeKey(int from, int to) {
  return (std::uint64_t{static_cast<std::uint32_t>(from)} << 32) | static_cast<std::uint32_t>(to);
}

// Edges and what uses them, in a sorted list: a tile's few hundred edges need no hash table.
class TEdgeIndex {
 public:
  void Reserve(std::size_t size) { items_.reserve(size); }
  void Add(std::uint64_t edge, std::size_t user) { items_.emplace_back(edge, user); }
  void Seal() { std::sort(items_.begin(), items_.end()); }
  // The users of the edge, the first added first.
  std::pair<const std::pair<std::uint64_t, std::size_t>*, const std::pair<std::uint64_t, std::size_t>*> Users(
      std::uint64_t edge) const {
    const auto low =
        std::lower_bound(items_.begin(), items_.end(), std::pair<std::uint64_t, std::size_t>{edge, 0});
    auto high = low;
    while (high != items_.end() && high->first == edge) ++high;
    return {items_.data() + (low - items_.begin()), items_.data() + (high - items_.begin())};
  }
  bool Contains(std::uint64_t edge) const {
    const auto [low, high] = Users(edge);
    return low != high;
  }

 private:
  std::vector<std::pair<std::uint64_t, std::size_t>> items_;
};

// Twice the signed area in plan view, counter-clockwise (X right, Y up) positive.
double PlanArea(const TMapPoint& a, const TMapPoint& b, const TMapPoint& c) {
  return (double(b.X) - a.X) * (double(c.Y) - a.Y) - (double(c.X) - a.X) * (double(b.Y) - a.Y);
}

// The points of the ground on the grid, each position once, and what refers to them.
struct TContext {
  const TPolyList& Polygons;
  const TMapExportOptions& Options;
  std::vector<TMapPoint> Points;
  std::vector<int> PointOfNode;  // -1 for a node of no polygon
  std::string SideTexture;
  std::uint32_t SideFlags = 0;
  float CapZ = 0;
  bool Subtract = true;
  // Marks of the points in the region being grown (DiskRegions): equal to Stamp while in it.
  mutable std::vector<int> VertexStamp;
  mutable int Stamp = 0;

  TMapPoint Above(const TMapPoint& point) const { return {point.X, point.Y, CapZ}; }
  float Scale() const { return static_cast<float>(Options.TextureScale); }
  TTriangle Corners(int polygon) const {
    const TPoly& p = Polygons[polygon];
    return {PointOfNode[std::size_t(p.Node1)], PointOfNode[std::size_t(p.Node2)],
            PointOfNode[std::size_t(p.Node3)]};
  }
};

TMapPolygon FromAbove(const TContext& context, std::vector<TMapPoint> vertices, std::string texture,
                      std::uint32_t flags, int source) {
  TMapPolygon polygon;
  polygon.Vertices = std::move(vertices);
  polygon.Texture = std::move(texture);
  polygon.Flags = flags;
  polygon.TextureU = {context.Scale(), 0, 0};
  polygon.TextureV = {0, context.Scale(), 0};
  polygon.Source = source;
  return polygon;
}

// A vertical polygon mapped along its own plane: U horizontal along its first edge, V down.
TMapPolygon Upright(const TContext& context, std::vector<TMapPoint> vertices) {
  TMapPolygon polygon;
  const double dx = double(vertices[1].X) - vertices[0].X, dy = double(vertices[1].Y) - vertices[0].Y;
  const double length = std::hypot(dx, dy);
  const float s = context.Scale();
  polygon.TextureU =
      length > 0 ? TMapPoint{float(dx / length) * s, float(dy / length) * s, 0} : TMapPoint{s, 0, 0};
  polygon.TextureV = {0, 0, -s};
  polygon.Vertices = std::move(vertices);
  polygon.Texture = context.SideTexture;
  polygon.Flags = context.SideFlags;
  return polygon;
}

// Turns a convex polygon so that its first three vertices do not lie on one line.
void StartAtCorner(std::vector<TMapPoint>& vertices) {
  const std::size_t n = vertices.size();
  for (std::size_t k = 0; k < n; ++k) {
    const TMapPoint &a = vertices[k], &b = vertices[(k + 1) % n], &c = vertices[(k + 2) % n];
    const double ux = double(b.X) - a.X, uy = double(b.Y) - a.Y, uz = double(b.Z) - a.Z;
    const double vx = double(c.X) - a.X, vy = double(c.Y) - a.Y, vz = double(c.Z) - a.Z;
    if (uy * vz - uz * vy != 0 || uz * vx - ux * vz != 0 || ux * vy - uy * vx != 0) {
      std::rotate(vertices.begin(), vertices.begin() + std::ptrdiff_t(k), vertices.end());
      return;
    }
  }
}

// The flat cap's triangles joined into convex polygons of at most 16 vertices. Two pieces meet
// along whole triangle edges, so every edge of the cap keeps both of its uses.
std::vector<std::vector<int>> MergeCap(const std::vector<TTriangle>& triangles,
                                       const std::vector<TMapPoint>& points, double orientation) {
  TEdgeIndex byEdge;
  byEdge.Reserve(triangles.size() * 3);
  for (std::size_t i = 0; i < triangles.size(); ++i) {
    for (int k = 0; k < 3; ++k) byEdge.Add(EdgeKey(triangles[i][k], triangles[i][(k + 1) % 3]), i);
  }
  byEdge.Seal();
  const auto proper = [&](int a, int b, int c) {
    return PlanArea(points[a], points[b], points[c]) * orientation > 0;
  };
  // Convex at b (a straight angle included), the turn measured in the cap's own orientation.
  const auto convexAt = [&](int a, int b, int c) {
    const double turn = PlanArea(points[a], points[b], points[c]) * orientation;
    if (turn != 0) return turn > 0;
    const double dot = (double(points[b].X) - points[a].X) * (double(points[c].X) - points[b].X) +
                       (double(points[b].Y) - points[a].Y) * (double(points[c].Y) - points[b].Y);
    return dot > 0;
  };
  std::vector<char> used(triangles.size(), 0);
  std::vector<std::vector<int>> pieces;
  for (std::size_t i = 0; i < triangles.size(); ++i) {
    if (used[i] != 0) continue;
    used[i] = 1;
    std::vector<int> cycle(triangles[i].begin(), triangles[i].end());
    bool grew = proper(cycle[0], cycle[1], cycle[2]);
    while (grew) {
      grew = false;
      for (std::size_t k = 0; k < cycle.size() && cycle.size() < kMaxVertices; ++k) {
        const std::size_t n = cycle.size();
        const int u = cycle[k], v = cycle[(k + 1) % n];
        const auto found = byEdge.Users(EdgeKey(v, u)).first;
        if (!byEdge.Contains(EdgeKey(v, u)) || used[found->second] != 0) continue;
        const TTriangle& other = triangles[found->second];
        int w = other[0];
        for (int corner : other)
          if (corner != u && corner != v) w = corner;
        if (!proper(v, u, w) || std::find(cycle.begin(), cycle.end(), w) != cycle.end()) continue;
        const int before = cycle[(k + n - 1) % n], after = cycle[(k + 2) % n];
        if (!convexAt(before, u, w) || !convexAt(u, w, v) || !convexAt(w, v, after)) continue;
        cycle.insert(cycle.begin() + std::ptrdiff_t(k + 1), w);
        used[found->second] = 1;
        grew = true;
      }
    }
    pieces.push_back(std::move(cycle));
  }
  return pieces;
}

// One closed solid: the triangles, a wall under (or over) every outline edge, and the cap.
TMapBrush SolidBrush(const TContext& context, const std::vector<int>& polygons) {
  TMapBrush brush;
  brush.Role = TBrushRole::Terrain;
  brush.Subtract = context.Subtract;
  brush.PolyFlags = context.Options.Csg == TCsgMode::Semisolid ? kPolySemisolid : 0;
  std::vector<TTriangle> triangles;
  triangles.reserve(polygons.size());
  TEdgeIndex edges;
  edges.Reserve(polygons.size() * 3);
  for (int index : polygons) {
    TTriangle t = context.Corners(index);
    if (!context.Subtract) std::swap(t[1], t[2]);  // facing up: the top of an added solid
    triangles.push_back(t);
    for (int k = 0; k < 3; ++k) edges.Add(EdgeKey(t[k], t[(k + 1) % 3]), 0);
    const auto& p = context.Points;
    brush.Polygons.push_back(
        FromAbove(context, {p[t[0]], p[t[1]], p[t[2]]}, context.Polygons[index].Texture, 0, index));
  }
  edges.Seal();
  for (const TTriangle& t : triangles) {
    for (int k = 0; k < 3; ++k) {
      const int a = t[k], b = t[(k + 1) % 3];
      if (edges.Contains(EdgeKey(b, a))) continue;
      const TMapPoint &pa = context.Points[a], &pb = context.Points[b];
      brush.Polygons.push_back(Upright(context, {pb, pa, context.Above(pa), context.Above(pb)}));
    }
  }
  std::vector<TTriangle> cap;
  cap.reserve(triangles.size());
  for (const TTriangle& t : triangles) cap.push_back({t[0], t[2], t[1]});
  // The ground faces down in plan (clockwise) under a subtracted space, so its cap turns the other way.
  for (const std::vector<int>& piece : MergeCap(cap, context.Points, context.Subtract ? 1 : -1)) {
    std::vector<TMapPoint> vertices;
    for (int point : piece) vertices.push_back(context.Above(context.Points[point]));
    StartAtCorner(vertices);
    brush.Polygons.push_back(
        FromAbove(context, std::move(vertices), context.SideTexture, context.SideFlags, -1));
  }
  return brush;
}

struct TTile {
  double X = 0;
  double Y = 0;
  double Size = 0;
};

TMapPoint Centroid(const TContext& context, int polygon) {
  const TTriangle t = context.Corners(polygon);
  const auto& p = context.Points;
  return {(p[t[0]].X + p[t[1]].X + p[t[2]].X) / 3, (p[t[0]].Y + p[t[1]].Y + p[t[2]].Y) / 3, 0};
}

// The polygons by the tile of their centroid, tiles in order of Y, then X.
std::map<std::pair<double, double>, std::vector<int>> ByTile(const TContext& context,
                                                             const std::vector<int>& polygons, double size) {
  std::map<std::pair<double, double>, std::vector<int>> tiles;
  for (int index : polygons) {
    const TMapPoint c = Centroid(context, index);
    tiles[{std::floor(c.Y / size), std::floor(c.X / size)}].push_back(index);
  }
  return tiles;
}

// Quarters of the tile, by centroid; empty quarters are left out.
std::vector<std::pair<TTile, std::vector<int>>> Quarters(const TContext& context, const TTile& tile,
                                                         const std::vector<int>& polygons) {
  const double half = tile.Size / 2;
  std::vector<std::pair<TTile, std::vector<int>>> quarters(4);
  for (int q = 0; q < 4; ++q) quarters[q].first = {tile.X + (q % 2) * half, tile.Y + (q / 2) * half, half};
  for (int index : polygons) {
    const TMapPoint c = Centroid(context, index);
    quarters[std::size_t((c.X >= tile.X + half ? 1 : 0) + (c.Y >= tile.Y + half ? 2 : 0))].second.push_back(
        index);
  }
  std::erase_if(quarters, [](const auto& quarter) { return quarter.second.empty(); });
  return quarters;
}

std::uint64_t Undirected(int a, int b) {
  return a < b ? EdgeKey(a, b) : EdgeKey(b, a);
}

// The tile's triangles as regions that are each one disk: grown across edges, a triangle joins
// only where it neither touches the region at a lone corner nor closes it, so that no brush pinches
// itself at a vertex and every edge of its closed solid is used exactly twice.
std::vector<std::vector<int>> DiskRegions(const TContext& context, const std::vector<int>& polygons) {
  std::vector<TTriangle> corners;
  corners.reserve(polygons.size());
  TEdgeIndex byEdge;
  byEdge.Reserve(polygons.size() * 3);
  for (std::size_t i = 0; i < polygons.size(); ++i) {
    corners.push_back(context.Corners(polygons[i]));
    for (int k = 0; k < 3; ++k) byEdge.Add(Undirected(corners[i][k], corners[i][(k + 1) % 3]), i);
  }
  byEdge.Seal();
  std::vector<int> regionOf(polygons.size(), -1);
  std::vector<std::vector<int>> regions;
  for (std::size_t seed = 0; seed < polygons.size(); ++seed) {
    if (regionOf[seed] >= 0) continue;
    const int current = static_cast<int>(regions.size());
    const int stamp = ++context.Stamp;
    std::vector<int> region;
    std::vector<std::size_t> waiting;
    const auto inRegion = [&](std::uint64_t edge) {
      const auto [low, high] = byEdge.Users(edge);
      for (auto it = low; it != high; ++it)
        if (regionOf[it->second] == current) return true;
      return false;
    };
    const auto add = [&](std::size_t i) {
      regionOf[i] = current;
      region.push_back(polygons[i]);
      for (int k = 0; k < 3; ++k) {
        context.VertexStamp[std::size_t(corners[i][k])] = stamp;
        const auto [low, high] = byEdge.Users(Undirected(corners[i][k], corners[i][(k + 1) % 3]));
        for (auto it = low; it != high; ++it)
          if (regionOf[it->second] < 0) waiting.push_back(it->second);
      }
    };
    add(seed);
    for (std::size_t next = 0; next < waiting.size(); ++next) {
      const std::size_t i = waiting[next];
      if (regionOf[i] >= 0) continue;
      int shared = 0, lone = -1;
      for (int k = 0; k < 3; ++k) {
        if (inRegion(Undirected(corners[i][k], corners[i][(k + 1) % 3]))) {
          ++shared;
          lone = corners[i][(k + 2) % 3];
        }
      }
      if (shared == 0 || shared == 3 || (shared == 1 && context.VertexStamp[std::size_t(lone)] == stamp))
        continue;
      add(i);
    }
    std::sort(region.begin(), region.end());
    regions.push_back(std::move(region));
  }
  return regions;
}

void AddSolids(const TContext& context, const TTile& tile, const std::vector<int>& polygons, int depth,
               TMapBrushes& out) {
  std::vector<TMapBrush> brushes;
  for (const std::vector<int>& region : DiskRegions(context, polygons))
    brushes.push_back(SolidBrush(context, region));
  const int limit = context.Options.MaxBrushPolygons;
  const bool tooLarge = std::any_of(brushes.begin(), brushes.end(), [limit](const TMapBrush& brush) {
    return limit > 0 && brush.Polygons.size() > std::size_t(limit);
  });
  if (tooLarge && polygons.size() > 1 && depth < kMaxSplitDepth) {
    for (const auto& [quarter, inside] : Quarters(context, tile, polygons))
      AddSolids(context, quarter, inside, depth + 1, out);
    return;
  }
  for (TMapBrush& brush : brushes) out.Brushes.push_back(std::move(brush));
}

void AddSheets(const TContext& context, const TTile& tile, const std::vector<int>& polygons, int depth,
               TMapBrushes& out) {
  const int limit = context.Options.MaxBrushPolygons;
  if (limit > 0 && polygons.size() > std::size_t(limit) && depth < kMaxSplitDepth) {
    for (const auto& [quarter, inside] : Quarters(context, tile, polygons))
      AddSheets(context, quarter, inside, depth + 1, out);
    return;
  }
  TMapBrush brush;
  brush.Role = TBrushRole::Sky;
  brush.PolyFlags = kPolyNotSolid | kPolyTwoSided;
  for (int index : polygons) {
    const TTriangle t = context.Corners(index);
    const auto& p = context.Points;
    brush.Polygons.push_back(FromAbove(context, {p[t[0]], p[t[1]], p[t[2]]}, context.Polygons[index].Texture,
                                       brush.PolyFlags, index));
  }
  out.Brushes.push_back(std::move(brush));
}

// The texture used by most ground polygons (the first name in order on a tie), or the default.
std::string MostUsedTexture(const TPolyList& polygons, const std::vector<int>& ground) {
  std::map<std::string, int> counts;
  for (int index : ground) ++counts[polygons[index].Texture];
  std::string best = kDefaultTexture;
  int most = 0;
  for (const auto& [texture, count] : counts) {
    if (count > most && !texture.empty()) {
      best = texture;
      most = count;
    }
  }
  return best;
}

// A box brush, every face's normal pointing out of it.
TMapBrush Box(const TContext& context, const TMapPoint& low, const TMapPoint& high) {
  TMapBrush brush;
  brush.Role = TBrushRole::Room;
  brush.Subtract = true;
  const auto at = [&](int corner) {
    return TMapPoint{(corner & 1) != 0 ? high.X : low.X, (corner & 2) != 0 ? high.Y : low.Y,
                     (corner & 4) != 0 ? high.Z : low.Z};
  };
  // Faces as corner numbers in order, each seen from outside counter-clockwise.
  constexpr int kFaces[6][4] = {{0, 2, 3, 1}, {4, 5, 7, 6}, {0, 1, 5, 4},
                                {2, 6, 7, 3}, {0, 4, 6, 2}, {1, 3, 7, 5}};
  for (const auto& face : kFaces) {
    std::vector<TMapPoint> vertices;
    for (int corner : face) vertices.push_back(at(corner));
    const bool flat = vertices[0].Z == vertices[1].Z && vertices[1].Z == vertices[2].Z;
    // A wall's texture runs along its first edge: start on a horizontal one.
    if (!flat && vertices[0].Z != vertices[1].Z)
      std::rotate(vertices.begin(), vertices.begin() + 1, vertices.end());
    TMapPolygon polygon = flat ? FromAbove(context, std::move(vertices), context.SideTexture, 0, -1)
                               : Upright(context, std::move(vertices));
    polygon.Flags = 0;
    brush.Polygons.push_back(std::move(polygon));
  }
  return brush;
}

void AddRoom(const TContext& context, const std::vector<int>& ground, TMapBrushes& out) {
  TMapPoint low{1e30f, 1e30f, 1e30f}, high{-1e30f, -1e30f, -1e30f};
  for (const TMapPoint& p : context.Points) {
    low = {std::min(low.X, p.X), std::min(low.Y, p.Y), std::min(low.Z, p.Z)};
    high = {std::max(high.X, p.X), std::max(high.Y, p.Y), std::max(high.Z, p.Z)};
  }
  const double grid = context.Options.Snap;
  float top = context.CapZ;
  if (!context.Subtract) {
    top = SnapToGrid(float(high.Z + kCeilingRise), grid);
    const TMapPoint boxLow{SnapToGrid(float(low.X - kRoomMargin), grid),
                           SnapToGrid(float(low.Y - kRoomMargin), grid), context.CapZ};
    const TMapPoint boxHigh{SnapToGrid(float(high.X + kRoomMargin), grid),
                            SnapToGrid(float(high.Y + kRoomMargin), grid), top};
    out.Brushes.insert(out.Brushes.begin(), Box(context, boxLow, boxHigh));
  }
  const float cx = (low.X + high.X) / 2, cy = (low.Y + high.Y) / 2;
  out.Actors.push_back({"Light", {cx, cy, float(top - kLightBelowTop)}});
  // The ground's corner nearest to the middle in plan.
  TMapPoint middle = context.Points[std::size_t(context.Corners(ground.front())[0])];
  double nearest = 1e300;
  for (int index : ground) {
    for (int point : context.Corners(index)) {
      const TMapPoint& p = context.Points[std::size_t(point)];
      const double d = (double(p.X) - cx) * (double(p.X) - cx) + (double(p.Y) - cy) * (double(p.Y) - cy);
      if (d < nearest) {
        nearest = d;
        middle = p;
      }
    }
  }
  out.Actors.push_back({"PlayerStart", {middle.X, middle.Y, float(middle.Z + kPlayerAboveGround)}});
}

void CheckTextures(const TPolyList& polygons) {
  for (int i = 0; i < polygons.Count(); ++i) {
    const std::string& texture = polygons[i].Texture;
    if (!texture.empty() && !IsUnrealName(texture)) {
      throw ETerravelError(
          PolygonLabel(i, polygons[i].Name) + ": the texture name \"" + texture +
          "\" is no name UnrealEd can hold (letters, digits, \"_\" and \"-\", in parts joined by "
          "dots).");
    }
  }
}

}  // namespace

std::size_t TMapBrushes::LargestBrush() const {
  std::size_t largest = 0;
  for (const TMapBrush& brush : Brushes) largest = std::max(largest, brush.Polygons.size());
  return largest;
}

std::size_t TMapBrushes::PolygonCount() const {
  std::size_t count = 0;
  for (const TMapBrush& brush : Brushes) count += brush.Polygons.size();
  return count;
}

std::string PolygonLabel(int index, const std::string& name) {
  return "polygon " + std::to_string(index) + (name.empty() ? "" : " \"" + name + "\"");
}

bool IsUnrealName(const std::string& name) {
  bool partStarted = false;
  for (const char c : name) {
    if (c == '.') {
      if (!partStarted) return false;
      partStarted = false;
      continue;
    }
    const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    if (!letter && !(c >= '0' && c <= '9') && c != '_' && c != '-') return false;
    partStarted = true;
  }
  return partStarted;
}

float SnapToGrid(float value, double grid) {
  if (!(grid > 0)) return value;
  return static_cast<float>(std::round(double(value) / grid) * grid);
}

TMapPoint PolygonNormal(const TMapPolygon& polygon) {
  const TMapPoint &a = polygon.Vertices[0], &b = polygon.Vertices[1], &c = polygon.Vertices[2];
  const double ux = double(b.X) - a.X, uy = double(b.Y) - a.Y, uz = double(b.Z) - a.Z;
  const double vx = double(c.X) - a.X, vy = double(c.Y) - a.Y, vz = double(c.Z) - a.Z;
  return {float(uy * vz - uz * vy), float(uz * vx - ux * vz), float(ux * vy - uy * vx)};
}

TMapBrushes BuildMapBrushes(const TCoordList& nodes, const TPolyList& polygons,
                            const TMapExportOptions& options) {
  if (!(options.TileSize > 0)) throw ETerravelError("The tile size must be above 0.");
  if (!(options.Snap >= 0)) throw ETerravelError("The grid must be 0 (no snapping) or above.");
  if (!(options.TextureScale > 0)) throw ETerravelError("The texture scale must be above 0.");
  CheckTextures(polygons);
  TMapBrushes out;
  TContext context{polygons, options, {}, std::vector<int>(std::size_t(nodes.Count()), -1), {}, 0, 0,
                   true,     {},      0};
  // Every position once: nodes that meet on the grid become one point.
  std::vector<TMapPoint> snapped(std::size_t(nodes.Count()));
  std::vector<int> used;
  for (const TPoly& polygon : polygons) {
    for (int node : {polygon.Node1, polygon.Node2, polygon.Node3}) {
      if (context.PointOfNode[std::size_t(node)] == 0) continue;
      context.PointOfNode[std::size_t(node)] = 0;
      used.push_back(node);
      const T3DCoord& n = nodes[node];
      snapped[std::size_t(node)] = {SnapToGrid(n.X, options.Snap), SnapToGrid(n.Y, options.Snap),
                                    SnapToGrid(n.Z, options.Snap)};
      out.LargestZChange = std::max(out.LargestZChange, std::abs(double(snapped[std::size_t(node)].Z) - n.Z));
    }
  }
  const auto before = [&](int a, int b) {
    const TMapPoint &p = snapped[std::size_t(a)], &q = snapped[std::size_t(b)];
    return std::tie(p.X, p.Y, p.Z, a) < std::tie(q.X, q.Y, q.Z, b);
  };
  std::sort(used.begin(), used.end(), before);
  for (int node : used) {
    const TMapPoint& p = snapped[std::size_t(node)];
    if (context.Points.empty() || !(context.Points.back() == p)) context.Points.push_back(p);
    context.PointOfNode[std::size_t(node)] = static_cast<int>(context.Points.size()) - 1;
  }
  context.VertexStamp.assign(context.Points.size(), 0);
  std::vector<int> ground, sky;
  for (int i = 0; i < polygons.Count(); ++i) {
    const TPoly& polygon = polygons[i];
    const bool isGround = IsGround(nodes[polygon.Node1], nodes[polygon.Node2], nodes[polygon.Node3]);
    (isGround ? ground : sky).push_back(i);
    const TTriangle t = context.Corners(i);
    const double area = PlanArea(context.Points[t[0]], context.Points[t[1]], context.Points[t[2]]);
    if (area != 0 && (area < 0) == isGround) continue;
    const std::string label = PolygonLabel(i, polygon.Name);
    std::string problem;
    if (options.Snap > 0) {
      problem = "Snapping to a grid of " + NumberWords(options.Snap) + " would " +
                (area == 0 ? "make " + label + " degenerate." : "turn " + label + " over.");
    } else {
      problem = label + " is degenerate.";
    }
    if (!options.Force) throw ETerravelError(problem + " Move its corners apart, or write it anyway.");
    out.Forced.push_back(problem);
    out.ForcedPolygons.push_back(i);
  }
  if (!ground.empty()) {
    float lowest = 1e30f, highest = -1e30f;
    for (int index : ground) {
      for (int point : context.Corners(index)) {
        lowest = std::min(lowest, context.Points[std::size_t(point)].Z);
        highest = std::max(highest, context.Points[std::size_t(point)].Z);
      }
    }
    context.Subtract = options.Csg == TCsgMode::Subtract;
    if (context.Subtract) {
      context.CapZ = SnapToGrid(float(options.Ceiling.value_or(highest + kCeilingRise)), options.Snap);
      if (!(context.CapZ > highest)) {
        throw ETerravelError("The ceiling (Z " + NumberWords(context.CapZ) +
                             ") must lie above the highest node of the ground (Z " + NumberWords(highest) +
                             ").");
      }
    } else {
      context.CapZ = SnapToGrid(float(options.Floor.value_or(lowest - kFloorDrop)), options.Snap);
      if (!(context.CapZ < lowest)) {
        throw ETerravelError("The floor (Z " + NumberWords(context.CapZ) +
                             ") must lie below the lowest node of the ground (Z " + NumberWords(lowest) +
                             ").");
      }
    }
  }
  context.SideTexture = options.SideTexture.empty() ? MostUsedTexture(polygons, ground) : options.SideTexture;
  if (!IsUnrealName(context.SideTexture)) {
    throw ETerravelError("The side texture \"" + context.SideTexture + "\" is no name UnrealEd can hold.");
  }
  context.SideFlags = options.InvisibleSides ? kPolyInvisible : 0;
  const double size = options.TileSize;
  for (const auto& [key, inside] : ByTile(context, ground, size))
    AddSolids(context, {key.second * size, key.first * size, size}, inside, 0, out);
  for (const auto& [key, inside] : ByTile(context, sky, size))
    AddSheets(context, {key.second * size, key.first * size, size}, inside, 0, out);
  if (options.Room && !ground.empty()) AddRoom(context, ground, out);
  return out;
}

}  // namespace terravel
