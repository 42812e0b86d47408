// New projects: blank, the single triangle and the regular meshes.
#include <QTest>

#include "model/editor/Editor.h"
#include "model/project/NewProject.h"
#include "support/RecordingHost.h"
#include "support/TestRegistry.h"

using namespace terravel;

class TestNewProject : public QObject {
  Q_OBJECT
 private slots:
  void triangle() {
    test::TRecordingHost host;
    TEditor editor(&host);
    editor.Values.GridX = editor.Values.GridY = 8;
    editor.View.ShowZ = false;
    NewProject(editor, true);
    QCOMPARE(editor.Nodes.Count(), 3);
    QCOMPARE(editor.Nodes[0].Name, std::string("Node1"));
    QCOMPARE(editor.Nodes[2].Name, std::string("Node3"));
    QCOMPARE(editor.Nodes[1].Z, 1024.0f);
    QCOMPARE(editor.Polygons.Count(), 1);
    const TPoly& p = editor.Polygons[0];
    QCOMPARE(p.Name, std::string("Polygon1"));
    QCOMPARE((std::vector<int>{p.Node1, p.Node2, p.Node3}), (std::vector<int>{0, 1, 2}));
    QCOMPARE(p.Texture, std::string("GenEarth.Grass"));
    QCOMPARE(p.Color, -1);
    QCOMPARE(editor.Values.GridX, 64);
    QVERIFY(!editor.View.ShowZ);  // kept
    QCOMPARE(editor.History.UndoCount(), 0);
    QCOMPARE(host.Calls.front(), std::string("log LOG: File New Project"));
    // The windows hear of the new document once, at the end: all of it, the properties empty.
    TChangeSet rebuilt = TChangeSet::Rebuilt();
    rebuilt.PropertyMode = TPropertyMode::pmNone;
    QCOMPARE(host.Published, std::vector<TChangeSet>{rebuilt});
    QCOMPARE(host.Calls.back(), test::Describe(rebuilt));
    QVERIFY(editor.View.Zoom > 0.5f);  // zoomed to fit the 512-unit triangle
  }

  void blankKeepsNothing() {
    TEditor editor;
    NewMesh(editor, 2);
    editor.Nodes.SetSelected(0, true);
    editor.Values.MinZ = 5;
    editor.View.Zoom = 3;
    NewProject(editor, false);
    QCOMPARE(editor.Nodes.Count(), 0);
    QCOMPARE(editor.Polygons.Count(), 0);
    QCOMPARE(editor.State.SelectedNodeCount(), 0);
    QCOMPARE(editor.Values.MinZ, 0.0f);
    QCOMPARE(editor.View.Zoom, 0.5f);
    // Automatic names start again at 1.
    QCOMPARE(editor.Nodes[editor.Nodes.NewNode("", "", 0, 0, 0)].Name, std::string("Node1"));
  }

  void twoByTwoMesh() {
    test::TRecordingHost host;
    TEditor editor(&host);
    NewMesh(editor, 2);
    QCOMPARE(host.Published.size(), std::size_t(1));  // told once, with the mesh in place
    QVERIFY(host.Published[0].Everything);
    QCOMPARE(editor.Nodes.Count(), 9);
    QCOMPARE(editor.Polygons.Count(), 8);
    QCOMPARE(editor.Nodes[4].X, 0.0f);
    QCOMPARE(editor.Nodes[4].Y, 0.0f);
    QCOMPARE(editor.Nodes[0].X, -256.0f);
    QCOMPARE(editor.Nodes[1].Y, 0.0f);  // rows run fastest
    const TPoly& first = editor.Polygons[0];
    const TPoly& second = editor.Polygons[1];
    QCOMPARE((std::vector<int>{first.Node1, first.Node2, first.Node3}), (std::vector<int>{0, 1, 3}));
    QCOMPARE((std::vector<int>{second.Node1, second.Node2, second.Node3}), (std::vector<int>{3, 1, 4}));
    QCOMPARE(editor.Polygons[7].Name, std::string("Polygon8"));
  }

  void sixteenMesh() {
    TEditor editor;
    NewMesh(editor, 16);
    QCOMPARE(editor.Nodes.Count(), 289);
    QCOMPARE(editor.Polygons.Count(), 512);
    for (const TPoly& p : editor.Polygons) {
      QVERIFY(p.Node1 < 289 && p.Node2 < 289 && p.Node3 < 289);
    }
    QCOMPARE(editor.Nodes[288].X, 2048.0f);
    QCOMPARE(editor.Nodes[288].Y, 2048.0f);
  }
};

TERRAVEL_TEST(TestNewProject)
#include "tst_NewProject.moc"
