#include "app/Startup.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QLockFile>

#include "app/AppWindows.h"
#include "app/DataPaths.h"
#include "app/ProgramIcon.h"
#include "model/core/Version.h"

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

void DescribeProgram() {
  QCoreApplication::setApplicationName(QStringLiteral("Terravel"));
  QCoreApplication::setOrganizationName(QStringLiteral("Quillstone Software"));
  QCoreApplication::setApplicationVersion(QString::fromLatin1(kTerravelVersion));
}

void DescribeArguments(QCommandLineParser& parser) {
  // Where the program looks for its data, so that a user (and the install check) can see it.
  parser.setApplicationDescription(
      QStringLiteral("Terravel, the editor for triangle-mesh terrain.\n\nExample projects: %1\nManual: %2")
          .arg(QDir::toNativeSeparators(DataFolder(QStringLiteral("examples"))),
               QDir::toNativeSeparators(DataFolder(QStringLiteral("guide")))));
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument(QStringLiteral("file"), QStringLiteral("The project (.tvp) to open."),
                               QStringLiteral("[file]"));
}

// --help and --version answer before the window system is touched, so that they also work
// without a display. Anything else waits for the application, which takes Qt's own options away.
void AnswerInformationOptions(int argc, char** argv) {
  const QCoreApplication probe(argc, argv);
  DescribeProgram();
  QCommandLineParser parser;
  DescribeArguments(parser);
  if (!parser.parse(QCoreApplication::arguments())) return;
  if (parser.isSet(QStringLiteral("help"))) parser.showHelp(0);
  if (parser.isSet(QStringLiteral("version"))) parser.showVersion();
}

}  // namespace

int RunTerravel(int argc, char** argv) {
  AnswerInformationOptions(argc, argv);
  const TInstanceMarker marker;
  QApplication application(argc, argv);
  DescribeProgram();
  QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopId));
  QApplication::setWindowIcon(ProgramIcon());
  // The loop ends with the main window, even while a tool window is still open.
  QApplication::setQuitOnLastWindowClosed(false);
  QCommandLineParser parser;
  DescribeArguments(parser);
  parser.process(application);

  TAppWindows windows;
  TMainForm& main = windows.Main();
  const QStringList files = parser.positionalArguments();
  if (!files.isEmpty()) main.SetStartupArgument(files.constFirst());
  QObject::connect(&main, &TMainForm::Closed, &application, &QCoreApplication::quit, Qt::QueuedConnection);
  main.show();
  return QApplication::exec();
}

}  // namespace terravel
