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
#include <string>

#include "ActionTestSupport.h"
#include "model/actions/Requests.h"
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

// The largest height error at the nodes that went, measured against the triangles that are left.
double MeasuredError(const std::map<std::string, T3DCoord>& before, const TEditor& after) {
  std::set<std::string> kept;
  for (const T3DCoord& node : after.Nodes) kept.insert(node.Name);
  double worst = 0;
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
      worst = std::max(worst, std::fabs(l0 * a.Z + l1 * b.Z + l2 * c.Z - p.Z));
      found = true;
      break;
    }
    if (!found) return -1;
  }
  return worst;
}

// FNV-1a of the bytes: a fixed fingerprint of a project file.
std::uint64_t Fingerprint(const std::string& bytes) {
  std::uint64_t hash = 14695981039346656037ull;
  for (const char c : bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  return hash;
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
    // Lists, picture and properties follow as after adding or removing records.
    constexpr TNotices kNotices{TNotice::Modified, TNotice::Lists, TNotice::FullRedraw,
                                TNotice::PropertiesAfterRedraw, TNotice::UndoRedo};
    const TPropertyMode mode = selectInside ? TPropertyMode::pmNodes : TPropertyMode::pmNone;
    QVERIFY(f.DoneNotices() == kNotices.WithMode(mode));

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
    QCOMPARE(DoTriangulate(f.editor, options), points - 2);
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
    QVERIFY(DoTriangulate(f.editor, options) > 0);
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
    QCOMPARE(DoTriangulate(f.editor, options), 0);
    QCOMPARE(f.editor.History.UndoCount(), 1);
    QVERIFY(WriteProjectBytes(f.editor) == after);
    CheckUndoRedo(f.editor, before);
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

  // A bumpy mesh in two groups: the budget is met, the border and the line between the groups
  // stay where they are, and the reported error is the one measured.
  void simplifyBumps_data() {
    QTest::addColumn<int>("maxTriangles");
    QTest::addColumn<float>("maxError");
    QTest::newRow("budget 300") << 300 << 0.0f;
    QTest::newRow("budget 1000") << 1000 << 0.0f;
    QTest::newRow("odd budget 301") << 301 << 0.0f;
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
    std::set<std::string> fixed;  // on the border or on the line between the groups
    for (const T3DCoord& node : f.editor.Nodes) {
      nodes[node.Name] = node;
      if (node.X == 0 || node.Y == 0 || node.X == 64 * 32 || node.Y == 64 * 32 || node.X == 64 * 16) {
        fixed.insert(node.Name);
      }
    }
    const std::string before = WriteProjectBytes(f.editor);
    const TSimplifyResult result = DoSimplify(f.editor, {maxTriangles, maxError});
    QCOMPARE(f.editor.Polygons.Count(), result.PolygonsAfter);
    // Every collapse of an inner node takes two triangles, and this border is nowhere straight.
    if (maxTriangles > 0) QCOMPARE(result.PolygonsAfter, maxTriangles - maxTriangles % 2);
    if (maxTriangles == 0) QVERIFY(result.MaxError <= maxError);
    QVERIFY(result.PolygonsAfter < 2048);

    std::set<std::string> kept;
    for (const T3DCoord& node : f.editor.Nodes) kept.insert(node.Name);
    for (const std::string& name : fixed) QVERIFY(kept.count(name) != 0);
    for (const TPoly& p : f.editor.Polygons) {
      for (const int n : {p.Node1, p.Node2, p.Node3}) {
        const float x = f.editor.Nodes[n].X;
        QVERIFY(p.Group == "West" ? x <= 64 * 16 : x >= 64 * 16);
      }
      QVERIFY(IsGround(f.editor.Nodes[p.Node1], f.editor.Nodes[p.Node2], f.editor.Nodes[p.Node3]));
    }
    const double measured = MeasuredError(nodes, f.editor);
    QVERIFY(measured >= 0);
    QVERIFY2(std::fabs(measured - result.MaxError) < 1e-3,
             qPrintable(QStringLiteral("%1 measured, %2 reported").arg(measured).arg(result.MaxError)));
    CheckUndoRedo(f.editor, before);
  }

  // The order of the collapses is part of the result: a faster search must give the same file.
  void simplifyResultIsFixed() {
    TActionFixture f;
    // Whole-number heights, so that no library's sine enters the result.
    Grid(f.editor, 32, 32,
         [](float x, float y) { return float((int(x) / 64 * 37 + int(y) / 64 * 53) % 101); });
    DoSimplify(f.editor, {300, 0});
    QCOMPARE(Fingerprint(WriteProjectBytes(f.editor)), std::uint64_t(10470505161232068439ull));
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
};

TERRAVEL_TEST(TestShaping)
#include "tst_Shaping.moc"
