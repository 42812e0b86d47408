// The texture report window as the user meets it: the tree it shows and selecting from it.
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "AppTestSupport.h"
#include "app/texturereport/TextureReportForm.h"
#include "model/editor/Editor.h"
#include "support/TestRegistry.h"

using namespace terravel;
using namespace terravel::test;

namespace {

void AddTextured(TEditor& editor, const std::vector<std::string>& textures) {
  for (int i = 0; i < 3; ++i) editor.Nodes.NewNode("", "", float(i), float(i * i), 0);
  for (std::size_t i = 0; i < textures.size(); ++i)
    editor.Polygons.NewPolygon(0, 1, 2, textures[i], "", "P" + std::to_string(i));
}

QStringList Texts(const QTreeWidgetItem* parent) {
  QStringList texts;
  for (int i = 0; i < parent->childCount(); ++i) texts << parent->child(i)->text(0);
  return texts;
}

}  // namespace

class TestTextureReport : public QObject {
  Q_OBJECT
 private slots:
  void treeByPackageAndTexture() {
    TEditor editor;
    AddTextured(editor, {"GenEarth.Grass", "genearth.ROCK", "Grass", "A.B.C", "", ""});
    TTextureReportForm form(editor);
    form.show();
    QTreeWidget* tree = form.Tree();
    QCOMPARE(Texts(tree->invisibleRootItem()), (QStringList{"(no package)", "A", "GenEarth"}));
    QTreeWidgetItem* noPackage = tree->topLevelItem(0);
    QCOMPARE(Texts(noPackage), (QStringList{"(undefined)", "Grass"}));
    QCOMPARE(Texts(tree->topLevelItem(1)), QStringList{"B.C"});
    QCOMPARE(Texts(tree->topLevelItem(2)), (QStringList{"Grass", "ROCK"}));
    QVERIFY(noPackage->isExpanded() && tree->topLevelItem(2)->isExpanded());
    QTreeWidgetItem* undefined = noPackage->child(0);
    QVERIFY(!undefined->isExpanded());
    QVERIFY(!form.SelectButton()->isEnabled());
    undefined->setExpanded(true);
    QCOMPARE(Texts(undefined), (QStringList{"P4", "P5"}));
    // Shown again, the tree follows the document.
    form.hide();
    editor.Polygons[4].Texture = "B.x";
    form.show();
    QCOMPARE(Texts(tree->invisibleRootItem()), (QStringList{"(no package)", "A", "B", "GenEarth"}));
  }

  void selectingAPolygonNode() {
    TDialogAnswers dialogs;
    TEditor editor;
    AddTextured(editor, {"A.x", "A.x", "A.y"});
    editor.Polygons.SetSelected(2, true);
    TTextureReportForm form(editor);
    form.show();
    QTreeWidgetItem* texture = form.Tree()->topLevelItem(0)->child(0);
    form.Tree()->expandItem(texture);
    QTreeWidgetItem* polygon = texture->child(1);
    QCOMPARE(polygon->text(0), QStringLiteral("P1"));
    const QRect row = form.Tree()->visualItemRect(polygon);
    QTest::mouseClick(form.Tree()->viewport(), Qt::LeftButton, {}, row.center());
    QVERIFY(form.SelectButton()->isEnabled());
    QTest::mouseClick(form.SelectButton(), Qt::LeftButton);
    QVERIFY(!form.isVisible());
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QVERIFY(!editor.Polygons[0].Selected && editor.Polygons[1].Selected && !editor.Polygons[2].Selected);
    QCOMPARE(editor.State.SelectedPolygonCount(), 1);
    QCOMPARE(editor.History.UndoCount(), 2);
    QCOMPARE(editor.History.UndoAt(0).Description(), std::string("Select Nothing"));
    QVERIFY(dialogs.Messages.empty());
  }
};

TERRAVEL_TEST(TestTextureReport)
#include "tst_TextureReport.moc"
