#include "model/project/NewProject.h"

#include "model/editor/Editor.h"
#include "model/history/ChangeSet.h"
#include "model/view/ViewTransform.h"

namespace terravel {

void NewProject(TEditor& editor, bool withTriangle) {
  THost& host = editor.Host();
  host.Log("LOG: File New Project");
  editor.ClearDocument();
  editor.Values.MinZ = kDefaultMinZ;
  editor.Values.MaxZ = kDefaultMaxZ;
  editor.Values.PgInc = kDefaultPgInc;
  host.ShowProjectValues();
  // The cleared lists count nothing selected; the summary follows here.
  editor.Nodes.AnnounceSelection();
  editor.Polygons.AnnounceSelection();
  editor.Values.Zoom = kDefaultZoom;
  editor.Values.PanX = 0;
  editor.Values.PanY = 0;
  SetGridSize(editor, kDefaultGrid);
  if (withTriangle) {
    editor.Nodes.NewNode("", "", 0, -256, 0);
    editor.Nodes.NewNode("", "", -256, 256, 1024);
    editor.Nodes.NewNode("", "", 256, 256, 512);
    editor.Polygons.NewPolygon(0, 1, 2, kDefaultTexture, "", "");
  }
  host.RefreshLists();
  host.RefreshProperties();
  if (withTriangle) {
    ZoomToFit(editor);
  } else {
    host.Redraw(true);
  }
  host.SetPropertyMode(TPropertyMode::pmNone);
  editor.History.ClearHistory();
  host.RefreshUndoRedo();
  editor.Publish(TChangeSet::Rebuilt());
}

void NewMesh(TEditor& editor, int n) {
  NewProject(editor, false);
  const int h = n / 2;
  const int side = 2 * h + 1;
  editor.Nodes.Reserve(static_cast<std::size_t>(side) * side);
  editor.Polygons.Reserve(static_cast<std::size_t>(2 * h) * (2 * h) * 2);
  for (int c = -h; c <= h; ++c) {
    for (int r = -h; r <= h; ++r) {
      T3DCoord node;
      node.X = static_cast<float>(256 * c);
      node.Y = static_cast<float>(256 * r);
      editor.Nodes.AddNode(std::move(node));
    }
  }
  // Node (column i, row j) has the index i * side + j.
  const auto at = [side](int i, int j) { return i * side + j; };
  for (int i = 0; i < 2 * h; ++i) {
    for (int j = 0; j < 2 * h; ++j) {
      TPoly first;
      first.Node1 = at(i, j);
      first.Node2 = at(i, j + 1);
      first.Node3 = at(i + 1, j);
      first.Texture = kDefaultTexture;
      editor.Polygons.AddPolygon(std::move(first));
      TPoly second;
      second.Node1 = at(i + 1, j);
      second.Node2 = at(i, j + 1);
      second.Node3 = at(i + 1, j + 1);
      second.Texture = kDefaultTexture;
      editor.Polygons.AddPolygon(std::move(second));
    }
  }
  ZoomToFit(editor);
  editor.Publish(TChangeSet::Rebuilt());
}

}  // namespace terravel
