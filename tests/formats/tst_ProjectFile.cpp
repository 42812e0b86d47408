// The native project file: exact bytes, round trips of every field, the trailer forms, and damaged
// files that must fail cleanly and leave a consistent document.
#include <QTest>

#include <sys/resource.h>

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <limits>

#include "model/core/Errors.h"
#include "model/editor/Editor.h"
#include "model/projectfile/ProjectFile.h"
#include "model/view/ViewTransform.h"
#include "model/projectfile/StringFileStream.h"
#include "model/view/ViewTransform.h"
#include "support/RecordingHost.h"
#include "support/TempDir.h"
#include "support/TestRegistry.h"

using namespace terravel;
using test::TRecordingHost;

namespace {

// Composes file bytes field by field.
struct TFileBytes {
  TStringFileStream out;

  // Terravel's own signature unless told otherwise: a file with another one must read exactly.
  explicit TFileBytes(std::string signature = std::string("TVP Terravel Project File").append(51, ' ') + "\r\n\r\n") {
    out.WriteBuffer(signature.data(), 80);
  }
  TFileBytes& Int(std::int32_t v) { return out.WriteInteger(v), *this; }
  TFileBytes& Float(float v) { return out.WriteFloat(v), *this; }
  TFileBytes& Real(float v) { return out.WriteReal48(v), *this; }
  TFileBytes& Byte(std::uint8_t v) { return out.WriteByte(v), *this; }
  TFileBytes& Raw(const std::string& v) { return out.WriteBuffer(v.data(), v.size()), *this; }
  TFileBytes& Node(float x, const std::string& name, bool selected = false) {
    out.WriteFloat(x), out.WriteFloat(0), out.WriteFloat(0), out.WriteString(""), out.WriteString(name);
    return Byte(selected ? 1 : 0);
  }
  std::string Bytes() const { return std::string(out.Bytes()); }
  TFileBytes& Polygon(int n1, int n2, int n3, const std::string& name = "", bool selected = false) {
    Int(n1), Int(n2), Int(n3), out.WriteString("T"), out.WriteString(""), out.WriteString(name), Int(-1);
    return Byte(selected ? 1 : 0);
  }
};

QByteArray AsQt(const std::string& bytes) {
  return QByteArray::fromStdString(bytes);
}

// Counts match the flags and every corner names an existing node.
QString Inconsistency(const TEditor& editor) {
  int nodes = 0, polygons = 0;
  for (const T3DCoord& n : editor.Nodes) nodes += n.Selected;
  for (const TPoly& p : editor.Polygons) {
    polygons += p.Selected;
    for (int corner : {p.Node1, p.Node2, p.Node3}) {
      if (!editor.Nodes.NodeAt(corner)) return QString("corner %1 names no node").arg(corner);
    }
  }
  if (nodes != editor.State.SelectedNodeCount()) return "selected node count differs from the flags";
  if (polygons != editor.State.SelectedPolygonCount()) return "selected polygon count differs from the flags";
  return {};
}

// A small document with a bit of everything.
void FillSmallDocument(TEditor& editor) {
  editor.Nodes.NewNode("hill", "Top", 1, 2, 3);
  editor.Nodes.NewNode("", "", -4, 5.5f, -6);
  editor.Nodes.NewNode("", "Foot", 7, 8, 9);
  editor.Nodes.SetSelected(1, true);
  editor.Polygons.NewPolygon(0, 1, 2, kDefaultTexture, "ground", "");
  editor.Polygons.NewPolygon(2, 1, 0, "Sky.Clouds", "", "Lid");
  editor.Polygons.SetSelected(1, true);
  editor.Polygons[1].Color = 0x00FF8040;
  editor.Values.MinZ = -12.5f;
  editor.Values.GridX = editor.Values.GridY = 16;
}

}  // namespace

