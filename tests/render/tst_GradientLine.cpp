// Gradient lines: clipping to the view, the colour of each pixel along the edge, the wide form.
#include <QTest>

#include "RenderTestSupport.h"
#include "render/GradientLine.h"
#include "render/GradientTable.h"
#include "render/LineClip.h"
#include "support/TestRegistry.h"

using namespace terravel;
using namespace terravel::test;

namespace {

QRgb Entry(int index) {
  return GradientTable()[static_cast<std::size_t>(index)];
}
constexpr QRgb kSilver = 0xFFC0C0C0;

struct TCanvas {
  explicit TCanvas(int w = 200, int h = 100) : image(w, h, QImage::Format_RGB32) { image.fill(kSilver); }
  QImage image;
};

TProjectValues Range(float minZ, float maxZ) {
  TProjectValues values;
  values.MinZ = minZ;
  values.MaxZ = maxZ;
  return values;
}

constexpr long long kFar = 1LL << 30;

}  // namespace

class TestGradientLine : public QObject {
  Q_OBJECT
 private slots:
  void clipping_data() {
    QTest::addColumn<QList<qlonglong>>("segment");  // x0 y0 x1 y1
    QTest::addColumn<QList<qlonglong>>("clipped");  // empty when nothing is left
    QTest::addColumn<double>("z0");                 // Z at the first end after clipping (from 0 .. 100)
    QTest::newRow("inside") << QList<qlonglong>{10, 10, 50, 20} << QList<qlonglong>{10, 10, 50, 20} << 0.0;
    QTest::newRow("borders count as inside")
        << QList<qlonglong>{0, 0, 199, 99} << QList<qlonglong>{0, 0, 199, 99} << 0.0;
    QTest::newRow("left of the view")
        << QList<qlonglong>{-100, 0, 100, 50} << QList<qlonglong>{0, 25, 100, 50} << 50.0;
    QTest::newRow("rounded slope") << QList<qlonglong>{-3, 0, 3, 1} << QList<qlonglong>{0, 0, 3, 1} << 50.0;
    QTest::newRow("both ends above") << QList<qlonglong>{-10, -5, 300, -1} << QList<qlonglong>{} << 0.0;
    QTest::newRow("passes the corner")
        << QList<qlonglong>{-10, 20, 20, -10} << QList<qlonglong>{0, 10, 10, 0} << 100.0 / 3;
    QTest::newRow("misses the corner") << QList<qlonglong>{-10, 5, 5, -10} << QList<qlonglong>{} << 0.0;
    QTest::newRow("far ends") << QList<qlonglong>{-kFar, 50, kFar, 50} << QList<qlonglong>{0, 50, 199, 50}
                              << 50.0;
  }
  void clipping() {
    QFETCH(QList<qlonglong>, segment);
    QFETCH(QList<qlonglong>, clipped);
    QFETCH(double, z0);
    TLineEnd a{segment[0], segment[1], 0}, b{segment[2], segment[3], 100};
    const bool visible = ClipGradientLine(a, b, 0, 0, 199, 99);
    QCOMPARE(visible, !clipped.isEmpty());
    if (!visible) return;
    QCOMPARE((QList<qlonglong>{a.X, a.Y, b.X, b.Y}), clipped);
    QVERIFY(std::abs(a.Z - z0) < 1e-6);
  }

  void pixelsTakeTheColourOfTheirPlace() {
    TCanvas canvas;
    TRaster raster(canvas.image);
    const TZColorScale scale(Range(0, 1000));
    DrawGradientLine(raster, scale, {10, 50}, 0, {110, 50}, 1000, 1);
    QCOMPARE(Pixel(canvas.image, 10, 50), Entry(0));
    QCOMPARE(Pixel(canvas.image, 60, 50), Entry(279));
    QCOMPARE(Pixel(canvas.image, 110, 50), Entry(558));
    QCOMPARE(Pixel(canvas.image, 111, 50), kSilver);
    QCOMPARE(Pixel(canvas.image, 60, 49), kSilver);
    // Beyond MinZ..MaxZ the line turns black and white.
    DrawGradientLine(raster, scale, {10, 70}, -1000, {110, 70}, 2000, 1);
    QCOMPARE(Pixel(canvas.image, 20, 70), qRgb(0, 0, 0));
    QCOMPARE(Pixel(canvas.image, 100, 70), qRgb(255, 255, 255));
  }

  void clippedLineKeepsItsColours() {
    TCanvas canvas;
    TRaster raster(canvas.image);
    // From x = -200 (Z 0) to x = 200 (Z 1000): x = 0 lies half way.
    DrawGradientLine(raster, TZColorScale(Range(0, 1000)), {-200, 40}, 0, {200, 40}, 1000, 1);
    QCOMPARE(Pixel(canvas.image, 0, 40), Entry(279));
    QCOMPARE(Pixel(canvas.image, 199, 40), Entry(557));  // Z 997.5 at the right border
  }

  void wideLineIsThreePixels() {
    TCanvas canvas;
    TRaster raster(canvas.image);
    DrawGradientLine(raster, TZColorScale(Range(0, 0)), {20, 0}, 0, {60, 99}, 0, 3);
    DrawSolidLine(raster, {100, 50}, {190, 50}, qRgb(1, 2, 3), 3);
    const QRgb green = Entry(279);
    for (int y = 1; y < 99; ++y) {
      int run = 0;
      for (int x = 0; x < 100; ++x) run += Pixel(canvas.image, x, y) == green ? 1 : 0;
      QVERIFY2(run == 3, qPrintable(QString("row %1: %2 pixels").arg(y).arg(run)));
    }
    for (int y : {49, 50, 51}) QCOMPARE(Pixel(canvas.image, 150, y), qRgb(1, 2, 3));
    QCOMPARE(Pixel(canvas.image, 150, 52), kSilver);
    // Hugging the border does not write beyond it.
    DrawSolidLine(raster, {0, 0}, {199, 0}, qRgb(1, 2, 3), 3);
    QCOMPARE(Pixel(canvas.image, 5, 1), qRgb(1, 2, 3));
  }

  void farLinesLeaveNoStrayPixels() {
    TCanvas canvas;
    TRaster raster(canvas.image);
    const TZColorScale scale(Range(0, 1));
    // Steep, nearly diagonal and wholly outside: ends at the limits of the screen coordinates.
    DrawGradientLine(raster, scale, {int(-kFar), int(-kFar)}, 0, {int(kFar), int(kFar) - 10}, 1, 3);
    DrawGradientLine(raster, scale, {int(kFar), 0}, 0, {0, int(kFar)}, 1, 3);
    DrawGradientLine(raster, scale, {-5, int(-kFar)}, 0, {-5, int(kFar)}, 1, 3);
    DrawSolidLine(raster, {int(-kFar), -2}, {int(kFar), -2}, qRgb(1, 2, 3), 3);
    for (const QPoint& p : PixelsOtherThan(canvas.image, kSilver)) {
      // Only the first line passes the view, one or two pixels from the diagonal y = x - 5.
      QVERIFY2(std::abs(p.y() - (p.x() - 5)) <= 2, qPrintable(QString("%1,%2").arg(p.x()).arg(p.y())));
    }
    QVERIFY(Pixel(canvas.image, 55, 50) != kSilver);
  }
};

TERRAVEL_TEST(TestGradientLine)
#include "tst_GradientLine.moc"
