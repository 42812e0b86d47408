#pragma once
// The words of Unreal text that the map parser reads and the exporter writes. A block opens with
// "Begin <name>" and closes with "End <name>", each on its own line.
#include <string_view>

namespace terravel::t3d {

inline constexpr std::string_view kBegin = "Begin ";
inline constexpr std::string_view kEnd = "End ";
inline constexpr std::string_view kBeginMap = "Begin Map";
inline constexpr std::string_view kEndMap = "End Map";
inline constexpr std::string_view kBeginActor = "Begin Actor";
inline constexpr std::string_view kEndActor = "End Actor";
inline constexpr std::string_view kBeginBrush = "Begin Brush";
inline constexpr std::string_view kEndBrush = "End Brush";
inline constexpr std::string_view kBeginPolyList = "Begin PolyList";
inline constexpr std::string_view kEndPolyList = "End PolyList";
inline constexpr std::string_view kBeginPolygon = "Begin Polygon";
inline constexpr std::string_view kEndPolygon = "End Polygon";

// The key of the Begin Polygon line that names the texture, and the item of a corner.
inline constexpr std::string_view kTexture = "Texture";
inline constexpr std::string_view kVertex = "Vertex";

}  // namespace terravel::t3d
