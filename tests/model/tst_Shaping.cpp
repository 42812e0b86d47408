// The shaping commands: smoothing heights, triangulating nodes and simplifying polygons, each one
// step in the history whose undo gives back the very same project file.
#include <QTest>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "ActionTestSupport.h"
#include "model/actions/Requests.h"
#include "model/actions/ShapingActions.h"
#include "model/core/Errors.h"
#include "model/document/Orientation.h"
#include "model/project/NewProject.h"
#include "model/projectfile/ProjectFile.h"
#include "model/shaping/ConstrainedTriangulation.h"
#include "model/shaping/EdgeCollapse.h"
#include "model/shaping/HeightSmoothing.h"
#include "model/shaping/SculptBrush.h"
#include "support/TestRegistry.h"

using namespace terravel;
using namespace terravel::test;

namespace {

// The mesh of "New > Mesh" (n x n squares of 256 units, two triangles each, side n + 1 nodes).
int MeshNode(int n, int column, int row) {
  return column * (n + 1) + row;
}

// Undo gives back the file byte for byte, redo the file of the first run.
void CheckUndoRedo(TEditor& editor, const std::string& before) {
  const std::string after = WriteProjectBytes(editor);
  QVERIFY(after != before);
  editor.History.UndoLast();
  QVERIFY(WriteProjectBytes(editor) == before);
  editor.History.RedoLast();
  QVERIFY(WriteProjectBytes(editor) == after);
  editor.History.UndoLast();
}

// A small fixed sequence of pseudo-random numbers in [0, 1).
struct TRandom {
  unsigned state = 12345;
  double Next() {
    state = state * 1103515245u + 12345u;
    return double((state >> 8) & 0xFFFF) / 65536.0;
  }
};

// Whether the open segments ab and cd cross at one point inside both.
bool Cross(const T3DCoord& a, const T3DCoord& b, const T3DCoord& c, const T3DCoord& d) {
  const auto side = [](const T3DCoord& p, const T3DCoord& q, const T3DCoord& r) {
    const double v = (double(q.X) - p.X) * (double(r.Y) - p.Y) - (double(q.Y) - p.Y) * (double(r.X) - p.X);
    return (v > 0) - (v < 0);
  };
  return side(a, b, c) * side(a, b, d) < 0 && side(c, d, a) * side(c, d, b) < 0;
}

std::array<int, 3> SortedCorners(const TPoly& p) {
  std::array<int, 3> c{p.Node1, p.Node2, p.Node3};
  std::sort(c.begin(), c.end());
  return c;
}

// A grid of columns x rows squares of 64 units, two ground triangles each, heights from z(x, y);
// the left half of the squares is group "West", the right half "East".
void Grid(TEditor& editor, int columns, int rows, const std::function<float(float, float)>& z) {
  for (int c = 0; c <= columns; ++c) {
    for (int r = 0; r <= rows; ++r)
      editor.Nodes.NewNode("", "", 64.0f * c, 64.0f * r, z(64.0f * c, 64.0f * r));
  }
  const auto at = [rows](int c, int r) { return c * (rows + 1) + r; };
  for (int c = 0; c < columns; ++c) {
    for (int r = 0; r < rows; ++r) {
      const char* group = c < columns / 2 ? "West" : "East";
      editor.Polygons.NewPolygon(at(c, r), at(c, r + 1), at(c + 1, r), kDefaultTexture, group, "");
      editor.Polygons.NewPolygon(at(c + 1, r), at(c, r + 1), at(c + 1, r + 1), kDefaultTexture, group, "");
    }
  }
}

// The largest height error at the nodes that went, measured against the triangles that are left,
// and the root of the mean squared error over all nodes (-1 where a node lies under no triangle).
std::pair<double, double> MeasuredError(const std::map<std::string, T3DCoord>& before, const TEditor& after) {
  std::set<std::string> kept;
  for (const T3DCoord& node : after.Nodes) kept.insert(node.Name);
  double worst = 0, squares = 0;
  for (const auto& [name, p] : before) {
    if (kept.count(name) != 0) continue;
    bool found = false;
    for (const TPoly& polygon : after.Polygons) {
      const T3DCoord &a = after.Nodes[polygon.Node1], &b = after.Nodes[polygon.Node2],
                     &c = after.Nodes[polygon.Node3];
      const auto cross = [](const T3DCoord& u, const T3DCoord& v, double x, double y) {
        return (double(v.X) - u.X) * (y - u.Y) - (double(v.Y) - u.Y) * (x - u.X);
      };
      const double area = cross(a, b, c.X, c.Y);
      const double l0 = cross(b, c, p.X, p.Y) / area, l1 = cross(c, a, p.X, p.Y) / area, l2 = 1 - l0 - l1;
      if (std::min({l0, l1, l2}) < -1e-9) continue;
      const double error = std::fabs(l0 * a.Z + l1 * b.Z + l2 * c.Z - p.Z);
      worst = std::max(worst, error);
      squares += error * error;
      found = true;
      break;
    }
    if (!found) return {-1, -1};
  }
  return {worst, std::sqrt(squares / double(before.size()))};
}

// FNV-1a of the bytes: a fixed fingerprint of a project file.
std::uint64_t Fingerprint(const std::string& bytes) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  return hash;
}

// The sign of the exact turn a-b-c with Y up (doubles hold the products of these float
// differences exactly enough for the sign): negative is ground with Y down.
int ExactTurn(const T3DCoord& a, const T3DCoord& b, const T3DCoord& c) {
  const double v = (double(b.X) - a.X) * (double(c.Y) - a.Y) - (double(b.Y) - a.Y) * (double(c.X) - a.X);
  return (v > 0) - (v < 0);
}

// How many triangles any triangulation of these distinct points has: 2 n - 2 - h, h the points on
// the hull's boundary (the monotone chain keeping points on its sides).
int TriangleCount(const TEditor& editor) {
  std::vector<T3DCoord> p(editor.Nodes.begin(), editor.Nodes.end());
  std::sort(p.begin(), p.end(),
            [](const T3DCoord& a, const T3DCoord& b) { return std::pair(a.X, a.Y) < std::pair(b.X, b.Y); });
  int hull = 0;
  for (int pass = 0; pass < 2; ++pass) {
    std::vector<T3DCoord> chain;
    for (const T3DCoord& q : p) {
      while (chain.size() >= 2 && ExactTurn(chain[chain.size() - 2], chain.back(), q) < 0) chain.pop_back();
      chain.push_back(q);
    }
    hull += int(chain.size()) - 1;
    std::reverse(p.begin(), p.end());
  }
  return 2 * editor.Nodes.Count() - 2 - hull;
}

}  // namespace

