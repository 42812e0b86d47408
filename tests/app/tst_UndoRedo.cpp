// The Undo and Redo commands on the real widgets: captions, hints and states from the history, a
// quick click, the press-and-hold popup with its columns and keys, and several steps drawn once.
#include <QAction>
#include <QHBoxLayout>
#include <QTest>
#include <QToolButton>

#include <memory>
#include <string>
#include <utility>

#include "AppTestSupport.h"
#include "app/HistoryPopup.h"
#include "app/UndoRedoCommands.h"
#include "model/actions/Requests.h"
#include "model/core/Errors.h"
#include "model/editor/Editor.h"
#include "render/ViewportRenderer.h"
#include "support/RecordingHost.h"
#include "support/TestRegistry.h"

namespace terravel::test {

namespace {

// Changes the mesh each way (the top view redraws in full); its Undo may break.
class TStepAction : public TAction {
 public:
  TStepAction(TEditor& editor, std::string description, bool breaksOnUndo)
      : TAction(editor, std::move(description)), breaksOnUndo_(breaksOnUndo) {}

  void Changes(TChangeSet& changes) const override {
    changes.PolygonsRewired = true;
    changes.History = true;
  }

 protected:
  bool DoExecute() override { return true; }
  void DoUndo() override {
    if (breaksOnUndo_) throw EAssertionFailure(modules::Undo, "step broken");
  }

 private:
  bool breaksOnUndo_;
};

// Wired like the main window: change sets go to the renderer (as the top view takes them) and to
// the commands.
class TWindowHost : public TRecordingHost {
 public:
  TViewportRenderer* renderer = nullptr;
  TUndoRedoCommands* commands = nullptr;
  void Publish(const TChangeSet& changes) override {
    TRecordingHost::Publish(changes);
    if (renderer != nullptr && changes.Mesh()) renderer->Redraw(true);
    if (commands != nullptr) commands->Changed(changes);
  }
  void SuspendRedraw() override {
    TRecordingHost::SuspendRedraw();
    if (renderer != nullptr) renderer->SuspendRedraw();
  }
  void ResumeRedraw() override {
    TRecordingHost::ResumeRedraw();
    if (renderer != nullptr) renderer->ResumeRedraw();
  }
};

struct TFixture {
  TWindowHost host;
  TEditor editor{&host};
  QWidget window;
  std::unique_ptr<TViewportRenderer> renderer;
  std::unique_ptr<TUndoRedoCommands> commands;
  int presents = 0;  // pictures that reached the screen

  TFixture() {
    editor.View.Size = {64, 48};
    renderer = std::make_unique<TViewportRenderer>(editor);
    renderer->SetPresenter([this] { ++presents; });
    commands = std::make_unique<TUndoRedoCommands>(editor, host, &window);
    host.renderer = renderer.get();
    host.commands = commands.get();
    auto* layout = new QHBoxLayout(&window);
    layout->addWidget(commands->UndoButton());
    layout->addWidget(commands->RedoButton());
    layout->addStretch();
    window.resize(200, 40);
    window.move(20, 20);
    window.show();
    (void)QTest::qWaitForWindowExposed(&window);
  }

  // "Step 1" to "Step n", oldest first; the step numbered `broken` fails when undone.
  void Perform(int count, int broken = 0) {
    for (int i = 1; i <= count; ++i) {
      editor.History.Perform(std::make_unique<TStepAction>(editor, "Step " + std::to_string(i), i == broken));
    }
  }
  QToolButton* Button(bool redo) const { return redo ? commands->RedoButton() : commands->UndoButton(); }
};

enum TSetup { kEmpty, kNodeMoved, kMoveUndone, kAmpersand };

}  // namespace

class TUndoRedoTest : public QObject {
  Q_OBJECT

