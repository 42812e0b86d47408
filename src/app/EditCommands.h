#pragma once
// The editing commands of the viewport and the Edit menu: add a node at a point, add a ground or
// sky polygon (from three selected nodes or the nodes nearest the pointer), and remove the
// selection. The model decides what they create and select; these turn the pointer into a point
// and the outcome into a message box over the main window.
#include <QObject>
#include <QPoint>

#include "model/interaction/AddCommands.h"

class QWidget;

namespace terravel {

class TEditor;
class TViewportWidget;

class TEditCommands : public QObject {
 public:
  // The window is the parent of the messages; the viewport maps screen points to its pixels.
  TEditCommands(TEditor& editor, QWidget* window, TViewportWidget* viewport);

  // The screen point where the viewport popup menu was last opened (or where the pointer was when
  // an add-polygon shortcut was pressed); the commands that act at a point use it.
  QPoint ContextPoint;

  // A node at ContextPoint (snapped to the grid when snapping is on), at Z 0; it becomes the only
  // selected object.
  void AddNodeHere();
  // NearPoint (the popup items) joins the nodes nearest ContextPoint; SelectionOrPoint (Ctrl+D,
  // Ctrl+K and the popup of a selection) takes exactly three selected nodes, or else the nodes
  // nearest the pointer, which must be over the active main window.
  void AddPolygon(TPolygonKind kind, TPolygonSource source);
  // Asks first when polygons would go with the selected nodes.
  void RemoveSelection();

 private:
  // A message box "Information" with the OK button.
  void Inform(const char* text);

  TEditor& editor_;
  QWidget* window_;
  TViewportWidget* viewport_;
};

}  // namespace terravel
