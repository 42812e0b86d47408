// The main menu bar: Project, Edit, View, Tools and "?".
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QShortcut>

#include "app/MainWindow.h"
#include "app/UndoRedoCommands.h"

namespace terravel {

namespace {

QAction* Item(QMenu* menu, const char* name, const char* caption, const QKeySequence& shortcut = {}) {
  QAction* action = menu->addAction(QString::fromLatin1(caption));
  action->setObjectName(QString::fromLatin1(name));
  if (!shortcut.isEmpty()) {
    action->setShortcut(shortcut);
    // The keys work from the tool windows too (a field that uses the key itself keeps it).
    action->setShortcutContext(Qt::ApplicationShortcut);
  }
  return action;
}

QAction* CheckItem(QMenu* menu, const char* name, const char* caption, bool checked,
                   const QKeySequence& shortcut = {}) {
  QAction* action = Item(menu, name, caption, shortcut);
  action->setCheckable(true);
  action->setChecked(checked);
  return action;
}

QKeySequence Ctrl(Qt::Key key) {
  return QKeySequence(Qt::CTRL | key);
}

}  // namespace

void TMainForm::CreateMenus() {
  TMainMenus& m = menus_;
  QMenuBar* bar = menuBar();

  m.Project = bar->addMenu(QStringLiteral("&Project"));
  QMenu* newMenu = m.Project->addMenu(QStringLiteral("&New"));
  m.Project_New_Triangle = Item(newMenu, "Menu_Project_New_Triangle",
                                "Single &triangle (three nodes, one polygon)", Ctrl(Qt::Key_N));
  m.Project_New_Blank = Item(newMenu, "Menu_Project_New_Blank", "&Blank project");
  QMenu* meshMenu = newMenu->addMenu(QStringLiteral("&Mesh (quadratic regular grid)"));
  for (const char* caption : {"&2 x 2", "4 x 4", "&8 x 8", "&16 x 16"}) {
    m.Project_New_Mesh.append(Item(meshMenu, "Menu_Project_New_Mesh", caption));
  }
  m.Project_Open = Item(m.Project, "Menu_Project_Open", "&Open...", Ctrl(Qt::Key_O));
  m.Project_Save = Item(m.Project, "Menu_Project_Save", "&Save", Ctrl(Qt::Key_S));
  m.Project_SaveAs = Item(m.Project, "Menu_Project_SaveAs", "Save &as...");
  m.Project->addSeparator();
  m.Project_Import = Item(m.Project, "Menu_Project_Import", "&Import...", Ctrl(Qt::Key_I));
  m.Project_Export = Item(m.Project, "Menu_Project_Export", "&Export...", Ctrl(Qt::Key_E));
  m.Project_ExportAgain = Item(m.Project, "Menu_Project_ExportAgain", "E&xport again", Ctrl(Qt::Key_X));
  m.Project->addSeparator();
  m.Project_Print = Item(m.Project, "Menu_Project_Print", "&Print...", Ctrl(Qt::Key_P));
  m.Project_Print->setVisible(false);
  // A hidden item keeps no shortcut in Qt; Ctrl+P still prints.
  auto* printKey = new QShortcut(Ctrl(Qt::Key_P), this);
  printKey->setContext(Qt::ApplicationShortcut);
  connect(printKey, &QShortcut::activated, m.Project_Print, &QAction::trigger);
  m.Project_PrinterSetup = Item(m.Project, "Menu_Project_PrinterSetup", "P&rinter setup...");
  m.Project_PrinterSetup->setVisible(false);
  m.Project->addSeparator();
  m.Project_Quit = Item(m.Project, "Menu_Project_Quit", "&Quit");

  m.Edit = bar->addMenu(QStringLiteral("&Edit"));
  m.Edit->addAction(undoRedo_->UndoAction());
  m.Edit->addAction(undoRedo_->RedoAction());
  m.Edit->addSeparator();
  m.Edit_Remove = Item(m.Edit, "Menu_Edit_Remove", "R&emove selection", QKeySequence(Qt::Key_Delete));
  m.Edit_Snap = CheckItem(m.Edit, "Menu_Edit_Snap", "Automatically s&nap X and Y to grid", editor_.SnapToGrid,
                          Ctrl(Qt::Key_G));
  m.Edit->addSeparator();
  m.Edit_AddGroundPolygon =
      Item(m.Edit, "Menu_Edit_AddGroundPolygon", "Add ground &polygon (at cursor position)", Ctrl(Qt::Key_D));
  m.Edit_AddSkyPolygon =
      Item(m.Edit, "Menu_Edit_AddSkyPolygon", "Add sk&y polygon (at cursor position)", Ctrl(Qt::Key_K));
  m.Edit_Flip = Item(m.Edit, "Menu_Edit_Flip", "&Flip polygon orientation", Ctrl(Qt::Key_F));
  m.Edit->addSeparator();
  m.Edit_Triangulate = Item(m.Edit, "Menu_Edit_Triangulate", "&Triangulate nodes...");
  m.Edit_Simplify = Item(m.Edit, "Menu_Edit_Simplify", "Simpl&ify polygons...");
  m.Edit_Smooth = Item(m.Edit, "Menu_Edit_Smooth", "Smoot&h heights...");
  m.Edit_Subdivide = Item(m.Edit, "Menu_Edit_Subdivide", "S&ubdivide polygons");
  m.Edit_Sculpt = CheckItem(m.Edit, "Menu_Edit_Sculpt", "S&culpt heights", false, Ctrl(Qt::Key_J));
  m.Edit_SculptBrush = CheckItem(m.Edit, "Menu_Edit_SculptBrush", "Sculpt &brush", false);
  m.Edit->addSeparator();
  QMenu* selectAll = m.Edit->addMenu(QStringLiteral("Select &all"));
  m.Edit_SelectAll_Nodes = Item(selectAll, "Menu_Edit_SelectAll_Nodes", "&Nodes");
  m.Edit_SelectAll_Polygons = Item(selectAll, "Menu_Edit_SelectAll_Polygons", "&Polygons");
  m.Edit_SelectAll_All = Item(selectAll, "Menu_Edit_SelectAll_All", "&All", Ctrl(Qt::Key_A));
  m.Edit_SelectNone =
      Item(m.Edit, "Menu_Edit_SelectNone", "Select n&one", QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A));
  m.Edit_SelectRegion = CheckItem(m.Edit, "Menu_Edit_SelectRegion", "Select re&gion", false);

