// Terrain from a heightmap: the regular mesh, the budgeted triangulation and what they refuse.
#include <QTest>

#include <algorithm>
#include <bit>
#include <cmath>
#include <set>
#include <utility>

#include "model/document/Orientation.h"
#include "model/editor/Editor.h"
#include "model/formats/ExchangeFormat.h"
#include "model/heightmap/GreedyTriangulation.h"
#include "model/heightmap/HeightError.h"
#include "model/heightmap/HeightmapErrors.h"
#include "model/heightmap/HeightmapImport.h"
#include "model/heightmap/RawHeightmap.h"
#include "model/heightmap/SeamlessBorder.h"
#include "support/TestRegistry.h"

using namespace terravel;

namespace {

template <class Surface>
THeightGrid Generated(int width, int height, Surface surface) {
  THeightGrid grid;
  grid.Width = width;
  grid.Height = height;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) grid.Levels.push_back(float(surface(x, y)));
  return grid;
}

THeightGrid Cone(int side) {
  const double c = (side - 1) / 2.0;
  return Generated(side, side, [c](int x, int y) { return std::max(0.0, 1 - std::hypot(x - c, y - c) / c); });
}

// A ridge along the rows with a border that is curved on every side.
THeightGrid Ridge(int width, int height) {
  return Generated(width, height, [](int x, int y) { return 0.5 + 0.3 * std::sin(x * 0.21) + 0.2 * std::cos(y * 0.17); });
}

// The terrain with each side of the picture thinned on its own, as tiles that must meet are built.
TTerrainMesh SeamlessMesh(const THeightGrid& grid, int budget) {
  TGreedySettings settings;
  settings.MaxTriangles = budget;
  settings.SeamlessBorder = true;
  return BuildGreedyTerrain(grid, settings).Mesh;
}

// A seamless side chosen the plain way: every round scans the whole side for the pixel the
// line through the chosen points misses most (the first of equals).
std::vector<int> PlainSidePoints(const std::vector<float>& side, int limit, double noError) {
  std::set<int> chosen = {0, int(side.size()) - 1};
  while (int(chosen.size()) - 2 < limit) {
    double worst = noError;
    int worstAt = -1;
    for (auto it = chosen.begin(); std::next(it) != chosen.end(); ++it) {
      const int from = *it, to = *std::next(it);
      for (int i = from + 1; i < to; ++i) {
        const double line = side[from] + (double(side[to]) - side[from]) * double(i - from) / double(to - from);
        if (std::fabs(line - side[i]) > worst) {
          worst = std::fabs(line - side[i]);
          worstAt = i;
        }
      }
    }
    if (worstAt < 0) break;
    chosen.insert(worstAt);
  }
  return {std::next(chosen.begin()), std::prev(chosen.end())};
}

// Every triangle's area, with the sign of its winding, in pixel units.
double SignedArea(const TTerrainMesh& mesh, const std::array<int, 3>& t) {
  const TPixelPoint &a = mesh.Points[t[0]], &b = mesh.Points[t[1]], &c = mesh.Points[t[2]];
  return 0.5 * ((b.Column - a.Column) * double(c.Row - a.Row) - (c.Column - a.Column) * double(b.Row - a.Row));
}

TGreedyTerrain Greedy(const THeightGrid& grid, int budget, double maxError = 0, bool seamless = false) {
  TGreedySettings settings;
  settings.MaxTriangles = budget;
  settings.MaxError = maxError;
  settings.SeamlessBorder = seamless;
  return BuildGreedyTerrain(grid, settings);
}

// Rough hills: a few waves and a sharp crater rim, a smooth border.
THeightGrid Rough(int side) {
  return Generated(side, side, [side](int x, int y) {
    const double u = double(x) / (side - 1), v = double(y) / (side - 1);
    const double rim = std::exp(-std::pow((std::hypot(u - 0.4, v - 0.55) - 0.2) * 25, 2));
    return 0.3 + 0.12 * std::sin(u * 23 + v * 5) * std::cos(v * 19) + 0.3 * rim + 0.1 * u;
  });
}

