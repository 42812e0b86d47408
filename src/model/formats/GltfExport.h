#pragma once
// glTF 2.0 (".glb", or ".gltf" with the buffer embedded as base64): the terrain for today's engines
// and modellers. One mesh (and scene node) per polygon group, in the order the groups first appear
// among the polygons; in each mesh one primitive per texture, with a material named after the
// texture. Positions are in metres: one Unreal unit is 1.905 cm (16 units to the foot, the scale of
// the classic engine), written in the file's asset.extras as well.
#include <string>

namespace terravel {

class TEditor;

// Metres per Unreal unit.
inline constexpr double kMetresPerUnit = 0.01905;

enum class TGltfAxes {
  YUp,  // x = X, y = Z, z = Y: the right-handed, Y-up axes glTF prescribes
  ZUp,  // the coordinates as Terravel stores them, faces wound for a right-handed reading
};

enum class TGltfContainer {
  Binary,  // one .glb file: the JSON chunk and the binary chunk
  Text,    // .gltf JSON with the buffer as a base64 data URI
};

// The container a path's extension asks for: Text for ".gltf" (any letter case), Binary otherwise.
TGltfContainer GltfContainerOf(const std::string& path);

// The whole file. A mesh's vertices are its group's nodes, one for each way the polygons around a
// node face (ground up, sky down), with normals smoothed over the polygons of the group facing the
// same way; every position accessor carries its min and max. Sky polygons keep their winding and
// so face down. Materials take their base colour from the first polygon of the texture (0x00BBGGRR,
// an sRGB colour, made linear as glTF wants it; the automatic colour becomes a neutral grey),
// metallic 0 and roughness 1. Names of nodes and polygons go into the extras of their mesh and
// primitive; texts that are no UTF-8 are read as Latin-1. A node whose coordinate is no finite
// number refuses the export (ETerravelError naming it).
// The scale multiplies every position (and the metres per unit the file states).
std::string GltfBytesOf(const TEditor& editor, TGltfContainer container, TGltfAxes axes = TGltfAxes::YUp,
                        double scale = 1);

// Writes the file, replacing it only once the new one is complete; the container follows the
// extension. A refused document writes nothing.
void ExportGltf(const TEditor& editor, const std::string& path, TGltfAxes axes = TGltfAxes::YUp,
                double scale = 1);

}  // namespace terravel
