// Every export of the format table (but the heightmap, which has its own target) on small
// documents made from the bytes: any float bits for the coordinates (NaN, infinities, the largest
// and the smallest), any corners, odd texts and scales. An export either writes its file or is
// refused with an error and leaves nothing behind (no file, no temporary file); it never changes
// the document; a node at no finite place is refused by the formats that promise to.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "FuzzChecks.h"
#include "model/core/Errors.h"
#include "model/formats/FormatTable.h"
#include "model/projectfile/ProjectFile.h"

using namespace terravel;
namespace fs = std::filesystem;

namespace {

const std::string& Folder() {
  static const std::string folder = [] {
    char name[] = "/tmp/fuzz_exports.XXXXXX";
    if (mkdtemp(name) == nullptr) fuzz::Fail("no folder for the exports");
    return std::string(name);
  }();
  return folder;
}

bool Empty(const std::string& folder) { return fs::directory_iterator(folder) == fs::directory_iterator(); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  static constexpr float kScales[] = {1.0f, 0.5f, 1e30f, 1e-30f};
  static const char* const kTexts[] = {"", "GenEarth.Grass", "Caf\xE9 \"quoted\"\r\nnext", "a b;c,d"};
  const float scale = kScales[data[0] & 3];
  const std::size_t nodes = 1 + (data[1] & 7);
  std::size_t at = 2;
  TEditor editor;
  for (std::size_t n = 0; n < nodes && at + 12 <= size; ++n, at += 12) {
    float xyz[3];
    std::memcpy(xyz, data + at, sizeof xyz);
    editor.Nodes.NewNode(kTexts[n & 3], n == 1 ? kTexts[2] : "", xyz[0], xyz[1], xyz[2]);
  }
  const int count = editor.Nodes.Count();
  if (count == 0) return 0;
  for (; at + 4 <= size; at += 4) {
    editor.Polygons.NewPolygon(data[at] % count, data[at + 1] % count, data[at + 2] % count, kTexts[data[at + 3] & 3],
                               kTexts[(data[at + 3] >> 2) & 3], kTexts[(data[at + 3] >> 4) & 3]);
  }
  bool finite = true;
  for (const T3DCoord& node : editor.Nodes)
    finite = finite && std::isfinite(node.X) && std::isfinite(node.Y) && std::isfinite(node.Z);

  const std::string document = WriteProjectBytes(editor);
  const std::string& folder = Folder();
  for (const TExchangeFormatInfo& format : ExchangeFormats()) {
    if (!format.Exports() || format.Format == TExchangeFormat::Heightmap) continue;
    fs::remove_all(folder);
    fs::create_directory(folder);
    TWriteOptions options;
    options.Scale = scale;
    options.ZUp = (data[0] & 4) != 0;
    bool written = true;
    try {
      format.Write(editor, folder + "/out." + format.DefaultExtension(), options);
    } catch (const ETerravelError&) {
      written = false;
      fuzz::Check(Empty(folder), "a refused export left a file behind");
    }
    if (written) fuzz::Check(fs::exists(folder + "/out." + format.DefaultExtension()), "an export wrote no file");
    const bool promisesFinite = format.Format == TExchangeFormat::XYZText ||
                                format.Format == TExchangeFormat::UnrealText || format.Format == TExchangeFormat::Gltf;
    if (!finite && promisesFinite) fuzz::Check(!written, "a node at no finite place was exported");
    fuzz::Check(WriteProjectBytes(editor) == document, "an export changed the document");
  }
  fs::remove_all(folder);
  return 0;
}
