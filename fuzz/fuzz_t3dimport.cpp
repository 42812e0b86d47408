// The Unreal text parser and the import (the reader, then ApplyImport) on any bytes. A refused
// file changes nothing; an accepted one gives a consistent document whose every node the exports
// can write.
#include <cmath>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzChecks.h"
#include "model/core/Errors.h"
#include "model/formats/T3DParser.h"
#include "model/formats/UnrealTextExport.h"
#include "model/formats/UnrealTextImport.h"

using namespace terravel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);

  // The tree on its own, with every view into the text walked once.
  TT3DMap map;
  try {
    map.Parse(bytes);
    std::size_t seen = map.Header().size() + map.Trailer().size() + map.Lines().size();
    for (const auto& actor : map.Actors) seen += actor->OtherLines().size();
    (void)seen;
  } catch (const ETerravelError&) {
  }

  TEditor editor;
  try {
    ApplyImport(editor, ReadUnrealTextBytes(bytes, 1.0f));
  } catch (const ETerravelError&) {
    fuzz::Check(editor.Nodes.Count() == 0 && editor.Polygons.Count() == 0, "a refused import changed the document");
    return 0;
  }
  fuzz::CheckConsistent(editor);
  for (const T3DCoord& node : editor.Nodes)
    fuzz::Check(std::isfinite(node.X) && std::isfinite(node.Y) && std::isfinite(node.Z), "imported a non-finite node");
  // What came in must go out again.
  try {
    (void)UnrealTextOf(editor);
  } catch (const ETerravelError& error) {
    fuzz::Fail(std::string("an imported map does not export: ") + error.what());
  }
  return 0;
}
