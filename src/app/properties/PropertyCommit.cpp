#include "app/properties/PropertyCommit.h"

#include <cmath>
#include <limits>

#include "model/actions/Requests.h"
#include "model/editor/Editor.h"
#include "model/text/NumberText.h"

namespace terravel {

namespace {

constexpr char kGroupSeparator = 27;

bool IsNodeMode(TPropertyMode mode) {
  return mode == TPropertyMode::pmNodes || mode == TPropertyMode::pmNode || mode == TPropertyMode::pmBoth;
}

bool IsPolygonMode(TPropertyMode mode) {
  return mode == TPropertyMode::pmPolys || mode == TPropertyMode::pmPoly || mode == TPropertyMode::pmBoth;
}

// True when an object that does not receive the name (an unselected one) already carries it.
template <typename List>
bool NameTakenByOther(const List& list, const std::string& name) {
  for (const auto& record : list) {
    if (!record.Selected && SameTextIgnoringCase(record.Name, name)) return true;
  }
  return false;
}

bool TryParseCoordinate(std::string_view text, float& value) {
  double number = 0;
  if (!TryParseNumber(text, number)) return false;
  // A number beyond single precision would become infinite: that is no coordinate.
  if (!std::isfinite(static_cast<float>(number))) return false;
  value = static_cast<float>(number);
  return true;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

TCommitResult CommitNodeStage(TEditor& editor, TPropertyField field, const std::string& text,
                              const std::string& previous) {
  switch (field) {
    case TPropertyField::Group:
      DoSetNodeGroup(editor, GroupPart(text));
      break;
    case TPropertyField::Name:
      DoSetNodeName(editor, NameTakenByOther(editor.Nodes, text) ? previous : text);
      break;
    case TPropertyField::X:
    case TPropertyField::Y:
    case TPropertyField::Z: {
      float value = 0;
      if (!TryParseCoordinate(text, value)) return TCommitResult::InvalidNumber;
      const TNodeAxis axis = field == TPropertyField::X   ? TNodeAxis::X
                             : field == TPropertyField::Y ? TNodeAxis::Y
                                                          : TNodeAxis::Z;
      DoSetNodeCoord(editor, axis, value);
      break;
    }
    default:
      break;
  }
  return TCommitResult::Applied;
}

TCommitResult CommitPolygonStage(TEditor& editor, TPropertyField field, const std::string& text,
                                 const std::string& previous) {
  switch (field) {
    case TPropertyField::Group:
      DoSetPolyGroup(editor, GroupPart(text));
      break;
    case TPropertyField::Name:
      DoSetPolyName(editor, NameTakenByOther(editor.Polygons, text) ? previous : text);
      break;
    case TPropertyField::Node1:
    case TPropertyField::Node2:
    case TPropertyField::Node3: {
      std::int32_t index = 0;
      if (!TryParseInteger(text, index)) return TCommitResult::InvalidNumber;
      if (index < 0 || index >= editor.Nodes.Count()) return TCommitResult::NodeIndexOutOfRange;
      const int corner = field == TPropertyField::Node1 ? 1 : field == TPropertyField::Node2 ? 2 : 3;
      DoSetPolyNode(editor, corner, index);
      break;
    }
    case TPropertyField::Color: {
      std::int32_t color = 0;
      if (!TryParseInteger(text, color)) return TCommitResult::InvalidNumber;
      DoSetPolyColor(editor, color);
      break;
    }
    case TPropertyField::Texture:
      DoSetPolyTexture(editor, text);
      break;
    default:
      break;
  }
  return TCommitResult::Applied;
}

}  // namespace

std::string TrimmedValue(std::string_view text) {
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return std::string(text);
}

std::string GroupPart(std::string_view text) {
  return std::string(text.substr(0, text.find(kGroupSeparator)));
}

bool TryParseInteger(std::string_view text, std::int32_t& value) {
  if (text.empty()) return false;
  bool hex = false;
  if (text.front() == '$') {
    hex = true;
    text.remove_prefix(1);
  } else if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    hex = true;
    text.remove_prefix(2);
  }
  if (hex) {
    if (text.empty() || text.size() > 8) return false;
    std::uint32_t pattern = 0;
    for (char c : text) {
      const int digit = HexDigit(c);
      if (digit < 0) return false;
      pattern = pattern * 16 + static_cast<std::uint32_t>(digit);
    }
    value = static_cast<std::int32_t>(pattern);
    return true;
  }
  bool negative = false;
  if (text.front() == '+' || text.front() == '-') {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty()) return false;
  long long number = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + (c - '0');
    if (number > static_cast<long long>(std::numeric_limits<std::int32_t>::max()) + 1) return false;
  }
  if (negative) number = -number;
  if (number < std::numeric_limits<std::int32_t>::min() ||
      number > std::numeric_limits<std::int32_t>::max()) {
    return false;
  }
  value = static_cast<std::int32_t>(number);
  return true;
}

TCommitResult CommitPropertyEdit(TEditor& editor, TPropertyMode mode, int row, std::string_view typed,
                                 const std::string& previous) {
  const TPropertyField field = FieldAt(mode, row);
  if (field == TPropertyField::None) return TCommitResult::Applied;
  const std::string text = TrimmedValue(typed);
  if (IsNodeMode(mode)) {
    const TCommitResult result = CommitNodeStage(editor, field, text, previous);
    if (result != TCommitResult::Applied) return result;
  }
  if (IsPolygonMode(mode)) return CommitPolygonStage(editor, field, text, previous);
  return TCommitResult::Applied;
}

}  // namespace terravel