class TestProjectFile : public QObject {
  Q_OBJECT
 private slots:
  void emptyDocumentIs131Bytes() {
    TEditor editor;  // a blank project at program start: ShowZ on
    const std::string bytes = WriteProjectBytes(editor);
    QCOMPARE(bytes.size(), std::size_t(131));
    QCOMPARE(bytes.substr(0, 80), "TVP Terravel Project File" + std::string(51, ' ') + "\r\n\r\n");
    QCOMPARE(AsQt(bytes.substr(80)).toHex(' '),
             QByteArray("00 00 00 00 00 00 00 00 02 00 00 00 00 00 00 00 00 00 8b 00 00 00 00 00 "
                        "87 00 00 00 00 00 01 00 00 00 00 00 00 00 00 00 00 00 3f 40 00 00 00 40 00 00 00"));

    test::TTempFolder folder;
    const std::string path = folder.Path("empty.tvp");
    QVERIFY(SaveProjectFile(editor, path));
    QCOMPARE(test::ReadWholeFile(path), bytes);

    TEditor loaded;
    loaded.Values = {5, 6, 7, 8, 8};
    loaded.View = {1, 2, 3, false, {}};
    QVERIFY(LoadProjectFile(loaded, path));
    QCOMPARE(loaded.Nodes.Count(), 0);
    QCOMPARE(WriteProjectBytes(loaded), bytes);
  }

  void entriesAreLaidOutFieldByField() {
    TEditor editor;
    editor.Nodes.NewNode("g", "n", 1, 2, -2);
    editor.Nodes.SetSelected(0, true);
    editor.Polygons.NewPolygon(0, 0, 0, "t", "h", "p");
    editor.Polygons[0].Color = 0x00332211;
    const std::string bytes = WriteProjectBytes(editor);
    QCOMPARE(AsQt(bytes.substr(80, bytes.size() - 80 - 43)).toHex(' '),
             QByteArray("01 00 00 00 00 00 80 3f 00 00 00 40 00 00 00 c0 01 00 67 01 00 6e 01 "
                        "01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 01 00 74 01 00 68 01 00 70 "
                        "11 22 33 00 00"));
  }

  void everyFieldSurvivesARoundTrip() {
    const std::string longText(300, 'x');
    TEditor editor;
    editor.Nodes.NewNode(longText, "N" + longText, -1.5f, 2.25f, 1e30f);
    editor.Nodes.NewNode("Group", "Second", 0, -0.0f, 3);
    editor.Polygons.NewPolygon(1, 0, 1, "Tex." + longText, "G" + longText, "P" + longText);
    editor.Polygons.NewPolygon(0, 0, 1, "", "", "Empty");
    editor.Polygons[0].Color = 0x00123456;
    editor.Values = {-12.5f, 3000.25f, 0.125f, 16, 16};
    editor.View = {-33.5f, 44.75f, 1.75f, false, {}};

    test::TTempFolder folder;
    const std::string path = folder.Path("all.tvp");
    SaveProjectFile(editor, path);
    TRecordingHost host;
    TEditor loaded(&host);
    LoadProjectFile(loaded, path);

    // Saving what was loaded gives the same bytes: every stored field came back.
    QCOMPARE(WriteProjectBytes(loaded), test::ReadWholeFile(path));
    QCOMPARE(loaded.Nodes.Count(), 2);
    QCOMPARE(loaded.Polygons.Count(), 2);
    QCOMPARE(loaded.Nodes[0].Name, "N" + longText);
    QCOMPARE(loaded.Nodes[0].BaseX, -1.5f);
    QCOMPARE(loaded.Nodes[0].BaseY, 2.25f);
    QCOMPARE(loaded.Polygons[0].Texture, "Tex." + longText);
    QCOMPARE(loaded.Polygons[0].Color, 0x00123456);
    QCOMPARE(loaded.Values.PgInc, 0.125f);
    QCOMPARE(loaded.Values.GridY, 16);
    // Reading tells nobody: the one who opens the file publishes the rebuilt document.
    QVERIFY2(host.Calls.empty(), host.Joined().c_str());
  }

