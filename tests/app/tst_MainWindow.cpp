// The main window as the user meets it: start-up, title, log window, shortcuts, messages and errors.
#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <QTest>

#include "AppTestSupport.h"
#include "app/StatusPanels.h"
#include "app/ViewportWidget.h"
#include "app/WebPage.h"
#include "model/actions/Requests.h"
#include "model/core/Version.h"
#include "model/project/NewProject.h"
#include "support/TempDir.h"
#include "support/TestRegistry.h"

using namespace terravel;
using namespace terravel::test;

namespace {

QString Panel(TMainForm& main, TStatusPanels::TPanel panel) {
  return main.StatusPanels()->PanelText(panel);
}

void CollectActions(const QList<QAction*>& actions, QList<QAction*>& into) {
  for (QAction* action : actions) {
    into.append(action);
    if (action->menu() != nullptr) CollectActions(action->menu()->actions(), into);
  }
}

}  // namespace

class TestMainWindow : public QObject {
  Q_OBJECT
 private slots:
  void init() { ClearSettingsStore(); }

  void startsWithTheTriangleProject() {
    auto windows = StartWindows();
    TMainForm& main = windows->Main();
    QCOMPARE(main.windowTitle(), QStringLiteral("untitled.tvp - Terravel"));
    QCOMPARE(main.Editor().Nodes.Count(), 3);
    QCOMPARE(main.Editor().Polygons.Count(), 1);
    QCOMPARE(Panel(main, TStatusPanels::kModifiedPanel), QString());
    QCOMPARE(Panel(main, TStatusPanels::kGridPanel), QStringLiteral("Grid: 64 units"));
    QVERIFY(main.Menus().Edit_Snap->isChecked());
    QVERIFY(main.Menus().View_Toolbar->isChecked());
    QVERIFY(windows->Tools().Log->Text().endsWith(QStringLiteral("\nLOG: File New Project")));
    // Only the main window is shown; the viewport fills its panel and the buffers follow it.
    for (QWidget* tool :
         QList<QWidget*>{windows->Tools().Log, windows->Tools().Welcome, windows->Tools().About}) {
      QVERIFY(!tool->isVisible());
    }
    QCOMPARE(main.Renderer().BackBuffer().size(), main.Viewport()->size());
  }

