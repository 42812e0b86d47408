// The 3-D view on the 256 x 256 mesh (131,072 polygons) at 800 x 600, drawn by this machine's
// OpenGL without a display (EGL, Mesa's llvmpipe here): one frame against the top view's picture
// of the same mesh, the buffer update after moving 1,000 nodes against a full upload, and one
// click's ray cast against a frame. The ratios are printed at the end (medians with
// --benchmark_repetitions). Without EGL the GL benchmarks report an error and are left out.
#include <benchmark/benchmark.h>

#include <QGuiApplication>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <unistd.h>

#include "model/editor/Editor.h"
#include "model/project/NewProject.h"
#include "model/scene3d/Scene3D.h"
#include "model/view/ViewTransform.h"
#include "render/OffscreenGL.h"
#include "render/Scene3DRenderer.h"
#include "render/ViewportRenderer.h"

using namespace terravel;

namespace {

constexpr int kWidth = 800;
constexpr int kHeight = 600;

// The hilly 256 mesh as the top view and the 3-D view both show it, framed whole.
struct TFixture {
  TFixture() {
    editor.Viewport = {kWidth, kHeight};
    NewMesh(editor, 256);
    for (T3DCoord& node : editor.Nodes)
      node.Z = std::round(512 + 500 * std::sin(node.X / 3000.0f) * std::cos(node.Y / 4100.0f));
    ZoomToFit(editor);
    update = scene.Sync(editor);
    camera.SetViewport(kWidth, kHeight);
    camera.SetSceneBounds(scene.Mesh().Bounds());
    camera.Frame(scene.Mesh().AllPoints());
    gl = TOffscreenGL::Create(error);
    if (!gl) return;
    gl->Picture(kWidth, kHeight, [&] {
      if (!renderer.Initialise(gl->Resolver(), error)) return;
      renderer.Upload(scene.Mesh(), update);
    });
  }
  bool Ready() const { return gl && error.empty(); }

  TEditor editor;
  TScene3D scene;
  TMeshUpdate update;
  TCamera3D camera;
  std::string error;
  std::unique_ptr<TOffscreenGL> gl;
  TScene3DRenderer renderer;
};

TFixture& Fixture() {
  static TFixture fixture;
  return fixture;
}

// Runs the loop with the context current and a framebuffer of the view's size bound.
template <typename Body>
void WithGL(benchmark::State& state, Body body) {
  TFixture& f = Fixture();
  if (!f.Ready()) {
    state.SkipWithError(f.error.c_str());
    return;
  }
  f.gl->Picture(kWidth, kHeight, [&] { body(f); });
  state.counters["polygons"] = f.editor.Polygons.Count();
}

void BM_TopViewPicture(benchmark::State& state) {
  TFixture& f = Fixture();
  TViewportRenderer renderer(f.editor);
  renderer.Redraw(true);
  for (auto _ : state) {
    renderer.RenderScene();
    benchmark::DoNotOptimize(renderer.BackBuffer().constBits());
  }
}

// One frame, waited for until the card has finished it.
void BM_Frame(benchmark::State& state) {
  WithGL(state, [&](TFixture& f) {
    const TScene3DStyle style = StyleFor(f.editor.Values);
    for (auto _ : state) {
      f.renderer.Draw(f.camera, style, kWidth, kHeight);
      f.renderer.Finish();
    }
  });
}

// Every vertex and index as a new project or an import uploads them.
void BM_FullUpload(benchmark::State& state) {
  WithGL(state, [&](TFixture& f) {
    TMeshUpdate all = f.update;
    all.Rebuilt = true;
    for (auto _ : state) {
      f.renderer.Upload(f.scene.Mesh(), all);
      f.renderer.Finish();
    }
  });
}

// 1,000 nodes spread over the mesh raised and lowered in turn: the mesh's own update (which finds
// them) and the upload of their vertices.
void BM_Move1000Nodes(benchmark::State& state) {
  WithGL(state, [&](TFixture& f) {
    const int count = f.editor.Nodes.Count();
    float delta = 16;
    std::size_t bytes = 0;
    for (auto _ : state) {
      for (int k = 0; k < 1000; ++k) f.editor.Nodes[(k * 65 + 17) % count].Z += delta;
      delta = -delta;
      const TMeshUpdate update = f.scene.Sync(f.editor);
      bytes = update.VertexBytes();
      f.renderer.Upload(f.scene.Mesh(), update);
      f.renderer.Finish();
    }
    state.counters["bytes"] = double(bytes);
  });
}

// What one click costs: the ray cast with the node test.
void BM_RayCast(benchmark::State& state) {
  TFixture& f = Fixture();
  int i = 0;
  for (auto _ : state) {
    const double x = 200 + (i * 37) % 400, y = 150 + (i * 53) % 300;
    ++i;
    benchmark::DoNotOptimize(f.scene.PickAt(f.camera, x, y));
  }
}

class TRatioReporter : public benchmark::ConsoleReporter {
 public:
  TRatioReporter() : ConsoleReporter(isatty(fileno(stdout)) ? OO_Defaults : OO_Tabular) {}

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (run.run_type == Run::RT_Iteration || median) {
        // In seconds: the benchmarks report in different units.
        times_[run.run_name.str()] = run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
        if (median) medians_ = true;
      }
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\nRatios for the 256 mesh at %d x %d (%s, real time):\n", kWidth, kHeight,
                medians_ ? "medians" : "single runs");
    Ratio("3-D frame / top view picture", "BM_Frame", "BM_TopViewPicture", 1);
    Ratio("update of 1,000 moved nodes / full upload", "BM_Move1000Nodes", "BM_FullUpload", 0.05);
    Ratio("ray cast / 3-D frame", "BM_RayCast", "BM_Frame", 0.01);
  }

 private:
  void Ratio(const char* figure, const std::string& over, const std::string& under, double goal) {
    const auto a = times_.find(over), b = times_.find(under);
    if (a == times_.end() || b == times_.end()) {
      std::printf("  %-44s not measured in this run\n", figure);
      return;
    }
    const double ratio = a->second / b->second;
    std::printf("  %-44s %8.4fx  (goal under %.2fx: %s)\n", figure, ratio, goal, ratio < goal ? "met" : "NOT met");
  }
  std::map<std::string, double> times_;
  bool medians_ = false;
};

}  // namespace

BENCHMARK(BM_TopViewPicture)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Frame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullUpload)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Move1000Nodes)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RayCast)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  TRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
