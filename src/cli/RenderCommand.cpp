#include "cli/RenderCommand.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImageWriter>

#include <cmath>
#include <memory>
#include <sstream>

#include "cli/Arguments.h"
#include "cli/Render3DCommand.h"
#include "model/core/Errors.h"
#include "model/core/FileIO.h"
#include "model/editor/Editor.h"
#include "model/project/OpenProject.h"
#include "model/text/NumberText.h"
#include "model/view/ViewTransform.h"
#include "render/ReliefPainter.h"
#include "render/ViewportRenderer.h"

namespace terravel::cli {

namespace {

constexpr int kLargestSide = 16384;
constexpr long long kLargestArea = 32LL * 1024 * 1024;

TPixelSize ParseSize(const std::string& text) {
  return cli::ParseSize(text, {1, kLargestSide, kLargestArea},
                        "--size takes WIDTHxHEIGHT, each from 1 to " + std::to_string(kLargestSide) +
                            " and at most " + std::to_string(kLargestArea) + " pixels in all (got \"" + text + "\")");
}

// "X,Y" with a decimal point.
std::pair<float, float> ParsePair(const std::string& option, const std::string& text) {
  const auto comma = text.find(',');
  double a = 0, b = 0;
  if (comma == std::string::npos || !TryParseNumber(text.substr(0, comma), a, '.') ||
      !TryParseNumber(text.substr(comma + 1), b, '.') || !std::isfinite(float(a)) ||
      !std::isfinite(float(b))) {
    throw EUsageError(option + " takes two numbers separated by a comma (got \"" + text + "\")");
  }
  return {static_cast<float>(a), static_cast<float>(b)};
}

// --show: the labels and readouts to show; everything not named is off.
struct TShow {
  bool Z = false;
  TViewFlags Flags;
};

TShow ParseShow(const std::string& list) {
  TShow show;
  show.Flags.ShowNodeNames = show.Flags.ShowPolygonNames = show.Flags.ShowTextureNames = false;
  show.Flags.ShowPosition = show.Flags.ShowScale = false;
  std::stringstream items(list);
  std::string item;
  while (std::getline(items, item, ',')) {
    if (item == "z") {
      show.Z = true;
    } else if (item == "nodes") {
      show.Flags.ShowNodeNames = true;
    } else if (item == "polygons") {
      show.Flags.ShowPolygonNames = true;
    } else if (item == "textures") {
      show.Flags.ShowTextureNames = true;
    } else if (item == "position") {
      show.Flags.ShowPosition = true;
    } else if (item == "scale") {
      show.Flags.ShowScale = true;
    } else if (item != "none" && !item.empty()) {
      throw EUsageError(
          "--show takes a list of z, nodes, polygons, textures, position, scale or none (got \"" + item +
          "\")");
    }
  }
  return show;
}

// Qt's warning that XDG_RUNTIME_DIR is not set (usual in scripts and containers) says nothing
// about the work: it is dropped, and every other message goes where it went.
QtMessageHandler previousHandler = nullptr;

void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.contains(QLatin1String("XDG_RUNTIME_DIR"))) return;
  if (previousHandler != nullptr) previousHandler(type, context, message);
}

// Fonts and pictures need a GUI application; without a display the offscreen platform serves.
class TGuiScope {
 public:
  TGuiScope() {
    if (QCoreApplication::instance() != nullptr) {
      if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
        throw ETerravelError("render needs a GUI application");
      }
      return;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (previousHandler == nullptr) previousHandler = qInstallMessageHandler(QuietHandler);
    app_ = std::make_unique<QGuiApplication>(argc_, argv_);
  }

 private:
  static inline char name_[] = "terravel-cli";
  static inline char* argv_[] = {name_, nullptr};
  static inline int argc_ = 1;
  std::unique_ptr<QGuiApplication> app_;
};

}  // namespace

std::string PngBytes(const QImage& image, const std::string& path) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "png");
  if (!writer.write(image))
    throw ETerravelError(CannotCreateText(path) + ": " + writer.errorString().toStdString());
  return bytes.toStdString();
}

int RunRender(const std::vector<std::string>& words, std::ostream& out) {
  const TArguments arguments =
      ParseArguments(words, {"--size", "--show", "--background", "--origin", "--scale", "--camera", "--exaggerate"},
                     {"--fit", "--pick", "--no-gradient-lines", "--relief", "--3d"});
  if (arguments.Has("--3d")) {
    const TGuiScope gui;
    return RunRender3D(arguments, out);
  }
  if (arguments.Has("--camera") || arguments.Has("--exaggerate")) throw EUsageError("--camera and --exaggerate go with --3d");
  if (arguments.Has("--relief") && arguments.Has("--pick")) throw EUsageError("choose one of --relief and --pick");
  ExpectPositional(arguments, 2);
  const std::string& input = arguments.Positional[0];
  const std::string& output = arguments.Positional[1];
  const TPixelSize size = arguments.Has("--size") ? ParseSize(*arguments.Value("--size")) : TPixelSize{960, 594};
  const auto background = arguments.Value("--background");
  if (!background && (arguments.Has("--origin") || arguments.Has("--scale"))) {
    throw EUsageError("--origin and --scale place the picture given by --background");
  }
  const auto origin = arguments.Has("--origin") ? ParsePair("--origin", *arguments.Value("--origin"))
                                                : std::pair<float, float>{0, 0};
  const auto scale = arguments.Has("--scale") ? ParsePair("--scale", *arguments.Value("--scale"))
                                              : std::pair<float, float>{1, 1};
  if (scale.first == 0 || scale.second == 0) throw EUsageError("--scale takes two non-zero numbers");
  const auto showList = arguments.Value("--show");
  const TShow show = showList ? ParseShow(*showList) : TShow{};

  RefuseOutputOverInput(input, output);
  const TGuiScope gui;
  TEditor editor;
  OpenProject(editor, input);
  editor.View.Size = {size.Width, size.Height};
  TViewportRenderer renderer(editor);
  if (showList) {
    editor.View.ShowZ = show.Z;
    renderer.Flags = show.Flags;
  }
  renderer.Flags.GradientLines = !arguments.Has("--no-gradient-lines");
  if (arguments.Has("--fit")) ZoomToFit(editor);
  if (background)
    renderer.SetBackgroundImage(*background, origin.first, origin.second, scale.first, scale.second);

  const bool pick = arguments.Has("--pick"), relief = arguments.Has("--relief");
  if (relief) {
    WriteFileAtomically(output, PngBytes(RenderRelief(editor), output));
  } else {
    if (pick) {
      renderer.RenderPickBuffer();
    } else {
      renderer.RenderScene();
    }
    WriteFileAtomically(output, PngBytes(pick ? renderer.PickBuffer() : renderer.BackBuffer(), output));
  }
  out << "Wrote " << (pick ? "the pick buffer" : relief ? "the relief" : "the picture") << " of " << input << " to " << output << " ("
      << size.Width << " x " << size.Height << ")\n";
  return 0;
}

}  // namespace terravel::cli
