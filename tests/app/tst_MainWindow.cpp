// The main window as the user meets it: start-up, title, log window, shortcuts, messages and errors.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QSet>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <vector>

#include "AppTestSupport.h"
#include "app/BrushPanel.h"
#include "app/SculptTool.h"
#include "app/StatusPanels.h"
#include "app/ViewportWidget.h"
#include "app/WebPage.h"
#include "model/actions/Requests.h"
#include "model/core/Version.h"
#include "model/project/NewProject.h"
#include "support/SelectionText.h"
#include "support/TempDir.h"
#include "support/TestRegistry.h"

using namespace terravel;
using namespace terravel::test;

namespace {

QString Panel(TMainForm& main, TStatusPanels::TPanel panel) {
  return main.StatusPanels()->PanelText(panel);
}

// A move of the pointer over the widget with the left button held.
void DragTo(QWidget* widget, QPoint at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QMouseEvent move(QEvent::MouseMove, QPointF(at), widget->mapToGlobal(QPointF(at)), Qt::NoButton,
                   Qt::LeftButton, modifiers);
  QApplication::sendEvent(widget, &move);
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
    if (modified) main.Editor().MarkModified();  // the windows hear it from the change set
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
    main.SetModified(true);
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
    main.SetModified(true);
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
    // 20 of the classic menus, F3 for the 3-D view, Ctrl+J for sculpting, Ctrl+Shift+A selects none
    QCOMPARE(withShortcut, 23);
  }


  // The sculpt mode: a stroke over the viewport is one history entry; a key in the middle of a
  // stroke ends it first (Ctrl+Z takes the stroke back, not the step before it); Escape leaves the mode.
  void sculptStrokeIsOneStep() {
    auto windows = StartWindows(QString(), true);
    TMainForm& main = windows->Main();
    NewMesh(main.Editor(), 16);
    main.Editor().View.Zoom = 0.5f;
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

  // The same stroke drawn with 4 pointer moves and with 40 leaves the same heights.
  void sculptStrokeFollowsThePath() {
    auto windows = StartWindows(QString(), true);
    TMainForm& main = windows->Main();
    main.Menus().Edit_Sculpt->trigger();
    QWidget* viewport = main.Viewport();
    const QPoint start = viewport->rect().center() - QPoint(40, 0);
    std::vector<std::vector<float>> heights;
    for (const int moves : {4, 40}) {
      NewMesh(main.Editor(), 16);
      main.Editor().View.Zoom = 0.1f;
      QTest::mousePress(viewport, Qt::LeftButton, {}, start);
      for (int k = 1; k <= moves; ++k) DragTo(viewport, start + QPoint(80 * k / moves, 0));
      QTest::mouseRelease(viewport, Qt::LeftButton, {}, start + QPoint(80, 0));
      heights.emplace_back();
      for (const T3DCoord& node : main.Editor().Nodes) heights.back().push_back(node.Z);
    }
    QVERIFY(*std::max_element(heights[0].begin(), heights[0].end()) > 0);
    for (std::size_t i = 0; i < heights[0].size(); ++i)
      QVERIFY(std::fabs(heights[0][i] - heights[1][i]) <= 0.01f * std::fabs(heights[0][i]) + 1e-3f);
  }

  // The brush panel comes with the sculpt mode and follows [ and ] (Shift: the strength), within
  // the range; Ctrl held inverts a stroke; the panel's values set the brush and outlive the window.
  void brushPanelKeysAndCtrl() {
    {
      TDialogAnswers dialogs;
      dialogs.Answers = {QMessageBox::No};  // the stroke is not saved
      auto windows = StartWindows();
      TMainForm& main = windows->Main();
      const TSculptTool& tool = *main.SculptTool();
      TBrushPanel* panel = main.BrushPanel();
      QVERIFY(!panel->isVisible());
      main.Menus().Edit_Sculpt->trigger();
      QVERIFY(panel->isVisible() && main.Menus().Edit_SculptBrush->isChecked());
      auto* radius = panel->findChild<QDoubleSpinBox*>(QStringLiteral("BrushRadius"));
      auto* strength = panel->findChild<QDoubleSpinBox*>(QStringLiteral("BrushStrength"));
      const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        float radius, strength;
      } steps[] = {{Qt::Key_BracketRight, {}, 640, 16},         {Qt::Key_BracketLeft, {}, 512, 16},
                   {Qt::Key_BracketLeft, {}, 410, 16},          {Qt::Key_BracketRight, Qt::ShiftModifier, 410, 20},
                   {Qt::Key_BraceLeft, Qt::ShiftModifier, 410, 16}};
      for (const auto& step : steps) {
        QTest::keyClick(main.ViewportFocusButton(), step.key, step.modifiers);
        QCOMPARE(tool.Brush().Radius, step.radius);
        QCOMPARE(tool.Brush().Strength, step.strength);
        QCOMPARE(radius->value(), double(step.radius));
        QCOMPARE(strength->value(), double(step.strength));
      }
      radius->setValue(1);
      QTest::keyClick(main.ViewportFocusButton(), Qt::Key_BracketLeft);
      QCOMPARE(tool.Brush().Radius, 1.f);
      radius->setValue(600);
      panel->findChild<QComboBox*>(QStringLiteral("BrushMode"))->setCurrentIndex(int(TSculptMode::Lower));
      // A lowering stroke with Ctrl held raises.
      NewMesh(main.Editor(), 16);
      main.Editor().View.Zoom = 0.5f;
      QWidget* viewport = main.Viewport();
      const QPoint middle = viewport->rect().center();
      QTest::mousePress(viewport, Qt::LeftButton, Qt::ControlModifier, middle);
      DragTo(viewport, middle + QPoint(20, 0), Qt::ControlModifier);
      QTest::mouseRelease(viewport, Qt::LeftButton, Qt::ControlModifier, middle + QPoint(20, 0));
      std::vector<float> heights;
      for (const T3DCoord& node : main.Editor().Nodes) heights.push_back(node.Z);
      QVERIFY(*std::min_element(heights.begin(), heights.end()) == 0);
      QVERIFY(*std::max_element(heights.begin(), heights.end()) > 0);
      QVERIFY(main.close());
    }
    auto windows = StartWindows();
    QCOMPARE(windows->Main().SculptTool()->Brush().Mode, TSculptMode::Lower);
    QCOMPARE(windows->Main().BrushPanel()->Brush().Radius, 600.f);
  }

