// Tools > Check terrain as the user meets it: the problems it lists, and a click selecting them.
#include <QAction>
#include <QListWidget>
#include <QTest>

#include "AppTestSupport.h"
#include "app/MainWindow.h"
#include "app/TerrainCheckForm.h"
#include "model/editor/Editor.h"
#include "support/TestRegistry.h"

using namespace terravel;
using namespace terravel::test;

class TestTerrainCheck : public QObject {
  Q_OBJECT
 private slots:
  void clickSelectsWhatTheProblemNames() {
    TDialogAnswers dialogs;
    TEditor editor;
    editor.Nodes.NewNode("", "", 0, 0, 0);
    editor.Nodes.NewNode("", "", 512, 0, 0);
    editor.Nodes.NewNode("", "", 0, 512, 0);
    editor.Nodes.NewNode("", "", 256, 0.5f, 0);  // off the grid
    editor.Nodes.NewNode("", "", 256, -256, 0);
    editor.Polygons.NewPolygon(0, 2, 1, "GenEarth.Grass", "", "Big");
    editor.Polygons.NewPolygon(0, 3, 4, "Bad name", "", "Small");
    editor.Polygons.SetSelected(0, true);
    TTerrainCheckForm form(editor);
    form.show();
    QStringList lines;
    for (int row = 0; row < form.List()->count(); ++row) lines << form.List()->item(row)->text();
    QVERIFY2(lines.first().startsWith("node 3 ") && lines.first().contains(" is off the grid of 1 "),
             qPrintable(lines.join('\n')));
    int texture = -1;
    for (int row = 0; row < lines.size(); ++row)
      if (lines[row].startsWith("polygon 1 \"Small\" has the texture name")) texture = row;
    QVERIFY(texture > 0);
    QVERIFY(lines.last().startsWith("The map export would stop: polygon 1 \"Small\""));
    QTest::mouseClick(form.List()->viewport(), Qt::LeftButton, {},
                      form.List()->visualItemRect(form.List()->item(0)).center());
    QVERIFY(editor.Nodes[3].Selected && !editor.Polygons[0].Selected);
    QCOMPARE(editor.State.SelectedNodeCount() + editor.State.SelectedPolygonCount(), 1);
    QTest::mouseClick(form.List()->viewport(), Qt::LeftButton, {},
                      form.List()->visualItemRect(form.List()->item(texture)).center());
    QVERIFY(editor.Polygons[1].Selected && !editor.Nodes[3].Selected);
    QVERIFY(dialogs.Messages.empty());
  }

  void theToolsMenuOffersIt() {
    auto windows = StartWindows();
    QCOMPARE(windows->Main().Menus().Tools_CheckTerrain->text(), QStringLiteral("C&heck terrain..."));
  }
};

TERRAVEL_TEST(TestTerrainCheck)
#include "tst_TerrainCheck.moc"
