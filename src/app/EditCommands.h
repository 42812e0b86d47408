#pragma once
// The editing commands of the viewport and the Edit menu: add a node at a point, add a ground or
// sky polygon (from three selected nodes or the nodes nearest the pointer), and remove the
// selection. They change the project only through the request functions and report through the
// main window's message boxes.
#include <QObject>
#include <QPoint>

namespace terravel {

class TMainForm;

class TEditCommands : public QObject {
 public:
  explicit TEditCommands(TMainForm& main);

  // The screen point where the viewport popup menu was last opened (or where the pointer was when
  // an add-polygon shortcut was pressed); the commands that act at a point use it.
  QPoint ContextPoint;

  // A node at ContextPoint (snapped to the grid when snapping is on), at Z 0; it becomes the only
  // selected object.
  void AddNodeHere();
  // The tag of the item: even for a ground polygon, odd for a sky polygon; 0 and 1 (the popup
  // items) join the nodes nearest ContextPoint, 2 and 3 (Ctrl+D, Ctrl+K and the popup of a
  // selection) take exactly three selected nodes, or else the nodes nearest the pointer.
  void AddPolygon(int tag);
  // Asks first when polygons would go with the selected nodes.
  void RemoveSelection();

 private:
  // A message box "Information" with the OK button.
  void Inform(const char* text);

  TMainForm& main_;
};

}  // namespace terravel
