// The real program on a real (virtual) X server: started with a project file, its window must
// carry the file's title and show the nodes where the view puts them, in their colours.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QtEndian>

#include <optional>

#include "model/editor/Editor.h"
#include "model/projectfile/ProjectFile.h"
#include "model/view/ViewTransform.h"
#include "render/Colors.h"
#include "support/TempDir.h"
#include "support/TestRegistry.h"

using namespace terravel;
using namespace terravel::test;

namespace {

constexpr QRgb kSilver = 0xFFC0C0C0;

// The screen as Xvfb keeps it in its frame buffer file (XWD format, 32 bits per pixel).
QImage ReadFrameBuffer(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray data = file.readAll();
  if (data.size() < 100) return {};
  const auto field = [&](int i) { return qFromBigEndian<quint32>(data.constData() + 4 * i); };
  const quint32 headerSize = field(0), width = field(4), height = field(5), byteOrder = field(7);
  const quint32 bitsPerPixel = field(11), bytesPerLine = field(12), colours = field(19);
  const qsizetype offset = qsizetype(headerSize) + qsizetype(colours) * 12;
  if (bitsPerPixel != 32 || width == 0 || offset + qsizetype(bytesPerLine) * height > data.size()) return {};
  QImage image(int(width), int(height), QImage::Format_RGB32);
  for (quint32 y = 0; y < height; ++y) {
    const uchar* line =
        reinterpret_cast<const uchar*>(data.constData() + offset + qsizetype(y) * bytesPerLine);
    for (quint32 x = 0; x < width; ++x) {
      const quint32 pixel =
          byteOrder == 0 ? qFromLittleEndian<quint32>(line + 4 * x) : qFromBigEndian<quint32>(line + 4 * x);
      image.setPixel(int(x), int(y), 0xFF000000 | (pixel & 0xFFFFFF));
    }
  }
  return image;
}

// The viewport inside the window: the block of rows that are mostly silver, and the silver
// columns within it.
std::optional<QRect> FindViewport(const QImage& window) {
  int top = -1, bottom = -1, left = window.width(), right = -1;
  for (int y = 0; y < window.height(); ++y) {
    int silver = 0;
    for (int x = 0; x < window.width(); ++x) silver += window.pixel(x, y) == kSilver ? 1 : 0;
    if (silver * 2 < window.width()) {
      if (top >= 0) break;
      continue;
    }
    if (top < 0) top = y;
    bottom = y;
    for (int x = 0; x < window.width(); ++x) {
      if (window.pixel(x, y) != kSilver) continue;
      left = std::min(left, x);
      right = std::max(right, x);
    }
  }
  if (top < 0 || right < left) return std::nullopt;
  return QRect(QPoint(left, top), QPoint(right, bottom));
}

// The window's place on the screen, from xwininfo, once a window of that exact title exists.
std::optional<QRect> FindWindow(const QString& display, const QString& title) {
  QProcess info;
  info.start(QStringLiteral("xwininfo"),
             {QStringLiteral("-display"), display, QStringLiteral("-name"), title});
  if (!info.waitForFinished(5000) || info.exitCode() != 0) return std::nullopt;
  const QString text = QString::fromLocal8Bit(info.readAllStandardOutput());
  const auto number = [&](const char* label) {
    const QRegularExpression pattern(QStringLiteral("%1:\\s+(-?\\d+)").arg(QLatin1String(label)));
    return pattern.match(text).captured(1).toInt();
  };
  return QRect(number("Absolute upper-left X"), number("Absolute upper-left Y"), number("Width"),
               number("Height"));
}

// Four nodes far apart at different heights and one polygon, no grid, one pixel per unit.
std::string WriteProject(const TTempFolder& folder) {
  TEditor editor;
  editor.Nodes.NewNode("", "", -300, -120, 0);
  editor.Nodes.NewNode("", "", 260, -140, 1024);
  editor.Nodes.NewNode("", "", 40, 150, 512);
  editor.Nodes.NewNode("", "", -160, 90, 300);
  editor.Polygons.NewPolygon(0, 1, 2, "GenEarth.Grass", "", "");
  editor.Values.GridX = editor.Values.GridY = 0;
  editor.View.Zoom = 1;
  editor.View.PanX = 30;
  editor.View.PanY = -20;
  const std::string path = folder.Path("Screen Test.tvp");
  SaveProjectFile(editor, path);
  return path;
}

}  // namespace

