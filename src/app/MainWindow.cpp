#include "app/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <utility>
#include <vector>

#include "app/AppWindows.h"
#include "app/BrushPanel.h"
#include "app/WindowPlacement.h"
#include "app/CommandGuard.h"
#include "app/EditCommands.h"
#include "app/GradientPanel.h"
#include "app/RegionSelectTool.h"
#include "app/SculptTool.h"
#include "app/ShapingCommands.h"
#include "app/StatusPanels.h"
#include "app/UndoRedoCommands.h"
#include "app/ViewportInput.h"
#include "app/ViewportPopups.h"
#include "app/ViewportWidget.h"
#include "app/view3d/View3DDock.h"
#include "model/view/ViewTransform.h"

namespace terravel {

// The windows beside the main window, let go in the reverse order of their making: a window may
// hold one made before it.
struct TOwnedToolWindows {
  std::vector<std::unique_ptr<QWidget>> Windows;
  ~TOwnedToolWindows() {
    while (!Windows.empty()) Windows.pop_back();
  }
};

namespace {
// What the document reports to once the window is going.
TNullHost detachedHost;
}  // namespace

TMainForm::TMainForm() : owned_(std::make_unique<TOwnedToolWindows>()) {
  setObjectName(QStringLiteral("MainForm"));
  resize(960, 594);
  setAttribute(Qt::WA_AlwaysShowToolTips);
  setAcceptDrops(true);  // a project or an exchange file dropped on the window (MainDrop.cpp)

  undoRedo_ = new TUndoRedoCommands(editor_, host_, this);
  CreateMenus();
  CreateToolBar();

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  gradientPanel_ = new TGradientPanel(central);
  clientPanel_ = new TClientPanel(renderer_, central);
  layout->addWidget(gradientPanel_);
  layout->addWidget(clientPanel_, 1);
  setCentralWidget(central);
  statusPanels_ = new TStatusPanels(editor_, this);
  setStatusBar(statusPanels_);

  // The viewport cannot take the keyboard focus; this button of no size takes it in its place.
  focusButton_ = new QPushButton(central);
  focusButton_->setObjectName(QStringLiteral("ViewportFocusButton"));
  focusButton_->setGeometry(10, 10, 0, 0);
  focusButton_->setFocusPolicy(Qt::StrongFocus);
  focusButton_->installEventFilter(this);
  focusButton_->setContextMenuPolicy(Qt::PreventContextMenu);

  CreateToolWindows();

  editCommands_ = new TEditCommands(editor_, this, Viewport());
  shapingCommands_ = new TShapingCommands(editor_, this);
  viewportPopups_ =
      new TViewportPopups(editor_, *editCommands_, this, menus_.View_ShowProperties, *tools_.Properties);
  viewportInput_ = new TViewportInput(editor_, host_, renderer_, *editCommands_, *viewportPopups_,
                                      TViewportControls{this, Viewport(), focusButton_, menus_.View_ShowProperties,
                                                        menus_.View_AutoShowProperties, tools_.Properties});
  CreateView3D();

  // Installed after the viewport input, so that its filter sees the viewport's events first.
  sculptTool_ = new TSculptTool(editor_, Viewport(), menus_.Edit_Sculpt, [this] { return view3d_->View(); });
  CreateBrushPanel();
  regionTool_ = new TRegionSelectTool(
      editor_, Viewport(), menus_.Edit_SelectRegion, [this] { viewportInput_->FollowSelection(); },
      [this] { return view3d_->View(); });

  // Every view follows the document through the host, in this order.
  for (TDocumentView* view : std::initializer_list<TDocumentView*>{
           Viewport(), statusPanels_, this, tools_.Properties, undoRedo_, tools_.Log}) {
    host_.Follow(*view);
  }
  connect(gradientPanel_, &TGradientPanel::UnitEdited, this, &TMainForm::UnitEdited);
  connect(gradientPanel_, &TGradientPanel::ShowZClicked, this,
          [this](bool checked) { RunCommand(this, [&] { Menu_View_ShowZClick(checked); }); });
  ConnectCommands();
  // The selection's popups (of nodes, and of polygons) offer the shaping commands of the Edit menu.
  for (QMenu* popup : {viewportPopups_->SelectedPopup(), viewportPopups_->DefaultPopup()}) {
    QMenu* shape = popup->addMenu(QStringLiteral("S&hape"));
    shape->setObjectName(popup == viewportPopups_->SelectedPopup() ? QStringLiteral("SelectedPopup_Shape")
                                                                   : QStringLiteral("DefaultPopup_Shape"));
    shape->addActions(
        {menus_.Edit_Triangulate, menus_.Edit_Simplify, menus_.Edit_Smooth, menus_.Edit_Subdivide});
    if (popup == viewportPopups_->SelectedPopup()) continue;
    // Without nodes selected, only a selection of polygons has something to shape.
    connect(popup, &QMenu::aboutToShow, shape,
            [this, shape] { shape->menuAction()->setVisible(editor_.State.SelectedPolygonCount() > 0); });
  }
  ConnectViewToggles();
  ConnectToolWindows();

  settings_.LoadSettings();
  PlaceView3D();
  sculptTool_->SetBrush(settings_.Brush);
  brushPanel_->ShowBrush(sculptTool_->Brush());
  // The display flags start as TViewFlags and the menu items were made to match; ShowZ is a
  // project value and starts on.
  UpdateTitle();
  editor_.History.ClearHistory();
  editor_.History.Publish(TChangeSet::Rebuilt());
  menus_.Tools_ClearBackgroundImage->setEnabled(renderer_.HasBackgroundImage());
}

TMainForm::~TMainForm() {
  // The sculpt and region tools watch the whole application; the menus and views they read are
  // torn down next.
  qApp->removeEventFilter(sculptTool_);
  qApp->removeEventFilter(regionTool_);
  // The dock hides while the widgets are torn down; by then this is no main window any more.
  view3d_->disconnect(this);
  brushPanel_->disconnect(this);
  view3d_->StoreSettings(settings_.View3D);
  settings_.Brush = sculptTool_->Brush();
  RunCommand(nullptr, [this] { settings_.SaveSettings(); });
  editor_.SetHost(detachedHost);
}

template <typename TWindow, typename... TArguments>
TWindow* TMainForm::MakeToolWindow(TToolWindowPlace place, TArguments&&... arguments) {
  auto window = std::make_unique<TWindow>(std::forward<TArguments>(arguments)...);
  TWindow* made = window.get();
  owned_->Windows.push_back(std::move(window));
  if (place == TToolWindowPlace::AboveMain) made->setParent(this, made->windowFlags());
  if (place != TToolWindowPlace::PopUp) TWindowPlacement::Keep(made);
  return made;
}

void TMainForm::CreateToolWindows() {
  // The dialogs and the log stay above the main window (and go with it); the properties window
  // stays on top by itself and keeps its own activation, so that leaving it commits a typed value.
  // Each comes back where the user left it. The drop-down is a pop-up of its own.
  using enum TToolWindowPlace;
  TToolWindows& w = tools_;
  w.DropDown = MakeToolWindow<TDropDownForm>(PopUp);
  w.Properties = MakeToolWindow<TPropertiesForm>(OnTop, editor_, *w.DropDown);
  w.Log = MakeToolWindow<TLogForm>(AboveMain);
  w.OptionsIE = MakeToolWindow<TOptionsIEForm>(AboveMain);
  w.FormatIE = MakeToolWindow<TFormatIEForm>(AboveMain, editor_, host_, *this, *w.OptionsIE);
  w.About = MakeToolWindow<TAboutForm>(AboveMain);
  w.BackgroundImage = MakeToolWindow<TBackgroundImageForm>(AboveMain, renderer_);
  w.TextureReport = MakeToolWindow<TTextureReportForm>(AboveMain, editor_);
  w.Welcome = MakeToolWindow<TWelcomeForm>(AboveMain, menus_, settings_, *this);
}

void TMainForm::ConnectToolWindows() {
  connect(tools_.Log, &TLogForm::VisibilityChanged, menus_.View_ShowLog, &QAction::setChecked);
  // The menu item is checked and the tool button down exactly while the window shows.
  connect(tools_.Properties, &TPropertiesForm::VisibilityChanged, this, [this](bool visible) {
    menus_.View_ShowProperties->setChecked(visible);
    menus_.Tool_Properties->setChecked(visible);
  });
  // Delete belongs to the properties window while it is active.
  connect(tools_.Properties, &TPropertiesForm::ActiveChanged, this, [this](bool active) {
    menus_.Edit_Remove->setShortcut(active ? QKeySequence() : QKeySequence(Qt::Key_Delete));
  });
  // Switching to another program closes the group drop-down.
  connect(qApp, &QGuiApplication::applicationStateChanged, tools_.DropDown, [drop = tools_.DropDown](auto state) {
    if (state != Qt::ApplicationActive) drop->close();
  });
}

void TMainForm::CreateView3D() {
  view3d_ = new TView3DDock(editor_, host_,
                            TView3DControls{menus_.View_ShowProperties, [this] { viewportInput_->FollowSelection(); },
                                            [this](QPoint at) {
                                              editCommands_->ContextPoint = at;
                                              viewportPopups_->Open(viewportPopups_->PopupForSelection(), at);
                                            }},
                            this);
  addDockWidget(Qt::RightDockWidgetArea, view3d_);
  view3d_->hide();
  // The menu item is checked and the tool button down exactly while the dock shows.
  for (QAction* toggle : {menus_.View_Show3D, menus_.Tool_View3D}) {
    connect(toggle, &QAction::triggered, view3d_, [this](bool on) {
      view3d_->setVisible(on);
      if (on) view3d_->raise();
    });
  }
  connect(view3d_, &TView3DDock::VisibilityChanged, this, [this](bool visible) {
    menus_.View_Show3D->setChecked(visible);
    menus_.Tool_View3D->setChecked(visible);
  });
}

void TMainForm::CreateBrushPanel() {
  brushPanel_ = new TBrushPanel(this);
  // Floating at first, so that it never narrows the views; the user may dock it.
  addDockWidget(Qt::LeftDockWidgetArea, brushPanel_);
  brushPanel_->setFloating(true);
  brushPanel_->hide();
  connect(brushPanel_, &TBrushPanel::BrushEdited, this, [this](const TSculptBrush& brush) { sculptTool_->SetBrush(brush); });
  sculptTool_->BrushKeyed = [this](const TSculptBrush& brush) { brushPanel_->ShowBrush(brush); };
  connect(menus_.Edit_SculptBrush, &QAction::triggered, brushPanel_, [this](bool on) {
    brushPanel_->setVisible(on);
    if (on) brushPanel_->raise();
  });
  connect(brushPanel_, &TBrushPanel::VisibilityChanged, menus_.Edit_SculptBrush, &QAction::setChecked);
}

void TMainForm::PlaceView3D() {
  const TView3DSettings& s = settings_.View3D;
  addDockWidget(static_cast<Qt::DockWidgetArea>(s.Area), view3d_);
  view3d_->setFloating(s.Floating);
  view3d_->LoadSettings(s);
  view3d_->setVisible(s.Visible);
  if (s.Width > 0 && !s.Floating) resizeDocks({view3d_}, {s.Width}, Qt::Horizontal);
}

TViewportWidget* TMainForm::Viewport() const {
  return clientPanel_ != nullptr ? clientPanel_->Viewport() : nullptr;
}

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_) return;
  shown_ = true;
  FirstShow();
}