class TestShaping : public QObject {
  Q_OBJECT

 private slots:
  void smoothSpike_data() {
    QTest::addColumn<int>("passes");
    QTest::addColumn<float>("strength");
    QTest::addColumn<bool>("selectInside");
    QTest::newRow("one pass, everything") << 1 << 0.5f << false;
    QTest::newRow("ten passes, everything") << 10 << 1.0f << false;
    QTest::newRow("three passes, selection") << 3 << 0.25f << true;
  }
  void smoothSpike() {
    QFETCH(int, passes);
    QFETCH(float, strength);
    QFETCH(bool, selectInside);
    TActionFixture f;
    NewMesh(f.editor, 8);
    const int spike = MeshNode(8, 4, 4);
    f.editor.Nodes[spike].Z = 1000;
    if (selectInside) {
      // A 5 x 5 block around the spike: its outer ring is the selection's border.
      f.editor.Nodes.AssignSelected([](int i, const T3DCoord&) {
        const int column = i / 9, row = i % 9;
        return column >= 2 && column <= 6 && row >= 2 && row <= 6;
      });
      f.editor.Nodes[MeshNode(8, 2, 4)].Z = 300;  // on the selection's border
    }
    const std::string before = WriteProjectBytes(f.editor);
    std::vector<float> oldZ;
    for (const T3DCoord& node : f.editor.Nodes) oldZ.push_back(node.Z);

    TSmoothOptions options;
    options.Passes = passes;
    options.Strength = strength;
    QVERIFY(DoSmoothHeights(f.editor, options) > 0);
    QCOMPARE(f.editor.History.UndoCount(), 1);
    QVERIFY(QString::fromStdString(f.editor.History.UndoDescription()).startsWith("Smooth "));
    // Only heights changed: the nodes that moved, no record came or went; the properties window
    // follows the selection.
    const TChangeSet changes = f.DoneChanges();
    QCOMPARE(Describe(changes), std::string("changes moved mode " +
                                            std::to_string(int(selectInside ? TPropertyMode::pmNodes
                                                                            : TPropertyMode::pmNone)) +
                                            " history modified"));
    for (int i : changes.MovedNodes) QVERIFY(f.editor.Nodes[i].Z != oldZ[static_cast<std::size_t>(i)]);
    QVERIFY(f.editor.Nodes[spike].Z <= 1000 * (1 - strength / 2));
    QVERIFY(f.editor.Nodes[spike].Z > 0);
    for (int i = 0; i < f.editor.Nodes.Count(); ++i) {
      const int column = i / 9, row = i % 9;
      const bool outerBorder = column == 0 || column == 8 || row == 0 || row == 8;
      const bool selectionBorder = selectInside && (column <= 2 || column >= 6 || row <= 2 || row >= 6);
      const T3DCoord& node = f.editor.Nodes[i];
      if (outerBorder || selectionBorder) QCOMPARE(node.Z, oldZ[static_cast<std::size_t>(i)]);
      QVERIFY(node.Z >= 0 && node.Z <= 1000);
    }
    CheckUndoRedo(f.editor, before);
  }

  void smoothRefusesBadOptions_data() {
    QTest::addColumn<int>("passes");
    QTest::addColumn<float>("strength");
    QTest::newRow("no pass") << 0 << 0.5f;
    QTest::newRow("too many passes") << kMaxSmoothPasses + 1 << 0.5f;
    QTest::newRow("zero strength") << 1 << 0.0f;
    QTest::newRow("strength above one") << 1 << 1.5f;
    QTest::newRow("strength not a number") << 1 << NAN;
  }
  void smoothRefusesBadOptions() {
    QFETCH(int, passes);
    QFETCH(float, strength);
    TActionFixture f;
    NewMesh(f.editor, 2);
    f.editor.Nodes[4].Z = 50;
    const std::string before = WriteProjectBytes(f.editor);
    QVERIFY_THROWS_EXCEPTION(ETerravelError, DoSmoothHeights(f.editor, {passes, strength}));
    QCOMPARE(f.editor.History.UndoCount(), 0);
    QVERIFY(WriteProjectBytes(f.editor) == before);
  }

  void triangulateConvexPoints_data() {
    QTest::addColumn<int>("points");
    QTest::addColumn<bool>("sky");
    QTest::newRow("square, ground") << 4 << false;
    QTest::newRow("square, sky") << 4 << true;
    QTest::newRow("circle of 24, ground") << 24 << false;
    QTest::newRow("circle of 97, sky") << 97 << true;
  }
  void triangulateConvexPoints() {
    QFETCH(int, points);
    QFETCH(bool, sky);
    TActionFixture f;
    for (int i = 0; i < points; ++i) {
      const double angle = 2 * M_PI * (i + 0.5) / points;
      f.editor.Nodes.NewNode("", "", float(1000 * std::cos(angle)), float(1000 * std::sin(angle)), float(i));
    }
    const std::string before = WriteProjectBytes(f.editor);
    TTriangulateOptions options;
    options.Sky = sky;
    QCOMPARE(DoTriangulate(f.editor, options).Added, points - 2);
    QCOMPARE(QString::fromStdString(f.editor.History.UndoDescription()),
             QStringLiteral("Triangulate %1 nodes").arg(points));
    std::set<std::array<int, 3>> seen;
    for (const TPoly& p : f.editor.Polygons) {
      const T3DCoord &a = f.editor.Nodes[p.Node1], &b = f.editor.Nodes[p.Node2], &c = f.editor.Nodes[p.Node3];
      QCOMPARE(IsGround(a, b, c), !sky);
      QVERIFY(SingleOrientationSum(a, b, c) != 0);
      QVERIFY(seen.insert(SortedCorners(p)).second);
    }
    CheckUndoRedo(f.editor, before);
  }

