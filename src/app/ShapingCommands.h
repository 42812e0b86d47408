#pragma once
// The shaping commands of the Edit menu and the selection's popup: each asks for its options in a
// small dialog over the main window and runs as one step in the history, on the selection or on
// everything when nothing is selected. The options are kept for the next time.
#include <QObject>

#include "model/shaping/ConstrainedTriangulation.h"
#include "model/shaping/EdgeCollapse.h"
#include "model/shaping/HeightSmoothing.h"

class QWidget;

namespace terravel {

class TEditor;

class TShapingCommands : public QObject {
 public:
  TShapingCommands(TEditor& editor, QWidget* window);

  void Triangulate();
  // Tells the counts and the largest height error when done.
  void Simplify();
  void Smooth();
  // No options: splits the chosen polygons in four.
  void Subdivide();

 private:
  TEditor& editor_;
  QWidget* window_;
  TTriangulateOptions triangulate_;
  TSimplifyOptions simplify_{1000, 0};
  TSmoothOptions smooth_;
};

}  // namespace terravel
