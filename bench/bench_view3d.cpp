// The 3-D view on the 256 x 256 mesh (131,072 polygons) at 800 x 600, drawn by this machine's
// OpenGL without a display (EGL, Mesa's llvmpipe here): one frame against the top view's picture
// of the same mesh and against what `render --3d` does with it, the wireframe against the shaded
// frame, the buffer update after moving 1,000 nodes against a full upload, and one click's ray
// cast against a frame. Under a display (xvfb-run with QT_QPA_PLATFORM=xcb) also a frame of the
// editor's own 3-D view in a window, composition included. The ratios are printed at the end
// (medians with --benchmark_repetitions). Without EGL the GL benchmarks report an error and are
// left out.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "GuiBench.h"
#include "app/view3d/View3DDock.h"
#include "app/view3d/View3DWidget.h"
#include "model/actions/Requests.h"
#include "model/editor/Editor.h"
#include "model/history/ChangeSet.h"
#include "model/interaction/ClickSelection.h"
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
    editor.View.Size = {kWidth, kHeight};
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

// One frame, waited for until the card has finished it; with the nodes as dots (1) or without,
// shaded (0) or with the wireframe over it (1).
void BM_Frame(benchmark::State& state) {
  WithGL(state, [&](TFixture& f) {
    TScene3DStyle style = StyleFor(f.editor.Values);
    style.ShowNodes = state.range(0) != 0;
    style.Wireframe = state.range(1) != 0;
    for (auto _ : state) {
      f.renderer.Draw(f.camera, style, kWidth, kHeight);
      f.renderer.Finish();
    }
  });
}

// What `render --3d` does with the mesh once the project is read: the scene, a context of its own,
// the shaders, the upload, one frame and its pixels read back (the PNG is not written).
void BM_Render3DCommand(benchmark::State& state) {
  TFixture& f = Fixture();
  if (!f.Ready()) {
    state.SkipWithError(f.error.c_str());
    return;
  }
  for (auto _ : state) {
    TScene3D scene;
    const TMeshUpdate update = scene.Sync(f.editor);
    TCamera3D camera;
    camera.SetViewport(kWidth, kHeight);
    camera.SetSceneBounds(scene.Mesh().Bounds());
    camera.Frame(scene.Mesh().AllPoints());
    std::string error;
    const std::unique_ptr<TOffscreenGL> gl = TOffscreenGL::Create(error);
    if (!gl) {
      state.SkipWithError(error.c_str());
      return;
    }
    TScene3DRenderer renderer;
    const QImage picture = gl->Picture(kWidth, kHeight, [&] {
      if (!renderer.Initialise(gl->Resolver(), error)) return;
      renderer.Upload(scene.Mesh(), update);
      renderer.Draw(camera, StyleFor(f.editor.Values), kWidth, kHeight);
      renderer.Release();
    });
    benchmark::DoNotOptimize(picture.constBits());
  }
}

// One frame of the editor's 3-D view in a window of the same size, as an orbit step redraws it:
// the widget's paint and the window's composition onto the screen, waited for until drawn.
void BM_WindowFrame(benchmark::State& state) {
  if (QGuiApplication::platformName() == QLatin1String("offscreen")) {
    state.SkipWithError("no display: run under xvfb-run with QT_QPA_PLATFORM=xcb");
    return;
  }
  QString why;
  bool software = false;
  if (!OpenGLAvailable(why, &software)) {
    state.SkipWithError(why.toStdString().c_str());
    return;
  }
  TFixture& f = Fixture();
  // Multisampled only where the card does it, as the dock makes the view.
  TView3DWidget view(f.editor, TView3DControls{}, nullptr, !software);
  view.resize(kWidth, kHeight);
  view.show();
  QElapsedTimer waited;
  waited.start();
  const auto exposed = [&] { return view.windowHandle() != nullptr && view.windowHandle()->isExposed(); };
  while ((!exposed() || !view.isValid()) && waited.elapsed() < 10000)
    QApplication::processEvents(QEventLoop::AllEvents, 50);
  if (!view.isValid()) {
    state.SkipWithError("the 3-D view did not start");
    return;
  }
  const auto frame = [&] {
    view.repaint();
    view.makeCurrent();
    view.context()->functions()->glFinish();
    view.doneCurrent();
  };
  frame();  // the first paint uploads the mesh
  for (auto _ : state) frame();
  state.counters["polygons"] = f.editor.Polygons.Count();
}

// Every vertex and index as a new project or an import uploads them. Mesa copies the data within
// the call, so the uploads are timed without a glFinish (BM_FinishOnly shows what one costs).
void BM_FullUpload(benchmark::State& state) {
  std::size_t bytes = 0;
  WithGL(state, [&](TFixture& f) {
    TMeshUpdate all = f.update;
    all.Rebuilt = true;
    const std::size_t before = f.renderer.UploadedBytes();
    for (auto _ : state) {
      f.renderer.Upload(f.scene.Mesh(), all);
    }
    bytes = (f.renderer.UploadedBytes() - before) / std::size_t(std::max<benchmark::IterationCount>(state.iterations(), 1));
  });
  state.counters["bytes"] = double(bytes);
}

