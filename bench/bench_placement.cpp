// The editing commands on a 256 x 256 mesh (66,049 nodes, 131,072 polygons): choosing the corners
// of a new polygon at the cursor, counting what a removal takes along and listing the texture
// names, beside a baseline of one plain pass over the polygons' corners.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "RatioReporter.h"

#include "model/actions/Requests.h"
#include "model/editing/PolygonPlacement.h"
#include "model/editor/Editor.h"
#include "model/project/NewProject.h"

using namespace terravel;

namespace {

TEditor& Mesh() {
  static TEditor editor;
  static const bool made = [] {
    NewMesh(editor, 256);
    editor.Nodes.AssignSelected([](int i, const T3DCoord&) { return i % 2 == 0; });
    return true;
  }();
  (void)made;
  return editor;
}

// Arg 0: the cursor on a node in the middle of the mesh (every edge there is used twice);
// arg 1: beside a corner node of the mesh.
void BM_PlacePolygonAt(benchmark::State& state) {
  const TEditor& editor = Mesh();
  const float at = state.range(0) == 0 ? 0.0f : -128.0f * 256 - 10;
  for (auto _ : state) benchmark::DoNotOptimize(PlacePolygonAt(editor, at, at, true));
}

// A polygon added, then the corners of the next chosen, as one placement after another does: the
// document's mesh index takes the added polygon in, rather than being built again.
void BM_AddThenPlace(benchmark::State& state) {
  TEditor editor;
  NewMesh(editor, 256);
  PlacePolygonAt(editor, 0, 0, true);
  const int nodes = editor.Nodes.Count();
  int next = 0;
  for (auto _ : state) {
    TPoly polygon;
    polygon.Node1 = next, polygon.Node2 = next + 1, polygon.Node3 = next + 2;
    next = next + 3 < nodes - 3 ? next + 3 : 0;
    DoAddPolygon(editor, polygon);
    benchmark::DoNotOptimize(PlacePolygonAt(editor, 0, 0, true));
  }
  state.counters["builds"] = static_cast<double>(editor.Index.Builds());
}

void BM_PolygonsUsingSelectedNodes(benchmark::State& state) {
  const TEditor& editor = Mesh();
  for (auto _ : state) benchmark::DoNotOptimize(PolygonsUsingSelectedNodes(editor));
}

void BM_TextureNames(benchmark::State& state) {
  const TEditor& editor = Mesh();
  for (auto _ : state) benchmark::DoNotOptimize(TextureNames(editor));
}

void BM_CornerPassBaseline(benchmark::State& state) {
  const TEditor& editor = Mesh();
  for (auto _ : state) {
    std::int64_t sum = 0;
    for (const TPoly& p : editor.Polygons) sum += p.Node1 + p.Node2 + p.Node3;
    benchmark::DoNotOptimize(sum);
  }
}

}  // namespace

BENCHMARK(BM_PlacePolygonAt)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AddThenPlace)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PolygonsUsingSelectedNodes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextureNames)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CornerPassBaseline)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  return terravel::bench::RunBenchmarks(
      argc, argv, "Ratios of placing", [](terravel::bench::TRatioReporter& r) {
        // The index is not built per placement: choosing corners costs about one pass over the corners.
        r.Ratio("place at the cursor / corner pass", "BM_PlacePolygonAt/0", "BM_CornerPassBaseline", 1.5);
        // The add is an action with its notices; the placement after it rebuilds nothing.
        r.Ratio("add and place / place alone", "BM_AddThenPlace", "BM_PlacePolygonAt/0", 3);
      });
}
