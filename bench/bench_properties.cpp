// What the properties window costs on a big project: rebuilding the group filter and the object
// list, and refreshing the values, on a 256 x 256 mesh (66,049 nodes, 131,072 polygons) with
// everything selected, beside the Select All action that leads to them. Runs the real window
// on the offscreen platform.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <memory>

#include "app/properties/ListItemPainter.h"
#include "app/properties/PropertiesForm.h"
#include "app/properties/PropertyValues.h"
#include "model/actions/Requests.h"
#include "app/properties/DropDownForm.h"
#include "model/editor/Editor.h"
#include "model/project/NewProject.h"

using namespace terravel;

namespace {

constexpr int kMeshSize = 256;

// The mesh with everything selected and the properties window showing it.
struct TBigProject {
  TBigProject() : form(editor, dropDown) {
    NewMesh(editor, kMeshSize);
    DoSelectAll(editor, true, true);
    editor.History.ClearHistory();
    form.show();
    QApplication::processEvents();
  }
  TEditor editor;
  TDropDownForm dropDown;
  TPropertiesForm form;
};

// Made at first use and gone before the application object.
std::unique_ptr<TBigProject> project;

TBigProject& Project() {
  if (project == nullptr) project = std::make_unique<TBigProject>();
  return *project;
}

// Baseline: the Select All action itself, from an empty selection.
void BM_SelectAll(benchmark::State& state) {
  TEditor& editor = Project().editor;
  for (auto _ : state) {
    state.PauseTiming();
    DoSelectNothing(editor);
    editor.History.ClearHistory();
    state.ResumeTiming();
    DoSelectAll(editor, true, true);
  }
}
BENCHMARK(BM_SelectAll)->Unit(benchmark::kMillisecond);

// The group filter and the object list rebuilt (the lists notification).
void BM_RefreshLists(benchmark::State& state) {
  TBigProject& project = Project();
  for (auto _ : state) project.form.RefreshLists();
}
BENCHMARK(BM_RefreshLists)->Unit(benchmark::kMillisecond);

// The values of everything selected refilled (the properties notification).
void BM_RefreshProperties(benchmark::State& state) {
  TBigProject& project = Project();
  for (auto _ : state) project.form.RefreshProperties();
}
BENCHMARK(BM_RefreshProperties)->Unit(benchmark::kMillisecond);

// The same for all polygons only: the values of nine rows compared over 131,072 polygons.
void BM_PolygonValues(benchmark::State& state) {
  TEditor& editor = Project().editor;
  for (auto _ : state) benchmark::DoNotOptimize(PropertyValues(editor, TPropertyMode::pmPolys));
}
BENCHMARK(BM_PolygonValues)->Unit(benchmark::kMillisecond);

// Opening and closing the object list of all 197,121 objects.
void BM_OpenObjectList(benchmark::State& state) {
  TBigProject& project = Project();
  for (auto _ : state) {
    project.form.NameBox()->showPopup();
    project.form.NameBox()->hidePopup();
  }
}
BENCHMARK(BM_OpenObjectList)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  project.reset();
  return 0;
}
