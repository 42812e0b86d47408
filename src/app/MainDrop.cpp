// Files dropped on the main window: a project opens as Open does, an X/Y/Z or Unreal text file
// is imported as Import does. Anything else is refused while it is dragged, so the pointer
// shows that it cannot be dropped.
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

#include "app/AppWindows.h"
#include "app/CommandGuard.h"
#include "app/FormatIEForm.h"
#include "app/MainWindow.h"

namespace terravel {

namespace {

enum class TDropKind { None, Project, Import };

// The one local file a drop carries; empty for several files, for anything that is no file,
// or for a kind of file the window does not take.
QString DroppedFile(const QMimeData* data, TDropKind& kind) {
  kind = TDropKind::None;
  if (data == nullptr || !data->hasUrls()) return {};
  const QList<QUrl> urls = data->urls();
  if (urls.size() != 1 || !urls.constFirst().isLocalFile()) return {};
  const QString path = urls.constFirst().toLocalFile();
  if (QFileInfo(path).suffix().compare(QStringLiteral("tvp"), Qt::CaseInsensitive) == 0) {
    kind = TDropKind::Project;
  } else if (TFormatIEForm::CanImport(path)) {
    kind = TDropKind::Import;
  }
  return kind == TDropKind::None ? QString() : path;
}

// Takes a drag that carries a file the window can open; refuses everything else.
void Answer(QDropEvent* event) {
  TDropKind kind;
  DroppedFile(event->mimeData(), kind);
  if (kind == TDropKind::None) {
    event->ignore();
    return;
  }
  event->setDropAction(Qt::CopyAction);
  event->accept();
}

}  // namespace

void TMainForm::dragEnterEvent(QDragEnterEvent* event) {
  Answer(event);
}

void TMainForm::dragMoveEvent(QDragMoveEvent* event) {
  Answer(event);
}

void TMainForm::dropEvent(QDropEvent* event) {
  TDropKind kind;
  const QString path = DroppedFile(event->mimeData(), kind);
  if (kind == TDropKind::None) {
    event->ignore();
    return;
  }
  event->setDropAction(Qt::CopyAction);
  event->accept();
  // The questions wait until the drop has finished, so that the program the file came from is
  // not kept waiting while they are open.
  QTimer::singleShot(0, this, [this, kind, path] {
    RunCommand(this, [&] {
      if (kind == TDropKind::Project) {
        OpenProjectPath(QFileInfo(path).absoluteFilePath());
      } else {
        tools_.FormatIE->ImportFile(path);
      }
    });
  });
}

}  // namespace terravel
