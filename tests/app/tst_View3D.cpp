// The 3-D view in the main window: its menu item, key and button; a clear sentence where OpenGL
// cannot start; and, where it can (a real display), a click in 3-D selecting what a click in the
// top view selects.
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QToolBar>

#include <cmath>
#include <string>
#include <vector>

#include "AppTestSupport.h"
#include "app/DocumentHost.h"
#include "app/ViewportWidget.h"
#include "app/view3d/View3DDock.h"
#include "model/actions/Requests.h"
#include "model/history/ChangeSet.h"
#include "model/project/NewProject.h"
#include "model/view/ViewTransform.h"
#include "support/SelectionText.h"
#include "support/TestRegistry.h"

using namespace terravel;
using namespace terravel::test;

class TestView3D : public QObject {
  Q_OBJECT
 private slots:
  void init() { ClearSettingsStore(); }
  void cleanup() { ClearSettingsStore(); }

  // Every view is handed each change set, once; a zoom of the top view reaches only the views
  // that take view changes, never the change sets.
  void viewsHearChangeSetsNotTheTopView() {
    struct TFollowing : TDocumentView {
      std::vector<std::string> Heard;
      void Changed(const TChangeSet& changes) override {
        Heard.push_back("moved " + std::to_string(changes.MovedNodes.size()) + (changes.Selection ? " selection" : ""));
      }
    };
    struct TPlain : TDocumentView {
      int Views = 0;
      void ViewChanged(bool) override { ++Views; }
    };
    TDocumentHost host;
    TFollowing following;
    TPlain plain;
    host.Follow(following);
    host.Follow(plain);
    TEditor editor(&host);
    NewMesh(editor, 4);
    QVERIFY(following.Heard.size() == 1);  // a new mesh is told once
    following.Heard.clear();
    plain.Views = 0;
    DoSelectNode(editor, 1, true);
    DoChangeNodeZ(editor, 8);
    ZoomBy(editor, 5);
    QVERIFY(following.Heard == (std::vector<std::string>{"moved 0 selection", "moved 1"}));
    QCOMPARE(plain.Views, 1);
  }

  void menuItemKeyAndButtonShowTheDock() {
    auto windows = StartWindows();
    TMainForm& main = windows->Main();
    QAction* item = main.Menus().View_Show3D;
    QCOMPARE(item->text(), QStringLiteral("Show &3-D view"));
    QCOMPARE(item->shortcut(), QKeySequence(Qt::Key_F3));
    QCOMPARE(main.ToolBar()->actions().last(), main.Menus().Tool_View3D);
    TView3DDock* dock = main.View3D();
    QCOMPARE(dock->windowTitle(), QStringLiteral("3-D view"));
    QVERIFY(!dock->isVisible());
    item->trigger();
    QVERIFY(dock->isVisible());
    QVERIFY(main.Menus().Tool_View3D->isChecked());
    main.Menus().Tool_View3D->trigger();
    QVERIFY(!dock->isVisible());
    QVERIFY(!item->isChecked());
    // Without OpenGL the dock says why in one sentence, and the editor goes on working.
    if (dock->View() == nullptr) {
      const QString why = dock->FailureText();
      QVERIFY(why.startsWith(QStringLiteral("The 3-D view needs OpenGL")) && why.endsWith('.'));
      QVERIFY(why.count('.') == 1 + why.count(QStringLiteral("3.3")));
    }
    main.NewMesh(4);
    QVERIFY(main.Editor().Polygons.Count() > 0);
  }

  // Also after the window was really closed, as Quit closes it before it goes.
  void dockVisibilityIsKept() {
    {
      auto windows = StartWindows();
      windows->Main().Menus().View_Show3D->trigger();
      QVERIFY(windows->Main().close());
    }
    auto windows = StartWindows();
    QVERIFY(windows->Main().View3D()->isVisible());
    QVERIFY(windows->Main().Menus().View_Show3D->isChecked());
  }

  // A node moved to no finite place is named above the view, and the note goes with the undo.
  void nodeAtNoFinitePlaceIsNamed() {
    auto windows = StartWindows();
    TMainForm& main = windows->Main();
    main.Menus().View_Show3D->trigger();
    if (main.View3D()->View() == nullptr) QSKIP("no OpenGL here: the window test runs on a real display");
    main.NewMesh(4);
    TEditor& editor = main.Editor();
    auto* note = main.View3D()->findChild<QLabel*>(QStringLiteral("View3DNote"));
    QVERIFY(note != nullptr && note->isHidden());
    DoSelectNode(editor, 5, true);
    DoSetNodeCoord(editor, TNodeAxis::X, -INFINITY);
    QVERIFY2(note->isVisible() && note->text().contains(QStringLiteral("node 5 (")), qPrintable(note->text()));
    editor.History.UndoLast();
    QVERIFY(note->isHidden());
  }