  // Random points around existing polygons: no new side crosses an old one, no new triangle lies
  // in or repeats an old one, and a second run adds nothing.
  void triangulateAroundPolygons_data() {
    QTest::addColumn<int>("points");
    QTest::addColumn<float>("maxEdge");
    QTest::newRow("200 points") << 200 << 0.0f;
    QTest::newRow("200 points, short edges") << 200 << 150.0f;
    QTest::newRow("60 points") << 60 << 0.0f;
  }
  void triangulateAroundPolygons() {
    QFETCH(int, points);
    QFETCH(float, maxEdge);
    TActionFixture f;
    TRandom random;
    for (int i = 0; i < points; ++i) {
      f.editor.Nodes.NewNode("", "", float(int(1000 * random.Next())), float(int(1000 * random.Next())), 0);
    }
    // Old polygons from random corners: some overlap each other, which is allowed.
    for (int k = 0; k + 2 < 30; k += 3) f.editor.Polygons.NewPolygon(k, k + 1, k + 2, "Old", "", "");
    const int old = f.editor.Polygons.Count();
    const std::string before = WriteProjectBytes(f.editor);
    TTriangulateOptions options;
    options.MaxEdge = maxEdge;
    QVERIFY(DoTriangulate(f.editor, options).Added > 0);
    const TEditor& e = f.editor;
    std::set<std::array<int, 3>> seen;
    for (int i = 0; i < old; ++i) seen.insert(SortedCorners(e.Polygons[i]));
    for (int i = old; i < e.Polygons.Count(); ++i) {
      const TPoly& p = e.Polygons[i];
      QVERIFY(seen.insert(SortedCorners(p)).second);
      const int n[3] = {p.Node1, p.Node2, p.Node3};
      for (int k = 0; k < 3; ++k) {
        const T3DCoord &a = e.Nodes[n[k]], &b = e.Nodes[n[(k + 1) % 3]];
        if (maxEdge > 0) QVERIFY(std::hypot(a.X - b.X, a.Y - b.Y) <= maxEdge);
        for (int j = 0; j < old; ++j) {
          const TPoly& q = e.Polygons[j];
          const int m[3] = {q.Node1, q.Node2, q.Node3};
          for (int l = 0; l < 3; ++l) QVERIFY(!Cross(a, b, e.Nodes[m[l]], e.Nodes[m[(l + 1) % 3]]));
        }
      }
    }
    const std::string after = WriteProjectBytes(f.editor);
    QCOMPARE(DoTriangulate(f.editor, options).Added, 0);
    QCOMPARE(f.editor.History.UndoCount(), 1);
    QVERIFY(WriteProjectBytes(f.editor) == after);
    CheckUndoRedo(f.editor, before);
  }

  // Ordinary inputs give the very same file as before any speed work: a mesh with holes, extra
  // nodes in the holes and nodes doubled on old ones; random points among crossing old polygons
  // with short edges; a selection wound as sky; the mesh's nodes and the extra ones alone.
  void triangulateFingerprint_data() {
    QTest::addColumn<int>("scene");
    QTest::addColumn<quint64>("fingerprint");
    QTest::newRow("mesh with holes") << 0 << Q_UINT64_C(5506733674127473962);
    QTest::newRow("crossing polygons, short edges") << 1 << Q_UINT64_C(2321603841455382381);
    QTest::newRow("selection, sky") << 2 << Q_UINT64_C(7319227977783647649);
    // Taken when nodes with no polygon to keep got the plain Delaunay triangulation.
    QTest::newRow("grid nodes and doubles, no polygon") << 3 << Q_UINT64_C(17770295749911304111);
  }
  void triangulateFingerprint() {
    QFETCH(int, scene);
    QFETCH(quint64, fingerprint);
    TActionFixture f;
    TEditor& e = f.editor;
    TRandom random;
    TTriangulateOptions options;
    if (scene == 0 || scene == 3) {
      NewMesh(e, 16);
      std::vector<int> holes;
      for (int p = 0; p < e.Polygons.Count(); p += scene == 0 ? 5 : 1) holes.push_back(p);
      e.Polygons.DetachMany(holes);
      // Y is drawn before X (the order the fingerprints were taken in), each in a statement of its
      // own: the order of a call's arguments differs between compilers.
      for (int i = 0; i < 40; ++i) {
        const float y = float(128 * int(32 * random.Next()) - 2048);
        const float x = float(256 * int(16 * random.Next()) - 2048);
        e.Nodes.NewNode("", "", x, y, 1);
      }
    } else {
      for (int i = 0; i < 300; ++i) {
        const float y = float(int(1000 * random.Next()));
        const float x = float(int(1000 * random.Next()));
        e.Nodes.NewNode("", "", x, y, float(i));
      }
      for (int k = 0; k + 2 < 45; k += 3) e.Polygons.NewPolygon(k, k + 1, k + 2, "Old", "", "");
      options.MaxEdge = scene == 1 ? 150.0f : 0.0f;
      options.Sky = scene == 2;
      if (scene == 2) e.Nodes.AssignSelected([](int i, const T3DCoord&) { return i % 3 != 0; });
    }
    DoTriangulate(e, options);
    QCOMPARE(Fingerprint(WriteProjectBytes(e)), std::uint64_t(fingerprint));
  }

  // Nearly flat triangles where single precision errs: each added triangle is wound the wanted
  // way exactly and by the viewport's rule, and every triangle of the triangulation is either
  // added or counted as left out.
  void triangulateWindsExactly_data() {
    QTest::addColumn<int>("shape");
    QTest::addColumn<bool>("sky");
    QTest::newRow("road, ground") << 0 << false;
    QTest::newRow("road, sky") << 0 << true;
    QTest::newRow("circle and centre, ground") << 1 << false;
    QTest::newRow("circle and centre, sky") << 1 << true;
    QTest::newRow("beyond the float products, ground") << 2 << false;
    QTest::newRow("beyond the float products, sky") << 2 << true;
  }
  void triangulateWindsExactly() {
    QFETCH(int, shape);
    QFETCH(bool, sky);
    TActionFixture f;
    TEditor& e = f.editor;
    TRandom random;
    if (shape == 0) {
      // A surveyed road: a point a unit along 10,000 units, with a hundredth of noise across.
      for (int i = 0; i < 10000; ++i)
        e.Nodes.NewNode("", "", float(i), float(500 + 0.02 * (random.Next() - 0.5)), 0);
    } else if (shape == 1) {
      e.Nodes.NewNode("", "", 20000, 20000, 0);
      for (int i = 0; i < 20000; ++i) {
        const double angle = 2 * M_PI * i / 20000;
        e.Nodes.NewNode("", "", float(20000 + 1000 * std::cos(angle)), float(20000 + 1000 * std::sin(angle)),
                        0);
      }
    } else {
      for (const auto& [x, y] :
           {std::pair(0.0f, 1e19f), std::pair(1e19f, 0.0f), std::pair(3e19f, 4e19f), std::pair(4e19f, 2e19f)})
        e.Nodes.NewNode("", "", x, y, 0);
    }
    TTriangulateOptions options;
    options.Sky = sky;
    const TTriangulateResult result = DoTriangulate(e, options);
    QCOMPARE(result.Added, e.Polygons.Count());
    for (const TPoly& p : e.Polygons) {
      const T3DCoord &a = e.Nodes[p.Node1], &b = e.Nodes[p.Node2], &c = e.Nodes[p.Node3];
      QCOMPARE(ExactTurn(a, b, c), sky ? 1 : -1);
      const float sum = SingleOrientationSum(a, b, c);
      QVERIFY(sky ? sum < 0 : sum > 0);
    }
    QCOMPARE(result.Added + result.LeftOut, TriangleCount(e));
    QCOMPARE(LeftOutReport(result, sky).empty(), result.LeftOut == 0);
  }

