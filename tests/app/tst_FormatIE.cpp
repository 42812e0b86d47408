// Import and export through the format chooser and the options window, as the user meets them:
// the real windows, opened modally from the main window's menu, with the file names given.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QStatusBar>
#include <QMessageBox>
#include <QSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <functional>

#include "AppTestSupport.h"
#include "app/HeightmapExportForm.h"
#include "app/HeightmapOptionsForm.h"
#include "model/actions/Requests.h"
#include "model/formats/UnrealTextExport.h"
#include "model/formats/XYZText.h"
#include "model/text/NumberText.h"
#include "support/TempDir.h"
#include "support/TestRegistry.h"

using namespace terravel;
using namespace terravel::test;

namespace {

// Once a modal window of type T is open, hands it to `act` from a timer of its own, so that `act`
// may open further modal windows. `act` must close it for the modal loop that opened it to end.
template <class T>
void OnModal(QObject* context, std::function<void(T*)> act) {
  auto* timer = new QTimer(context);
  QObject::connect(timer, &QTimer::timeout, context, [timer, act = std::move(act)] {
    auto* modal = qobject_cast<T*>(QApplication::activeModalWidget());
    if (modal == nullptr || !modal->isVisible()) return;
    timer->stop();
    timer->deleteLater();
    act(modal);
  });
  timer->start(5);
}

void Click(QWidget* widget) {
  QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

// Picks the format and presses the action button; `options` (when given) answers the options window.
void RunFormat(TFormatIEForm* chooser, TExchangeFormat format,
               std::function<void(TOptionsIEForm*)> options = {}) {
  chooser->FormatList()->item(int(format))->setSelected(true);
  if (options) OnModal<TOptionsIEForm>(chooser, std::move(options));
  Click(chooser->ActionButton());
}

// The options window confirmed with the scale typed into its field.
std::function<void(TOptionsIEForm*)> ConfirmScale(const QString& scale, bool intoEmpty = true) {
  return [scale, intoEmpty](TOptionsIEForm* options) {
    options->ScaleEdit()->setText(scale);
    options->EmptyCheck()->setChecked(intoEmpty);
    Click(options->OkButton());
  };
}

}  // namespace

class TestFormatIE : public QObject {
  Q_OBJECT
 private slots:
  void init() { ClearSettingsStore(); }
  void cleanup() { SetDecimalSeparator('.'); }

  void unrealExportThroughTheChooser() {
    TTempFolder folder;
    TDialogAnswers dialogs;
    auto windows = StartWindows();
    TMainForm& main = windows->Main();
    QAction* again = main.Menus().Project_ExportAgain;
    QVERIFY(!again->isEnabled());
    dialogs.ExchangeName = QString::fromStdString(folder.Path("out.t3d"));
    bool checked = false;
    OnModal<TFormatIEForm>(&main, [&](TFormatIEForm* chooser) {
      QCOMPARE(chooser->windowTitle(), QStringLiteral("Export - Choose File Format"));
      QCOMPARE(chooser->ActionButton()->text(), QStringLiteral("&Export..."));
      QVERIFY(!chooser->ActionButton()->isEnabled());
      QVERIFY(chooser->DescriptionLabel()->text().isEmpty());
      RunFormat(chooser, TExchangeFormat::UnrealText);
      QVERIFY(chooser->DescriptionLabel()->text().startsWith(QStringLiteral("Description:\nUnreal Text")));
      QVERIFY(chooser->isVisible());  // exports leave the chooser open
      checked = true;
      Click(chooser->CloseButton());
    });
    main.Menus().Project_Export->trigger();
    QVERIFY(checked);
    QVERIFY(dialogs.Messages.empty());
    QCOMPARE(dialogs.ExchangeRequests.size(), size_t(1));
    QVERIFY(!dialogs.ExchangeRequests[0].ForImport);
    QCOMPARE(dialogs.ExchangeRequests[0].Filter, QStringLiteral("Unreal Text (*.t3d)|*.t3d"));
    QCOMPARE(dialogs.ExchangeRequests[0].Extension, QStringLiteral("t3d"));
    QCOMPARE(ReadWholeFile(folder.Path("out.t3d")), UnrealTextOf(main.Editor()));
    QVERIFY(again->isEnabled());

    // Again: the same file, replaced without a dialog.
    DoSelectAll(main.Editor(), true, true);
    DoRemove(main.Editor());
    again->trigger();
    QCOMPARE(ReadWholeFile(folder.Path("out.t3d")), UnrealTextOf(main.Editor()));
    QCOMPARE(dialogs.ExchangeRequests.size(), size_t(1));
  }