  void clickSelectsWhatTheTopViewSelects() {
    auto windows = StartWindows();
    TMainForm& main = windows->Main();
    TView3DDock* dock = main.View3D();
    main.Menus().View_Show3D->trigger();
    TView3DWidget* view = dock->View();
    if (view == nullptr) QSKIP("no OpenGL here: the window test runs on a real display");
    main.NewMesh(4);
    TEditor& editor = main.Editor();
    QVERIFY(QTest::qWaitForWindowExposed(view));
    view->FrameAll();
    QTest::qWait(50);
    const int last = editor.Polygons.Count() - 1;
    for (int polygon : {0, last / 3, last / 2, last}) {
      const TPoly& p = editor.Polygons[polygon];
      const T3DCoord* corners[3] = {&editor.Nodes[p.Node1], &editor.Nodes[p.Node2], &editor.Nodes[p.Node3]};
      float x = 0, y = 0;
      for (const T3DCoord* c : corners) {
        x += c->X / 3;
        y += c->Y / 3;
      }
      // The top view.
      DoSelectNothing(editor);
      const TScreenPoint top = WorldToScreen(editor, x, y);
      QTest::mouseClick(main.Viewport(), Qt::LeftButton, Qt::NoModifier, QPoint(top.X, top.Y));
      const QString fromTop = SelectionText(editor);
      QCOMPARE(fromTop, QStringLiteral("p%1").arg(polygon));
      // The 3-D view, at the same point of the terrain.
      DoSelectNothing(editor);
      float z = 0;
      for (const T3DCoord* c : corners) z += c->Z / 3;
      TCamera3D camera = view->Camera();
      camera.SetViewport(view->width(), view->height());
      TScreenPosition at;
      QVERIFY(camera.Project({x, -y, z * view->Exaggeration()}, at));
      QTest::mouseClick(view, Qt::LeftButton, Qt::NoModifier, QPoint(qRound(at.X), qRound(at.Y)));
      QCOMPARE(SelectionText(editor), fromTop);
      // Ctrl+click takes it away again.
      QTest::mouseClick(view, Qt::LeftButton, Qt::ControlModifier, QPoint(qRound(at.X), qRound(at.Y)));
      QCOMPARE(SelectionText(editor), QString());
      // The next click is not the second of a double click.
      QTest::qWait(QApplication::doubleClickInterval() + 50);
    }
    // An edit shows in 3-D within the same turn of the event loop, and so does its undo.
    DoSelectNode(editor, 5, true);
    const float before = view->Scene().Mesh().Vertices()[5].Height;
    DoChangeNodeZ(editor, 64);
    QCOMPARE(view->Scene().Mesh().Vertices()[5].Height, before + 64);
    editor.History.UndoLast();
    QCOMPARE(view->Scene().Mesh().Vertices()[5].Height, before);
    // The pointer leaves the view, as it would before the window goes.
    QTest::mouseMove(main.windowHandle(), QPoint(1, 1));
  }

