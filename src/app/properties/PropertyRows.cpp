#include "app/properties/PropertyRows.h"

#include <array>

namespace terravel {

namespace {

using TTemplate = std::vector<std::string_view>;

const TTemplate kNone{"-no object selected"};
const TTemplate kNodes{"Description", ">Group", "Position", ">X", ">Y", ">Z"};
const TTemplate kNode{"Description", ">Group", ">Name", "Position", ">X", ">Y", ">Z"};
const TTemplate kPolys{"Description", ">Group",  "Vertexes", ">Node1",  ">Node2",
                       ">Node3",      "Display", ">Color",   ">Texture"};
const TTemplate kPoly{"Description", ">Group", ">Name",   "Vertexes", ">Node1",
                      ">Node2",      ">Node3", "Display", ">Color",   ">Texture"};
const TTemplate kBoth{"Description", ">Group"};

using F = TPropertyField;
using TFields = std::array<TPropertyField, kPropertyValueCount>;

const TFields& Fields(TPropertyMode mode) {
  static const TFields none{};
  static const TFields nodes{F::None, F::Group, F::None, F::X, F::Y, F::Z};
  static const TFields node{F::None, F::Group, F::Name, F::None, F::X, F::Y, F::Z};
  static const TFields polys{F::None,  F::Group, F::None,  F::Node1,  F::Node2,
                             F::Node3, F::None,  F::Color, F::Texture};
  static const TFields poly{F::None,  F::Group, F::Name, F::None,  F::Node1,
                            F::Node2, F::Node3, F::None, F::Color, F::Texture};
  static const TFields both{F::None, F::Group};
  switch (mode) {
    case TPropertyMode::pmNodes:
      return nodes;
    case TPropertyMode::pmNode:
      return node;
    case TPropertyMode::pmPolys:
      return polys;
    case TPropertyMode::pmPoly:
      return poly;
    case TPropertyMode::pmBoth:
      return both;
    case TPropertyMode::pmNone:
      break;
  }
  return none;
}

}  // namespace

const std::vector<std::string_view>& PropertyTemplate(TPropertyMode mode) {
  switch (mode) {
    case TPropertyMode::pmNodes:
      return kNodes;
    case TPropertyMode::pmNode:
      return kNode;
    case TPropertyMode::pmPolys:
      return kPolys;
    case TPropertyMode::pmPoly:
      return kPoly;
    case TPropertyMode::pmBoth:
      return kBoth;
    case TPropertyMode::pmNone:
      break;
  }
  return kNone;
}

TPropertyRowKind RowKind(std::string_view line) {
  if (!line.empty() && line.front() == kChildMarker) return TPropertyRowKind::Child;
  if (!line.empty() && line.front() == kMessageMarker) return TPropertyRowKind::Message;
  return TPropertyRowKind::Category;
}

TPropertyField FieldAt(TPropertyMode mode, int row) {
  if (row < 0 || row >= kPropertyValueCount) return F::None;
  return Fields(mode)[static_cast<std::size_t>(row)];
}

int RowOf(TPropertyMode mode, TPropertyField field) {
  if (field == F::None) return -1;
  const TFields& fields = Fields(mode);
  for (int row = 0; row < kPropertyValueCount; ++row) {
    if (fields[static_cast<std::size_t>(row)] == field) return row;
  }
  return -1;
}

}  // namespace terravel
