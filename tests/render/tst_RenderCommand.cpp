// terravel-cli render as a script uses it: the picture and the pick buffer as PNG files.
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <cmath>
#include <QTest>

#include "model/editor/Editor.h"
#include "model/projectfile/ProjectFile.h"
#include "model/view/ViewTransform.h"
#include "render/GradientTable.h"
#include "support/CliRun.h"
#include "support/TempDir.h"
#include "support/TestRegistry.h"

using terravel::test::RunCli;
using terravel::test::TCliResult;

using namespace terravel;

class TestRenderCommand : public QObject {
  Q_OBJECT
  test::TTempFolder folder_;
  QString Path(const char* name) { return QString::fromStdString(folder_.Path(name)); }

  // Where the triangle's nodes land at the given size after "Zoom to fit".
  std::vector<TScreenPoint> FittedNodes(int width, int height) {
    TEditor editor;
    LoadProjectFile(editor, folder_.Path("t.tvp"));
    editor.View.Size = {width, height};
    ZoomToFit(editor);
    std::vector<TScreenPoint> points;
    for (const T3DCoord& node : editor.Nodes) points.push_back(NodeScreenPosition(editor, node));
    return points;
  }

 private slots:
  void init() {
    if (!QFileInfo::exists(TERRAVEL_CLI_PATH)) QSKIP("terravel-cli is not built");
    if (!QFileInfo::exists(Path("t.tvp"))) QCOMPARE(RunCli({"new", Path("t.tvp")}).ExitCode, 0);
  }

