// The picture the user sees: node colours, the grid, selection dots, outlines, labels, readouts.
#include <QTest>

#include <functional>
#include <string>

#include "RenderTestSupport.h"
#include "model/project/NewProject.h"
#include "render/Colors.h"
#include "render/GradientTable.h"
#include "render/LabelPainter.h"
#include "support/TestRegistry.h"

using namespace terravel;
using namespace terravel::test;

namespace {

QRgb Entry(int index) {
  return GradientTable()[static_cast<std::size_t>(index)];
}
constexpr QRgb kSilver = 0xFFC0C0C0, kGrey = 0xFF808080, kLightGrey = 0xFFA0A0A0;

}  // namespace

class TestScene : public QObject {
  Q_OBJECT
 private slots:
  void nodesShowTheirHeightColour_data() {
    QTest::addColumn<float>("minZ");
    QTest::addColumn<float>("maxZ");
    QTest::addColumn<float>("z");
    QTest::addColumn<bool>("selected");
    QTest::addColumn<uint>("color");
    QTest::newRow("lowest") << 0.f << 1024.f << 0.f << false << uint(Entry(0));
    QTest::newRow("highest") << 0.f << 1024.f << 1024.f << false << uint(Entry(558));
    QTest::newRow("MinZ = MaxZ") << 10.f << 10.f << 10.f << false << uint(Entry(279));
    QTest::newRow("below MinZ") << 0.f << 1024.f << -1.f << false << uint(qRgb(0, 0, 0));
    QTest::newRow("below MinZ, selected") << 0.f << 1024.f << -1.f << true << uint(qRgb(128, 128, 128));
    QTest::newRow("above MaxZ") << 0.f << 1024.f << 2000.f << false << uint(qRgb(255, 255, 255));
  }
  void nodesShowTheirHeightColour() {
    QFETCH(float, minZ);
    QFETCH(float, maxZ);
    QFETCH(float, z);
    QFETCH(bool, selected);
    QFETCH(uint, color);
    TEditor editor;
    PlainView(editor);
    editor.Values.MinZ = minZ;
    editor.Values.MaxZ = maxZ;
    editor.View.ShowZ = true;  // the label sits beside the marker, not on it
    AddNode(editor, 50, 20, z);
    editor.Nodes.SetSelected(0, selected);
    TViewportRenderer renderer(editor);
    renderer.RenderScene();
    const QImage& image = renderer.BackBuffer();
    QCOMPARE(Pixel(image, 250, 170), QRgb(color));
    // Round(3 * Zoom) = 3 pixels, doubled when selected.
    const int r = selected ? 6 : 3;
    QCOMPARE(Pixel(image, 250 - r, 170), QRgb(color));
    QCOMPARE(Pixel(image, 250 - r - 1, 170), kSilver);
  }

  void gridLevelsKeepLinesApart_data() {
    QTest::addColumn<int>("grid");
    QTest::addColumn<float>("zoom");
    QTest::addColumn<int>("spacing");    // pixels between drawn lines
    QTest::addColumn<int>("darkEvery");  // every how many drawn lines is dark grey
    QTest::newRow("64 at 0.5: every line") << 64 << 0.5f << 32 << 8;
    QTest::newRow("1 at 0.5: every 16th line, all dark") << 1 << 0.5f << 8 << 1;
    QTest::newRow("16 at 0.25: every 2nd line") << 16 << 0.25f << 8 << 4;
    QTest::newRow("256 at 1: every line") << 256 << 1.f << 256 << 8;
  }
  void gridLevelsKeepLinesApart() {
    QFETCH(int, grid);
    QFETCH(float, zoom);
    QFETCH(int, spacing);
    QFETCH(int, darkEvery);
    TEditor editor;
    PlainView(editor);
    editor.View.Size = {960, 594};
    editor.View.Zoom = zoom;
    editor.Values.GridX = editor.Values.GridY = grid;
    TViewportRenderer renderer(editor);
    renderer.RenderScene();
    const QImage& image = renderer.BackBuffer();
    // Along row 5 (away from the origin marker), the vertical lines; along column 5 the horizontal ones.
    for (int x = 0; x < 960; ++x) {
      const int offset = x - 480;
      const QRgb expected = offset % spacing != 0                 ? kSilver
                            : (offset / spacing) % darkEvery == 0 ? kGrey
                                                                  : kLightGrey;
      QVERIFY2(Pixel(image, x, 5) == expected, qPrintable(QString("column %1").arg(x)));
    }
    for (int y = 0; y < 594; ++y) {
      const int offset = y - 297;
      if (offset % spacing == 0)
        QVERIFY2(Pixel(image, 5, y) != kSilver, qPrintable(QString("row %1").arg(y)));
    }
    editor.Values.GridX = editor.Values.GridY = 0;
    renderer.RenderScene();
    QCOMPARE(Pixel(image, 480, 5), kSilver);
  }

