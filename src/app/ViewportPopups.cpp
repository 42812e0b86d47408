#include "app/ViewportPopups.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include <string>
#include <utility>

#include "app/CommandGuard.h"
#include "app/EditCommands.h"
#include "app/UserDialogs.h"
#include "app/properties/PropertiesForm.h"
#include "model/actions/Requests.h"
#include "model/editing/PolygonPlacement.h"
#include "model/editor/Editor.h"

namespace terravel {

namespace {

// The caption with its key shown in the shortcut column; the key is not a real shortcut.
QString CaptionWithKey(const QString& caption, const char* key) {
  if (key == nullptr || *key == '\0') return caption;
  return caption + QLatin1Char('\t') + QString::fromLatin1(key);
}

// A texture name as a menu caption: "&" is no accelerator mark here.
QString TextureCaption(const std::string& name) {
  if (name.empty()) return QStringLiteral("(undefined)");
  QString caption = QString::fromLocal8Bit(name);
  caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
  return caption;
}

}  // namespace

TViewportPopups::TViewportPopups(TEditor& editor, TEditCommands& commands, QWidget* window,
                                 QAction* showProperties, TPropertiesForm& properties)
    : QObject(window),
      editor_(editor),
      commands_(commands),
      window_(window),
      showProperties_(showProperties),
      propertiesWindow_(properties) {
  CreateDefaultPopup();
  CreateSelectedPopup();
  connect(defaultPopup_, &QMenu::aboutToShow, this, &TViewportPopups::Prepare);
  connect(selectedPopup_, &QMenu::aboutToShow, this, &TViewportPopups::Prepare);
}

QAction* TViewportPopups::Item(QMenu* menu, const char* name, const char* caption, const char* key,
                               std::function<void()> command) {
  QAction* action = menu->addAction(CaptionWithKey(QString::fromLatin1(caption), key));
  action->setObjectName(QString::fromLatin1(name));
  connect(action, &QAction::triggered, this,
          [this, command = std::move(command)] { RunCommand(window_, command); });
  return action;
}

void TViewportPopups::CreateDefaultPopup() {
  QMenu* menu = defaultPopup_ = new QMenu(window_);
  menu->setObjectName(QStringLiteral("DefaultPopup"));
  QAction* showProperties = showProperties_;
  properties_ = Item(menu, "DefaultPopup_Properties", "P&olygon properties...", "O",
                     [showProperties] { showProperties->trigger(); });
  addNode_ = Item(menu, "DefaultPopup_AddNode", "&Add node here", "A", [this] { commands_.AddNodeHere(); });
  menu->addSeparator();
  addGround_ = Item(menu, "DefaultPopup_AddGroundPolygon", "Add ground &polygon here", "P",
                    [this] { commands_.AddPolygon(TPolygonKind::Ground, TPolygonSource::NearPoint); });
  addSky_ = Item(menu, "DefaultPopup_AddSkyPolygon", "Add sk&y polygon here", "Y",
                 [this] { commands_.AddPolygon(TPolygonKind::Sky, TPolygonSource::NearPoint); });
  menu->addSeparator();
  texture_ = menu->addMenu(CaptionWithKey(QStringLiteral("Apply &texture"), "T"));
  texture_->setObjectName(QStringLiteral("DefaultPopup_Texture"));
  // Owned here, so that rebuilding the submenu keeps it.
  otherTexture_ = new QAction(CaptionWithKey(QStringLiteral("&Other..."), "O"), this);
  otherTexture_->setObjectName(QStringLiteral("DefaultPopup_Texture_Other"));
  connect(otherTexture_, &QAction::triggered, this, [this] {
    RunCommand(window_, [this] {
      propertiesWindow_.EditTexture();
    });
  });
  menu->addSeparator();
  flip_ = Item(menu, "DefaultPopup_Flip", "&Flip polygon orientation", "F",
               [this] { DoFlipPolygons(editor_); });
  remove_ =
      Item(menu, "DefaultPopup_Remove", "&Remove selection", "R", [this] { commands_.RemoveSelection(); });
  menu->addSeparator();

  QMenu* grid = menu->addMenu(CaptionWithKey(QStringLiteral("&Grid"), "G"));
  grid->setObjectName(QStringLiteral("DefaultPopup_Grid"));
  gridGroup_ = new QActionGroup(grid);
  gridGroup_->setExclusive(true);
  const auto gridItem = [this, grid](int size, const QString& caption, const QString& key) {
    QAction* action = grid->addAction(caption + QLatin1Char('\t') + key);
    action->setObjectName(size > 0 ? QStringLiteral("DefaultPopup_Grid_%1").arg(size)
                                   : QStringLiteral("DefaultPopup_Grid_None"));
    action->setCheckable(true);
    action->setData(size);
    gridGroup_->addAction(action);
    connect(action, &QAction::triggered, this,
            [this, size] { RunCommand(window_, [this, size] { DoSetGridSize(editor_, size); }); });
  };
  for (int power = 0; power <= 8; ++power) {
    const int size = 1 << power;
    const QString caption =
        size == 1 ? QStringLiteral("1 unit (2^&0)") : QStringLiteral("%1 units (2^&%2)").arg(size).arg(power);
    gridItem(size, caption, QString::number(power));
  }
  grid->addSeparator();
  gridItem(0, QStringLiteral("&No grid"), QStringLiteral("N"));
}

void TViewportPopups::CreateSelectedPopup() {
  QMenu* menu = selectedPopup_ = new QMenu(window_);
  menu->setObjectName(QStringLiteral("SelectedPopup"));
  QAction* showProperties = showProperties_;
  menu->setDefaultAction(Item(menu, "SelectedPopup_Properties", "N&ode properties", "Enter",
                              [showProperties] { showProperties->trigger(); }));
  menu->addSeparator();
  Item(menu, "SelectedPopup_AddGroundPolygon", "Add ground &polygon", "Ctrl+G",
       [this] { commands_.AddPolygon(TPolygonKind::Ground, TPolygonSource::SelectionOrPoint); });
  Item(menu, "SelectedPopup_AddSkyPolygon", "Add sk&y polygon", "Ctrl+K",
       [this] { commands_.AddPolygon(TPolygonKind::Sky, TPolygonSource::SelectionOrPoint); });
  menu->addSeparator();
  QMenu* snap = menu->addMenu(CaptionWithKey(QStringLiteral("S&nap to grid"), "N"));
  snap->setObjectName(QStringLiteral("SelectedPopup_Snap"));
  Item(snap, "SelectedPopup_Snap_XY", "X &and Y axis", "C",
       [this] { DoSnapNodesXY(editor_, true, true); });
  Item(snap, "SelectedPopup_Snap_X", "&X axis only", "X",
       [this] { DoSnapNodesXY(editor_, true, false); });
  Item(snap, "SelectedPopup_Snap_Y", "&Y axis only", "Y",
       [this] { DoSnapNodesXY(editor_, false, true); });
  Item(snap, "SelectedPopup_Snap_Z", "&Z axis only", "Z", [this] { DoSnapNodesZ(editor_); });
  menu->addSeparator();
  Item(menu, "SelectedPopup_Remove", "&Remove selection", "R", [this] { commands_.RemoveSelection(); });
}

QMenu* TViewportPopups::PopupForSelection() const {
  return editor_.State.SelectedNodeCount() > 0 ? selectedPopup_ : defaultPopup_;
}

void TViewportPopups::Open(QMenu* menu, QPoint globalPosition) {
  if (menu != nullptr) menu->popup(globalPosition);
}

void TViewportPopups::Prepare() {
  const TBufferState& state = editor_.State;
  const bool anySelected = state.SelectedNodeCount() > 0 || state.SelectedPolygonCount() > 0;
  const bool polygonsSelected = state.SelectedPolygonCount() > 0;
  properties_->setVisible(anySelected);
  addNode_->setVisible(!anySelected);
  defaultPopup_->setDefaultAction(anySelected ? properties_ : addNode_);
  addGround_->setEnabled(!polygonsSelected);
  addSky_->setEnabled(!polygonsSelected);
  texture_->setEnabled(polygonsSelected);
  flip_->setEnabled(polygonsSelected);
  remove_->setEnabled(polygonsSelected);
  RebuildTextureMenu();

  const int grid = editor_.Values.GridX;
  for (QAction* action : gridGroup_->actions()) action->setChecked(action->data().toInt() == grid);
}

void TViewportPopups::RebuildTextureMenu() {
  texture_->clear();
  const std::vector<std::string> names = TextureNames(editor_);
  for (const std::string& name : names) {
    QAction* action = texture_->addAction(TextureCaption(name));
    action->setObjectName(QStringLiteral("DefaultPopup_Texture_Name"));
    connect(action, &QAction::triggered, this,
            [this, name] { RunCommand(window_, [this, &name] { DoSetPolyTexture(editor_, name); }); });
  }
  if (!names.empty()) texture_->addSeparator();
  texture_->addAction(otherTexture_);
}

}  // namespace terravel