  void pickBufferHoldsTheCodes() {
    QCOMPARE(
        RunCli({"render", Path("t.tvp"), Path("pick.png"), "--pick", "--size", "300x200", "--fit"}).ExitCode, 0);
    const QImage pick(Path("pick.png"));
    QCOMPARE(pick.size(), QSize(300, 200));
    const std::vector<TScreenPoint> nodes = FittedNodes(300, 200);
    for (int i = 0; i < 3; ++i) QCOMPARE(pick.pixel(nodes[i].X, nodes[i].Y) & 0xFFFFFF, QRgb(i));
    QCOMPARE(pick.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
  }

  void pictureShowsTheHeights() {
    QCOMPARE(RunCli({"render", Path("t.tvp"), Path("scene.png"), "--size", "300x200", "--fit", "--show", "none",
                  "--no-gradient-lines"})
                 .ExitCode,
             0);
    const QImage scene(Path("scene.png"));
    const std::vector<TScreenPoint> nodes = FittedNodes(300, 200);
    // Node 2 of the new-project triangle has Z 1024 = MaxZ: the last gradient entry.
    QCOMPARE(scene.pixel(nodes[1].X, nodes[1].Y) | 0xFF000000, GradientTable()[558]);
    QCOMPARE(scene.pixel(nodes[0].X, nodes[0].Y) | 0xFF000000, GradientTable()[0]);
  }

  void backgroundPictureLiesUnderTheMesh() {
    QImage picture(40, 40, QImage::Format_RGB32);
    picture.fill(qRgb(10, 200, 30));
    QVERIFY(picture.save(Path("map.png")));
    QCOMPARE(RunCli({"render", Path("t.tvp"), Path("bg.png"), "--size", "300x200", "--fit", "--background",
                  Path("map.png"), "--origin", "0,-50", "--scale", "2.5,2.5"})
                 .ExitCode,
             0);
    TEditor editor;
    LoadProjectFile(editor, folder_.Path("t.tvp"));
    editor.View.Size = {300, 200};
    ZoomToFit(editor);
    const TScreenPoint inside = WorldToScreen(editor, 20, -30);
    QCOMPARE(QImage(Path("bg.png")).pixel(inside.X, inside.Y) | 0xFF000000, qRgb(10, 200, 30));
  }

  void unusableBackgroundIsReported() {
    test::WriteWholeFile(folder_.Path("bad.png"), "no picture");
    const TCliResult result = RunCli({"render", Path("t.tvp"), Path("none.png"), "--background", Path("bad.png")});
    QCOMPARE(result.ExitCode, 1);
    QVERIFY2(result.Err.contains(Path("bad.png")), qPrintable(result.Err));
    QVERIFY(!QFileInfo::exists(Path("none.png")));
  }

  void wrongCallsAreUsageErrors_data() {
    QTest::addColumn<QStringList>("extra");
    QTest::addColumn<QString>("named");  // what the message names
    QTest::newRow("size without height") << QStringList{"--size", "300"} << "--size";
    QTest::newRow("size zero") << QStringList{"--size", "0x10"} << "--size";
    QTest::newRow("size too large") << QStringList{"--size", "20000x20000"} << "--size";
    QTest::newRow("unknown label") << QStringList{"--show", "z,colours"} << "colours";
    QTest::newRow("origin without picture") << QStringList{"--origin", "1,2"} << "--background";
    QTest::newRow("zero scale") << QStringList{"--background", "x.png", "--scale", "0,1"} << "--scale";
    QTest::newRow("origin not numbers")
        << QStringList{"--background", "x.png", "--origin", "1;2"} << "--origin";
    QTest::newRow("one file") << QStringList{} << "2 file names";
    QTest::newRow("camera without 3d") << QStringList{"--camera", "10,20"} << "--3d";
    QTest::newRow("3d with pick") << QStringList{"--3d", "--pick"} << "--pick";
    QTest::newRow("camera one number") << QStringList{"--3d", "--camera", "10"} << "--camera";
    QTest::newRow("camera elevation too high") << QStringList{"--3d", "--camera", "10,95"} << "--camera";
    QTest::newRow("camera distance zero") << QStringList{"--3d", "--camera", "10,20,0"} << "--camera";
    QTest::newRow("exaggeration above 10") << QStringList{"--3d", "--exaggerate", "12"} << "--exaggerate";
  }
  // The 3-D picture without a display: the size asked for, the background at the corners and the
  // terrain in the middle; where EGL cannot start the tool says so and fails cleanly.
  void threeDPicture() {
    const TCliResult result = RunCli({"render", Path("t.tvp"), Path("3d.png"), "--3d", "--size", "320x240",
                                      "--camera", "0,90", "--exaggerate", "2"});
    if (result.ExitCode != 0 && result.Err.contains("No OpenGL without a display")) QSKIP(qPrintable(result.Err));
    QCOMPARE(result.ExitCode, 0);
    const QImage picture(Path("3d.png"));
    QCOMPARE(picture.size(), QSize(320, 240));
    const QRgb corner = picture.pixel(0, 0);
    QCOMPARE(picture.pixel(319, 239), corner);
    int covered = 0;
    for (int y = 0; y < 240; y += 4)
      for (int x = 0; x < 320; x += 4) covered += picture.pixel(x, y) != corner;
    QVERIFY2(covered > 40, qPrintable(QString::number(covered)));
  }

  void wrongCallsAreUsageErrors() {
    QFETCH(QStringList, extra);
    QFETCH(QString, named);
    const QStringList files =
        extra.isEmpty() ? QStringList{Path("t.tvp")} : QStringList{Path("t.tvp"), Path("w.png")};
    const TCliResult result = RunCli(QStringList{"render"} + files + extra);
    QCOMPARE(result.ExitCode, 2);
    QVERIFY2(result.Err.contains(named), qPrintable(result.Err));
  }

  // A picture never takes the project's place; a node at no finite place is named instead of a
  // blank 3-D picture; Qt's note about XDG_RUNTIME_DIR is not the tool's to print.
  void refusalsLeaveTheProject_data() {
    QTest::addColumn<QStringList>("extra");
    QTest::addColumn<bool>("overInput");
    QTest::addColumn<QString>("message");
    QTest::newRow("picture over its project") << QStringList{} << true << "is the input project";
    QTest::newRow("3-D picture over its project") << QStringList{"--3d"} << true << "is the input project";
    QTest::newRow("3-D picture of a node at -inf")
        << QStringList{"--3d"} << false << "Cannot render: the X coordinate of node 1 (Node2) is not a finite number.";
  }
  void refusalsLeaveTheProject() {
    QFETCH(QStringList, extra);
    QFETCH(bool, overInput);
    QFETCH(QString, message);
    TEditor editor;
    LoadProjectFile(editor, folder_.Path("t.tvp"));
    if (!overInput) editor.Nodes[1].X = -INFINITY;
    SaveProjectFile(editor, folder_.Path("odd.tvp"));
    const std::string before = test::ReadWholeFile(folder_.Path("odd.tvp"));
    const TCliResult result =
        RunCli(QStringList{"render", Path("odd.tvp"), overInput ? Path("odd.tvp") : Path("odd.png")} + extra);
    QCOMPARE(result.ExitCode, 1);
    QVERIFY2(result.Err.contains(message), qPrintable(result.Err));
    QVERIFY(test::ReadWholeFile(folder_.Path("odd.tvp")) == before);
    QVERIFY(!QFileInfo::exists(Path("odd.png")));
  }

  // Through a link to the tool's own output the picture goes to that output, and Qt's note about
  // a missing XDG_RUNTIME_DIR stays unsaid.
  void pictureToStandardOutput() {
    QFile::remove(Path("out.png"));
    QVERIFY(QFile::link("/dev/stdout", Path("out.png")));
    qunsetenv("XDG_RUNTIME_DIR");
    const TCliResult result = RunCli({"render", Path("t.tvp"), Path("out.png"), "--size", "40x30"});
    QCOMPARE(result.ExitCode, 0);
    QVERIFY(result.Out.startsWith(QStringLiteral("\uFFFDPNG")));
    QVERIFY(QFileInfo(Path("out.png")).isSymLink());
    QCOMPARE(result.Err, QString());
  }
};

TERRAVEL_TEST(TestRenderCommand)
#include "tst_RenderCommand.moc"