  // Nodes with no polygon to keep get their Delaunay triangulation: every triangle of the hull is
  // made, each inner side is shared by two triangles, and neither triangle's far corner lies
  // inside the other's circumcircle (grids put four corners on one circle: either split will do).
  void triangulateFreeNodesIsDelaunay_data() {
    QTest::addColumn<int>("shape");
    QTest::addColumn<bool>("sky");
    QTest::newRow("grid, ground") << 0 << false;
    QTest::newRow("grid, sky") << 0 << true;
    QTest::newRow("random points") << 1 << false;
  }
  void triangulateFreeNodesIsDelaunay() {
    QFETCH(int, shape);
    QFETCH(bool, sky);
    TActionFixture f;
    TEditor& e = f.editor;
    NewMesh(e, 12);
    e.Polygons.Clear();
    TRandom random;
    if (shape == 1) {
      e.Nodes.Clear();
      for (int i = 0; i < 400; ++i) {
        const float y = float(int(4000 * random.Next()));
        e.Nodes.NewNode("", "", float(int(4000 * random.Next())), y, 0);
      }
    }
    const TTriangulateResult result = DoTriangulate(e, {0, sky});
    QCOMPARE(result.LeftOut, 0);
    QCOMPARE(result.Added, TriangleCount(e));
    // Per side (lower node first): the far corners of the triangles on it.
    std::map<std::pair<int, int>, std::vector<int>> far;
    for (const TPoly& p : e.Polygons) {
      const int n[3] = {p.Node1, p.Node2, p.Node3};
      for (int k = 0; k < 3; ++k)
        far[std::minmax(n[k], n[(k + 1) % 3])].push_back(n[(k + 2) % 3]);
    }
    for (const auto& [side, corners] : far) {
      QVERIFY(corners.size() <= 2);
      if (corners.size() < 2) continue;
      const T3DCoord &a = e.Nodes[side.first], &b = e.Nodes[side.second], &c = e.Nodes[corners[0]],
                     &d = e.Nodes[corners[1]];
      // The in-circle determinant, exact in doubles for these whole coordinates.
      const auto lift = [&d](const T3DCoord& p) {
        const double x = double(p.X) - d.X, y = double(p.Y) - d.Y;
        return std::array{x, y, x * x + y * y};
      };
      const auto u = lift(a), v = lift(b), w = lift(c);
      const double det = u[0] * (v[1] * w[2] - v[2] * w[1]) - u[1] * (v[0] * w[2] - v[2] * w[0]) +
                         u[2] * (v[0] * w[1] - v[1] * w[0]);
      QVERIFY(det * ExactTurn(a, b, c) <= 0);
    }
  }

  void triangulateRefusesBadOptions() {
    TActionFixture f;
    AddNodes(f.editor, 3);
    for (const float maxEdge : {-1.0f, float(NAN), float(INFINITY)}) {
      QVERIFY_THROWS_EXCEPTION(ETerravelError, DoTriangulate(f.editor, {maxEdge, false}));
    }
    QCOMPARE(f.editor.History.UndoCount(), 0);
  }

  // A tilted plane of 10,000 triangles keeps only its outline: two triangles, no error.
  void simplifyPlane_data() {
    QTest::addColumn<int>("maxTriangles");
    QTest::newRow("to a budget of 2") << 2;
    QTest::newRow("to no error") << 0;
  }
  void simplifyPlane() {
    QFETCH(int, maxTriangles);
    TActionFixture f;
    Grid(f.editor, 50, 100, [](float x, float y) { return 0.5f * x + 0.25f * y; });
    for (TPoly& p : f.editor.Polygons) p.Group = "";
    QCOMPARE(f.editor.Polygons.Count(), 10000);
    const std::string before = WriteProjectBytes(f.editor);
    const TSimplifyResult result = DoSimplify(f.editor, {maxTriangles, 0});
    QCOMPARE(result.PolygonsBefore, 10000);
    QCOMPARE(result.PolygonsAfter, 2);
    QCOMPARE(f.editor.Polygons.Count(), 2);
    QCOMPARE(f.editor.Nodes.Count(), 4);
    QVERIFY(result.MaxError < 1e-3);
    QCOMPARE(QString::fromStdString(f.editor.History.UndoDescription()),
             QStringLiteral("Simplify 10,000 polygons"));
    CheckUndoRedo(f.editor, before);
  }

