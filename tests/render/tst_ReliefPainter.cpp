// The shaded relief: slopes facing the light are brighter than those facing away, in the
// gradient's hue, whichever way the polygons are wound.
#include <QColor>
#include <QTest>

#include "model/editor/Editor.h"
#include "model/view/ViewTransform.h"
#include "render/ReliefPainter.h"
#include "support/TestRegistry.h"

using namespace terravel;

class TestReliefPainter : public QObject {
  Q_OBJECT
 private slots:
  void slopesTowardsTheLightAreBrighter_data() {
    QTest::addColumn<bool>("sky");
    QTest::newRow("ground") << false;
    QTest::newRow("sky") << true;
  }
  void slopesTowardsTheLightAreBrighter() {
    QFETCH(bool, sky);
    // A pyramid: its peak in the middle, four faces down to the corners of a square.
    TEditor editor;
    editor.Values.MinZ = 0;
    editor.Values.MaxZ = 1024;
    editor.Nodes.NewNode("", "", 0, 0, 512);
    editor.Nodes.NewNode("", "", -512, -512, 512);
    editor.Nodes.NewNode("", "", 512, -512, 512);
    editor.Nodes.NewNode("", "", 512, 512, 512);
    editor.Nodes.NewNode("", "", -512, 512, 512);
    editor.Nodes[0].Z = 1024;
    for (int i = 1; i <= 4; ++i) {
      const int next = i % 4 + 1;
      if (sky)
        editor.Polygons.NewPolygon(0, next, i, "", "", "");
      else
        editor.Polygons.NewPolygon(0, i, next, "", "", "");
    }
    ZoomToFit(editor);
    const QImage relief = RenderRelief(editor);
    const auto at = [&](float x, float y) {
      const TScreenPoint p = WorldToScreen(editor, x, y);
      return QColor(relief.pixel(p.X, p.Y));
    };
    const QColor top = at(0, -300), left = at(-300, 0), bottom = at(0, 300), right = at(300, 0);
    // The light comes from the top left: the top and left faces are lit alike, more than the others.
    QCOMPARE(top, left);
    QCOMPARE(bottom, right);
    QVERIFY(top.value() > bottom.value());
    QCOMPARE(top.hue(), bottom.hue());
    QCOMPARE(QColor(relief.pixel(0, 0)), QColor(Qt::white));
  }
};

TERRAVEL_TEST(TestReliefPainter)
#include "tst_ReliefPainter.moc"
