#include "model/formats/UnrealTextImport.h"

#include <cctype>
#include <cfloat>
#include <cmath>
#include <vector>

#include "model/core/Errors.h"
#include "model/core/FileIO.h"
#include "model/formats/FiniteCoordinates.h"
#include "model/formats/T3DParser.h"
#include "model/text/NumberText.h"

namespace terravel {

namespace {

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

TRecordedPolygons RecordedPolygonsOf(const TT3DMap& map, float scale) {
  RequireSingleRange(map, scale);
  TRecordedPolygons recorded;
  for (const auto& actor : map.Actors) {
    const TBrush* brush = actor->AsBrush();
    if (brush == nullptr) continue;
    for (const TT3DPolygon& polygon : brush->Polygons) {
      TRecordedPolygons::TPolygon& added = recorded.Polygons.emplace_back();
      added.NodeName = brush->BrushName;
      added.Name = polygon.Item;
      added.Texture = polygon.Texture;
      added.FirstCorner = recorded.Corners.size();
      for (const TPolygonItem& item : polygon.Items) {
        if (item.ItemName != "Vertex") continue;
        recorded.Corners.push_back(
            {Scaled(item.Values[0], scale), Scaled(item.Values[1], scale), Scaled(item.Values[2], scale)});
      }
      added.CornerCount = recorded.Corners.size() - added.FirstCorner;
    }
  }
  return recorded;
}

// The whole map is parsed before anything is returned, so that a damaged file changes nothing.
// The tree lives only inside the call, so it may refer into the bytes instead of copying them.
TImport ReadUnrealTextBytes(std::string_view bytes, float scale) {
  TT3DMap map;
  std::string wrapped;
  map.ParseInPlace(AsMap(bytes, wrapped));
  return {RecordedPolygonsOf(map, scale), {}, {}};
}

TImport ReadUnrealText(const std::string& path, const TReadOptions& options) {
  return ReadUnrealTextBytes(ReadFileBytes(path), options.Scale);
}

}  // namespace terravel
