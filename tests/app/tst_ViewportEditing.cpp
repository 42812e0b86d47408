// Editing in the viewport as a user does it: clicks and drags with the real mouse events, keys and
// wheel on the main window, the popup menus, and the add-node, add-polygon and remove commands.
#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QWheelEvent>

#include <array>
#include <memory>
#include <vector>

#include "AppTestSupport.h"
#include "app/EditCommands.h"
#include "app/GradientPanel.h"
#include "app/StatusPanels.h"
#include "app/ViewportPopups.h"
#include "app/ViewportWidget.h"
#include "model/editing/PolygonPlacement.h"
#include "model/view/ViewTransform.h"
#include "support/SelectionText.h"
#include "support/TestRegistry.h"

using namespace terravel;
using namespace terravel::test;

namespace {

using TTriangles = std::vector<std::array<int, 3>>;

constexpr float kPgInc = 16;

// The main window on a blank project at zoom 1 around the origin (grid 64, snapping on) with the
// given nodes and polygons, nothing selected, an empty history; active, the viewport focused.
class TScene {
 public:
  explicit TScene(const QList<QPointF>& nodes, const TTriangles& polygons = {})
      : windows_(StartWindows()), main(windows_->Main()), editor(main.Editor()), view(main.Viewport()) {
    main.NewProject(false);
    editor.Values.PgInc = kPgInc;
    editor.View.Zoom = 1;
    for (const QPointF& p : nodes) editor.Nodes.NewNode("", "", float(p.x()), float(p.y()), 0);
    for (const auto& t : polygons) editor.Polygons.NewPolygon(t[0], t[1], t[2], kDefaultTexture, "", "");
    editor.History.ClearHistory();
    main.Host().ViewChanged(true);
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    main.ViewportFocusButton()->setFocus();
  }

  QPoint World(float x, float y) const {
    const TScreenPoint p = WorldToScreen(editor, x, y);
    return {p.X, p.Y};
  }
  QPoint Node(int i) const { return World(editor.Nodes[i].X, editor.Nodes[i].Y); }
  QPoint PolygonCentre(int i) const {
    const TPoly& p = editor.Polygons[i];
    return (Node(p.Node1) + Node(p.Node2) + Node(p.Node3)) / 3;
  }
  // "n2", "p0" or "bg" (empty space).
  QPoint Target(const QString& name) const {
    if (name == "bg") return World(-300, 150);
    const int index = name.mid(1).toInt();
    return name.startsWith('n') ? Node(index) : PolygonCentre(index);
  }
  // "L", "R" or "M" and the target, "^" first for Ctrl: "^Ln1". An opened popup is closed.
  void Click(const QString& click) {
    const bool ctrl = click.startsWith('^');
    const QChar button = click.at(ctrl ? 1 : 0);
    const Qt::MouseButton b = button == 'L'   ? Qt::LeftButton
                              : button == 'R' ? Qt::RightButton
                                              : Qt::MiddleButton;
    QTest::mouseClick(view, b, ctrl ? Qt::ControlModifier : Qt::NoModifier, Target(click.mid(ctrl ? 2 : 1)));
  }
  void ClosePopup() {
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  }
  // "n0 n1 p0".
  QString Selection() const { return SelectionText(editor); }

  QStringList Actions() const {
    QStringList descriptions;
    for (int i = 0; i < editor.History.UndoCount(); ++i) {
      descriptions << QString::fromStdString(editor.History.UndoAt(i).Description());
    }
    return descriptions;
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
  }
  // A turn of the wheel over the viewport, delivered as one from the window system (sendEvent
  // would make it synthetic, and synthetic wheel events do not travel up to the main window).
  void Wheel(int delta) {
    const QPoint at = World(-300, 150);
    QWheelEvent event(at, view->mapToGlobal(at), {}, {0, delta}, Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&event);
    qApp->notify(view, &event);
  }

 private:
  std::unique_ptr<TAppWindows> windows_;

 public:
  TMainForm& main;
  TEditor& editor;
  TViewportWidget* view;
};

// A triangle, a node beside it.
const QList<QPointF> kNodes{{-128, -128}, {128, -128}, {0, 128}, {256, 128}};

}  // namespace

class TestViewportEditing : public QObject {
  Q_OBJECT
 private slots:
  void init() { ClearSettingsStore(); }

