// Triangulating nodes on ordinary and on pathological shapes, each beside CGAL alone on the same
// input: its plain Delaunay triangulation of the same points, and where old polygons are part of
// the shape, its constrained triangulation of the same points and sides. The shapes: 100,000
// random points, the 257 x 257 grid's points, 100,000 nodes on one line, a wheel of 100,000 old
// polygons round one node, 30,000 thin old polygons spanning the whole area, and 500 old
// polygons with random corners crossing one another (a great many crossings, which CGAL's
// triangulation must hold as vertices; 2,000 make 16 times as many and take CGAL alone 15 s).
#include <CGAL/Constrained_Delaunay_triangulation_2.h>
#include <CGAL/Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>

#include <benchmark/benchmark.h>

#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "RatioReporter.h"
#include "model/actions/Requests.h"
#include "model/editor/Editor.h"
#include "model/project/NewProject.h"
#include "model/shaping/ConstrainedTriangulation.h"

using namespace terravel;

namespace {

using TKernel = CGAL::Exact_predicates_inexact_constructions_kernel;
using TPoint = TKernel::Point_2;
using TDelaunay = CGAL::Delaunay_triangulation_2<TKernel>;
using TCdt = CGAL::Constrained_Delaunay_triangulation_2<TKernel, CGAL::Default, CGAL::Exact_predicates_tag>;

struct TShape {
  const char* Name;
  std::function<void(TEditor&)> Make;
};

void RandomPoints(TEditor& editor, int count) {
  std::mt19937 random(7);
  for (int i = 0; i < count; ++i) {
    editor.Nodes.NewNode("", "", float(random() % 1000000), float(random() % 1000000),
                         float(random() % 1000));
  }
}

// Polygons from consecutive node triples.
void TriplePolygons(TEditor& editor) {
  for (int k = 0; k + 2 < editor.Nodes.Count(); k += 3)
    editor.Polygons.NewPolygon(k, k + 1, k + 2, "Old", "", "");
}

const std::vector<TShape>& Shapes() {
  static const std::vector<TShape> shapes = {
      {"random100k", [](TEditor& e) { RandomPoints(e, 100000); }},
      {"grid257",
       [](TEditor& e) {
         NewMesh(e, 256);
         e.Polygons.Clear();
       }},
      {"collinear100k",
       [](TEditor& e) {
         for (int i = 0; i < 100000; ++i) e.Nodes.NewNode("", "", float(3 * i), float(2 * i + 5), 0);
       }},
      {"wheel100k",
       [](TEditor& e) {
         const int spokes = 100000;
         e.Nodes.NewNode("", "", 0, 0, 0);
         for (int i = 0; i < spokes; ++i) {
           const double angle = 2 * M_PI * i / spokes;
           e.Nodes.NewNode("", "", float(1e6 * std::cos(angle)), float(1e6 * std::sin(angle)), 0);
         }
         for (int i = 0; i < spokes; ++i)
           e.Polygons.NewPolygon(0, 1 + i, 1 + (i + 1) % spokes, "Old", "", "");
       }},
      {"thin30k",
       [](TEditor& e) {
         // Parallel diagonal slivers, each as long as the area is wide: every one's bounding box
         // covers most of the area.
         for (int i = 0; i < 30000; ++i) {
           const float x = 10.0f * i;
           e.Nodes.NewNode("", "", x, -x, 0);
           e.Nodes.NewNode("", "", x + 3e6f, 3e6f - x, 0);
           e.Nodes.NewNode("", "", x + 3e6f + 3, 3e6f - x - 3, 0);
         }
         TriplePolygons(e);
       }},
      {"crossing500",
       [](TEditor& e) {
         RandomPoints(e, 1500);
         TriplePolygons(e);
       }},
  };
  return shapes;
}

void BM_Triangulate(benchmark::State& state, const TShape& shape) {
  TEditor editor;
  shape.Make(editor);
  for (auto _ : state) {
    const int added = DoTriangulate(editor, {}).Added;
    benchmark::DoNotOptimize(added);
    state.PauseTiming();
    if (added > 0) editor.History.UndoLast();
    state.ResumeTiming();
  }
}

// What each of CGAL's own runs starts from: the shape's nodes as points, and its polygons.
struct TCgalCase {
  TEditor Editor;
  std::vector<TPoint> Points;

