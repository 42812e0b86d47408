#pragma once
// The row templates of the property grid, one per mode, and what each row of a mode stands for.
// A template line beginning with ">" is a child row (a property with a value), one beginning with
// "-" is a message row, any other line is a category row. Row numbers index the grid's values.
#include <string_view>
#include <vector>

#include "model/document/PropertyMode.h"

namespace terravel {

inline constexpr int kPropertyValueCount = 10;
inline constexpr char kChildMarker = '>';
inline constexpr char kMessageMarker = '-';

enum class TPropertyRowKind { Category, Child, Message };

// The property a child row edits.
enum class TPropertyField { None, Group, Name, X, Y, Z, Node1, Node2, Node3, Color, Texture };

// The template lines of the mode, markers included.
const std::vector<std::string_view>& PropertyTemplate(TPropertyMode mode);

TPropertyRowKind RowKind(std::string_view line);

// The property of the row in the mode; None for category and message rows and rows out of range.
TPropertyField FieldAt(TPropertyMode mode, int row);
// The row of the property in the mode, or -1 when the mode does not show it.
int RowOf(TPropertyMode mode, TPropertyField field);

}  // namespace terravel