  // The last click may open a popup: its name and default item; a click that leaves the selection
  // as it was records nothing.
  void clicksSelect_data() {
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<QString>("selection");
    QTest::addColumn<QString>("popup");
    QTest::addColumn<QString>("defaultItem");
    const QString none, selected("SelectedPopup"), other("DefaultPopup");
    QTest::newRow("left selects only it") << QStringList{"Ln0", "Ln1"} << "n1" << none << none;
    QTest::newRow("ctrl adds") << QStringList{"Ln0", "^Ln1", "^Lp0"} << "n0 n1 p0" << none << none;
    QTest::newRow("ctrl removes") << QStringList{"Ln0", "^Ln1", "^Ln0"} << "n1" << none << none;
    QTest::newRow("left on selected keeps") << QStringList{"Ln0", "^Ln1", "Ln1"} << "n0 n1" << none << none;
    QTest::newRow("empty space clears") << QStringList{"Ln0", "^Lp0", "Lbg"} << "" << none << none;
    QTest::newRow("middle as left") << QStringList{"Ln0", "Mp0"} << "p0" << none << none;
    QTest::newRow("right adds") << QStringList{"Ln0", "Rn3"} << "n0 n3" << selected
                                << "SelectedPopup_Properties";
    QTest::newRow("right on selected keeps")
        << QStringList{"Ln0", "^Ln1", "Rn1"} << "n0 n1" << selected << "SelectedPopup_Properties";
    QTest::newRow("ctrl right removes")
        << QStringList{"Ln0", "Rn3", "^Rn0"} << "n3" << selected << "SelectedPopup_Properties";
    QTest::newRow("right on empty space")
        << QStringList{"Ln0", "Rbg"} << "" << other << "DefaultPopup_AddNode";
    QTest::newRow("right on polygon") << QStringList{"Rp0"} << "p0" << other << "DefaultPopup_Properties";
  }
  void clicksSelect() {
    QFETCH(QStringList, clicks);
    QFETCH(QString, selection);
    QFETCH(QString, popup);
    QFETCH(QString, defaultItem);
    TScene scene(kNodes, {{0, 1, 2}});
    for (const QString& click : clicks.mid(0, clicks.size() - 1)) {
      scene.Click(click);
      scene.ClosePopup();
    }
    const QString before = scene.Selection();
    const int actions = scene.editor.History.UndoCount();
    scene.Click(clicks.last());
    QCOMPARE(scene.Selection(), selection);
    if (selection == before) QCOMPARE(scene.editor.History.UndoCount(), actions);
    QVERIFY(!scene.main.Modified());
    auto* open = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QCOMPARE(open != nullptr ? open->objectName() : QString(), popup);
    if (open == nullptr) return;
    QCOMPARE(open->defaultAction()->objectName(), defaultItem);
    const QString target = clicks.last().section(QRegularExpression("[LR]"), 1);
    QCOMPARE(scene.main.EditCommands().ContextPoint, scene.view->mapToGlobal(scene.Target(target)));
    if (popup == "DefaultPopup") {
      const bool polygon = selection == "p0";
      QCOMPARE(open->findChild<QAction*>("DefaultPopup_AddNode")->isVisible(), !polygon);
      QCOMPARE(open->findChild<QAction*>("DefaultPopup_AddGroundPolygon")->isEnabled(), !polygon);
      QCOMPARE(open->findChild<QAction*>("DefaultPopup_Flip")->isEnabled(), polygon);
      QVERIFY(open->findChild<QAction*>("DefaultPopup_Grid_64")->isChecked());
    }
    open->close();
  }