  // The single triangle at a pixel size of 128: 5 x 5 pixels, its own Z range black to white.
  void exportHeightmap() {
    TTempFolder folder;
    TDialogAnswers dialogs;
    auto windows = StartWindows();
    dialogs.ExchangeName = QString::fromStdString(folder.Path("tri.png"));
    OnModal<TFormatIEForm>(&windows->Main(), [&](TFormatIEForm* chooser) {
      chooser->FormatList()->item(int(TExchangeFormat::Heightmap))->setSelected(true);
      OnModal<THeightmapExportForm>(chooser, [](THeightmapExportForm* options) {
        QCOMPARE(options->PixelEdit()->text(), QStringLiteral("64"));  // the grid step
        options->PixelEdit()->setText(QStringLiteral("x"));
        Click(options->OkButton());  // a bad number keeps the window open with the message
        options->PixelEdit()->setText(QStringLiteral("128"));
        options->RangeCombo()->setCurrentIndex(1);
        Click(options->OkButton());
      });
      Click(chooser->ActionButton());
      chooser->reject();
    });
    windows->Main().Menus().Project_Export->trigger();
    QCOMPARE(dialogs.Messages.size(), size_t(1));
    const QImage picture(QString::fromStdString(folder.Path("tri.png")));
    QCOMPARE(picture.format(), QImage::Format_Grayscale16);
    QCOMPARE(picture.size(), QSize(5, 5));
    // Outside the triangle at the top left; Z 1024 and 512 of 0..1024 at the bottom corners.
    const auto* top = reinterpret_cast<const quint16*>(picture.constScanLine(0));
    const auto* bottom = reinterpret_cast<const quint16*>(picture.constScanLine(4));
    QCOMPARE((QList<int>{top[0], bottom[0], bottom[4]}), (QList<int>{0, 65535, 32768}));
  }

  void exportHintNamesEveryExportFormat() {
    auto windows = StartWindows();
    QCOMPARE(windows->Main().Menus().Project_Export->toolTip(),
             QStringLiteral("Export into *.txt, *.t3d, *.tvt, *.png *.r16 *.raw, *.obj, or *.glb *.gltf. In UnrealEd the "
                            "ground of a polygon list is the floor of a subtracted brush: flip it, or export an "
                            "Unreal map, for an added one."));
  }

