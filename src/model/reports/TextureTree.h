#pragma once
// The texture report's tree: the textures the polygons use, grouped by package (the part of an
// Unreal texture name before its first dot), and which selection each node of it stands for.
#include <string>
#include <vector>

#include "model/document/CoordList.h"

namespace terravel {

class TEditor;

inline constexpr const char* kNoPackageText = "(no package)";
inline constexpr const char* kUndefinedTextureText = "(undefined)";

struct TTextureNode {
  std::string Text;           // after the package's dot; the whole texture under "(no package)"
  bool Undefined = false;     // the marked "(undefined)" node of the polygons without a texture
  std::vector<int> Polygons;  // polygon list indices, in list order (see PolygonsByName)
};

struct TPackageNode {
  std::string Text;        // spelt as the first polygon of the package spells it
  bool NoPackage = false;  // the marked "(no package)" group
  std::vector<TTextureNode> Textures;
};

// Packages, and the textures of each, sorted by text ignoring letter case; the marked nodes
// come before an ordinary node of the same text.
struct TTextureTree {
  std::vector<TPackageNode> Packages;
};

// One node of the tree: a package (Texture -1), a texture (Polygon -1) or a polygon, given by its
// polygon list index.
struct TTextureTreeItem {
  int Package = -1;
  int Texture = -1;
  int Polygon = -1;
};

// Groups the polygons in one pass; names are matched ignoring letter case.
TTextureTree BuildTextureTree(const TPolyList& polygons);

// The polygon indices ordered by the polygons' names, ignoring letter case (ties by index).
std::vector<int> PolygonsByName(const TPolyList& polygons, std::vector<int> indices);

// Clears the selection, then selects what the item stands for: the package's textures, the
// texture's polygons (texture selection matches by beginning) or the one polygon.
void SelectTextureTreeItem(TEditor& editor, const TTextureTree& tree, const TTextureTreeItem& item);

}  // namespace terravel
