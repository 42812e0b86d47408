// The Z gradient: the ramp, the colours of heights, nodes and polygons, and ground and sky.
#include <QTest>

#include "model/document/Orientation.h"
#include "model/editor/Editor.h"
#include "render/Colors.h"
#include "render/GradientTable.h"
#include "support/TestRegistry.h"

using namespace terravel;

namespace {

QRgb Entry(int index) {
  return GradientTable()[static_cast<std::size_t>(index)];
}

TProjectValues Range(float minZ, float maxZ) {
  TProjectValues values;
  values.MinZ = minZ;
  values.MaxZ = maxZ;
  return values;
}

}  // namespace

class TestColors : public QObject {
  Q_OBJECT
 private slots:
  void rampPassesThroughItsColours_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<uint>("color");
    QTest::newRow("blue start") << 0 << uint(qRgb(0, 0, 248));
    for (int i : {138, 141}) QTest::addRow("cyan %d", i) << i << uint(qRgb(0, 248, 248));
    for (int i : {279, 282}) QTest::addRow("green %d", i) << i << uint(qRgb(0, 248, 0));
    for (int i : {418, 421}) QTest::addRow("yellow %d", i) << i << uint(qRgb(248, 248, 0));
    QTest::newRow("red end") << 558 << uint(qRgb(248, 1, 0));
  }
  void rampPassesThroughItsColours() {
    QFETCH(int, index);
    QFETCH(uint, color);
    QCOMPARE(Entry(index), QRgb(color));
  }

  void rampChangesOneChannelSteadily() {
    // Each entry differs from its neighbour by at most 2 per channel, so the bar shows no bands.
    for (int i = 1; i < kGradientWidth; ++i) {
      const QRgb a = Entry(i - 1), b = Entry(i);
      QVERIFY2(std::abs(qRed(a) - qRed(b)) <= 2 && std::abs(qGreen(a) - qGreen(b)) <= 2 &&
                   std::abs(qBlue(a) - qBlue(b)) <= 2,
               qPrintable(QString::number(i)));
    }
    const QImage bar = GradientImage();
    QCOMPARE(bar.size(), QSize(559, 1));
    QCOMPARE(bar.pixel(300, 0), Entry(300));
  }

  void gradientColorOfHeights_data() {
    QTest::addColumn<float>("minZ");
    QTest::addColumn<float>("maxZ");
    QTest::addColumn<float>("z");
    QTest::addColumn<uint>("color");
    QTest::newRow("MinZ is blue") << 0.f << 1024.f << 0.f << uint(Entry(0));
    QTest::newRow("MaxZ is the last entry") << 0.f << 1024.f << 1024.f << uint(Entry(558));
    QTest::newRow("half way") << 0.f << 1024.f << 512.f << uint(Entry(279));
    QTest::newRow("rounded to nearest") << 0.f << 558.f << 100.6f << uint(Entry(101));
    QTest::newRow("below MinZ is black") << 0.f << 1024.f << -0.5f << uint(0xFF000000);
    QTest::newRow("above MaxZ is white") << 0.f << 1024.f << 1024.5f << uint(0xFFFFFFFF);
    QTest::newRow("MinZ = MaxZ is green") << 64.f << 64.f << 64.f << uint(Entry(279));
    QTest::newRow("MinZ = MaxZ, lower is black") << 64.f << 64.f << 63.f << uint(0xFF000000);
    QTest::newRow("MinZ = MaxZ, higher is white") << 64.f << 64.f << 65.f << uint(0xFFFFFFFF);
    QTest::newRow("range wider than a float") << -3e38f << 3e38f << 3e38f << uint(Entry(558));
  }
  void gradientColorOfHeights() {
    QFETCH(float, minZ);
    QFETCH(float, maxZ);
    QFETCH(float, z);
    QFETCH(uint, color);
    QCOMPARE(GradientColor(Range(minZ, maxZ), z), QRgb(color));
    // The scale of the gradient lines agrees away from exact halves.
    QCOMPARE(TZColorScale(Range(minZ, maxZ))(z), QRgb(color));
  }

  void nodeBelowMinZIsGreyWhenSelected() {
    const TProjectValues values = Range(0, 100);
    QCOMPARE(NodeColor(values, -1, true), qRgb(128, 128, 128));
    QCOMPARE(NodeColor(values, -1, false), qRgb(0, 0, 0));
    QCOMPARE(NodeColor(values, 101, true), qRgb(255, 255, 255));
    QCOMPARE(NodeColor(values, 0, true), Entry(0));
  }

  void polygonColorIsItsOwnOrTheMeanHeight() {
    TEditor editor;
    editor.Values = Range(0, 900);
    editor.Nodes.NewNode("", "", 0, 0, 0);
    editor.Nodes.NewNode("", "", 1, 0, 300);
    editor.Nodes.NewNode("", "", 0, 1, 600);
    const int p = editor.Polygons.NewPolygon(0, 1, 2, "", "", "");
    QCOMPARE(PolygonColor(editor, editor.Polygons[p]), Entry(186));  // mean 300 of 900
    editor.Nodes[0].Z = -3000;                                       // mean below MinZ
    QCOMPARE(PolygonColor(editor, editor.Polygons[p]), qRgb(0, 0, 0));
    editor.Polygons[p].Color = 0x00336699;  // stored as $00BBGGRR
    QCOMPARE(PolygonColor(editor, editor.Polygons[p]), qRgb(0x99, 0x66, 0x33));
  }

  void orientationOfTheCorners_data() {
    QTest::addColumn<QPointF>("a");
    QTest::addColumn<QPointF>("b");
    QTest::addColumn<QPointF>("c");
    QTest::addColumn<bool>("ground");
    // Y grows downwards: the new-project triangle (top, bottom left, bottom right) is ground.
    QTest::newRow("new-project triangle")
        << QPointF(0, -256) << QPointF(-256, 256) << QPointF(256, 256) << true;
    QTest::newRow("turned round") << QPointF(0, -256) << QPointF(256, 256) << QPointF(-256, 256) << false;
    QTest::newRow("on one line") << QPointF(0, 0) << QPointF(1, 1) << QPointF(2, 2) << true;
  }
  void orientationOfTheCorners() {
    QFETCH(QPointF, a);
    QFETCH(QPointF, b);
    QFETCH(QPointF, c);
    QFETCH(bool, ground);
    const auto node = [](QPointF p) {
      T3DCoord n;
      n.X = float(p.x());
      n.Y = float(p.y());
      return n;
    };
    QCOMPARE(IsGround(node(a), node(b), node(c)), ground);
  }
};

TERRAVEL_TEST(TestColors)
#include "tst_Colors.moc"
