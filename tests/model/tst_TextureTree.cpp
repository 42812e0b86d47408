// The texture report's grouping and what each of its nodes selects, without a window.
#include <QTest>

#include <string>
#include <vector>

#include "model/editor/Editor.h"
#include "model/reports/TextureTree.h"
#include "support/TestRegistry.h"

using namespace terravel;

namespace {

using TTextures = std::vector<std::string>;

// One polygon per texture, named P0, P1, ... (on a single triangle of nodes).
void AddTextured(TEditor& editor, const TTextures& textures) {
  for (int i = 0; i < 3; ++i) editor.Nodes.NewNode("", "", float(i), float(i * i), 0);
  for (std::size_t i = 0; i < textures.size(); ++i)
    editor.Polygons.NewPolygon(0, 1, 2, textures[i], "", "P" + std::to_string(i));
}

// "Package*: Texture*=0,1 | Texture=2 ; ..." where * marks the marked nodes.
QString Describe(const TTextureTree& tree) {
  QStringList packages;
  for (const TPackageNode& package : tree.Packages) {
    QStringList textures;
    for (const TTextureNode& texture : package.Textures) {
      QStringList polygons;
      for (int i : texture.Polygons) polygons << QString::number(i);
      textures << QString::fromStdString(texture.Text) + (texture.Undefined ? "*" : "") + "=" +
                      polygons.join(',');
    }
    packages << QString::fromStdString(package.Text) + (package.NoPackage ? "*" : "") + ": " +
                    textures.join(" | ");
  }
  return packages.join(" ; ");
}

// The item with these texts; an empty texture text names the package node.
TTextureTreeItem Find(const TTextureTree& tree, const QString& package, const QString& texture, bool marked) {
  for (std::size_t p = 0; p < tree.Packages.size(); ++p) {
    const TPackageNode& node = tree.Packages[p];
    if (QString::fromStdString(node.Text) != package) continue;
    if (texture.isEmpty()) return {int(p), -1, -1};
    for (std::size_t t = 0; t < node.Textures.size(); ++t) {
      if (QString::fromStdString(node.Textures[t].Text) == texture && node.Textures[t].Undefined == marked)
        return {int(p), int(t), -1};
    }
  }
  return {};
}

}  // namespace

class TestTextureTree : public QObject {
  Q_OBJECT
 private slots:
  void grouping_data() {
    QTest::addColumn<TTextures>("textures");
    QTest::addColumn<QString>("tree");
    QTest::newRow("empty project") << TTextures{} << "";
    QTest::newRow("case-insensitive, first spelling")
        << TTextures{"GenEarth.Grass", "genearth.ROCK", "Grass", "GENEARTH.grass"}
        << "(no package)*: Grass=2 ; GenEarth: Grass=0,3 | ROCK=1";
    QTest::newRow("split at the first dot") << TTextures{"A.B.C"} << "A: B.C=0";
    QTest::newRow("package, not texture")
        << TTextures{"A.GenEarth", "GenEarth.Grass"} << "A: GenEarth=0 ; GenEarth: Grass=1";
    QTest::newRow("undefined shared, literal apart")
        << TTextures{"", "(undefined)", ""} << "(no package)*: (undefined)*=0,2 | (undefined)=1";
    QTest::newRow("sorted at every level") << TTextures{"b.x", "B.a", "a.Z", "a.y", "Zz", "aa"}
                                           << "(no package)*: aa=5 | Zz=4 ; a: y=3 | Z=2 ; b: a=1 | x=0";
    QTest::newRow("leading dot listed whole")
        << TTextures{".Grass", "Grass"} << "(no package)*: .Grass=0 | Grass=1";
  }
  void grouping() {
    QFETCH(TTextures, textures);
    QFETCH(QString, tree);
    TEditor editor;
    AddTextured(editor, textures);
    QCOMPARE(Describe(BuildTextureTree(editor.Polygons)), tree);
  }

  void manySpellingsOfOneTexture() {
    TTextures textures;
    for (int i = 0; i < 300; ++i)
      textures.push_back((i < 150 ? "Pack.T" : "PACK.t") + std::to_string(i % 150));
    TEditor editor;
    AddTextured(editor, textures);
    const TTextureTree tree = BuildTextureTree(editor.Polygons);
    QCOMPARE(tree.Packages.size(), size_t(1));
    QCOMPARE(tree.Packages[0].Textures.size(), size_t(150));
    for (const TTextureNode& texture : tree.Packages[0].Textures) {
      QCOMPARE(texture.Polygons.size(), size_t(2));
      QCOMPARE(texture.Polygons[1], texture.Polygons[0] + 150);
      QCOMPARE(editor.Polygons[texture.Polygons[0]].Texture, "Pack." + texture.Text);
    }
  }

  void polygonsByName() {
    TEditor editor;
    AddTextured(editor, {"", "", "", ""});
    editor.Polygons.SetName(0, "Polygon10");
    editor.Polygons.SetName(1, "polygon2");
    editor.Polygons.SetName(2, "Polygon1");
    editor.Polygons.SetName(3, "ground");
    QCOMPARE(PolygonsByName(editor.Polygons, {0, 1, 2, 3}), (std::vector<int>{3, 2, 0, 1}));
  }

  void selecting_data() {
    QTest::addColumn<TTextures>("textures");
    QTest::addColumn<QString>("package");
    QTest::addColumn<QString>("texture");
    QTest::addColumn<bool>("marked");
    QTest::addColumn<QString>("selected");
    const TTextures mixed{
        "GenEarth.Grass", "GenEarth.Rock", "GenEarthOld.Grass", "Grass", "GrassDark", "", "", ".Grass"};
    QTest::newRow("package") << mixed << "GenEarth"
                             << "" << false << "0,1";
    QTest::newRow("texture in package") << mixed << "GenEarthOld"
                                        << "Grass" << false << "2";
    QTest::newRow("no package: empty textures") << mixed << "(no package)"
                                                << "" << false << "5,6";
    QTest::newRow("undefined") << mixed << "(no package)"
                               << "(undefined)" << true << "5,6";
    QTest::newRow("texture without package, by beginning") << mixed << "(no package)"
                                                           << "Grass" << false << "3,4";
    QTest::newRow("leading dot") << mixed << "(no package)"
                                 << ".Grass" << false << "7";
  }
  void selecting() {
    QFETCH(TTextures, textures);
    QFETCH(QString, package);
    QFETCH(QString, texture);
    QFETCH(bool, marked);
    QFETCH(QString, selected);
    TEditor editor;
    AddTextured(editor, textures);
    editor.Polygons.SetSelected(0, true);
    const TTextureTree tree = BuildTextureTree(editor.Polygons);
    const TTextureTreeItem item = Find(tree, package, texture, marked);
    QVERIFY(item.Package >= 0);
    SelectTextureTreeItem(editor, tree, item);
    QStringList actual;
    for (int i = 0; i < editor.Polygons.Count(); ++i)
      if (editor.Polygons[i].Selected) actual << QString::number(i);
    QCOMPARE(actual.join(','), selected);
    QCOMPARE(editor.State.SelectedPolygonCount(), int(actual.size()));
  }
};

TERRAVEL_TEST(TestTextureTree)
#include "tst_TextureTree.moc"
