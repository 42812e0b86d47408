#pragma once
// What lies under a viewport pixel: nothing, a node or a polygon, by index. The renderer's pick
// buffer answers with it and the click rules take it.

namespace terravel {

enum class TPickKind { Nothing, Node, Polygon };

struct TPickHit {
  TPickKind Kind = TPickKind::Nothing;
  int Index = -1;
  friend bool operator==(const TPickHit&, const TPickHit&) = default;
};

}  // namespace terravel
