// terravel-cli as a script uses it: exit codes, messages and the files it writes.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <cerrno>
#include <cstring>

#include "model/core/Version.h"
#include "model/formats/FormatTable.h"
#include "support/CliRun.h"
#include "support/TempDir.h"
#include "support/TestRegistry.h"

using terravel::test::RunCli;
using terravel::test::TCliResult;

using terravel::test::ReadWholeFile;
using terravel::test::WriteWholeFile;

namespace {

int CountOf(const std::string& text, const std::string& what) {
  int count = 0;
  for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++count;
  return count;
}

// A 64 x 64 raw heightmap (.r16: little-endian 16-bit) of gentle slopes.
std::string RawTile() {
  std::string raw;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      const int v = (x * 1000 + y * y * 13) % 65536;
      raw += char(v & 0xff);
      raw += char(v >> 8);
    }
  return raw;
}

}  // namespace

class TestCli : public QObject {
  Q_OBJECT
  terravel::test::TTempFolder folder_;
  QString Path(const char* name) { return QString::fromStdString(folder_.Path(name)); }

 private slots:
  void meshExportsAsUnrealPolygons() {
    QCOMPARE(RunCli({"new", Path("m.tvp"), "--mesh", "16"}).ExitCode, 0);
    QCOMPARE(RunCli({"export", Path("m.tvp"), Path("m.t3d")}).ExitCode, 0);
    const std::string t3d = ReadWholeFile(folder_.Path("m.t3d"));
    QCOMPARE(CountOf(t3d, "   Begin Polygon Texture=GenEarth.Grass\r\n"), 512);
    QVERIFY(t3d.starts_with("Begin PolyList\r\n"));
    QVERIFY(t3d.ends_with("End PolyList\r\n"));
  }

  // A heightmap in, its counts and height error out, then on to OBJ; wrong calls are refused.
  void heightmapToObj() {
    WriteWholeFile(folder_.Path("tile.r16"), RawTile());
    TCliResult result = RunCli({"import", Path("tile.r16"), Path("h.tvp"), "--max-triangles", "300", "--z", "0,65535"});
    QCOMPARE(result.ExitCode, 0);
    QVERIFY2(result.Out.contains("Height error: max "), qPrintable(result.Out));
    result = RunCli({"info", Path("h.tvp"), "--json"});
    const int polygons = QJsonDocument::fromJson(result.Out.toUtf8()).object()["polygons"].toInt();
    QVERIFY(polygons > 200 && polygons <= 300);
    result = RunCli({"export", Path("h.tvp"), Path("h.obj")});
    QCOMPARE(result.ExitCode, 0);
    QCOMPARE(CountOf(ReadWholeFile(folder_.Path("h.obj")), "\nf "), polygons);

    // Without a budget the 64 x 64 picture is a regular mesh of 63 x 63 squares.
    result = RunCli({"import", Path("tile.r16"), Path("r.tvp"), "--format", "heightmap", "--step", "1"});
    QCOMPARE(result.ExitCode, 0);
    QVERIFY2(result.Out.startsWith("Imported 4096 nodes and 7938 polygons"), qPrintable(result.Out));

    // And back to a heightmap at the picture's size: the same bytes, no difference; a picture of
    // another size to compare with refuses the export.
    result = RunCli({"export", Path("r.tvp"), Path("back.r16"), "--compare", Path("tile.r16")});
    QVERIFY2(result.Out.contains("64 x 64 heightmap") && result.Out.contains("max 0, mean 0.000"), qPrintable(result.Out));
    QCOMPARE(ReadWholeFile(folder_.Path("back.r16")), RawTile());
    QCOMPARE(RunCli({"export", Path("r.tvp"), Path("x.png"), "--size", "32x32", "--compare", Path("tile.r16")}).ExitCode, 1);
    QVERIFY(!QFile::exists(Path("x.png")));
    QCOMPARE(RunCli({"export", Path("r.tvp"), Path("x.png"), "--size", "64x64", "--pixel", "2"}).ExitCode, 2);
    // A pixel size is told back as typed; a bad one names its option.
    QVERIFY(RunCli({"export", Path("r.tvp"), Path("x.r16"), "--pixel", "1e-30"}).Err.contains("pixel size of 1e-30 "));
    QVERIFY(RunCli({"export", Path("r.tvp"), Path("x.r16"), "--pixel", "big"}).Err.contains("--pixel takes a number"));

    QCOMPARE(RunCli({"import", Path("tile.r16"), Path("x.tvp"), "--max-triangles", "1"}).ExitCode, 2);
    QCOMPARE(RunCli({"import", Path("tile.r16"), Path("x.tvp"), "--scale", "2"}).ExitCode, 2);
    WriteWholeFile(folder_.Path("odd.raw"), std::string(6, '\0'));
    result = RunCli({"import", Path("odd.raw"), Path("x.tvp")});
    QCOMPARE(result.ExitCode, 1);
    QVERIFY(result.Err.contains("no square picture"));
    QVERIFY(!QFile::exists(Path("x.tvp")));
  }

