#include "app/MainWindow.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPrinter>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/AppWindows.h"
#include "app/CommandGuard.h"
#include "app/EditCommands.h"
#include "app/GradientPanel.h"
#include "app/StatusPanels.h"
#include "app/UndoRedoCommands.h"
#include "app/ViewportInput.h"
#include "app/ViewportPopups.h"
#include "app/ViewportWidget.h"
#include "model/view/ViewTransform.h"

namespace terravel {

namespace {
// What the document reports to once the window is going.
TNullHost detachedHost;
}  // namespace

TMainForm::TMainForm() : windows_(std::make_unique<TToolWindows>()) {
  setObjectName(QStringLiteral("MainForm"));
  resize(960, 594);
  setAttribute(Qt::WA_AlwaysShowToolTips);
  setAcceptDrops(true);  // a project or an exchange file dropped on the window (MainDrop.cpp)

  undoRedo_ = new TUndoRedoCommands(editor_, renderer_, this);
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
  statusPanels_ = new TStatusPanels(this);
  setStatusBar(statusPanels_);

  // The viewport cannot take the keyboard focus; this button of no size takes it in its place.
  focusButton_ = new QPushButton(central);
  focusButton_->setObjectName(QStringLiteral("ViewportFocusButton"));
  focusButton_->setGeometry(10, 10, 0, 0);
  focusButton_->setFocusPolicy(Qt::StrongFocus);
  focusButton_->installEventFilter(this);
  focusButton_->setContextMenuPolicy(Qt::PreventContextMenu);

  editCommands_ = new TEditCommands(editor_, this, Viewport());
  viewportPopups_ = new TViewportPopups(editor_, *editCommands_, this, menus_.View_ShowProperties);
  viewportInput_ =
      new TViewportInput(editor_, renderer_, *editCommands_, *viewportPopups_,
                         TViewportControls{this, Viewport(), focusButton_, menus_.View_ShowProperties,
                                           menus_.View_AutoShowProperties});
  Viewport()->SetInput(viewportInput_);

  renderer_.SetPresenter([this] {
    if (TViewportWidget* viewport = Viewport()) viewport->update();
  });
  connect(gradientPanel_, &TGradientPanel::UnitEdited, this, &TMainForm::UnitEdited);
  connect(gradientPanel_, &TGradientPanel::ShowZClicked, this,
          [this](bool checked) { RunCommand(this, [&] { Menu_View_ShowZClick(checked); }); });
  ConnectCommands();
  ConnectViewToggles();

  settings_.LoadSettings();
  // The display flags start as TViewFlags and the menu items were made to match; ShowZ is a
  // project value and starts on.
  ShowProjectValues();
  SetGridStatus(GridStatusText(editor_.Values.GridX));
  UpdateTitle();
  editor_.State.UpdateSelectionStatus();
  editor_.History.ClearHistory();
  RefreshUndoRedo();
  menus_.Tools_ClearBackgroundImage->setEnabled(renderer_.HasBackgroundImage());
}

TMainForm::~TMainForm() {
  RunCommand(nullptr, [this] { settings_.SaveSettings(); });
  editor_.SetHost(detachedHost);
}

void TMainForm::AttachToolWindows(const TToolWindows& windows) {
  if (windows_->Log != nullptr) disconnect(windows_->Log, nullptr, this, nullptr);
  if (windows_->Properties != nullptr) disconnect(windows_->Properties, nullptr, this, nullptr);
  *windows_ = windows;
  viewportInput_->AttachProperties(windows.Properties);
  viewportPopups_->AttachProperties(windows.Properties);
  if (windows.Log != nullptr) {
    connect(windows.Log, &TLogForm::VisibilityChanged, menus_.View_ShowLog, &QAction::setChecked);
  }
  if (windows.Properties != nullptr) {
    // The menu item is checked and the tool button down exactly while the window shows.
    connect(windows.Properties, &TPropertiesForm::VisibilityChanged, this, [this](bool visible) {
      menus_.View_ShowProperties->setChecked(visible);
      menus_.Tool_Properties->setChecked(visible);
    });
    // Delete belongs to the properties window while it is active.
    connect(windows.Properties, &TPropertiesForm::ActiveChanged, this, [this](bool active) {
      menus_.Edit_Remove->setShortcut(active ? QKeySequence() : QKeySequence(Qt::Key_Delete));
    });
  }
  if (windows.DropDown != nullptr) {
    // Switching to another program closes the group drop-down.
    connect(qApp, &QGuiApplication::applicationStateChanged, windows.DropDown,
            [drop = windows.DropDown](auto state) {
              if (state != Qt::ApplicationActive) drop->close();
            });
  }
}

TViewportWidget* TMainForm::Viewport() const {
  return clientPanel_ != nullptr ? clientPanel_->Viewport() : nullptr;
}

TPropertiesForm* TMainForm::PropertiesWindow() const {
  return windows_->Properties;
}

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_) return;
  shown_ = true;
  FirstShow();
}

