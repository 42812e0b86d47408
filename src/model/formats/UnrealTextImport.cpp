#include "model/formats/UnrealTextImport.h"

#include <cctype>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "model/actions/Requests.h"
#include "model/core/Errors.h"
#include "model/core/FileIO.h"
#include "model/document/RedrawSuspension.h"
#include "model/editor/Editor.h"
#include "model/formats/FiniteCoordinates.h"
#include "model/formats/T3DParser.h"
#include "model/text/NumberText.h"

namespace terravel {

namespace {

// Finds the first node of the list at exactly a position, in constant time: the index of every
// node that was first at its position, kept up to date as the import appends nodes. Positions
// compare as single-precision numbers (so 0 and -0 are one position, and NaN matches nothing).
// An open-addressing table with linear probing, at most half full.
class TNodeLookup {
 public:
  explicit TNodeLookup(const TCoordList& nodes) {
    Grow(2 * static_cast<std::size_t>(nodes.Count()) + 2048);
    for (int i = 0; i < nodes.Count(); ++i) Remember(nodes[i].X, nodes[i].Y, nodes[i].Z, i);
  }

  int Find(float x, float y, float z) const {
    if (std::isnan(x) || std::isnan(y) || std::isnan(z)) return -1;
    return slots_[SlotOf(KeyOf(x, y, z))].index;
  }

  // Keeps the index unless an earlier node stands at the same position.
  void Remember(float x, float y, float z, int index) {
    if (std::isnan(x) || std::isnan(y) || std::isnan(z)) return;
    if (2 * (used_ + 1) > slots_.size()) Grow(2 * slots_.size());
    const TKey key = KeyOf(x, y, z);
    TSlot& slot = slots_[SlotOf(key)];
    if (slot.index >= 0) return;
    slot = {key, index};
    ++used_;
  }

 private:
  struct TKey {
    std::uint32_t x, y, z;
    bool operator==(const TKey&) const = default;
  };
  struct TSlot {
    TKey key{};
    int index = -1;  // -1: free
  };

  static std::uint32_t BitsOf(float value) {
    value += 0.0f;  // -0 becomes +0
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
  }
  static TKey KeyOf(float x, float y, float z) { return {BitsOf(x), BitsOf(y), BitsOf(z)}; }

  static std::uint64_t HashOf(const TKey& key) {
    std::uint64_t h = (std::uint64_t(key.x) << 32 | key.y) * 0x9E3779B97F4A7C15ull;
    h ^= (h >> 29) + key.z * 0xBF58476D1CE4E5B9ull;
    h *= 0x94D049BB133111EBull;
    return h ^ (h >> 31);
  }

  // The slot that holds the key, or the free slot where it belongs.
  std::size_t SlotOf(const TKey& key) const {
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = static_cast<std::size_t>(HashOf(key)) & mask;
    while (slots_[at].index >= 0 && !(slots_[at].key == key)) at = (at + 1) & mask;
    return at;
  }

  void Grow(std::size_t wanted) {
    std::size_t size = 1;
    while (size < wanted) size *= 2;
    std::vector<TSlot> old = std::move(slots_);
    slots_.assign(size, TSlot());
    for (const TSlot& slot : old)
      if (slot.index >= 0) slots_[SlotOf(slot.key)] = slot;
  }

  std::vector<TSlot> slots_;
  std::size_t used_ = 0;
};

// A value of the file times the scale, formed in extended precision and rounded to single; what
// lies beyond the float range becomes an infinity, as the rounding would make it.
float Scaled(double value, float scale) {
  static const long double kOverflow = FLT_MAX + std::ldexp(1.0L, 103);  // FLT_MAX and half an ulp
  const long double product = static_cast<long double>(value) * static_cast<long double>(scale);
  if (std::fabs(product) >= kOverflow) return product > 0 ? HUGE_VALF : -HUGE_VALF;
  return static_cast<float>(product);
}

// A brush exported on its own (by UnrealEd, or by Terravel's own export) is a bare "Begin PolyList"
// ... "End PolyList": it reads as a map of one brush at the origin with no transform. Anything
// else is left to the map parser, and to its "Begin Map" message. `wrapped` holds the text the
// returned view refers to.
std::string_view AsMap(std::string_view bytes, std::string& wrapped) {
  std::string_view first = bytes;
  if (first.starts_with("\xEF\xBB\xBF")) first.remove_prefix(3);
  first = TT3DMap::Trim(first.substr(0, first.find_first_of("\r\n", first.find_first_not_of(" \t\r\n"))));
  constexpr std::string_view kBeginPolyList = "begin polylist";
  if (first.size() < kBeginPolyList.size()) return bytes;
  for (std::size_t i = 0; i < kBeginPolyList.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(first[i])) != kBeginPolyList[i]) return bytes;
  wrapped = "Begin Map\r\nBegin Actor Class=Brush\r\nBegin Brush\r\n";
  wrapped += TT3DMap::Trim(bytes.starts_with("\xEF\xBB\xBF") ? bytes.substr(3) : bytes);
  wrapped += "\r\nEnd Brush\r\nEnd Actor\r\nEnd Map\r\n";
  return wrapped;
}

}  // namespace

