#include "app/SculptTool.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QFormLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QWidget>

#include "app/CommandGuard.h"
#include "model/document/Host.h"
#include "model/editor/Editor.h"
#include "model/view/ViewTransform.h"

namespace terravel {

namespace {

// A see-through layer over the viewport that draws the brush's circle around the pointer.
class TBrushCircle : public QWidget {
 public:
  TBrushCircle(QWidget* viewport, const TEditor& editor, const TSculptBrush& brush)
      : QWidget(viewport), editor_(editor), brush_(brush) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    hide();
  }
  QPoint Pointer;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(255, 255, 255), 1));
    const double radius = brush_.Radius * editor_.Values.Zoom;
    painter.drawEllipse(QPointF(Pointer), radius, radius);
    painter.setPen(QPen(QColor(0, 0, 0), 1, Qt::DotLine));
    painter.drawEllipse(QPointF(Pointer), radius, radius);
  }

 private:
  const TEditor& editor_;
  const TSculptBrush& brush_;
};

}  // namespace

TSculptTool::TSculptTool(TEditor& editor, QWidget* viewport, QAction* mode)
    : QObject(viewport),
      editor_(editor),
      viewport_(viewport),
      mode_(mode),
      circle_(new TBrushCircle(viewport, editor, Brush)) {
  mode_->setCheckable(true);
  // Escape leaves the mode wherever the main window has the focus; only while the mode is on.
  escape_ = new QShortcut(QKeySequence(Qt::Key_Escape), viewport_->window());
  escape_->setEnabled(false);
  connect(escape_, &QShortcut::activated, this,
          [this] { RunCommand(viewport_->window(), [this] { SetActive(false); }); });
  // On the application, as the viewport input watches, and after it: so this filter comes first.
  qApp->installEventFilter(this);
  viewport_->setMouseTracking(true);
}

TSculptTool::~TSculptTool() = default;

bool TSculptTool::Active() const {
  return mode_->isChecked();
}

void TSculptTool::SetActive(bool active) {
  if (!active) {
    Finish();
    held_ = false;
  }
  mode_->setChecked(active);
  escape_->setEnabled(active);
  circle_->setVisible(active);
  circle_->setGeometry(viewport_->rect());
  viewport_->setCursor(active ? Qt::CrossCursor : Qt::ArrowCursor);
}

void TSculptTool::Dab(QPoint position) {
  // The dab is an action of the stroke's transaction: the windows follow it through the host.
  const TWorldPoint at = ScreenToWorld(editor_, position.x(), position.y());
  stroke_->MoveTo(at.X, at.Y);
}

void TSculptTool::Finish() {
  if (!stroke_) return;
  const std::unique_ptr<TSculptStroke> stroke = std::move(stroke_);
  stroke->End();
}

bool TSculptTool::eventFilter(QObject* watched, QEvent* event) {
  // A key in the middle of a stroke ends it first, so the command the key runs (an undo, a
  // removal) is a step of its own after the stroke; Escape takes the stroke back.
  if (stroke_ && (event->type() == QEvent::ShortcutOverride || event->type() == QEvent::KeyPress)) {
    const bool escape = static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape;
    RunCommand(viewport_->window(), [&] {
      const std::unique_ptr<TSculptStroke> stroke = std::move(stroke_);
      if (escape) {
        stroke->Cancel();
      } else {
        stroke->End();
      }
    });
    return false;
  }
  if (watched != viewport_ || !Active()) return false;
  auto* circle = static_cast<TBrushCircle*>(circle_);
  switch (event->type()) {
    case QEvent::Resize:
      circle_->setGeometry(viewport_->rect());
      return false;
    case QEvent::MouseButtonPress: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::LeftButton) return false;
      held_ = true;
      RunCommand(viewport_->window(), [&] {
        stroke_ = std::make_unique<TSculptStroke>(editor_, Brush);
        Dab(mouse->position().toPoint());
      });
      return true;
    }
    case QEvent::MouseMove: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      circle->Pointer = mouse->position().toPoint();
      circle_->update();
      // A stroke a key ended early leaves the rest of the press to nobody.
      if (!stroke_) return held_;
      RunCommand(viewport_->window(), [&] { Dab(mouse->position().toPoint()); });
      return true;
    }
    case QEvent::MouseButtonRelease: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (mouse->button() != Qt::LeftButton || !held_) return false;
      held_ = false;
      RunCommand(viewport_->window(), [&] { Finish(); });
      return true;
    }
    case QEvent::MouseButtonDblClick:
      return static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton;
    default:
      return false;
  }
}

void TSculptTool::EditBrush(QWidget* window) {
  QDialog dialog(window);
  dialog.setWindowTitle(QStringLiteral("Sculpt brush"));
  auto* form = new QFormLayout(&dialog);
  auto* mode = new QComboBox;
  mode->addItems({QStringLiteral("Raise"), QStringLiteral("Lower"), QStringLiteral("Smooth"),
                  QStringLiteral("Flatten")});
  mode->setCurrentIndex(int(Brush.Mode));
  auto* radius = new QDoubleSpinBox;
  radius->setRange(1, 1e6);
  radius->setDecimals(0);
  radius->setValue(Brush.Radius);
  auto* strength = new QDoubleSpinBox;
  strength->setRange(0, 1e5);
  strength->setDecimals(1);
  strength->setValue(Brush.Strength);
  auto* falloff = new QComboBox;
  falloff->addItems({QStringLiteral("Smooth"), QStringLiteral("Linear"), QStringLiteral("Constant")});
  falloff->setCurrentIndex(int(Brush.Falloff));
  form->addRow(QStringLiteral("&Mode:"), mode);
  form->addRow(QStringLiteral("&Radius:"), radius);
  form->addRow(QStringLiteral("&Strength (height a pass):"), strength);
  form->addRow(QStringLiteral("&Falloff:"), falloff);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  form->addRow(buttons);
  if (dialog.exec() != QDialog::Accepted) return;
  Brush.Mode = TSculptMode(mode->currentIndex());
  Brush.Radius = static_cast<float>(radius->value());
  Brush.Strength = static_cast<float>(strength->value());
  Brush.Falloff = TFalloff(falloff->currentIndex());
}

}  // namespace terravel
