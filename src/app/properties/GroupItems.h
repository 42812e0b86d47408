#pragma once
// What the group filter and the object list of the properties window list, read from the document.
#include <string>
#include <vector>

namespace terravel {

class TEditor;

// A group filter entry: a group name and which kinds of object use it. The first entry of a
// filter has an empty name and both flags and stands for all groups.
struct TGroupItem {
  std::string Name;
  bool Nodes = false;
  bool Polygons = false;
};

// The all-groups entry (when a kind is listed), then every non-empty group of the listed kinds,
// nodes first, each once ignoring letter case and written as its first user has it.
std::vector<TGroupItem> GroupFilterItems(const TEditor& editor, bool nodes, bool polygons);

// An object of the object list: a node or a polygon by its index.
struct TObjectRef {
  bool Polygon = false;
  int Index = 0;
  friend bool operator==(const TObjectRef&, const TObjectRef&) = default;
};

// The listed kinds' objects in index order (nodes first); only those of the group when one is
// given (ignoring letter case).
std::vector<TObjectRef> ObjectListEntries(const TEditor& editor, bool nodes, bool polygons,
                                          const std::string* group);

// The first selected object (nodes first), if any.
bool FirstSelectedObject(const TEditor& editor, TObjectRef& object);

// Every non-empty texture that a polygon uses, each once ignoring letter case, in polygon order.
std::vector<std::string> UsedTextures(const TEditor& editor);

}  // namespace terravel
