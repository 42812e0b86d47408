#pragma once
// The parser of Unreal text maps as UnrealEd writes them ("Begin Map" ... "End Map"): a tree of
// actors, the brushes among them with their polygon lists, and the item lines of every polygon.
//
// The parser keeps its own copy of the text (unless told to parse in place); every line in the
// tree is a view into that text. Runs of plain lines are kept as spans of the text and split into
// lines on request, so that a file of millions of blank lines costs no more memory than the file.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace terravel {

// One line of a polygon block: "Vertex   +00128.000000,-00064.500000,+00032.000000".
struct TPolygonItem {
  std::string ItemName;  // the first word, at most 15 characters
  // x, y, z for most items; U and V in the first two for "Pan"; 0 where absent or not a number.
  double Values[3] = {0, 0, 0};
  int Line = 0;  // where the item stands in the file, counted from 1
};

struct TT3DPolygon {
  std::string Item;     // key "Item" of the Begin Polygon line, at most 31 characters
  std::string Texture;  // key "Texture", at most 31 characters
  std::int32_t Link = 0;
  std::vector<TPolygonItem> Items;
};

class TBrush;

class TActor {
 public:
  virtual ~TActor() = default;

  // The line after the Begin Actor marker gives both keys; at most 31 characters each.
  std::string ActorClass;
  std::string ActorName;

  // Every line of the actor outside its brush blocks, without the End Actor line, trimmed.
  std::vector<std::string_view> OtherLines() const;
  // The same lines as they stand in the file: runs of consecutive lines, line ends included.
  std::vector<std::string_view> OtherRuns;

  virtual const TBrush* AsBrush() const { return nullptr; }
};

// An actor of class "Brush" (any letter case).
class TBrush : public TActor {
 public:
  std::string BrushName;  // key "Name" of the Begin Brush line, at most 31 characters
  std::vector<TT3DPolygon> Polygons;

  const TBrush* AsBrush() const override { return this; }
};

class TT3DMap {
 public:
  TT3DMap() = default;
  TT3DMap(const TT3DMap&) = delete;
  TT3DMap& operator=(const TT3DMap&) = delete;

  // Parses the bytes of a whole map file, replacing what an earlier Parse left. Lines end at CR
  // LF, CR or LF; blank lines are skipped; UTF-16 with a byte-order mark is read as UTF-8. Blocks
  // other than actors in the map body (a level, surfaces) are passed over, the actors in them
  // read. Throws EParseError with "\"%s\" fehlt." or "Unbekannte Anweisung: \"%s\"" at the
  // first fault; the tree is then incomplete and must not be used.
  void Parse(std::string_view text);
  // The same without a copy of the text: the tree refers into the given bytes, which must stay
  // unchanged for as long as the tree is used.
  void ParseInPlace(std::string_view text);

  std::vector<std::unique_ptr<TActor>> Actors;

  // The lines before the Begin Map line and after the End Map line, as they stand.
  std::vector<std::string_view> Header() const;
  std::vector<std::string_view> Trailer() const;
  // The map body between Begin Map and End Map, every line trimmed.
  std::vector<std::string_view> Lines() const;

  // Splits text at CR, LF or CR LF; a line end at the very end starts no further line.
  static std::vector<std::string_view> SplitLines(std::string_view text, bool trim);
  // Cuts spaces and control characters (every byte up to 0x20) from both ends.
  static std::string_view Trim(std::string_view text);

 private:
  void ParseText(std::string_view all);

  std::string text_;
  std::string_view header_;
  std::string_view body_;
  std::string_view trailer_;
};

}  // namespace terravel