  // The heightmap options a 64 x 64 picture cannot take, each refused naming the option, with
  // no project written; the error bound and the seamless border as a script gives them.
  void heightmapOptions_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::newRow("cell beyond single precision") << QStringList{"--cell", "3e38"} << 2 << "--cell: The size of a pixel is too large";
    QTest::newRow("cell too small") << QStringList{"--cell", "1e-45"} << 2 << "--cell: The size of a pixel is too small";
    QTest::newRow("cell without area") << QStringList{"--cell", "1e-25"} << 2 << "would have no area";
    QTest::newRow("Z range beyond single precision") << QStringList{"--z", "-3e38,3e38"} << 2 << "--z: ";
    QTest::newRow("Z without its high end") << QStringList{"--z", "1,"} << 2 << "--z takes a number, not \"\"";
    QTest::newRow("empty cell") << QStringList{"--cell="} << 2 << "--cell takes a number, not \"\"";
    QTest::newRow("negative error bound") << QStringList{"--max-error", "-1"} << 2 << "--max-error takes a number of 0 or more";
    QTest::newRow("a small cell") << QStringList{"--step", "1", "--cell", "0.01"} << 0 << "Imported 4096 nodes";
    QTest::newRow("error bound") << QStringList{"--max-error", "2000", "--z", "0,65535"} << 0 << "Stopped at the error bound.";
    QTest::newRow("budget first") << QStringList{"--max-error", "1", "--max-triangles", "40", "--z", "0,65535"} << 0
                                  << "Stopped at the triangle budget.";
    QTest::newRow("seamless border") << QStringList{"--seamless-border", "--max-triangles", "100"} << 0 << "Imported";
    QTest::newRow("seamless border needs a heightmap") << QStringList{"--seamless-border", "--format", "txt"} << 2
                                                       << "--seamless-border applies to the heightmap format only";
  }
  void heightmapOptions() {
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    WriteWholeFile(folder_.Path("options.r16"), RawTile());
    QFile::remove(Path("o.tvp"));
    const TCliResult result = RunCli(QStringList{"import", Path("options.r16"), Path("o.tvp")} + options);
    QCOMPARE(result.ExitCode, exitCode);
    QVERIFY2((result.Out + result.Err).contains(message), qPrintable(result.Out + result.Err));
    QCOMPARE(QFile::exists(Path("o.tvp")), exitCode == 0);
  }

  void infoAsJson() {
    QCOMPARE(RunCli({"new", Path("t.tvp")}).ExitCode, 0);
    const TCliResult result = RunCli({"info", Path("t.tvp"), "--json"});
    QCOMPARE(result.ExitCode, 0);
    const QJsonObject info = QJsonDocument::fromJson(result.Out.toUtf8()).object();
    const QStringList keys = {"nodes", "polygons", "selectedNodes", "selectedPolygons", "minZ", "maxZ", "pgInc",
                              "showZ", "panX", "panY", "zoom", "gridX", "gridY"};
    QCOMPARE(info.keys().size(), keys.size());
    for (const QString& key : keys) QVERIFY2(info.contains(key), qPrintable(key));
    QCOMPARE(info["nodes"].toInt(), 3);
    QCOMPARE(info["polygons"].toInt(), 1);
    QCOMPARE(info["maxZ"].toDouble(), 1024.0);
    QCOMPARE(info["showZ"].toBool(), true);
    QCOMPARE(info["gridX"].toInt(), 64);
  }

  void exportFormatsAndScale() {
    QCOMPARE(RunCli({"new", Path("tri.tvp")}).ExitCode, 0);
    QCOMPARE(RunCli({"export", Path("tri.tvp"), Path("tri.txt"), "--scale", "0.5"}).ExitCode, 0);
    QCOMPARE(ReadWholeFile(folder_.Path("tri.txt")),
             std::string("0.00\t-128.00\t0.00\r\n-128.00\t128.00\t512.00\r\n128.00\t128.00\t256.00\r\n"));
    QCOMPARE(RunCli({"export", Path("tri.tvp"), Path("tri.out"), "--format", "tvt"}).ExitCode, 0);
    QVERIFY(ReadWholeFile(folder_.Path("tri.out")).starts_with("TVT\r\n\r\n; Terravel Portable Project\r\n"));
  }

  void importIntoNewAndExistingProjects() {
    WriteWholeFile(folder_.Path("points.txt"), "1\t2\t3\r\n; remark\r\n4\t5\t6\r\n");
    QCOMPARE(RunCli({"import", Path("points.txt"), Path("p.tvp"), "--scale", "2"}).ExitCode, 0);
    TCliResult info = RunCli({"info", Path("p.tvp"), "--json"});
    QCOMPARE(QJsonDocument::fromJson(info.Out.toUtf8()).object()["nodes"].toInt(), 2);
    QCOMPARE(RunCli({"new", Path("base.tvp")}).ExitCode, 0);
    QCOMPARE(RunCli({"import", Path("points.txt"), Path("merged.tvp"), "--into", Path("base.tvp")}).ExitCode, 0);
    info = RunCli({"info", Path("merged.tvp"), "--json"});
    QCOMPARE(QJsonDocument::fromJson(info.Out.toUtf8()).object()["nodes"].toInt(), 5);
    QCOMPARE(QJsonDocument::fromJson(info.Out.toUtf8()).object()["polygons"].toInt(), 1);
  }

  // The shaping commands chained as a script would: a mesh simplified, smoothed, then its
  // points triangulated afresh; each reports and writes its file.
  void shapingChain_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("output");
    QTest::addColumn<int>("polygons");
    QTest::newRow("simplify") << QStringList{"simplify", "m.tvp", "s.tvp", "--max-triangles", "100"}
                              << "Simplified 512 polygons to 100; maximum height error 0" << 100;
    QTest::newRow("smooth") << QStringList{"smooth", "s.tvp", "t.tvp", "--passes", "3", "--strength", "0.4"}
                            << "Smoothed 0 nodes" << 100;
    QTest::newRow("triangulate") << QStringList{"triangulate", "n.tvp", "u.tvp", "--max-edge", "400"}
                                 << "Added 512 polygons" << 512;
  }
  void shapingChain() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, output);
    QFETCH(int, polygons);
    QCOMPARE(RunCli({"new", Path("m.tvp"), "--mesh", "16"}).ExitCode, 0);
    QCOMPARE(RunCli({"export", Path("m.tvp"), Path("n.txt")}).ExitCode, 0);
    QCOMPARE(RunCli({"import", Path("n.txt"), Path("n.tvp")}).ExitCode, 0);
    if (arguments[0] == "smooth") {
      QCOMPARE(RunCli({"simplify", Path("m.tvp"), Path("s.tvp"), "--max-triangles", "100"}).ExitCode, 0);
    }
    for (int k : {1, 2}) arguments[k] = Path(arguments[k].toLatin1().constData());
    const TCliResult result = RunCli(arguments);
    QCOMPARE(result.ExitCode, 0);
    QVERIFY2(result.Out.startsWith(output), qPrintable(result.Out));
    const TCliResult info = RunCli({"info", arguments[2], "--json"});
    QCOMPARE(QJsonDocument::fromJson(info.Out.toUtf8()).object()["polygons"].toInt(), polygons);
  }

  // A budget below what the outline keeps: the nearest result is written and the tool says so.
  void simplifyBelowTheOutlineFails() {
    QCOMPARE(RunCli({"new", Path("m.tvp"), "--mesh", "16"}).ExitCode, 0);
    const TCliResult result = RunCli({"simplify", Path("m.tvp"), Path("s.tvp"), "--max-triangles", "1"});
    QCOMPARE(result.ExitCode, 1);
    QVERIFY2(result.Err.contains("Simplified 512 polygons to 2, not 1: the outline"), qPrintable(result.Err));
    const TCliResult info = RunCli({"info", Path("s.tvp"), "--json"});
    QCOMPARE(QJsonDocument::fromJson(info.Out.toUtf8()).object()["polygons"].toInt(), 2);
  }

  // Points so far out that the single-precision winding rule overflows: the two triangles are
  // left out and counted, not written wound the wrong way.
  void triangulateCountsWhatItLeavesOut() {
    WriteWholeFile(folder_.Path("far.txt"), "0\t1e19\t0\r\n1e19\t0\t0\r\n3e19\t4e19\t0\r\n4e19\t2e19\t0\r\n");
    QCOMPARE(RunCli({"import", Path("far.txt"), Path("far.tvp")}).ExitCode, 0);
    const TCliResult result = RunCli({"triangulate", Path("far.tvp"), Path("far2.tvp")});
    QCOMPARE(result.ExitCode, 0);
    QVERIFY2(
        result.Out.startsWith("Added 0 polygons; left out 2 triangles too thin to wind as ground in single "
                              "precision; wrote "),
        qPrintable(result.Out));
  }

  void wrongCallsAndFailures_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::newRow("no command") << QStringList{} << 2 << "Usage:";
    QTest::newRow("unknown command") << QStringList{"frobnicate"} << 2 << "unknown command";
    QTest::newRow("unknown option") << QStringList{"info", "x.tvp", "--fast"} << 2 << "unknown option --fast";
    QTest::newRow("odd mesh") << QStringList{"new", "x.tvp", "--mesh", "3"} << 2 << "even number";
    QTest::newRow("two kinds") << QStringList{"new", "x.tvp", "--blank", "--triangle"} << 2 << "choose one";
    QTest::newRow("bad scale") << QStringList{"export", "x.tvp", "x.txt", "--scale", "big"} << 2 << "no number";
    QTest::newRow("unknown extension") << QStringList{"export", "x.tvp", "x.doc"} << 2 << "--format";
    // Format names are exact; each command lists the formats it takes in its own order.
    QTest::newRow("format name in capitals") << QStringList{"export", "x.tvp", "x.t3d", "--format", "T3D"}
                                             << 2 << "unknown format \"T3D\" (use t3d, txt, tvt, obj, gltf, heightmap, t3d-map)";
    QTest::newRow("project text is not read")
        << QStringList{"import", "x.TVT", "x.tvp"} << 2
        << "cannot tell the format from \"x.TVT\": give --format (txt, t3d, heightmap)";
    QTest::newRow("Unreal text is not scaled") << QStringList{"export", "x.tvp", "x.T3D", "--scale", "2"} << 2
                                               << "--scale applies to the txt format only";
    QTest::newRow("simplify without a goal")
        << QStringList{"simplify", "x.tvp", "y.tvp"} << 2 << "give one of";
    QTest::newRow("simplify with two goals")
        << QStringList{"simplify", "x.tvp", "y.tvp", "--max-triangles", "5", "--max-error", "1"} << 2
        << "give one of";
    QTest::newRow("smooth strength")
        << QStringList{"smooth", "x.tvp", "y.tvp", "--strength", "2"} << 2 << "--strength";
    QTest::newRow("triangulate edge") << QStringList{"triangulate", "x.tvp", "y.tvp", "--max-edge", "-1"} << 2
                                      << "--max-edge";
    // Each command words its own --size limits.
    QTest::newRow("heightmap size") << QStringList{"export", "x.tvp", "x.png", "--size", "64x1"} << 2
                                    << "--size takes WIDTHxHEIGHT, each 2 or more, not \"64x1\"";
    QTest::newRow("picture size") << QStringList{"render", "x.tvp", "x.png", "--size", "9000x9000"} << 2
                                  << "--size takes WIDTHxHEIGHT, each from 1 to 16384 and at most 33554432 pixels "
                                     "in all (got \"9000x9000\")";
    QTest::newRow("3-D picture size") << QStringList{"render", "x.tvp", "x.png", "--3d", "--size", "64x"} << 2
                                      << "--size takes WIDTHxHEIGHT, each from 1 to 8192 with --3d (got \"64x\")";
    QTest::newRow("missing file") << QStringList{"info", "/nonexistent/x.tvp"} << 1
                                  << "Datei /nonexistent/x.tvp kann nicht";
    QTest::newRow("unwritable output") << QStringList{"new", "/nonexistent/dir/x.tvp"} << 1
                                       << "kann nicht erstellt werden";
  }
  void wrongCallsAndFailures() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    const TCliResult result = RunCli(arguments);
    QCOMPARE(result.ExitCode, exitCode);
    QVERIFY2(result.Err.contains(message), qPrintable(result.Err));
  }

  // Past a file-size limit the write fails with the stream's message instead of killing the tool,
  // and neither the target nor a temporary file is left behind.
  void writesPastAFileSizeLimitFailCleanly_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("target");
    QTest::newRow("save") << QStringList{"new", "@", "--mesh", "16"} << "big.tvp";
    QTest::newRow("Unreal text") << QStringList{"export", "$", "@"} << "big.t3d";
    QTest::newRow("X/Y/Z text") << QStringList{"export", "$", "@"} << "big.txt";
  }
  void writesPastAFileSizeLimitFailCleanly() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, target);
    terravel::test::TTempFolder folder;
    const QString source = Path("limit-source.tvp");
    QCOMPARE(RunCli({"new", source, "--mesh", "16"}).ExitCode, 0);
    const QString output = QString::fromStdString(folder.Path(target.toStdString()));
    arguments.replaceInStrings("@", output).replaceInStrings("$", source);
    const TCliResult result = RunCli(arguments, 4096);
    QCOMPARE(result.ExitCode, 1);
    // The stream's text with the file and the system's cause.
    QCOMPARE(result.Err, QString("Stream-Write-Fehler: %1: %2\n").arg(output, strerror(EFBIG)));
    QVERIFY(QDir(QString::fromStdString(folder.Path(""))).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
  }

  // Each option of the Unreal map export, and what it leaves in the file or says.
  void unrealMapOptions_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("expected");  // in the file, or else in what the tool said
    QTest::newRow("subtract") << QStringList{} << 0 << "CsgOper=CSG_Subtract\r\n";
    QTest::newRow("add") << QStringList{"--csg", "add"} << 0 << "CsgOper=CSG_Add\r\n";
    QTest::newRow("semisolid") << QStringList{"--csg", "semisolid"} << 0 << "PolyFlags=32\r\n";
    QTest::newRow("unknown csg") << QStringList{"--csg", "carve"} << 2 << "--csg takes subtract, add or semisolid";
    QTest::newRow("ceiling") << QStringList{"--ceiling", "5000"} << 0 << ",+05000.000000\r\n";
    QTest::newRow("ceiling below the ground") << QStringList{"--ceiling", "-5"} << 1 << "must lie above";
    QTest::newRow("floor") << QStringList{"--csg", "add", "--floor", "-3000"} << 0 << ",-03000.000000\r\n";
    QTest::newRow("floor of a subtraction") << QStringList{"--floor", "-3000"} << 2 << "--floor applies to";
    QTest::newRow("tile") << QStringList{"--tile", "1024"} << 0 << "Wrote 16 brushes";
    QTest::newRow("max brush polygons") << QStringList{"--max-brush-polygons", "100"} << 0 << "Wrote 16 brushes";
    QTest::newRow("snap") << QStringList{"--snap", "100"} << 0 << "Vertex   +00300.000000,";
    QTest::newRow("snap spoils") << QStringList{"--snap", "1000"} << 1 << "would make polygon";
    QTest::newRow("force") << QStringList{"--snap", "1000", "--force"} << 0 << "Written anyway: Snapping";
    QTest::newRow("side texture") << QStringList{"--side-texture", "Rock.Wall"} << 0 << "Texture=Rock.Wall\r\n";
    QTest::newRow("invisible sides") << QStringList{"--invisible-sides"} << 0 << " Flags=1\r\n";
    QTest::newRow("texture scale") << QStringList{"--texture-scale", "0.5"} << 0 << "TextureU +00000.500000,";
    QTest::newRow("room") << QStringList{"--csg", "add", "--room"} << 0 << "Begin Actor Class=PlayerStart";
  }
  void unrealMapOptions() {
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    QFETCH(QString, expected);
    QCOMPARE(RunCli({"new", Path("map.tvp"), "--mesh", "16"}).ExitCode, 0);
    QFile::remove(Path("map.t3d"));
    const TCliResult result = RunCli(QStringList{"export", Path("map.tvp"), Path("map.t3d"), "--format", "t3d-map"} + options);
    QCOMPARE(result.ExitCode, exitCode);
    const QString file = exitCode == 0 ? QString::fromStdString(ReadWholeFile(folder_.Path("map.t3d"))) : QString();
    QVERIFY2(file.contains(expected) || result.Out.contains(expected) || result.Err.contains(expected),
             qPrintable(result.Out + result.Err));
    if (exitCode != 0) QVERIFY(!QFile::exists(Path("map.t3d")));
  }

  void checkFindsProblems_data() {
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("expected");
    QTest::newRow("clean") << QStringList{} << 0 << "No problems found.";
    QTest::newRow("off the grid") << QStringList{"--snap", "100"} << 1 << "is off the grid of 100";
    QTest::newRow("json") << QStringList{"--snap", "100", "--json"} << 1 << "\"kind\": \"off-grid\"";
  }
  void checkFindsProblems() {
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    QFETCH(QString, expected);
    QCOMPARE(RunCli({"new", Path("check.tvp"), "--mesh", "16"}).ExitCode, 0);
    const TCliResult result = RunCli(QStringList{"check", Path("check.tvp")} + options);
    QCOMPARE(result.ExitCode, exitCode);
    QVERIFY2(result.Out.contains(expected), qPrintable(result.Out + result.Err));
    if (options.contains("--json")) QVERIFY(!QJsonDocument::fromJson(result.Out.toUtf8()).isNull());
  }

  void helpAndVersion() {
    TCliResult result = RunCli({"--version"});
    QCOMPARE(result.ExitCode, 0);
    QVERIFY(result.Out.contains(terravel::kTerravelVersion));
    result = RunCli({"--help"});
    QCOMPARE(result.ExitCode, 0);
    QVERIFY(result.Out.contains("terravel-cli export"));
  }

  // Every command answers --help with its own usage lines and paragraph, and nothing else.
  void everyCommandHasItsOwnHelp_data() {
    QTest::addColumn<QString>("command");
    for (const char* command : {"info", "export", "import", "new", "render", "triangulate", "simplify", "smooth"})
      QTest::newRow(command) << command;
  }
  void everyCommandHasItsOwnHelp() {
    QFETCH(QString, command);
    const TCliResult result = RunCli({command, "x.tvp", "--help"});
    QCOMPARE(result.ExitCode, 0);
    QVERIFY2(result.Out.startsWith("Usage:\n  terravel-cli " + command + " "), qPrintable(result.Out));
    QVERIFY2(result.Out.contains("\n  " + command + " "), qPrintable(result.Out));
    for (const QString& line : result.Out.split('\n'))
      QVERIFY2(!line.startsWith("  terravel-cli ") || line.startsWith("  terravel-cli " + command + " "), qPrintable(line));
  }

  // What is no regular file is refused by name, and a picture or an export never takes its own
  // project's place (here through a link).
  void inputsAndOutputsThatAreRefused_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");
    QTest::newRow("endless device") << QStringList{"info", "/dev/zero"} << "/dev/zero kann nicht ge";
    QTest::newRow("triangulate an endless device") << QStringList{"triangulate", "/dev/zero", "@"} << "not a regular file";
    QTest::newRow("export over its project") << QStringList{"export", "$", "#"} << "is the input project";
  }
  void inputsAndOutputsThatAreRefused() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    terravel::test::TTempFolder folder;
    const QString source = QString::fromStdString(folder.Path("p.tvp"));
    const QString link = QString::fromStdString(folder.Path("p.t3d"));
    QCOMPARE(RunCli({"new", source}).ExitCode, 0);
    QVERIFY(QFile::link(source, link));
    const std::string before = ReadWholeFile(source.toStdString());
    arguments.replaceInStrings("$", source).replaceInStrings("#", link);
    arguments.replaceInStrings("@", QString::fromStdString(folder.Path("out.tvp")));
    const TCliResult result = RunCli(arguments);
    QCOMPARE(result.ExitCode, 1);
    QVERIFY2(result.Err.contains(message), qPrintable(result.Err));
    QVERIFY(ReadWholeFile(source.toStdString()) == before);
    QVERIFY(QFileInfo(link).isSymLink());
  }

  // The usage names the formats of the table in the table's order, export and import alike.
  void usageListsTheFormatsOfTheTable() {
    const QString usage = RunCli({"--help"}).Out;
    for (const bool imports : {false, true}) {
      QString listed;
      for (const QString& line : usage.split('\n')) {
        if (!line.startsWith(imports ? "  terravel-cli import" : "  terravel-cli export")) continue;
        const qsizetype at = line.indexOf("[--format ");
        QVERIFY(at > 0);
        listed += (listed.isEmpty() ? "" : "|") + line.mid(at + 10, line.indexOf(']', at) - at - 10);
      }
      QString expected;
      for (const terravel::TExchangeFormatInfo* format : terravel::CommandLineFormats(imports))
        expected += (expected.isEmpty() ? "" : "|") + QString::fromStdString(format->Name);
      QCOMPARE(listed, expected);
    }
  }
};

TERRAVEL_TEST(TestCli)
#include "tst_Cli.moc"
