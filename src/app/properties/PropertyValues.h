#pragma once
// The values the property grid shows for the current selection: a value is the common value of
// all selected objects of its kind, or empty when they differ.
#include <array>
#include <cstdint>
#include <string>

#include "app/properties/PropertyRows.h"

namespace terravel {

class TEditor;

using TPropertyValues = std::array<std::string, kPropertyValueCount>;

// The texts of the rows of the mode, indexed by row; rows without a value stay empty.
TPropertyValues PropertyValues(const TEditor& editor, TPropertyMode mode);

// A colour as the grid writes it: "$" and at least six capital hexadecimal digits.
std::string ColorText(std::int32_t color);

}  // namespace terravel