  void insideOfATriangleShowsTheBackground() {
    TEditor editor;
    PlainView(editor);
    AddNode(editor, -150, -100);
    AddNode(editor, 150, -100);
    AddNode(editor, 0, 120);
    AddTriangle(editor, 0, 1, 2);
    TViewportRenderer renderer(editor);
    renderer.RenderScene();
    renderer.RenderPickBuffer();
    // Between edge and centre cross: the view's silver in the picture, nothing in the pick buffer.
    QCOMPARE(Pixel(renderer.BackBuffer(), 150, 90), kSilver);
    QCOMPARE(renderer.PickAt(150, 90), TPickHit{});
    // The centre (0, -27) carries the cross in the polygon's colour (Z 0 of 0..1024: blue).
    QCOMPARE(Pixel(renderer.BackBuffer(), 200, 123), Entry(0));
  }

  void selectedPolygonIsDotted() {
    TEditor editor;
    PlainView(editor);
    AddNode(editor, -190, -140);
    AddNode(editor, 190, -140);
    AddNode(editor, -190, 140);
    AddTriangle(editor, 0, 1, 2);
    editor.Polygons.SetSelected(0, true);
    editor.Polygons[0].Color = 0x000000FF;  // red
    editor.Polygons[0].Texture = std::string("T");
    TViewportRenderer renderer(editor);
    renderer.RenderScene();
    const QImage& image = renderer.BackBuffer();
    // A block in the upper left, away from edges and labels: two dots per 8 x 4 cell.
    for (int y = 24; y < 40; ++y) {
      for (int x = 40; x < 72; ++x) {
        const bool dot = (y % 4 == 0 && x % 8 == 0) || (y % 4 == 2 && x % 8 == 4);
        QVERIFY2(Pixel(image, x, y) == (dot ? qRgb(255, 0, 0) : kSilver),
                 qPrintable(QString("%1,%2").arg(x).arg(y)));
      }
    }
    // Not selected: no dots.
    editor.Polygons.SetSelected(0, false);
    renderer.RenderScene();
    QCOMPARE(Pixel(image, 40, 24), kSilver);
  }

  void outlinesRunThroughTheGradient() {
    TEditor editor;
    PlainView(editor);
    editor.Values.MinZ = 0;
    editor.Values.MaxZ = 1000;
    AddNode(editor, -150, 0, 0);
    AddNode(editor, 150, 0, 1000);
    AddNode(editor, 0, 140, 500);
    AddTriangle(editor, 0, 1, 2);
    TViewportRenderer renderer(editor);
    renderer.RenderScene();
    const QImage& image = renderer.BackBuffer();
    // The top edge runs from x 50 (Z 0) to x 350 (Z 1000) along row 150.
    QCOMPARE(Pixel(image, 60, 150), Entry(19));    // 10 of 300 pixels: Z 33.3
    QCOMPARE(Pixel(image, 200, 150), Entry(279));  // half way
    QCOMPARE(Pixel(image, 340, 150), Entry(539));
    // Solid lines take the polygon's colour: the mean Z 500.
    renderer.Flags.GradientLines = false;
    renderer.RenderScene();
    QCOMPARE(Pixel(image, 60, 150), Entry(279));
    QCOMPARE(Pixel(image, 340, 150), Entry(279));
    // A selected polygon's outline is 3 pixels wide.
    QCOMPARE(Pixel(image, 100, 151), kSilver);
    editor.Polygons.SetSelected(0, true);
    renderer.RenderScene();
    QCOMPARE(Pixel(image, 100, 149), Entry(279));
    QCOMPARE(Pixel(image, 100, 151), Entry(279));
  }

