// The Unreal text import on generated maps of about 1,000, 10,000 and 100,000 distinct vertices:
// parsing alone, the conversion alone (one action per node and triangle), the whole import, and
// as baseline a plain copy of the same bytes. The import must grow linearly: 100,000 vertices in
// well under ten times the time of 10,000, and the conversion within three times the parse.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

#include "model/editor/Editor.h"
#include "model/formats/T3DParser.h"
#include "model/formats/UnrealTextImport.h"

using namespace terravel;

namespace {

void AppendCoordinate(std::string& text, const char* label, double x, double y, double z) {
  char line[96];
  std::snprintf(line, sizeof line, "             %-8s %+013.6f,%+013.6f,%+013.6f\r\n", label, x, y, z);
  text += line;
}

// A side x side grid of vertices 64 units apart with a rolling height, as quads of four vertices
// the way UnrealEd writes them, in brushes of 500 polygons, each brush followed by a light.
std::string GeneratedMap(int vertices) {
  const int side = static_cast<int>(std::lround(std::sqrt(double(vertices))));
  std::string text = "Begin Map\r\n";
  int polygon = 0, brush = 0;
  auto height = [](int i, int j) { return std::round(std::sin(i * 0.3) * std::cos(j * 0.2) * 512.0); };
  for (int j = 0; j + 1 < side; ++j) {
    for (int i = 0; i + 1 < side; ++i) {
      if (polygon % 500 == 0) {
        if (polygon > 0) text += "       End PolyList\r\n     End Brush\r\nEnd Actor\r\n";
        text += "Begin Actor Class=Brush Name=Brush" + std::to_string(brush) + "\r\n";
        text += "     CsgOper=CSG_Add\r\n     Level=LevelInfo'MyLevel.LevelInfo0'\r\n";
        text += "     Begin Brush Name=Model" + std::to_string(brush++) + "\r\n       Begin PolyList\r\n";
      }
      text += "          Begin Polygon Item=Terrain Texture=GenEarth.Grass Flags=32768 Link=" +
              std::to_string(polygon++) + "\r\n";
      AppendCoordinate(text, "Origin", i * 64.0, j * 64.0, height(i, j));
      AppendCoordinate(text, "Normal", 0, 0, 1);
      AppendCoordinate(text, "TextureU", 1, 0, 0);
      AppendCoordinate(text, "TextureV", 0, 1, 0);
      AppendCoordinate(text, "Vertex", i * 64.0, j * 64.0, height(i, j));
      AppendCoordinate(text, "Vertex", (i + 1) * 64.0, j * 64.0, height(i + 1, j));
      AppendCoordinate(text, "Vertex", (i + 1) * 64.0, (j + 1) * 64.0, height(i + 1, j + 1));
      AppendCoordinate(text, "Vertex", i * 64.0, (j + 1) * 64.0, height(i, j + 1));
      text += "          End Polygon\r\n";
    }
  }
  text += "       End PolyList\r\n     End Brush\r\nEnd Actor\r\n";
  text += "Begin Actor Class=Light Name=Light0\r\n     LightBrightness=200\r\nEnd Actor\r\nEnd Map\r\n";
  return text;
}

const std::string& MapFor(int vertices) {
  static std::string maps[3];
  const int slot = vertices <= 1000 ? 0 : vertices <= 10000 ? 1 : 2;
  if (maps[slot].empty()) maps[slot] = GeneratedMap(vertices);
  return maps[slot];
}

void Describe(benchmark::State& state, const std::string& map) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * map.size()));
  state.counters["vertices"] = static_cast<double>(state.range(0));
}

// Baseline: the least work on the same bytes.
void BM_CopyBytes(benchmark::State& state) {
  const std::string& map = MapFor(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::string copy = map;
    benchmark::DoNotOptimize(copy.data());
  }
  Describe(state, map);
}

void BM_Parse(benchmark::State& state) {
  const std::string& map = MapFor(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TT3DMap parsed;
    parsed.ParseInPlace(map);  // as the import parses
    benchmark::DoNotOptimize(parsed.Actors.data());
  }
  Describe(state, map);
}

void BM_Import(benchmark::State& state) {
  const std::string& map = MapFor(static_cast<int>(state.range(0)));
  int nodes = 0, triangles = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto editor = std::make_unique<TEditor>();
    state.ResumeTiming();
    ApplyImport(*editor, ReadUnrealTextBytes(map, 1));
    state.PauseTiming();
    nodes = editor->Nodes.Count();
    triangles = editor->Polygons.Count();
    editor.reset();  // the history of a few hundred thousand actions is not part of the import
    state.ResumeTiming();
  }
  Describe(state, map);
  state.counters["nodes"] = nodes;
  state.counters["triangles"] = triangles;
}

// The conversion alone: nodes, triangles and the Z range from a parsed map.
void BM_Convert(benchmark::State& state) {
  const std::string& map = MapFor(static_cast<int>(state.range(0)));
  TT3DMap parsed;
  parsed.ParseInPlace(map);
  for (auto _ : state) {
    state.PauseTiming();
    auto editor = std::make_unique<TEditor>();
    state.ResumeTiming();
    RecordPolygons(*editor, RecordedPolygonsOf(parsed, 1));
    state.PauseTiming();
    editor.reset();
    state.ResumeTiming();
  }
  Describe(state, map);
}

}  // namespace

BENCHMARK(BM_CopyBytes)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Parse)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Convert)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Import)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
