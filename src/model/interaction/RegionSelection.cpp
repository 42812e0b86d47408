#include "model/interaction/RegionSelection.h"

#include <algorithm>
#include <memory>

#include "model/actions/SelectionActions.h"
#include "model/editor/Editor.h"

namespace terravel {

bool InsideOutline(const std::vector<TWorldPoint>& outline, double x, double y) {
  bool inside = false;
  for (std::size_t i = 0, j = outline.size() - 1; i < outline.size(); j = i++) {
    const double xi = outline[i].X, yi = outline[i].Y, xj = outline[j].X, yj = outline[j].Y;
    if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) inside = !inside;
  }
  return inside;
}

TRegionHits RecordsInRegion(const TEditor& editor, const std::vector<TWorldPoint>& outline) {
  TRegionHits hits;
  if (outline.size() < 3) return hits;
  double left = outline[0].X, right = left, bottom = outline[0].Y, top = bottom;
  for (const TWorldPoint& p : outline) {
    left = std::min(left, double(p.X)), right = std::max(right, double(p.X));
    bottom = std::min(bottom, double(p.Y)), top = std::max(top, double(p.Y));
  }
  std::vector<bool> inside(static_cast<std::size_t>(editor.Nodes.Count()), false);
  for (int i = 0; i < editor.Nodes.Count(); ++i) {
    const T3DCoord& node = editor.Nodes[i];
    if (node.X < left || node.X > right || node.Y < bottom || node.Y > top) continue;
    if (!InsideOutline(outline, node.X, node.Y)) continue;
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

void DoSelectRegion(TEditor& editor, const std::vector<TWorldPoint>& outline, bool add) {
  TRegionHits hits = RecordsInRegion(editor, outline);
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

}  // namespace terravel
