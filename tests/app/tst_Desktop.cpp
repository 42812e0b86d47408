// The editor on the desktop: files dropped on the main window's view (a project opens after the
// save question, an Unreal text file is imported through the warning and the options window,
// anything else is refused) and the program's icon built into it.
#include <QApplication>
#include <QCheckBox>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include "AppTestSupport.h"
#include "app/OptionsIEForm.h"
#include "app/ProgramIcon.h"
#include "app/ViewportWidget.h"
#include "model/actions/Requests.h"
#include "model/project/NewProject.h"
#include "model/projectfile/ProjectFile.h"
#include "support/TempDir.h"
#include "support/TestRegistry.h"

using namespace terravel;
using namespace terravel::test;

namespace {

// A project of 2 x 2 squares saved as name.
QString SavedMesh(const TTempFolder& folder, const std::string& name) {
  TEditor editor;
  NewMesh(editor, 2);
  const std::string path = folder.Path(name);
  SaveProjectFile(editor, path);
  return QString::fromStdString(path);
}

// A map as UnrealEd exports it, with one brush of one triangle.
QString SavedMap(const TTempFolder& folder) {
  const std::string path = folder.Path("map.t3d");
  WriteWholeFile(path,
                 "Begin Map\r\nBegin Actor Class=Brush Name=Brush1\r\n Begin Brush Name=Model1\r\n"
                 "  Begin PolyList\r\n   Begin Polygon\r\n"
                 "    Vertex +00000.000000,+00000.000000,+00064.000000\r\n"
                 "    Vertex +00256.000000,+00000.000000,+00032.000000\r\n"
                 "    Vertex +00256.000000,+00256.000000,+00000.000000\r\n"
                 "   End Polygon\r\n  End PolyList\r\n End Brush\r\nEnd Actor\r\nEnd Map\r\n");
  return QString::fromStdString(path);
}

QMimeData* FileDrag(const QList<QUrl>& urls) {
  auto* data = new QMimeData;
  data->setUrls(urls);
  return data;
}

// Drags the urls over the view and drops them there when the window takes them; true when it did.
bool DropOnView(TMainForm& main, const QList<QUrl>& urls) {
  const std::unique_ptr<QMimeData> data(FileDrag(urls));
  QWidget* view = main.Viewport();
  const QPoint at = view->rect().center();
  QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(view, &enter);
  if (!enter.isAccepted()) return false;
  QDropEvent drop(QPointF(at), Qt::CopyAction | Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(view, &drop);
  // The dropped file is taken up once the drop itself has ended.
  QTest::qWait(20);
  return drop.isAccepted();
}

// Confirms the options window (import into a new project) once it opens.
void ConfirmOptionsWhenShown(QObject* context) {
  auto* timer = new QTimer(context);
  QObject::connect(timer, &QTimer::timeout, context, [timer] {
    auto* options = qobject_cast<TOptionsIEForm*>(QApplication::activeModalWidget());
    if (options == nullptr || !options->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    options->EmptyCheck()->setChecked(true);
    options->OkButton()->click();
  });
  timer->start(5);
}

}  // namespace

class TestDesktop : public QObject {
  Q_OBJECT
 private slots:
  void init() { ClearSettingsStore(); }

  // The icon lives in the static app library, which the linker drops unless asked to keep it.
  void programIconIsBuiltIn() {
    const QList<QSize> sizes = ProgramIcon().availableSizes();
    QVERIFY(sizes.contains(QSize(48, 48)));
    QVERIFY(sizes.contains(QSize(256, 256)));
  }

  void projectOpensAsOpenDoes() {
    TTempFolder folder;
    TDialogAnswers dialogs;
    const QString path = SavedMesh(folder, "mesh.tvp");
    auto windows = StartWindows();
    TMainForm& main = windows->Main();
    DoSetMinZ(main.Editor(), -64);
    dialogs.Answers = {QMessageBox::No};

    QVERIFY(DropOnView(main, {QUrl::fromLocalFile(path)}));

    QCOMPARE(dialogs.Messages.size(), size_t(1));  // the save question
    QCOMPARE(main.FileName(), path);
    QCOMPARE(main.Editor().Nodes.Count(), 9);
    QVERIFY(!main.Modified());
    QCOMPARE(main.Editor().History.UndoCount(), 0);
    QCOMPARE(main.Settings().RecentFiles.value(0), path);
  }

  void cancelledSaveQuestionChangesNothing() {
    TTempFolder folder;
    TDialogAnswers dialogs;
    const QString path = SavedMesh(folder, "mesh.tvp");
    auto windows = StartWindows();
    TMainForm& main = windows->Main();
    DoSetMinZ(main.Editor(), -64);
    const QString title = main.windowTitle();
    dialogs.Answers = {QMessageBox::Cancel};

    QVERIFY(DropOnView(main, {QUrl::fromLocalFile(path)}));

    QCOMPARE(dialogs.Messages.size(), size_t(1));
    QVERIFY(main.Modified());
    QCOMPARE(main.windowTitle(), title);
    QCOMPARE(main.Editor().Nodes.Count(), 3);
    QCOMPARE(main.Editor().History.UndoCount(), 1);
  }

  void unrealTextIsImported() {
    TTempFolder folder;
    TDialogAnswers dialogs;
    const QString path = SavedMap(folder);
    auto windows = StartWindows();
    TMainForm& main = windows->Main();
    ConfirmOptionsWhenShown(&main);

    QVERIFY(DropOnView(main, {QUrl::fromLocalFile(path)}));

    QCOMPARE(dialogs.Messages.size(), size_t(1));
    QCOMPARE(dialogs.Messages[0].Caption, QStringLiteral("Warning"));
    QVERIFY(dialogs.ExchangeRequests.empty());  // the file is not asked for again
    QCOMPARE(main.Editor().Nodes.Count(), 3);
    QCOMPARE(main.Editor().Polygons.Count(), 1);
    QCOMPARE(main.Editor().Nodes[1].X, 256.0f);
    QVERIFY(main.Modified());
    QVERIFY(main.FileName().isEmpty());
  }

  // Refused while dragged: the pointer shows the drop would do nothing, and nothing changes.
  void otherDropsAreRefused_data() {
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<bool>("remote");
    QTest::newRow("picture") << QStringList{"terrain.png"} << false;
    QTest::newRow("no extension") << QStringList{"mesh"} << false;
    QTest::newRow("two projects") << QStringList{"a.tvp", "b.tvp"} << false;
    QTest::newRow("remote project") << QStringList{"a.tvp"} << true;
  }
  void otherDropsAreRefused() {
    QFETCH(QStringList, names);
    QFETCH(bool, remote);
    TTempFolder folder;
    TDialogAnswers dialogs;
    QList<QUrl> urls;
    for (const QString& name : names) {
      const QString path = SavedMesh(folder, name.toStdString());
      urls << (remote ? QUrl(QStringLiteral("https://maps.example") + path) : QUrl::fromLocalFile(path));
    }
    auto windows = StartWindows();
    TMainForm& main = windows->Main();

    QVERIFY(!DropOnView(main, urls));

    QVERIFY(dialogs.Messages.empty());
    QCOMPARE(main.Editor().Nodes.Count(), 3);
    QVERIFY(main.FileName().isEmpty());
  }
};

TERRAVEL_TEST(TestDesktop)
#include "tst_Desktop.moc"
