// The ground rasterized into a 16-bit heightmap: exact values at the corners, the lowest value and a
// count outside the ground, and a heightmap import that comes back as the same picture.
#include <QTest>

#include <cmath>
#include <limits>

#include "model/editor/Editor.h"
#include "model/formats/HeightmapFormat.h"
#include "model/heightmap/HeightmapErrors.h"
#include "model/heightmap/HeightmapExport.h"
#include "model/heightmap/HeightmapImport.h"
#include "model/heightmap/RawHeightmap.h"
#include "support/TempDir.h"
#include "support/TestRegistry.h"

using namespace terravel;
using namespace terravel::test;

Q_DECLARE_METATYPE(THeightRange)

namespace {

// A square of two ground polygons over 0..256 in X and Y, its corners at the given heights
// (smallest X and Y first, then larger X, then larger Y).
void AddSquare(TEditor& editor, float z00, float z10, float z01, float z11) {
  editor.Nodes.NewNode("", "", 0, 0, z00);
  editor.Nodes.NewNode("", "", 256, 0, z10);
  editor.Nodes.NewNode("", "", 0, 256, z01);
  editor.Nodes.NewNode("", "", 256, 256, z11);
  editor.Polygons.NewPolygon(0, 2, 1, "", "", "");
  editor.Polygons.NewPolygon(1, 2, 3, "", "", "");
}

THeightGrid GridOf(int width, int height, int seed) {
  THeightGrid grid{width, height, {}};
  for (int i = 0; i < width * height; ++i)
    grid.Levels.push_back(float((i * i * 7919 + seed * 104729) % 65536) / 65535.0f);
  grid.Levels.front() = 0;
  grid.Levels.back() = 1;
  return grid;
}

}  // namespace

class TestHeightmapExport : public QObject {
  Q_OBJECT
 private slots:
  void planesGiveExactValues_data() {
    QTest::addColumn<float>("slopeX");
    QTest::addColumn<float>("slopeY");
    QTest::addColumn<THeightRange>("range");
    QTest::addColumn<QList<int>>("corners");  // top left, top right, bottom left, bottom right
    // Flat at 300 of the project's 0..1024: one value everywhere.
    QTest::newRow("flat, project range")
        << 0.0f << 0.0f << THeightRange::Project << QList<int>{19200, 19200, 19200, 19200};
    // Its own range is empty: the lowest value.
    QTest::newRow("flat, terrain range") << 0.0f << 0.0f << THeightRange::Terrain << QList<int>{0, 0, 0, 0};
    // 300 + X + 2 Y: 300 to 1068, the first row at the smallest Y.
    QTest::newRow("tilted, terrain range")
        << 1.0f << 2.0f << THeightRange::Terrain << QList<int>{0, 21845, 43690, 65535};
    // Above MaxZ the heights are clamped.
    QTest::newRow("tilted, project range")
        << 1.0f << 2.0f << THeightRange::Project << QList<int>{19200, 35583, 51967, 65535};
  }
  void planesGiveExactValues() {
    QFETCH(float, slopeX);
    QFETCH(float, slopeY);
    QFETCH(THeightRange, range);
    QFETCH(QList<int>, corners);
    TEditor editor;
    AddSquare(editor, 300, 300 + 256 * slopeX, 300 + 256 * slopeY, 300 + 256 * (slopeX + slopeY));
    const THeightRaster raster = RasterizeGround(editor, {5, 3, 0, range});
    QCOMPARE(raster.Width, 5);
    QCOMPARE(raster.Height, 3);
    QCOMPARE(raster.Outside, 0LL);
    const auto at = [&raster](int column, int row) {
      return int(raster.Values[std::size_t(row * 5 + column)]);
    };
    QCOMPARE((QList<int>{at(0, 0), at(4, 0), at(0, 2), at(4, 2)}), corners);
    // In between, a plane is a ramp: equal steps along a row (to the rounding), and one value for a
    // flat terrain.
    for (int row = 0; row < 3; ++row)
      for (int column = 1; column + 1 < 5; ++column)
        QVERIFY(std::abs(2 * at(column, row) - at(column - 1, row) - at(column + 1, row)) <= 1 ||
                at(column + 1, row) == 65535);
    QCOMPARE(raster.Clamped, range == THeightRange::Project && slopeX > 0 ? 1LL : 0LL);
  }

