// The shaping commands on the 256 x 256 mesh (66,049 nodes, 131,072 polygons), each beside
// loading the same project from its bytes: triangulating the 66,049 nodes without polygons,
// simplifying the 131,072 polygons of a rough fractal terrain to 5,000 and to 20,000, smoothing
// every node once and one sculpt dab. Simplifying is also measured where its cost used to depend
// on the shape: a wheel of 30,000 triangles round one node (beside a grid of as many), the same
// made by triangulating points on a circle and its centre (10,000 and 30,000), and the 1024 x 1024
// mesh of 2,097,152 triangles to 5,000 and to 1,000 (beside loading that mesh).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <string>

#include "RatioReporter.h"
#include "model/actions/Requests.h"
#include "model/editor/Editor.h"
#include "model/project/NewProject.h"
#include "model/projectfile/ProjectFile.h"
#include "model/shaping/ConstrainedTriangulation.h"
#include "model/shaping/EdgeCollapse.h"
#include "model/shaping/HeightSmoothing.h"
#include "model/shaping/SculptBrush.h"

using namespace terravel;

namespace {

// The mesh with gentle hills, so that smoothing has something to do.
void HillyMesh(TEditor& editor) {
  NewMesh(editor, 256);
  for (T3DCoord& node : editor.Nodes) node.Z = float(int(node.X * node.Y / 65536) % 97);
}

// Value noise on a lattice of the given spacing, from a fixed hash: 0 .. 1.
double Noise(double x, double y, double spacing, std::uint32_t seed) {
  const auto lattice = [seed](std::int64_t i, std::int64_t j) {
    std::uint64_t h = static_cast<std::uint64_t>(i) * 0x9E3779B97F4A7C15ull ^
                      static_cast<std::uint64_t>(j) * 0xC2B2AE3D27D4EB4Full ^ seed;
    h ^= h >> 31;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 29;
    return static_cast<double>(h >> 11) / 9007199254740992.0;
  };
  const double u = x / spacing, v = y / spacing;
  const auto i = static_cast<std::int64_t>(std::floor(u)), j = static_cast<std::int64_t>(std::floor(v));
  const double fu = u - std::floor(u), fv = v - std::floor(v);
  const double su = fu * fu * (3 - 2 * fu), sv = fv * fv * (3 - 2 * fv);
  const double a = lattice(i, j), b = lattice(i + 1, j), c = lattice(i, j + 1), d = lattice(i + 1, j + 1);
  return (a + (b - a) * su) * (1 - sv) + (c + (d - c) * su) * sv;
}

// Rough terrain: eight octaves of value noise from a tenth of the mesh down to single squares,
// about 2,000 units from valley to top.
float Fractal(double x, double y, double size) {
  double height = 0, amplitude = 1000, spacing = size / 4;
  for (std::uint32_t octave = 0; octave < 8 && spacing >= 256; ++octave) {
    height += amplitude * Noise(x, y, spacing, octave);
    amplitude *= 0.5;
    spacing *= 0.5;
  }
  return static_cast<float>(height);
}

void FractalMesh(TEditor& editor, int n) {
  NewMesh(editor, n);
  for (T3DCoord& node : editor.Nodes) node.Z = Fractal(node.X, node.Y, 256.0 * n);
}

// A wheel: `spokes` triangles round one node, their outer nodes on a circle.
void Wheel(TEditor& editor, int spokes) {
  NewProject(editor, false);
  const double radius = 256.0 * 100;
  T3DCoord centre;
  centre.Z = 500;
  editor.Nodes.AddNode(std::move(centre));
  for (int i = 0; i < spokes; ++i) {
    const double angle = 2 * std::numbers::pi * i / spokes;
    T3DCoord node;
    node.X = static_cast<float>(radius * std::cos(angle));
    node.Y = static_cast<float>(radius * std::sin(angle));
    node.Z = Fractal(node.X, node.Y, 2 * radius);
    editor.Nodes.AddNode(std::move(node));
  }
  for (int i = 0; i < spokes; ++i) {
    TPoly polygon;  // wound as the mesh's
    polygon.Node1 = 0;
    polygon.Node2 = 1 + (i + 1) % spokes;
    polygon.Node3 = 1 + i;
    polygon.Texture = kDefaultTexture;
    editor.Polygons.AddPolygon(std::move(polygon));
  }
}

const std::string& MeshBytes() {
  static const std::string bytes = [] {
    TEditor editor;
    HillyMesh(editor);
    return WriteProjectBytes(editor);
  }();
  return bytes;
}

const std::string& BigMeshBytes() {
  static const std::string bytes = [] {
    TEditor editor;
    FractalMesh(editor, 1024);
    return WriteProjectBytes(editor);
  }();
  return bytes;
}

// Baseline: loading the mesh's project file from memory.
void BM_LoadMesh(benchmark::State& state) {
  for (auto _ : state) {
    TEditor editor;
    ReadProjectBytes(editor, MeshBytes(), "mesh.tvp");
    benchmark::DoNotOptimize(editor.Polygons.Count());
  }
}

void BM_LoadBigMesh(benchmark::State& state) {
  for (auto _ : state) {
    TEditor editor;
    ReadProjectBytes(editor, BigMeshBytes(), "big.tvp");
    benchmark::DoNotOptimize(editor.Polygons.Count());
  }
}

// One step each, undone outside the timing.
void BM_TriangulateFreeNodes(benchmark::State& state) {
  TEditor editor;
  HillyMesh(editor);
  editor.Polygons.Clear();
  for (auto _ : state) {
    benchmark::DoNotOptimize(DoTriangulate(editor, {}).Added);
    state.PauseTiming();
    editor.History.UndoLast();
    state.ResumeTiming();
  }
}

// Simplifying to the budget, with the triangles left and the errors as counters.
void Simplify(benchmark::State& state, TEditor& editor, int budget) {
  TSimplifyResult result;
  for (auto _ : state) {
    result = DoSimplify(editor, {budget, 0});
    state.PauseTiming();
    editor.History.UndoLast();
    state.ResumeTiming();
  }
  state.counters["triangles"] = result.PolygonsAfter;
  state.counters["max_error"] = result.MaxError;
  state.counters["rms_error"] = result.RmsError;
}

// The fractal 256 x 256 mesh to the budget.
void BM_SimplifyFractal(benchmark::State& state) {
  TEditor editor;
  FractalMesh(editor, 256);
  Simplify(state, editor, static_cast<int>(state.range(0)));
}

// A grid of 29,768 triangles and a wheel of 30,000 to 1,000.
void BM_SimplifyGrid30000(benchmark::State& state) {
  TEditor editor;
  FractalMesh(editor, 122);
  Simplify(state, editor, 1000);
}

void BM_SimplifyWheel30000(benchmark::State& state) {
  TEditor editor;
  Wheel(editor, 30000);
  Simplify(state, editor, 1000);
}

// Points on a circle and its centre, triangulated as a user would: a wheel of range(0) triangles.
void BM_SimplifyTriangulatedWheel(benchmark::State& state) {
  TEditor editor;
  Wheel(editor, static_cast<int>(state.range(0)));
  editor.Polygons.Clear();
  DoTriangulate(editor, {});
  Simplify(state, editor, 1000);
}

// The 1024 x 1024 mesh (1,048,576 nodes) to the budget.
void BM_SimplifyBig(benchmark::State& state) {
  TEditor editor;
  ReadProjectBytes(editor, BigMeshBytes(), "big.tvp");
  Simplify(state, editor, static_cast<int>(state.range(0)));
}

void BM_SmoothOnce(benchmark::State& state) {
  TEditor editor;
  ReadProjectBytes(editor, MeshBytes(), "mesh.tvp");
  for (auto _ : state) {
    benchmark::DoNotOptimize(DoSmoothHeights(editor, {1, 0.5f}));
    state.PauseTiming();
    editor.History.UndoLast();
    state.ResumeTiming();
  }
}

// One raise dab of a stroke over about 1,000 nodes (a radius of 18 squares of 256): the dab looks
// only at the nodes under the brush. The stroke is begun and taken back outside the timing.
void BM_SculptDab(benchmark::State& state) {
  TEditor editor;
  ReadProjectBytes(editor, MeshBytes(), "mesh.tvp");
  const TSculptBrush brush{TSculptMode::Raise, 18 * 256, 1, TFalloff::Smooth};
  int touched = 0;
  for (auto _ : state) {
    state.PauseTiming();
    TSculptStroke stroke(editor, brush);
    state.ResumeTiming();
    benchmark::DoNotOptimize(stroke.Dab(0, 0));
    state.PauseTiming();
    touched = stroke.TouchedCount();
    stroke.Cancel();
    state.ResumeTiming();
  }
  state.counters["nodes"] = touched;
}

// A whole stroke of one dab over about 1,000 nodes: its start, the dab and the take-back. The
// plan-view grid and the neighbours come from the document's mesh index, so nothing here looks at
// every node; the baseline is one plain pass over the plan positions of all 66,049.
void BM_SculptStroke(benchmark::State& state) {
  TEditor editor;
  ReadProjectBytes(editor, MeshBytes(), "mesh.tvp");
  const auto mode = static_cast<TSculptMode>(state.range(0));
  const TSculptBrush brush{mode, 18 * 256, 1, TFalloff::Smooth};
  {
    TSculptStroke warm(editor, brush);  // the index is built once, outside the timing
    warm.Dab(0, 0);
  }
  int touched = 0;
  for (auto _ : state) {
    TSculptStroke stroke(editor, brush);
    benchmark::DoNotOptimize(stroke.Dab(0, 0));
    touched = stroke.TouchedCount();
    stroke.Cancel();
  }
  state.counters["nodes"] = touched;
}

void BM_NodeScanBaseline(benchmark::State& state) {
  TEditor editor;
  ReadProjectBytes(editor, MeshBytes(), "mesh.tvp");
  for (auto _ : state) {
    int inside = 0;
    for (const T3DCoord& node : editor.Nodes) inside += std::hypot(node.X, node.Y) < 18 * 256 ? 1 : 0;
    benchmark::DoNotOptimize(inside);
  }
}

}  // namespace

