// The grid size and the MinZ, MaxZ and PgInc actions: values, status text, edit boxes on every
// execution, and their descriptions under both decimal separators.
#include <QTest>

#include "ActionTestSupport.h"
#include "model/actions/ProjectValueActions.h"
#include "model/actions/Requests.h"
#include "model/project/GradientRange.h"
#include "model/view/ViewTransform.h"
#include "support/TestRegistry.h"

using namespace terravel;
using namespace terravel::test;

class TestProjectValueActions : public QObject {
  Q_OBJECT
 private slots:
  void gridSize_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("status");
    QTest::newRow("no grid") << 0 << "Set Grid Size to 0"
                             << "Grid: 0 units";
    QTest::newRow("one") << 1 << "Set Grid Size to 1"
                         << "Grid: 1 unit";
    QTest::newRow("256") << 256 << "Set Grid Size to 256"
                         << "Grid: 256 units";
  }
  void gridSize() {
    QFETCH(int, size);
    QFETCH(QString, description);
    QFETCH(QString, status);
    TActionFixture f;
    SetGridSize(f.editor, 32);
    f.Calls();
    DoSetGridSize(f.editor, size);
    QCOMPARE(UndoText(f.editor), description);
    QCOMPARE(f.editor.Values.GridX, size);
    QCOMPARE(f.editor.Values.GridY, size);
    QCOMPARE(QString::fromStdString(GridStatusText(f.editor.Values.GridX)), status);
    QCOMPARE(f.Calls(), QString("changes values history modified"));

    f.editor.History.UndoLast();
    QCOMPARE(f.editor.Values.GridX, 32);
    QCOMPARE(f.editor.Values.GridY, 32);
    QCOMPARE(f.Calls(), QString("changes values history modified"));

    f.editor.History.RedoLast();
    QCOMPARE(f.editor.Values.GridY, size);
  }

  void unitValues_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("description");
    QTest::newRow("MinZ") << int(TUnitField::MinZ) << "Set MinZ to -12.5";
    QTest::newRow("MaxZ") << int(TUnitField::MaxZ) << "Set MaxZ to -12.5";
    QTest::newRow("PgInc") << int(TUnitField::PgInc) << "Set PgInc to -12.5";
  }
  void unitValues() {
    QFETCH(int, field);
    QFETCH(QString, description);
    TActionFixture f;
    float* values[] = {&f.editor.Values.MinZ, &f.editor.Values.MaxZ, &f.editor.Values.PgInc};
    float& value = *values[field];
    const float old = value;
    void (*requests[])(TEditor&, float) = {DoSetMinZ, DoSetMaxZ, DoSetPgInc};
    const QString shown = QString("changes values units %1 history modified").arg(1 << field);

    requests[field](f.editor, -12.5f);
    QCOMPARE(UndoText(f.editor), description);
    QCOMPARE(value, -12.5f);
    // Also the first time: the request need not come from the edit box (an import sets MinZ and MaxZ).
    QCOMPARE(f.Calls(), shown);
    f.editor.History.UndoLast();
    QCOMPARE(value, old);
    QCOMPARE(f.Calls(), shown);
    f.editor.History.RedoLast();
    QCOMPARE(value, -12.5f);
    QCOMPARE(f.Calls(), shown);
    f.editor.History.UndoLast();
    QCOMPARE(f.Calls(), shown);
  }

  void typingCreatesOneEntryPerChange() {
    TEditor editor;
    DoSetMinZ(editor, 1);
    DoSetMinZ(editor, 12);
    DoSetMinZ(editor, 120);
    QCOMPARE(editor.History.UndoCount(), 3);
    QCOMPARE(editor.History.UndoAt(1).Description(), std::string("Set MinZ to 12"));
    editor.History.UndoLast();
    QCOMPARE(editor.Values.MinZ, 12.0f);
  }

  // Fitting the gradient to the terrain sets MinZ and MaxZ to the lowest and highest node as one
  // step (both edit boxes shown, undone together); a flat terrain or a fitted one records nothing.
  void fitGradientToTerrain_data() {
    QTest::addColumn<QList<float>>("heights");
    QTest::addColumn<int>("steps");
    QTest::newRow("valley") << QList<float>{10, 250, -40, NAN} << 1;
    QTest::newRow("flat") << QList<float>{7, 7} << 0;
    QTest::newRow("already fitted") << QList<float>{0, 1000} << 0;
  }
  void fitGradientToTerrain() {
    QFETCH(QList<float>, heights);
    QFETCH(int, steps);
    TActionFixture f;
    f.editor.Values.MinZ = 0, f.editor.Values.MaxZ = 1000;
    for (const float z : heights) f.editor.Nodes.NewNode("", "", 0, 0, z);
    f.Calls();
    DoFitGradientToTerrain(f.editor);
    QCOMPARE(f.editor.History.UndoCount(), steps);
    if (steps == 0) return;
    QCOMPARE(UndoText(f.editor), QStringLiteral("Fit Gradient to Terrain"));
    QCOMPARE(f.editor.Values.MinZ, -40.0f);
    QCOMPARE(f.editor.Values.MaxZ, 250.0f);
    const QString calls = f.Calls();
    QCOMPARE(calls, QString("changes values units 3 history modified"));  // MinZ and MaxZ
    f.editor.History.UndoLast();
    QCOMPARE(f.editor.Values.MinZ, 0.0f);
    QCOMPARE(f.editor.Values.MaxZ, 1000.0f);
    // A project made from a heightmap gets the same range without a step.
    SetGradientToTerrain(f.editor);
    QCOMPARE(f.editor.Values.MaxZ, 250.0f);
    QCOMPARE(f.editor.History.RedoCount(), 1);
  }

  void numberTexts_data() {
    QTest::addColumn<char>("separator");
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("number");
    QTest::newRow("whole") << ',' << 120.0f << "120";
    QTest::newRow("point") << '.' << 1.5f << "1.5";
    QTest::newRow("comma") << ',' << 1.5f << "1,5";
    QTest::newRow("rounded to five digits") << ',' << 3.14159265f << "3,1416";
    QTest::newRow("five integer digits") << '.' << 99999.0f << "99999";
    QTest::newRow("scientific") << ',' << -1234567.0f << "-1,2346E6";
    QTest::newRow("small") << '.' << 0.0001f << "0.0001";
  }
  void numberTexts() {
    QFETCH(char, separator);
    QFETCH(float, value);
    QFETCH(QString, number);
    TSeparatorScope scope(separator);
    TEditor editor;
    QCOMPARE(QString::fromStdString(TSetMinZAction(editor, value).Description()), "Set MinZ to " + number);
    QCOMPARE(QString::fromStdString(TSetMaxZAction(editor, value).Description()), "Set MaxZ to " + number);
    QCOMPARE(QString::fromStdString(TSetPgIncAction(editor, value).Description()), "Set PgInc to " + number);
  }
};

TERRAVEL_TEST(TestProjectValueActions)
#include "tst_ProjectValueActions.moc"
