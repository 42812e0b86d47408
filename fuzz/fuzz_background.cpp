// Background-picture loading on any bytes: the decoders behind it (PNG, JPEG, BMP and the rest
// Qt reads) and the size limits in front of them, then a draw of what loaded.
#include <unistd.h>

#include <QImage>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "FuzzChecks.h"
#include "model/core/Errors.h"
#include "model/editor/Editor.h"
#include "render/BackgroundPicture.h"
#include "render/Raster.h"

using namespace terravel;

namespace {

// The picture is read by its file name, as the window and the command-line tool read it: one
// scratch file, rewritten for each input.
std::string ScratchFile() {
  static const std::string path = [] {
    const char* dir = std::getenv("TMPDIR");
    std::string name = std::string(dir != nullptr ? dir : "/tmp") + "/terravel-fuzz-XXXXXX";
    const int fd = mkstemp(name.data());
    if (fd < 0) fuzz::Fail("no scratch file");
    close(fd);
    return name;
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = ScratchFile();
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) fuzz::Fail("cannot write the scratch file");
  if (size > 0) std::fwrite(data, 1, size, file);
  std::fclose(file);

  TBackgroundPicture picture;
  try {
    picture.SetBackgroundImage(path, 0, 0, 1, 1);
  } catch (const ETerravelError&) {
    fuzz::Check(!picture.HasBackgroundImage(), "a refused picture stayed");
    return 0;
  }
  fuzz::Check(picture.Picture().format() == QImage::Format_RGB32, "the picture is not RGB32");
  fuzz::Check(picture.Picture().width() <= kLargestPictureSide && picture.Picture().height() <= kLargestPictureSide,
              "a picture above the size limit loaded");

  // Drawn whole into a small viewport at a zoom that shows every picture pixel.
  TEditor editor;
  editor.View.Zoom = 1;
  QImage target(64, 48, QImage::Format_RGB32);
  TRaster raster(target);
  picture.Draw(raster, editor);
  return 0;
}
