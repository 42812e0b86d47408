#pragma once
// Turns a value typed into a row of the property grid into the request that applies it. The node
// part (node modes) and the polygon part (polygon modes) are two stages; a group in the mode of
// both kinds records two history entries.
#include <cstdint>
#include <string>
#include <string_view>

#include "app/properties/PropertyRows.h"

namespace terravel {

class TEditor;

enum class TCommitResult {
  Applied,              // every stage of the row requested its change
  InvalidNumber,        // a number row held no number: nothing was applied
  NodeIndexOutOfRange,  // a corner names no node: nothing was applied
};

// Applies the text to the row of the mode. previous is the row's value before the edit: a name
// that another object of the kind already has is replaced by it, so the name stays as it was.
TCommitResult CommitPropertyEdit(TEditor& editor, TPropertyMode mode, int row, std::string_view text,
                                 const std::string& previous);

// The text without leading and trailing blanks and control characters.
std::string TrimmedValue(std::string_view text);
// A group value: the part before the separator that the group lists put behind a name.
std::string GroupPart(std::string_view text);
// An integer as a user types it: decimal with an optional sign, or hexadecimal after "$" (or "0x")
// with up to 8 digits read as the 32-bit pattern. False for anything else and for overflow.
bool TryParseInteger(std::string_view text, std::int32_t& value);

}  // namespace terravel