 private slots:
  void captionsFollowHistory_data() {
    QTest::addColumn<int>("setup");
    QTest::addColumn<QString>("undoCaption");
    QTest::addColumn<QString>("undoHint");
    QTest::addColumn<QString>("redoCaption");
    QTest::addColumn<QString>("redoHint");
    const QString noUndo = "Undo the last action.", noRedo = "Redo the last action undone.";
    QTest::newRow("empty history") << int(kEmpty) << "&Undo" << noUndo << "&Redo" << noRedo;
    QTest::newRow("node moved") << int(kNodeMoved) << "&Undo: Move Node"
                                << "Undo action: Move Node."
                                << "&Redo" << noRedo;
    QTest::newRow("move undone") << int(kMoveUndone) << "&Undo" << noUndo << "&Redo: Move Node"
                                 << "Redo action: Move Node.";
    // A description makes no mnemonic in the caption; the hint shows it as it is.
    QTest::newRow("ampersand") << int(kAmpersand) << "&Undo: Rock && Roll"
                               << "Undo action: Rock & Roll."
                               << "&Redo" << noRedo;
  }
  void captionsFollowHistory() {
    QFETCH(int, setup);
    QFETCH(QString, undoCaption);
    QFETCH(QString, undoHint);
    QFETCH(QString, redoCaption);
    QFETCH(QString, redoHint);
    TFixture f;
    if (setup == kNodeMoved || setup == kMoveUndone) {
      const int index = f.editor.Nodes.NewNode("", "", 96, 32, 0);
      T3DCoord& node = f.editor.Nodes[index];
      node.BaseX = 96;
      node.BaseY = 32;
      node.X = 160;  // dragged
      f.editor.Nodes.SetSelected(index, true);
      DoMoveNodes(f.editor);
      if (setup == kMoveUndone) f.commands->UndoAction()->trigger();
    } else if (setup == kAmpersand) {
      f.editor.History.Perform(std::make_unique<TStepAction>(f.editor, "Rock & Roll", false));
    }
    const TUndoRedoCommands& c = *f.commands;
    QCOMPARE(c.UndoAction()->text(), undoCaption);
    QCOMPARE(c.UndoButton()->toolTip(), undoHint);
    QCOMPARE(c.RedoAction()->text(), redoCaption);
    QCOMPARE(c.RedoButton()->toolTip(), redoHint);
    const bool canUndo = undoCaption.contains(':'), canRedo = redoCaption.contains(':');
    QCOMPARE(c.UndoAction()->isEnabled(), canUndo);
    QCOMPARE(c.UndoButton()->isEnabled(), canUndo);
    QCOMPARE(c.RedoAction()->isEnabled(), canRedo);
    QCOMPARE(c.RedoButton()->isEnabled(), canRedo);
    QCOMPARE(c.UndoButton()->text(), QString("Undo"));
    QCOMPARE(c.RedoButton()->text(), QString("Redo"));
  }

  // The refresh from inside Perform is the last one: the redo list is emptied only after it.
  void redoUnavailableOncePerformed() {
    TFixture f;
    f.Perform(2);
    f.commands->UndoClick();
    QCOMPARE(f.commands->RedoAction()->text(), QString("&Redo: Step 2"));
    f.editor.History.Perform(std::make_unique<TStepAction>(f.editor, "Other", false));
    QCOMPARE(f.commands->RedoAction()->text(), QString("&Redo"));
    QVERIFY(!f.commands->RedoButton()->isEnabled());
    QCOMPARE(f.commands->UndoAction()->text(), QString("&Undo: Other"));
  }

  void quickClickTakesOneStep_data() {
    QTest::addColumn<bool>("redo");
    QTest::addColumn<bool>("viaButton");
    QTest::addColumn<int>("undoCount");
    QTest::newRow("undo button") << false << true << 1;
    QTest::newRow("redo button") << true << true << 3;
    QTest::newRow("undo menu item") << false << false << 1;
    QTest::newRow("redo menu item") << true << false << 3;
  }
  void quickClickTakesOneStep() {
    QFETCH(bool, redo);
    QFETCH(bool, viaButton);
    QFETCH(int, undoCount);
    TFixture f;
    f.Perform(3);
    f.commands->UndoClick();
    if (viaButton) {
      QToolButton* button = f.Button(redo);
      QTest::mousePress(button, Qt::LeftButton);
      QVERIFY(f.commands->HoldPending());
      QCOMPARE(f.commands->PopupRedo(), redo);
      QTest::mouseRelease(button, Qt::LeftButton);
      QVERIFY(!f.commands->HoldPending());
    } else {
      (redo ? f.commands->RedoAction() : f.commands->UndoAction())->trigger();
    }
    QCOMPARE(f.editor.History.UndoCount(), undoCount);
    QCOMPARE(f.commands->UndoAction()->text(), QString("&Undo: Step %1").arg(undoCount));
    QCOMPARE(f.commands->RedoAction()->text(), redo ? QString("&Redo") : QString("&Redo: Step 2"));
  }

  void pressesThatStartNoHold() {
    TFixture f;
    f.Perform(1);
    QTest::mousePress(f.commands->UndoButton(), Qt::RightButton);
    QVERIFY(!f.commands->HoldPending());
    QTest::mouseRelease(f.commands->UndoButton(), Qt::RightButton);
    QTest::mousePress(f.commands->RedoButton(), Qt::LeftButton);  // disabled: nothing to redo
    QVERIFY(!f.commands->HoldPending());
  }