// The rules every terrain keeps: the corners are points, the triangles wound as ground polygons
// cover the picture's rectangle exactly, and every edge inside has one triangle on each side.
void VerifyWatertight(const THeightGrid& grid, const TTerrainMesh& mesh) {
  std::set<std::pair<int, int>> at;
  for (const TPixelPoint& p : mesh.Points) {
    QVERIFY(at.insert({p.Column, p.Row}).second);
    QCOMPARE(p.Level, grid.At(p.Column, p.Row));
  }
  const int w = grid.Width, h = grid.Height;
  for (auto corner : {std::pair{0, 0}, std::pair{w - 1, 0}, std::pair{0, h - 1}, std::pair{w - 1, h - 1}})
    QVERIFY(at.count(corner) == 1);
  double area = 0;
  std::set<std::pair<int, int>> edges;
  for (const auto& t : mesh.Triangles) {
    QVERIFY(SignedArea(mesh, t) < 0);
    area -= SignedArea(mesh, t);
    for (int e = 0; e < 3; ++e) QVERIFY(edges.insert({t[e], t[(e + 1) % 3]}).second);
  }
  QCOMPARE(area, double(w - 1) * double(h - 1));
  for (const auto& [from, to] : edges) {
    if (edges.count({to, from}) != 0) continue;
    // An edge without its twin lies on the border.
    const TPixelPoint &a = mesh.Points[from], &b = mesh.Points[to];
    QVERIFY((a.Column == b.Column && (a.Column == 0 || a.Column == w - 1)) ||
            (a.Row == b.Row && (a.Row == 0 || a.Row == h - 1)));
  }
}

// The picture put in as the heightmap import does it (the reader's terrain, then ApplyImport);
// the terrain's measures.
THeightmapResult Import(TEditor& editor, const THeightGrid& grid, const THeightmapOptions& options,
                        const THeightmapProgress& progress = {}) {
  THeightmapTerrain terrain =
      BuildHeightmapTerrain(grid, options, editor.Values.MinZ, editor.Values.MaxZ, progress);
  ApplyImport(editor, {TAppendedMesh{std::move(terrain.Nodes), std::move(terrain.Triangles)}, {}, {}},
              progress);
  return terrain.Result;
}

}  // namespace

class TestHeightmap : public QObject {
  Q_OBJECT
 private slots:
  void threeByThreeIsARegularMesh() {
    TEditor editor;
    const THeightGrid grid = Generated(3, 3, [](int x, int y) { return (3 * y + x) / 8.0; });
    THeightmapOptions options;
    options.LowZ = 100;
    options.HighZ = 900;
    const THeightmapResult result = Import(editor, grid, options);
    QCOMPARE(result.Nodes, 9);
    QCOMPARE(result.Polygons, 8);
    QCOMPARE(editor.Nodes.Count(), 9);
    QCOMPARE(editor.Polygons.Count(), 8);
    QCOMPARE(result.MaxError, 0.0);
    for (int i = 0; i < 9; ++i) {
      const T3DCoord& node = editor.Nodes[i];
      // The picture's centre on the origin, 64 units a pixel, its top at the smallest Y.
      QCOMPARE(node.X, float(64 * (i % 3 - 1)));
      QCOMPARE(node.Y, float(64 * (i / 3 - 1)));
      QCOMPARE(node.Z, 100.0f + 100.0f * float(i));
    }
    for (const TPoly& p : editor.Polygons)
      QVERIFY(IsGround(editor.Nodes[p.Node1], editor.Nodes[p.Node2], editor.Nodes[p.Node3]));
  }

  void stepKeepsTheBorderAndMeasuresEveryPixel() {
    TEditor editor;
    THeightmapOptions options;
    options.Step = 3;
    options.LowZ = 0;
    options.HighZ = 1000;
    const THeightmapResult result = Import(editor, Cone(8), options);
    // Columns and rows 0, 3, 6 and the last one, 7.
    QCOMPARE(result.Nodes, 16);
    QCOMPARE(result.Polygons, 18);
    std::set<float> xs;
    for (const T3DCoord& node : editor.Nodes) xs.insert(node.X);
    QCOMPARE(xs, (std::set<float>{-224, -32, 160, 224}));
    // The skipped pixels count: the cone's tip at (3.5, 3.5) lies between the nodes.
    QVERIFY(result.MaxError > 100);
  }