void TMainForm::FirstShow() {
  if (settings_.ShowWelcomeDialog && startupArgument_.isEmpty()) {
    QTimer::singleShot(1, this, [this] { tools_.Welcome->exec(); });
  }
  UpdateExportAgain();
  menus_.View_Toolbar->setChecked(toolBar_->isVisibleTo(this));
  menus_.View_StatusBar->setChecked(statusPanels_->isVisibleTo(this));
  menus_.View_GradientPanel->setChecked(gradientPanel_->isVisibleTo(this));
  menus_.View_ShowPosition->setChecked(renderer_.Flags.ShowPosition);
  menus_.View_ShowScale->setChecked(renderer_.Flags.ShowScale);
  // A file that fails to read shows its error; the window goes on with what was read.
  RunCommand(this, [this] {
    // The title and the recent files hold full paths, also for a name relative to the working folder.
    if (!startupArgument_.isEmpty() && QFileInfo::exists(startupArgument_)) {
      OpenProjectFile(QFileInfo(startupArgument_).absoluteFilePath());
    } else {
      NewProject(true);
    }
  });
  focusButton_->setFocus();
}

void TMainForm::closeEvent(QCloseEvent* event) {
  bool abort = true;
  RunCommand(this, [&] { abort = ConfirmDiscard(); });
  if (abort) {
    event->ignore();
    return;
  }
  LogLine(QStringLiteral("LOG: File Exit"));
  event->accept();
  emit Closed();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == focusButton_ && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
    renderer_.Flags.ViewportFocused = event->type() == QEvent::FocusIn;
    RunCommand(this, [this] { Viewport()->Redraw(false); });
  }
  return QMainWindow::eventFilter(watched, event);
}

