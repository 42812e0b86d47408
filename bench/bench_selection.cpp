// Big selections on the 256 x 256 mesh (66,049 nodes, 131,072 polygons) zoomed to fit at 960 x 594:
// Select All and Page Up with everything selected, each with the full redraw of the top view that
// follows it, beside opening the same mesh from its project file. Each should cost less than the
// opening. A sculpt stroke (ten moves, a redraw after each) with everything selected should cost
// no more than the same stroke with nothing selected.
#include <benchmark/benchmark.h>

#include <QDir>
#include <QGuiApplication>

#include <memory>
#include <string>

#include "RatioReporter.h"
#include "model/actions/Requests.h"
#include "model/editor/Editor.h"
#include "model/project/NewProject.h"
#include "model/project/OpenProject.h"
#include "model/projectfile/ProjectFile.h"
#include "model/shaping/SculptBrush.h"
#include "model/view/ViewTransform.h"
#include "render/ViewportRenderer.h"

using namespace terravel;

namespace {

constexpr int kMeshSize = 256;

std::string MeshFile() {
  static const std::string path = [] {
    const std::string file = QDir::temp().filePath(QStringLiteral("terravel_bench_selection.tvp")).toStdString();
    TEditor editor;
    NewMesh(editor, kMeshSize);
    SaveProjectFile(editor, file);
    return file;
  }();
  return path;
}

struct TMeshView {
  TMeshView() {
    editor.View.Size = {960, 594};
    OpenProject(editor, MeshFile());
    ZoomToFit(editor);
    renderer = std::make_unique<TViewportRenderer>(editor);
    renderer->Redraw(true);
  }
  void Draw() {
    renderer->Redraw(true);
    benchmark::DoNotOptimize(renderer->BackBuffer().constBits());
  }
  TEditor editor;
  std::unique_ptr<TViewportRenderer> renderer;
};

// Baseline: opening the mesh's project file.
void BM_Open(benchmark::State& state) {
  MeshFile();
  for (auto _ : state) {
    TEditor editor;
    OpenProject(editor, MeshFile());
    benchmark::DoNotOptimize(editor.Nodes.Count());
  }
}
BENCHMARK(BM_Open)->Unit(benchmark::kMillisecond);

void BM_SelectAll(benchmark::State& state) {
  TMeshView view;
  for (auto _ : state) {
    state.PauseTiming();
    DoSelectNothing(view.editor);
    view.editor.History.ClearHistory();
    view.Draw();
    state.ResumeTiming();
    DoSelectAll(view.editor, true, true);
    view.Draw();
  }
}
BENCHMARK(BM_SelectAll)->Unit(benchmark::kMillisecond);

// The parts: the redraw alone with nothing and with everything selected, and Select All alone.
void BM_RedrawNothingSelected(benchmark::State& state) {
  TMeshView view;
  for (auto _ : state) view.Draw();
}
BENCHMARK(BM_RedrawNothingSelected)->Unit(benchmark::kMillisecond);

void BM_RedrawAllSelected(benchmark::State& state) {
  TMeshView view;
  DoSelectAll(view.editor, true, true);
  for (auto _ : state) view.Draw();
}
BENCHMARK(BM_RedrawAllSelected)->Unit(benchmark::kMillisecond);

void BM_SelectAllAlone(benchmark::State& state) {
  TMeshView view;
  for (auto _ : state) {
    state.PauseTiming();
    DoSelectNothing(view.editor);
    view.editor.History.ClearHistory();
    state.ResumeTiming();
    DoSelectAll(view.editor, true, true);
  }
}
BENCHMARK(BM_SelectAllAlone)->Unit(benchmark::kMillisecond);

// A click's first step with one node selected (in the middle of the list) and undoing it: a
// deselection that should not look through every record.
void BM_SelectNothingOfOne(benchmark::State& state) {
  TEditor editor;
  OpenProject(editor, MeshFile());
  for (auto _ : state) {
    DoSelectNode(editor, editor.Nodes.Count() / 2, true);
    DoSelectNothing(editor);
    editor.History.UndoLast();
    editor.History.UndoLast();
  }
}
BENCHMARK(BM_SelectNothingOfOne)->Unit(benchmark::kMicrosecond);

// Up and down in turn, so that the heights stay near the gradient's range.
void BM_PageUp(benchmark::State& state) {
  TMeshView view;
  DoSelectAll(view.editor, true, true);
  view.Draw();
  float step = view.editor.Values.PgInc;
  for (auto _ : state) {
    DoChangeNodeZ(view.editor, step);
    view.Draw();
    step = -step;
  }
}
BENCHMARK(BM_PageUp)->Unit(benchmark::kMillisecond);

// Ten moves across the middle of the mesh, raising and then lowering so that the heights stay.
void SculptStroke(benchmark::State& state, bool allSelected) {
  TMeshView view;
  if (allSelected) DoSelectAll(view.editor, true, true);
  view.Draw();
  TSculptBrush brush{TSculptMode::Raise, 8 * 256, 64, TFalloff::Smooth};
  for (auto _ : state) {
    TSculptStroke stroke(view.editor, brush);
    for (int i = 0; i <= 10; ++i) {
      stroke.MoveTo(float(256 * (i - 5)), 0);
      view.Draw();
    }
    stroke.End();
    brush.Mode = brush.Mode == TSculptMode::Raise ? TSculptMode::Lower : TSculptMode::Raise;
  }
}
void BM_SculptNothingSelected(benchmark::State& state) {
  SculptStroke(state, false);
}
BENCHMARK(BM_SculptNothingSelected)->Unit(benchmark::kMillisecond);
void BM_SculptAllSelected(benchmark::State& state) {
  SculptStroke(state, true);
}
BENCHMARK(BM_SculptAllSelected)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  terravel::bench::TRatioReporter reporter("Ratios for the 256 mesh", [](terravel::bench::TRatioReporter& r) {
    r.Ratio("select all and redraw / open", "BM_SelectAll", "BM_Open", 1);
    r.Ratio("page up with all selected and redraw / open", "BM_PageUp", "BM_Open", 1);
    r.Ratio("sculpt stroke, all selected / none selected", "BM_SculptAllSelected", "BM_SculptNothingSelected", 1);
  });
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  QDir().remove(QString::fromStdString(MeshFile()));
  return 0;
}