  // MinZ, MaxZ and PgInc beyond the 6-byte real come back as the nearest value it holds.
  void valuesBeyondTheRealAreClamped() {
    TEditor editor;
    editor.Values.MinZ = -std::numeric_limits<float>::infinity();
    editor.Values.MaxZ = FLT_MAX;
    editor.Values.PgInc = 1e-39f;
    TEditor loaded;
    ReadProjectBytes(loaded, WriteProjectBytes(editor), "range.tvp");
    QCOMPARE(loaded.Values.MinZ, -std::ldexp(1.0f, 127));
    QCOMPARE(loaded.Values.MaxZ, std::ldexp(1.0f, 127));
    QCOMPARE(loaded.Values.PgInc, 0.0f);
  }

  void selectionFlagsSurviveWithTheirSummary_data() {
    QTest::addColumn<QList<int>>("nodes");
    QTest::addColumn<QList<int>>("polygons");
    QTest::addColumn<QString>("summary");
    QTest::newRow("two nodes") << QList<int>{0, 2} << QList<int>{} << "2 nodes selected";
    QTest::newRow("one node") << QList<int>{1} << QList<int>{} << "1 node selected";
    QTest::newRow("one polygon") << QList<int>{} << QList<int>{1} << "1 polygon selected";
    QTest::newRow("both kinds") << QList<int>{0, 1, 2} << QList<int>{0} << "4 objects selected";
  }
  void selectionFlagsSurviveWithTheirSummary() {
    QFETCH(QList<int>, nodes);
    QFETCH(QList<int>, polygons);
    QFETCH(QString, summary);
    TEditor editor;
    for (int i = 0; i < 3; ++i) editor.Nodes.NewNode("", "", float(i), 0, 0);
    editor.Polygons.NewPolygon(0, 1, 2, "", "", "");
    editor.Polygons.NewPolygon(2, 1, 0, "", "", "");
    for (int i : nodes) editor.Nodes.SetSelected(i, true);
    for (int i : polygons) editor.Polygons.SetSelected(i, true);

    TRecordingHost host;
    TEditor loaded(&host);
    ReadProjectBytes(loaded, WriteProjectBytes(editor), "sel.tvp");
    for (int i = 0; i < 3; ++i) QCOMPARE(loaded.Nodes[i].Selected, nodes.contains(i));
    for (int i = 0; i < 2; ++i) QCOMPARE(loaded.Polygons[i].Selected, polygons.contains(i));
    QCOMPARE(QString::fromStdString(loaded.State.SelectionStatusText()), summary);
    QCOMPARE(loaded.State.SelectedNodeCount(), nodes.size());
    QCOMPARE(loaded.State.SelectedPolygonCount(), polygons.size());
  }

  void emptyStoredNamesGetAutomaticNames() {
    TFileBytes file;
    file.Int(3).Node(0, "").Node(1, "Node1").Node(2, "");
    file.Int(2).Polygon(0, 1, 2, "").Polygon(0, 1, 2, "Polygon1");
    TEditor editor;
    ReadProjectBytes(editor, file.Bytes(), "names.tvp");
    QCOMPARE(editor.Nodes[0].Name, std::string("Node1"));
    QCOMPARE(editor.Nodes[1].Name, std::string("Node1"));  // a stored name stays, even when taken
    QCOMPARE(editor.Nodes[2].Name, std::string("Node2"));
    QCOMPARE(editor.Polygons[0].Name, std::string("Polygon1"));
    QCOMPARE(editor.Polygons[1].Name, std::string("Polygon1"));
  }