  void dragsPanOrMoveNodes_data() {
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("from");
    QTest::addColumn<float>("panX");
    QTest::addColumn<float>("liveX");   // node 0 while the button is held
    QTest::addColumn<float>("finalX");  // after the release
    QTest::addColumn<QStringList>("actions");
    const int left = Qt::LeftButton, ctrl = Qt::ControlModifier, shift = Qt::ShiftModifier;
    const QStringList selectNode{"Ln0"};
    const QStringList selectThenMove{"Change Selection", "Move Node"};
    QTest::newRow("pan") << left << 0 << QStringList{} << "bg" << -40.f << -128.f << -128.f << QStringList{};
    QTest::newRow("pan with a node selected")
        << left << 0 << selectNode << "bg" << -40.f << -128.f << -128.f << selectThenMove;
    QTest::newRow("ctrl moves the node")
        << left << ctrl << selectNode << "n0" << 0.f << -88.f << -64.f << selectThenMove;
    QTest::newRow("shift moves the node and pans")
        << left << shift << selectNode << "n0" << -40.f << -88.f << -64.f << selectThenMove;
    QTest::newRow("shift without selection pans")
        << left << shift << QStringList{} << "bg" << -40.f << -128.f << -128.f << QStringList{};
    QTest::newRow("right pans from the third move")
        << int(Qt::RightButton) << 0 << QStringList{} << "bg" << -20.f << -128.f << -128.f << QStringList{};
  }
  void dragsPanOrMoveNodes() {
    QFETCH(int, button);
    QFETCH(int, modifiers);
    QFETCH(QStringList, before);
    QFETCH(QString, from);
    QFETCH(float, panX);
    QFETCH(float, liveX);
    QFETCH(float, finalX);
    QFETCH(QStringList, actions);
    TScene scene(kNodes, {{0, 1, 2}});
    for (const QString& click : before) scene.Click(click);
    const auto b = Qt::MouseButton(button);
    const auto m = Qt::KeyboardModifiers(modifiers);
    const QPoint start = scene.Target(from);
    QTest::mousePress(scene.view, b, m, start);
    for (int step = 1; step <= 3; ++step) {
      QTest::mouseEvent(QTest::MouseMove, scene.view, Qt::NoButton, m, start + QPoint(10 * step, 0));
    }
    QCOMPARE(QWidget::mouseGrabber(), scene.view);
    QCOMPARE(scene.editor.Nodes[0].X, liveX);
    QCOMPARE(scene.editor.Nodes[0].BaseX, -128.f);
    QCOMPARE(scene.main.Modified(), liveX != -128.f);
    QTest::mouseRelease(scene.view, b, m, start + QPoint(30, 0));
    QCOMPARE(QWidget::mouseGrabber(), nullptr);
    QVERIFY(QApplication::activePopupWidget() == nullptr);
    QCOMPARE(scene.editor.View.PanX, panX);
    QCOMPARE(scene.editor.Nodes[0].X, finalX);
    QCOMPARE(scene.editor.Nodes[0].BaseX, finalX);
    QCOMPARE(scene.Actions(), actions);
  }

  void pageKeysAndWheelChangeZ() {
    TScene scene(kNodes, {{0, 1, 2}});
    const auto zs = [&] {
      QList<float> z;
      for (const T3DCoord& node : scene.editor.Nodes) z << node.Z;
      return z;
    };
    // A press in the viewport takes the keyboard focus from the gradient panel.
    scene.main.GradientPanel()->Edit(TUnitField::MinZ)->setFocus();
    QVERIFY(!scene.main.Renderer().Flags.ViewportFocused);
    scene.Click("Lp0");
    QVERIFY(scene.main.ViewportFocusButton()->hasFocus() && scene.main.Renderer().Flags.ViewportFocused);
    scene.Key(Qt::Key_PageUp);  // only a polygon selected: no node to raise
    QCOMPARE(zs(), (QList<float>{0, 0, 0, 0}));
    QCOMPARE(scene.Actions().size(), 1);
    scene.Wheel(120);  // adds the polygon's nodes first
    QCOMPARE(zs(), (QList<float>{kPgInc, kPgInc, kPgInc, 0}));
    QCOMPARE(scene.Selection(), "n0 n1 n2 p0");
    scene.Wheel(-119);
    scene.Wheel(-240);
    QCOMPARE(zs(), (QList<float>{-kPgInc, -kPgInc, -kPgInc, 0}));
    scene.Key(Qt::Key_PageUp);
    QCOMPARE(zs(), (QList<float>{0, 0, 0, 0}));
    // Ctrl alone records nothing; Ctrl+Page Up raises the selected polygon with its corners.
    scene.Click("Lbg");
    scene.Click("Lp0");
    const qsizetype steps = scene.Actions().size();
    scene.Key(Qt::Key_Control);
    QCOMPARE(scene.Selection(), "p0");
    QCOMPARE(scene.Actions().size(), steps);
    scene.Key(Qt::Key_PageUp, Qt::ControlModifier);
    QCOMPARE(scene.Selection(), "n0 n1 n2 p0");
    QCOMPARE(zs(), (QList<float>{kPgInc, kPgInc, kPgInc, 0}));
  }

