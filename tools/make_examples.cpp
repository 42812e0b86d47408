// Writes the example projects that ship beside the program (resources/examples):
//   make_examples FOLDER
// Each is a regular mesh shaped by a height function, with textures and groups by height.
#include <cmath>
#include <cstdio>
#include <exception>
#include <functional>
#include <string>

#include "model/editor/Editor.h"
#include "model/project/NewProject.h"
#include "model/projectfile/ProjectFile.h"

using namespace terravel;

namespace {

using THeight = std::function<float(float x, float y)>;
using TTexture = std::function<const char*(float meanZ)>;

float MeanZ(const TEditor& editor, const TPoly& p) {
  return (editor.Nodes[p.Node1].Z + editor.Nodes[p.Node2].Z + editor.Nodes[p.Node3].Z) / 3;
}

// An n x n mesh whose nodes take the height function (whole units) and whose polygons take a
// texture by their mean height; MinZ and MaxZ span the heights.
void Shape(TEditor& editor, int n, const THeight& height, const TTexture& texture) {
  // About the viewport of the main window at its first size, so that the mesh fits it on opening.
  editor.View.Size = {956, 488};
  NewMesh(editor, n);
  float low = 1e30f, high = -1e30f;
  for (T3DCoord& node : editor.Nodes) {
    node.Z = std::round(height(node.X, node.Y));
    low = std::min(low, node.Z);
    high = std::max(high, node.Z);
  }
  for (TPoly& p : editor.Polygons) p.Texture = texture(MeanZ(editor, p));
  editor.Values.MinZ = std::floor(low / 64) * 64;
  editor.Values.MaxZ = std::ceil(high / 64) * 64;
}

// A river valley winding north to south between two slopes.
void Valley(TEditor& editor) {
  Shape(
      editor, 16,
      [](float x, float y) {
        const float river = 320 * std::sin(y / 700);
        const float across = (x - river) / 2048;
        return 960 * across * across + 160 * (y + 2048) / 4096;
      },
      [](float z) { return z < 120   ? "GenTerrain.Riverbed"
                           : z < 600 ? "GenEarth.Grass"
                                     : "GenEarth.Rock"; });
}

// A sharp ridge running diagonally across the map.
void Ridge(TEditor& editor) {
  Shape(
      editor, 12,
      [](float x, float y) {
        const float distance = (y - 0.5f * x) / std::sqrt(1.25f);
        return 1200 * std::exp(-distance * distance / (2 * 360 * 360)) + 0.05f * x;
      },
      [](float z) { return z > 700 ? "GenTerrain.Rock" : "GenEarth.Grass"; });
  editor.View.ShowZ = false;
}

// An island: beach, meadow and summit as textures and groups, a coloured crater lake and named
// landmarks.
void Island(TEditor& editor) {
  Shape(
      editor, 8,
      [](float x, float y) {
        const float r = std::sqrt(x * x + y * y) / 1024;
        return 900 * std::exp(-r * r) - 200 * std::exp(-16 * r * r) - 250;
      },
      [](float z) { return z < 50    ? "GenTerrain.Sand"
                           : z < 500 ? "GenEarth.Grass"
                                     : "GenTerrain.Rock"; });
  // The node at the origin sits in the crater; the polygons around it hold a lake of their own colour.
  const int centre = editor.Nodes.Count() / 2;
  for (TPoly& p : editor.Polygons) {
    const float z = MeanZ(editor, p);
    p.Group = z < 50 ? "Beach" : z < 500 ? "Meadow" : "Summit";
    if (p.Node1 == centre || p.Node2 == centre || p.Node3 == centre) {
      p.Group = "Lake";
      p.Texture = "GenWater.Lake";
      p.Color = 0x00C08040;
    }
  }
  for (int i = 0; i < editor.Nodes.Count(); ++i) {
    T3DCoord& node = editor.Nodes[i];
    node.Group = node.Z < 0 ? "Shore" : "Inland";
  }
  editor.Nodes.SetName(centre, "CraterLake");
  editor.Polygons.SetName(0, "NorthWestCape");
  editor.Polygons.SetName(editor.Polygons.Count() - 1, "SouthEastCape");
}

bool Write(const std::string& folder, const char* name, void (*make)(TEditor&)) {
  TEditor editor;
  make(editor);
  const std::string path = folder + "/" + name;
  SaveProjectFile(editor, path);
  std::printf("%s: %d nodes, %d polygons\n", path.c_str(), editor.Nodes.Count(), editor.Polygons.Count());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_examples FOLDER\n");
    return 2;
  }
  try {
    Write(argv[1], "Valley.tvp", Valley);
    Write(argv[1], "Ridge.tvp", Ridge);
    Write(argv[1], "Island.tvp", Island);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "%s\n", error.what());
    return 1;
  }
  return 0;
}
