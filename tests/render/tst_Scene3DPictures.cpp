// The 3-D view's pictures, drawn offscreen (EGL without a display; skipped where it cannot start):
// the colours of ground, sky and selection, and exaggeration lifting a peak on screen.
#include <QTest>

#include <memory>

#include "model/actions/Requests.h"
#include "model/editor/Editor.h"
#include "model/project/NewProject.h"
#include "model/scene3d/Scene3D.h"
#include "render/Colors.h"
#include "render/OffscreenGL.h"
#include "render/Scene3DRenderer.h"
#include "support/TestRegistry.h"

using namespace terravel;

namespace {

constexpr int kSize = 200;

struct TPicture {
  QImage Image;
  TCamera3D Camera;
};

// Seen straight from above, 0..100 filling most of the view.
TPicture Draw(TOffscreenGL& gl, const TEditor& editor, float exaggeration = 1, double elevation = 90,
             bool wireframe = false) {
  TScene3D scene;
  scene.SetExaggeration(exaggeration);
  const TMeshUpdate update = scene.Sync(editor);
  TPicture picture;
  picture.Camera.SetViewport(kSize, kSize);
  picture.Camera.Focus = {50, -50, 0};
  picture.Camera.Azimuth = 0;
  picture.Camera.Elevation = elevation;
  picture.Camera.Distance = 150;
  picture.Camera.SetSceneBounds(scene.Mesh().Bounds());
  TScene3DStyle style = StyleFor(editor.Values);
  style.ShowNodes = false;
  style.Wireframe = wireframe;
  TScene3DRenderer renderer;
  std::string error;
  picture.Image = gl.Picture(kSize, kSize, [&] {
    if (!renderer.Initialise(gl.Resolver(), error)) return;
    renderer.Upload(scene.Mesh(), update);
    renderer.Draw(picture.Camera, style, kSize, kSize);
    renderer.Release();
  });
  if (!error.empty()) qWarning("%s", error.c_str());
  return picture;
}

QRgb Scaled(QRgb c, double f) {
  return qRgb(qRound(qRed(c) * f), qRound(qGreen(c) * f), qRound(qBlue(c) * f));
}

QRgb Mixed(QRgb a, QRgb b) {
  return qRgb((qRed(a) + qRed(b) + 1) / 2, (qGreen(a) + qGreen(b) + 1) / 2, (qBlue(a) + qBlue(b) + 1) / 2);
}

bool Near(QRgb a, QRgb b) {
  return std::abs(qRed(a) - qRed(b)) <= 2 && std::abs(qGreen(a) - qGreen(b)) <= 2 && std::abs(qBlue(a) - qBlue(b)) <= 2;
}

QPoint Pixel(const TCamera3D& camera, double x, double y, double z) {
  TScreenPosition s;
  camera.Project({x, -y, z}, s);
  return {int(s.X), int(s.Y)};
}

}  // namespace

class TestScene3DPictures : public QObject {
  Q_OBJECT
  std::unique_ptr<TOffscreenGL> gl_;

 private slots:
  void initTestCase() {
    std::string error;
    gl_ = TOffscreenGL::Create(error);
    if (!gl_) QSKIP(error.c_str());
  }

  void triangleColours_data() {
    QTest::addColumn<bool>("sky");
    QTest::addColumn<bool>("selected");
    QTest::newRow("ground") << false << false;
    QTest::newRow("sky") << true << false;
    QTest::newRow("selected") << false << true;
  }
  void triangleColours() {
    QFETCH(bool, sky);
    QFETCH(bool, selected);
    TEditor editor;
    editor.Values.MinZ = 0;
    editor.Values.MaxZ = 100;
    editor.Nodes.NewNode("", "", 0, 0, 30);
    editor.Nodes.NewNode("", "", 100, 0, 30);
    editor.Nodes.NewNode("", "", 100, 100, 30);
    // Clockwise on screen (world Y downwards) is sky, the other order ground.
    if (sky)
      editor.Polygons.NewPolygon(0, 1, 2, "", "", "");
    else
      editor.Polygons.NewPolygon(0, 2, 1, "", "", "");
    if (selected) DoSelectPoly(editor, 0, true);
    const TPicture picture = Draw(*gl_, editor);
    QVERIFY(!picture.Image.isNull());
    const TScene3DStyle style = StyleFor(editor.Values);
    const QRgb lit = Scaled(GradientColor(editor.Values, 30), LightFactor({0, 0, 1}));
    // The selection tints the lit colour, lit alike.
    const QRgb tint = Mixed(lit, Scaled(style.Selection, LightFactor({0, 0, 1})));
    const QRgb expected = selected ? tint : sky ? Mixed(lit, style.SkyTint) : lit;
    // Inside: near each corner and the middle; outside: the other half of the square.
    for (const QPointF& p : {QPointF(75, 25), QPointF(90, 5), QPointF(95, 80), QPointF(30, 5)}) {
      const QRgb got = picture.Image.pixel(Pixel(picture.Camera, p.x(), p.y(), 30));
      QVERIFY2(Near(got, expected), qPrintable(QStringLiteral("%1,%2: %3 instead of %4").arg(p.x()).arg(p.y())
                                                   .arg(got, 0, 16).arg(expected, 0, 16)));
    }
    for (const QPointF& p : {QPointF(25, 75), QPointF(5, 90), QPointF(30, 60)})
      QCOMPARE(picture.Image.pixel(Pixel(picture.Camera, p.x(), p.y(), 30)), style.Background);
  }