  explicit TCgalCase(const TShape& shape) {
    shape.Make(Editor);
    for (const T3DCoord& node : Editor.Nodes) Points.emplace_back(node.X, node.Y);
  }
};

void BM_CgalDelaunay(benchmark::State& state, const TShape& shape) {
  const TCgalCase input(shape);
  for (auto _ : state) {
    TDelaunay delaunay(input.Points.begin(), input.Points.end());
    benchmark::DoNotOptimize(delaunay.number_of_faces());
  }
}

void BM_CgalConstrained(benchmark::State& state, const TShape& shape) {
  const TCgalCase input(shape);
  for (auto _ : state) {
    TCdt cdt;
    std::vector<TCdt::Vertex_handle> vertices;
    vertices.reserve(input.Points.size());
    for (const TPoint& point : input.Points) vertices.push_back(cdt.insert(point));
    for (const TPoly& p : input.Editor.Polygons) {
      cdt.insert_constraint(vertices[p.Node1], vertices[p.Node2]);
      cdt.insert_constraint(vertices[p.Node2], vertices[p.Node3]);
      cdt.insert_constraint(vertices[p.Node3], vertices[p.Node1]);
    }
    benchmark::DoNotOptimize(cdt.number_of_faces());
  }
}

// The constrained triangulation of the points alone, inserted as one range: what CGAL's
// constrained type costs where the command, having no polygons to keep, builds the plain one.
void BM_CgalConstrainedPoints(benchmark::State& state, const TShape& shape) {
  const TCgalCase input(shape);
  for (auto _ : state) {
    TCdt cdt;
    cdt.insert(input.Points.begin(), input.Points.end());
    benchmark::DoNotOptimize(cdt.number_of_faces());
  }
}

}  // namespace

int main(int argc, char** argv) {
  for (const TShape& shape : Shapes()) {
    const std::string name = shape.Name;
    // CGAL alone is quadratic on points in one line (the collinear row is set against 100,000
    // random points).
    if (name != "collinear100k") {
      benchmark::RegisterBenchmark(("BM_CgalDelaunay/" + name).c_str(), BM_CgalDelaunay, shape)
          ->Unit(benchmark::kMillisecond);
    }
    if (name == "random100k" || name == "grid257") {
      benchmark::RegisterBenchmark(("BM_CgalConstrainedPoints/" + name).c_str(), BM_CgalConstrainedPoints, shape)
          ->Unit(benchmark::kMillisecond);
    }
    // CGAL alone hangs on the wheel's constraints (each looks round the centre).
    if (name == "thin30k" || name == "crossing500") {
      benchmark::RegisterBenchmark(("BM_CgalConstrained/" + name).c_str(), BM_CgalConstrained, shape)
          ->Unit(benchmark::kMillisecond);
    }
    benchmark::RegisterBenchmark(("BM_Triangulate/" + name).c_str(), BM_Triangulate, shape)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  terravel::bench::TRatioReporter reporter("Ratios to CGAL alone", [](terravel::bench::TRatioReporter& r) {
    r.Ratio("100,000 random points / CGAL Delaunay", "BM_Triangulate/random100k",
            "BM_CgalDelaunay/random100k", 1.2);
    r.Ratio("257 grid points / CGAL Delaunay", "BM_Triangulate/grid257", "BM_CgalDelaunay/grid257", 1.2);
    // Against CGAL's constrained type on the same points.
    r.Ratio("100,000 random points / CGAL constrained", "BM_Triangulate/random100k",
            "BM_CgalConstrainedPoints/random100k", 1.2);
    r.Ratio("257 grid points / CGAL constrained", "BM_Triangulate/grid257", "BM_CgalConstrainedPoints/grid257",
            1.2);
    r.Ratio("100,000 collinear / CGAL Delaunay of 100,000", "BM_Triangulate/collinear100k",
            "BM_CgalDelaunay/random100k", 0.1);
    r.Ratio("wheel of 100,000 / CGAL Delaunay", "BM_Triangulate/wheel100k", "BM_CgalDelaunay/wheel100k", 2);
    r.Ratio("30,000 thin spanning / CGAL constrained", "BM_Triangulate/thin30k", "BM_CgalConstrained/thin30k",
            1.2);
    r.Ratio("500 crossing / CGAL constrained", "BM_Triangulate/crossing500", "BM_CgalConstrained/crossing500",
            1.2);
  });
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
