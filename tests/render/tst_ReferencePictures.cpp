// The picture and the pick buffer of the example projects, of a large mesh and of nodes far out,
// compared pixel for pixel with pictures kept in tests/data/render. They were drawn before the
// renderer was made faster; any change to the drawing must leave them as they are.
//
// To draw them again on purpose (after a deliberate change to what the viewport shows):
//   TERRAVEL_WRITE_REFERENCES=1 QT_QPA_PLATFORM=offscreen build/tests/tst_render
#include <QDir>
#include <QImage>
#include <QTest>

#include <cmath>
#include <functional>

#include "model/editor/Editor.h"
#include "model/project/NewProject.h"
#include "model/projectfile/ProjectFile.h"
#include "model/view/ViewTransform.h"
#include "render/ViewportRenderer.h"
#include "support/TestRegistry.h"

using namespace terravel;

namespace {

using TSetUp = std::function<void(TEditor&, TViewFlags&)>;

void Example(TEditor& editor, const char* name) {
  LoadProjectFile(editor, std::string(TERRAVEL_EXAMPLES_DIR) + "/" + name);
}

// A hilly 128 x 128 mesh (33,282 polygons) with some nodes and polygons selected, so that thick
// outlines, selection dots and bold labels appear all over it.
void HillyMesh(TEditor& editor) {
  NewMesh(editor, 128);
  for (T3DCoord& node : editor.Nodes) {
    node.Z = std::round(512 + 500 * std::sin(node.X / 3000.0f) * std::cos(node.Y / 4100.0f));
  }
  for (int i = 0; i < editor.Nodes.Count(); i += 97) editor.Nodes[i].Selected = true;
  for (int i = 0; i < editor.Polygons.Count(); i += 89) editor.Polygons[i].Selected = true;
}

// Nodes at +-1e30 joined to nodes in view: edges that must be clipped, and markers far away.
void FarNodes(TEditor& editor) {
  const int a = editor.Nodes.NewNode("", "near", -100, -50, 10);
  const int b = editor.Nodes.NewNode("", "", 120, 80, 900);
  const int far1 = editor.Nodes.NewNode("", "far", 1e30f, 40, 500);
  const int far2 = editor.Nodes.NewNode("", "", -30, -1e30f, 1e30f);
  const int far3 = editor.Nodes.NewNode("", "", -1e30f, 1e30f, -1e30f);
  editor.Polygons.NewPolygon(a, b, far1, "Tex.A", "", "toward x");
  editor.Polygons.NewPolygon(b, a, far2, "", "", "toward y");
  editor.Polygons.NewPolygon(a, far3, b, "Tex.B", "", "");
  editor.Polygons.NewPolygon(far1, far2, far3, "", "", "all far");
  editor.Nodes[b].Selected = true;
  editor.Polygons[2].Selected = true;
  editor.View.Zoom = 1.5f;
}

QString ReferencePath(const QString& name) {
  return QStringLiteral(TERRAVEL_TEST_DATA "/render/") + name + QStringLiteral(".png");
}

// Writes the picture when asked to, otherwise compares it with the kept one.
void CheckPicture(const QImage& image, const QString& name) {
  const QString path = ReferencePath(name);
  // Saved without the alpha byte, which the buffers leave at 0xFF anyway.
  const QImage picture = image.convertToFormat(QImage::Format_RGB32);
  if (qEnvironmentVariableIsSet("TERRAVEL_WRITE_REFERENCES")) {
    QVERIFY2(picture.save(path, "png", 9), qPrintable(path));
    return;
  }
  const QImage kept(path);
  QVERIFY2(!kept.isNull(), qPrintable("missing " + path));
  const QImage expected = kept.convertToFormat(QImage::Format_RGB32);
  QCOMPARE(picture.size(), expected.size());
  for (int y = 0; y < picture.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
    const auto* want = reinterpret_cast<const QRgb*>(expected.constScanLine(y));
    for (int x = 0; x < picture.width(); ++x) {
      if (row[x] != want[x]) {
        QFAIL(qPrintable(QStringLiteral("%1: pixel (%2, %3) is %4, was %5")
                             .arg(name)
                             .arg(x)
                             .arg(y)
                             .arg(row[x] & 0xFFFFFF, 6, 16, QLatin1Char('0'))
                             .arg(want[x] & 0xFFFFFF, 6, 16, QLatin1Char('0'))));
      }
    }
  }
}

}  // namespace