  // The wireframe draws each edge as a dark line over the faces, the selected ones too, and leaves
  // the faces away from the edges as the shaded picture has them.
  void wireframeLinesTheEdges() {
    TEditor editor;
    editor.Values.MinZ = 0;
    editor.Values.MaxZ = 100;
    editor.Nodes.NewNode("", "", 0, 0, 30);
    editor.Nodes.NewNode("", "", 100, 0, 30);
    editor.Nodes.NewNode("", "", 100, 100, 30);
    editor.Nodes.NewNode("", "", 0, 100, 30);
    editor.Polygons.NewPolygon(0, 2, 1, "", "", "");
    editor.Polygons.NewPolygon(0, 3, 2, "", "", "");
    DoSelectPoly(editor, 1, true);
    const TPicture shaded = Draw(*gl_, editor);
    const TPicture wire = Draw(*gl_, editor, 1, 90, true);
    QVERIFY(!wire.Image.isNull());
    for (const QPointF& p : {QPointF(75, 25), QPointF(25, 75), QPointF(90, 50), QPointF(50, 90)}) {
      const QPoint at = Pixel(wire.Camera, p.x(), p.y(), 30);
      QCOMPARE(wire.Image.pixel(at), shaded.Image.pixel(at));
    }
    // Along the diagonal both triangles share, the line is nearer its colour than the face's.
    for (double t : {20.0, 50.0, 80.0}) {
      const QPoint at = Pixel(wire.Camera, t, t, 30);
      const QRgb face = shaded.Image.pixel(at), line = wire.Image.pixel(at);
      QVERIFY2(qGray(line) < (qGray(face) + 0x20) / 2, qPrintable(QString::number(line, 16)));
    }
  }

  // Nodes moved here and there reach the card by their own vertices (runs a few apart written as
  // one): the picture is the one a full upload of the moved mesh draws.
  void scatteredMovesDrawAsAFullUpload() {
    TEditor editor;
    NewMesh(editor, 16);
    editor.Values.MinZ = 0;
    editor.Values.MaxZ = 1000;
    TScene3D scene;
    const TMeshUpdate all = scene.Sync(editor);
    TCamera3D camera;
    camera.SetViewport(kSize, kSize);
    camera.Elevation = 30;
    camera.SetSceneBounds(scene.Mesh().Bounds());
    camera.Frame(scene.Mesh().AllPoints());
    const TScene3DStyle style = StyleFor(editor.Values);
    TScene3DRenderer partial, full;
    std::string error;
    // The mesh before the moves on the card.
    gl_->Picture(kSize, kSize, [&] {
      partial.Initialise(gl_->Resolver(), error);
      partial.Upload(scene.Mesh(), all);
    });
    for (int k = 0; k < 40; ++k) editor.Nodes[(k * 37 + k * k) % editor.Nodes.Count()].Z += float(100 + 10 * k);
    const TMeshUpdate moved = scene.Sync(editor);
    QVERIFY(!moved.Rebuilt && moved.Vertices.size() > 4);
    TMeshUpdate whole = moved;
    whole.Rebuilt = true;
    const QImage pictures[2] = {gl_->Picture(kSize, kSize,
                                             [&] {
                                               partial.Upload(scene.Mesh(), moved);
                                               partial.Draw(camera, style, kSize, kSize);
                                               partial.Release();
                                             }),
                                gl_->Picture(kSize, kSize, [&] {
                                  full.Initialise(gl_->Resolver(), error);
                                  full.Upload(scene.Mesh(), whole);
                                  full.Draw(camera, style, kSize, kSize);
                                  full.Release();
                                })};
    QVERIFY(!pictures[0].isNull());
    QCOMPARE(pictures[0], pictures[1]);
  }

  void exaggerationLiftsAPeak() {
    // A peak in the middle of a square seen from the side: its top stands higher on screen.
    TEditor editor;
    editor.Values.MinZ = 0;
    editor.Values.MaxZ = 100;
    editor.Nodes.NewNode("", "", 0, 50, 0);
    editor.Nodes.NewNode("", "", 100, 50, 0);
    editor.Nodes.NewNode("", "", 50, 50, 10);
    editor.Nodes.NewNode("", "", 50, 60, 0);
    editor.Polygons.NewPolygon(0, 2, 1, "", "", "");
    editor.Polygons.NewPolygon(0, 3, 2, "", "", "");
    const auto topRow = [](const QImage& image, QRgb background) {
      for (int y = 0; y < image.height(); ++y)
        if (image.pixel(image.width() / 2, y) != background) return y;
      return image.height();
    };
    const QRgb background = StyleFor(editor.Values).Background;
    const TPicture flat = Draw(*gl_, editor, 1, 0);
    const TPicture raised = Draw(*gl_, editor, 5, 0);
    const QPoint expectedFlat = Pixel(flat.Camera, 50, 50, 10);
    const QPoint expectedRaised = Pixel(raised.Camera, 50, 50, 50);
    QVERIFY(std::abs(topRow(flat.Image, background) - expectedFlat.y()) <= 2);
    QVERIFY(std::abs(topRow(raised.Image, background) - expectedRaised.y()) <= 2);
    QVERIFY(expectedRaised.y() < expectedFlat.y() - 20);
  }
};

TERRAVEL_TEST(TestScene3DPictures)
#include "tst_Scene3DPictures.moc"