  // A bumpy mesh in two groups: the budget is met (border nodes moving along the outline where
  // the inner ones alone cannot meet it), the outline and the line between the groups stay where
  // they are, no triangle turns over, and the reported errors are the measured ones.
  void simplifyBumps_data() {
    QTest::addColumn<int>("maxTriangles");
    QTest::addColumn<float>("maxError");
    QTest::newRow("budget 300") << 300 << 0.0f;
    QTest::newRow("budget 1000") << 1000 << 0.0f;
    QTest::newRow("odd budget 301") << 301 << 0.0f;
    QTest::newRow("budget 100, below the border's 128 nodes") << 100 << 0.0f;
    QTest::newRow("error 40") << 0 << 40.0f;
    QTest::newRow("error 5") << 0 << 5.0f;
  }
  void simplifyBumps() {
    QFETCH(int, maxTriangles);
    QFETCH(float, maxError);
    TActionFixture f;
    Grid(f.editor, 32, 32,
         [](float x, float y) { return 100 * std::sin((x + 100) / 300) * std::cos((y + 50) / 200); });
    std::map<std::string, T3DCoord> nodes;
    std::set<std::string> fixed;  // the corners and the line between the groups
    for (const T3DCoord& node : f.editor.Nodes) {
      nodes[node.Name] = node;
      const bool corner = (node.X == 0 || node.X == 64 * 32) && (node.Y == 0 || node.Y == 64 * 32);
      if (corner || node.X == 64 * 16) fixed.insert(node.Name);
    }
    const std::string before = WriteProjectBytes(f.editor);
    const TSimplifyResult result = DoSimplify(f.editor, {maxTriangles, maxError});
    QCOMPARE(f.editor.Polygons.Count(), result.PolygonsAfter);
    QCOMPARE(result.Budget, maxTriangles);
    if (maxTriangles > 0) QCOMPARE(result.PolygonsAfter, maxTriangles);
    if (maxTriangles == 0) QVERIFY(result.MaxError <= maxError);
    QVERIFY(result.PolygonsAfter < 2048);

    std::set<std::string> kept;
    for (const T3DCoord& node : f.editor.Nodes) kept.insert(node.Name);
    for (const std::string& name : fixed) QVERIFY(kept.count(name) != 0);
    double area = 0;  // no fold and the whole square covered: the outline is kept
    for (const TPoly& p : f.editor.Polygons) {
      const T3DCoord &a = f.editor.Nodes[p.Node1], &b = f.editor.Nodes[p.Node2], &c = f.editor.Nodes[p.Node3];
      for (const T3DCoord* node : {&a, &b, &c}) {
        QVERIFY(p.Group == "West" ? node->X <= 64 * 16 : node->X >= 64 * 16);
        QVERIFY(node->X >= 0 && node->X <= 64 * 32 && node->Y >= 0 && node->Y <= 64 * 32);
      }
      QVERIFY(IsGround(a, b, c));
      area += std::fabs((double(b.X) - a.X) * (double(c.Y) - a.Y) - (double(b.Y) - a.Y) * (double(c.X) - a.X)) / 2;
    }
    QCOMPARE(area, 2048.0 * 2048.0);
    const auto [measured, rms] = MeasuredError(nodes, f.editor);
    QVERIFY(measured >= 0);
    QVERIFY2(std::fabs(measured - result.MaxError) < 1e-3,
             qPrintable(QStringLiteral("%1 measured, %2 reported").arg(measured).arg(result.MaxError)));
    QVERIFY2(std::fabs(rms - result.RmsError) < 1e-3,
             qPrintable(QStringLiteral("RMS %1 measured, %2 reported").arg(rms).arg(result.RmsError)));
    CheckUndoRedo(f.editor, before);
  }

  // Round a node of high degree whose outline is a circle: the node goes, no rim node can, and
  // the budget is reported as not met; the error is measured in the fan of the rim node it joined.
  void simplifyWheelReportsItsBudget() {
    TActionFixture f;
    constexpr int kSpokes = 400;
    f.editor.Nodes.NewNode("", "", 0, 0, 300);
    for (int i = 0; i < kSpokes; ++i) {
      const double angle = 2 * M_PI * i / kSpokes;
      f.editor.Nodes.NewNode("", "", float(5000 * std::cos(angle)), float(5000 * std::sin(angle)),
                             float(40 * std::sin(7 * angle)));
    }
    for (int i = 0; i < kSpokes; ++i) {
      f.editor.Polygons.NewPolygon(0, 1 + (i + 1) % kSpokes, 1 + i, kDefaultTexture, "", "");
    }
    std::map<std::string, T3DCoord> nodes;
    for (const T3DCoord& node : f.editor.Nodes) nodes[node.Name] = node;
    const TSimplifyResult result = DoSimplify(f.editor, {10, 0});
    QCOMPARE(result.PolygonsAfter, kSpokes - 2);
    QCOMPARE(f.editor.Nodes.Count(), kSpokes);
    QVERIFY(std::fabs(MeasuredError(nodes, f.editor).first - result.MaxError) < 1e-3);
    for (const TPoly& p : f.editor.Polygons) {
      QVERIFY(IsGround(f.editor.Nodes[p.Node1], f.editor.Nodes[p.Node2], f.editor.Nodes[p.Node3]));
    }
  }

