#pragma once
// The menu items of the main window, named after their place in the menus. Undo and Redo come
// from TUndoRedoCommands.
#include <QList>

class QAction;
class QMenu;

namespace terravel {

struct TMainMenus {
  QMenu* Project = nullptr;
  QMenu* Edit = nullptr;
  QMenu* View = nullptr;
  QMenu* Tools = nullptr;
  QMenu* Help = nullptr;

  QAction* Project_New_Triangle = nullptr;
  QAction* Project_New_Blank = nullptr;
  QList<QAction*> Project_New_Mesh;  // 2, 4, 8 and 16
  QAction* Project_Open = nullptr;
  QAction* Project_Save = nullptr;
  QAction* Project_SaveAs = nullptr;
  QAction* Project_Import = nullptr;
  QAction* Project_Export = nullptr;
  QAction* Project_ExportAgain = nullptr;
  QAction* Project_Print = nullptr;
  QAction* Project_PrinterSetup = nullptr;
  QAction* Project_Quit = nullptr;

  QAction* Edit_Remove = nullptr;
  QAction* Edit_Snap = nullptr;
  QAction* Edit_AddGroundPolygon = nullptr;
  QAction* Edit_AddSkyPolygon = nullptr;
  QAction* Edit_Flip = nullptr;
  QAction* Edit_Triangulate = nullptr;
  QAction* Edit_Simplify = nullptr;
  QAction* Edit_Smooth = nullptr;
  QAction* Edit_Subdivide = nullptr;
  QAction* Edit_Sculpt = nullptr;
  QAction* Edit_SculptBrush = nullptr;
  QAction* Edit_SelectAll_Nodes = nullptr;
  QAction* Edit_SelectAll_Polygons = nullptr;
  QAction* Edit_SelectAll_All = nullptr;
  QAction* Edit_SelectNone = nullptr;
  QAction* Edit_SelectRegion = nullptr;

  QAction* View_Toolbar = nullptr;
  QAction* View_GradientPanel = nullptr;
  QAction* View_StatusBar = nullptr;
  QAction* View_ZoomToFit = nullptr;
  QAction* View_FitGradient = nullptr;
  QAction* View_GradientLines = nullptr;
  QAction* View_ShowNodeNames = nullptr;
  QAction* View_ShowZ = nullptr;
  QAction* View_ShowPolygonNames = nullptr;
  QAction* View_ShowTextureNames = nullptr;
  QAction* View_ShowPosition = nullptr;
  QAction* View_ShowScale = nullptr;
  QAction* View_ShowLog = nullptr;
  QAction* View_Show3D = nullptr;
  QAction* View_ShowProperties = nullptr;
  QAction* View_AutoShowProperties = nullptr;

  QAction* Tools_BackgroundImage = nullptr;
  QAction* Tools_ClearBackgroundImage = nullptr;
  QAction* Tools_TextureReport = nullptr;
  QAction* Tools_CheckTerrain = nullptr;

  QAction* Help_Manual = nullptr;
  QAction* Help_Welcome = nullptr;
  QAction* Help_CommonTasks = nullptr;
  QAction* Help_FAQ = nullptr;
  QAction* Help_Website = nullptr;
  QAction* Help_CheckForUpdates = nullptr;
  QAction* Help_About = nullptr;

  // Tool bar only: the properties toggle button.
  QAction* Tool_Properties = nullptr;
  // Tool bar only: the 3-D view toggle button.
  QAction* Tool_View3D = nullptr;
};

}  // namespace terravel
