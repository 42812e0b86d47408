// The background picture: where it lands, how it is drawn, and files that are refused.
#include <QTest>

#include "RenderTestSupport.h"
#include "model/core/Errors.h"
#include "support/TempDir.h"
#include "support/TestRegistry.h"

using namespace terravel;
using namespace terravel::test;

namespace {

constexpr QRgb kSilver = 0xFFC0C0C0;
constexpr QRgb kRed = 0xFFFF0000;
constexpr QRgb kBlue = 0xFF0000FF;

// A picture whose left half is red and right half blue.
std::string SavePicture(const TTempFolder& folder, const std::string& name, int width, int height) {
  QImage picture(width, height, QImage::Format_RGB32);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) picture.setPixel(x, y, x < width / 2 ? kRed : kBlue);
  const std::string path = folder.Path(name);
  if (!picture.save(QString::fromStdString(path))) qFatal("cannot write the test picture");
  return path;
}

// The header of a BMP file that announces a huge picture and holds no pixels.
std::string HugeBitmapHeader(int width, int height) {
  std::string bytes(54, '\0');
  const auto put32 = [&](int at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[std::size_t(at + i)] = char((v >> (8 * i)) & 0xFF);
  };
  bytes[0] = 'B';
  bytes[1] = 'M';
  put32(2, 54);
  put32(10, 54);
  put32(14, 40);
  put32(18, std::uint32_t(width));
  put32(22, std::uint32_t(height));
  bytes[26] = 1;   // planes
  bytes[28] = 24;  // bits per pixel
  return bytes;
}

}  // namespace

class TestBackgroundPicture : public QObject {
  Q_OBJECT
 private slots:
  void pictureCoversItsWorldRectangle_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<QPointF>("origin");
    QTest::addColumn<QPointF>("scale");
    QTest::addColumn<QRect>("screen");  // corners as WorldToScreen gives them
    // Zoom 0.5, 960 x 594: world (0, 0) is pixel (480, 297).
    QTest::newRow("200 x 100 at the origin")
        << 200 << 100 << QPointF(0, 0) << QPointF(1, 1) << QRect(QPoint(430, 272), QPoint(530, 322));
    QTest::newRow("odd size: the larger half right and below")
        << 3 << 5 << QPointF(0, 0) << QPointF(10, 10) << QRect(QPoint(475, 287), QPoint(490, 312));
    QTest::newRow("moved and scaled")
        << 200 << 100 << QPointF(100, -50) << QPointF(2, 0.5) << QRect(QPoint(430, 259), QPoint(630, 284));
  }
  void pictureCoversItsWorldRectangle() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(QPointF, origin);
    QFETCH(QPointF, scale);
    QFETCH(QRect, screen);
    TTempFolder folder;
    TEditor editor;
    PlainView(editor);
    editor.View.Size = {960, 594};
    editor.View.Zoom = 0.5f;
    TViewportRenderer renderer(editor);
    renderer.SetBackgroundImage(SavePicture(folder, "map.png", width, height), float(origin.x()),
                                float(origin.y()), float(scale.x()), float(scale.y()));
    QVERIFY(renderer.HasBackgroundImage());
    const TScreenRect rect = renderer.Background().ScreenRect(editor);
    QCOMPARE(QRect(QPoint(rect.TopLeft.X, rect.TopLeft.Y), QPoint(rect.BottomRight.X, rect.BottomRight.Y)),
             screen);

    // Drawn under everything, inside the rectangle only (right and bottom exclusive).
    renderer.RenderScene();
    const QImage& image = renderer.BackBuffer();
    const int left = screen.left(), right = screen.right() + 0, top = screen.top(), bottom = screen.bottom();
    QCOMPARE(Pixel(image, left, bottom - 1), kRed);
    QCOMPARE(Pixel(image, right - 1, top), kBlue);
    QCOMPARE(Pixel(image, left - 1, top), kSilver);
    QCOMPARE(Pixel(image, right, bottom - 1), kSilver);
    QCOMPARE(Pixel(image, right - 1, bottom), kSilver);
  }

  void negativeScaleMirrors() {
    TTempFolder folder;
    TEditor editor;
    PlainView(editor);
    TViewportRenderer renderer(editor);
    renderer.SetBackgroundImage(SavePicture(folder, "map.bmp", 100, 50), 0, 0, -1, 1);
    renderer.RenderScene();
    // The red half now lies right of the origin.
    QCOMPARE(Pixel(renderer.BackBuffer(), 210, 160), kRed);
    QCOMPARE(Pixel(renderer.BackBuffer(), 190, 160), kBlue);
  }

  void clearingKeepsPlacement() {
    TTempFolder folder;
    TEditor editor;
    PlainView(editor);
    TViewportRenderer renderer(editor);
    const std::string path = SavePicture(folder, "map.png", 10, 10);
    renderer.SetBackgroundImage(path, 5, 6, 7, 8);
    renderer.ClearBackgroundImage();
    QVERIFY(!renderer.HasBackgroundImage());
    QCOMPARE(renderer.Background().ScaleH(), 8.f);
    renderer.RenderScene();
    QCOMPARE(Pixel(renderer.BackBuffer(), 240, 190), kSilver);
    // An empty name stores the values and leaves no picture.
    renderer.SetBackgroundImage(path, 0, 0, 1, 1);
    renderer.SetBackgroundImage("", 1, 2, 3, 4);
    QVERIFY(!renderer.HasBackgroundImage());
    QCOMPARE(renderer.Background().OriginX(), 1.f);
  }

  void unusableFilesAreRefused_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << QByteArray() << "";
    QTest::newRow("not a picture") << QByteArray("This is no picture at all.\n") << "";
    QTest::newRow("cut-off PNG") << QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR\0\0", 18) << "";
    const std::string huge = HugeBitmapHeader(20000, 10);
    QTest::newRow("too wide") << QByteArray(huge.data(), qsizetype(huge.size())) << "too large";
    const std::string large = HugeBitmapHeader(16000, 16000);
    QTest::newRow("too many bytes") << QByteArray(large.data(), qsizetype(large.size())) << "too large";
  }
  void unusableFilesAreRefused() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    TTempFolder folder;
    const std::string good = SavePicture(folder, "good.png", 4, 4);
    const std::string bad = folder.Path("bad.bmp");
    if (!bytes.isEmpty()) WriteWholeFile(bad, bytes.toStdString());
    TEditor editor;
    PlainView(editor);
    TViewportRenderer renderer(editor);
    renderer.SetBackgroundImage(good, 1, 2, 3, 4);
    try {
      renderer.SetBackgroundImage(bad, 10, 20, 30, 40);
      QFAIL("the file was accepted");
    } catch (const ETerravelError& error) {
      const QString message = QString::fromStdString(error.what());
      QVERIFY2(message.contains(QString::fromStdString(bad)), qPrintable(message));
      QVERIFY2(message.contains(reason), qPrintable(message));
    }
    // The last good picture stays, with its placement.
    QVERIFY(renderer.HasBackgroundImage());
    QCOMPARE(renderer.Background().Picture().width(), 4);
    QCOMPARE(renderer.Background().OriginX(), 1.f);
    QCOMPARE(renderer.Background().ScaleH(), 4.f);
    renderer.RenderScene();
  }
};

TERRAVEL_TEST(TestBackgroundPicture)
#include "tst_BackgroundPicture.moc"
