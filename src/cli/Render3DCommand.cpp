#include "cli/Render3DCommand.h"

#include <QImage>

#include <cmath>
#include <sstream>

#include "cli/RenderCommand.h"
#include "model/core/Errors.h"
#include "model/core/FileIO.h"
#include "model/editor/Editor.h"
#include "model/formats/FiniteCoordinates.h"
#include "model/project/OpenProject.h"
#include "model/scene3d/Scene3D.h"
#include "model/text/NumberText.h"
#include "render/OffscreenGL.h"
#include "render/Scene3DRenderer.h"

namespace terravel::cli {

namespace {

constexpr int kLargestSide = 8192;

struct TCameraWish {
  double Azimuth = 30;
  double Elevation = 45;
  double Distance = 0;  // 0: frame the whole terrain
};

TPixelSize ParseSize(const std::string& text) {
  return cli::ParseSize(text, {1, kLargestSide, 1LL * kLargestSide * kLargestSide},
                        "--size takes WIDTHxHEIGHT, each from 1 to " + std::to_string(kLargestSide) +
                            " with --3d (got \"" + text + "\")");
}

TCameraWish ParseCamera(const std::string& text) {
  std::vector<double> numbers;
  bool readable = true;
  std::stringstream items(text);
  std::string item;
  while (std::getline(items, item, ',')) {
    double value = 0;
    readable = readable && TryParseNumber(item, value, '.') && std::isfinite(value);
    numbers.push_back(value);
  }
  const bool ok = readable && (numbers.size() == 2 || numbers.size() == 3) && numbers[1] >= -90 && numbers[1] <= 90 &&
                  (numbers.size() == 2 || numbers[2] > 0);
  if (!ok) {
    throw EUsageError("--camera takes AZIMUTH,ELEVATION[,DISTANCE]: degrees, the elevation from -90 to 90, "
                      "and a distance above 0 (got \"" + text + "\")");
  }
  return {numbers[0], numbers[1], numbers.size() == 3 ? numbers[2] : 0};
}

float ParseExaggeration(const std::string& text) {
  double value = 0;
  if (!TryParseNumber(text, value, '.') || !(value >= kMinExaggeration && value <= kMaxExaggeration))
    throw EUsageError("--exaggerate takes a number from 1 to 10 (got \"" + text + "\")");
  return static_cast<float>(value);
}

}  // namespace

int RunRender3D(const TArguments& arguments, std::ostream& out) {
  for (const char* other : {"--fit", "--pick", "--no-gradient-lines", "--relief", "--show", "--background", "--origin", "--scale"})
    if (arguments.Has(other)) throw EUsageError(std::string("--3d takes --size, --camera and --exaggerate, not ") + other);
  ExpectPositional(arguments, 2);
  const std::string& input = arguments.Positional[0];
  const std::string& output = arguments.Positional[1];
  TPixelSize size{800, 600};
  if (const auto sizeText = arguments.Value("--size")) size = ParseSize(*sizeText);
  const int width = size.Width, height = size.Height;
  const TCameraWish wish = arguments.Has("--camera") ? ParseCamera(*arguments.Value("--camera")) : TCameraWish{};
  const float exaggeration = arguments.Has("--exaggerate") ? ParseExaggeration(*arguments.Value("--exaggerate")) : 1;

  RefuseOutputOverInput(input, output);
  TEditor editor;
  OpenProject(editor, input);
  // A node at no finite place would leave the whole picture blank.
  if (const std::string text = NonFiniteCoordinateText(editor.Nodes); !text.empty())
    throw ETerravelError("Cannot render: " + text);
  TScene3D scene;
  scene.SetExaggeration(exaggeration);
  const TMeshUpdate update = scene.Sync(editor);
  TCamera3D camera;
  camera.SetViewport(width, height);
  camera.SetSceneBounds(scene.Mesh().Bounds());
  camera.Azimuth = wish.Azimuth;
  camera.Elevation = wish.Elevation;
  camera.Frame(scene.Mesh().AllPoints());
  if (wish.Distance > 0) camera.Distance = wish.Distance;

  std::string error;
  const std::unique_ptr<TOffscreenGL> gl = TOffscreenGL::Create(error);
  if (!gl) throw ETerravelError(error);
  TScene3DRenderer renderer;
  const QImage picture = gl->Picture(width, height, [&] {
    if (!renderer.Initialise(gl->Resolver(), error)) return;
    renderer.Upload(scene.Mesh(), update);
    renderer.Draw(camera, StyleFor(editor.Values), width, height);
    renderer.Release();
  });
  if (!error.empty()) throw ETerravelError(error);
  if (picture.isNull()) throw ETerravelError("the 3-D picture could not be drawn (no framebuffer of that size)");

  WriteFileAtomically(output, PngBytes(picture, output));
  out << "Wrote the 3-D picture of " << input << " to " << output << " (" << width << " x " << height << ")\n";
  return 0;
}

}  // namespace terravel::cli