  void linesFarOutsideTheViewAreClipped() {
    TEditor editor;
    PlainView(editor);
    // A triangle whose corners lie at the float limit; only its top edge crosses the view, on row 160.
    AddNode(editor, -1e30f, 10);
    AddNode(editor, 1e30f, 10);
    AddNode(editor, 0, 3e38f);
    AddTriangle(editor, 0, 1, 2);
    TViewportRenderer renderer(editor);
    renderer.RenderScene();
    for (const QPoint& p : PixelsOtherThan(renderer.BackBuffer(), kSilver)) {
      const bool originMarker = std::abs(p.x() - 200) <= 2 && std::abs(p.y() - 150) <= 2;
      QVERIFY2(p.y() == 160 || originMarker, qPrintable(QString("stray pixel %1,%2").arg(p.x()).arg(p.y())));
    }
    QCOMPARE(Pixel(renderer.BackBuffer(), 0, 160), Entry(0));
    QCOMPARE(Pixel(renderer.BackBuffer(), 399, 160), Entry(0));
    renderer.RenderPickBuffer();
    QCOMPARE(renderer.PickAt(0, 160), (TPickHit{TPickKind::Polygon, 0}));
    QCOMPARE(renderer.PickAt(0, 180), TPickHit{});

    // A large mesh at the highest zoom: most edges run far beyond the view.
    NewMesh(editor, 64);
    editor.View.Zoom = 20;
    editor.View.PanX = 1e7f;
    renderer.Flags.GradientLines = true;
    renderer.Redraw(true);
    editor.View.PanX = 0;
    renderer.Redraw(true);
    QVERIFY(renderer.PickAt(200, 150).Kind != TPickKind::Nothing);
  }

  void labelsAndReadouts() {
    TEditor editor;
    PlainView(editor);
    AddNode(editor, -150, -100);
    AddNode(editor, 150, -100);
    AddNode(editor, 0, 120);
    AddTriangle(editor, 0, 1, 2);
    editor.Polygons.SetName(0, "Meadow");
    TViewportRenderer renderer(editor);
    renderer.Flags.ShowPolygonNames = true;
    renderer.RenderScene();
    const QImage& image = renderer.BackBuffer();
    // One label, centred on the centre (200, 123), on light grey; no cross.
    TLabelPainter labels;
    const QSize size = labels.TextSize(" Meadow ", false);
    const int left = 200 - size.width() / 2, top = 123 - size.height() / 2;
    QCOMPARE(Pixel(image, left + 1, top + 1), kLightGrey);
    QCOMPARE(Pixel(image, left + size.width() - 1, top + size.height() - 1), kLightGrey);
    QCOMPARE(Pixel(image, left - 1, top + 1), kSilver);

    // Readouts in navy at the top left; the centre cross with the position.
    QVERIFY(PixelsOtherThan(image.copy(0, 0, 200, 30), kSilver).isEmpty());
    renderer.Flags.ShowPosition = true;
    renderer.Flags.ShowScale = true;
    renderer.RenderScene();
    QCOMPARE(Pixel(image, 195, 150), qRgb(0, 0, 128));
    QCOMPARE(Pixel(image, 200, 155), qRgb(0, 0, 128));
    // Position on the first line, scale on the second.
    const int h = labels.TextHeight(false);
    QVERIFY(!PixelsOtherThan(image.copy(2, 2, 150, h), kSilver).isEmpty());
    QVERIFY(!PixelsOtherThan(image.copy(2, 2 + h, 150, h), kSilver).isEmpty());
    renderer.Flags.ShowPosition = false;
    renderer.RenderScene();
    QVERIFY(!PixelsOtherThan(image.copy(2, 2, 150, h), kSilver).isEmpty());
    QVERIFY(PixelsOtherThan(image.copy(2, 2 + h, 150, h), kSilver).isEmpty());
  }

  // The bound that lets a covered label go unmeasured is never narrower than the text.
  void widthBoundHoldsTheText_data() {
    QTest::addColumn<QString>("text");
    for (const char* text : {" AVAVAVAV ", " WAWAWA ", " LTLTLT ", " To.Yo.Vo. ", " ffiffl ", " 1111111 ",
                             " -9223372036854775808 ", " iiiiiiiiii ", " [Ground] ", " M "}) {
      QTest::newRow(text) << QString::fromLatin1(text);
    }
  }
  void widthBoundHoldsTheText() {
    QFETCH(QString, text);
    TLabelPainter labels;
    const std::string plain = text.toStdString();
    for (const bool bold : {false, true})
      QVERIFY(labels.WidthBound(plain, bold) >= labels.TextSize(plain, bold).width());
  }

