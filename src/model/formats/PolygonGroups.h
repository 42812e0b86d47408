#pragma once
// The polygons of a document by group, for the formats that write one object per group.
#include <map>
#include <string>
#include <vector>

#include "model/editor/Editor.h"

namespace terravel {

struct TPolygonGroup {
  std::string Name;
  std::vector<int> Polygons;  // indices, in list order
};

// Every group that a polygon uses (compared exactly), in the order the groups first appear.
inline std::vector<TPolygonGroup> PolygonsByGroup(const TEditor& editor) {
  std::vector<TPolygonGroup> groups;
  std::map<std::string, std::size_t> at;
  for (int i = 0; i < editor.Polygons.Count(); ++i) {
    const std::string& group = editor.Polygons[i].Group;
    auto [it, added] = at.try_emplace(group, groups.size());
    if (added) groups.push_back({group, {}});
    groups[it->second].Polygons.push_back(i);
  }
  return groups;
}

}  // namespace terravel
