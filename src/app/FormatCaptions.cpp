#include "app/FormatCaptions.h"

#include <string>

namespace terravel {

namespace {

const char* const kUnrealImportWarning =
    "This feature is experimental. Current restrictions:\r"
    "- Only supports *.t3d files exported via File -> Export in UnrealEd.\r"
    "- Import might take some time even for decently sized brushes.\r"
    "- Polygons with more than three vertices are split during import.\r"
    "- Relative position of multiple brushes to each other might not be kept.\r"
    "- No preservation of texture panning/scale.\r"
    "- No support for unapplied rotation/scale of brushes (invoke \"Transform Permanently\" in UnrealEd "
    "before exporting).";

}  // namespace

TFormatCaption FormatCaptionOf(const TExchangeFormatInfo& format) {
  const std::string& name = format.Name;
  if (name == "txt") {
    return {QStringLiteral("X, Y, Z, Tab-separated (*.txt)"), QStringLiteral("XYZ Text"),
            QStringLiteral("Description:\rImports/exports a coordinate text file, in which the X, Y and Z "
                           "coordinates are separated by tabs in a single line. Scale factor adjustable."),
            {}};
  }
  if (name == "t3d") {
    return {QStringLiteral("Unreal Text (*.t3d)"), QStringLiteral("Unreal Text"),
            QStringLiteral("Description:\rUnreal Text format. This file type can be used to exchange data between "
                           "Terravel and UnrealEd."),
            QString::fromLatin1(kUnrealImportWarning)};
  }
  if (name == "t3d-map") {
    return {QStringLiteral("Unreal map (*.t3d)"), QStringLiteral("Unreal map"),
            QStringLiteral("Description:\rExports the terrain as a map for UnrealEd's File > Import: closed brushes "
                           "in tiles the BSP builder can take, on the grid, with textures aligned across the ground; "
                           "the ground as the floor of a subtracted space or the top of an added solid, sky polygons "
                           "as two-sided sheets, and on request a room, a light and a player start."),
            {}};
  }
  if (name == "tvt") {
    return {QStringLiteral("Terravel Text (*.tvt)"), QStringLiteral("Terravel Text"),
            QStringLiteral("Description:\rImports/exports a TVP project as a text file, which can be edited with a "
                           "text editor."),
            {}};
  }
  if (name == "heightmap") {
    return {QStringLiteral("Heightmap (*.png *.r16 *.raw)"), QStringLiteral("Heightmap"),
            QStringLiteral("Description:\rBuilds a terrain from a greyscale picture (8 or 16 bit PNG, or raw 16 "
                           "bit): a regular mesh, or at most a given number of triangles placed where they follow "
                           "the heights best."),
            {}};
  }
  if (name == "obj") {
    return {QStringLiteral("Wavefront OBJ (*.obj)"), QStringLiteral("Wavefront OBJ"),
            QStringLiteral("Description:\rExports the terrain as a Wavefront OBJ mesh for other engines and "
                           "modelling programs: Y up, one object per group, the texture names as materials (their "
                           "colours in a .mtl file beside it)."),
            {}};
  }
  if (name == "gltf") {
    return {QStringLiteral("glTF 2.0 (*.glb *.gltf)"), QStringLiteral("glTF 2.0"),
            QStringLiteral("Description:\rExports the terrain as glTF 2.0 for today's engines and modelling "
                           "programs: binary .glb, or .gltf text with the data inside. Y up and in metres (one "
                           "Unreal unit is 1.905 cm), one mesh per group, one material per texture."),
            {}};
  }
  // "name (*.a *.b)"
  const QString shownName = QString::fromStdString(name);
  QString patterns = QString::fromStdString(format.Pattern);
  patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
  return {QStringLiteral("%1 (%2)").arg(shownName, patterns), shownName, {}, {}};
}

QString ExportDescriptionOf(const TExchangeFormatInfo& format) {
  if (format.Name == "heightmap") {
    return QStringLiteral("Description:\rExports the ground as a 16 bit greyscale picture (PNG, or raw 16 bit) for "
                          "landscape importers: a pixel on each corner of the ground's extent, at a pixel size or a "
                          "picture size you choose, black to white from MinZ to MaxZ or over the ground's own "
                          "heights.");
  }
  return FormatCaptionOf(format).Description;
}

}  // namespace terravel
