// The shaping commands on the 256 x 256 mesh (66,049 nodes, 131,072 polygons), each beside
// loading the same project from its bytes: triangulating the 66,049 nodes without polygons,
// simplifying the 131,072 polygons to 5,000, smoothing every node once and one sculpt dab.
#include <benchmark/benchmark.h>

#include <string>

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

// The mesh with gentle hills, so that smoothing and simplifying have something to do.
void HillyMesh(TEditor& editor) {
  NewMesh(editor, 256);
  for (T3DCoord& node : editor.Nodes) node.Z = float(int(node.X * node.Y / 65536) % 97);
}

const std::string& MeshBytes() {
  static const std::string bytes = [] {
    TEditor editor;
    HillyMesh(editor);
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

// One step each, undone outside the timing.
void BM_TriangulateFreeNodes(benchmark::State& state) {
  TEditor editor;
  HillyMesh(editor);
  editor.Polygons.Clear();
  for (auto _ : state) {
    benchmark::DoNotOptimize(DoTriangulate(editor, {}));
    state.PauseTiming();
    editor.History.UndoLast();
    state.ResumeTiming();
  }
}

void BM_SimplifyTo5000(benchmark::State& state) {
  TEditor editor;
  ReadProjectBytes(editor, MeshBytes(), "mesh.tvp");
  for (auto _ : state) {
    benchmark::DoNotOptimize(DoSimplify(editor, {5000, 0}).PolygonsAfter);
    state.PauseTiming();
    editor.History.UndoLast();
    state.ResumeTiming();
  }
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

}  // namespace

BENCHMARK(BM_LoadMesh)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TriangulateFreeNodes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SimplifyTo5000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SmoothOnce)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SculptDab)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