  void outsideTheGroundIsTheLowestAndCounted() {
    TEditor editor;
    editor.Nodes.NewNode("", "", 0, 0, 1000);
    editor.Nodes.NewNode("", "", 256, 0, 1000);
    editor.Nodes.NewNode("", "", 0, 256, 1000);
    editor.Polygons.NewPolygon(0, 2, 1, "", "", "");
    editor.Polygons.NewPolygon(0, 1, 2, "", "", "");  // sky: not ground
    const THeightRaster raster = RasterizeGround(editor, {5, 5, 0, THeightRange::Project});
    // The pixels on and above the diagonal are ground (15), the other 10 are not.
    QCOMPARE(raster.Outside, 10LL);
    for (int row = 0; row < 5; ++row)
      for (int column = 0; column < 5; ++column)
        QCOMPARE(int(raster.Values[std::size_t(row * 5 + column)]), column + row <= 4 ? 63999 : 0);
  }

  // A regular mesh keeps every pixel: the export at the picture's size gives it back exactly,
  // whatever the pixel size; a budget stays within the error the import reported.
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
    const THeightGrid picture = GridOf(9, 6, int(cell));
    TEditor editor;
    THeightmapOptions options;
    options.CellSize = cell;
    if (budget > 0) options.MaxTriangles = budget;
    const THeightmapResult result = ImportHeightmap(editor, picture, options);
    const THeightRaster raster = RasterizeGround(editor, {9, 6, 0, THeightRange::Project});
    QCOMPARE(raster.Outside, 0LL);
    const THeightDifference difference = CompareHeightmap(raster, picture);
    if (budget == 0) {
      QCOMPARE(difference.Max, 0.0);
    } else {
      const double reported = result.MaxError / double(editor.Values.MaxZ - editor.Values.MinZ) * 65535.0;
      QVERIFY(difference.Max > 0);
      QVERIFY2(difference.Max <= reported + 0.5, qPrintable(QString::number(difference.Max)));
    }
    // With the pixel size instead of the size: the same picture.
    if (budget == 0) {
      const THeightRaster bySize = RasterizeGround(editor, {0, 0, cell, THeightRange::Project});
      QCOMPARE(bySize.Values, raster.Values);
    }
  }

  void refusalsWriteNothing_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("finite");
    QTest::addColumn<bool>("ground");
    QTest::newRow("not a number") << "h.r16" << 5 << false << true;
    QTest::newRow("no ground") << "h.r16" << 5 << true << false;
    QTest::newRow("too wide") << "h.r16" << kMaxHeightmapSide + 1 << true << true;
    QTest::newRow("picture without an encoder") << "h.png" << 5 << true << true;
  }
  void refusalsWriteNothing() {
    QFETCH(QString, file);
    QFETCH(int, width);
    QFETCH(bool, finite);
    QFETCH(bool, ground);
    TTempFolder folder;
    const std::string path = folder.Path(file.toStdString());
    WriteWholeFile(path, "old");
    TEditor editor;
    AddSquare(editor, 0, 1, 2, finite ? 3 : std::numeric_limits<float>::quiet_NaN());
    if (!ground) {
      std::swap(editor.Polygons[0].Node2, editor.Polygons[0].Node3);
      std::swap(editor.Polygons[1].Node2, editor.Polygons[1].Node3);
    }
    TWriteOptions options;
    options.Heightmap = {width, 5, 0, THeightRange::Terrain};
    QVERIFY_THROWS_EXCEPTION(ETerravelError, WriteHeightmap(editor, path, options));
    QCOMPARE(ReadWholeFile(path), std::string("old"));
  }

  void rawFileIsLittleEndian() {
    TTempFolder folder;
    const std::string path = folder.Path("h.r16");
    TEditor editor;
    AddSquare(editor, 0, 1024, 0, 1024);
    TWriteOptions options;
    options.Heightmap = {2, 2, 0, THeightRange::Project};
    const TExport report = WriteHeightmap(editor, path, options);
    QCOMPARE(ReadWholeFile(path), std::string("\x00\x00\xFF\xFF\x00\x00\xFF\xFF", 8));
    QCOMPARE(report.Summary, std::string("Pixels outside the ground: 0"));
    QCOMPARE(DecodeRawHeightmap(ReadWholeFile(path)).Levels, (std::vector<float>{0, 1, 0, 1}));
  }
};

TERRAVEL_TEST(TestHeightmapExport)
#include "tst_HeightmapExport.moc"
