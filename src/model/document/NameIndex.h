#pragma once
// The shared name space of nodes and polygons, kept so that an automatic name ("Node%d",
// "Polygon%d") is found without scanning every record: the smallest number i >= 1 whose name is
// used by no node and no polygon, letter case ignored.
#include <string>
#include <string_view>
#include <unordered_map>

namespace terravel {

class TNameIndex {
 public:
  static constexpr std::string_view kNodePattern = "Node%d";
  static constexpr std::string_view kPolygonPattern = "Polygon%d";

  void Add(std::string_view name);
  void Remove(std::string_view name);
  void Clear();

  // The first free name of the pattern (kNodePattern or kPolygonPattern).
  std::string UniqueName(std::string_view pattern) const;

 private:
  struct Pattern {
    std::string prefix;  // lower case, before "%d"
    std::string suffix;  // lower case, after "%d"
    std::unordered_map<int, int> used;  // number -> how many names carry it
    mutable int firstFree = 1;          // no number below it is free
  };
  Pattern& PatternFor(std::string_view pattern);
  const Pattern& PatternFor(std::string_view pattern) const;
  static int NumberIn(const Pattern& pattern, std::string_view lowerName);
  void Count(std::string_view name, int delta);

  Pattern node_{"node", "", {}, 1};
  Pattern polygon_{"polygon", "", {}, 1};
};

}  // namespace terravel
