// Saving and loading a 256 x 256 mesh (66,049 nodes, 131,072 polygons) as a project file, each
// beside a baseline that writes or reads the same bytes in one call.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "model/editor/Editor.h"
#include "model/project/NewProject.h"
#include "model/projectfile/ProjectFile.h"

using namespace terravel;

namespace {

TEditor& Mesh() {
  static TEditor* editor = [] {
    auto* e = new TEditor;
    NewMesh(*e, 256);
    return e;
  }();
  return *editor;
}

std::string BenchPath(const char* what) {
  return "/tmp/terravel_bench_" + std::to_string(getpid()) + "_" + what + ".tvp";
}

void SetBytes(benchmark::State& state, std::size_t size) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(size));
}

void BM_SaveProjectFile(benchmark::State& state) {
  TEditor& editor = Mesh();
  const std::string path = BenchPath("save");
  for (auto _ : state) SaveProjectFile(editor, path);
  SetBytes(state, WriteProjectBytes(editor).size());
  std::remove(path.c_str());
}

// The file's bytes composed in memory, without the file.
void BM_WriteProjectBytes(benchmark::State& state) {
  TEditor& editor = Mesh();
  std::size_t size = 0;
  for (auto _ : state) {
    const std::string bytes = WriteProjectBytes(editor);
    size = bytes.size();
    benchmark::DoNotOptimize(bytes.data());
  }
  SetBytes(state, size);
}

// Baseline: the same bytes written with one fwrite; durable = also synced to the disk, as a save
// that replaces a file safely must be.
void SaveBaseline(benchmark::State& state, bool durable) {
  const std::string bytes = WriteProjectBytes(Mesh());
  const std::string path = BenchPath("baseline");
  for (auto _ : state) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    if (durable) {
      std::fflush(file);
      fsync(fileno(file));
    }
    std::fclose(file);
  }
  SetBytes(state, bytes.size());
  std::remove(path.c_str());
}
void BM_SaveBaseline(benchmark::State& state) {
  SaveBaseline(state, false);
}
void BM_SaveBaselineSynced(benchmark::State& state) {
  SaveBaseline(state, true);
}

void BM_LoadProjectFile(benchmark::State& state) {
  const std::string path = BenchPath("load");
  SaveProjectFile(Mesh(), path);
  TEditor editor;
  for (auto _ : state) {
    state.PauseTiming();
    editor.ClearDocument();
    state.ResumeTiming();
    LoadProjectFile(editor, path);
  }
  if (editor.Polygons.Count() != 131072) state.SkipWithError("wrong polygon count");
  SetBytes(state, WriteProjectBytes(editor).size());
  std::remove(path.c_str());
}

// The document built from bytes already in memory, without the file.
void BM_ReadProjectBytes(benchmark::State& state) {
  const std::string bytes = WriteProjectBytes(Mesh());
  TEditor editor;
  for (auto _ : state) {
    state.PauseTiming();
    editor.ClearDocument();
    state.ResumeTiming();
    ReadProjectBytes(editor, bytes, "mesh.tvp");
  }
  SetBytes(state, bytes.size());
}

// Baseline: the same bytes read with one fread into a buffer of the file's size.
void BM_LoadBaseline(benchmark::State& state) {
  const std::string path = BenchPath("load_baseline");
  SaveProjectFile(Mesh(), path);
  std::string buffer;
  for (auto _ : state) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::fseek(file, 0, SEEK_END);
    buffer.resize(static_cast<std::size_t>(std::ftell(file)));
    std::fseek(file, 0, SEEK_SET);
    benchmark::DoNotOptimize(std::fread(buffer.data(), 1, buffer.size(), file));
    std::fclose(file);
  }
  SetBytes(state, buffer.size());
  std::remove(path.c_str());
}

// The same with a fresh buffer for every read, as a real load has: its pages are new to the
// process each time.
void BM_LoadBaselineFreshBuffer(benchmark::State& state) {
  const std::string path = BenchPath("load_baseline_fresh");
  SaveProjectFile(Mesh(), path);
  std::size_t size = 0;
  for (auto _ : state) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::fseek(file, 0, SEEK_END);
    size = static_cast<std::size_t>(std::ftell(file));
    std::fseek(file, 0, SEEK_SET);
    std::string buffer(size, '\0');
    benchmark::DoNotOptimize(std::fread(buffer.data(), 1, buffer.size(), file));
    std::fclose(file);
  }
  SetBytes(state, size);
  std::remove(path.c_str());
}

}  // namespace

BENCHMARK(BM_SaveProjectFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SaveBaselineSynced)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteProjectBytes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadProjectFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadBaseline)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LoadBaselineFreshBuffer)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadProjectBytes)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