void TMainForm::LogLine(const QString& line) {
  tools_.Log->AppendLine(line);
}

// What the window shows of the document

void TMainForm::Changed(const TChangeSet& changes) {
  if (changes.Modified || changes.Everything) SetModified(editor_.Modified());
  if (changes.Everything) {
    ShowProjectValues();
    return;
  }
  for (TUnitField field : {TUnitField::MinZ, TUnitField::MaxZ, TUnitField::PgInc}) {
    if (changes.HasUnitField(field)) ShowUnitValue(field);
  }
}

void TMainForm::SetModified(bool modified) {
  if (modified == modified_) return;
  modified_ = modified;
  UpdateTitle();
}

void TMainForm::ShowProjectValues() {
  for (TUnitField field : {TUnitField::MinZ, TUnitField::MaxZ, TUnitField::PgInc}) ShowUnitValue(field);
  gradientPanel_->SetShowZ(editor_.View.ShowZ);
  menus_.View_ShowZ->setChecked(editor_.View.ShowZ);
}

void TMainForm::ShowUnitValue(TUnitField field) {
  const TProjectValues& values = editor_.Values;
  const float value = field == TUnitField::MinZ   ? values.MinZ
                      : field == TUnitField::MaxZ ? values.MaxZ
                                                  : values.PgInc;
  gradientPanel_->ShowUnit(field, value);
}


}  // namespace terravel