  // What a renderer keeps from one picture to the next (label pictures, widths, its lists) never
  // shows: after a change its picture is the one a fresh renderer draws.
  void pictureAfterAChangeIsAFreshOne_data() {
    QTest::addColumn<std::function<void(TEditor&)>>("change");
    QTest::newRow("selection") << std::function<void(TEditor&)>([](TEditor& e) {
      for (int i = 0; i < e.Nodes.Count(); i += 3) e.Nodes.SetSelected(i, false);
      for (int i = 0; i < e.Polygons.Count(); i += 2) e.Polygons.SetSelected(i, false);
    });
    QTest::newRow("heights") << std::function<void(TEditor&)>([](TEditor& e) {
      for (T3DCoord& node : e.Nodes) node.Z = node.Z * 7 + 1000;
    });
    QTest::newRow("names and textures") << std::function<void(TEditor&)>([](TEditor& e) {
      for (int i = 0; i < e.Nodes.Count(); i += 2) e.Nodes.SetName(i, "Hill" + std::to_string(i));
      for (TPoly& polygon : e.Polygons) polygon.Texture = "Rock.Wet";
    });
  }
  void pictureAfterAChangeIsAFreshOne() {
    QFETCH(std::function<void(TEditor&)>, change);
    TEditor editor;
    editor.ClearDocument();
    editor.View.Size = {kWidth, kHeight};
    NewMesh(editor, 16);
    ZoomToFit(editor);
    for (int i = 0; i < editor.Nodes.Count(); ++i) editor.Nodes.SetSelected(i, true);
    for (int i = 0; i < editor.Polygons.Count(); ++i) editor.Polygons.SetSelected(i, i % 5 != 0);
    TViewportRenderer kept(editor);
    kept.RenderScene();
    change(editor);
    kept.RenderScene();
    TViewportRenderer fresh(editor);
    fresh.RenderScene();
    QCOMPARE(kept.BackBuffer(), fresh.BackBuffer());
  }

  void focusFrameIsThreePixels() {
    TEditor editor;
    PlainView(editor);
    TViewportRenderer renderer(editor);
    renderer.Flags.ViewportFocused = true;
    renderer.RenderScene();
    const QImage& image = renderer.BackBuffer();
    const QRgb frame = SystemColor(kSystemHighlight);
    for (int i = 0; i < 3; ++i) {
      QCOMPARE(Pixel(image, i, 100), frame);
      QCOMPARE(Pixel(image, 399 - i, 100), frame);
      QCOMPARE(Pixel(image, 100, 299 - i), frame);
    }
    QCOMPARE(Pixel(image, 3, 100), kSilver);
  }

  void redrawsWaitWhileSuspended() {
    TEditor editor;
    PlainView(editor);
    AddNode(editor, 0, 0, 0);
    TViewportRenderer renderer(editor);
    int presented = 0;
    renderer.SetPresenter([&] { ++presented; });
    renderer.Redraw(true);
    QCOMPARE(presented, 1);
    QCOMPARE(renderer.PickAt(200, 150), (TPickHit{TPickKind::Node, 0}));

    renderer.SuspendRedraw();
    renderer.SuspendRedraw();
    editor.Nodes[0].X = 100;
    editor.Nodes[0].BaseX = 100;
    renderer.Redraw(true);
    renderer.ResumeRedraw();  // still suspended once
    QCOMPARE(presented, 1);
    QCOMPARE(renderer.PickAt(200, 150), (TPickHit{TPickKind::Node, 0}));
    QVERIFY(renderer.RedrawSuspended());
    renderer.ResumeRedraw();  // the last one redraws fully
    QCOMPARE(presented, 2);
    QVERIFY(!renderer.RedrawSuspended());
    QCOMPARE(renderer.PickAt(200, 150), TPickHit{});
    QCOMPARE(renderer.PickAt(300, 150), (TPickHit{TPickKind::Node, 0}));

    // A light redraw leaves the pick buffer as it was.
    editor.Nodes[0].X = editor.Nodes[0].BaseX = -100;
    renderer.Redraw(false);
    QCOMPARE(presented, 3);
    QCOMPARE(renderer.PickAt(300, 150), (TPickHit{TPickKind::Node, 0}));
    QCOMPARE(Pixel(renderer.BackBuffer(), 100, 150), Entry(0));
  }

  void resizeDrawsBothBuffersAtTheNewSize() {
    TEditor editor;
    PlainView(editor);
    AddNode(editor, 0, 0, 0);
    TViewportRenderer renderer(editor);
    renderer.ResizeViewport(120, 80);
    QCOMPARE(editor.View.Size.Width, 120);
    QCOMPARE(renderer.BackBuffer().size(), QSize(120, 80));
    QCOMPARE(renderer.PickBuffer().size(), QSize(120, 80));
    QCOMPARE(Pixel(renderer.BackBuffer(), 60, 40), Entry(0));
    QCOMPARE(renderer.PickAt(60, 40), (TPickHit{TPickKind::Node, 0}));
    renderer.ResizeViewport(0, 0);  // a minimised window
    QVERIFY(renderer.BackBuffer().isNull());
    QCOMPARE(renderer.PickAt(0, 0), TPickHit{});
  }
};

TERRAVEL_TEST(TestScene)
#include "tst_Scene.moc"
