// Which command each menu item and button runs, and the import and export commands.
#include <QAction>
#include <QCoreApplication>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QScopeGuard>

#include "app/AppWindows.h"
#include "app/BrushPanel.h"
#include "app/CommandGuard.h"
#include "app/EditCommands.h"
#include "app/MainWindow.h"
#include "app/RegionSelectTool.h"
#include "app/SculptTool.h"
#include "app/ShapingCommands.h"
#include "app/TerrainCheckForm.h"
#include "app/UserDialogs.h"
#include "app/ViewportInput.h"
#include "app/WebPage.h"
#include "model/actions/Requests.h"
#include "model/project/GradientRange.h"

namespace terravel {

void TMainForm::Command(QAction* action, std::function<void()> command) {
  connect(action, &QAction::triggered, this,
          [this, command = std::move(command)] { RunCommand(this, command); });
}

void TMainForm::ConnectCommands() {
  TMainMenus& m = menus_;
  Command(m.Project_New_Triangle, [this] { Menu_Project_New_TriangleClick(); });
  Command(m.Project_New_Blank, [this] { Menu_Project_New_BlankClick(); });
  for (qsizetype i = 0; i < m.Project_New_Mesh.size(); ++i) {
    const int n = 2 << i;  // 2, 4, 8, 16
    Command(m.Project_New_Mesh[i], [this, n] { NewMesh(n); });
  }
  Command(m.Project_Open, [this] { Menu_Project_OpenClick(); });
  Command(m.Project_Save, [this] { Menu_Project_SaveClick(); });
  Command(m.Project_SaveAs, [this] { Menu_Project_SaveAsClick(); });
  Command(m.Project_Print, [this] { Menu_Project_PrintClick(); });
  Command(m.Project_PrinterSetup, [this] { Menu_Project_PrinterSetupClick(); });
  connect(m.Project_Quit, &QAction::triggered, this, &QWidget::close);

  Command(m.Project_Import, [this] { Menu_Project_ImportClick(); });
  Command(m.Project_Export, [this] { Menu_Project_ExportClick(); });
  Command(m.Project_ExportAgain, [this] { Menu_Project_ExportAgainClick(); });
  Command(m.Edit_Remove, [this] { editCommands_->RemoveSelection(); });
  Command(m.Edit_AddGroundPolygon,
          [this] { editCommands_->AddPolygon(TPolygonKind::Ground, TPolygonSource::SelectionOrPoint); });
  Command(m.Edit_AddSkyPolygon,
          [this] { editCommands_->AddPolygon(TPolygonKind::Sky, TPolygonSource::SelectionOrPoint); });
  Command(m.Edit_Triangulate, [this] { shapingCommands_->Triangulate(); });
  Command(m.Edit_Simplify, [this] { shapingCommands_->Simplify(); });
  // Sculpting and region selection are modes of the left button: one at a time.
  Command(m.Edit_Sculpt, [this] {
    if (menus_.Edit_Sculpt->isChecked()) regionTool_->SetActive(false);
    sculptTool_->SetActive(menus_.Edit_Sculpt->isChecked());
    // The brush's values come with the mode.
    if (menus_.Edit_Sculpt->isChecked()) brushPanel_->show();
  });
  Command(m.Edit_SelectRegion, [this] {
    if (menus_.Edit_SelectRegion->isChecked()) sculptTool_->SetActive(false);
    regionTool_->SetActive(menus_.Edit_SelectRegion->isChecked());
  });
  Command(m.Edit_SelectNone, [this] {
    DoSelectNothing(editor_);
    viewportInput_->FollowSelection();
  });
  Command(m.Edit_Smooth, [this] { shapingCommands_->Smooth(); });
  Command(m.Edit_Subdivide, [this] { shapingCommands_->Subdivide(); });
  Command(m.View_FitGradient, [this] { DoFitGradientToTerrain(editor_); });
  // Both show the window (also when it shows already); its showing sets their check marks.
  m.View_ShowProperties->setCheckable(true);
  for (QAction* action : {m.View_ShowProperties, m.Tool_Properties}) {
    Command(action, [this] {
      TPropertiesForm* properties = tools_.Properties;
      menus_.View_ShowProperties->setChecked(properties->isVisible());
      menus_.Tool_Properties->setChecked(properties->isVisible());
      properties->show();
      properties->raise();
      properties->activateWindow();
    });
  }
  Command(m.Tools_BackgroundImage, [this] {
    // Whatever the window did, the menu item follows the picture.
    const auto update = qScopeGuard(
        [this] { menus_.Tools_ClearBackgroundImage->setEnabled(renderer_.HasBackgroundImage()); });
    tools_.BackgroundImage->exec();
  });
  Command(m.Tools_ClearBackgroundImage, [this] {
    renderer_.ClearBackgroundImage();
    menus_.Tools_ClearBackgroundImage->setEnabled(false);
    host_.ViewChanged(false);
  });
  Command(m.Tools_TextureReport, [this] {
    tools_.TextureReport->exec();
  });
  Command(m.Tools_CheckTerrain, [this] {
    TTerrainCheckForm check(editor_, this);
    check.exec();
  });

  Command(m.Help_Manual, [this] { Menu_Help_ManualClick(0); });
  Command(m.Help_CommonTasks, [this] { Menu_Help_ManualClick(3); });
  Command(m.Help_FAQ, [this] { Menu_Help_ManualClick(4); });
  // Until the project has a home page, the website is the manual that comes with the program.
  Command(m.Help_Website, [this] { Menu_Help_ManualClick(0); });
  Command(m.Help_Welcome, [this] {
    tools_.Welcome->exec();
  });
  Command(m.Help_About, [this] {
    tools_.About->exec();
  });
}

void TMainForm::Menu_Project_PrintClick() {
  LogLine(QStringLiteral("LOG: File Print"));
  NotYetImplemented(this, QStringLiteral("Print"));
}

void TMainForm::Menu_Project_ImportClick() {
  // The import publishes what it changed.
  tools_.FormatIE->ShowForImport();
}

void TMainForm::Menu_Project_ExportClick() {
  // Whatever the chooser did, the state follows what it remembers.
  const auto update = qScopeGuard([this] { UpdateExportAgain(); });
  tools_.FormatIE->ShowForExport();
}

void TMainForm::Menu_Project_ExportAgainClick() {
  const auto update = qScopeGuard([this] { UpdateExportAgain(); });
  tools_.FormatIE->ExportAgain();
}

void TMainForm::UpdateExportAgain() {
  menus_.Project_ExportAgain->setEnabled(tools_.FormatIE->HasLastExport());
}

void TMainForm::Menu_Project_PrinterSetupClick() {
  if (printer_ == nullptr) printer_ = std::make_unique<QPrinter>();
  QPageSetupDialog dialog(printer_.get(), this);
  dialog.exec();
}

void TMainForm::Menu_Help_ManualClick(int tag) {
  OpenManual(this, QCoreApplication::applicationDirPath(), tag);
}

}  // namespace terravel