// 1,000 nodes spread over the mesh, raised and lowered in turn.
void MoveNodes(TEditor& editor, float delta) {
  const int count = editor.Nodes.Count();
  for (int k = 0; k < 1000; ++k) editor.Nodes[(k * 65 + 17) % count].Z += delta;
}

// The buffer update after moving 1,000 nodes: only their vertices (and the normals around them)
// go to the card.
void BM_Upload1000MovedNodes(benchmark::State& state) {
  WithGL(state, [&](TFixture& f) {
    float delta = 16;
    std::size_t bytes = 0;
    for (auto _ : state) {
      state.PauseTiming();
      MoveNodes(f.editor, delta);
      delta = -delta;
      const TMeshUpdate update = f.scene.Sync(f.editor);
      bytes = update.VertexBytes();
      state.ResumeTiming();
      f.renderer.Upload(f.scene.Mesh(), update);
    }
    state.counters["bytes"] = double(bytes);
  });
}

// The model's side of the same edit: finding the moved nodes, their vertices and normals, and the
// ray cast's grid.
void BM_Sync1000MovedNodes(benchmark::State& state) {
  TFixture& f = Fixture();
  float delta = 16;
  for (auto _ : state) {
    state.PauseTiming();
    MoveNodes(f.editor, delta);
    delta = -delta;
    state.ResumeTiming();
    benchmark::DoNotOptimize(f.scene.Sync(f.editor));
  }
}

void BM_FinishOnly(benchmark::State& state) {
  WithGL(state, [&](TFixture& f) {
    for (auto _ : state) f.renderer.Finish();
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

// The surface cast alone for the rays of the same pixels (no node test): the grid walk.
void BM_SurfaceCast(benchmark::State& state) {
  TFixture& f = Fixture();
  int i = 0;
  for (auto _ : state) {
    const double x = 200 + (i * 37) % 400, y = 150 + (i * 53) % 300;
    ++i;
    benchmark::DoNotOptimize(f.scene.Cast(f.camera.RayThrough(x, y)));
  }
}

// A node moved in the plan as a drag leaves it (its change set told to the editor and the scene),
// then a click beside it: the grid takes the node's polygons anew before the cast.
void BM_PickAfterPlanMove(benchmark::State& state) {
  TFixture& f = Fixture();
  const int node = 128 * 257 + 128;
  TScreenPosition at;
  f.camera.Project(f.scene.Mesh().Position(node), at);
  float delta = 24;
  for (auto _ : state) {
    T3DCoord& moved = f.editor.Nodes[node];
    moved.X = moved.BaseX = moved.X + delta;  // as a finished drag leaves it
    delta = -delta;
    TChangeSet changes;
    changes.MovedNodes = {node};
    f.editor.Publish(changes);
    f.scene.Apply(f.editor, changes);
    benchmark::DoNotOptimize(f.scene.PickAt(f.camera, at.X + 7, at.Y + 5));
  }
}

// A wheel notch over one selected polygon on the same mesh, model side: alone, with a 3-D scene
// following the document by its change sets (as the 3-D view does), and with a scene that compares
// the whole document after every notice (as the 3-D view did before change sets).
struct TNotchFixture {
  TNotchFixture() {
    NewMesh(editor, 256);
    for (T3DCoord& node : editor.Nodes)
      node.Z = std::round(512 + 500 * std::sin(node.X / 3000.0f) * std::cos(node.Y / 4100.0f));
    scene.Sync(editor);
    DoSelectPoly(editor, editor.Polygons.Count() / 2 + 300, true);
  }
  TEditor editor;
  TScene3D scene;
};

class TSceneHost : public TNullHost {
 public:
  TSceneHost(TNotchFixture& fixture, bool whole) : fixture_(fixture), whole_(whole) {}
  void Publish(const TChangeSet& changes) override {
    if (whole_) {
      benchmark::DoNotOptimize(fixture_.scene.Sync(fixture_.editor));
    } else if (changes.Mesh()) {
      benchmark::DoNotOptimize(fixture_.scene.Apply(fixture_.editor, changes));
    }
  }

 private:
  TNotchFixture& fixture_;
  bool whole_;
};

// For one run: the fixture's editor tells nobody (0), a scene following by change sets (1) or one
// comparing the whole document (2); afterwards nobody again, with an empty history.
class TFollowing {
 public:
  TFollowing(TNotchFixture& fixture, int how) : fixture_(fixture), scene_(fixture, how == 2) {
    if (how == 0) {
      fixture_.editor.SetHost(alone_);
    } else {
      fixture_.editor.SetHost(scene_);
    }
  }
  ~TFollowing() {
    fixture_.editor.SetHost(alone_);
    fixture_.editor.History.ClearHistory();
  }

 private:
  TNotchFixture& fixture_;
  TSceneHost scene_;
  TNullHost alone_;
};

void BM_WheelNotch(benchmark::State& state) {
  static TNotchFixture f;
  TFollowing following(f, int(state.range(0)));
  float delta = 16;
  for (auto _ : state) {
    // As the viewport's wheel: the corners of the selected polygons join the selection, then Z.
    DoSelectSelectedPolyNodes(f.editor);
    DoChangeNodeZ(f.editor, delta);
    delta = -delta;
  }
}

// A click on one polygon and then on another, as the top view's click rules make them: alone, with
// the 3-D scene following by change sets, and with the whole-document compare.
void BM_Click(benchmark::State& state) {
  static TNotchFixture f;
  TFollowing following(f, int(state.range(0)));
  const int count = f.editor.Polygons.Count();
  int i = 0;
  for (auto _ : state) {
    TPickHit hit;
    hit.Kind = TPickKind::Polygon;
    hit.Index = (i * 7919 + 301) % count;
    ++i;
    SelectByClick(f.editor, hit, false, false);
  }
}

// What a view pays when nothing changed: comparing the whole document, against an empty change set.
void BM_Unchanged(benchmark::State& state) {
  static TNotchFixture f;
  const TChangeSet nothing;
  for (auto _ : state) {
    if (state.range(0) == 0) {
      benchmark::DoNotOptimize(f.scene.Sync(f.editor));
    } else {
      benchmark::DoNotOptimize(f.scene.Apply(f.editor, nothing));
    }
  }
}

}  // namespace

BENCHMARK(BM_WheelNotch)->Arg(0)->Arg(1)->Arg(2)->ArgName("scene")->Iterations(3000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Click)->Arg(0)->Arg(1)->Arg(2)->ArgName("scene")->Iterations(3000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Unchanged)->Arg(0)->Arg(1)->ArgName("changeset")->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TopViewPicture)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Frame)
    ->Args({1, 0})
    ->Args({0, 0})
    ->Args({1, 1})
    ->ArgNames({"nodes", "wireframe"})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Render3DCommand)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WindowFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FinishOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullUpload)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Upload1000MovedNodes)->Iterations(300)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Sync1000MovedNodes)->Iterations(300)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RayCast)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SurfaceCast)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PickAfterPlanMove)->Unit(benchmark::kMicrosecond);