  void budgetIsKeptAndErrorShrinks_data() {
    QTest::addColumn<bool>("cone");
    QTest::newRow("cone") << true;
    QTest::newRow("ridge") << false;
  }
  void budgetIsKeptAndErrorShrinks() {
    QFETCH(bool, cone);
    const THeightGrid grid = cone ? Cone(65) : Ridge(80, 50);
    double lastMax = 2;
    for (int budget : {2, 3, 20, 200, 2000}) {
      TEditor editor;
      THeightmapOptions options;
      options.MaxTriangles = budget;
      options.SeamlessBorder = true;
      options.LowZ = 0;
      options.HighZ = 1;
      const THeightmapResult result = Import(editor, grid, options);
      QVERIFY2(result.Polygons <= budget, qPrintable(QString::number(result.Polygons)));
      QCOMPARE(editor.Polygons.Count(), result.Polygons);
      QVERIFY2(result.MaxError <= lastMax, qPrintable(QStringLiteral("budget %1").arg(budget)));
      QVERIFY(result.MeanError <= result.MaxError);
      lastMax = result.MaxError;
      for (const TPoly& p : editor.Polygons)
        QVERIFY(IsGround(editor.Nodes[p.Node1], editor.Nodes[p.Node2], editor.Nodes[p.Node3]));
    }
    QVERIFY(lastMax < 0.02);
  }

  void borderIsThePicturesBorder_data() {
    QTest::addColumn<int>("budget");
    QTest::newRow("border thinned") << 60;
    QTest::newRow("whole border") << 3000;
  }
  void borderIsThePicturesBorder() {
    QFETCH(int, budget);
    const int w = 41, h = 31;
    const THeightGrid grid = Ridge(w, h);
    const TTerrainMesh mesh = SeamlessMesh(grid, budget);
    // The triangles tile the picture's rectangle exactly, all wound one way, on exact pixel heights.
    double area = 0;
    for (const auto& t : mesh.Triangles) {
      QVERIFY(SignedArea(mesh, t) < 0);
      area -= SignedArea(mesh, t);
    }
    QCOMPARE(area, double((w - 1) * (h - 1)));
    std::set<std::pair<int, int>> at;
    for (const TPixelPoint& p : mesh.Points) {
      QCOMPARE(p.Level, grid.At(p.Column, p.Row));
      at.insert({p.Column, p.Row});
    }
    for (auto corner : {std::pair{0, 0}, std::pair{w - 1, 0}, std::pair{0, h - 1}, std::pair{w - 1, h - 1}})
      QVERIFY(at.count(corner) == 1);

    // Two tiles cut from one picture, sharing the column x = 20, meet in the same points.
    THeightGrid left = Generated(21, h, [&](int x, int y) { return grid.At(x, y); });
    THeightGrid right = Generated(21, h, [&](int x, int y) { return grid.At(x + 20, y); });
    std::set<int> leftRows, rightRows;
    for (const TPixelPoint& p : SeamlessMesh(left, budget).Points)
      if (p.Column == 20) leftRows.insert(p.Row);
    for (const TPixelPoint& p : SeamlessMesh(right, budget).Points)
      if (p.Column == 0) rightRows.insert(p.Row);
    QCOMPARE(leftRows, rightRows);
  }

  // A plane needs no more than the corners, whatever its tilt; one raised pixel on a plane is
  // the first point inserted.
  void planesAndASpike_data() {
    QTest::addColumn<double>("alongColumns");
    QTest::addColumn<double>("alongRows");
    QTest::addColumn<bool>("spike");
    QTest::newRow("flat") << 0.0 << 0.0 << false;
    QTest::newRow("tilted") << 0.011 << -0.007 << false;
    QTest::newRow("steep") << 0.0 << 0.019 << false;
    QTest::newRow("spike on a tilt") << 0.004 << 0.003 << true;
  }
  void planesAndASpike() {
    QFETCH(double, alongColumns);
    QFETCH(double, alongRows);
    QFETCH(bool, spike);
    const THeightGrid grid = Generated(41, 37, [&](int x, int y) {
      return 0.2 + alongColumns * x + alongRows * (y - 36) + (spike && x == 13 && y == 22 ? 0.5 : 0);
    });
    const TGreedyTerrain plane = Greedy(grid, 2);
    QCOMPARE(plane.Mesh.Triangles.size(), std::size_t(2));
    QCOMPARE(plane.MaxError > 1e-6, spike);
    if (!spike) return;
    const TGreedyTerrain spiked = Greedy(grid, 4);
    QCOMPARE(spiked.Mesh.Points.size(), std::size_t(5));
    QCOMPARE(spiked.Mesh.Points[4].Column, 13);
    QCOMPARE(spiked.Mesh.Points[4].Row, 22);
  }