class TestRealProgram : public QObject {
  Q_OBJECT
 private slots:
  void startsWithTheProjectAndDrawsItsNodes() {
    const QString xvfb = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
    if (xvfb.isEmpty() || QStandardPaths::findExecutable(QStringLiteral("xwininfo")).isEmpty()) {
      QSKIP("Xvfb and xwininfo (packages xvfb, x11-utils) are needed for this test");
    }
    TTempFolder folder;
    const QString frames = QString::fromStdString(folder.Path("frames"));
    const QString home = QString::fromStdString(folder.Path("home"));
    QDir().mkpath(frames);
    QDir().mkpath(home);
    const std::string project = WriteProject(folder);

    // Xvfb picks a free display and tells its number on standard output.
    QProcess server;
    server.start(xvfb, {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                        QStringLiteral("0"), QStringLiteral("1280x800x24"), QStringLiteral("-fbdir"), frames,
                        QStringLiteral("-nolisten"), QStringLiteral("tcp"), QStringLiteral("-nocursor")});
    QVERIFY(server.waitForStarted(5000));
    QElapsedTimer clock;
    clock.start();
    while (!server.canReadLine() && clock.elapsed() < 10000) server.waitForReadyRead(200);
    const QString display = QStringLiteral(":") + QString::fromLatin1(server.readLine()).trimmed();
    QVERIFY2(display.size() > 1, "Xvfb did not start");

    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), display);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    environment.insert(QStringLiteral("HOME"), home);  // settings of its own, not the user's
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // Named relative to the working folder; the title names the full path.
    program.setWorkingDirectory(QFileInfo(QString::fromStdString(project)).absolutePath());
    program.start(QStringLiteral(TERRAVEL_APP_PATH), {QStringLiteral("Screen Test.tvp")});
    QVERIFY(program.waitForStarted(5000));

    const QString title = QString::fromStdString(project) + QStringLiteral(" - Terravel");
    std::optional<QRect> window, viewport;
    QImage shot;
    clock.restart();
    while (clock.elapsed() < 30000 && !viewport) {
      QTest::qWait(200);
      if (!window) window = FindWindow(display, title);
      if (!window) continue;
      shot = ReadFrameBuffer(frames + QStringLiteral("/Xvfb_screen0")).copy(*window);
      viewport = FindViewport(shot);
    }
    program.kill();
    program.waitForFinished(5000);
    server.kill();
    server.waitForFinished(5000);
    QVERIFY2(window.has_value(), qPrintable("no window titled " + title));
    QVERIFY2(viewport.has_value(), "no viewport on the screen");
    QVERIFY(viewport->width() > 600 && viewport->height() > 300);

    TEditor editor;
    LoadProjectFile(editor, project);
    editor.View.Size = {viewport->width(), viewport->height()};
    for (const T3DCoord& node : editor.Nodes) {
      const TScreenPoint at = WorldToScreen(editor, node.X, node.Y);
      const QPoint pixel = viewport->topLeft() + QPoint(at.X, at.Y);
      const QRgb expected = NodeColor(editor.Values, node.Z, false);
      for (const QPoint& step : {QPoint(0, 0), QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)}) {
        QVERIFY2(shot.pixel(pixel + step) == expected,
                 qPrintable(QStringLiteral("%1 at %2,%3: %4 instead of %5")
                                .arg(QString::fromStdString(node.Name))
                                .arg(pixel.x() + step.x())
                                .arg(pixel.y() + step.y())
                                .arg(shot.pixel(pixel + step), 8, 16)
                                .arg(expected, 8, 16)));
      }
    }
  }
};

TERRAVEL_TEST(TestRealProgram)
#include "tst_RealProgram.moc"
