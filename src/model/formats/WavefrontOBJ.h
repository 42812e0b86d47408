#pragma once
// Wavefront OBJ (".obj"): the terrain for other engines and modellers. One "v" line per node, then
// one object per polygon group with its triangles as "f" lines and the textures as material names.
// The materials are defined in a material library (".mtl") written beside the OBJ file.
#include <string>

namespace terravel {

class TEditor;

enum class TObjAxes {
  YUp,  // x = X, y = Z, z = Y: the right-handed, Y-up convention most tools read
  ZUp,  // the coordinates as Terravel stores them
};

// The whole file, CR LF line ends. The header comment names the axes; a "mtllib" line names the
// material library when one is given (a file name beside the OBJ file). Objects come in the order
// their groups first appear among the polygons ("o Ungrouped" for polygons without a group), a
// "usemtl" line wherever the texture changes ("Untextured" for the empty texture); spaces in
// names become "_". Ground polygons face up in both axis choices. A node whose coordinate is no
// finite number refuses the export (ETerravelError naming it).
std::string WavefrontOBJTextOf(const TEditor& editor, TObjAxes axes = TObjAxes::YUp,
                               const std::string& materialLibrary = {});

// The material library: one "newmtl" per material name the OBJ text uses, in the order the
// textures first appear among the polygons, each with the colour of that first polygon as its
// diffuse colour "Kd" (0x00BBGGRR read as red, green, blue from 0 to 1). The automatic colour has
// no colour of its own outside the editor's gradient and becomes a neutral grey (0.5 0.5 0.5).
std::string WavefrontMaterialsTextOf(const TEditor& editor);

// "terrain.obj" -> "terrain.mtl": the path of the material library beside an OBJ file.
std::string MaterialLibraryPath(const std::string& objPath);

// Writes the OBJ text to the path and the material library beside it, each replacing its file only
// once the new one is complete; a refused document writes neither.
void ExportWavefrontOBJ(const TEditor& editor, const std::string& path, TObjAxes axes = TObjAxes::YUp);

}  // namespace terravel