  // With polygons selected, Ctrl+Z undoes the edit before, and Ctrl+click adds polygons, not
  // their corners; a Ctrl+drag still moves the polygons and records what it always did.
  void ctrlWithPolygonsSelected() {
    TScene scene(kNodes, {{0, 1, 2}, {1, 3, 2}});
    scene.Click("Ln3");
    scene.Key(Qt::Key_PageUp);
    QCOMPARE(scene.editor.Nodes[3].Z, kPgInc);
    scene.Click("Lp0");
    scene.Key(Qt::Key_Control);
    scene.Click("^Lp1");
    QCOMPARE(scene.Selection(), "p0 p1");
    QCOMPARE(scene.main.ViewportPopups().PopupForSelection()->objectName(), QStringLiteral("DefaultPopup"));
    // Three selection steps back (p1, p0, clearing n3), then the raise.
    for (int i = 0; i < 4; ++i) scene.Key(Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(scene.editor.Nodes[3].Z, 0.f);
    QCOMPARE(scene.Selection(), "n3");

    scene.Click("Lp0");
    const QStringList before = scene.Actions();
    const float x0 = scene.editor.Nodes[0].X;
    const QPoint start = scene.PolygonCentre(0);
    QTest::mousePress(scene.view, Qt::LeftButton, Qt::ControlModifier, start);
    for (int step = 1; step <= 4; ++step) {
      QTest::mouseEvent(QTest::MouseMove, scene.view, Qt::NoButton, Qt::ControlModifier, start + QPoint(20 * step, 0));
    }
    QTest::mouseRelease(scene.view, Qt::LeftButton, Qt::ControlModifier, start + QPoint(80, 0));
    QVERIFY(scene.editor.Nodes[0].X != x0);
    QCOMPARE(scene.Actions().mid(before.size()),
             (QStringList{"Select Selected Polygon Nodes", "Move Node"}));
  }

  void addPolygonCommand_data() {
    QTest::addColumn<QList<QPointF>>("nodes");
    QTest::addColumn<bool>("existing");
    QTest::addColumn<bool>("selectNodes");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("selection");
    const QList<QPointF> three{{-128, -128}, {128, -128}, {0, 128}};
    const int d = Qt::Key_D, k = Qt::Key_K;
    QTest::newRow("ground at the pointer") << three << false << false << d << ""
                                           << "p0";
    QTest::newRow("sky at the pointer") << three << false << false << k << ""
                                        << "p0";
    QTest::newRow("ground on the selection") << three << false << true << d << ""
                                             << "p0";
    QTest::newRow("existing at the pointer")
        << three << true << false << d
        << "A polygon with the nodes that are located nearby the indicated position already exists!"
        << "";
    QTest::newRow("existing on the selection")
        << three << true << true << d << "A polygon consisting of the selected nodes already exists!"
        << "p0";
    QTest::newRow("degenerate") << QList<QPointF>{{0, 0}, {64, 64}, {128, 128}} << false << true << d
                                << "The generated polygon would be degenerated.\rMake sure the area of the "
                                   "polygon is not empty!"
                                << "n0 n1 n2";
    QTest::newRow("too few nodes")
        << QList<QPointF>{{0, 0}, {64, 64}} << false << false << d
        << "You need to create at least three nodes before attempting to create a polygon!"
        << "";
  }
  void addPolygonCommand() {
    QFETCH(QList<QPointF>, nodes);
    QFETCH(bool, existing);
    QFETCH(bool, selectNodes);
    QFETCH(int, key);
    QFETCH(QString, message);
    QFETCH(QString, selection);
    TDialogAnswers dialogs;
    TScene scene(nodes, existing ? TTriangles{{0, 1, 2}} : TTriangles{});
    if (selectNodes) scene.main.Menus().Edit_SelectAll_Nodes->trigger();
    QCursor::setPos(scene.view->mapToGlobal(scene.World(0, -40)));
    const int polygons = scene.editor.Polygons.Count();
    scene.Key(Qt::Key(key), Qt::ControlModifier);
    QCOMPARE(scene.Selection(), selection);
    if (!message.isEmpty()) {
      QCOMPARE(dialogs.Messages.size(), size_t(1));
      QCOMPARE(dialogs.Messages[0].Caption, "Information");
      QCOMPARE(dialogs.Messages[0].Icon, QMessageBox::Information);
      QCOMPARE(dialogs.Messages[0].Text, message);
      QCOMPARE(scene.editor.Polygons.Count(), polygons);
      if (existing && selectNodes) {
        QCOMPARE(scene.main.StatusPanels()->PanelText(TStatusPanels::kSelectionPanel), "1 polygon selected");
      }
      return;
    }
    QVERIFY(dialogs.Messages.empty());
    QCOMPARE(scene.editor.Polygons.Count(), 1);
    const TPoly& added = scene.editor.Polygons[0];
    const float sum = OrientationSum(scene.editor, added.Node1, added.Node2, added.Node3);
    QVERIFY(key == Qt::Key_D ? sum > 0 : sum < 0);
    QCOMPARE(added.Texture, std::string(kDefaultTexture));
    QCOMPARE(scene.Actions().last(), "Add Polygon");
  }

  void removeAsksAboutThePolygons_data() {
    QTest::addColumn<QStringList>("clicks");
    QTest::addColumn<int>("answer");
    QTest::addColumn<int>("asked");  // the count in the question; 0 when nothing is asked
    QTest::addColumn<int>("nodesLeft");
    QTest::addColumn<int>("polygonsLeft");
    QTest::newRow("shared node, no") << QStringList{"Ln1"} << int(QMessageBox::No) << 2 << 4 << 2;
    QTest::newRow("shared node, yes") << QStringList{"Ln1"} << int(QMessageBox::Yes) << 2 << 3 << 0;
    QTest::newRow("corner of one") << QStringList{"Ln0"} << int(QMessageBox::Yes) << 1 << 3 << 1;
    QTest::newRow("polygon only") << QStringList{"Lp1"} << int(QMessageBox::Yes) << 0 << 4 << 1;
    QTest::newRow("nothing selected") << QStringList{"Lbg"} << int(QMessageBox::Yes) << 0 << 4 << 2;
  }
  void removeAsksAboutThePolygons() {
    QFETCH(QStringList, clicks);
    QFETCH(int, answer);
    QFETCH(int, asked);
    QFETCH(int, nodesLeft);
    QFETCH(int, polygonsLeft);
    TDialogAnswers dialogs;
    dialogs.Answers = {QMessageBox::StandardButton(answer)};
    TScene scene(kNodes, {{0, 1, 2}, {1, 3, 2}});
    for (const QString& click : clicks) scene.Click(click);
    scene.Key(Qt::Key_Delete);
    QCOMPARE(dialogs.Messages.size(), size_t(asked > 0 ? 1 : 0));
    if (asked > 0) {
      QCOMPARE(
          dialogs.Messages[0].Text,
          QStringLiteral("The node(s) to be deleted is/are in use by %1 polygon(s).\rThose will be deleted "
                         "as well when removing the node(s).\rDo you want to continue?")
              .arg(asked));
      QCOMPARE(dialogs.Messages[0].Buttons, QMessageBox::Yes | QMessageBox::No);
    }
    QCOMPARE(scene.editor.Nodes.Count(), nodesLeft);
    QCOMPARE(scene.editor.Polygons.Count(), polygonsLeft);
  }

  void addNodeHereSnapsToTheGrid_data() {
    QTest::addColumn<bool>("doubleClick");
    QTest::addColumn<QPointF>("at");
    QTest::addColumn<QPointF>("node");
    QTest::newRow("popup, rounds up") << false << QPointF(100, -20) << QPointF(128, 0);
    QTest::newRow("popup, half to even") << false << QPointF(95, 32) << QPointF(64, 0);
    QTest::newRow("double click") << true << QPointF(100, -20) << QPointF(128, 0);
  }
  void addNodeHereSnapsToTheGrid() {
    QFETCH(bool, doubleClick);
    QFETCH(QPointF, at);
    QFETCH(QPointF, node);
    TScene scene({});
    const QPoint point = scene.World(float(at.x()), float(at.y()));
    if (doubleClick) {
      QTest::mouseDClick(scene.view, Qt::LeftButton, {}, point);
    } else {
      QTest::mouseClick(scene.view, Qt::RightButton, {}, point);
      QMenu* popup = scene.main.ViewportPopups().DefaultPopup();
      QVERIFY(popup->isVisible());
      popup->findChild<QAction*>("DefaultPopup_AddNode")->trigger();
      popup->close();
    }
    QCOMPARE(scene.editor.Nodes.Count(), 1);
    QCOMPARE(QPointF(scene.editor.Nodes[0].X, scene.editor.Nodes[0].Y), node);
    QCOMPARE(scene.editor.Nodes[0].Z, 0.f);
    QVERIFY(scene.main.Modified());
  }
};

TERRAVEL_TEST(TestViewportEditing)
#include "tst_ViewportEditing.moc"
