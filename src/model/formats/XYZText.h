#pragma once
// The XYZ coordinate text (".txt"): one node per line, X, Y and Z separated by tabs, with a scale
// factor applied on the way out and on the way in.
#include <string>
#include <string_view>

namespace terravel {

class TEditor;

// One line "X<TAB>Y<TAB>Z" with CR LF per node, each coordinate times the scale in fixed notation
// with two decimals and "." as the decimal point; no nodes give an empty text.
std::string XYZTextOf(const TEditor& editor, float scale);

// Writes XYZTextOf to the path, replacing the file only once the new one is complete.
void ExportXYZText(const TEditor& editor, const std::string& path, float scale);

// Appends one node (empty group, automatic name, not selected) per line of the text and returns
// how many. Lines end at CR (a LF right after it belongs to the line end; a lone LF does not end
// a line), Ctrl+Z ends the text, leading spaces, empty lines and ";" comment lines are skipped.
// Values that are no number read as 0. Nodes go straight into the list: nothing is recorded in
// the history and no polygon, MinZ or MaxZ changes. Setting the modified flag is the caller's.
int ImportXYZBytes(TEditor& editor, std::string_view bytes, float scale);

// ImportXYZBytes on the file's content; EFileError/EStreamError when it cannot be read.
int ImportXYZText(TEditor& editor, const std::string& path, float scale);

}  // namespace terravel