  // The order of the collapses is part of the result: a faster search must give the same file.
  // Whole-number places and heights, so that no library's sine enters the result. The squares
  // round one node make fans of many triangles, which are searched their own way; the
  // uneven squares make a mesh of mixed degrees, where nodes joined to one node meet again elsewhere.
  void simplifyResultIsFixed_data() {
    QTest::addColumn<int>("shape");
    QTest::addColumn<quint64>("fingerprint");
    QTest::newRow("grid") << 0 << quint64(2982739931216922104ull);
    QTest::newRow("squares round a node") << 1 << quint64(9034663748380928701ull);
    QTest::newRow("uneven squares") << 2 << quint64(6745636640564237377ull);
  }
  void simplifyResultIsFixed() {
    QFETCH(int, shape);
    QFETCH(quint64, fingerprint);
    const bool squares = shape == 1;
    TActionFixture f;
    const auto add = [&f](int a, int b, int c) {  // wound as the grid's
      const T3DCoord &u = f.editor.Nodes[a], &v = f.editor.Nodes[b], &w = f.editor.Nodes[c];
      if ((double(v.X) - u.X) * (double(w.Y) - u.Y) - (double(v.Y) - u.Y) * (double(w.X) - u.X) > 0) std::swap(b, c);
      f.editor.Polygons.NewPolygon(a, b, c, kDefaultTexture, "", "");
    };
    if (shape == 2) {
      // Squares with their corners moved a little, each cut along one diagonal or the other.
      constexpr int kSide = 24;
      for (int i = 0; i <= kSide; ++i) {
        for (int j = 0; j <= kSide; ++j) {
          f.editor.Nodes.NewNode("", "", float(i * 64 + (i * 7 + j * 13) % 9 * 3),
                                 float(j * 64 + (i * 11 + j * 5) % 7 * 3), float((i * 37 + j * 53) % 101));
        }
      }
      const auto at = [](int i, int j) { return i * (kSide + 1) + j; };
      for (int i = 0; i < kSide; ++i) {
        for (int j = 0; j < kSide; ++j) {
          if ((i * 5 + j * 3) % 3 == 0) {
            add(at(i, j), at(i + 1, j), at(i + 1, j + 1));
            add(at(i, j), at(i + 1, j + 1), at(i, j + 1));
          } else {
            add(at(i, j), at(i + 1, j), at(i, j + 1));
            add(at(i + 1, j), at(i + 1, j + 1), at(i, j + 1));
          }
        }
      }
    } else if (!squares) {
      Grid(f.editor, 32, 32,
           [](float x, float y) { return float((int(x) / 64 * 37 + int(y) / 64 * 53) % 101); });
    } else {
      // Node 1 + 80 k + i: the i-th of 80 points round the square of side 20 k about node 0.
      f.editor.Nodes.NewNode("", "", 0, 0, 50);
      for (int k = 1; k <= 4; ++k) {
        for (int i = 0; i < 80; ++i) {
          const int side = i / 20, along = i % 20 - 10;
          const int x = side == 0 ? along : side == 1 ? 10 : side == 2 ? -along : -10;
          const int y = side == 0 ? -10 : side == 1 ? along : side == 2 ? 10 : -along;
          f.editor.Nodes.NewNode("", "", float(k * x * 64), float(k * y * 64), float((i * 37 + k * 53) % 101));
        }
      }
      const auto at = [](int k, int i) { return k == 0 ? 0 : 1 + 80 * (k - 1) + i % 80; };
      for (int i = 0; i < 80; ++i) {
        add(0, at(1, i), at(1, i + 1));
        for (int k = 1; k < 4; ++k) {
          add(at(k, i), at(k + 1, i), at(k + 1, i + 1));
          add(at(k, i), at(k + 1, i + 1), at(k, i + 1));
        }
      }
    }
    DoSimplify(f.editor, {shape == 2 ? 150 : squares ? 60 : 300, 0});
    QCOMPARE(Fingerprint(WriteProjectBytes(f.editor)), std::uint64_t(fingerprint));
  }

  void simplifyRefusesBadOptions() {
    TActionFixture f;
    NewMesh(f.editor, 2);
    QVERIFY_THROWS_EXCEPTION(ETerravelError, DoSimplify(f.editor, {-1, 0}));
    QVERIFY_THROWS_EXCEPTION(ETerravelError, DoSimplify(f.editor, {0, -1}));
    QVERIFY_THROWS_EXCEPTION(ETerravelError, DoSimplify(f.editor, {0, NAN}));
    QCOMPARE(f.editor.History.UndoCount(), 0);
  }

  // A raise dab at the middle node of the 8 x 8 mesh (squares of 256): the middle rises by the
  // strength, a node half the radius away and one at the radius by the falloff's value there.
  void sculptRaise_data() {
    QTest::addColumn<int>("falloff");
    QTest::addColumn<float>("half");
    QTest::addColumn<float>("edge");
    QTest::newRow("smooth") << int(TFalloff::Smooth) << 5.0f << 0.0f;
    QTest::newRow("linear") << int(TFalloff::Linear) << 5.0f << 0.0f;
    QTest::newRow("constant") << int(TFalloff::Constant) << 10.0f << 10.0f;
  }
  void sculptRaise() {
    QFETCH(int, falloff);
    QFETCH(float, half);
    QFETCH(float, edge);
    TActionFixture f;
    NewMesh(f.editor, 8);
    const std::string before = WriteProjectBytes(f.editor);
    TSculptStroke stroke(f.editor, {TSculptMode::Raise, 512, 10, TFalloff(falloff)});
    QVERIFY(stroke.Dab(0, 0));
    QCOMPARE(f.editor.Nodes[MeshNode(8, 4, 4)].Z, 10.0f);
    QCOMPARE(f.editor.Nodes[MeshNode(8, 5, 4)].Z, half);
    QCOMPARE(f.editor.Nodes[MeshNode(8, 4, 6)].Z, edge);
    QCOMPARE(f.editor.Nodes[MeshNode(8, 0, 0)].Z, 0.0f);
    QVERIFY(stroke.Dab(256, 0));
    QCOMPARE(f.editor.History.UndoCount(), 0);  // live, without history
    const std::string during = WriteProjectBytes(f.editor);
    stroke.End();
    QCOMPARE(f.editor.History.UndoCount(), 1);
    QVERIFY(QString::fromStdString(f.editor.History.UndoDescription()).startsWith("Sculpt "));
    QVERIFY(WriteProjectBytes(f.editor) == during);
    CheckUndoRedo(f.editor, before);
  }

  // A stroke is one transaction: cancelled, it gives the project back unmodified; an undo in its
  // middle takes it back as one step, and the dabs after that change nothing.
  void sculptStrokeIsATransaction() {
    TActionFixture f;
    NewMesh(f.editor, 8);
    f.editor.MarkSaved();
    const std::string before = WriteProjectBytes(f.editor);
    const TSculptBrush brush{TSculptMode::Raise, 512, 10, TFalloff::Smooth};
    {
      TSculptStroke stroke(f.editor, brush);
      QVERIFY(stroke.Dab(0, 0));
      QVERIFY(f.editor.Modified());
      stroke.Cancel();
    }
    QVERIFY(WriteProjectBytes(f.editor) == before);
    QVERIFY(!f.editor.Modified());
    TSculptStroke stroke(f.editor, brush);
    QVERIFY(stroke.Dab(0, 0));
    QVERIFY(stroke.Dab(256, 0));
    f.editor.History.UndoLast();
    QVERIFY(WriteProjectBytes(f.editor) == before);
    QCOMPARE(f.editor.History.RedoCount(), 1);
    QVERIFY(!stroke.Dab(0, 0));
    stroke.End();
    QCOMPARE(f.editor.History.UndoCount(), 0);
  }

