#include "app/properties/GroupItems.h"

#include <unordered_map>

#include "model/editor/Editor.h"
#include "model/text/NumberText.h"

namespace terravel {

namespace {

template <typename List>
void AddGroups(const List& list, bool polygons, std::vector<TGroupItem>& items,
               std::unordered_map<std::string, std::size_t>& byName) {
  for (const auto& record : list) {
    if (record.Group.empty()) continue;
    auto [at, added] = byName.try_emplace(ToLowerAscii(record.Group), items.size());
    if (added) items.push_back({record.Group, false, false});
    TGroupItem& item = items[at->second];
    (polygons ? item.Polygons : item.Nodes) = true;
  }
}

template <typename List>
void AddObjects(const List& list, bool polygons, const std::string* group, std::vector<TObjectRef>& entries) {
  int index = 0;
  for (const auto& record : list) {
    if (group == nullptr || SameTextIgnoringCase(record.Group, *group)) entries.push_back({polygons, index});
    ++index;
  }
}

}  // namespace

std::vector<TGroupItem> GroupFilterItems(const TEditor& editor, bool nodes, bool polygons) {
  std::vector<TGroupItem> items;
  if (!nodes && !polygons) return items;
  items.push_back({std::string(), true, true});
  std::unordered_map<std::string, std::size_t> byName;
  if (nodes) AddGroups(editor.Nodes, false, items, byName);
  if (polygons) AddGroups(editor.Polygons, true, items, byName);
  return items;
}

std::vector<TObjectRef> ObjectListEntries(const TEditor& editor, bool nodes, bool polygons,
                                          const std::string* group) {
  std::vector<TObjectRef> entries;
  entries.reserve(static_cast<std::size_t>((nodes ? editor.Nodes.Count() : 0) +
                                           (polygons ? editor.Polygons.Count() : 0)));
  if (nodes) AddObjects(editor.Nodes, false, group, entries);
  if (polygons) AddObjects(editor.Polygons, true, group, entries);
  return entries;
}

bool FirstSelectedObject(const TEditor& editor, TObjectRef& object) {
  for (int i = 0; i < editor.Nodes.Count(); ++i) {
    if (editor.Nodes[i].Selected) {
      object = {false, i};
      return true;
    }
  }
  for (int i = 0; i < editor.Polygons.Count(); ++i) {
    if (editor.Polygons[i].Selected) {
      object = {true, i};
      return true;
    }
  }
  return false;
}

std::vector<std::string> UsedTextures(const TEditor& editor) {
  std::vector<std::string> textures;
  std::unordered_map<std::string, bool> seen;
  for (const TPoly& polygon : editor.Polygons) {
    // The empty texture has its own entry at the top of the list.
    if (polygon.Texture.empty()) continue;
    if (seen.try_emplace(ToLowerAscii(polygon.Texture), true).second) textures.push_back(polygon.Texture);
  }
  return textures;
}

}  // namespace terravel