  void exportAgainSkipsTheProjectText() {
    TTempFolder folder;
    TDialogAnswers dialogs;
    auto windows = StartWindows();
    TMainForm& main = windows->Main();
    OnModal<TFormatIEForm>(&main, [&](TFormatIEForm* chooser) {
      dialogs.ExchangeName = QString::fromStdString(folder.Path("a.txt"));
      RunFormat(chooser, TExchangeFormat::XYZText, ConfirmScale(QStringLiteral("0.5")));
      dialogs.ExchangeName = QString::fromStdString(folder.Path("b.tvt"));
      RunFormat(chooser, TExchangeFormat::ProjectText);
      chooser->reject();
    });
    main.Menus().Project_Export->trigger();
    QVERIFY(dialogs.Messages.empty());
    QVERIFY(std::filesystem::exists(folder.Path("b.tvt")));
    // Each export says what it wrote, in the log and the status bar.
    QVERIFY(windows->Tools().Log->Text().endsWith(QStringLiteral("\nLOG: Wrote b.tvt: 3 nodes and 1 polygon")));
    QCOMPARE(main.statusBar()->currentMessage(), QStringLiteral("Wrote b.tvt: 3 nodes and 1 polygon"));
    QCOMPARE(ReadWholeFile(folder.Path("a.txt")), XYZTextOf(main.Editor(), 0.5f));
    std::filesystem::remove(folder.Path("a.txt"));
    std::filesystem::remove(folder.Path("b.tvt"));
    T3DCoord node;
    node.X = 128;
    node.Y = 256;
    node.Z = -64;
    DoAddNode(main.Editor(), node);

    main.Menus().Project_ExportAgain->trigger();

    QVERIFY(!std::filesystem::exists(folder.Path("b.tvt")));
    const std::string written = ReadWholeFile(folder.Path("a.txt"));
    QCOMPARE(written, XYZTextOf(main.Editor(), 0.5f));
    QVERIFY(written.ends_with("64.00\t128.00\t-32.00\r\n"));
    QCOMPARE(dialogs.ExchangeRequests.size(), size_t(2));
  }

  // Into an empty project after the save question, or appended to a modified project unasked.
  void importXYZ_data() {
    QTest::addColumn<bool>("intoEmpty");
    QTest::newRow("into empty project") << true;
    QTest::newRow("appended") << false;
  }
  void importXYZ() {
    QFETCH(bool, intoEmpty);
    TTempFolder folder;
    TDialogAnswers dialogs;
    auto windows = StartWindows();
    TMainForm& main = windows->Main();
    DoSetMinZ(main.Editor(), -64);
    QVERIFY(main.Modified());
    const int undoBefore = main.Editor().History.UndoCount();
    WriteWholeFile(folder.Path("in.txt"), "10\t20\r\n  ; remark\r\n1.5\t2\t3\r\n");
    dialogs.ExchangeName = QString::fromStdString(folder.Path("in.txt"));
    dialogs.Answers = {QMessageBox::No};
    OnModal<TFormatIEForm>(&main, [&](TFormatIEForm* chooser) {
      QCOMPARE(chooser->windowTitle(), QStringLiteral("Import - Choose File Format"));
      QCOMPARE(chooser->ActionButton()->text(), QStringLiteral("&Import..."));
      RunFormat(chooser, TExchangeFormat::XYZText, [&](TOptionsIEForm* options) {
        QVERIFY(options->EmptyCheck()->isVisibleTo(options));
        QVERIFY(options->EmptyCheck()->isChecked());
        ConfirmScale(QStringLiteral("2"), intoEmpty)(options);
      });
      // A finished import closes the chooser itself.
    });
    main.Menus().Project_Import->trigger();

    const TEditor& editor = main.Editor();
    QCOMPARE(dialogs.Messages.size(), size_t(intoEmpty ? 1 : 0));
    QVERIFY(dialogs.ExchangeRequests.at(0).ForImport);
    QCOMPARE(dialogs.ExchangeRequests.at(0).Filter, QStringLiteral("X, Y, Z, Tab-separated (*.txt)|*.txt"));
    const int first = intoEmpty ? 0 : 3;
    QCOMPARE(editor.Nodes.Count(), first + 2);
    QCOMPARE(editor.Polygons.Count(), intoEmpty ? 0 : 1);
    QCOMPARE(editor.Nodes[first].X, 20.0f);
    QCOMPARE(editor.Nodes[first].Y, 40.0f);
    QCOMPARE(editor.Nodes[first + 1].Z, 6.0f);
    QCOMPARE(editor.Nodes[first + 1].Name, std::string(intoEmpty ? "Node2" : "Node5"));
    QCOMPARE(editor.History.UndoCount(), intoEmpty ? 0 : undoBefore);
    QVERIFY(main.Modified());
    QCOMPARE(windows->Tools().FormatIE->ImportScale, 2.0f);
  }

