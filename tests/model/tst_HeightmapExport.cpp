// The ground rasterized into a 16-bit heightmap: exact values at the corners, the lowest value and a
// count outside the ground, a heightmap import that comes back as the same picture, refusals.
#include <QTest>

#include <algorithm>
#include <limits>
#include <random>
#include <tuple>

#include "model/editor/Editor.h"
#include "model/formats/HeightmapFormat.h"
#include "model/heightmap/GroundPixelScan.h"
#include "model/heightmap/HeightmapErrors.h"
#include "model/heightmap/HeightmapExport.h"
#include "model/heightmap/HeightmapImport.h"
#include "support/TempDir.h"
#include "support/TestRegistry.h"

using namespace terravel;
using namespace terravel::test;

Q_DECLARE_METATYPE(THeightRange)

namespace {

// Two ground polygons over 0..256 in X and Y; the corners' heights at smallest X and Y first, then
// larger X, then larger Y.
void AddSquare(TEditor& editor, float z00, float z10, float z01, float z11) {
  editor.Nodes.NewNode("", "", 0, 0, z00);
  editor.Nodes.NewNode("", "", 256, 0, z10);
  editor.Nodes.NewNode("", "", 0, 256, z01);
  editor.Nodes.NewNode("", "", 256, 256, z11);
  editor.Polygons.NewPolygon(0, 2, 1, "", "", "");
  editor.Polygons.NewPolygon(1, 2, 3, "", "", "");
}

}  // namespace

class TestHeightmapExport : public QObject {
  Q_OBJECT
 private slots:
  void planesGiveExactValues_data() {
    QTest::addColumn<float>("slope");  // Z = 300 + slope (X + 2 Y)
    QTest::addColumn<THeightRange>("range");
    QTest::addColumn<bool>("half");           // the second polygon turned into a sky polygon
    QTest::addColumn<QList<int>>("corners");  // top left, top right, bottom left, bottom right
    QTest::addColumn<int>("outside");
    QTest::addColumn<int>("clamped");
    // 300 of the project's 0..1024 everywhere; a flat terrain's own range is empty: the lowest value.
    QTest::newRow("flat, project") << 0.f << THeightRange::Project << false
                                   << QList<int>{19200, 19200, 19200, 19200} << 0 << 0;
    QTest::newRow("flat, terrain") << 0.f << THeightRange::Terrain << false << QList<int>{0, 0, 0, 0} << 0
                                   << 0;
    // 300 to 1068, the first row at the smallest Y; above MaxZ the heights are clamped.
    QTest::newRow("tilted, terrain") << 1.f << THeightRange::Terrain << false
                                     << QList<int>{0, 21845, 43690, 65535} << 0 << 0;
    QTest::newRow("tilted, project") << 1.f << THeightRange::Project << false
                                     << QList<int>{19200, 35583, 51967, 65535} << 0 << 1;
    // Half the square is ground: the pixels on its diagonal count, the other 6 are the lowest value.
    QTest::newRow("half") << 0.f << THeightRange::Project << true << QList<int>{19200, 19200, 19200, 0} << 6
                          << 0;
  }
  void planesGiveExactValues() {
    QFETCH(float, slope);
    QFETCH(THeightRange, range);
    QFETCH(bool, half);
    QFETCH(QList<int>, corners);
    QFETCH(int, outside);
    QFETCH(int, clamped);
    TEditor editor;
    AddSquare(editor, 300, 300 + 256 * slope, 300 + 512 * slope, 300 + 768 * slope);
    if (half) std::swap(editor.Polygons[1].Node2, editor.Polygons[1].Node3);
    const THeightRaster raster = RasterizeGround(editor, {5, 3, 0, range});
    QCOMPARE(raster.Outside, (long long)outside);
    QCOMPARE(raster.Clamped, (long long)clamped);
    const auto at = [&raster](int column, int row) {
      return int(raster.Values[std::size_t(row * 5 + column)]);
    };
    QCOMPARE((QList<int>{at(0, 0), at(4, 0), at(0, 2), at(4, 2)}), corners);
    if (half) QCOMPARE(std::count(raster.Values.begin(), raster.Values.end(), 0), std::ptrdiff_t(outside));
  }

