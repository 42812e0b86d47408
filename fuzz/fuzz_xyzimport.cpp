// The X/Y/Z import on any bytes (the reader, then ApplyImport), with the decimal separator and
// the scale taken from the first byte. Every node that comes in is finite and exports, and the
// export reads back as as many nodes.
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "FuzzChecks.h"
#include "model/core/Errors.h"
#include "model/formats/XYZText.h"
#include "model/text/NumberText.h"

using namespace terravel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static constexpr float kScales[] = {1.0f, 0.5f, 16.0f, 1e-3f};
  const std::uint8_t choice = data[0];
  SetDecimalSeparator((choice & 4) != 0 ? ',' : '.');
  const float scale = kScales[choice & 3];
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

  TEditor editor;
  int added = 0;
  try {
    const TImport import{XYZNodesOf(bytes, scale), {}, {}};
    ApplyImport(editor, import);
    added = static_cast<int>(std::get<TAppendedMesh>(import.Delta).Nodes.size());
  } catch (const ETerravelError&) {
    fuzz::Check(editor.Nodes.Count() == 0, "a refused import changed the document");
    return 0;
  }
  fuzz::Check(added == editor.Nodes.Count(), "the count returned is not the count added");
  fuzz::CheckConsistent(editor);
  for (const T3DCoord& node : editor.Nodes)
    fuzz::Check(std::isfinite(node.X) && std::isfinite(node.Y) && std::isfinite(node.Z), "imported a non-finite node");

  std::string text;
  try {
    text = XYZTextOf(editor, 1.0f);
  } catch (const ETerravelError& error) {
    fuzz::Fail(std::string("imported nodes do not export: ") + error.what());
  }
  try {
    fuzz::Check(static_cast<int>(XYZNodesOf(text, 1.0f).Nodes.size()) == added,
                "the export reads back as another node count");
  } catch (const ETerravelError& error) {
    fuzz::Fail(std::string("an export does not read back: ") + error.what());
  }
  return 0;
}
