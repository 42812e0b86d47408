// Hit testing: what the pick buffer says lies under a pixel.
#include <QTest>

#include <functional>

#include "RenderTestSupport.h"
#include "model/actions/Requests.h"
#include "model/interaction/NodeDrag.h"
#include "render/LabelPainter.h"
#include "support/TestRegistry.h"

using namespace terravel;
using namespace terravel::test;

Q_DECLARE_METATYPE(terravel::TPickHit)

using TEdit = std::function<void(TEditor&, TViewportRenderer&)>;
Q_DECLARE_METATYPE(TEdit)

namespace {

const TPickHit kNothing{};
TPickHit Node(int i) {
  return {TPickKind::Node, i};
}
TPickHit Polygon(int i) {
  return {TPickKind::Polygon, i};
}

// Two triangles sharing the edge from (0, -100) to (0, 100): polygon 0 on the left (ground), 1 on
// the right (sky).
void TwoTriangles(TEditor& editor) {
  PlainView(editor);
  AddNode(editor, 0, -100);
  AddNode(editor, 0, 100);
  AddNode(editor, -180, 0);
  AddNode(editor, 180, 0);
  AddTriangle(editor, 0, 2, 1);
  AddTriangle(editor, 0, 3, 1);
}

// Sends the model's change sets to the renderer, as the top view does.
class TRendererHost : public TNullHost {
 public:
  TViewportRenderer* Renderer = nullptr;
  void Publish(const TChangeSet& changes) override {
    if (changes.Mesh() || changes.Records || changes.RecordValues) Renderer->Redraw(true);
  }
  void ViewChanged(bool full) override { Renderer->Redraw(full); }
  void SuspendRedraw() override { Renderer->SuspendRedraw(); }
  void ResumeRedraw() override { Renderer->ResumeRedraw(); }
};

}  // namespace

class TestPickBuffer : public QObject {
  Q_OBJECT
 private slots:
  void whatLiesUnderAPixel_data() {
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<TPickHit>("hit");
    QTest::newRow("node centre") << QPoint(200, 50) << Node(0);
    QTest::newRow("other node centre") << QPoint(20, 150) << Node(2);
    // Zoom 1: r = 3, circles of radius 3r grown by half the pen of width r + 9.
    QTest::newRow("node circle edge") << QPoint(200, 50 - 14) << Node(0);
    QTest::newRow("beyond the node circle") << QPoint(200, 50 - 17) << kNothing;
    QTest::newRow("left outer edge") << QPoint(110, 100) << Polygon(0);
    QTest::newRow("beside the edge, inside") << QPoint(110, 105) << Polygon(0);
    QTest::newRow("right outer edge") << QPoint(290, 100) << Polygon(1);
    QTest::newRow("shared edge: higher index wins") << QPoint(200, 120) << Polygon(1);
    QTest::newRow("interior") << QPoint(175, 150) << kNothing;
    QTest::newRow("centre circle") << QPoint(128, 150) << Polygon(0);
    QTest::newRow("outside") << QPoint(20, 20) << kNothing;
  }
  void whatLiesUnderAPixel() {
    QFETCH(QPoint, pixel);
    QFETCH(TPickHit, hit);
    TEditor editor;
    TwoTriangles(editor);
    TViewportRenderer renderer(editor);
    renderer.RenderPickBuffer();
    QCOMPARE(renderer.PickAt(pixel.x(), pixel.y()), hit);
  }

  void codesAreExactColours() {
    TEditor editor;
    TwoTriangles(editor);
    TViewportRenderer renderer(editor);
    renderer.RenderPickBuffer();
    const QImage& pick = renderer.PickBuffer();
    QCOMPARE(pick.pixel(20, 20) & 0xFFFFFF, 0xFFFFFFu);
    QCOMPARE(pick.pixel(20, 150) & 0xFFFFFF, 2u);
    QCOMPARE(pick.pixel(290, 100) & 0xFFFFFF, 0x7FFFFFu + 1);
  }

  void nodeCirclesGrowWithThePolygonPen() {
    TEditor editor;
    PlainView(editor);
    AddNode(editor, 0, 0);
    TViewportRenderer renderer(editor);
    renderer.RenderPickBuffer();
    // No polygon drawn yet: the thin pen leaves the circle at radius 3r = 9, selected or not.
    QCOMPARE(renderer.PickAt(200, 150 + 8), Node(0));
    QCOMPARE(renderer.PickAt(200, 150 + 11), kNothing);
    editor.Nodes.SetSelected(0, true);
    renderer.RenderPickBuffer();
    QCOMPARE(renderer.PickAt(200, 150 + 11), kNothing);
    // A polygon anywhere (here far off-screen) leaves the wide pen: radius 9 + 6.
    AddNode(editor, 5000, 5000);
    AddNode(editor, 5001, 5000);
    AddNode(editor, 5000, 5001);
    AddTriangle(editor, 1, 2, 3);
    renderer.RenderPickBuffer();
    QCOMPARE(renderer.PickAt(200, 150 + 11), Node(0));
    QCOMPARE(renderer.PickAt(200, 150 + 14), Node(0));
  }

