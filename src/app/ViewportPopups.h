#pragma once
// The two popup menus of the viewport: DefaultPopup while no node is selected (add a node or a
// polygon here, texture, flip, remove, grid size) and SelectedPopup while nodes are (properties,
// add polygon, snap to grid, remove). The keys beside the items are display text; an open popup
// answers to the underlined letters.
#include <QList>
#include <QObject>
#include <QPoint>

#include <functional>

class QAction;
class QActionGroup;
class QMenu;
class QWidget;

namespace terravel {

class TEditCommands;
class TEditor;
class TPropertiesForm;

class TViewportPopups : public QObject {
 public:
  // The menus belong to the window; their properties items trigger showProperties, and
  // "&Other..." opens the properties window's texture row.
  TViewportPopups(TEditor& editor, TEditCommands& commands, QWidget* window, QAction* showProperties,
                  TPropertiesForm& properties);

  QMenu* DefaultPopup() const { return defaultPopup_; }
  QMenu* SelectedPopup() const { return selectedPopup_; }
  // SelectedPopup while at least one node is selected, DefaultPopup otherwise.
  QMenu* PopupForSelection() const;

  // Opens the menu at the screen point and returns at once; the menu is prepared as it shows.
  void Open(QMenu* menu, QPoint globalPosition);
  // Runs each time either popup opens: the enabled and visible states of DefaultPopup, the
  // texture names of the project, the check mark of the current grid size.
  void Prepare();

 private:
  void CreateDefaultPopup();
  void CreateSelectedPopup();
  // An item that runs the command inside RunCommand.
  QAction* Item(QMenu* menu, const char* name, const char* caption, const char* key,
                std::function<void()> command);
  void RebuildTextureMenu();

  TEditor& editor_;
  TEditCommands& commands_;
  QWidget* window_;
  QAction* showProperties_;
  TPropertiesForm& propertiesWindow_;
  QMenu* defaultPopup_ = nullptr;
  QMenu* selectedPopup_ = nullptr;

  QAction* properties_ = nullptr;
  QAction* addNode_ = nullptr;
  QAction* addGround_ = nullptr;
  QAction* addSky_ = nullptr;
  QMenu* texture_ = nullptr;
  QAction* otherTexture_ = nullptr;
  QAction* flip_ = nullptr;
  QAction* remove_ = nullptr;
  QActionGroup* gridGroup_ = nullptr;
};

}  // namespace terravel
