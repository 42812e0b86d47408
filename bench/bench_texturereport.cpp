// The texture report on a 256 x 256 mesh (131,072 polygons) using 1,000 textures in 20 packages,
// scattered over the mesh and spelt in two letter cases: building the tree the report opens with,
// and the same with every texture's polygon rows sorted (as if the user opened them all), beside
// a baseline of one pass over the polygons reading their textures.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "model/editor/Editor.h"
#include "model/project/NewProject.h"
#include "model/reports/TextureTree.h"

using namespace terravel;

namespace {

TEditor& Mesh() {
  static TEditor editor;
  static const bool made = [] {
    NewMesh(editor, 256);
    char texture[32];
    for (int i = 0; i < editor.Polygons.Count(); ++i) {
      const int t = int((std::int64_t(i) * 7919) % 1000);
      std::snprintf(texture, sizeof texture, i % 10 == 0 ? "PACK%02d.TEX%03d" : "Pack%02d.Tex%03d", t / 50,
                    t);
      editor.Polygons[i].Texture = texture;
    }
    return true;
  }();
  (void)made;
  return editor;
}

void BM_BuildTextureTree(benchmark::State& state) {
  const TEditor& editor = Mesh();
  for (auto _ : state) benchmark::DoNotOptimize(BuildTextureTree(editor.Polygons));
}

void BM_BuildTextureTreeWithAllRowsSorted(benchmark::State& state) {
  const TEditor& editor = Mesh();
  for (auto _ : state) {
    TTextureTree tree = BuildTextureTree(editor.Polygons);
    for (TPackageNode& package : tree.Packages)
      for (TTextureNode& texture : package.Textures)
        texture.Polygons = PolygonsByName(editor.Polygons, std::move(texture.Polygons));
    benchmark::DoNotOptimize(tree);
  }
}

void BM_TexturePassBaseline(benchmark::State& state) {
  const TEditor& editor = Mesh();
  for (auto _ : state) {
    std::size_t sum = 0;
    for (const TPoly& p : editor.Polygons) sum += p.Texture.size() + static_cast<unsigned char>(p.Texture[0]);
    benchmark::DoNotOptimize(sum);
  }
}

}  // namespace

BENCHMARK(BM_BuildTextureTree)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BuildTextureTreeWithAllRowsSorted)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TexturePassBaseline)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
