#include <cfloat>
#include <cmath>
#include <new>

#include "model/actions/Requests.h"
#include "model/document/RedrawSuspension.h"
#include "model/editor/Editor.h"
#include "model/formats/ExchangeFormat.h"
#include "model/formats/NodeLookup.h"
#include "model/history/ChangeSet.h"

namespace terravel {

TZRange ImportZRange(float lowest, float highest, float step) {
  TZRange range{lowest, highest};
  // A multiple beyond the largest float stays the value itself.
  auto single = [](long double value, float otherwise) {
    return std::fabs(value) <= FLT_MAX ? static_cast<float>(value) : otherwise;
  };
  if (std::isfinite(step) && step != 0) {
    const long double s = std::fabs(static_cast<long double>(step));
    long double k = std::floor(lowest / s);
    if (k * s > lowest) --k;  // the quotient may have rounded up onto a whole number
    range.MinZ = single(k * s, lowest);
    k = std::ceil(highest / s);
    if (k * s < highest) ++k;
    range.MaxZ = single(k * s, highest);
  }
  // Rounding is monotonic, so the bounds enclose the range; this holds even where floats are
  // coarser than the step.
  if (!(range.MinZ <= lowest)) range.MinZ = lowest;
  if (!(range.MaxZ >= highest)) range.MaxZ = highest;
  range.MinZ += 0.0f;  // never "-0"
  range.MaxZ += 0.0f;
  return range;
}

void AppendMesh(TEditor& editor, const TAppendedMesh& mesh, const THeightmapProgress& progress) {
  AppendNodesAndGround(editor, mesh.Nodes, mesh.Triangles, progress);
  // Put in outside the history: the project is modified, and every window and the mesh index
  // read the lists anew.
  TChangeSet changes;
  changes.Everything = true;
  changes.Records = true;
  editor.MarkModified(changes);
}

void RecordPolygons(TEditor& editor, const TRecordedPolygons& polygons) {
  TNodeLookup lookup(editor.Nodes);
  bool anyZ = false;
  float lowest = 0, highest = 0;

  for (const TRecordedPolygons::TPolygon& polygon : polygons.Polygons) {
    int first = -1, previous = -1, current = -1;
    for (std::size_t counter = 0; counter < polygon.CornerCount; ++counter) {
      const auto& corner = polygons.Corners[polygon.FirstCorner + counter];
      T3DCoord node;
      node.Name = polygon.NodeName;
      node.X = corner[0];
      node.Y = corner[1];
      node.Z = corner[2];
      node.Selected = true;

      int index = lookup.Find(node.X, node.Y, node.Z);
      if (index < 0) {
        const int before = editor.Nodes.Count();
        DoAddNode(editor, node);
        if (editor.Nodes.Count() > before) {
          index = editor.Nodes.Count() - 1;
          lookup.Remember(node.X, node.Y, node.Z, index);
        }
      }

      if (counter == 0) {
        first = index;
      } else {
        previous = current;
        current = index;
      }
      if (counter >= 2) {
        TPoly triangle;
        triangle.Name = polygon.Name;
        triangle.Node1 = first;
        triangle.Node2 = previous;
        triangle.Node3 = current;
        triangle.Color = kAutomaticColor;
        triangle.Texture = polygon.Texture;
        triangle.Selected = true;
        DoAddPolygon(editor, triangle);
      }

      if (!std::isnan(node.Z)) {
        if (!anyZ || node.Z < lowest) lowest = node.Z;
        if (!anyZ || node.Z > highest) highest = node.Z;
        anyZ = true;
      }
    }
  }

  // Without a single corner there is no range to show: MinZ and MaxZ stay as they are.
  if (!anyZ) return;
  const TZRange range = ImportZRange(lowest, highest, editor.Values.PgInc);
  DoSetMinZ(editor, range.MinZ);
  DoSetMaxZ(editor, range.MaxZ);
}

void ApplyImport(TEditor& editor, const TImport& import, const THeightmapProgress& progress) {
  if (const auto* mesh = std::get_if<TAppendedMesh>(&import.Delta)) {
    AppendMesh(editor, *mesh, progress);
  } else {
    // Redrawing is suspended while the many single actions run, and resumed also after an error.
    TRedrawSuspension suspension(editor.Host());
    RecordPolygons(editor, std::get<TRecordedPolygons>(import.Delta));
    suspension.Resume();
  }
  for (const std::string& line : import.Log) editor.Host().Log(line);
}

}  // namespace terravel