  void trailerForms_data() {
    QTest::addColumn<QByteArray>("trailer");
    QTest::addColumn<QList<float>>("expected");  // MinZ MaxZ PgInc ShowZ PanX PanY Zoom Grid
    const QList<float> defaults{0, 1024, 64, 0, 0, 0, 0.5f, 64};
    const auto bytes = [](auto compose) {
      TFileBytes file;
      compose(file);
      return AsQt(file.Bytes().substr(80));
    };
    const auto junk = [](TFileBytes& f) { f.Raw(std::string(36, '\x7f')); };
    QTest::newRow("none") << QByteArray() << defaults;
    QTest::newRow("version 0") << bytes([&](TFileBytes& f) { junk(f.Int(0)); }) << defaults;
    QTest::newRow("version -1") << bytes([&](TFileBytes& f) { junk(f.Int(-1)); }) << defaults;
    QTest::newRow("version 3") << bytes([&](TFileBytes& f) { junk(f.Int(3)); }) << defaults;
    QTest::newRow("version 1: whole numbers") << bytes([](TFileBytes& f) {
      f.Int(1).Int(-100).Int(2000).Int(50).Byte(1).Float(10).Float(-20).Float(0.25f).Int(32).Int(32);
    }) << QList<float>{-100, 2000, 50, 1, 10, -20, 0.25f, 32};
    QTest::newRow("version 2: reals") << bytes([](TFileBytes& f) {
      f.Int(2).Real(-12.5f).Real(3000.25f).Real(0.125f).Byte(7).Float(1).Float(2).Float(4).Int(0).Int(0);
    }) << QList<float>{-12.5f, 3000.25f, 0.125f, 1, 1, 2, 4, 0};
    const auto legacyBlock = [](TFileBytes& f) {
      f.Raw(std::string(8, '\xEE')).Float(11).Float(22).Raw(std::string(8, '\xEE'));
    };
    QTest::newRow("legacy position block") << bytes([&](TFileBytes& f) {
      f.Int(2).Real(1).Real(2).Real(3).Byte(0);
      legacyBlock(f);
      f.Float(1.5f).Int(128).Int(128);
    }) << QList<float>{1, 2, 3, 0, 11, 22, 1.5f, 128};
    QTest::newRow("legacy position block, version 1") << bytes([&](TFileBytes& f) {
      f.Int(1).Int(4).Int(5).Int(6).Byte(1);
      legacyBlock(f);
      f.Float(3).Int(2).Int(2);
    }) << QList<float>{4, 5, 6, 1, 11, 22, 3, 2};
  }
  void trailerForms() {
    QFETCH(QByteArray, trailer);
    QFETCH(QList<float>, expected);
    TFileBytes file;
    file.Int(1).Node(0, "A").Int(0).Raw(trailer.toStdString());
    TRecordingHost host;
    TEditor editor(&host);
    editor.Values = {5, 6, 7, 8, 8};
    editor.View = {3, 4, 2, true, {}};
    ReadProjectBytes(editor, file.Bytes(), "trailer.tvp");
    const TProjectValues& v = editor.Values;
    QCOMPARE(v.MinZ, expected[0]);
    QCOMPARE(v.MaxZ, expected[1]);
    QCOMPARE(v.PgInc, expected[2]);
    QCOMPARE(editor.View.ShowZ, expected[3] != 0);
    QCOMPARE(editor.View.PanX, expected[4]);
    QCOMPARE(editor.View.PanY, expected[5]);
    QCOMPARE(editor.View.Zoom, expected[6]);
    QCOMPARE(v.GridX, int(expected[7]));
    QCOMPARE(v.GridY, int(expected[7]));
    QCOMPARE(QString::fromStdString(GridStatusText(v.GridX)), QString("Grid: %1 units").arg(int(expected[7])));
  }

  // The view's pan, zoom and ShowZ go into the trailer and come back out of it: after panning and
  // zooming the file holds the bytes it always held, and loading it then saving gives them again.
  void viewStateIsSavedInTheTrailer_data() {
    QTest::addColumn<int>("zoomSteps");
    QTest::addColumn<bool>("fit");
    QTest::addColumn<bool>("showZ");
    QTest::addColumn<QByteArray>("trailer");  // after MinZ, MaxZ and PgInc
    QTest::newRow("untouched") << 0 << false << true << QByteArray("01 00 00 00 00 00 00 00 00 00 00 00 3f 10 00 00 00 10 00 00 00");
    QTest::newRow("panned and zoomed") << 3 << false << false << QByteArray("00 00 00 48 c1 00 00 e8 40 33 33 13 3f 10 00 00 00 10 00 00 00");
    QTest::newRow("fitted, zoomed out") << -2 << true << true << QByteArray("01 00 00 52 c2 00 80 b9 c2 00 00 a0 41 10 00 00 00 10 00 00 00");
  }
  void viewStateIsSavedInTheTrailer() {
    QFETCH(int, zoomSteps);
    QFETCH(bool, fit);
    QFETCH(bool, showZ);
    QFETCH(QByteArray, trailer);
    TEditor editor;
    FillSmallDocument(editor);
    if (fit) ZoomToFit(editor);
    ZoomBy(editor, zoomSteps);
    if (zoomSteps != 0) PanBy(editor, 12.5f, -7.25f);
    editor.View.ShowZ = showZ;
    const std::string bytes = WriteProjectBytes(editor);
    QCOMPARE(AsQt(bytes.substr(bytes.size() - 21)).toHex(' '), trailer);
    TEditor loaded;
    ReadProjectBytes(loaded, bytes, "view.tvp");
    QCOMPARE(WriteProjectBytes(loaded), bytes);
  }