  void holdOpensHistoryPopup_data() {
    QTest::addColumn<bool>("redo");
    QTest::addColumn<QStringList>("expected");  // entries 0, 8, 19, 20 and 24
    QTest::newRow("undo") << false << QStringList{"Step 25", "Step 17", "Step 6", "Step 5", "Step 1"};
    QTest::newRow("redo") << true << QStringList{"Step 1", "Step 9", "Step 20", "Step 21", "Step 25"};
  }
  void holdOpensHistoryPopup() {
    QFETCH(bool, redo);
    QFETCH(QStringList, expected);
    TFixture f;
    f.Perform(25);
    if (redo) {
      for (int i = 0; i < 25; ++i) f.editor.History.UndoLast();
      f.commands->RefreshUndoRedo();
    }
    QToolButton* button = f.Button(redo);
    QTest::mousePress(button, Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(f.commands->HistoryPopup() && f.commands->HistoryPopup()->isVisible(), 5000);
    THistoryPopup& popup = *f.commands->HistoryPopup();
    QVERIFY(!button->isDown());
    QCOMPARE(popup.mapToGlobal(QPoint(0, 0)), button->mapToGlobal(QPoint(0, button->height())));

    QCOMPARE(popup.EntryCount(), 25);
    QCOMPARE(popup.ColumnCount(), 2);
    const int probes[] = {0, 8, 19, 20, 24};
    for (int i = 0; i < 5; ++i) QCOMPARE(popup.EntryText(probes[i]), expected[i]);
    const QRect first = popup.EntryRect(0), last = popup.EntryRect(19), second = popup.EntryRect(20);
    QCOMPARE(last.left(), first.left());
    QCOMPARE(last.top(), first.top() + 19 * first.height());
    QCOMPARE(second.top(), first.top());
    QVERIFY(second.left() > first.right());
    QVERIFY(popup.rect().contains(popup.EntryRect(24)));
    QCOMPARE(popup.EntryAt(popup.EntryRect(24).center()), 24);

    QTest::mouseRelease(button, Qt::LeftButton);  // the end of the held press clicks nothing
    QCOMPARE(f.editor.History.UndoCount(), redo ? 0 : 25);
    QTest::keyClick(&popup, Qt::Key_Escape);
    QVERIFY(!popup.isVisible());
    QCOMPARE(f.editor.History.UndoCount(), redo ? 0 : 25);
  }

  void choosingTakesStepsWithOneRedraw_data() {
    QTest::addColumn<bool>("redo");
    QTest::addColumn<QString>("keys");  // digits and d (Down), r (Return); empty: click the entry
    QTest::addColumn<int>("entry");
    QTest::addColumn<int>("undoCount");
    QTest::newRow("undo, key 3") << false << "3" << 2 << 22;
    QTest::newRow("undo, key 9") << false << "9" << 8 << 16;
    QTest::newRow("undo, click in column 2") << false << "" << 21 << 3;
    QTest::newRow("undo, down down return") << false << "ddr" << 1 << 23;
    QTest::newRow("redo, key 2") << true << "2" << 1 << 2;
    QTest::newRow("redo, click 25th") << true << "" << 24 << 25;
  }
  void choosingTakesStepsWithOneRedraw() {
    QFETCH(bool, redo);
    QFETCH(QString, keys);
    QFETCH(int, entry);
    QFETCH(int, undoCount);
    TFixture f;
    f.Perform(25);
    if (redo) {
      for (int i = 0; i < 25; ++i) f.editor.History.UndoLast();
    }
    f.commands->SetPopupRedo(redo);
    f.commands->ShowHistoryPopup();
    THistoryPopup* popup = f.commands->HistoryPopup();
    QVERIFY(popup && popup->isVisible());
    f.presents = 0;
    f.host.Clear();
    if (keys.isEmpty()) QTest::mouseClick(popup, Qt::LeftButton, {}, popup->EntryRect(entry).center());
    for (QChar key : keys) {
      QTest::keyClick(popup, key == 'd'   ? Qt::Key_Down
                             : key == 'r' ? Qt::Key_Return
                                          : Qt::Key(key.unicode()));
    }
    QVERIFY(!popup->isVisible());
    QCOMPARE(f.editor.History.UndoCount(), undoCount);
    QCOMPARE(int(f.host.Published.size()), entry + 1);  // every step told, none drew
    QCOMPARE(f.presents, 1);
    QVERIFY(!f.renderer->RedrawSuspended());
    QCOMPARE(f.commands->UndoAction()->text(), QString("&Undo: Step %1").arg(undoCount));
    QCOMPARE(f.commands->RedoAction()->text(),
             undoCount == 25 ? QString("&Redo") : QString("&Redo: Step %1").arg(undoCount + 1));
  }

  void failingStepResumesRedrawAndShowsError() {
    TFixture f;
    f.Perform(5, 4);
    f.commands->ShowHistoryPopup();
    f.presents = 0;
    TDialogAnswers dialogs;
    QTest::keyClick(f.commands->HistoryPopup(), Qt::Key_3);
    QCOMPARE(dialogs.Messages.size(), std::size_t(1));
    QCOMPARE(dialogs.Messages[0].Caption, QString("Error"));
    QVERIFY2(dialogs.Messages[0].Text.startsWith("Assertion failure (Undo)"),
             qPrintable(dialogs.Messages[0].Text));
    QVERIFY(!f.renderer->RedrawSuspended());
    QCOMPARE(f.presents, 1);
    QCOMPARE(f.editor.History.UndoCount(), 4);  // Step 5 undone, the broken Step 4 stays
    QCOMPARE(f.commands->UndoAction()->text(), QString("&Undo: Step 4"));
  }
};

TERRAVEL_TEST(TUndoRedoTest)

}  // namespace terravel::test

#include "tst_UndoRedo.moc"
