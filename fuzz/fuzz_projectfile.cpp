// The project-file reader on any bytes. What it accepts must save, and the saved bytes must read
// back as the same document: a file that opens but cannot be saved again costs the user data.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "FuzzChecks.h"
#include "model/core/Errors.h"
#include "model/projectfile/ProjectFile.h"

using namespace terravel;

namespace {

// Floats compare by their bits, so that a NaN must come back as the same NaN.
bool Same(float a, float b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

void CheckSameDocument(const TEditor& a, const TEditor& b) {
  fuzz::Check(a.Nodes.Count() == b.Nodes.Count(), "node count after reload");
  fuzz::Check(a.Polygons.Count() == b.Polygons.Count(), "polygon count after reload");
  for (int i = 0; i < a.Nodes.Count(); ++i) {
    const T3DCoord &n = a.Nodes[i], &m = b.Nodes[i];
    fuzz::Check(Same(n.X, m.X) && Same(n.Y, m.Y) && Same(n.Z, m.Z), "node position after reload");
    fuzz::Check(n.Name == m.Name && n.Group == m.Group && n.Selected == m.Selected, "node after reload");
  }
  for (int i = 0; i < a.Polygons.Count(); ++i) {
    const TPoly &p = a.Polygons[i], &q = b.Polygons[i];
    fuzz::Check(p.Node1 == q.Node1 && p.Node2 == q.Node2 && p.Node3 == q.Node3, "corners after reload");
    fuzz::Check(p.Name == q.Name && p.Group == q.Group && p.Texture == q.Texture && p.Color == q.Color &&
                    p.Selected == q.Selected,
                "polygon after reload");
  }
  const TProjectValues &v = a.Values, &w = b.Values;
  fuzz::Check(Same(v.MinZ, w.MinZ) && Same(v.MaxZ, w.MaxZ) && Same(v.PgInc, w.PgInc), "MinZ, MaxZ, PgInc");
  const TViewState &s = a.View, &t = b.View;
  fuzz::Check(s.ShowZ == t.ShowZ && Same(s.PanX, t.PanX) && Same(s.PanY, t.PanY) && Same(s.Zoom, t.Zoom),
              "ShowZ, pan, zoom");
  fuzz::Check(v.GridX == w.GridX && v.GridY == w.GridY, "grid after reload");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TEditor first;
  try {
    ReadProjectBytes(first, bytes, "fuzz.tvp");
  } catch (const ETerravelError&) {
    fuzz::CheckConsistent(first);  // a refused file leaves a document that still holds together
    return 0;
  }
  fuzz::CheckConsistent(first);

  const std::string saved = WriteProjectBytes(first);
  TEditor second;
  try {
    ReadProjectBytes(second, saved, "saved.tvp");
  } catch (const ETerravelError& error) {
    fuzz::Fail(std::string("a saved project does not read back: ") + error.what());
  }
  CheckSameDocument(first, second);
  fuzz::Check(WriteProjectBytes(second) == saved, "the second save differs from the first");
  return 0;
}
