#pragma once
// Wavefront OBJ (".obj"): the terrain for other engines and modellers. One "v" line per node, then
// one object per polygon group with its triangles as "f" lines and the textures as material names.
#include <string>

namespace terravel {

class TEditor;

enum class TObjAxes {
  YUp,  // x = X, y = Z, z = Y: the right-handed, Y-up convention most tools read
  ZUp,  // the coordinates as Terravel stores them
};

// The whole file, CR LF line ends. The header comment names the axes. Objects come in the order
// their groups first appear among the polygons ("o Ungrouped" for polygons without a group), a
// "usemtl" line wherever the texture changes; spaces in names become "_". Ground polygons face up
// in both axis choices.
std::string WavefrontOBJTextOf(const TEditor& editor, TObjAxes axes = TObjAxes::YUp);

// Writes WavefrontOBJTextOf to the path, replacing the file only once the new one is complete.
void ExportWavefrontOBJ(const TEditor& editor, const std::string& path, TObjAxes axes = TObjAxes::YUp);

}  // namespace terravel
