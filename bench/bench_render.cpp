// Viewport drawing at 960 x 594. The 16, 128 and 256 meshes zoomed to fit: a full redraw, the
// picture alone with gradient lines on and off, and the pick buffer alone, beside QPainter drawing
// the same edges as solid one-pixel lines. For the 256 mesh (131,072 polygons) also the picture
// zoomed in 8x at the centre, one drag step of 1,000 selected nodes, and the floor: the same edges
// written as one-pixel lines of one colour straight into the scan lines. The ratios between these
// are printed at the end, from the medians when run with --benchmark_repetitions.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "GuiBench.h"
#include "model/editor/Editor.h"
#include "model/interaction/NodeDrag.h"
#include "model/project/NewProject.h"
#include "model/view/ViewTransform.h"
#include "render/ViewportRenderer.h"

using namespace terravel;

namespace {

// A hilly mesh, so that the outlines run through the whole gradient, zoomed to fit or zoomed in
// at its centre.
struct TMeshView {
  explicit TMeshView(int n, bool gradientLines, bool showZ, float zoomIn = 1) {
    editor.View.Size = {960, 594};
    NewMesh(editor, n);
    for (T3DCoord& node : editor.Nodes) {
      node.Z = std::round(512 + 500 * std::sin(node.X / 3000.0f) * std::cos(node.Y / 4100.0f));
    }
    editor.View.ShowZ = showZ;
    editor.View.Zoom *= zoomIn;
    renderer = std::make_unique<TViewportRenderer>(editor);
    renderer->Flags.GradientLines = gradientLines;
    renderer->Redraw(true);  // the labels are made once, as in a running editor
  }
  TEditor editor;
  std::unique_ptr<TViewportRenderer> renderer;
};

void SetLabel(benchmark::State& state, const TMeshView& view) {
  state.counters["polygons"] = view.editor.Polygons.Count();
}

// Every polygon edge on the screen, as the picture draws them.
std::vector<QLine> ScreenEdges(const TEditor& editor) {
  std::vector<QLine> edges;
  for (const TPoly& p : editor.Polygons) {
    const int corners[3] = {p.Node1, p.Node2, p.Node3};
    for (int i = 0; i < 3; ++i) {
      const TScreenPoint a = NodeScreenPosition(editor, editor.Nodes[corners[i]]);
      const TScreenPoint b = NodeScreenPosition(editor, editor.Nodes[corners[(i + 1) % 3]]);
      edges.emplace_back(a.X, a.Y, b.X, b.Y);
    }
  }
  return edges;
}

// Args: mesh size, gradient lines, Z labels.
void BM_FullRedraw(benchmark::State& state) {
  TMeshView view(int(state.range(0)), state.range(1) != 0, state.range(2) != 0);
  for (auto _ : state) {
    view.renderer->Redraw(true);
    benchmark::DoNotOptimize(view.renderer->BackBuffer().constBits());
  }
  SetLabel(state, view);
}

// Args: mesh size, gradient lines, Z labels, zoom factor over zoom to fit.
void BM_Picture(benchmark::State& state) {
  TMeshView view(int(state.range(0)), state.range(1) != 0, state.range(2) != 0,
                 state.range(3) > 0 ? float(state.range(3)) : 1.0f);
  for (auto _ : state) {
    view.renderer->RenderScene();
    benchmark::DoNotOptimize(view.renderer->BackBuffer().constBits());
  }
  SetLabel(state, view);
}

// The pick buffer as a click after an edit draws it.
void BM_PickBuffer(benchmark::State& state) {
  TMeshView view(int(state.range(0)), true, true);
  for (auto _ : state) {
    view.renderer->RenderPickBuffer();
    benchmark::DoNotOptimize(view.renderer->PickBuffer().constBits());
  }
  SetLabel(state, view);
}

// One mouse move of a Ctrl-drag: 1,000 selected nodes move, then the window redraws. Moves go back
// and forth so that the mesh stays in view.
void BM_DragStep(benchmark::State& state) {
  TMeshView view(int(state.range(0)), true, true);
  TEditor& editor = view.editor;
  const int count = editor.Nodes.Count();
  for (int i = 0; i < 1000; ++i) editor.Nodes[int(std::int64_t(i) * count / 1000)].Selected = true;
  float step = 2;
  for (auto _ : state) {
    if (DragSelectedNodes(editor, step, step)) view.renderer->Redraw(true);
    step = -step;
    benchmark::DoNotOptimize(view.renderer->BackBuffer().constBits());
  }
  SetLabel(state, view);
}

// The least work for the same edges: clear, then one QPainter line per polygon edge in one pen,
// from screen positions computed beforehand.
void BM_BaselineSolidEdges(benchmark::State& state) {
  TMeshView view(int(state.range(0)), false, false);
  const std::vector<QLine> edges = ScreenEdges(view.editor);
  QImage image(960, 594, QImage::Format_RGB32);
  for (auto _ : state) {
    image.fill(0xFFC0C0C0);
    QPainter painter(&image);
    painter.setPen(QPen(QColor(0, 0, 248), 1));
    painter.drawLines(edges.data(), int(edges.size()));
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
  }
  SetLabel(state, view);
}

// Kept out of line so that an instruction count can be taken of it alone.
[[gnu::noinline]] void DrawFloor(QImage& image, const std::vector<QLine>& edges) {
  image.fill(0xFFC0C0C0);
  uchar* bits = image.bits();
  const qsizetype stride = image.bytesPerLine();
  for (const QLine& line : edges) {
    int x = line.x1(), y = line.y1();
    const int x1 = line.x2(), y1 = line.y2();
    const int dx = std::abs(x1 - x), dy = -std::abs(y1 - y);
    const int sx = x < x1 ? 1 : -1, sy = y < y1 ? 1 : -1;
    int error = dx + dy;
    for (;;) {
      reinterpret_cast<QRgb*>(bits + y * stride)[x] = 0xFF0000F8;
      if (x == x1 && y == y1) break;
      const int doubled = 2 * error;
      if (doubled >= dy) {
        error += dy;
        x += sx;
      }
      if (doubled <= dx) {
        error += dx;
        y += sy;
      }
    }
  }
}

// The floor: clear, then the same edges as Bresenham lines of one colour written straight into
// the scan lines, without clipping (at zoom to fit every edge lies inside), gradient or labels.
void BM_BaselineFloor(benchmark::State& state) {
  TMeshView view(int(state.range(0)), false, false);
  const std::vector<QLine> edges = ScreenEdges(view.editor);
  QImage image(960, 594, QImage::Format_RGB32);
  for (auto _ : state) {
    DrawFloor(image, edges);
    benchmark::DoNotOptimize(image.constBits());
  }
  SetLabel(state, view);
}

}  // namespace

