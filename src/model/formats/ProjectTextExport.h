#pragma once
// The project text (".tvt"): every node and polygon with all fields a user can edit, as plain
// lines meant for a text editor. It is written only, never read back.
#include <string>

namespace terravel {

class TEditor;

// The whole file: the five header lines, one block per node, three empty lines, one block per
// polygon; every line ends with CR LF. Coordinates use the user's decimal separator.
std::string ProjectTextOf(const TEditor& editor);

// Writes ProjectTextOf to the path, replacing the file only once the new one is complete.
void ExportProjectText(const TEditor& editor, const std::string& path);

}  // namespace terravel
