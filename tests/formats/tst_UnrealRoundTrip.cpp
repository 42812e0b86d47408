// Terravel reads back its own Unreal text: a bare "Begin PolyList" brush, as the export writes it
// and as UnrealEd exports a single brush, gives the same bytes again.
#include <QTest>

#include "model/core/Errors.h"
#include "model/editor/Editor.h"
#include "model/formats/UnrealTextExport.h"
#include "model/formats/UnrealTextImport.h"
#include "model/project/NewProject.h"
#include "support/TestRegistry.h"

using namespace terravel;

class TestUnrealRoundTrip : public QObject {
  Q_OBJECT
 private slots:
  void exportImportExportGivesTheSameBytes_data() {
    QTest::addColumn<QByteArray>("before");  // put in front of the exported text
    QTest::newRow("as exported") << QByteArray();
    QTest::newRow("byte-order mark and blank lines") << QByteArray("\xEF\xBB\xBF\r\n  \r\n");
  }
  void exportImportExportGivesTheSameBytes() {
    QFETCH(QByteArray, before);
    TEditor source;
    NewMesh(source, 4);
    source.Nodes[7].Z = -12.5f;
    source.Polygons[3].Texture = "Other.Rock";
    const std::string exported = UnrealTextOf(source);
    TEditor target;
    ApplyImport(target, ReadUnrealTextBytes(before.toStdString() + exported + "\r\n", 1.0f));
    QCOMPARE(target.Nodes.Count(), source.Nodes.Count());  // shared corners stay shared
    QCOMPARE(target.Polygons.Count(), source.Polygons.Count());
    QCOMPARE(UnrealTextOf(target), exported);
  }

  void neitherMapNorPolyListKeepsTheMessage() {
    TEditor editor;
    try {
      ApplyImport(editor, ReadUnrealTextBytes("Begin Polygon\r\nEnd Polygon\r\n", 1.0f));
      QFAIL("no error");
    } catch (const EParseError& error) {
      QCOMPARE(QString::fromUtf8(error.what()), QStringLiteral("\"Begin Map\" fehlt."));
    }
    QCOMPARE(editor.Nodes.Count(), 0);
  }
};

TERRAVEL_TEST(TestUnrealRoundTrip)
#include "tst_UnrealRoundTrip.moc"