  // The default border spends the budget where the terrain needs it: a smooth border gets few
  // points, not the half of them that each side's own share would give.
  void borderCompetesWithTheInside() {
    const THeightGrid grid = Rough(129);
    for (bool seamless : {false, true}) {
      const TTerrainMesh mesh = Greedy(grid, 1000, 0, seamless).Mesh;
      int border = 0;
      for (const TPixelPoint& p : mesh.Points)
        border += (p.Column == 0 || p.Row == 0 || p.Column == 128 || p.Row == 128) ? 1 : 0;
      if (seamless) {
        QVERIFY2(border > int(mesh.Points.size()) / 3, qPrintable(QString::number(border)));
      } else {
        QVERIFY2(border < int(mesh.Points.size()) / 4, qPrintable(QString::number(border)));
      }
    }
  }

  // Every budget is met exactly while the terrain still misses pixels, and the result is always a
  // whole tiling of the picture; the error the insertion reports is what a separate measurement finds.
  void budgetIsExactAndWatertight_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("height");
    QTest::addColumn<bool>("seamless");
    QTest::newRow("square") << 65 << 65 << false;
    QTest::newRow("wide") << 90 << 23 << false;
    QTest::newRow("a strip two pixels high") << 300 << 2 << false;
    QTest::newRow("seamless") << 65 << 65 << true;
    QTest::newRow("seamless strip") << 2 << 300 << true;
  }
  void budgetIsExactAndWatertight() {
    QFETCH(int, width);
    QFETCH(int, height);
    QFETCH(bool, seamless);
    const THeightGrid grid = Generated(width, height, [](int x, int y) {
      return 0.5 + 0.25 * std::sin(x * 0.37 + y * 0.11) + 0.2 * std::cos(y * 0.29 - x * 0.05);
    });
    for (int budget : {2, 3, 7, 50, 51, 400, 1001}) {
      const TGreedyTerrain terrain = Greedy(grid, budget, 0, seamless);
      VerifyWatertight(grid, terrain.Mesh);
      const int triangles = int(terrain.Mesh.Triangles.size());
      QVERIFY(triangles <= budget);
      if (terrain.Stop == TGreedyStop::Budget && !seamless) QCOMPARE(triangles, budget);
      if (seamless) QVERIFY(triangles >= budget - 1 || terrain.Stop != TGreedyStop::Budget);
      const THeightError measured = MeasureHeightError(grid, terrain.Mesh);
      QVERIFY(std::fabs(measured.Max - terrain.MaxError) < 1e-9);
      QVERIFY(std::fabs(measured.Mean - terrain.MeanError) < 1e-9);
      QVERIFY(std::fabs(measured.Rms - terrain.RmsError) < 1e-9);
    }
  }

  // An error bound stops the insertion as soon as no pixel is missed by more; a larger bound
  // never takes more triangles, and the budget still stops it first when it is smaller.
  void errorBound() {
    const THeightGrid grid = Rough(97);
    int lastTriangles = 1 << 30;
    for (double bound : {0.002, 0.005, 0.01, 0.05, 0.2}) {
      const TGreedyTerrain terrain = Greedy(grid, 100000, bound);
      QCOMPARE(terrain.Stop, TGreedyStop::ErrorBound);
      QVERIFY2(terrain.MaxError <= bound, qPrintable(QString::number(terrain.MaxError)));
      QVERIFY(MeasureHeightError(grid, terrain.Mesh).Max <= bound);
      QVERIFY(int(terrain.Mesh.Triangles.size()) <= lastTriangles);
      lastTriangles = int(terrain.Mesh.Triangles.size());
    }
    const TGreedyTerrain budgeted = Greedy(grid, 40, 0.002);
    QCOMPARE(budgeted.Stop, TGreedyStop::Budget);
    QCOMPARE(budgeted.Mesh.Triangles.size(), std::size_t(40));

    // In Z units through the import, and with no budget at all.
    TEditor editor;
    THeightmapOptions options;
    options.LowZ = 0;
    options.HighZ = 1000;
    options.MaxError = 5;
    const THeightmapResult result = Import(editor, grid, options);
    QVERIFY(result.MaxError <= 5);
    QCOMPARE(result.Stop, std::optional(TGreedyStop::ErrorBound));
    QCOMPARE(HeightmapStopText(result), std::string("Stopped at the error bound."));
  }

  // The error bound is claimed only when every pixel of the picture is within it, whatever the
  // options: a seamless side out of its share of the budget, or pixels a step skips, say so instead.
  void errorBoundIsKeptOrNotClaimed_data() {
    QTest::addColumn<bool>("seamless");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("budget");
    QTest::addColumn<int>("stop");
    QTest::newRow("plain") << false << 1 << 100000 << int(TGreedyStop::ErrorBound);
    QTest::newRow("seamless, budget to spare") << true << 1 << 100000 << int(TGreedyStop::ErrorBound);
    // A noisy strip: the inside fits the budget, each long side needs more than its eighth.
    QTest::newRow("seamless, rough sides") << true << 1 << 12000 << int(TGreedyStop::BorderShare);
    QTest::newRow("step") << false << 3 << 100000 << int(TGreedyStop::SkippedPixels);
    QTest::newRow("seamless and a step") << true << 2 << 100000 << int(TGreedyStop::SkippedPixels);
  }
  void errorBoundIsKeptOrNotClaimed() {
    QFETCH(bool, seamless);
    QFETCH(int, step);
    QFETCH(int, budget);
    QFETCH(int, stop);
    // Gentle inside, a few spikes between the pixels a step keeps, noise along the sides.
    const bool strip = budget == 12000;
    const THeightGrid grid = Generated(strip ? 2000 : 129, strip ? 4 : 129, [strip](int x, int y) {
      const bool side = strip || x < 1 || y < 1 || x > 127 || y > 127, spike = x % 3 == 1 && y % 3 == 1 && x < 30 && y < 30;
      return 0.4 + 0.1 * std::sin(x * 0.05) + (spike ? 0.01 : 0) + (side ? 0.3 * ((x * 7 + y * 13) % 5) / 4 : 0);
    });
    TEditor editor;
    THeightmapOptions options;
    options.LowZ = 0;
    options.HighZ = 1000;
    options.MaxError = 2.5f;
    options.MaxTriangles = budget;
    options.Step = step;
    options.SeamlessBorder = seamless;
    const THeightmapResult result = Import(editor, grid, options);
    QCOMPARE(int(*result.Stop), stop);
    QCOMPARE(HeightmapStopText(result) == "Stopped at the error bound.", result.MaxError <= 2.5);
  }

  // A seamless side keeps exactly the points its own pixels choose, however much rougher it is
  // than the inside; and with an error bound, data-dependent flips never need more triangles.
  void seamlessSidesAndFlips() {
    const THeightGrid grid = Generated(97, 97, [](int x, int y) {
      return 0.3 + 0.2 * std::sin(x * 0.1 + y * 0.07) + (y == 0 ? 0.2 * ((x * 5) % 3) : 0);
    });
    std::vector<float> top;
    for (int x = 0; x < 97; ++x) top.push_back(grid.At(x, 0));
    std::vector<int> columns;
    for (const TPixelPoint& p : SeamlessMesh(grid, 402).Points)
      if (p.Row == 0 && p.Column > 0 && p.Column < 96) columns.push_back(p.Column);
    std::sort(columns.begin(), columns.end());
    QCOMPARE(columns, ChooseSidePoints(top, 50, 0.1 / 65535));
    for (const THeightGrid& picture : {grid, Rough(97), Cone(65)})
      for (double bound : {0.002, 0.01, 0.04}) {
        TGreedySettings settings;
        settings.MaxTriangles = 100000;
        settings.MaxError = bound;
        const std::size_t flipped = BuildGreedyTerrain(picture, settings).Mesh.Triangles.size();
        settings.DataDependentFlips = false;
        QVERIFY(flipped <= BuildGreedyTerrain(picture, settings).Mesh.Triangles.size());
      }
  }

  // The terrain a picture and budget give, fixed point for point and triangle for triangle (the
  // flips' judgement may get faster, never different). A border point that spends the last
  // triangle of a budget splits the one face along its side: two triangles meet at it.
  void greedyTerrainFingerprint_data() {
    QTest::addColumn<int>("picture");
    QTest::addColumn<int>("budget");
    QTest::addColumn<bool>("seamless");
    QTest::addColumn<quint64>("fingerprint");
    QTest::addColumn<int>("aroundLast");  // triangles at the last point
    QTest::newRow("rough, 300") << 0 << 300 << false << Q_UINT64_C(5476976369203056866) << 2;
    QTest::newRow("rough, 3000") << 0 << 3000 << false << Q_UINT64_C(4075522106545258685) << 7;
    QTest::newRow("rough, 3000, seamless") << 0 << 3000 << true << Q_UINT64_C(937362199745295374) << 6;
    QTest::newRow("ridge, 2000") << 1 << 2000 << false << Q_UINT64_C(14311278036246593329) << 6;
  }
  void greedyTerrainFingerprint() {
    QFETCH(int, picture);
    QFETCH(int, budget);
    QFETCH(bool, seamless);
    QFETCH(quint64, fingerprint);
    const TGreedyTerrain terrain = Greedy(picture == 0 ? Rough(201) : Ridge(173, 121), budget, 0, seamless);
    std::uint64_t hash = 14695981039346656037ull;
    const auto mix = [&hash](std::uint64_t value) { hash = (hash ^ value) * 1099511628211ull; };
    for (const TPixelPoint& p : terrain.Mesh.Points) mix(std::uint64_t(p.Column) << 32 | std::uint32_t(p.Row));
    for (const auto& t : terrain.Mesh.Triangles)
      for (const int corner : t) mix(std::uint64_t(corner));
    mix(std::bit_cast<std::uint64_t>(terrain.RmsError));
    mix(std::bit_cast<std::uint64_t>(terrain.MaxError));
    QCOMPARE(hash, std::uint64_t(fingerprint));
    QFETCH(int, aroundLast);
    const int last = int(terrain.Mesh.Points.size()) - 1;
    int around = 0;
    for (const auto& t : terrain.Mesh.Triangles) around += int(std::count(t.begin(), t.end(), last));
    QCOMPARE(around, aroundLast);
  }

  // What a picture of that size cannot take is refused, naming the option; the document is untouched.
  void picturesSizeLimitsTheOptions_data() {
    QTest::addColumn<float>("cell");
    QTest::addColumn<float>("low");
    QTest::addColumn<float>("high");
    QTest::addColumn<int>("field");
    QTest::newRow("terrain beyond single precision") << 3e38f << 0.f << 1.f << int(THeightmapField::CellSize);
    QTest::newRow("pixels on one position") << 1e-45f << 0.f << 1.f << int(THeightmapField::CellSize);
    QTest::newRow("triangles without area") << 1e-25f << 0.f << 1.f << int(THeightmapField::CellSize);
    QTest::newRow("pixels apart far out") << 1.f << 0.f << 1.f << -1;
    QTest::newRow("Z range beyond single precision") << 64.f << -3e38f << 3e38f << int(THeightmapField::HighZ);
  }
  void picturesSizeLimitsTheOptions() {
    QFETCH(float, cell);
    QFETCH(float, low);
    QFETCH(float, high);
    QFETCH(int, field);
    TEditor editor;
    THeightmapOptions options;
    options.CellSize = cell;
    options.LowZ = low;
    options.HighZ = high;
    try {
      Import(editor, Cone(64), options);
      QCOMPARE(field, -1);
      for (const T3DCoord& node : editor.Nodes) QVERIFY(std::isfinite(node.X) && std::isfinite(node.Y));
    } catch (const EHeightmapOptionError& error) {
      QCOMPARE(int(error.Field), field);
      QCOMPARE(editor.Nodes.Count(), 0);
    }
  }

  // The seamless sides are chosen with a queue of stretches instead of a scan of the whole side per
  // point: the same points, equal errors included.
  void seamlessSidesAsBefore() {
    for (int length : {2, 3, 40, 257}) {
      std::vector<float> wavy, steps;
      for (int i = 0; i < length; ++i) {
        wavy.push_back(float(0.5 + 0.4 * std::sin(i * 0.3) * std::cos(i * 0.07)));
        steps.push_back(float((i / 5) % 3) / 2);  // plateaus: many equal errors
      }
      for (const auto* side : {&wavy, &steps})
        for (int limit : {0, 1, 7, 100, 1000})
          QCOMPARE(ChooseSidePoints(*side, limit, 0.1 / 65535), PlainSidePoints(*side, limit, 0.1 / 65535));
    }
  }

  void badInputLeavesTheDocument_data() {
    QTest::addColumn<int>("side");
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("budget");  // 0: none
    QTest::addColumn<QString>("message");
    QTest::newRow("budget under 2") << 9 << 1 << 1 << "The triangle budget must be at least 2.";
    QTest::newRow("step 0") << 9 << 0 << 0 << "The step must be 1 or more.";
    QTest::newRow("regular mesh too big") << 300 << 1 << 0 << "Set a triangle budget";
    QTest::newRow("a step makes it fit") << 600 << 2 << 0 << "or a step of 3 or more.";
  }
  void badInputLeavesTheDocument() {
    QFETCH(int, side);
    QFETCH(int, step);
    QFETCH(int, budget);
    QFETCH(QString, message);
    TEditor editor;
    editor.Nodes.NewNode("", "", 1, 2, 3);
    THeightmapOptions options;
    options.Step = step;
    if (budget > 0) options.MaxTriangles = budget;
    try {
      Import(editor, Cone(side), options);
      QFAIL("no error");
    } catch (const EHeightmapError& error) {
      QVERIFY2(QString::fromStdString(error.what()).contains(message), error.what());
    }
    QCOMPARE(editor.Nodes.Count(), 1);
    QCOMPARE(editor.Polygons.Count(), 0);
  }

  void cancelLeavesTheDocument() {
    TEditor editor;
    THeightmapOptions options;
    options.MaxTriangles = 500;
    int calls = 0;
    QVERIFY_THROWS_EXCEPTION(EHeightmapCancelled, Import(editor, Cone(65), options, [&](int done, int total) {
      ++calls;
      return done < total / 2;
    }));
    QVERIFY(calls >= 1);
    QCOMPARE(editor.Nodes.Count(), 0);
  }

  void rawHeightmaps_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("side");  // 0: refused
    QTest::newRow("2 x 2") << QByteArray("\x00\x00\xff\xff\x01\x00\x00\x01", 8) << 2;
    QTest::newRow("not square") << QByteArray(10, '\0') << 0;
    QTest::newRow("odd size") << QByteArray(9, '\0') << 0;
    QTest::newRow("a single sample") << QByteArray(2, '\0') << 0;
  }
  void rawHeightmaps() {
    QFETCH(QByteArray, bytes);
    QFETCH(int, side);
    try {
      const THeightGrid grid = DecodeRawHeightmap(std::string_view(bytes.constData(), std::size_t(bytes.size())));
      QCOMPARE(grid.Width, side);
      QCOMPARE(grid.Height, side);
      // Little-endian, and neighbouring 16-bit values stay apart.
      QCOMPARE(grid.At(1, 0), 1.0f);
      QCOMPARE(grid.At(0, 1), 1.0f / 65535.0f);
      QCOMPARE(grid.At(1, 1), 256.0f / 65535.0f);
    } catch (const EHeightmapError&) {
      QCOMPARE(side, 0);
    }
  }
};

TERRAVEL_TEST(TestHeightmap)
#include "tst_Heightmap.moc"
