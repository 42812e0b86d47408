#pragma once
// The welcome window: a start page offering a new project, a recent or other project, the manual,
// or straight to work. It runs the main window's commands and keeps the welcome-screen switch.
#include <QDialog>

class QAction;
class QCheckBox;
class QMenu;
class QPushButton;

namespace terravel {

class TProjectLifecycle;
class TSettings;
struct TMainMenus;

class TWelcomeForm : public QDialog {
  Q_OBJECT
 public:
  // The menus' commands are what its buttons run; the settings hold the recent files and the switch.
  TWelcomeForm(const TMainMenus& menus, TSettings& settings, TProjectLifecycle& project);

  QPushButton* NewProjectButton() const { return newButton_; }
  QPushButton* OpenProjectButton() const { return openButton_; }
  QPushButton* WorkspaceButton() const { return workspaceButton_; }
  QCheckBox* DontShowCheckBox() const { return dontShow_; }
  QMenu* NewPopup() const { return newPopup_; }
  // Rebuilt from the recent files each time it opens.
  QMenu* OpenPopup() const { return openPopup_; }

  // Every way of closing ends here: the switch is stored and the settings saved.
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void CreateNewPopup();
  void FillOpenPopup();
  void ShowPopupBelow(QMenu* popup, QPushButton* button);
  void RunThenClose(QAction* command);
  void OpenOtherProject();
  void OpenRecentFile(const QString& path);

  const TMainMenus& menus_;
  TSettings& settings_;
  TProjectLifecycle& project_;
  QPushButton* newButton_;
  QPushButton* openButton_;
  QPushButton* manualButton_;
  QPushButton* workspaceButton_;
  QCheckBox* dontShow_;
  QMenu* newPopup_;
  QMenu* openPopup_;
};

}  // namespace terravel
