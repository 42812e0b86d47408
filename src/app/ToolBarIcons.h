#pragma once
// The tool bar pictures, drawn with QPainter when the window is built: one family of small
// outlined shapes on a 16 x 16 grid, sharp at 16 and 32 pixels.
#include <QIcon>

namespace terravel {

enum class TToolIcon {
  NewProject,
  OpenProject,
  SaveProject,
  Print,
  Undo,
  Redo,
  Import,
  Export,
  Remove,
  Snap,
  Properties,
  ZoomToFit,
  BackgroundImage,
  Manual,
  View3D,
  Sculpt
};

QIcon ToolBarIcon(TToolIcon icon);

}  // namespace terravel