  // In the sculpt mode a left drag on the terrain is a stroke: one step that raises the heights
  // under the pointer and leaves the camera alone; Ctrl+Z takes it back.
  void sculptStrokeOnTheTerrain() {
    auto windows = StartWindows();
    TMainForm& main = windows->Main();
    main.NewMesh(16);
    main.Menus().View_Show3D->trigger();
    TView3DWidget* view = main.View3D()->View();
    if (view == nullptr) QSKIP("no OpenGL here: the window test runs on a real display");
    QVERIFY(QTest::qWaitForWindowExposed(view));
    view->FrameAll();
    main.Menus().Edit_Sculpt->trigger();
    TEditor& editor = main.Editor();
    const int middle = editor.Nodes.Count() / 2;
    TCamera3D camera = view->Camera();
    camera.SetViewport(view->width(), view->height());
    TScreenPosition at;
    QVERIFY(camera.Project({editor.Nodes[middle].X, -editor.Nodes[middle].Y, 0}, at));
    const QPoint from(qRound(at.X), qRound(at.Y));
    const int steps = editor.History.UndoCount();
    QTest::mousePress(view, Qt::LeftButton, Qt::NoModifier, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(from + QPoint(8, 0)), view->mapToGlobal(QPointF(from + QPoint(8, 0))),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view, &move);
    QTest::mouseRelease(view, Qt::LeftButton, Qt::NoModifier, from + QPoint(8, 0));
    QCOMPARE(editor.History.UndoCount(), steps + 1);
    QVERIFY(editor.Nodes[middle].Z > 0);
    QCOMPARE(view->Camera().Azimuth, camera.Azimuth);
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QTest::keyClick(&main, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(editor.History.UndoCount(), steps);
    QCOMPARE(editor.Nodes[middle].Z, 0.f);
  }

  // In the region mode a left drag in 3-D selects the nodes the camera shows inside the rectangle
  // and the polygons with all three corners inside, as one step; Ctrl adds; the camera stays. Out
  // of the mode the same drag orbits.
  void regionInTheView() {
    auto windows = StartWindows();
    TMainForm& main = windows->Main();
    main.NewMesh(8);
    main.Menus().View_Show3D->trigger();
    TView3DWidget* view = main.View3D()->View();
    if (view == nullptr) QSKIP("no OpenGL here: the window test runs on a real display");
    QVERIFY(QTest::qWaitForWindowExposed(view));
    TEditor& editor = main.Editor();
    // Hills, so that the picture is no tilted copy of the plan.
    for (int i = 0; i < editor.Nodes.Count(); ++i) editor.Nodes[i].Z = float((i * 37) % 11) * 300;
    editor.History.Publish(TChangeSet::Rebuilt());
    view->FrameAll();
    DoSelectNothing(editor);
    main.Menus().Edit_SelectRegion->trigger();
    TCamera3D camera = view->Camera();
    camera.SetViewport(view->width(), view->height());
    const auto drag = [&](QRect rect, Qt::KeyboardModifiers modifiers) {
      QTest::mousePress(view, Qt::LeftButton, modifiers, rect.topLeft());
      for (const QPoint& at : {rect.center(), rect.bottomRight()}) {
        QMouseEvent move(QEvent::MouseMove, QPointF(at), view->mapToGlobal(QPointF(at)), Qt::NoButton,
                         Qt::LeftButton, modifiers);
        QApplication::sendEvent(view, &move);
      }
      QTest::mouseRelease(view, Qt::LeftButton, modifiers, rect.bottomRight());
    };
    // What the rectangles hold by the camera's own projection (a rectangle's outline runs along
    // the far sides of its last pixels).
    QString expected;
    std::vector<bool> in(std::size_t(editor.Nodes.Count()), false);
    const int w = view->width(), h = view->height();
    const QRect rects[2] = {QRect(QPoint(w * 3 / 10, h * 3 / 10), QPoint(w / 2, h / 2)),
                            QRect(QPoint(w / 2, h * 2 / 5), QPoint(w * 3 / 4, h * 3 / 4))};
    for (int r = 0; r < 2; ++r) {
      for (int i = 0; i < editor.Nodes.Count(); ++i) {
        const T3DCoord& n = editor.Nodes[i];
        TScreenPosition at;
        QVERIFY(camera.Project({n.X, -n.Y, n.Z * view->Exaggeration()}, at));
        const QRectF rect = QRectF(rects[r]);
        if (at.X > rect.left() && at.X < rect.right() && at.Y > rect.top() && at.Y < rect.bottom())
          in[std::size_t(i)] = true;
      }
      QStringList parts;
      for (int i = 0; i < editor.Nodes.Count(); ++i)
        if (in[std::size_t(i)]) parts << QStringLiteral("n%1").arg(i);
      for (int i = 0; i < editor.Polygons.Count(); ++i) {
        const TPoly& p = editor.Polygons[i];
        if (in[std::size_t(p.Node1)] && in[std::size_t(p.Node2)] && in[std::size_t(p.Node3)])
          parts << QStringLiteral("p%1").arg(i);
      }
      const int steps = editor.History.UndoCount();
      drag(rects[r], r == 0 ? Qt::NoModifier : Qt::ControlModifier);
      QVERIFY(parts.size() > expected.count(' ') + 2);  // the rectangle holds something new
      expected = parts.join(' ');
      QCOMPARE(SelectionText(editor), expected);
      QCOMPARE(editor.History.UndoCount(), steps + 1);
      QCOMPARE(QString::fromStdString(editor.History.UndoDescription()), QStringLiteral("Select Region"));
      QCOMPARE(view->Camera().Azimuth, camera.Azimuth);
    }
    QVERIFY(editor.State.SelectedPolygonCount() > 0);
    main.Menus().Edit_SelectRegion->trigger();
    drag(rects[0], Qt::NoModifier);
    QVERIFY(view->Camera().Azimuth != camera.Azimuth);
    QCOMPARE(SelectionText(editor), expected);
  }

  // A new project is framed; a right click opens the top view's popup; a flight selects nothing.
  void newProjectRightClickAndFlight() {
    auto windows = StartWindows();
    TMainForm& main = windows->Main();
    main.Menus().View_Show3D->trigger();
    TView3DWidget* view = main.View3D()->View();
    if (view == nullptr) QSKIP("no OpenGL here: the window test runs on a real display");
    QVERIFY(QTest::qWaitForWindowExposed(view));
    main.NewMesh(2);
    const double small = view->Camera().Distance;
    main.NewMesh(16);
    QVERIFY(view->Camera().Distance > 4 * small);
    TEditor& editor = main.Editor();
    const QPoint middle = view->rect().center();
    QTest::mouseClick(view, Qt::RightButton, Qt::NoModifier, middle);
    QMenu* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(popup != nullptr);
    popup->close();
    DoSelectNothing(editor);
    const int steps = editor.History.UndoCount();
    QTest::mousePress(view, Qt::RightButton, Qt::NoModifier, middle);
    QTest::keyPress(view, Qt::Key_W);
    QTest::qWait(60);
    QTest::keyRelease(view, Qt::Key_W);
    QTest::mouseRelease(view, Qt::RightButton, Qt::NoModifier, middle);
    QCOMPARE(SelectionText(editor), QString());
    QCOMPARE(editor.History.UndoCount(), steps);
    QVERIFY(QApplication::activePopupWidget() == nullptr);
  }
};

TERRAVEL_TEST(TestView3D)
#include "tst_View3D.moc"