  // Pan and zoom place every point on the screen: values no view can use read as the defaults.
  void unusableViewValuesReadAsDefaults_data() {
    QTest::addColumn<float>("pan");
    QTest::addColumn<float>("zoom");
    QTest::addColumn<float>("expectedPan");
    QTest::addColumn<float>("expectedZoom");
    const float nan = std::numeric_limits<float>::quiet_NaN(), inf = std::numeric_limits<float>::infinity();
    QTest::newRow("usable") << -12.5f << 3.0f << -12.5f << 3.0f;
    QTest::newRow("NaN") << nan << nan << 0.0f << 0.5f;
    QTest::newRow("infinite") << -inf << inf << 0.0f << 0.5f;
    QTest::newRow("zero zoom") << 1.0f << 0.0f << 1.0f << 0.5f;
    QTest::newRow("negative zero zoom") << 1.0f << -0.0f << 1.0f << 0.5f;
    QTest::newRow("negative zoom") << 1.0f << -2.0f << 1.0f << 0.5f;
  }
  void unusableViewValuesReadAsDefaults() {
    QFETCH(float, pan);
    QFETCH(float, zoom);
    QFETCH(float, expectedPan);
    QFETCH(float, expectedZoom);
    TFileBytes file;
    file.Int(0).Int(0).Int(2).Real(0).Real(1024).Real(64).Byte(1).Float(pan).Float(pan).Float(zoom).Int(64).Int(64);
    TEditor editor;
    ReadProjectBytes(editor, file.Bytes(), "view.tvp");
    QCOMPARE(editor.View.PanX, expectedPan);
    QCOMPARE(editor.View.PanY, expectedPan);
    QCOMPARE(editor.View.Zoom, expectedZoom);
  }

  void anySignatureIsAccepted_data() {
    QTest::addColumn<QByteArray>("signature");
    QTest::newRow("zeros") << QByteArray(80, '\0');
    QTest::newRow("all bits") << QByteArray(80, '\xFF');
    QTest::newRow("another program") << QByteArray("PK\3\4").leftJustified(80, 'z');
  }
  void anySignatureIsAccepted() {
    QFETCH(QByteArray, signature);
    TFileBytes file(signature.toStdString());
    file.Int(1).Node(4, "Only").Int(0);
    TEditor editor;
    ReadProjectBytes(editor, file.Bytes(), "sig.tvp");
    QCOMPARE(editor.Nodes.Count(), 1);
    QCOMPARE(editor.Nodes[0].X, 4.0f);
  }

