// The Unreal map export of the 256 x 256 mesh (131,072 triangles with uneven heights) against
// loading the same project: the export must stay under three times the load.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "RatioReporter.h"
#include "model/editor/Editor.h"
#include "model/formats/UnrealMapExport.h"
#include "model/project/NewProject.h"
#include "model/projectfile/ProjectFile.h"

using namespace terravel;

namespace {

const char* const kProject = "/tmp/bench_mapexport.tvp";
const char* const kMap = "/tmp/bench_mapexport.t3d";

const TEditor& Mesh() {
  static TEditor editor;
  static const bool made = [] {
    NewMesh(editor, 256);
    for (int i = 0; i < editor.Nodes.Count(); ++i)
      editor.Nodes[i].Z = 0.731f * static_cast<float>(i % 1001) - 300.25f;
    SaveProjectFile(editor, kProject);
    return true;
  }();
  (void)made;
  return editor;
}

void BM_LoadProject(benchmark::State& state) {
  Mesh();
  TEditor editor;
  for (auto _ : state) {
    state.PauseTiming();
    editor.ClearDocument();
    state.ResumeTiming();
    LoadProjectFile(editor, kProject);
  }
  if (editor.Polygons.Count() != 131072) state.SkipWithError("wrong polygon count");
}

void BM_ExportUnrealMap(benchmark::State& state) {
  const TEditor& editor = Mesh();
  TMapExportOptions options;
  options.Csg = state.range(0) != 0 ? TCsgMode::Add : TCsgMode::Subtract;
  for (auto _ : state) benchmark::DoNotOptimize(ExportUnrealMap(editor, kMap, options));
}

}  // namespace

BENCHMARK(BM_LoadProject)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExportUnrealMap)->Arg(0)->Arg(1)->ArgName("add")->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  const int result = terravel::bench::RunBenchmarks(
      argc, argv, "Ratios for the 256 mesh", [](terravel::bench::TRatioReporter& r) {
        r.Ratio("map export (subtract) / load", "BM_ExportUnrealMap/add:0", "BM_LoadProject", 3);
        r.Ratio("map export (add) / load", "BM_ExportUnrealMap/add:1", "BM_LoadProject", 3);
      });
  std::remove(kProject);
  std::remove(kMap);
  return result;
}
