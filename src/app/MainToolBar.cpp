// The main tool bar: flat buttons with pictures, most of them sharing a menu item's command.
#include <QAction>
#include <QToolBar>
#include <QToolButton>

#include "app/FormatIEForm.h"
#include "app/MainWindow.h"
#include "app/ToolBarIcons.h"
#include "app/UndoRedoCommands.h"

namespace terravel {

namespace {

constexpr int kButtonWidth = 27;
constexpr int kButtonHeight = 26;

void AddButton(QToolBar* bar, QAction* action, TToolIcon icon, const QString& hint) {
  action->setIcon(ToolBarIcon(icon));
  action->setToolTip(hint);
  bar->addAction(action);
  if (QWidget* button = bar->widgetForAction(action)) button->setFixedSize(kButtonWidth, kButtonHeight);
}

}  // namespace

void TMainForm::CreateToolBar() {
  TMainMenus& m = menus_;
  toolBar_ = addToolBar(QStringLiteral("Toolbar"));
  toolBar_->setObjectName(QStringLiteral("ToolBar"));
  toolBar_->setMovable(false);
  toolBar_->setFloatable(false);
  toolBar_->setIconSize(QSize(16, 16));
  toolBar_->toggleViewAction()->setEnabled(false);

  AddButton(toolBar_, m.Project_New_Triangle, TToolIcon::NewProject, "Create a new Terravel project.");
  AddButton(toolBar_, m.Project_Open, TToolIcon::OpenProject, "Open an existing Terravel project.");
  AddButton(toolBar_, m.Project_Save, TToolIcon::SaveProject, "Save this Terravel project.");
  AddButton(toolBar_, m.Project_Print, TToolIcon::Print, "Print this Terravel project.");
  toolBar_->addSeparator();

  undoRedo_->UndoButton()->setIcon(ToolBarIcon(TToolIcon::Undo));
  undoRedo_->RedoButton()->setIcon(ToolBarIcon(TToolIcon::Redo));
  undoRedo_->UndoAction()->setIcon(ToolBarIcon(TToolIcon::Undo));
  undoRedo_->RedoAction()->setIcon(ToolBarIcon(TToolIcon::Redo));
  toolBar_->addWidget(undoRedo_->UndoButton());
  toolBar_->addWidget(undoRedo_->RedoButton());
  toolBar_->addSeparator();

  AddButton(toolBar_, m.Project_Import, TToolIcon::Import, "Import into this project.");
  AddButton(toolBar_, m.Project_Export, TToolIcon::Export, TFormatIEForm::ExportHint());
  toolBar_->addSeparator();
  AddButton(toolBar_, m.Edit_Remove, TToolIcon::Remove, "Remove selection.");
  toolBar_->addSeparator();
  AddButton(toolBar_, m.Edit_Snap, TToolIcon::Snap, "Automatically snap X and Y to grid.");
  m.Tool_Properties = new QAction(QStringLiteral("Properties"), this);
  m.Tool_Properties->setObjectName(QStringLiteral("PropertiesToolButton"));
  m.Tool_Properties->setCheckable(true);
  AddButton(toolBar_, m.Tool_Properties, TToolIcon::Properties, "Show properties window.");
  AddButton(toolBar_, m.View_ZoomToFit, TToolIcon::ZoomToFit, "Zoom to fit.");
  AddButton(toolBar_, m.Tools_BackgroundImage, TToolIcon::BackgroundImage,
            "Change background image settings.");
  AddButton(toolBar_, m.Help_Manual, TToolIcon::Manual, "Open the manual.");
  // The tools added to the classic ones stand at the end, the 3-D view last.
  AddButton(toolBar_, m.Edit_Sculpt, TToolIcon::Sculpt, "Sculpt heights with the brush (Escape leaves).");
  m.Tool_View3D = new QAction(QStringLiteral("3-D view"), this);
  m.Tool_View3D->setObjectName(QStringLiteral("View3DToolButton"));
  m.Tool_View3D->setCheckable(true);
  AddButton(toolBar_, m.Tool_View3D, TToolIcon::View3D, "Show the 3-D view.");
}

}  // namespace terravel
