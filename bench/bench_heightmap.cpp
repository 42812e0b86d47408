// The heightmap import within a budget: generated 16-bit heightmaps of 256, 512 and 1024 pixels
// square to 5,000 triangles, against decoding the same picture from PNG as baseline. The goal:
// 1024 x 1024 to 5,000 triangles within a few times the decoding, and growing with the pixels
// (about 16 times from 256 to 1024), not with their square.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QImage>

#include <cmath>
#include <map>

#include "model/editor/Editor.h"
#include "model/heightmap/GreedyTriangulation.h"
#include "model/heightmap/HeightmapImport.h"

using namespace terravel;

namespace {

constexpr int kBudget = 5000;

// Rolling hills with a ridge and a crater: detail everywhere, so that the budget is spent.
QImage GeneratedPicture(int side) {
  QImage picture(side, side, QImage::Format_Grayscale16);
  for (int y = 0; y < side; ++y) {
    auto* line = reinterpret_cast<quint16*>(picture.scanLine(y));
    for (int x = 0; x < side; ++x) {
      const double u = double(x) / side, v = double(y) / side;
      const double crater = std::exp(-std::pow((std::hypot(u - 0.3, v - 0.6) - 0.15) * 20, 2));
      const double h = 0.35 + 0.15 * std::sin(u * 17) * std::cos(v * 11) + 0.2 * std::exp(-std::pow((u - v) * 6, 2)) +
                       0.25 * crater;
      line[x] = quint16(std::clamp(h, 0.0, 1.0) * 65535);
    }
  }
  return picture;
}

struct TFixture {
  QByteArray Png;
  THeightGrid Grid;
};

const TFixture& FixtureFor(int side) {
  static std::map<int, TFixture> fixtures;
  TFixture& fixture = fixtures[side];
  if (fixture.Png.isEmpty()) {
    const QImage picture = GeneratedPicture(side);
    QBuffer buffer(&fixture.Png);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    fixture.Grid.Width = fixture.Grid.Height = side;
    for (int y = 0; y < side; ++y) {
      const auto* line = reinterpret_cast<const quint16*>(picture.constScanLine(y));
      for (int x = 0; x < side; ++x) fixture.Grid.Levels.push_back(float(line[x]) / 65535.0f);
    }
  }
  return fixture;
}

// Baseline: decoding the PNG, the least work any import of the picture does.
void BM_DecodePng(benchmark::State& state) {
  const TFixture& fixture = FixtureFor(int(state.range(0)));
  for (auto _ : state) {
    QImage image;
    image.loadFromData(fixture.Png, "PNG");
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["pixels"] = double(state.range(0) * state.range(0));
}

// Greedy insertion to the budget, with the error measured against every pixel and the terrain
// in world coordinates: all the import does besides decoding and appending records.
void BM_BuildTerrain(benchmark::State& state) {
  const TFixture& fixture = FixtureFor(int(state.range(0)));
  THeightmapOptions options;
  options.MaxTriangles = kBudget;
  THeightmapResult result;
  for (auto _ : state) {
    const THeightmapTerrain terrain = BuildHeightmapTerrain(fixture.Grid, options, 0, 4096);
    result = terrain.Result;
    benchmark::DoNotOptimize(terrain.Nodes.data());
  }
  state.counters["pixels"] = double(state.range(0) * state.range(0));
  state.counters["triangles"] = result.Polygons;
  state.counters["maxError"] = result.MaxError;
  state.counters["meanError"] = result.MeanError;
}

}  // namespace

BENCHMARK(BM_DecodePng)->Arg(256)->Arg(512)->Arg(1024)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildTerrain)->Arg(256)->Arg(512)->Arg(1024)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
