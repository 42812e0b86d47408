#include "app/WelcomeForm.h"

#include <QAction>
#include <QCheckBox>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "app/AppPictures.h"
#include "app/CommandGuard.h"
#include "app/MainMenus.h"
#include "app/ProjectLifecycle.h"
#include "app/Settings.h"

namespace terravel {

namespace {

constexpr int kPictureWidth = 200;
constexpr int kButtonWidth = 280;

QLabel* CenteredLabel(const char* text, QWidget* parent) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setAlignment(Qt::AlignHCenter);
  return label;
}

QPushButton* WideButton(const char* name, const char* caption, QWidget* parent) {
  auto* button = new QPushButton(QString::fromLatin1(caption), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setMinimumWidth(kButtonWidth);
  button->setAutoDefault(false);
  return button;
}

}  // namespace

TWelcomeForm::TWelcomeForm(const TMainMenus& menus, TSettings& settings, TProjectLifecycle& project)
    : QDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint),
      menus_(menus),
      settings_(settings),
      project_(project) {
  setObjectName(QStringLiteral("WelcomeForm"));
  setWindowTitle(QStringLiteral("Welcome to Terravel!"));

  auto* picture = new QLabel(this);
  picture->setObjectName(QStringLiteral("PicturePanel"));
  picture->setAutoFillBackground(true);
  QPalette white = picture->palette();
  white.setColor(QPalette::Window, Qt::white);
  picture->setPalette(white);
  picture->setFixedWidth(kPictureWidth);
  picture->setAlignment(Qt::AlignCenter);

  auto* title = CenteredLabel("Welcome to Terravel!", this);
  QFont titleFont = title->font();
  titleFont.setBold(true);
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.8);
  title->setFont(titleFont);

  newButton_ = WideButton("NewProjectButton", "&New Terrain Project...", this);
  openButton_ = WideButton("OpenProjectButton", "&Open Existing Terrain Project...", this);
  manualButton_ = WideButton("GettingStartedButton", "&Getting Started (opens Manual)", this);
  workspaceButton_ = WideButton("WorkspaceButton", "Go to the &Workspace", this);
  dontShow_ = new QCheckBox(QStringLiteral("&Do not show this dialog at startup"), this);
  dontShow_->setObjectName(QStringLiteral("DontShowCheckBox"));

  auto* right = new QVBoxLayout;
  right->setContentsMargins(24, 20, 24, 16);
  right->addStretch(1);
  right->addWidget(title);
  right->addSpacing(12);
  right->addWidget(CenteredLabel("Terravel allows to easily create terrain brushes", this));
  right->addWidget(CenteredLabel("for the \"classic\" Unreal engine.", this));
  right->addSpacing(16);
  right->addWidget(CenteredLabel("Choose one of the following options to begin:", this));
  right->addSpacing(8);
  for (QPushButton* button : {newButton_, openButton_, manualButton_, workspaceButton_}) {
    right->addWidget(button, 0, Qt::AlignHCenter);
  }
  right->addSpacing(16);
  right->addWidget(dontShow_, 0, Qt::AlignHCenter);
  right->addStretch(1);

  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(picture);
  layout->addLayout(right);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  picture->setPixmap(WelcomePicture(QSize(kPictureWidth, layout->sizeHint().height())));

  CreateNewPopup();
  openPopup_ = new QMenu(this);
  openPopup_->setObjectName(QStringLiteral("OpenPopup"));
  openPopup_->setToolTipsVisible(true);
  connect(openPopup_, &QMenu::aboutToShow, this, &TWelcomeForm::FillOpenPopup);

  connect(newButton_, &QPushButton::clicked, this, [this] { ShowPopupBelow(newPopup_, newButton_); });
  connect(openButton_, &QPushButton::clicked, this, [this] { ShowPopupBelow(openPopup_, openButton_); });
  // The manual opens beside the welcome window, which stays.
  connect(manualButton_, &QPushButton::clicked, this, [this] { menus_.Help_Manual->trigger(); });
  connect(workspaceButton_, &QPushButton::clicked, this, &QDialog::reject);
}

void TWelcomeForm::CreateNewPopup() {
  const TMainMenus& m = menus_;
  newPopup_ = new QMenu(this);
  newPopup_->setObjectName(QStringLiteral("NewPopup"));
  const auto add = [this](QMenu* menu, const char* caption, QAction* command) {
    connect(menu->addAction(QString::fromLatin1(caption)), &QAction::triggered, this,
            [this, command] { RunThenClose(command); });
  };
  add(newPopup_, "Single &triangle (three nodes, one polygon)", m.Project_New_Triangle);
  add(newPopup_, "&Blank Project", m.Project_New_Blank);
  QMenu* mesh = newPopup_->addMenu(QStringLiteral("&Mesh (quadratic regular grid)"));
  mesh->setObjectName(QStringLiteral("NewPopup_Mesh"));
  const char* const sizes[] = {"&2 x 2", "&4 x 4", "&8 x 8", "&16 x 16"};
  for (qsizetype i = 0; i < m.Project_New_Mesh.size() && i < 4; ++i)
    add(mesh, sizes[i], m.Project_New_Mesh[i]);
}

void TWelcomeForm::FillOpenPopup() {
  openPopup_->clear();
  connect(openPopup_->addAction(QStringLiteral("&Open other terrain project...")), &QAction::triggered, this,
          &TWelcomeForm::OpenOtherProject);
  const QStringList& recent = settings_.RecentFiles;
  if (!recent.isEmpty()) openPopup_->addSeparator();
  for (qsizetype i = 0; i < recent.size(); ++i) {
    const QString path = recent[i];
    QString name = QFileInfo(path).fileName();
    name.replace(QLatin1Char('&'), QStringLiteral("&&"));  // a file name shows as it is, without a mnemonic
    QAction* entry = openPopup_->addAction(QStringLiteral("%1 %2").arg(i + 1).arg(name));
    entry->setToolTip(path);
    entry->setStatusTip(path);
    connect(entry, &QAction::triggered, this, [this, path] { OpenRecentFile(path); });
  }
}

void TWelcomeForm::ShowPopupBelow(QMenu* popup, QPushButton* button) {
  popup->popup(button->mapToGlobal(QPoint(0, button->height())));
}

void TWelcomeForm::RunThenClose(QAction* command) {
  command->trigger();
  reject();
}

void TWelcomeForm::OpenOtherProject() {
  menus_.Project_Open->trigger();
  // Closes once the project has a file name; a cancelled dialog on an untitled project leaves it open.
  if (!project_.FileName().isEmpty()) reject();
}

void TWelcomeForm::OpenRecentFile(const QString& path) {
  bool discarded = false;
  RunCommand(this, [&] {
    if (project_.ConfirmDiscard()) return;
    discarded = true;
    project_.NewProject(false);
    project_.OpenProjectFile(path);
  });
  // A file that could not be read has shown its error; the window closes all the same.
  if (discarded) reject();
}

void TWelcomeForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  dontShow_->setChecked(!settings_.ShowWelcomeDialog);
  newButton_->setFocus();
}

void TWelcomeForm::done(int result) {
  TSettings& settings = settings_;
  settings.ShowWelcomeDialog = !dontShow_->isChecked();
  RunCommand(this, [&] { settings.SaveSettings(); });
  QDialog::done(result);
}

}  // namespace terravel
