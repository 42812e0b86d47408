#include "app/UndoRedoCommands.h"

#include "model/history/ChangeSet.h"

#include <QAction>
#include <QMouseEvent>
#include <QStringList>
#include <QToolButton>

#include "app/CommandGuard.h"
#include "app/HistoryPopup.h"
#include "model/editor/Editor.h"

namespace terravel {

namespace {

// A description inside a menu caption: "&" is the mark of a mnemonic there.
QString CaptionText(const std::string& description) {
  return QString::fromLocal8Bit(description).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

struct TCommandTexts {
  const char* caption;       // nothing to name
  const char* namedCaption;  // %1 is the description
  const char* hint;
  const char* namedHint;
};

constexpr TCommandTexts kUndoTexts{"&Undo", "&Undo: %1", "Undo the last action.", "Undo action: %1."};
constexpr TCommandTexts kRedoTexts{"&Redo", "&Redo: %1", "Redo the last action undone.", "Redo action: %1."};

void ShowCommandState(QAction* action, QToolButton* button, const std::string& description,
                      const TCommandTexts& texts) {
  const bool available = !description.empty();
  action->setEnabled(available);
  action->setText(available ? QString::fromLatin1(texts.namedCaption).arg(CaptionText(description))
                            : QString::fromLatin1(texts.caption));
  if (button == nullptr) return;
  button->setEnabled(available);
  button->setToolTip(available ? QString::fromLatin1(texts.namedHint).arg(QString::fromLocal8Bit(description))
                               : QString::fromLatin1(texts.hint));
}

}  // namespace

TUndoRedoCommands::TUndoRedoCommands(TEditor& editor, THost& host, QWidget* window)
    : QObject(window),
      editor_(editor),
      host_(host),
      window_(window),
      undoAction_(new QAction(QString::fromLatin1(kUndoTexts.caption), this)),
      redoAction_(new QAction(QString::fromLatin1(kRedoTexts.caption), this)) {
  undoAction_->setObjectName(QStringLiteral("Menu_Edit_Undo"));
  undoAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  undoAction_->setShortcutContext(Qt::ApplicationShortcut);
  connect(undoAction_, &QAction::triggered, this, &TUndoRedoCommands::UndoClick);
  redoAction_->setObjectName(QStringLiteral("Menu_Edit_Redo"));
  redoAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Y));
  redoAction_->setShortcutContext(Qt::ApplicationShortcut);
  connect(redoAction_, &QAction::triggered, this, &TUndoRedoCommands::RedoClick);

  undoButton_ = MakeButton("UndoToolButton", "Undo");
  connect(undoButton_, &QToolButton::clicked, this, &TUndoRedoCommands::UndoClick);
  redoButton_ = MakeButton("RedoToolButton", "Redo");
  connect(redoButton_, &QToolButton::clicked, this, &TUndoRedoCommands::RedoClick);

  holdTimer_.setSingleShot(true);
  holdTimer_.setInterval(kHoldMilliseconds);
  connect(&holdTimer_, &QTimer::timeout, this, &TUndoRedoCommands::ShowHistoryPopup);

  RefreshUndoRedo();
}

TUndoRedoCommands::~TUndoRedoCommands() {
  // Without a window nobody else owns the widgets.
  for (QWidget* widget : {static_cast<QWidget*>(undoButton_), static_cast<QWidget*>(redoButton_),
                          static_cast<QWidget*>(popup_)}) {
    if (widget != nullptr && widget->parent() == nullptr) delete widget;
  }
}

QToolButton* TUndoRedoCommands::UndoButton() const {
  return undoButton_;
}

QToolButton* TUndoRedoCommands::RedoButton() const {
  return redoButton_;
}

THistoryPopup* TUndoRedoCommands::HistoryPopup() const {
  return popup_;
}

QToolButton* TUndoRedoCommands::MakeButton(const char* name, const char* caption) {
  auto* button = new QToolButton(window_);
  button->setObjectName(QString::fromLatin1(name));
  button->setText(QString::fromLatin1(caption));
  button->setFixedSize(27, 26);
  button->setAutoRaise(true);
  button->installEventFilter(this);
  return button;
}

void TUndoRedoCommands::Changed(const TChangeSet& changes) {
  if (changes.History || changes.Everything) RefreshUndoRedo();
}

void TUndoRedoCommands::RefreshUndoRedo() {
  const THistory& history = editor_.History;
  ShowCommandState(undoAction_, undoButton_, history.UndoDescription(), kUndoTexts);
  ShowCommandState(redoAction_, redoButton_, history.RedoDescription(), kRedoTexts);
}

void TUndoRedoCommands::UndoClick() {
  RunCommand(window_, [this] {
    editor_.History.UndoLast();
    RefreshUndoRedo();
  });
}

void TUndoRedoCommands::RedoClick() {
  RunCommand(window_, [this] {
    editor_.History.RedoLast();
    RefreshUndoRedo();
  });
}

bool TUndoRedoCommands::eventFilter(QObject* watched, QEvent* event) {
  const bool onUndo = watched == undoButton_, onRedo = watched == redoButton_;
  if (!onUndo && !onRedo) return QObject::eventFilter(watched, event);
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:  // the second press of a double click
      // A disabled button takes no press, so an empty list never pops up.
      if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
          static_cast<QWidget*>(watched)->isEnabled()) {
        popupRedo_ = onRedo;
        holdTimer_.start();
      }
      break;
    case QEvent::MouseButtonRelease:
      if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) holdTimer_.stop();
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

void TUndoRedoCommands::ShowHistoryPopup() {
  holdTimer_.stop();
  RunCommand(window_, [this] {
    QToolButton* button = popupRedo_ ? redoButton_ : undoButton_;
    if (button == nullptr) return;
    const QPoint anchor = button->mapToGlobal(QPoint(0, button->height()));
    // Releases the pressed state of the button, so that letting go of the mouse clicks nothing.
    button->setEnabled(false);
    button->setEnabled(true);
    THistoryPopup* popup = BuildHistoryPopup();
    if (popup->EntryCount() > 0) popup->PopupAt(anchor);
  });
}

THistoryPopup* TUndoRedoCommands::BuildHistoryPopup() {
  if (popup_ == nullptr) {
    popup_ = new THistoryPopup(window_);
    popup_->setObjectName(QStringLiteral("UndoRedoPopupMenu"));
    connect(popup_, &THistoryPopup::EntryChosen, this, &TUndoRedoCommands::ChooseHistoryEntry);
  }
  const THistory& history = editor_.History;
  const int count = popupRedo_ ? history.RedoCount() : history.UndoCount();
  QStringList captions;
  captions.reserve(count);
  for (int i = count - 1; i >= 0; --i) {
    const TAction& action = popupRedo_ ? history.RedoAt(i) : history.UndoAt(i);
    captions.push_back(QString::fromLocal8Bit(action.Description()));
  }
  popup_->SetEntries(captions);
  return popup_;
}

void TUndoRedoCommands::ChooseHistoryEntry(int entry) {
  if (entry >= 0) TakeSteps(popupRedo_, entry + 1);
}

void TUndoRedoCommands::TakeSteps(bool redo, int count) {
  RunCommand(window_, [&] {
    // The steps draw nothing; the end of the suspension draws once, also after a failed step.
    host_.SuspendRedraw();
    try {
      for (int i = 0; i < count; ++i) {
        if (redo) {
          editor_.History.RedoLast();
        } else {
          editor_.History.UndoLast();
        }
      }
    } catch (...) {
      host_.ResumeRedraw();
      throw;
    }
    host_.ResumeRedraw();
    RefreshUndoRedo();
  });
}

}  // namespace terravel
