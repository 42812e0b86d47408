// The shaping commands: smoothing heights, triangulating nodes and simplifying polygons, each one
// step in the history whose undo gives back the very same project file.
#include <QTest>

#include <algorithm>
#include <array>
#include <cmath>
#include <set>
#include <string>

#include "ActionTestSupport.h"
#include "model/actions/Requests.h"
#include "model/project/NewProject.h"
#include "model/projectfile/ProjectFile.h"
#include "model/document/Orientation.h"
#include "model/shaping/ConstrainedTriangulation.h"
#include "model/shaping/HeightSmoothing.h"
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
};

TERRAVEL_TEST(TestShaping)
#include "tst_Shaping.moc"
