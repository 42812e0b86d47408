// The shaping commands on small documents made from the bytes: up to 24 nodes on a coarse grid
// (whole numbers, so every area below is exact), triangulated, then simplified or smoothed.
// After each command: every polygon is ground with an area, no two overlap, together they tile
// the hull of the nodes, and undo gives the document back byte for byte (redo the result).
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzChecks.h"
#include "model/actions/Requests.h"
#include "model/core/Errors.h"
#include "model/projectfile/ProjectFile.h"
#include "model/shaping/ConstrainedTriangulation.h"
#include "model/shaping/EdgeCollapse.h"
#include "model/shaping/HeightSmoothing.h"

using namespace terravel;

namespace {

using TWhole = long long;

struct TPoint {
  TWhole X, Y;
  auto operator<=>(const TPoint&) const = default;
};

TWhole Cross(const TPoint& o, const TPoint& a, const TPoint& b) {
  return (a.X - o.X) * (b.Y - o.Y) - (a.Y - o.Y) * (b.X - o.X);
}

TPoint At(const TEditor& editor, int node) {
  return {static_cast<TWhole>(editor.Nodes[node].X), static_cast<TWhole>(editor.Nodes[node].Y)};
}

// Twice the area of the convex hull (monotone chain).
TWhole HullArea2(std::vector<TPoint> points) {
  std::sort(points.begin(), points.end());
  points.erase(std::unique(points.begin(), points.end()), points.end());
  if (points.size() < 3) return 0;
  std::vector<TPoint> hull(2 * points.size());
  std::size_t k = 0;
  for (std::size_t i = 0; i < points.size(); ++i) {
    while (k >= 2 && Cross(hull[k - 2], hull[k - 1], points[i]) <= 0) --k;
    hull[k++] = points[i];
  }
  for (std::size_t i = points.size() - 1, lower = k + 1; i > 0; --i) {
    while (k >= lower && Cross(hull[k - 2], hull[k - 1], points[i - 1]) <= 0) --k;
    hull[k++] = points[i - 1];
  }
  TWhole area = 0;
  for (std::size_t i = 0; i + 1 < k; ++i) area += hull[i].X * hull[i + 1].Y - hull[i + 1].X * hull[i].Y;
  return area < 0 ? -area : area;
}

// Whether the insides of two triangles (corners counter-clockwise in X and Y) meet: they do
// unless a side of one has the whole other on its outer side (touching allowed).
bool Overlap(const TPoint (&a)[3], const TPoint (&b)[3]) {
  const auto separates = [](const TPoint (&u)[3], const TPoint (&w)[3]) {
    for (int k = 0; k < 3; ++k) {
      bool outside = true;
      for (int j = 0; j < 3 && outside; ++j) outside = Cross(u[k], u[(k + 1) % 3], w[j]) <= 0;
      if (outside) return true;
    }
    return false;
  };
  return !separates(a, b) && !separates(b, a);
}

// Every polygon ground with an area, no two overlapping, their areas the hull's.
void CheckTiling(const TEditor& editor, TWhole hullArea2) {
  std::vector<std::array<TPoint, 3>> triangles;
  TWhole total = 0;
  for (const TPoly& polygon : editor.Polygons) {
    const TPoint p1 = At(editor, polygon.Node1), p2 = At(editor, polygon.Node2), p3 = At(editor, polygon.Node3);
    // The document's orientation sum, exact: above 0 is ground with an area.
    const TWhole sum = (p2.X - p1.X) * (p2.Y + p1.Y) + (p3.X - p2.X) * (p3.Y + p2.Y) + (p1.X - p3.X) * (p1.Y + p3.Y);
    fuzz::Check(sum > 0, "a polygon is sky or has no area");
    const TWhole cross = Cross(p1, p2, p3);
    triangles.push_back(cross > 0 ? std::array<TPoint, 3>{p1, p2, p3} : std::array<TPoint, 3>{p1, p3, p2});
    total += cross < 0 ? -cross : cross;
  }
  for (std::size_t i = 0; i < triangles.size(); ++i)
    for (std::size_t j = i + 1; j < triangles.size(); ++j) {
      const TPoint a[3] = {triangles[i][0], triangles[i][1], triangles[i][2]};
      const TPoint b[3] = {triangles[j][0], triangles[j][1], triangles[j][2]};
      fuzz::Check(!Overlap(a, b), "two polygons overlap");
    }
  fuzz::Check(total == hullArea2, "the polygons do not tile the hull of the nodes");
}

// Runs the command; undo must give the bytes before, redo the bytes after.
template <typename TCommand>
void Step(TEditor& editor, TCommand command) {
  const std::string before = WriteProjectBytes(editor);
  const int steps = editor.History.UndoCount();
  command();
  fuzz::CheckConsistent(editor);
  if (editor.History.UndoCount() == steps) {
    fuzz::Check(WriteProjectBytes(editor) == before, "a command without a step changed the document");
    return;
  }
  const std::string after = WriteProjectBytes(editor);
  editor.History.UndoLast();
  fuzz::Check(WriteProjectBytes(editor) == before, "undo does not give the document back byte for byte");
  editor.History.RedoLast();
  fuzz::Check(WriteProjectBytes(editor) == after, "redo does not give the result back byte for byte");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const std::uint8_t command = data[0], amount = data[1];
  TEditor editor;
  std::vector<TPoint> points;
  for (std::size_t at = 2; at + 1 < size && points.size() < 24; at += 2) {
    const TPoint p{(data[at] & 31) * 8, (data[at + 1] & 31) * 8};
    editor.Nodes.NewNode("", "", float(p.X), float(p.Y), float(data[at] >> 5) * 16 + float(data[at + 1] >> 5));
    points.push_back(p);
  }
  const TWhole hull = HullArea2(points);

  TTriangulateOptions triangulate;
  Step(editor, [&] { DoTriangulate(editor, triangulate); });
  CheckTiling(editor, hull);

  switch (command % 3) {
    case 0: {
      TSimplifyOptions simplify;
      if (command & 8) simplify.MaxTriangles = 1 + amount % 32;
      else simplify.MaxError = float(amount % 64);
      Step(editor, [&] { DoSimplify(editor, simplify); });
      break;
    }
    case 1: {
      TSmoothOptions smooth;
      smooth.Passes = 1 + amount % 4;
      smooth.Strength = float(1 + amount % 10) / 10;
      Step(editor, [&] { DoSmoothHeights(editor, smooth); });
      break;
    }
    default:
      // Triangulating again adds nothing where everything is covered.
      Step(editor, [&] { fuzz::Check(DoTriangulate(editor, triangulate).Added == 0, "a covered hull took more polygons"); });
      break;
  }
  CheckTiling(editor, hull);
  return 0;
}