void TMainForm::FirstShow() {
  if (settings_.ShowWelcomeDialog && startupArgument_.isEmpty() && windows_->Welcome != nullptr) {
    QTimer::singleShot(1, this, [this] {
      if (windows_->Welcome != nullptr) windows_->Welcome->exec();
    });
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
  Log(QStringLiteral("LOG: File Exit"));
  event->accept();
  emit Closed();
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == focusButton_ && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
    renderer_.Flags.ViewportFocused = event->type() == QEvent::FocusIn;
    RunCommand(this, [this] { renderer_.Redraw(false); });
  }
  return QMainWindow::eventFilter(watched, event);
}

void TMainForm::Log(const QString& line) {
  if (windows_->Log != nullptr) windows_->Log->AppendLine(line);
}

// Host notifications

void TMainForm::SetModified(bool modified) {
  if (modified == modified_) return;
  modified_ = modified;
  statusPanels_->SetPanelText(TStatusPanels::kModifiedPanel,
                              modified ? QStringLiteral("Modified") : QString());
  UpdateTitle();
}

void TMainForm::SetSelectionStatus(const std::string& text) {
  statusPanels_->SetPanelText(TStatusPanels::kSelectionPanel, QString::fromLocal8Bit(text));
}

void TMainForm::SetGridStatus(const std::string& text) {
  statusPanels_->SetPanelText(TStatusPanels::kGridPanel, QString::fromLocal8Bit(text));
}

void TMainForm::Redraw(bool full) {
  renderer_.Redraw(full);
}

void TMainForm::SuspendRedraw() {
  renderer_.SuspendRedraw();
}

void TMainForm::ResumeRedraw() {
  renderer_.ResumeRedraw();
}

void TMainForm::RefreshProperties() {
  if (windows_->Properties != nullptr) windows_->Properties->RefreshProperties();
}

void TMainForm::SetPropertyMode(TPropertyMode mode) {
  if (windows_->Properties != nullptr) windows_->Properties->SetPropertyMode(mode);
}

void TMainForm::RefreshLists() {
  if (windows_->Properties != nullptr) windows_->Properties->RefreshLists();
}

void TMainForm::RefreshUndoRedo() {
  if (undoRedo_ != nullptr) undoRedo_->RefreshUndoRedo();
}

void TMainForm::ShowProjectValues() {
  for (TUnitField field : {TUnitField::MinZ, TUnitField::MaxZ, TUnitField::PgInc}) ShowUnitValue(field);
  gradientPanel_->SetShowZ(editor_.Values.ShowZ);
  menus_.View_ShowZ->setChecked(editor_.Values.ShowZ);
}

void TMainForm::ShowUnitValue(TUnitField field) {
  const TProjectValues& values = editor_.Values;
  const float value = field == TUnitField::MinZ   ? values.MinZ
                      : field == TUnitField::MaxZ ? values.MaxZ
                                                  : values.PgInc;
  gradientPanel_->ShowUnit(field, value);
}

void TMainForm::Log(const std::string& line) {
  Log(QString::fromLocal8Bit(line));
}

}  // namespace terravel