  // A regular mesh keeps every pixel: the picture comes back exactly, by its size or by the pixel
  // size; a budget stays within the error the import reported.
  void importThenExportGivesThePictureBack_data() {
    QTest::addColumn<float>("cell");
    QTest::addColumn<int>("budget");  // 0: the regular mesh
    QTest::newRow("cell 64") << 64.0f << 0;
    QTest::newRow("cell 10.3") << 10.3f << 0;
    QTest::newRow("budget") << 64.0f << 40;
  }
  void importThenExportGivesThePictureBack() {
    QFETCH(float, cell);
    QFETCH(int, budget);
    THeightGrid picture{9, 6, {}};
    for (int i = 0; i < 54; ++i) picture.Levels.push_back(float((i * i * 7919 + 12345) % 65536) / 65535.0f);
    picture.Levels.back() = 1;
    TEditor editor;
    THeightmapOptions options;
    options.CellSize = cell;
    if (budget > 0) options.MaxTriangles = budget;
    const THeightmapTerrain terrain = BuildHeightmapTerrain(picture, options, editor.Values.MinZ, editor.Values.MaxZ);
    AppendNodesAndGround(editor, terrain.Nodes, terrain.Triangles);
    const THeightmapResult& result = terrain.Result;
    const THeightRaster raster = RasterizeGround(editor, {budget > 0 ? 9 : 0, budget > 0 ? 6 : 0, cell, {}});
    QCOMPARE(raster.Width, 9);
    QCOMPARE(raster.Outside, 0LL);
    const THeightDifference difference = CompareHeightmap(raster, picture);
    QVERIFY(budget == 0 ? difference.Max == 0 : difference.Max > 0);
    QVERIFY(difference.Max <= result.MaxError / 1024 * 65535 + 0.5);
  }

  // Ground on one line spans a box but no area; refused like ground spanning no box.
  void groundWithoutAreaIsRefused() {
    TEditor editor;
    for (float at : {0.f, 100.f, 300.f}) editor.Nodes.NewNode("", "", at, at, 5);
    editor.Polygons.NewPolygon(0, 1, 2, "", "", "");
    QVERIFY_THROWS_EXCEPTION(EHeightmapError, RasterizeGround(editor, {}));
  }

  // Each row walks only the columns the triangle can hold: the same pixels and heights as a
  // walk over the whole bounding box, on long slivers at every slope.
  void sliversScanAsTheBoundingBox() {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> along(-20, 420), aside(-0.7, 0.7);
    for (int i = 0; i < 400; ++i) {
      TPixelTriangle t;
      for (int k = 0; k < 3; ++k) t.U[k] = along(random), t.V[k] = along(random), t.Z[k] = along(random);
      // Every other one a sliver: the third corner beside the line through the first two.
      const double s = aside(random) * (i % 2);
      if (i % 2 != 0) t.U[2] = (t.U[0] + t.U[1]) / 2 + s, t.V[2] = (t.V[0] + t.V[1]) / 2 - s * (i % 4 - 2);
      if (i % 8 == 1) t.U[1] = std::round(t.U[1]), t.U[0] = t.U[1], t.V[0] = std::round(t.V[0]);  // on pixels
      std::vector<std::tuple<int, int, double>> walked, boxed;
      ScanGroundPixels(t, 400, 300, [&](int c, int r, double z) { walked.emplace_back(c, r, z); });
      const double det = (t.U[1] - t.U[0]) * (t.V[2] - t.V[0]) - (t.U[2] - t.U[0]) * (t.V[1] - t.V[0]);
      for (int r = 0; r < 300; ++r)
        for (int c = 0; c < 400; ++c) {
          const double du = c - t.U[0], dv = r - t.V[0];
          const double w1 = (du * (t.V[2] - t.V[0]) - (t.U[2] - t.U[0]) * dv) / det;
          const double w2 = ((t.U[1] - t.U[0]) * dv - du * (t.V[1] - t.V[0])) / det;
          if (1 - w1 - w2 >= -1e-9 && w1 >= -1e-9 && w2 >= -1e-9)
            boxed.emplace_back(c, r, (1 - w1 - w2) * t.Z[0] + w1 * t.Z[1] + w2 * t.Z[2]);
        }
      QCOMPARE(walked, boxed);
    }
  }

  void refusalsWriteNothing_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("width");
    QTest::addColumn<float>("z");
    QTest::newRow("not a number") << "h.r16" << 5 << std::numeric_limits<float>::quiet_NaN();
    QTest::newRow("too wide") << "h.r16" << kMaxHeightmapSide + 1 << 3.0f;
    QTest::newRow("picture without an encoder") << "h.png" << 5 << 3.0f;
  }
  void refusalsWriteNothing() {
    QFETCH(QString, file);
    QFETCH(int, width);
    QFETCH(float, z);
    TTempFolder folder;
    const std::string path = folder.Path(file.toStdString());
    WriteWholeFile(path, "old");
    TEditor editor;
    AddSquare(editor, 0, z, 0, z);
    TWriteOptions options;
    options.Heightmap = {width, 2, 0, THeightRange::Project};
    QVERIFY_THROWS_EXCEPTION(ETerravelError, WriteHeightmap(editor, path, options));
    QCOMPARE(ReadWholeFile(path), std::string("old"));
  }
};

TERRAVEL_TEST(TestHeightmapExport)
#include "tst_HeightmapExport.moc"