  void labelsCanBePicked() {
    TEditor editor;
    TwoTriangles(editor);
    editor.Polygons.SetName(0, "Long polygon name");
    TViewportRenderer renderer(editor);
    renderer.Flags.ShowPolygonNames = true;
    renderer.RenderPickBuffer();
    // The centre of polygon 0 is (140, 150); the label spreads well beyond the centre circle.
    TLabelPainter labels;
    const int half = labels.TextSize(" Long polygon name ", false).width() / 2;
    QVERIFY(half > 40);
    QCOMPARE(renderer.PickAt(140 - half + 2, 150), Polygon(0));
    QCOMPARE(renderer.PickAt(140 + half - 30, 150), Polygon(0));
    // The label area sits inside the triangle, the interior below it stays empty.
    QCOMPARE(renderer.PickAt(140, 150 + labels.TextHeight(false) + 10), kNothing);
  }

  void emptyTextureHasACircleInsteadOfALabel() {
    TEditor editor;
    TwoTriangles(editor);
    TViewportRenderer renderer(editor);
    renderer.Flags.ShowTextureNames = true;
    renderer.RenderScene();
    renderer.RenderPickBuffer();
    // The picture shows " [ground] " at the centre (140, 150) on light grey...
    TLabelPainter labels;
    const int half = labels.TextSize(" [ground] ", false).width() / 2;
    QVERIFY(half > 20);
    QCOMPARE(Pixel(renderer.BackBuffer(), 140 - half + 1, 150), qRgb(160, 160, 160));
    // ...while the pick buffer has only the centre circle of radius 3r + 6 = 15 there.
    QCOMPARE(renderer.PickAt(140 - 14, 150), Polygon(0));
    QCOMPARE(renderer.PickAt(140 - half + 1, 150), kNothing);
    // A texture gives a label area of its own text.
    editor.Polygons[0].Texture = std::string("GenEarth.VeryLongTextureName");
    renderer.RenderPickBuffer();
    QCOMPARE(renderer.PickAt(140 - 20, 150), Polygon(0));
  }

  // The window redraws the picture after every change and leaves the pick buffer to the next
  // click; that click must see the scene after the change, exactly as a fresh pick buffer shows it.
  void clickAfterAnEditSeesTheEdit_data() {
    QTest::addColumn<TEdit>("edit");
    QTest::newRow("node dragged") << TEdit([](TEditor& e, TViewportRenderer& r) {
      DoSelectNode(e, 2, true);
      DragSelectedNodes(e, 60, 30);
      r.Redraw(true);
    });
    QTest::newRow("dragged and dropped") << TEdit([](TEditor& e, TViewportRenderer& r) {
      DoSelectNode(e, 3, true);
      DragSelectedNodes(e, -50, 0);
      r.Redraw(true);
      EndDrag(e);
    });
    QTest::newRow("removed") << TEdit([](TEditor& e, TViewportRenderer&) {
      DoSelectNode(e, 0, true);
      DoRemove(e);
    });
    QTest::newRow("undone") << TEdit([](TEditor& e, TViewportRenderer&) {
      DoSelectPoly(e, 1, true);
      DoRemove(e);
      e.History.UndoLast();
    });
    QTest::newRow("name shown") << TEdit([](TEditor& e, TViewportRenderer&) {
      e.Polygons.SetName(0, "A long name for a label");
      DoSelectPoly(e, 0, true);
    });
    QTest::newRow("panned") << TEdit([](TEditor& e, TViewportRenderer& r) {
      PanBy(e, 30, -20);
      r.Redraw(false);
    });
    QTest::newRow("zoomed") << TEdit([](TEditor& e, TViewportRenderer&) { ZoomBy(e, 7); });
    QTest::newRow("texture labels on") << TEdit([](TEditor& e, TViewportRenderer& r) {
      e.Polygons[1].Texture = std::string("GenEarth.Grass");
      r.Flags.ShowTextureNames = true;
      r.Redraw(true);
    });
    QTest::newRow("resized") << TEdit([](TEditor&, TViewportRenderer& r) { r.ResizeViewport(300, 200); });
  }
  void clickAfterAnEditSeesTheEdit() {
    QFETCH(TEdit, edit);
    TRendererHost host;
    TEditor editor(&host);
    TwoTriangles(editor);
    TViewportRenderer renderer(editor);
    host.Renderer = &renderer;
    renderer.Redraw(true);
    QCOMPARE(renderer.PickAt(200, 50), Node(0));
    const QImage before = renderer.PickBuffer().copy();

    edit(editor, renderer);
    // Redraws draw the picture only.
    QVERIFY(!renderer.PickBufferCurrent());
    renderer.UpdatePickBuffer();
    QVERIFY(renderer.PickBufferCurrent());
    TViewportRenderer fresh(editor);
    fresh.Flags = renderer.Flags;
    fresh.RenderPickBuffer();
    QVERIFY(renderer.PickBuffer() != before);
    QVERIFY(renderer.PickBuffer() == fresh.PickBuffer());
    for (int i = 0; i < editor.Nodes.Count(); ++i) {
      const TScreenPoint p = NodeScreenPosition(editor, editor.Nodes[i]);
      if (renderer.PickBuffer().valid(p.X, p.Y)) QCOMPARE(renderer.PickAt(p.X, p.Y), Node(i));
    }
  }
};

TERRAVEL_TEST(TestPickBuffer)
#include "tst_PickBuffer.moc"
