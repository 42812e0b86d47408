#include "app/Startup.h"

#include <QApplication>
#include <QDir>
#include <QLockFile>

#include "app/AppWindows.h"

namespace terravel {

namespace {

// "TerravelMutex": a marker other programs may look for while Terravel runs. A second copy finds
// it taken, ignores that, and runs normally.
class TInstanceMarker {
 public:
  TInstanceMarker() : lock_(QDir::temp().filePath(QStringLiteral("TerravelMutex"))) {
    lock_.setStaleLockTime(0);
    lock_.tryLock(0);
  }

 private:
  QLockFile lock_;
};

}  // namespace

int RunTerravel(int argc, char** argv) {
  const TInstanceMarker marker;
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Terravel"));
  QApplication::setOrganizationName(QStringLiteral("Quillstone Software"));
  // The loop ends with the main window, even while a tool window is still open.
  QApplication::setQuitOnLastWindowClosed(false);

  TAppWindows windows;
  TMainForm& main = windows.Main();
  const QStringList arguments = QApplication::arguments();
  if (arguments.size() > 1) main.SetStartupArgument(arguments.at(1));
  QObject::connect(&main, &TMainForm::Closed, &application, &QCoreApplication::quit, Qt::QueuedConnection);
  main.show();
  return QApplication::exec();
}

}  // namespace terravel
