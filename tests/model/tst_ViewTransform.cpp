// World and screen coordinates, snapping, zooming, zoom to fit, the grid status and the readouts.
#include <QTest>

#include <cmath>
#include <string>

#include "model/editor/Editor.h"
#include "model/text/NumberText.h"
#include "model/view/ViewTransform.h"
#include "support/RecordingHost.h"
#include "support/TestRegistry.h"

using namespace terravel;

namespace {

void AddNode(TEditor& editor, float x, float y) {
  editor.Nodes.NewNode("", "", x, y, 0);
}

}  // namespace

class TestViewTransform : public QObject {
  Q_OBJECT
 private slots:
  void worldToScreen_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<float>("zoom");
    QTest::addColumn<float>("panX");
    QTest::addColumn<float>("panY");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<int>("sx");
    QTest::addColumn<int>("sy");
    QTest::newRow("origin at the centre") << 960 << 594 << 0.5f << 0.f << 0.f << 0.f << 0.f << 480 << 297;
    QTest::newRow("odd size halves down") << 961 << 595 << 0.5f << 0.f << 0.f << 0.f << 0.f << 480 << 297;
    QTest::newRow("Y grows downwards") << 960 << 594 << 0.5f << 0.f << 0.f << 100.f << -100.f << 530 << 247;
    QTest::newRow("pan moves the origin") << 960 << 594 << 2.f << 10.5f << -20.f << 1.f << 1.f << 492 << 279;
    // -20.5 and -0.75 truncate towards zero, not down.
    QTest::newRow("negative results truncate up")
        << 960 << 594 << 0.5f << 0.f << -296.f << -1001.f << -3.5f << -20 << 0;
    QTest::newRow("positive fraction truncates down")
        << 960 << 594 << 0.5f << 0.25f << 0.f << 1.f << 1.f << 480 << 297;
  }
  void worldToScreen() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(float, zoom);
    QFETCH(float, panX);
    QFETCH(float, panY);
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(int, sx);
    QFETCH(int, sy);
    TEditor editor;
    editor.View.Size = {width, height};
    editor.View.Zoom = zoom;
    editor.View.PanX = panX;
    editor.View.PanY = panY;
    const TScreenPoint screen = WorldToScreen(editor, x, y);
    QCOMPARE(screen.X, sx);
    QCOMPARE(screen.Y, sy);
  }

  void screenToWorldIsTheInverseWithoutRounding() {
    TEditor editor;
    editor.View.Zoom = 0.5f;
    editor.View.PanX = 10;
    editor.View.PanY = -4;
    TWorldPoint world = ScreenToWorld(editor, 490, 293);
    QCOMPARE(world.X, 0.f);
    QCOMPARE(world.Y, 0.f);
    world = ScreenToWorld(editor, 541, 242);  // (541 - 480 - 10) / 0.5, (242 - 297 + 4) / 0.5
    QCOMPARE(world.X, 102.f);
    QCOMPARE(world.Y, -102.f);
    editor.View.Zoom = 4;
    world = ScreenToWorld(editor, 491, 300);
    QCOMPARE(world.X, 0.25f);
    QCOMPARE(world.Y, 1.75f);
  }

  void snapValueRoundsHalvesToEven_data() {
    QTest::addColumn<float>("value");
    QTest::addColumn<int>("grid");
    QTest::addColumn<float>("snapped");
    QTest::newRow("32 on 64") << 32.f << 64 << 0.f;
    QTest::newRow("96 on 64") << 96.f << 64 << 128.f;
    QTest::newRow("-32 on 64") << -32.f << 64 << 0.f;
    QTest::newRow("-96 on 64") << -96.f << 64 << -128.f;
    QTest::newRow("160 on 64") << 160.f << 64 << 128.f;
    QTest::newRow("100 on 64") << 100.f << 64 << 128.f;
    QTest::newRow("31.9 on 64") << 31.9f << 64 << 0.f;
    QTest::newRow("2.5 on 1") << 2.5f << 1 << 2.f;
    QTest::newRow("-3.5 on 1") << -3.5f << 1 << -4.f;
    QTest::newRow("beyond 32 bits") << 3e12f << 256 << 3e12f;
  }
  void snapValueRoundsHalvesToEven() {
    QFETCH(float, value);
    QFETCH(int, grid);
    QFETCH(float, snapped);
    QCOMPARE(SnapValue(value, grid), snapped);
  }

  void nodeScreenPositionDuringADrag_data() {
    QTest::addColumn<bool>("snap");
    QTest::addColumn<int>("grid");
    QTest::addColumn<int>("sx");
    QTest::addColumn<int>("sy");
    // Zoom 1: X moved from 0 to 100 is drawn at 128; Y = 10 has not moved and stays.
    QTest::newRow("snapping") << true << 64 << 480 + 128 << 297 + 10;
    QTest::newRow("snapping off") << false << 64 << 480 + 100 << 297 + 10;
    QTest::newRow("no grid") << true << 0 << 480 + 100 << 297 + 10;
  }
  void nodeScreenPositionDuringADrag() {
    QFETCH(bool, snap);
    QFETCH(int, grid);
    QFETCH(int, sx);
    QFETCH(int, sy);
    TEditor editor;
    editor.View.Zoom = 1;
    editor.SnapToGrid = snap;
    editor.Values.GridX = editor.Values.GridY = grid;
    T3DCoord node;
    node.X = 100;
    node.Y = 10;
    node.BaseX = 0;
    node.BaseY = 10;
    QCOMPARE(NodeScreenPosition(editor, node), (TScreenPoint{sx, sy}));
    QCOMPARE(node.X, 100.f);
    // A node that has not moved is drawn where it is.
    node.BaseX = 100;
    QCOMPARE(NodeScreenPosition(editor, node), (TScreenPoint{580, 307}));
  }

  void zoomBy_data() {
    QTest::addColumn<float>("zoom");
    QTest::addColumn<int>("dy");
    QTest::addColumn<float>("expected");
    QTest::addColumn<bool>("redrawn");
    QTest::newRow("one pixel down") << 0.5f << 1 << 0.525f << true;
    QTest::newRow("ten pixels up") << 0.5f << -10 << 0.25f << true;
    QTest::newRow("twenty up clamps") << 0.5f << -20 << 0.01f << true;
    QTest::newRow("far up clamps") << 0.5f << -300 << 0.01f << true;
    QTest::newRow("far down clamps") << 10.f << 500 << 20.f << true;
    QTest::newRow("at the floor") << 0.01f << -5 << 0.01f << false;
    QTest::newRow("at the ceiling") << 20.f << 3 << 20.f << false;
    QTest::newRow("above the ceiling comes down") << 30.f << 1 << 20.f << true;
    QTest::newRow("no movement") << 0.5f << 0 << 0.5f << false;
  }
  void zoomBy() {
    QFETCH(float, zoom);
    QFETCH(int, dy);
    QFETCH(float, expected);
    QFETCH(bool, redrawn);
    test::TRecordingHost host;
    TEditor editor(&host);
    editor.View.Zoom = zoom;
    editor.View.PanX = 100;
    editor.View.PanY = -40;
    ZoomBy(editor, dy);
    QCOMPARE(editor.View.Zoom, expected);
    // The world point under the centre stays there.
    QCOMPARE(editor.View.PanX, 100 * expected / zoom);
    QCOMPARE(editor.View.PanY, -40 * expected / zoom);
    QCOMPARE(host.Joined(), std::string(redrawn ? "view light" : ""));
  }

  void panByMovesAgainstTheDelta() {
    TEditor editor;
    PanBy(editor, 5, -3);
    QCOMPARE(editor.View.PanX, -5.f);
    QCOMPARE(editor.View.PanY, 3.f);
  }

  void zoomToFit_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("grid");
    QTest::addColumn<QList<float>>("coords");  // x0, y0, x1, y1, ...
    QTest::addColumn<float>("zoom");
    QTest::addColumn<float>("centreX");  // the world point that ends at the viewport centre
    QTest::addColumn<float>("centreY");
    // The new project's triangle: 512 x 512 padded to 615 and down to 576 on grid 64; height decides.
    QTest::newRow("triangle") << 960 << 594 << 64 << QList<float>{0, -256, -256, 256, 256, 256} << 594.f / 576
                              << 0.f << 0.f;
    QTest::newRow("triangle in a tall window")
        << 400 << 600 << 64 << QList<float>{0, -256, -256, 256, 256, 256} << 400.f / 576 << 0.f << 0.f;
    QTest::newRow("triangle without grid")
        << 960 << 594 << 0 << QList<float>{0, -256, -256, 256, 256, 256} << 594.f / 614 << 0.f << 0.f;
    // One shared X: dx = 1, padX = Round(1.2) = 1; dy = 100, padY = 120.
    QTest::newRow("one shared X") << 960 << 594 << 0 << QList<float>{5, 0, 5, 100} << 594.f / 120 << 5.f
                                  << 50.f;
    // Left = Trunc(-3.5) = -3, Right = Ceil(10) = 10: dx 13, padX 16; the width decides.
    QTest::newRow("truncation towards zero")
        << 960 << 594 << 0 << QList<float>{-3.5f, 0, 10, 0} << 60.f << 4.f << 0.f;
    // Right = Ceil(9.2) = 10 gives the same width; Top = Trunc(-0.5) = 0, Bottom = 3: padY 4, centre 2.
    QTest::newRow("ceiling and truncation")
        << 960 << 594 << 0 << QList<float>{-3.9f, -0.5f, 9.2f, 2.2f} << 60.f << 4.f << 2.f;
  }
  void zoomToFit() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, grid);
    QFETCH(QList<float>, coords);
    QFETCH(float, zoom);
    QFETCH(float, centreX);
    QFETCH(float, centreY);
    test::TRecordingHost host;
    TEditor editor(&host);
    editor.View.Size = {width, height};
    editor.Values.GridX = editor.Values.GridY = grid;
    for (int i = 0; i + 1 < coords.size(); i += 2) AddNode(editor, coords[i], coords[i + 1]);
    ZoomToFit(editor);
    QCOMPARE(editor.View.Zoom, zoom);
    QCOMPARE(editor.View.PanX, -(centreX * editor.View.Zoom));
    QCOMPARE(editor.View.PanY, -(centreY * editor.View.Zoom));
    QCOMPARE(host.Joined(), std::string("view full"));
  }

  // Cases without a defined result must still leave a usable view.
  void zoomToFitDegenerateCases_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<int>("grid");
    QTest::newRow("grid coarser than the padded extent") << 960 << 594 << 256;
    QTest::newRow("zero-size viewport") << 0 << 0 << 64;
    QTest::newRow("zero-size viewport without grid") << 0 << 0 << 0;
  }
  void zoomToFitDegenerateCases() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(int, grid);
    TEditor editor;
    editor.View.Size = {width, height};
    editor.Values.GridX = editor.Values.GridY = grid;
    AddNode(editor, 0, 0);
    AddNode(editor, 100, 0);
    ZoomToFit(editor);
    QVERIFY(std::isfinite(editor.View.Zoom) && editor.View.Zoom > 0);
    QVERIFY(std::isfinite(editor.View.PanX) && std::isfinite(editor.View.PanY));
    if (grid == 256) QCOMPARE(editor.View.Zoom, 960.f / 256);  // one grid step at least
  }

  void zoomToFitWithoutNodesChangesNothing() {
    test::TRecordingHost host;
    TEditor editor(&host);
    editor.View.Zoom = 3;
    editor.View.PanX = 7;
    ZoomToFit(editor);
    QCOMPARE(editor.View.Zoom, 3.f);
    QCOMPARE(editor.View.PanX, 7.f);
    QVERIFY(host.Calls.empty());
  }

  void setGridSize_data() {
    QTest::addColumn<int>("grid");
    QTest::addColumn<QString>("status");
    QTest::newRow("one") << 1 << "Grid: 1 unit";
    QTest::newRow("none") << 0 << "Grid: 0 units";
    QTest::newRow("256") << 256 << "Grid: 256 units";
    QTest::newRow("unchanged") << 64 << "Grid: 64 units";
  }
  void setGridSize() {
    QFETCH(int, grid);
    QFETCH(QString, status);
    test::TRecordingHost host;
    TEditor editor(&host);
    SetGridSize(editor, grid);
    QVERIFY(host.Calls.empty());  // the step that changed it tells the windows
    QCOMPARE(QString::fromStdString(GridStatusText(editor.Values.GridX)), status);
    QCOMPARE(editor.Values.GridX, grid);
    QCOMPARE(editor.Values.GridY, grid);
  }

  void formatReadout_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("text");
    QTest::newRow("zero") << 0.0 << "."
                          << "+00000.0000";
    QTest::newRow("half") << 0.5 << "."
                          << "+00000.5000";
    QTest::newRow("negative") << -123.25 << "."
                              << "-00123.2500";
    QTest::newRow("seven digits") << 1234567.5 << "."
                                  << "+1234567.5000";
    QTest::newRow("sign before the zeros") << -5.0 << "."
                                           << "-00005.0000";
    QTest::newRow("five digits") << 12345.0 << "."
                                 << "+12345.0000";
    QTest::newRow("negative zero") << -0.0 << "."
                                   << "+00000.0000";
    QTest::newRow("comma") << 0.5 << ","
                           << "+00000,5000";
    QTest::newRow("comma, negative") << -123.25 << ","
                                     << "-00123,2500";
  }
  void formatReadout() {
    QFETCH(double, value);
    QFETCH(QString, separator);
    QFETCH(QString, text);
    SetDecimalSeparator(separator.toLatin1().at(0));
    const std::string readout = FormatReadout(value);
    SetDecimalSeparator('.');
    QCOMPARE(QString::fromStdString(readout), text);
  }
};

TERRAVEL_TEST(TestViewTransform)
#include "tst_ViewTransform.moc"
