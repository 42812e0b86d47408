#include "app/properties/PropertyValues.h"

#include <optional>

#include "model/editor/Editor.h"
#include "model/text/NumberText.h"

namespace terravel {

namespace {

// Collects the common value of a run of objects; the first one's value is kept as it is written.
template <typename Value, typename Same>
class TCommon {
 public:
  explicit TCommon(Same same) : same_(same) {}
  // False once the values differ: the caller may stop.
  bool Add(const Value& value) {
    if (differ_) return false;
    if (!value_) {
      value_ = value;
    } else if (!same_(*value_, value)) {
      differ_ = true;
      value_.reset();
    }
    return !differ_;
  }
  const std::optional<Value>& Result() const { return value_; }

 private:
  Same same_;
  std::optional<Value> value_;
  bool differ_ = false;
};

// Mostly the texts are equal to the letter (a texture or group of a whole mesh): that is quick.
bool SameText(const std::string& a, const std::string& b) {
  return a.size() == b.size() && (a == b || SameTextIgnoringCase(a, b));
}

template <typename Value>
bool Equal(const Value& a, const Value& b) {
  return a == b;
}

template <typename List, typename Get, typename Same>
auto CommonOf(const List& list, Get get, Same same) {
  using Value = std::decay_t<decltype(get(*list.begin()))>;
  TCommon<Value, Same> common(same);
  for (const auto& record : list) {
    if (record.Selected && !common.Add(get(record))) break;
  }
  return common.Result();
}

std::string GroupValue(const TEditor& editor) {
  TCommon<std::string, decltype(&SameText)> common(&SameText);
  bool differ = false;
  for (const T3DCoord& node : editor.Nodes) {
    if (node.Selected && !common.Add(node.Group)) {
      differ = true;
      break;
    }
  }
  if (!differ) {
    for (const TPoly& polygon : editor.Polygons) {
      if (polygon.Selected && !common.Add(polygon.Group)) break;
    }
  }
  return common.Result().value_or(std::string());
}

template <typename Record>
std::string FirstSelectedName(const TRecordList<Record>& list) {
  for (const Record& record : list) {
    if (record.Selected) return record.Name;
  }
  return {};
}

void ShowCoordinates(const TEditor& editor, TPropertyValues& values, int firstRow) {
  const auto coordinate = [&](float T3DCoord::*axis, int row) {
    const auto value = CommonOf(
        editor.Nodes, [axis](const T3DCoord& node) { return node.*axis; }, &Equal<float>);
    if (value) values[static_cast<std::size_t>(row)] = FormatFixed(*value, 6);
  };
  coordinate(&T3DCoord::X, firstRow);
  coordinate(&T3DCoord::Y, firstRow + 1);
  coordinate(&T3DCoord::Z, firstRow + 2);
}

void ShowPolygonValues(const TEditor& editor, TPropertyValues& values, int firstCornerRow) {
  const auto corner = [&](std::int32_t TPoly::*field, int row) {
    const auto value = CommonOf(
        editor.Polygons, [field](const TPoly& p) { return p.*field; }, &Equal<std::int32_t>);
    if (value) values[static_cast<std::size_t>(row)] = std::to_string(*value);
  };
  corner(&TPoly::Node1, firstCornerRow);
  corner(&TPoly::Node2, firstCornerRow + 1);
  corner(&TPoly::Node3, firstCornerRow + 2);
  const auto color = CommonOf(
      editor.Polygons, [](const TPoly& p) { return p.Color; }, &Equal<std::int32_t>);
  if (color) values[static_cast<std::size_t>(firstCornerRow + 4)] = ColorText(*color);
  const auto texture = CommonOf(
      editor.Polygons, [](const TPoly& p) -> const std::string& { return p.Texture; }, &SameText);
  if (texture) values[static_cast<std::size_t>(firstCornerRow + 5)] = *texture;
}

}  // namespace

std::string ColorText(std::int32_t color) {
  return "$" + FormatHex(static_cast<std::uint32_t>(color), 6);
}

TPropertyValues PropertyValues(const TEditor& editor, TPropertyMode mode) {
  TPropertyValues values;
  if (mode == TPropertyMode::pmNone) return values;
  values[static_cast<std::size_t>(RowOf(mode, TPropertyField::Group))] = GroupValue(editor);
  switch (mode) {
    case TPropertyMode::pmNodes:
      ShowCoordinates(editor, values, RowOf(mode, TPropertyField::X));
      break;
    case TPropertyMode::pmNode:
      values[static_cast<std::size_t>(RowOf(mode, TPropertyField::Name))] = FirstSelectedName(editor.Nodes);
      ShowCoordinates(editor, values, RowOf(mode, TPropertyField::X));
      break;
    case TPropertyMode::pmPolys:
      ShowPolygonValues(editor, values, RowOf(mode, TPropertyField::Node1));
      break;
    case TPropertyMode::pmPoly:
      values[static_cast<std::size_t>(RowOf(mode, TPropertyField::Name))] =
          FirstSelectedName(editor.Polygons);
      ShowPolygonValues(editor, values, RowOf(mode, TPropertyField::Node1));
      break;
    case TPropertyMode::pmBoth:
    case TPropertyMode::pmNone:
      break;
  }
  return values;
}

}  // namespace terravel
