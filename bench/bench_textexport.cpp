// Writing the text exports of a 256 x 256 mesh (66,049 nodes, 131,072 polygons), each beside a
// baseline that writes the same bytes with a single fwrite.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "model/editor/Editor.h"
#include "model/formats/ProjectTextExport.h"
#include "model/formats/UnrealTextExport.h"
#include "model/project/NewProject.h"

using namespace terravel;

namespace {

// Arg 0: the mesh as made, all coordinates whole numbers. Arg 1: the same mesh with every
// coordinate moved by a fraction, so that no number takes the whole-number shortcut.
const TEditor& Mesh(std::int64_t rough) {
  static TEditor smooth;
  static TEditor bumpy;
  static const bool made = [] {
    NewMesh(smooth, 256);
    NewMesh(bumpy, 256);
    for (int i = 0; i < bumpy.Nodes.Count(); ++i) {
      T3DCoord& node = bumpy.Nodes[i];
      node.X += 0.37f * static_cast<float>(i % 7);
      node.Y -= 0.11f * static_cast<float>(i % 5 + 1);
      node.Z = 0.731f * static_cast<float>(i % 1001) - 300.25f;
    }
    return true;
  }();
  (void)made;
  return rough != 0 ? bumpy : smooth;
}

void WriteOnce(const std::string& path, const std::string& bytes) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) std::abort();
  std::fclose(file);
}

void Report(benchmark::State& state, std::size_t bytes) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

void BM_ExportUnrealText(benchmark::State& state) {
  const TEditor& editor = Mesh(state.range(0));
  for (auto _ : state) ExportUnrealText(editor, "/tmp/bench_textexport.t3d");
  Report(state, UnrealTextOf(editor).size());
}

void BM_UnrealTextOf(benchmark::State& state) {
  const TEditor& editor = Mesh(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(UnrealTextOf(editor));
  Report(state, UnrealTextOf(editor).size());
}

void BM_UnrealTextBaseline(benchmark::State& state) {
  const std::string bytes = UnrealTextOf(Mesh(state.range(0)));
  for (auto _ : state) WriteOnce("/tmp/bench_textexport_baseline.t3d", bytes);
  Report(state, bytes.size());
}

void BM_ExportProjectText(benchmark::State& state) {
  const TEditor& editor = Mesh(state.range(0));
  for (auto _ : state) ExportProjectText(editor, "/tmp/bench_textexport.tvt");
  Report(state, ProjectTextOf(editor).size());
}

void BM_ProjectTextOf(benchmark::State& state) {
  const TEditor& editor = Mesh(state.range(0));
  for (auto _ : state) benchmark::DoNotOptimize(ProjectTextOf(editor));
  Report(state, ProjectTextOf(editor).size());
}

void BM_ProjectTextBaseline(benchmark::State& state) {
  const std::string bytes = ProjectTextOf(Mesh(state.range(0)));
  for (auto _ : state) WriteOnce("/tmp/bench_textexport_baseline.tvt", bytes);
  Report(state, bytes.size());
}

}  // namespace

BENCHMARK(BM_ExportUnrealText)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_UnrealTextOf)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_UnrealTextBaseline)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ExportProjectText)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ProjectTextOf)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ProjectTextBaseline)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  for (const char* path : {"/tmp/bench_textexport.t3d", "/tmp/bench_textexport_baseline.t3d",
                           "/tmp/bench_textexport.tvt", "/tmp/bench_textexport_baseline.tvt"}) {
    std::remove(path);
  }
  return 0;
}