  // Every mode moves only the nodes of the selection, and undo gives every height back.
  void sculptModes_data() {
    QTest::addColumn<int>("mode");
    QTest::addColumn<float>("middle");
    QTest::newRow("lower") << int(TSculptMode::Lower) << 90.0f;
    QTest::newRow("smooth") << int(TSculptMode::Smooth) << 90.0f;
    QTest::newRow("flatten") << int(TSculptMode::Flatten) << 90.0f;
  }
  void sculptModes() {
    QFETCH(int, mode);
    QFETCH(float, middle);
    TActionFixture f;
    NewMesh(f.editor, 8);
    const int spike = MeshNode(8, 4, 4);
    f.editor.Nodes[spike].Z = 100;
    SelectNodes(f.editor, {spike, MeshNode(8, 4, 5)});
    const std::string before = WriteProjectBytes(f.editor);
    TSculptStroke stroke(f.editor, {TSculptMode(mode), 600, 10, TFalloff::Constant});
    stroke.Dab(0, 0);
    QCOMPARE(f.editor.Nodes[spike].Z, middle);
    for (int i = 0; i < f.editor.Nodes.Count(); ++i) {
      if (i != spike && i != MeshNode(8, 4, 5)) QCOMPARE(f.editor.Nodes[i].Z, 0.0f);
    }
    stroke.End();
    CheckUndoRedo(f.editor, before);
  }

  // A long command tells its progress, and a stop there leaves the document and the history as
  // they were.
  void cancelLeavesTheDocument_data() {
    QTest::addColumn<int>("command");
    QTest::newRow("simplify") << 0;
    QTest::newRow("smooth") << 1;
    QTest::newRow("triangulate") << 2;
  }
  void cancelLeavesTheDocument() {
    QFETCH(int, command);
    TActionFixture f;
    NewMesh(f.editor, 16);
    for (T3DCoord& node : f.editor.Nodes) node.Z = std::fmod(node.X * 7 + node.Y * 3, 100.0f);
    if (command == 2) f.editor.Polygons.Clear();
    const std::string before = WriteProjectBytes(f.editor);
    int told = 0;
    const TShapingProgress stop = [&told](int done, int total) {
      ++told;
      return done < 0 || done > total;  // false: stop at the first telling
    };
    QVERIFY_THROWS_EXCEPTION(EShapingCancelled, [&] {
      if (command == 0) DoSimplify(f.editor, {1, 0}, stop);
      if (command == 1) DoSmoothHeights(f.editor, {50, 0.5f}, stop);
      if (command == 2) DoTriangulate(f.editor, {0, false}, stop);
    }());
    QCOMPARE(told, 1);
    QVERIFY(WriteProjectBytes(f.editor) == before);
    QCOMPARE(f.editor.History.UndoCount(), 0);
  }

