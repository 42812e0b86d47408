// Viewport drawing at 960 x 594: a full redraw (picture and pick buffer) of 16 x 16 and 128 x 128
// meshes zoomed to fit, the picture alone with gradient lines on and off, and the pick buffer
// alone, beside the baseline of QPainter drawing the same edges as solid one-pixel lines.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <cmath>
#include <memory>
#include <vector>

#include "model/editor/Editor.h"
#include "model/project/NewProject.h"
#include "model/view/ViewTransform.h"
#include "render/ViewportRenderer.h"

using namespace terravel;

namespace {

// A hilly mesh, so that the outlines run through the whole gradient, zoomed to fit.
struct TMeshView {
  explicit TMeshView(int n, bool gradientLines, bool showZ) {
    editor.Viewport = {960, 594};
    NewMesh(editor, n);
    for (T3DCoord& node : editor.Nodes) {
      node.Z = std::round(512 + 500 * std::sin(node.X / 3000.0f) * std::cos(node.Y / 4100.0f));
    }
    editor.Values.ShowZ = showZ;
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

// Args: mesh size, gradient lines, Z labels.
void BM_FullRedraw(benchmark::State& state) {
  TMeshView view(int(state.range(0)), state.range(1) != 0, state.range(2) != 0);
  for (auto _ : state) {
    view.renderer->Redraw(true);
    benchmark::DoNotOptimize(view.renderer->BackBuffer().constBits());
  }
  SetLabel(state, view);
}

void BM_Picture(benchmark::State& state) {
  TMeshView view(int(state.range(0)), state.range(1) != 0, state.range(2) != 0);
  for (auto _ : state) {
    view.renderer->RenderScene();
    benchmark::DoNotOptimize(view.renderer->BackBuffer().constBits());
  }
  SetLabel(state, view);
}

void BM_PickBuffer(benchmark::State& state) {
  TMeshView view(int(state.range(0)), true, true);
  for (auto _ : state) {
    view.renderer->RenderPickBuffer();
    benchmark::DoNotOptimize(view.renderer->PickBuffer().constBits());
  }
  SetLabel(state, view);
}

// The least work for the same edges: clear, then one QPainter line per polygon edge in one pen,
// from screen positions computed beforehand.
void BM_BaselineSolidEdges(benchmark::State& state) {
  TMeshView view(int(state.range(0)), false, false);
  std::vector<QLine> edges;
  for (const TPoly& p : view.editor.Polygons) {
    const int corners[3] = {p.Node1, p.Node2, p.Node3};
    for (int i = 0; i < 3; ++i) {
      const TScreenPoint a = NodeScreenPosition(view.editor, view.editor.Nodes[corners[i]]);
      const TScreenPoint b = NodeScreenPosition(view.editor, view.editor.Nodes[corners[(i + 1) % 3]]);
      edges.emplace_back(a.X, a.Y, b.X, b.Y);
    }
  }
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

}  // namespace

BENCHMARK(BM_BaselineSolidEdges)->Arg(16)->Arg(128)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Picture)
    ->ArgsProduct({{16, 128}, {1, 0}, {1, 0}})
    ->ArgNames({"mesh", "gradient", "z"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PickBuffer)->Arg(16)->Arg(128)->ArgName("mesh")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullRedraw)
    ->ArgsProduct({{16, 128}, {1, 0}, {1}})
    ->ArgNames({"mesh", "gradient", "z"})
    ->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
