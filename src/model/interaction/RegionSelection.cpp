#include "model/interaction/RegionSelection.h"

#include <algorithm>
#include <memory>

#include "model/actions/SelectionActions.h"
#include "model/editor/Editor.h"

namespace terravel {

namespace {

template <typename Point>
bool InsideOf(const std::vector<Point>& outline, double x, double y) {
  bool inside = false;
  for (std::size_t i = 0, j = outline.size() - 1; i < outline.size(); j = i++) {
    const double xi = outline[i].X, yi = outline[i].Y, xj = outline[j].X, yj = outline[j].Y;
    if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
  }
  return inside;
}

// The records inside: placeOf(i, x, y) tells where node i lies in the outline's plane, false
// when it lies nowhere there.
template <typename Point, typename PlaceOf>
TRegionHits Inside(const TEditor& editor, const std::vector<Point>& outline, PlaceOf placeOf) {
  TRegionHits hits;
  if (outline.size() < 3) return hits;
  double left = outline[0].X, right = left, bottom = outline[0].Y, top = bottom;
  for (const Point& p : outline) {
    left = std::min(left, double(p.X)), right = std::max(right, double(p.X));
    bottom = std::min(bottom, double(p.Y)), top = std::max(top, double(p.Y));
  }
  std::vector<bool> inside(static_cast<std::size_t>(editor.Nodes.Count()), false);
  for (int i = 0; i < editor.Nodes.Count(); ++i) {
    float x = 0, y = 0;
    if (!placeOf(i, x, y)) continue;
    if (x < left || x > right || y < bottom || y > top) continue;
    if (!InsideOf(outline, x, y)) continue;
    inside[static_cast<std::size_t>(i)] = true;
    hits.Nodes.push_back(i);
  }
  const auto in = [&](int corner) {
    return corner >= 0 && corner < editor.Nodes.Count() && inside[static_cast<std::size_t>(corner)];
  };
  for (int i = 0; i < editor.Polygons.Count(); ++i) {
    const TPoly& polygon = editor.Polygons[i];
    if (in(polygon.Node1) && in(polygon.Node2) && in(polygon.Node3)) hits.Polygons.push_back(i);
  }
  return hits;
}

// One "Select Region" step of the hits, when it changes a flag.
void SelectHits(TEditor& editor, TRegionHits hits, bool add) {
  // Whether the step would change a flag.
  bool changes = false;
  const auto check = [&](const auto& list, const std::vector<int>& chosen) {
    std::size_t next = 0;
    for (int i = 0; i < list.Count() && !changes; ++i) {
      const bool isChosen = next < chosen.size() && chosen[next] == i;
      if (isChosen) ++next;
      if (isChosen ? !list[i].Selected : !add && list[i].Selected) changes = true;
    }
  };
  check(editor.Nodes, hits.Nodes);
  check(editor.Polygons, hits.Polygons);
  if (!changes) return;
  editor.History.Perform(
      std::make_unique<TSelectRegionAction>(editor, std::move(hits.Nodes), std::move(hits.Polygons), add));
}

}  // namespace

bool InsideOutline(const std::vector<TWorldPoint>& outline, double x, double y) {
  return InsideOf(outline, x, y);
}

TRegionHits RecordsInRegion(const TEditor& editor, const std::vector<TWorldPoint>& outline) {
  return Inside(editor, outline, [&](int i, float& x, float& y) {
    x = editor.Nodes[i].X;
    y = editor.Nodes[i].Y;
    return true;
  });
}

TRegionHits RecordsInRegion(const TEditor& editor, const std::vector<TScreenPoint>& outline,
                            const std::vector<TRegionPlace>& places) {
  return Inside(editor, outline, [&](int i, float& x, float& y) {
    if (static_cast<std::size_t>(i) >= places.size()) return false;
    const TRegionPlace& place = places[static_cast<std::size_t>(i)];
    x = place.X;
    y = place.Y;
    return place.Shown;
  });
}

void DoSelectRegion(TEditor& editor, const std::vector<TWorldPoint>& outline, bool add) {
  SelectHits(editor, RecordsInRegion(editor, outline), add);
}

void DoSelectRegion(TEditor& editor, const std::vector<TScreenPoint>& outline,
                    const std::vector<TRegionPlace>& places, bool add) {
  SelectHits(editor, RecordsInRegion(editor, outline, places), add);
}

}  // namespace terravel
