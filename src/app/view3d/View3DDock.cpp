#include "app/view3d/View3DDock.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/DocumentHost.h"
#include "app/Settings.h"

namespace terravel {

bool OpenGLAvailable(QString& why, bool* software) {
  QSurfaceFormat format;
  format.setVersion(3, 3);
  format.setProfile(QSurfaceFormat::CoreProfile);
  QOpenGLContext context;
  context.setFormat(format);
  if (!context.create()) {
    why = QStringLiteral("The 3-D view needs OpenGL, which cannot be started on this display.");
    return false;
  }
  QOffscreenSurface surface;
  surface.setFormat(context.format());
  surface.create();
  if (!context.makeCurrent(&surface)) {
    why = QStringLiteral("The 3-D view needs OpenGL, which cannot be started on this display.");
    return false;
  }
  const QSurfaceFormat got = context.format();
  // Software rasterisers (Mesa's llvmpipe, softpipe, swrast) pay for every sample of multisampling.
  const auto* renderer = reinterpret_cast<const char*>(context.functions()->glGetString(GL_RENDERER));
  const QString name = QString::fromLatin1(renderer != nullptr ? renderer : "").toLower();
  if (software != nullptr) {
    *software = name.contains(QLatin1String("llvmpipe")) || name.contains(QLatin1String("softpipe")) ||
                name.contains(QLatin1String("swrast")) || name.contains(QLatin1String("software"));
  }
  context.doneCurrent();
  if (got.version() < qMakePair(3, 3)) {
    why = QStringLiteral("The 3-D view needs OpenGL 3.3; this system offers only %1.%2.")
              .arg(got.majorVersion())
              .arg(got.minorVersion());
    return false;
  }
  return true;
}

TView3DDock::TView3DDock(TEditor& editor, TDocumentHost& host, TView3DControls controls, QWidget* parent)
    : QDockWidget(QStringLiteral("3-D view"), parent), editor_(editor), host_(host), controls_(std::move(controls)) {
  setObjectName(QStringLiteral("View3DDock"));
  auto* body = new QWidget(this);
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(2);
  auto* row = new QHBoxLayout;
  frameAll_ = new QToolButton(body);
  auto* frameAll = frameAll_;
  frameAll->setText(QStringLiteral("Frame all"));
  frameAll->setToolTip(QStringLiteral("Show the whole terrain (Home)."));
  frameSelection_ = new QToolButton(body);
  auto* frameSelection = frameSelection_;
  frameSelection->setText(QStringLiteral("Frame selection"));
  frameSelection->setToolTip(QStringLiteral("Show the selection (.)."));
  wireframe_ = new QCheckBox(QStringLiteral("Wireframe"), body);
  exaggeration_ = new QDoubleSpinBox(body);
  exaggeration_->setRange(kMinExaggeration, kMaxExaggeration);
  exaggeration_->setSingleStep(0.5);
  exaggeration_->setDecimals(1);
  exaggeration_->setSuffix(QStringLiteral("x"));
  exaggeration_->setToolTip(QStringLiteral("Vertical exaggeration"));
  row->addWidget(frameAll);
  row->addWidget(frameSelection);
  row->addWidget(wireframe_);
  nodes_ = new QCheckBox(QStringLiteral("Nodes"), body);
  nodes_->setObjectName(QStringLiteral("View3DNodes"));
  nodes_->setToolTip(QStringLiteral("Node dots, where they stand apart"));
  nodes_->setChecked(true);
  row->addWidget(nodes_);
  row->addWidget(new QLabel(QStringLiteral("Height:"), body));
  row->addWidget(exaggeration_);
  row->addStretch(1);
  layout->addLayout(row);
  note_ = new QLabel(body);
  note_->setObjectName(QStringLiteral("View3DNote"));
  note_->setWordWrap(true);
  note_->hide();
  layout->addWidget(note_);
  stack_ = new QStackedWidget(body);
  failure_ = new QLabel(body);
  failure_->setObjectName(QStringLiteral("View3DFailure"));
  failure_->setWordWrap(true);
  failure_->setAlignment(Qt::AlignCenter);
  stack_->addWidget(failure_);
  layout->addWidget(stack_, 1);
  setWidget(body);
  connect(this, &QDockWidget::visibilityChanged, this, [this] { emit VisibilityChanged(isVisible()); });
}

void TView3DDock::showEvent(QShowEvent* event) {
  // OpenGL is tried when the view is first shown, not at every start of the program.
  if (!tried_) {
    tried_ = true;
    CreateView();
  }
  QDockWidget::showEvent(event);
}

void TView3DDock::CreateView() {
  QString why;
  bool software = false;
  if (!OpenGLAvailable(why, &software)) {
    ShowFailure(why);
    for (QWidget* w : std::initializer_list<QWidget*>{frameAll_, frameSelection_, wireframe_, nodes_, exaggeration_})
      w->setEnabled(false);
    return;
  }
  view_ = new TView3DWidget(editor_, controls_, stack_, !software);
  view_->LoadCamera(settings_);
  stack_->addWidget(view_);
  stack_->setCurrentWidget(view_);
  connect(view_, &TView3DWidget::Failed, this, &TView3DDock::ShowFailure);
  const auto showNote = [this](const QString& note) {
    note_->setText(note);
    note_->setVisible(!note.isEmpty());
  };
  connect(view_, &TView3DWidget::NoteChanged, this, showNote);
  showNote(QString::fromLocal8Bit(view_->Scene().Note()));
  connect(frameAll_, &QToolButton::clicked, view_, &TView3DWidget::FrameAll);
  connect(frameSelection_, &QToolButton::clicked, view_, &TView3DWidget::FrameSelection);
  connect(wireframe_, &QCheckBox::toggled, view_, &TView3DWidget::SetWireframe);
  connect(nodes_, &QCheckBox::toggled, view_, &TView3DWidget::SetShowNodes);
  connect(exaggeration_, &QDoubleSpinBox::valueChanged, view_, &TView3DWidget::SetExaggeration);
  host_.Follow(*view_);
}

TView3DDock::~TView3DDock() {
  if (view_ != nullptr) host_.Unfollow(*view_);
}

QString TView3DDock::FailureText() const { return stack_->currentWidget() == failure_ ? failure_->text() : QString(); }

void TView3DDock::ShowFailure(const QString& why) {
  failure_->setText(why);
  stack_->setCurrentWidget(failure_);
  if (view_ != nullptr) {
    host_.Unfollow(*view_);
    view_->hide();
  }
}

void TView3DDock::LoadSettings(const TView3DSettings& settings) {
  settings_ = settings;
  if (view_ != nullptr) view_->LoadCamera(settings);
  wireframe_->setChecked(settings.Wireframe);
  exaggeration_->setValue(settings.Exaggeration);
}

void TView3DDock::StoreSettings(TView3DSettings& settings) const {
  // Asked of the main window: after it closed, the dock is no longer visible itself.
  settings.Visible = isVisibleTo(parentWidget());
  if (!isFloating() && width() > 0) settings.Width = width();
  if (auto* window = qobject_cast<QMainWindow*>(parentWidget()))
    settings.Area = static_cast<int>(window->dockWidgetArea(const_cast<TView3DDock*>(this)));
  settings.Floating = isFloating();
  // A view never shown leaves the camera as it was loaded.
  if (view_ != nullptr) {
    view_->StoreCamera(settings);
  } else {
    settings.Wireframe = wireframe_->isChecked();
    settings.Exaggeration = exaggeration_->value();
  }
}

}  // namespace terravel