TZRange ImportZRange(float lowest, float highest, float step) {
  TZRange range{lowest, highest};
  // A multiple beyond the largest float stays the value itself.
  auto single = [](long double value, float otherwise) {
    return std::fabs(value) <= FLT_MAX ? static_cast<float>(value) : otherwise;
  };
  if (std::isfinite(step) && step != 0) {
    const long double s = std::fabs(static_cast<long double>(step));
    long double k = std::floor(lowest / s);
    if (k * s > lowest) --k;  // the quotient may have rounded up onto a whole number
    range.MinZ = single(k * s, lowest);
    k = std::ceil(highest / s);
    if (k * s < highest) ++k;
    range.MaxZ = single(k * s, highest);
  }
  // Rounding is monotonic, so the bounds enclose the range; this holds even where floats are
  // coarser than the step.
  if (!(range.MinZ <= lowest)) range.MinZ = lowest;
  if (!(range.MaxZ >= highest)) range.MaxZ = highest;
  range.MinZ += 0.0f;  // never "-0"
  range.MaxZ += 0.0f;
  return range;
}

namespace {

// A vertex beyond the single-precision range would become an infinite node that no export can
// write: such a file is refused, naming the line, before the first change.
void RequireSingleRange(const TT3DMap& map, float scale) {
  for (const auto& actor : map.Actors) {
    const TBrush* brush = actor->AsBrush();
    if (brush == nullptr) continue;
    for (const TT3DPolygon& polygon : brush->Polygons) {
      for (const TPolygonItem& item : polygon.Items) {
        if (item.ItemName != "Vertex") continue;
        for (const double value : item.Values) {
          if (!FitsSingle(static_cast<long double>(value) * scale)) {
            throw EInvalidFileError("Line " + std::to_string(item.Line) + ": the coordinate " +
                                    FormatGeneral(value) + " lies outside the single-precision range.");
          }
        }
      }
    }
  }
}

}  // namespace

void ConvertUnrealText(TEditor& editor, const TT3DMap& map, float scale) {
  RequireSingleRange(map, scale);
  TNodeLookup lookup(editor.Nodes);
  bool anyZ = false;
  float lowest = 0, highest = 0;

  for (const auto& actor : map.Actors) {
    const TBrush* brush = actor->AsBrush();
    if (brush == nullptr) continue;
    for (const TT3DPolygon& polygon : brush->Polygons) {
      int counter = 0;
      int first = -1, previous = -1, current = -1;
      for (const TPolygonItem& item : polygon.Items) {
        if (item.ItemName != "Vertex") continue;
        T3DCoord node;
        node.Name = brush->BrushName;
        node.X = Scaled(item.Values[0], scale);
        node.Y = Scaled(item.Values[1], scale);
        node.Z = Scaled(item.Values[2], scale);
        node.Selected = true;

        int index = lookup.Find(node.X, node.Y, node.Z);
        if (index < 0) {
          const int before = editor.Nodes.Count();
          DoAddNode(editor, node);
          if (editor.Nodes.Count() > before) {
            index = editor.Nodes.Count() - 1;
            lookup.Remember(node.X, node.Y, node.Z, index);
          }
        }

        if (counter == 0) {
          first = index;
        } else {
          previous = current;
          current = index;
        }
        if (++counter >= 3) {
          TPoly triangle;
          triangle.Name = polygon.Item;
          triangle.Node1 = first;
          triangle.Node2 = previous;
          triangle.Node3 = current;
          triangle.Color = kAutomaticColor;
          triangle.Texture = polygon.Texture;
          triangle.Selected = true;
          DoAddPolygon(editor, triangle);
        }

        if (!std::isnan(node.Z)) {
          if (!anyZ || node.Z < lowest) lowest = node.Z;
          if (!anyZ || node.Z > highest) highest = node.Z;
          anyZ = true;
        }
      }
    }
  }

  // Without a single vertex there is no range to show: MinZ and MaxZ stay as they are.
  if (!anyZ) return;
  const TZRange range = ImportZRange(lowest, highest, editor.Values.PgInc);
  DoSetMinZ(editor, range.MinZ);
  DoSetMaxZ(editor, range.MaxZ);
}

// The whole map is parsed before the first change, so a damaged file changes nothing. The tree
// lives only inside the call, so it may refer into the bytes instead of copying them.
bool ImportUnrealTextBytes(TEditor& editor, std::string_view bytes, float scale) {
  // Redrawing is suspended while the many single actions run, and resumed also after an error.
  TRedrawSuspension suspension(editor.Host());
  TT3DMap map;
  std::string wrapped;
  map.ParseInPlace(AsMap(bytes, wrapped));
  ConvertUnrealText(editor, map, scale);
  suspension.Resume();
  return true;
}

bool ImportUnrealText(TEditor& editor, const std::string& path, float scale) {
  TRedrawSuspension suspension(editor.Host());
  const std::string bytes = ReadFileBytes(path);
  TT3DMap map;
  std::string wrapped;
  map.ParseInPlace(AsMap(bytes, wrapped));
  ConvertUnrealText(editor, map, scale);
  suspension.Resume();
  return true;
}

}  // namespace terravel
