#pragma once
// The shared name space of nodes and polygons, kept so that an automatic name ("Node%d",
// "Polygon%d") is found without scanning every record: the smallest number i >= 1 whose name is
// used by no node and no polygon, letter case ignored.
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

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
  // How many names carry each number. Numbers up to a bound live in a vector (names are mostly
  // automatic, so their numbers are dense and small); larger ones in a map. The bound grows with
  // the names counted, so that a big document's automatic names all stay in the vector (4 bytes a
  // number against some 40 in the map), while one name with a huge number costs no huge vector.
  // The map never holds a number the vector covers.
  class TNumberCounts {
   public:
    bool Used(int number) const;
    // Changes the count of the number and returns the new count.
    int Change(int number, int delta) {
      if (static_cast<std::size_t>(number) < dense_.size()) {
        int& count = dense_[static_cast<std::size_t>(number)];
        const int changed = count + delta > 0 ? count + delta : 0;
        names_ += static_cast<std::size_t>(changed) - static_cast<std::size_t>(count);
        count = changed;
        return count;
      }
      return ChangeOutside(number, delta);
    }
    void Clear();

   private:
    int ChangeOutside(int number, int delta);
    // The vector's length covers the index; the map's numbers below the new length move in.
    void GrowDense(std::size_t index);

    static constexpr std::size_t kDenseFloor = std::size_t{1} << 16;  // always allowed: 256 KB
    // Numbers per name counted that the vector may cover beyond the floor.
    static constexpr std::size_t kDensePerName = 2;
    std::vector<int> dense_;
    std::unordered_map<int, int> sparse_;
    std::size_t names_ = 0;  // the sum of all counts
  };

  struct Pattern {
    std::string_view prefix;  // lower case, before "%d"
    std::string_view suffix;  // lower case, after "%d"
    TNumberCounts used;
    mutable int firstFree = 1;  // no number below it is free
  };
  Pattern& PatternFor(std::string_view pattern);
  const Pattern& PatternFor(std::string_view pattern) const;
  // The number the name stands for in the pattern ("Node12" -> 12, any letter case), or 0.
  static int NumberIn(const Pattern& pattern, std::string_view name);
  void Count(std::string_view name, int delta);

  Pattern node_{"node", "", {}, 1};
  Pattern polygon_{"polygon", "", {}, 1};
};

}  // namespace terravel