  const TViewFlags& flags = renderer_.Flags;
  m.View = bar->addMenu(QStringLiteral("&View"));
  m.View_Toolbar = CheckItem(m.View, "Menu_View_Toolbar", "&Toolbar", true);
  m.View_GradientPanel = CheckItem(m.View, "Menu_View_GradientPanel", "G&radient panel", true);
  m.View_StatusBar = CheckItem(m.View, "Menu_View_StatusBar", "St&atus bar", true);
  m.View->addSeparator();
  m.View_ZoomToFit = Item(m.View, "Menu_View_ZoomToFit", "Zoo&m to fit", Ctrl(Qt::Key_M));
  m.View_FitGradient = Item(m.View, "Menu_View_FitGradient", "&Fit gradient to terrain");
  m.View->addSeparator();
  m.View_GradientLines =
      CheckItem(m.View, "Menu_View_GradientLines", "&Gradient lines (bad performance!)", flags.GradientLines);
  m.View_ShowNodeNames =
      CheckItem(m.View, "Menu_View_ShowNodeNames", "Show &node names", flags.ShowNodeNames);
  m.View_ShowZ = CheckItem(m.View, "Menu_View_ShowZ", "Show &Z coordinates", editor_.View.ShowZ);
  m.View_ShowPolygonNames =
      CheckItem(m.View, "Menu_View_ShowPolygonNames", "Show pol&ygon names", flags.ShowPolygonNames);
  m.View_ShowTextureNames =
      CheckItem(m.View, "Menu_View_ShowTextureNames", "Show t&exture names", flags.ShowTextureNames);
  m.View_ShowPosition = CheckItem(m.View, "Menu_View_ShowPosition", "Show &position", flags.ShowPosition);
  m.View_ShowScale = CheckItem(m.View, "Menu_View_ShowScale", "Show &scale", flags.ShowScale);
  m.View->addSeparator();
  m.View_ShowLog = CheckItem(m.View, "Menu_View_ShowLog", "Show &log", false);
  m.View_Show3D = CheckItem(m.View, "Menu_View_Show3D", "Show &3-D view", false, QKeySequence(Qt::Key_F3));
  m.View->addSeparator();
  m.View_ShowProperties = Item(m.View, "Menu_View_ShowProperties", "Show pr&operties", Ctrl(Qt::Key_R));
  m.View_AutoShowProperties =
      CheckItem(m.View, "Menu_View_AutoShowProperties", "&Automatically show properties", true);

  m.Tools = bar->addMenu(QStringLiteral("&Tools"));
  m.Tools_BackgroundImage =
      Item(m.Tools, "Menu_Tools_BackgroundImage", "&Background image...", Ctrl(Qt::Key_B));
  m.Tools_ClearBackgroundImage = Item(m.Tools, "Menu_Tools_ClearBackgroundImage", "&Clear background image");
  m.Tools->addSeparator();
  m.Tools_TextureReport = Item(m.Tools, "Menu_Tools_TextureReport", "&Texture report...", Ctrl(Qt::Key_U));
  m.Tools_CheckTerrain = Item(m.Tools, "Menu_Tools_CheckTerrain", "C&heck terrain...");

  m.Help = bar->addMenu(QStringLiteral("&?"));
  m.Help_Manual = Item(m.Help, "Menu_Help_Manual", "&Manual", QKeySequence(Qt::Key_F1));
  m.Help_Welcome = Item(m.Help, "Menu_Help_Welcome", "&Welcome screen...", Ctrl(Qt::Key_W));
  m.Help_CommonTasks = Item(m.Help, "Menu_Help_CommonTasks", "&Common Tasks");
  m.Help_CommonTasks->setVisible(false);
  m.Help_FAQ = Item(m.Help, "Menu_Help_FAQ", "&Frequently Asked Questions (FAQ)");
  m.Help_FAQ->setVisible(false);
  m.Help->addSeparator();
  m.Help_Website = Item(m.Help, "Menu_Help_Website", "Visit &website");
  m.Help_CheckForUpdates = Item(m.Help, "Menu_Help_CheckForUpdates", "&Check for updates");
  m.Help_CheckForUpdates->setEnabled(false);
  m.Help->addSeparator();
  m.Help_About = Item(m.Help, "Menu_Help_About", "A&bout...");
}

}  // namespace terravel
