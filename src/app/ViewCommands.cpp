// The view and selection commands of the menus and the gradient panel: bars, display flags,
// zoom to fit, snapping, select all, flip, and the MinZ/MaxZ/PgInc edit boxes.
#include <QAction>
#include <QStatusBar>
#include <QToolBar>

#include <cmath>
#include <limits>

#include "app/AppWindows.h"
#include "app/CommandGuard.h"
#include "app/GradientPanel.h"
#include "app/MainWindow.h"
#include "app/ViewportWidget.h"
#include "model/actions/Requests.h"
#include "model/text/NumberText.h"
#include "model/view/ViewTransform.h"

namespace terravel {

namespace {

// A number the user typed, as the single-precision value an action takes; false for text that
// is no number or lies beyond single precision.
bool ParseUnit(const QString& text, float& value) {
  double number = 0;
  if (!TryParseNumber(text.toLocal8Bit().toStdString(), number)) return false;
  if (!std::isfinite(number) || std::fabs(number) > std::numeric_limits<float>::max()) return false;
  value = static_cast<float>(number);
  return true;
}

}  // namespace

void TMainForm::ConnectViewToggles() {
  TMainMenus& m = menus_;
  connect(m.View_Toolbar, &QAction::triggered, this,
          [this](bool on) { SetBarVisible(menus_.View_Toolbar, toolBar_, on); });
  connect(m.View_GradientPanel, &QAction::triggered, this,
          [this](bool on) { SetBarVisible(menus_.View_GradientPanel, gradientPanel_, on); });
  connect(m.View_StatusBar, &QAction::triggered, this,
          [this](bool on) { SetBarVisible(menus_.View_StatusBar, statusBar(), on); });

  // Each display flag with whether its change needs the pick buffer redrawn too.
  const auto flag = [this](QAction* action, bool TViewFlags::*member, bool full) {
    Command(action, [this, action, member, full] {
      renderer_.Flags.*member = action->isChecked();
      Viewport()->Redraw(full);  // the top view's own display switches
    });
  };
  flag(m.View_GradientLines, &TViewFlags::GradientLines, false);
  flag(m.View_ShowNodeNames, &TViewFlags::ShowNodeNames, true);
  flag(m.View_ShowPolygonNames, &TViewFlags::ShowPolygonNames, true);
  flag(m.View_ShowTextureNames, &TViewFlags::ShowTextureNames, true);
  flag(m.View_ShowPosition, &TViewFlags::ShowPosition, false);
  flag(m.View_ShowScale, &TViewFlags::ShowScale, false);
  Command(m.View_ShowZ, [this] { Menu_View_ShowZClick(menus_.View_ShowZ->isChecked()); });
  connect(m.View_ShowLog, &QAction::triggered, this, [this](bool on) {
    tools_.Log->setVisible(on);
  });

  Command(m.View_ZoomToFit, [this] { Menu_View_ZoomToFitClick(); });
  Command(m.Edit_Snap, [this] { Menu_Edit_SnapClick(menus_.Edit_Snap->isChecked()); });
  Command(m.Edit_Flip, [this] { Menu_Edit_FlipClick(); });
  Command(m.Edit_SelectAll_Nodes, [this] { Menu_Edit_SelectAllClick(true, false); });
  Command(m.Edit_SelectAll_Polygons, [this] { Menu_Edit_SelectAllClick(false, true); });
  Command(m.Edit_SelectAll_All, [this] { Menu_Edit_SelectAllClick(true, true); });
}

void TMainForm::SetBarVisible(QAction* item, QWidget* bar, bool visible) {
  item->setChecked(visible);
  bar->setVisible(visible);
}

void TMainForm::Menu_View_ShowZClick(bool checked) {
  editor_.View.ShowZ = checked;
  menus_.View_ShowZ->setChecked(checked);
  gradientPanel_->SetShowZ(checked);
  host_.ViewChanged(true);
}

void TMainForm::Menu_View_ZoomToFitClick() {
  ZoomToFit(editor_);
}

void TMainForm::Menu_Edit_SnapClick(bool checked) {
  editor_.SnapToGrid = checked;
  menus_.Edit_Snap->setChecked(checked);
  tools_.Properties->RefreshProperties();  // the coordinates it offers follow the grid
}

void TMainForm::Menu_Edit_FlipClick() {
  DoFlipPolygons(editor_);
}

void TMainForm::Menu_Edit_SelectAllClick(bool nodes, bool polygons) {
  DoSelectAll(editor_, nodes, polygons);
}

void TMainForm::UnitEdited(TUnitField field, const QString& text) {
  float value = 0;
  if (!ParseUnit(text, value)) return;
  RunCommand(this, [&] {
    switch (field) {
      case TUnitField::MinZ:
        DoSetMinZ(editor_, value);
        break;
      case TUnitField::MaxZ:
        DoSetMaxZ(editor_, value);
        break;
      case TUnitField::PgInc:
        DoSetPgInc(editor_, value);
        break;
    }
  });
}

}  // namespace terravel