  void titleFollowsFileNameAndModifiedFlag_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<QString>("title");
    QTest::newRow("untitled") << QString() << false << "untitled.tvp - Terravel";
    QTest::newRow("untitled modified") << QString() << true << "untitled.tvp* - Terravel";
    QTest::newRow("named") << "/maps/dune.tvp" << false << "/maps/dune.tvp - Terravel";
    QTest::newRow("named modified") << "/maps/dune.tvp" << true << "/maps/dune.tvp* - Terravel";
  }
  void titleFollowsFileNameAndModifiedFlag() {
    QFETCH(QString, fileName);
    QFETCH(bool, modified);
    QFETCH(QString, title);
    auto windows = StartWindows();
    TMainForm& main = windows->Main();
    main.SetFileName(fileName);
    main.Host().SetModified(modified);
    QCOMPARE(main.windowTitle(), title);
    QCOMPARE(Panel(main, TStatusPanels::kModifiedPanel), modified ? QStringLiteral("Modified") : QString());
  }

  void showLogFollowsTheLogWindow() {
    auto windows = StartWindows();
    QAction* showLog = windows->Main().Menus().View_ShowLog;
    showLog->trigger();
    QVERIFY(windows->Tools().Log->isVisible());
    QVERIFY(showLog->isChecked());
    windows->Tools().Log->close();  // its close box
    QVERIFY(!showLog->isChecked());
    const QStringList lines = windows->Tools().Log->Text().split(QLatin1Char('\n'));
    QCOMPARE(lines.mid(0, 5), (QStringList{QString(40, QLatin1Char('-')), "Terravel",
                                           QStringLiteral("Version ") + QLatin1String(kTerravelVersion),
                                           QString(40, QLatin1Char('-')), QString(40, QLatin1Char('-'))}));
  }

  void closingAsksAndLogsTheExit() {
    TDialogAnswers dialogs;
    auto windows = StartWindows();
    TMainForm& main = windows->Main();
    main.Host().SetModified(true);
    dialogs.Answers = {QMessageBox::Cancel, QMessageBox::No};
    QVERIFY(!main.close());
    QVERIFY(main.isVisible());
    QVERIFY(main.close());
    QCOMPARE(dialogs.Messages.size(), size_t(2));
    QVERIFY(windows->Tools().Log->Text().endsWith(QStringLiteral("\nLOG: File Exit")));
  }

  void aFailingCommandShowsItsErrorAndTheProgramGoesOn() {
    TTempFolder folder;
    TDialogAnswers dialogs;
    auto windows = StartWindows();
    TMainForm& main = windows->Main();
    main.Menus().Edit_SelectAll_All->trigger();
    QVERIFY(main.Modified() == false);
    main.Host().SetModified(true);
    dialogs.SaveName = QString::fromStdString(folder.Path("missing/folder/p.tvp"));
    main.Menus().Project_SaveAs->trigger();
    QCOMPARE(dialogs.Messages.size(), size_t(1));
    QCOMPARE(dialogs.Messages[0].Caption, QStringLiteral("Error"));
    QCOMPARE(dialogs.Messages[0].Icon, QMessageBox::Critical);
    QVERIFY(dialogs.Messages[0].Text.contains(QStringLiteral("p.tvp")));
    QVERIFY(main.Modified());
    // The next command works as usual.
    dialogs.SaveName = QString::fromStdString(folder.Path("p.tvp"));
    main.Menus().Project_SaveAs->trigger();
    QCOMPARE(dialogs.Messages.size(), size_t(1));
    QVERIFY(!main.Modified());
    QCOMPARE(main.windowTitle(), dialogs.SaveName + QStringLiteral(" - Terravel"));
  }

  void printSaysNotYetImplemented() {
    TDialogAnswers dialogs;
    auto windows = StartWindows();
    TMainForm& main = windows->Main();
    main.Menus().Project_Print->trigger();
    QCOMPARE(dialogs.Messages.size(), size_t(1));
    QCOMPARE(dialogs.Messages[0].Caption, QStringLiteral("Information"));
    QCOMPARE(dialogs.Messages[0].Icon, QMessageBox::Information);
    QCOMPARE(dialogs.Messages[0].Text, QStringLiteral("Not yet implemented:\r\rPrint\r\rNeed this "
                                                      "feature? Please contact the author via e-mail!"));
    QVERIFY(windows->Tools().Log->Text().endsWith(QStringLiteral("\nLOG: File Print")));
  }

  void visibleShortcutsAreUnique() {
    auto windows = StartWindows(QString(), false);
    QList<QAction*> actions;
    CollectActions(windows->Main().menuBar()->actions(), actions);
    QSet<QKeySequence> seen;
    int withShortcut = 0;
    for (QAction* action : actions) {
      if (action->shortcut().isEmpty() || !action->isVisible()) continue;
      ++withShortcut;
      QVERIFY2(!seen.contains(action->shortcut()), qPrintable(action->shortcut().toString()));
      seen.insert(action->shortcut());
    }
    QCOMPARE(withShortcut, 22);  // 20 of the classic menus, F3 for the 3-D view, Ctrl+J for sculpting
  }


  // The sculpt mode: a stroke over the viewport is one history entry; a key in the middle of a
  // stroke ends it first (Ctrl+Z takes the stroke back, not the step before it); Escape leaves the mode.
  void sculptStrokeIsOneStep() {
    auto windows = StartWindows(QString(), true);
    TMainForm& main = windows->Main();
    NewMesh(main.Editor(), 16);
    main.Editor().Values.Zoom = 0.5f;
    const TMainMenus& menus = main.Menus();
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    DoSelectAll(main.Editor(), true, false);
    DoSetPgInc(main.Editor(), 32);
    menus.Edit_Sculpt->trigger();
    QVERIFY(menus.Edit_Sculpt->isChecked());
    QWidget* viewport = main.Viewport();
    const QPoint middle = viewport->rect().center();
    const THistory& history = main.Editor().History;
    const auto pressAndMove = [&] {
      QTest::mousePress(viewport, Qt::LeftButton, {}, middle);
      QMouseEvent move(QEvent::MouseMove, QPointF(middle + QPoint(20, 0)), viewport->mapToGlobal(QPointF(middle)),
                       Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
      QApplication::sendEvent(viewport, &move);
    };
    pressAndMove();
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, middle + QPoint(20, 0));
    QCOMPARE(history.UndoCount(), 3);
    QVERIFY(QString::fromStdString(history.UndoDescription()).startsWith("Sculpt "));
    const std::string firstStroke = history.UndoDescription();
    pressAndMove();
    QTest::keyClick(&main, Qt::Key_Z, Qt::ControlModifier);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, middle + QPoint(20, 0));
    QCOMPARE(history.UndoCount(), 3);
    QCOMPARE(history.UndoDescription(), firstStroke);
    QVERIFY(QString::fromStdString(history.RedoDescription()).startsWith("Sculpt "));
    QCOMPARE(main.Editor().Values.PgInc, 32.f);
    QTest::keyClick(&main, Qt::Key_Escape);
    QVERIFY(!menus.Edit_Sculpt->isChecked());
  }

  void webPageCommandLine_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<QStringList>("expected");
    const QString url = QStringLiteral("/opt/my terravel/guide/index.html#q3");
    QTest::newRow("browser") << "xdg-open %1" << QStringList{"xdg-open", url};
    QTest::newRow("first %1 only") << "browser --url=%1 %1" << QStringList{"browser", "--url=" + url, "%1"};
    QTest::newRow("no placeholder") << "browser --new" << QStringList{"browser", "--new"};
    QTest::newRow("no command") << "" << QStringList{url};
  }
  void webPageCommandLine() {
    QFETCH(QString, command);
    QFETCH(QStringList, expected);
    QCOMPARE(WebPageCommandLine(command, QStringLiteral("/opt/my terravel/guide/index.html#q3")), expected);
    QCOMPARE(ManualPage(QStringLiteral("/opt/my terravel"), 3),
             QStringLiteral("/opt/my terravel/guide/index.html#q3"));
  }
};

TERRAVEL_TEST(TestMainWindow)
#include "tst_MainWindow.moc"