  // A file that cannot be read is refused before the project is replaced: nothing is asked and
  // the modified project stays as it was.
  void damagedImportKeepsTheProject() {
    TTempFolder folder;
    TDialogAnswers dialogs;
    auto windows = StartWindows();
    TMainForm& main = windows->Main();
    DoSetMinZ(main.Editor(), -64);
    const int nodes = main.Editor().Nodes.Count();
    WriteWholeFile(folder.Path("bad.txt"), "10\t20\r\n1e39\t2\t3\r\n");
    dialogs.ExchangeName = QString::fromStdString(folder.Path("bad.txt"));
    dialogs.Answers = {QMessageBox::No};  // would discard the changes, if it were asked
    OnModal<TFormatIEForm>(&main, [&](TFormatIEForm* chooser) {
      RunFormat(chooser, TExchangeFormat::XYZText, ConfirmScale(QStringLiteral("1"), true));
      chooser->reject();
    });
    main.Menus().Project_Import->trigger();
    QCOMPARE(dialogs.Messages.size(), size_t(1));
    QCOMPARE(dialogs.Messages[0].Caption, QStringLiteral("Error"));
    QCOMPARE(main.Editor().Nodes.Count(), nodes);
    QCOMPARE(main.Editor().Values.MinZ, -64.f);
    QVERIFY(main.Modified());
  }

  // A 16-bit picture through the chooser and the heightmap options, within a budget, into an
  // empty project (the unmodified one is replaced unasked).
  void importHeightmap() {
    TTempFolder folder;
    TDialogAnswers dialogs;
    auto windows = StartWindows();
    TMainForm& main = windows->Main();
    QImage picture(40, 30, QImage::Format_Grayscale16);
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 40; ++x)
        reinterpret_cast<quint16*>(picture.scanLine(y))[x] = quint16((x * 997 + y * y * 61) % 65536);
    const QString path = QString::fromStdString(folder.Path("hills.png"));
    QVERIFY(picture.save(path));
    dialogs.ExchangeName = path;
    bool listed = false;
    OnModal<TFormatIEForm>(&main, [&](TFormatIEForm* chooser) {
      // An import lists no format that only exports.
      listed = !chooser->FormatList()->item(int(TExchangeFormat::Heightmap))->isHidden() &&
               chooser->FormatList()->item(int(TExchangeFormat::WavefrontOBJ))->isHidden();
      chooser->FormatList()->item(int(TExchangeFormat::Heightmap))->setSelected(true);
      OnModal<THeightmapOptionsForm>(chooser, [](THeightmapOptionsForm* options) {
        options->BudgetCheck()->setChecked(true);
        options->BudgetSpin()->setValue(60);
        options->LowEdit()->setText(QStringLiteral("-100"));
        options->HighEdit()->setText(QStringLiteral("x"));
        // A bad number keeps the window open with the message.
        Click(options->OkButton());
        options->HighEdit()->setText(QStringLiteral("900"));
        Click(options->OkButton());
      });
      Click(chooser->ActionButton());
    });
    main.Menus().Project_Import->trigger();
    QVERIFY(listed);
    QCOMPARE(dialogs.ExchangeRequests.at(0).Filter, QStringLiteral("Heightmap (*.png *.r16 *.raw)|*.png;*.r16;*.raw"));
    QCOMPARE(dialogs.Messages.size(), size_t(1));  // the bad number
    const TEditor& editor = main.Editor();
    QVERIFY(editor.Polygons.Count() > 40);
    QVERIFY(editor.Polygons.Count() <= 60);
    QCOMPARE(editor.Nodes[0].X, -19.5f * 64);  // the top left corner, the picture centred
    QCOMPARE(editor.Nodes[0].Z, -100.0f);
    QVERIFY(main.Modified());
  }

