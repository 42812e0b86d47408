#pragma once
// The exchange formats hold finite single-precision numbers only: UnrealEd and the readers of the
// X/Y/Z text cannot read "nan" or "inf". Exports refuse a document that holds anything else, and
// imports refuse values that would become it.
#include <string>
#include <string_view>

#include "model/document/CoordList.h"

namespace terravel {

// Whether the value rounds to a finite float (NaN does not).
bool FitsSingle(long double value);

// "the X coordinate of node 3 (Node4) is not a finite number." for the first such node, or empty.
std::string NonFiniteCoordinateText(const TCoordList& nodes);

// ETerravelError "Cannot export: the X coordinate of node 3 (Node4) is not a finite number." for
// the first such node (counted from 0).
void RequireFiniteCoordinates(const TCoordList& nodes);

// ETerravelError "Cannot export: node 3 (Node4) times the scale 1E30 lies outside the
// single-precision range."
[[noreturn]] void FailScaledBeyondRange(const TCoordList& nodes, int index, float scale);

// A number text from a file as a message quotes it: cut after 40 characters.
std::string TrimmedForMessage(std::string_view text);

}  // namespace terravel