Q_DECLARE_METATYPE(TSetUp)

class TestReferencePictures : public QObject {
  Q_OBJECT
 private slots:
  void picturesStayAsTheyWere_data() {
    QTest::addColumn<TSetUp>("setUp");
    QTest::newRow("valley") << TSetUp([](TEditor& e, TViewFlags&) { Example(e, "Valley.tvp"); });
    QTest::newRow("ridge") << TSetUp([](TEditor& e, TViewFlags&) { Example(e, "Ridge.tvp"); });
    QTest::newRow("island") << TSetUp([](TEditor& e, TViewFlags&) { Example(e, "Island.tvp"); });
    QTest::newRow("island-labels") << TSetUp([](TEditor& e, TViewFlags& f) {
      Example(e, "Island.tvp");
      f = {true, true, true, false, true, true, true};
      for (int i = 0; i < e.Polygons.Count(); i += 5) e.Polygons[i].Selected = true;
      for (int i = 0; i < e.Nodes.Count(); i += 4) e.Nodes[i].Selected = true;
    });
    QTest::newRow("mesh128") << TSetUp([](TEditor& e, TViewFlags&) { HillyMesh(e); });
    // Everything selected: the labels of every node and polygon pile up under one another.
    QTest::newRow("mesh128-all") << TSetUp([](TEditor& e, TViewFlags&) {
      HillyMesh(e);
      for (T3DCoord& node : e.Nodes) node.Selected = true;
      for (TPoly& polygon : e.Polygons) polygon.Selected = true;
    });
    // Closer in, with node names: outlines, dots and markers half under the labels.
    QTest::newRow("mesh128-all-zoom3") << TSetUp([](TEditor& e, TViewFlags& f) {
      HillyMesh(e);
      for (T3DCoord& node : e.Nodes) node.Selected = true;
      for (int i = 0; i < e.Polygons.Count(); ++i) e.Polygons[i].Selected = i % 3 != 0;
      f.ShowNodeNames = true;
      e.View.Zoom *= 3;
      e.View.PanX = 211;
      e.View.PanY = -97;
    });
    QTest::newRow("mesh128-solid") << TSetUp([](TEditor& e, TViewFlags& f) {
      HillyMesh(e);
      f.GradientLines = false;
      e.View.ShowZ = false;
      e.View.Size = {480, 300};
    });
    QTest::newRow("mesh128-zoom8") << TSetUp([](TEditor& e, TViewFlags&) {
      HillyMesh(e);
      e.View.Zoom *= 8;
      e.View.ShowZ = false;
      e.View.PanX = 37;
      e.View.PanY = -21;
    });
    QTest::newRow("far") << TSetUp([](TEditor& e, TViewFlags& f) {
      FarNodes(e);
      f.ShowPolygonNames = f.ShowNodeNames = true;
    });
  }
  void picturesStayAsTheyWere() {
    QFETCH(TSetUp, setUp);
    TEditor editor;
    editor.ClearDocument();
    editor.View.Size = {960, 594};
    TViewFlags flags;
    setUp(editor, flags);
    TViewportRenderer renderer(editor);
    renderer.Flags = flags;
    renderer.RenderScene();
    renderer.RenderPickBuffer();
    const QString name = QString::fromUtf8(QTest::currentDataTag());
    CheckPicture(renderer.BackBuffer(), name);
    CheckPicture(renderer.PickBuffer(), name + "-pick");
  }
};

TERRAVEL_TEST(TestReferencePictures)
#include "tst_ReferencePictures.moc"
