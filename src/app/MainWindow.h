#pragma once
// The main window: menus, tool bar, gradient panel, viewport and status bar around the one
// document of the run. It builds every window and component of the program in one step, each
// with what it uses, and subscribes the views to the document's host; it owns the modified flag,
// the current file name and the display flags, and leads the project commands (new, open, save).
#include <QMainWindow>

#include <memory>

#include "app/DocumentHost.h"
#include "app/MainMenus.h"
#include "app/ProjectLifecycle.h"
#include "app/Settings.h"
#include "app/ToolWindows.h"
#include "model/editor/Editor.h"
#include "render/ViewportRenderer.h"

class QPrinter;
class QPushButton;
class QToolBar;

namespace terravel {

class TBrushPanel;
class TGradientPanel;
class TClientPanel;
class TEditCommands;
class TShapingCommands;
class TRegionSelectTool;
class TSculptTool;
class TPropertiesForm;
class TStatusPanels;
class TUndoRedoCommands;
class TViewportInput;
class TViewportPopups;
class TViewportWidget;
class TView3DDock;
struct TOwnedToolWindows;

class TMainForm : public QMainWindow, public TDocumentView, public TProjectLifecycle {
  Q_OBJECT
 public:
  TMainForm();
  ~TMainForm() override;

  // The other windows of the program, made with this one and kept until it goes.
  const TToolWindows& Tools() const { return tools_; }
  // The first command-line argument (empty without one), used when the window is first shown.
  void SetStartupArgument(const QString& argument) { startupArgument_ = argument; }

  TEditor& Editor() { return editor_; }
  // What the document reports to; every view follows it.
  TDocumentHost& Host() { return host_; }
  TViewportRenderer& Renderer() { return renderer_; }
  TSettings& Settings() { return settings_; }
  const TMainMenus& Menus() const { return menus_; }
  TUndoRedoCommands& UndoRedo() { return *undoRedo_; }
  TGradientPanel* GradientPanel() const { return gradientPanel_; }
  TStatusPanels* StatusPanels() const { return statusPanels_; }
  TViewportWidget* Viewport() const;
  QPushButton* ViewportFocusButton() const { return focusButton_; }
  TEditCommands& EditCommands() { return *editCommands_; }
  TViewportPopups& ViewportPopups() { return *viewportPopups_; }
  QToolBar* ToolBar() const { return toolBar_; }
  TView3DDock* View3D() const { return view3d_; }
  TBrushPanel* BrushPanel() const { return brushPanel_; }
  TSculptTool* SculptTool() const { return sculptTool_; }

  // Project lifecycle.
  bool Modified() const { return modified_; }
  const QString& FileName() const override { return fileName_; }
  void SetFileName(const QString& path);
  void UpdateTitle();
  // Asks whether to save a modified project; true when the caller must stop.
  bool ConfirmDiscard() override;
  // A fresh project (blank or the single triangle), untitled. Does not ask about changes.
  void NewProject(bool withTriangle) override;
  // After the save question: a fresh N x N mesh, untitled.
  void NewMesh(int n);
  // Reads the file into the (cleared) document; the path enters the recent files either way.
  void OpenProjectFile(const QString& path) override;

  // The commands behind the menus and buttons (each runs inside RunCommand).
  void Menu_Project_New_TriangleClick();
  void Menu_Project_New_BlankClick();
  void Menu_Project_OpenClick();
  void Menu_Project_SaveClick();
  void Menu_Project_SaveAsClick();
  void Menu_Project_PrintClick();
  void Menu_Project_PrinterSetupClick();
  void Menu_Project_ImportClick();
  void Menu_Project_ExportClick();
  void Menu_Project_ExportAgainClick();
  void Menu_Edit_SelectAllClick(bool nodes, bool polygons);
  void Menu_Edit_FlipClick();
  void Menu_Edit_SnapClick(bool checked);
  void Menu_View_ZoomToFitClick();
  void Menu_View_ShowZClick(bool checked);
  void Menu_Help_ManualClick(int tag);

  // A line of the log window, written by the main window itself (the log window hears the
  // document's lines from the host).
  void LogLine(const QString& line);

  // What the window itself shows of the document: the "*" of the title, the gradient panel's
  // values and the Show Z switch.
  void Changed(const TChangeSet& changes) override;
  void SetModified(bool modified);
  void ShowProjectValues();
  void ShowUnitValue(TUnitField field);

 signals:
  // The window closed after the save question; the program ends.
  void Closed();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;  // MainDrop.cpp
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void CreateMenus();                                      // MainMenus.cpp
  void CreateToolBar();                                    // MainToolBar.cpp
  void ConnectCommands();                                  // MainCommands.cpp
  void ConnectViewToggles();                               // ViewCommands.cpp
  void CreateToolWindows();
  // Makes a tool window, keeps it until the main window goes and stands it beside the main window.
  enum class TToolWindowPlace { AboveMain, OnTop, PopUp };
  template <typename TWindow, typename... TArguments>
  TWindow* MakeToolWindow(TToolWindowPlace place, TArguments&&... arguments);
  void ConnectToolWindows();
  void CreateView3D();
  void PlaceView3D();
  void CreateBrushPanel();
  void UnitEdited(TUnitField field, const QString& text);  // ViewCommands.cpp
  void SetBarVisible(QAction* item, QWidget* bar, bool visible);
  void FirstShow();
  // "Export again" is there exactly when the format chooser remembers an export.
  void UpdateExportAgain();
  // Open without the file dialog (a dropped file): the save question, then the file is read.
  void OpenProjectPath(const QString& path);
  void Command(QAction* action, std::function<void()> command);

  TDocumentHost host_;
  TEditor editor_{&host_};
  TViewportRenderer renderer_{editor_};
  TSettings settings_;
  TMainMenus menus_;
  TUndoRedoCommands* undoRedo_ = nullptr;
  TEditCommands* editCommands_ = nullptr;
  TShapingCommands* shapingCommands_ = nullptr;
  TSculptTool* sculptTool_ = nullptr;
  TBrushPanel* brushPanel_ = nullptr;
  TRegionSelectTool* regionTool_ = nullptr;
  TViewportPopups* viewportPopups_ = nullptr;
  TViewportInput* viewportInput_ = nullptr;
  QToolBar* toolBar_ = nullptr;
  TGradientPanel* gradientPanel_ = nullptr;
  TClientPanel* clientPanel_ = nullptr;
  TStatusPanels* statusPanels_ = nullptr;
  QPushButton* focusButton_ = nullptr;
  TView3DDock* view3d_ = nullptr;
  std::unique_ptr<TOwnedToolWindows> owned_;
  TToolWindows tools_;
  std::unique_ptr<QPrinter> printer_;

  QString startupArgument_;
  QString fileName_;
  bool modified_ = false;
  bool saveAborted_ = false;
  bool shown_ = false;
};

}  // namespace terravel