  // Select none clears the selection; a rectangle in the region mode selects what is inside, with
  // Ctrl adding, one step each.
  void selectNoneAndRegion() {
    auto windows = StartWindows(QString(), true);
    TMainForm& main = windows->Main();
    TEditor& editor = main.Editor();
    NewMesh(editor, 16);
    editor.View.Zoom = 0.1f;
    editor.View.PanX = editor.View.PanY = 0;
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    DoSelectAll(editor, true, true);
    QTest::keyClick(&main, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(SelectionText(editor), QString());
    main.Menus().Edit_SelectRegion->trigger();
    QWidget* viewport = main.Viewport();
    const QPoint middle = viewport->rect().center();
    const auto drag = [&](QPoint from, QPoint to, Qt::KeyboardModifiers modifiers) {
      QTest::mousePress(viewport, Qt::LeftButton, modifiers, from);
      DragTo(viewport, (from + to) / 2, modifiers);
      DragTo(viewport, to, modifiers);
      QTest::mouseRelease(viewport, Qt::LeftButton, modifiers, to);
    };
    // 256 units are 25.6 pixels: a square of 30 pixels about the middle holds its node only.
    drag(middle - QPoint(15, 15), middle + QPoint(15, 15), Qt::NoModifier);
    QCOMPARE(editor.State.SelectedNodeCount(), 1);
    // To the right, 2 x 3 nodes and the 4 polygons between them join it.
    drag(middle + QPoint(15, -30), middle + QPoint(70, 30), Qt::ControlModifier);
    QCOMPARE(editor.State.SelectedNodeCount(), 1 + 6);
    QCOMPARE(editor.State.SelectedPolygonCount(), 4);
    QCOMPARE(editor.History.UndoCount(), 4);  // select all, none, and the two regions
    QCOMPARE(QString::fromStdString(editor.History.UndoDescription()), QStringLiteral("Select Region"));
    QTest::keyClick(&main, Qt::Key_Escape);
    QVERIFY(!main.Menus().Edit_SelectRegion->isChecked());
  }

  // The popup of a polygon selection offers the Shape submenu too; without a selection it has none.
  void polygonPopupHasShape() {
    auto windows = StartWindows(QString(), false);
    TMainForm& main = windows->Main();
    QMenu* popup = main.findChild<QMenu*>(QStringLiteral("DefaultPopup"));
    QMenu* shape = main.findChild<QMenu*>(QStringLiteral("DefaultPopup_Shape"));
    QVERIFY(popup != nullptr && shape != nullptr);
    QVERIFY(shape->actions().contains(main.Menus().Edit_Subdivide));
    NewMesh(main.Editor(), 2);
    for (const bool selected : {true, false}) {
      DoSelectNothing(main.Editor());
      if (selected) DoSelectPoly(main.Editor(), 0, true);
      emit popup->aboutToShow();
      QCOMPARE(shape->menuAction()->isVisible(), selected);
    }
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