  // The chooser opens with nothing selected; the first cursor key must reach the first format, also
  // when an earlier opening left another one chosen.
  void keyboardReachesTheFirstFormat_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<bool>("chosenBefore");
    QTest::newRow("Down") << int(Qt::Key_Down) << false;
    QTest::newRow("Home") << int(Qt::Key_Home) << false;
    QTest::newRow("Down, second opening") << int(Qt::Key_Down) << true;
  }
  void keyboardReachesTheFirstFormat() {
    QFETCH(int, key);
    QFETCH(bool, chosenBefore);
    TDialogAnswers dialogs;
    auto windows = StartWindows();
    TMainForm& main = windows->Main();
    if (chosenBefore) {
      OnModal<TFormatIEForm>(&main, [](TFormatIEForm* chooser) {
        chooser->FormatList()->setCurrentRow(int(TExchangeFormat::ProjectText));
        chooser->reject();
      });
      main.Menus().Project_Export->trigger();
    }
    QList<int> chosen;
    QString description;
    OnModal<TFormatIEForm>(&main, [&](TFormatIEForm* chooser) {
      QTRY_VERIFY(chooser->FormatList()->hasFocus());
      QTest::keyClick(chooser->FormatList(), Qt::Key(key));
      for (QListWidgetItem* item : chooser->FormatList()->selectedItems())
        chosen << chooser->FormatList()->row(item);
      description = chooser->DescriptionLabel()->text();
      chooser->reject();
    });
    main.Menus().Project_Export->trigger();
    QCOMPARE(chosen, QList<int>{int(TExchangeFormat::XYZText)});
    QVERIFY(description.startsWith(QStringLiteral("Description:\nImports/exports a coordinate text file")));
  }

  void invalidScaleKeepsTheFactor() {
    SetDecimalSeparator(',');
    TTempFolder folder;
    TDialogAnswers dialogs;
    auto windows = StartWindows();
    TMainForm& main = windows->Main();
    TFormatIEForm* chooser = windows->Tools().FormatIE;
    chooser->ExportScale = 128;
    dialogs.ExchangeName = QString::fromStdString(folder.Path("a.txt"));
    OnModal<TFormatIEForm>(&main, [&](TFormatIEForm* shown) {
      RunFormat(shown, TExchangeFormat::XYZText, [&](TOptionsIEForm* options) {
        QCOMPARE(options->ScaleEdit()->text(), QStringLiteral("128,0000"));
        QVERIFY(!options->EmptyCheck()->isVisibleTo(options));
        QTRY_VERIFY(options->ScaleEdit()->hasFocus());
        options->ScaleEdit()->setText(QStringLiteral("abc"));
        options->OkButton()->setFocus();
        QTRY_COMPARE(dialogs.Messages.size(), size_t(1));
        QCOMPARE(dialogs.Messages[0].Caption, QStringLiteral("Error"));
        QCOMPARE(dialogs.Messages[0].Text, QStringLiteral("Invalid input."));
        QCOMPARE(dialogs.Messages[0].Icon, QMessageBox::Critical);
        QVERIFY(options->ScaleEdit()->hasFocus());
        QCOMPARE(options->Scale, 128.0f);
        options->ScaleEdit()->setText(QStringLiteral(" 2,5e-1 "));
        options->OkButton()->setFocus();
        QTRY_COMPARE(options->ScaleEdit()->text(), QStringLiteral("0,2500"));
        QCOMPARE(options->Scale, 0.25f);
        Click(options->CancelButton());
      });
      shown->reject();
    });
    main.Menus().Project_Export->trigger();
    QCOMPARE(dialogs.Messages.size(), size_t(1));
    QCOMPARE(chooser->ExportScale, 128.0f);
    QVERIFY(!chooser->HasLastExport());
    QVERIFY(!std::filesystem::exists(folder.Path("a.txt")));
  }
};

TERRAVEL_TEST(TestFormatIE)
#include "tst_FormatIE.moc"