BENCHMARK(BM_BaselineSolidEdges)->Arg(16)->Arg(128)->Arg(256)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BaselineFloor)->Arg(256)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Picture)
    ->ArgsProduct({{16, 128}, {1, 0}, {1, 0}, {1}})
    ->Args({256, 1, 1, 1})
    ->Args({256, 0, 1, 1})
    ->Args({256, 1, 1, 8})
    ->ArgNames({"mesh", "gradient", "z", "zoom"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PickBuffer)->Arg(16)->Arg(128)->Arg(256)->ArgName("mesh")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullRedraw)
    ->ArgsProduct({{16, 128, 256}, {1, 0}, {1}})
    ->ArgNames({"mesh", "gradient", "z"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DragStep)->Arg(256)->ArgName("mesh")->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  return terravel::bench::RunGuiBenchmarks<QGuiApplication>(
      argc, argv, "Ratios for the 256 mesh", [](terravel::bench::TRatioReporter& r) {
        r.Ratio("picture at fit / floor", "BM_Picture/mesh:256/gradient:1/z:1/zoom:1", "BM_BaselineFloor/256", 3);
        r.Ratio("full redraw / picture", "BM_FullRedraw/mesh:256/gradient:1/z:1",
                "BM_Picture/mesh:256/gradient:1/z:1/zoom:1", 1.2);
        r.Ratio("pick buffer for a hit test / picture", "BM_PickBuffer/mesh:256",
                "BM_Picture/mesh:256/gradient:1/z:1/zoom:1", 2);
        r.Ratio("picture zoomed in 8x / picture at fit", "BM_Picture/mesh:256/gradient:1/z:1/zoom:8",
                "BM_Picture/mesh:256/gradient:1/z:1/zoom:1", 0.3);
        r.Ratio("drag step of 1,000 nodes / picture", "BM_DragStep/mesh:256",
                "BM_Picture/mesh:256/gradient:1/z:1/zoom:1", 1.2);
      });
}