int main(int argc, char** argv) {
  return terravel::bench::RunGuiBenchmarks<QApplication>(
      argc, argv, "Ratios for the 256 mesh at " + std::to_string(kWidth) + " x " + std::to_string(kHeight),
      [](terravel::bench::TRatioReporter& r) {
        r.Ratio("3-D frame in the window / render --3d", "BM_WindowFrame", "BM_Render3DCommand", 1);
        r.Ratio("3-D frame / render --3d", "BM_Frame/nodes:1/wireframe:0", "BM_Render3DCommand", 1);
        r.Ratio("wireframe frame / shaded frame", "BM_Frame/nodes:1/wireframe:1", "BM_Frame/nodes:1/wireframe:0", 2);
        r.Ratio("3-D frame / top view picture", "BM_Frame/nodes:1/wireframe:0", "BM_TopViewPicture", 1);
        r.Ratio("upload of 1,000 moved nodes / full upload", "BM_Upload1000MovedNodes/iterations:300",
                "BM_FullUpload", 0.05);
        r.Ratio("model update of 1,000 moved nodes / frame", "BM_Sync1000MovedNodes/iterations:300",
                "BM_Frame/nodes:1/wireframe:0", 1);
        r.Ratio("ray cast / 3-D frame", "BM_RayCast", "BM_Frame/nodes:1/wireframe:0", 0.01);
        r.Ratio("wheel notch, scene following / alone", "BM_WheelNotch/scene:1/iterations:3000",
                "BM_WheelNotch/scene:0/iterations:3000", 2);
        r.Ratio("wheel notch, whole-document compare / alone", "BM_WheelNotch/scene:2/iterations:3000",
                "BM_WheelNotch/scene:0/iterations:3000", 40);
        r.Ratio("click, scene following / alone", "BM_Click/scene:1/iterations:3000",
                "BM_Click/scene:0/iterations:3000", 1.5);
        r.Ratio("click, whole-document compare / alone", "BM_Click/scene:2/iterations:3000",
                "BM_Click/scene:0/iterations:3000", 4.2);
        r.Ratio("empty change set / compare of an unchanged document", "BM_Unchanged/changeset:1",
                "BM_Unchanged/changeset:0", 0.01);
      });
}