  // Each command is one step with its own text; an error while its edit is shown takes the edit
  // back: the file, the history with its redo list and the modified state stay as they were.
  void commandsAreOneStepAndAnErrorTakesThemBack_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("description");
    QTest::newRow("simplify") << 0 << "Simplify 512 polygons";
    QTest::newRow("smooth") << 1 << "Smooth 289 nodes";
    QTest::newRow("triangulate") << 2 << "Triangulate 289 nodes";
    QTest::newRow("subdivide") << 3 << "Subdivide 512 polygons";
  }
  void commandsAreOneStepAndAnErrorTakesThemBack() {
    QFETCH(int, command);
    QFETCH(QString, description);
    struct TFailingHost : TRecordingHost {
      bool fail = false;
      // The first change set shown fails; what the rollback publishes is heard.
      void Publish(const TChangeSet& changes) override {
        if (std::exchange(fail, false)) throw std::runtime_error("no picture");
        TRecordingHost::Publish(changes);
      }
    } host;
    TEditor editor(&host);
    NewMesh(editor, 16);
    for (T3DCoord& node : editor.Nodes) node.Z = std::fmod(node.X * 7 + node.Y * 3, 100.0f);
    if (command == 2) editor.Polygons.Clear();
    const auto run = [&] {
      if (command == 0) DoSimplify(editor, {100, 0});
      if (command == 1) DoSmoothHeights(editor, {2, 0.5f});
      if (command == 2) DoTriangulate(editor, {0, false});
      if (command == 3) DoSubdivide(editor);
    };
    DoSelectNode(editor, 0, true);
    editor.History.UndoLast();  // a redo list the command must keep when it fails
    editor.MarkSaved();
    const std::string before = WriteProjectBytes(editor);
    host.fail = true;
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, run());
    QVERIFY(WriteProjectBytes(editor) == before);
    QCOMPARE(editor.History.UndoCount(), 0);
    QCOMPARE(editor.History.RedoCount(), 1);
    QVERIFY(!editor.Modified());

    host.fail = false;
    run();
    QCOMPARE(editor.History.UndoCount(), 1);
    QCOMPARE(QString::fromStdString(editor.History.UndoDescription()), description);
    CheckUndoRedo(editor, before);
  }

  // An edit that fails halfway (it removes a node that a polygon it keeps still uses) puts back
  // what it applied before the error goes on: the file, the history and the modified state stay.
  void anEditFailingHalfwayIsTakenBack_data() {
    QTest::addColumn<bool>("more");  // nodes added, corners changed and polygons removed before
    QTest::newRow("heights changed before") << false;
    QTest::newRow("every kind of change before") << true;
  }
  void anEditFailingHalfwayIsTakenBack() {
    QFETCH(bool, more);
    TEditor editor;
    NewMesh(editor, 4);  // 5 x 5 nodes
    editor.MarkSaved();
    const std::string before = WriteProjectBytes(editor);
    TMeshEdit edit;
    edit.Heights = {{3, 77}, {7, -5}};
    if (more) {
      T3DCoord node;
      node.X = node.Y = 900;
      edit.AddedNodes = {node};
      edit.Corners = {{1, {0, 6, 5}}};
      edit.RemovedPolygons = {2, 9};
    }
    edit.RemovedNodes = {12};
    TTransaction transaction(editor.History, "Shape");
    QVERIFY_THROWS_EXCEPTION(EAssertionFailure,
                             editor.History.Perform(std::make_unique<TMeshEditAction>(editor, edit)));
    transaction.Commit();
    QVERIFY(WriteProjectBytes(editor) == before);
    QCOMPARE(editor.History.UndoCount(), 0);
    QVERIFY(!editor.Modified());
  }

  // A Flatten stroke keeps the level of its first dab: on a slope the second dab, further up,
  // brings its nodes down to that level, not to the mean under itself.
  void flattenKeepsTheLevelOfTheFirstDab() {
    TActionFixture f;
    NewMesh(f.editor, 8);
    for (T3DCoord& node : f.editor.Nodes) node.Z = node.X / 4;
    TSculptStroke stroke(f.editor, {TSculptMode::Flatten, 300, 1000, TFalloff::Constant});
    QVERIFY(stroke.Dab(0, 0));
    QVERIFY(stroke.Dab(512, 0));
    for (const auto& [column, row] : {std::pair{4, 4}, {5, 4}, {6, 4}, {7, 4}, {6, 3}, {6, 5}})
      QCOMPARE(f.editor.Nodes[MeshNode(8, column, row)].Z, 0.0f);
    stroke.End();
  }

  // A stroke along the same path gives the same heights however many pointer moves draw it: an
  // L-shaped path in 4 moves and in 40 (and a constant brush is not left in beads).
  void sculptFollowsThePath_data() {
    QTest::addColumn<int>("falloff");
    QTest::newRow("smooth") << int(TFalloff::Smooth);
    QTest::newRow("constant") << int(TFalloff::Constant);
  }
  void sculptFollowsThePath() {
    QFETCH(int, falloff);
    const std::array<std::array<float, 2>, 5> corners{
        {{-1500, -700}, {0, -700}, {1500, -700}, {1500, 300}, {1500, 1300}}};
    std::vector<std::vector<float>> heights;
    for (const int steps : {1, 10}) {
      TActionFixture f;
      NewMesh(f.editor, 16);
      TSculptStroke stroke(f.editor, {TSculptMode::Raise, 512, 10, TFalloff(falloff)});
      stroke.MoveTo(corners[0][0], corners[0][1]);
      for (std::size_t leg = 1; leg < corners.size(); ++leg) {
        for (int k = 1; k <= steps; ++k) {
          const float t = float(k) / float(steps);
          stroke.MoveTo(corners[leg - 1][0] + t * (corners[leg][0] - corners[leg - 1][0]),
                        corners[leg - 1][1] + t * (corners[leg][1] - corners[leg - 1][1]));
        }
      }
      stroke.End();
      heights.emplace_back();
      for (int i = 0; i < f.editor.Nodes.Count(); ++i) heights.back().push_back(f.editor.Nodes[i].Z);
    }
    QVERIFY(*std::max_element(heights[0].begin(), heights[0].end()) > 10);
    for (std::size_t i = 0; i < heights[0].size(); ++i) {
      const float a = heights[0][i], b = heights[1][i];
      QVERIFY2(std::fabs(a - b) <= 0.01f * std::max(std::fabs(a), std::fabs(b)) + 1e-4f,
               qPrintable(QStringLiteral("node %1: %2 and %3").arg(i).arg(a).arg(b)));
    }
    if (TFalloff(falloff) == TFalloff::Constant) {
      // Along the straight first leg, well inside it, the nodes by the path rose alike (within the
      // one dab more or less that a window of the path can hold).
      std::vector<float> row;
      for (int column = 5; column <= 10; ++column)
        row.push_back(heights[0][std::size_t(MeshNode(16, column, 5))]);
      QVERIFY(*std::max_element(row.begin(), row.end()) <= 1.1f * *std::min_element(row.begin(), row.end()));
    }
  }

  // Subdividing splits the chosen triangles in four and their neighbours on a cut edge so that no
  // node lies inside another triangle's edge; the new heights follow the plane; one step.
  void subdivide_data() {
    QTest::addColumn<int>("corners");  // selected nodes: 0 (everything), a triangle's 3, a square's 4
    QTest::addColumn<int>("polygons");
    QTest::addColumn<int>("nodes");
    QTest::newRow("everything") << 0 << 128 << 81;
    QTest::newRow("one triangle") << 3 << 32 + 3 + 3 << 25 + 3;
    QTest::newRow("one square") << 4 << 32 + 6 + 4 << 25 + 5;
  }
  void subdivide() {
    QFETCH(int, corners);
    QFETCH(int, polygons);
    QFETCH(int, nodes);
    TActionFixture f;
    NewMesh(f.editor, 4);
    for (T3DCoord& node : f.editor.Nodes) node.Z = node.X + 2 * node.Y;
    // The middle square's nodes (0, 0), (256, 0), (256, 256), then (0, 256).
    const std::vector<int> square{MeshNode(4, 2, 2), MeshNode(4, 3, 2), MeshNode(4, 3, 3), MeshNode(4, 2, 3)};
    std::vector<int> chosen(square.begin(), square.begin() + corners);
    if (corners == 3) {  // the corners of one triangle of that square
      for (const TPoly& p : f.editor.Polygons) {
        const std::set<int> c{p.Node1, p.Node2, p.Node3};
        if (std::all_of(c.begin(), c.end(),
                        [&](int n) { return std::count(square.begin(), square.end(), n); }))
          chosen.assign(c.begin(), c.end());
      }
    }
    f.editor.Nodes.AssignSelected([&](int i, const T3DCoord&) { return std::ranges::count(chosen, i) > 0; });
    const std::string before = WriteProjectBytes(f.editor);
    QVERIFY(DoSubdivide(f.editor) > 0);
    QCOMPARE(f.editor.History.UndoCount(), 1);
    QCOMPARE(f.editor.Polygons.Count(), polygons);
    QCOMPARE(f.editor.Nodes.Count(), nodes);
    for (const T3DCoord& node : f.editor.Nodes) QCOMPARE(node.Z, node.X + 2 * node.Y);
    for (const TPoly& p : f.editor.Polygons) {
      const int c[3] = {p.Node1, p.Node2, p.Node3};
      QVERIFY(IsGround(f.editor.Nodes[c[0]], f.editor.Nodes[c[1]], f.editor.Nodes[c[2]]));
      for (int k = 0; k < 3; ++k) {
        const T3DCoord &a = f.editor.Nodes[c[k]], &b = f.editor.Nodes[c[(k + 1) % 3]];
        for (const T3DCoord& n : f.editor.Nodes) {
          const double cross = (double(b.X) - a.X) * (n.Y - a.Y) - (double(b.Y) - a.Y) * (n.X - a.X);
          const double along = (double(n.X) - a.X) * (b.X - a.X) + (double(n.Y) - a.Y) * (b.Y - a.Y);
          const double length2 = (double(b.X) - a.X) * (b.X - a.X) + (double(b.Y) - a.Y) * (b.Y - a.Y);
          QVERIFY2(!(cross == 0 && along > 0 && along < length2), "a node inside an edge");
        }
      }
    }
    CheckUndoRedo(f.editor, before);
  }
};

TERRAVEL_TEST(TestShaping)
#include "tst_Shaping.moc"
