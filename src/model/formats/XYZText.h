#pragma once
// The XYZ coordinate text (".txt"): one node per line, X, Y and Z separated by tabs, with a scale
// factor applied on the way out and on the way in.
#include <string>
#include <string_view>

#include "model/formats/ExchangeFormat.h"

namespace terravel {

class TEditor;

// One line "X<TAB>Y<TAB>Z" with CR LF per node, each coordinate times the scale in fixed notation
// with two decimals and "." as the decimal point; no nodes give an empty text. A coordinate that
// is no finite number, or becomes none once scaled, refuses the export (ETerravelError naming the
// node): "nan" and "inf" are numbers no program reads back.
std::string XYZTextOf(const TEditor& editor, float scale);

// Writes XYZTextOf to the path, replacing the file only once the new one is complete.
void ExportXYZText(const TEditor& editor, const std::string& path, float scale);

// The nodes of the text as an appended mesh, one per line. CR LF, a lone CR and a lone LF each
// end a line; Ctrl+Z ends the text; leading spaces, empty lines and ";" comment lines are skipped.
// Values that are no number read as 0; a value that times the scale lies outside the
// single-precision range refuses the whole file with EInvalidFileError "Line %d: the coordinate
// %s lies outside the single-precision range.".
TAppendedMesh XYZNodesOf(std::string_view bytes, float scale);

// The format's reader: XYZNodesOf the file's content; EFileError/EStreamError when it cannot be read.
TImport ReadXYZText(const std::string& path, const TReadOptions& options);

}  // namespace terravel