  // Without Terravel's signature a file must read to its exact end and hold something; whatever
  // else is refused before the document changes.
  void otherSignaturesMustReadExactly_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<bool>("loads");
    const std::string zeros(80, '\0');
    const std::string trailer = TFileBytes(zeros).Int(2).Real(0).Real(1024).Real(64).Byte(1).Float(0).Float(0).Float(0.5f).Int(64).Int(64).Bytes().substr(80);
    QTest::newRow("88 zero bytes") << AsQt(std::string(88, '\0')) << false;
    QTest::newRow("no records, but the values") << AsQt(TFileBytes(zeros).Int(0).Int(0).Raw(trailer).Bytes()) << true;
    QTest::newRow("a node, no values") << AsQt(TFileBytes(zeros).Int(1).Node(1, "N").Int(0).Bytes()) << true;
    QTest::newRow("a byte past the values") << AsQt(TFileBytes(zeros).Int(0).Int(0).Raw(trailer + "x").Bytes()) << false;
    QTest::newRow("unknown trailer version") << AsQt(TFileBytes(zeros).Int(1).Node(1, "N").Int(0).Int(3).Int(0).Bytes()) << false;
    QTest::newRow("cut short") << AsQt(TFileBytes(zeros).Int(2).Node(1, "N").Bytes()) << false;
    std::string noise(1024, '\0');
    std::uint32_t state = 15;
    for (char& c : noise) c = static_cast<char>((state = state * 1103515245u + 12345u) >> 24);
    QTest::newRow("1 KiB of noise") << AsQt(noise) << false;
  }
  void otherSignaturesMustReadExactly() {
    QFETCH(QByteArray, file);
    QFETCH(bool, loads);
    TRecordingHost host;
    TEditor editor(&host);
    try {
      ReadProjectBytes(editor, file.toStdString(), "/home/a/notes.tvp");
      QVERIFY(loads);
    } catch (const EInvalidFileError& error) {
      QVERIFY(!loads);
      QCOMPARE(QString(error.what()), QString("The file /home/a/notes.tvp is not a Terravel project file."));
      QCOMPARE(editor.Nodes.Count(), 0);
      QVERIFY(host.Calls.empty());
    }
    // Behind Terravel's own signature an unknown trailer is ignored, as it always was.
    if (QByteArray(QTest::currentDataTag()) == "unknown trailer version") {
      TEditor own;
      ReadProjectBytes(own, TFileBytes().Bytes() + file.toStdString().substr(80), "own.tvp");
      QCOMPARE(own.Nodes.Count(), 1);
    }
  }

  // Every prefix of a valid file either loads or fails with a file error, and the document it
  // leaves is consistent.
  void truncatedFilesFailCleanly() {
    TEditor source;
    FillSmallDocument(source);
    const std::string whole = WriteProjectBytes(source);
    const std::size_t polygonsEnd = whole.size() - 43;  // the trailer is 43 bytes
    for (std::size_t length = 0; length <= whole.size(); ++length) {
      TEditor editor;
      bool loaded = false;
      try {
        ReadProjectBytes(editor, std::string_view(whole).substr(0, length), "cut.tvp");
        loaded = true;
      } catch (const EStreamError&) {
      } catch (const EInvalidFileError&) {
      }
      const QString why = Inconsistency(editor);
      if (!why.isEmpty()) QFAIL(qPrintable(QString("length %1: %2").arg(length).arg(why)));
      const bool shouldLoad = length == polygonsEnd || length == whole.size();
      if (loaded != shouldLoad) QFAIL(qPrintable(QString("length %1: loaded is %2").arg(length).arg(loaded)));
      if (length >= polygonsEnd) QCOMPARE(editor.Polygons.Count(), 2);
    }
  }

  void damagedCounts_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("error");  // empty: the file loads
    QTest::addColumn<int>("nodes");
    QTest::addColumn<int>("polygons");
    QTest::addColumn<QString>("summary");  // empty: the counts stayed 0 and were not shown
    // Use only within one full expression: the composer is a temporary.
    const auto twoNodes = [](TFileBytes&& f = TFileBytes()) -> TFileBytes& {
      return f.Int(2).Node(0, "A", true).Node(1, "B", true);
    };
    const QString two = "2 nodes selected";
    const std::string longName(30, 'n');
    const QString kReadError = "Stream-Read-Fehler";  // long enough for the count to pass the size test
    QTest::newRow("node count far beyond the file")
        << AsQt(TFileBytes().Int(0x7FFFFFFF).Node(0, "A", true).Int(0).Bytes()) << kReadError << 0 << 0 << "";
    QTest::newRow("one node more than stored: the nodes read stay")
        << AsQt(TFileBytes().Int(3).Node(0, longName, true).Node(1, longName, true).Int(0).Bytes()) << kReadError
        << 2 << 0 << two;
    QTest::newRow("three nodes cannot fit in 40 bytes")
        << AsQt(TFileBytes().Int(3).Node(0, "A", true).Node(1, "B", true).Int(0).Bytes()) << kReadError << 0 << 0
        << "";
    QTest::newRow("negative node count")
        << AsQt(TFileBytes().Int(-5).Int(0).Bytes())
        << "The file counts.tvp is damaged: the node count -5 is negative." << 0 << 0 << "";
    QTest::newRow("node count 2^31")
        << AsQt(TFileBytes().Int(INT32_MIN).Node(0, "A", true).Int(0).Bytes())
        << "The file counts.tvp is damaged: the node count -2147483648 is negative." << 0 << 0 << "";
    QTest::newRow("polygon count far beyond the file")
        << AsQt(twoNodes().Int(0x40000000).Polygon(0, 1, 1).Bytes()) << kReadError << 2 << 0 << two;
    QTest::newRow("two polygons cannot fit in 24 bytes")
        << AsQt(twoNodes().Int(2).Polygon(0, 1, 1, "", true).Bytes()) << kReadError << 2 << 0 << two;
    QTest::newRow("one polygon more than stored: the polygons read stay")
        << AsQt(twoNodes().Int(2).Polygon(0, 1, 1, longName, true).Bytes()) << kReadError << 2 << 1
        << "3 objects selected";
    QTest::newRow("negative polygon count")
        << AsQt(twoNodes().Int(-1).Bytes()) << "The file counts.tvp is damaged: the polygon count -1 is negative."
        << 2 << 0 << two;
    QTest::newRow("smallest entries fit exactly")
        << AsQt(twoNodes().Int(1).Polygon(0, 0, 1).Bytes()) << "" << 2 << 1 << two;
  }
  void damagedCounts() {
    QFETCH(QByteArray, file);
    QFETCH(QString, error);
    QFETCH(int, nodes);
    QFETCH(int, polygons);
    QFETCH(QString, summary);
    TRecordingHost host;
    TEditor editor(&host);
    QString failure;
    try {
      ReadProjectBytes(editor, file.toStdString(), "counts.tvp");
    } catch (const ETerravelError& e) {
      failure = e.what();
    }
    QCOMPARE(failure, error);
    QCOMPARE(editor.Nodes.Count(), nodes);
    QCOMPARE(editor.Polygons.Count(), polygons);
    QCOMPARE(Inconsistency(editor), QString());
    if (!summary.isEmpty()) QCOMPARE(QString::fromStdString(editor.State.SelectionStatusText()), summary);
  }

  void cornersNamingNoNodeRefuseTheFile_data() {
    QTest::addColumn<int>("polygon");
    QTest::addColumn<int>("corner");
    QTest::addColumn<int>("node");
    QTest::newRow("negative first corner") << 0 << 0 << -1;
    QTest::newRow("second polygon, third corner at the count") << 1 << 2 << 3;
    QTest::newRow("far beyond") << 1 << 1 << 0x7FFFFFFF;
  }
  void cornersNamingNoNodeRefuseTheFile() {
    QFETCH(int, polygon);
    QFETCH(int, corner);
    QFETCH(int, node);
    int corners[2][3] = {{0, 1, 2}, {2, 1, 0}};
    corners[polygon][corner] = node;
    TFileBytes file;
    file.Int(3).Node(0, "A").Node(1, "B", true).Node(2, "C");
    file.Int(2);
    for (auto& c : corners) file.Polygon(c[0], c[1], c[2], "", true);
    TRecordingHost host;
    TEditor editor(&host);
    try {
      ReadProjectBytes(editor, file.Bytes(), "/maps/dune.tvp");
      QFAIL("the file was accepted");
    } catch (const EInvalidFileError& error) {
      QCOMPARE(QString(error.what()),
               QString("The file /maps/dune.tvp is damaged: polygon %1 refers to node %2, "
                       "which does not exist.")
                   .arg(polygon)
                   .arg(node));
    }
    // The nodes stay, no polygon enters, and the summary tells the truth.
    QCOMPARE(editor.Nodes.Count(), 3);
    QCOMPARE(editor.Polygons.Count(), 0);
    QCOMPARE(editor.State.SelectionStatusText(), std::string("1 node selected"));
    QCOMPARE(Inconsistency(editor), QString());
    // The automatic names of the refused polygons are not taken.
    QCOMPARE(editor.Polygons[editor.Polygons.NewPolygon(0, 1, 2, "", "", "")].Name, std::string("Polygon1"));
  }

  // A file bigger than the pieces the save writes at a time, with texts across their seams, holds
  // the bytes composed in memory.
  void aBigFileIsSavedAsComposed() {
    TEditor editor;
    for (int i = 0; i < 5000; ++i) editor.Nodes.NewNode("", std::string(std::size_t(i * 7 % 1001), 'n'), 0, 0, 0);
    for (int i = 0; i + 2 < 5000; ++i) editor.Polygons.NewPolygon(i, i + 1, i + 2, std::string(i % 97u, 't'), "", "");
    test::TTempFolder folder;
    const std::string path = folder.Path("big.tvp");
    QVERIFY(SaveProjectFile(editor, path));
    const std::string bytes = WriteProjectBytes(editor);
    QVERIFY(bytes.size() > 2'500'000);
    QVERIFY(test::ReadWholeFile(path) == bytes);
  }

  void failedSavesKeepTheOldFile() {
    test::TTempFolder folder;
    const std::string path = folder.Path("keep.tvp");
    const std::string old = "the old file";
    test::WriteWholeFile(path, old);
    TRecordingHost host;
    TEditor editor(&host);
    FillSmallDocument(editor);
    host.Clear();
    const std::string before = WriteProjectBytes(editor);

    // A text too long for its 16-bit length: refused before anything is written.
    editor.Nodes.SetName(2, std::string(65536, 'n'));
    try {
      SaveProjectFile(editor, path);
      QFAIL("saved");
    } catch (const ETerravelError& error) {
      QCOMPARE(QString(error.what()), QString("Cannot save: the name of node 2 is longer than 65535 bytes."));
    }
    QCOMPARE(test::ReadWholeFile(path), old);
    editor.Nodes.SetName(2, "Foot");
    editor.Polygons[0].Texture = std::string(70000, 't');
    QVERIFY_THROWS_EXCEPTION(ETerravelError, SaveProjectFile(editor, path));
    editor.Polygons[0].Texture = kDefaultTexture;

    // The disk refuses the bytes (a file size limit stands in for a full disk).
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit saved = limit;
    limit.rlim_cur = 64;
    auto* previous = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &limit);
    QString writeError;
    try {
      SaveProjectFile(editor, path);
    } catch (const EStreamError& error) {
      writeError = error.what();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    // The stream's text, the file and the system's cause.
    QCOMPARE(writeError, QString("Stream-Write-Fehler: %1: %2").arg(QString::fromStdString(path), strerror(EFBIG)));
    QCOMPARE(test::ReadWholeFile(path), old);

    // No folder to create the file in.
    const std::string missing = folder.Path("missing/keep.tvp");
    try {
      SaveProjectFile(editor, missing);
      QFAIL("saved");
    } catch (const EFileError& error) {
      QCOMPARE(QString::fromStdString(error.what()),
               QString::fromStdString("Datei " + missing + " kann nicht erstellt werden"));
    }

    // The document is untouched, nothing was told to the windows, and no temporary file is left.
    QCOMPARE(WriteProjectBytes(editor), before);
    QVERIFY2(host.Calls.empty(), host.Joined().c_str());
    int files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder.Path(""))) ++files;
    QCOMPARE(files, 1);
    QVERIFY(SaveProjectFile(editor, path));
    QCOMPARE(test::ReadWholeFile(path), before);
  }

  void missingFileCannotBeOpened() {
    test::TTempFolder folder;
    const std::string path = folder.Path("nothing.tvp");
    TEditor editor;
    try {
      LoadProjectFile(editor, path);
      QFAIL("loaded");
    } catch (const EFileError& error) {
      QCOMPARE(QString::fromUtf8(error.what()), QString::fromStdString("Datei " + path +
                                                                       " kann nicht ge\xC3\xB6"
                                                                       "ffnet werden"));
    }
  }
};

TERRAVEL_TEST(TestProjectFile)
#include "tst_ProjectFile.moc"