BENCHMARK(BM_LoadMesh)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TriangulateFreeNodes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SimplifyFractal)->Arg(5000)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SimplifyGrid30000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SimplifyWheel30000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_LoadBigMesh)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SimplifyTriangulatedWheel)->Arg(10000)->Arg(30000)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SimplifyBig)->Arg(5000)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SmoothOnce)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SculptDab)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SculptStroke)
    ->Arg(static_cast<int>(TSculptMode::Raise))
    ->Arg(static_cast<int>(TSculptMode::Smooth))
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NodeScanBaseline)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  terravel::bench::TRatioReporter reporter("Ratios of simplifying", [](terravel::bench::TRatioReporter& r) {
    r.Ratio("fractal 256 mesh to 5,000 / load", "BM_SimplifyFractal/5000/iterations:3", "BM_LoadMesh", 3);
    r.Ratio("fractal 256 mesh to 20,000 / load", "BM_SimplifyFractal/20000/iterations:3", "BM_LoadMesh", 3);
    r.Ratio("wheel of 30,000 / grid of 29,768", "BM_SimplifyWheel30000/iterations:3",
            "BM_SimplifyGrid30000/iterations:3", 3);
    r.Ratio("triangulated wheel of 30,660 / grid of 29,768", "BM_SimplifyTriangulatedWheel/30000/iterations:3",
            "BM_SimplifyGrid30000/iterations:3", 3);
    r.Ratio("fractal 1024 mesh to 1,000 / load", "BM_SimplifyBig/1000/iterations:1",
            "BM_LoadBigMesh/iterations:1", 3);
    r.Ratio("fractal 1024 mesh to 5,000 / load", "BM_SimplifyBig/5000/iterations:1",
            "BM_LoadBigMesh/iterations:1", 3);
    r.Ratio("raise stroke of one dab / scan of every node", "BM_SculptStroke/0", "BM_NodeScanBaseline", 1);
    r.Ratio("smooth stroke of one dab / scan of every node", "BM_SculptStroke/2", "BM_NodeScanBaseline", 1);
  });
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
