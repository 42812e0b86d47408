// The undo/redo history: list order, discarding, failing and throwing actions, and what a refresh
// from inside an operation sees.
#include <QTest>

#include <memory>
#include <string>
#include <vector>

#include "model/core/Errors.h"
#include "model/editor/Editor.h"
#include "support/RecordingHost.h"
#include "support/TestRegistry.h"

using namespace terravel;

namespace {

using TLog = std::vector<std::string>;

// Adds one to a counter on Execute and takes it away on Undo; can be told to withdraw or throw.
class TCounterAction : public TAction {
 public:
  TCounterAction(TEditor& editor, const std::string& name, int& counter, TLog& log)
      : TAction(editor, name), name_(name), counter_(counter), log_(log) {}
  ~TCounterAction() override { log_.push_back("destroy " + name_); }

  bool FailExecute = false;  // withdraws: nothing changed
  bool FailUndo = false;     // throws
  bool ThrowInExecute = false;
  bool ThrowInChanged = false;

  // Only the history.
  void Changes(TChangeSet& changes) const override {
    log_.push_back("changed " + name_);
    if (ThrowInChanged) throw EAssertionFailure(modules::Actions, "test");
    changes.History = true;
  }

 protected:
  bool DoExecute() override {
    log_.push_back("execute " + name_);
    if (FailExecute) return false;
    if (ThrowInExecute) throw EAssertionFailure(modules::Actions, "test");
    ++counter_;
    return true;
  }
  void DoUndo() override {
    log_.push_back("undo " + name_);
    if (FailUndo) throw EAssertionFailure(modules::Actions, "test");
    --counter_;
  }
  void Prepare() override { log_.push_back("prepare " + name_); }

 private:
  std::string name_;
  int& counter_;
  TLog& log_;
};

// Reads the history back at every refresh of the Undo and Redo commands, as the main window does.
class TQueryingHost : public test::TRecordingHost {
 public:
  const THistory* History = nullptr;
  void Publish(const TChangeSet& changes) override {
    if (!changes.History) return;
    Calls.push_back("undoredo [" + History->UndoDescription() + "|" + History->RedoDescription() + "] " +
                    std::to_string(History->UndoCount()) + "/" + std::to_string(History->RedoCount()));
  }
};

struct TFixture {
  // The actions write into these until the history destroys them.
  int counter = 0;
  TLog log;
  TQueryingHost host;
  TEditor editor{&host};

  TFixture() { host.History = &editor.History; }

  // Performs a counter action and returns it (still owned by the history).
  TCounterAction* Perform(const std::string& name) {
    auto action = std::make_unique<TCounterAction>(editor, name, counter, log);
    TCounterAction* raw = action.get();
    editor.History.Perform(std::move(action));
    return raw;
  }
  std::vector<std::string> UndoNames() const {
    std::vector<std::string> names;
    for (int i = 0; i < editor.History.UndoCount(); ++i)
      names.push_back(editor.History.UndoAt(i).Description());
    return names;
  }
  std::vector<std::string> RedoNames() const {
    std::vector<std::string> names;
    for (int i = 0; i < editor.History.RedoCount(); ++i)
      names.push_back(editor.History.RedoAt(i).Description());
    return names;
  }
};

using TNames = std::vector<std::string>;

}  // namespace

class TestHistory : public QObject {
  Q_OBJECT
 private slots:
  void emptyHistoryDoesNothing() {
    TFixture f;
    f.editor.History.UndoLast();
    f.editor.History.RedoLast();
    QCOMPARE(f.editor.History.UndoDescription(), std::string());
    QCOMPARE(f.editor.History.RedoDescription(), std::string());
    QVERIFY(f.host.Calls.empty());
  }

  void undoAndRedoWalkTheListsInOrder() {
    TFixture f;
    f.Perform("A");
    f.Perform("B");
    QCOMPARE(f.counter, 2);
    QCOMPARE(f.editor.History.UndoDescription(), std::string("B"));
    f.editor.History.UndoLast();
    f.editor.History.UndoLast();
    QCOMPARE(f.counter, 0);
    // The most recently undone action is last: A is redone first.
    QCOMPARE(f.RedoNames(), (TNames{"B", "A"}));
    QCOMPARE(f.editor.History.RedoDescription(), std::string("A"));
    QVERIFY(!f.editor.History.RedoAt(0).Done());
    f.log.clear();
    f.editor.History.RedoLast();
    QCOMPARE(f.log, (TLog{"prepare A", "execute A", "changed A"}));
    QCOMPARE(f.UndoNames(), (TNames{"A"}));
    QCOMPARE(f.RedoNames(), (TNames{"B"}));
    QVERIFY(f.editor.History.UndoAt(0).Done());
    QCOMPARE(f.counter, 1);
  }

  void performAfterUndoDiscardsTheRedoList() {
    TFixture f;
    f.Perform("A");
    f.editor.History.UndoLast();
    f.log.clear();
    f.Perform("C");
    QCOMPARE(f.log, (TLog{"prepare C", "execute C", "changed C", "destroy A"}));
    QCOMPARE(f.editor.History.RedoDescription(), std::string());
    f.editor.History.UndoLast();
    QCOMPARE(f.editor.History.UndoCount(), 0);
    QCOMPARE(f.RedoNames(), (TNames{"C"}));
    QCOMPARE(f.counter, 0);
  }

  // What the Undo and Redo commands read when an action's notices refresh them.
  void refreshFromInsideAnOperation() {
    TFixture f;
    f.Perform("A");
    f.Perform("B");
    f.editor.History.UndoLast();
    f.host.Clear();
    // B is still in the redo list, but Perform already hides it.
    f.Perform("C");
    QCOMPARE(f.host.Joined(), std::string("undoredo [C|] 2/1"));
    f.host.Clear();
    f.editor.History.UndoLast();
    QCOMPARE(f.host.Joined(), std::string("undoredo [A|C] 1/1"));
    f.host.Clear();
    // The notices of a redo go out while the action is still the last of the redo list.
    f.editor.History.RedoLast();
    QCOMPARE(f.host.Joined(), std::string("undoredo [A|C] 1/1"));
    QCOMPARE(f.editor.History.UndoDescription(), std::string("C"));
    QVERIFY(!f.editor.History.Performing());
  }

  void failingUndoKeepsTheActionToUndo() {
    TFixture f;
    f.Perform("A");
    TCounterAction* b = f.Perform("B");
    b->FailUndo = true;
    f.host.Clear();
    f.log.clear();
    QVERIFY_THROWS_EXCEPTION(EAssertionFailure, f.editor.History.UndoLast());
    QCOMPARE(f.log, (TLog{"prepare B", "undo B"}));  // no notices
    QCOMPARE(f.UndoNames(), (TNames{"A", "B"}));
    QCOMPARE(f.editor.History.RedoCount(), 0);
    QVERIFY(b->Done());
    QCOMPARE(f.counter, 2);
    QVERIFY(f.host.Calls.empty());
  }

  void failingRedoKeepsTheActionToRedo() {
    TFixture f;
    TCounterAction* a = f.Perform("A");
    f.Perform("B");
    f.editor.History.UndoLast();
    f.editor.History.UndoLast();
    a->FailExecute = true;
    f.host.Clear();
    f.editor.History.RedoLast();
    QCOMPARE(f.RedoNames(), (TNames{"B", "A"}));
    QCOMPARE(f.editor.History.UndoCount(), 0);
    QVERIFY(!a->Done());
    QVERIFY(f.host.Calls.empty());
  }

  void failingOrThrowingActionIsWithdrawn_data() {
    QTest::addColumn<bool>("throws");
    QTest::newRow("Execute returns false") << false;
    QTest::newRow("Execute throws") << true;
  }
  void failingOrThrowingActionIsWithdrawn() {
    QFETCH(bool, throws);
    TFixture f;
    f.Perform("A");
    f.Perform("B");
    f.editor.History.UndoLast();
    f.host.Clear();
    f.log.clear();
    auto action = std::make_unique<TCounterAction>(f.editor, "X", f.counter, f.log);
    (throws ? action->ThrowInExecute : action->FailExecute) = true;
    if (throws) {
      QVERIFY_THROWS_EXCEPTION(EAssertionFailure, f.editor.History.Perform(std::move(action)));
    } else {
      f.editor.History.Perform(std::move(action));
    }
    QCOMPARE(f.log, (TLog{"prepare X", "execute X", "destroy X"}));
    // Not recorded, and the redo list survives.
    QCOMPARE(f.host.Joined(), std::string("undoredo [A|B] 1/1"));
    QVERIFY(!f.editor.History.Performing());
    // The history goes on working.
    f.editor.History.RedoLast();
    f.Perform("C");
    QCOMPARE(f.UndoNames(), (TNames{"A", "B", "C"}));
    QCOMPARE(f.counter, 3);
  }

  // A notification that fails after the change was applied keeps the action where its Done flag
  // says it belongs, so Undo and Redo go on working.
  void failingNotificationKeepsTheChange() {
    TFixture f;
    f.Perform("A");
    f.editor.History.UndoLast();
    auto action = std::make_unique<TCounterAction>(f.editor, "B", f.counter, f.log);
    action->ThrowInChanged = true;
    QVERIFY_THROWS_EXCEPTION(EAssertionFailure, f.editor.History.Perform(std::move(action)));
    QCOMPARE(f.UndoNames(), (TNames{"B"}));
    QCOMPARE(f.editor.History.RedoCount(), 0);
    QVERIFY(!f.editor.History.Performing());
    QVERIFY_THROWS_EXCEPTION(EAssertionFailure, f.editor.History.UndoLast());
    QCOMPARE(f.RedoNames(), (TNames{"B"}));
    QVERIFY_THROWS_EXCEPTION(EAssertionFailure, f.editor.History.RedoLast());
    QCOMPARE(f.UndoNames(), (TNames{"B"}));
    QCOMPARE(f.counter, 1);
  }

  void internalErrorsOfTheHistory() {
    TFixture f;
    QVERIFY_THROWS_EXCEPTION(EAssertionFailure, f.editor.History.Perform(nullptr));
    QVERIFY_THROWS_EXCEPTION(EAssertionFailure, TCounterAction(f.editor, "", f.counter, f.log));
    // An action may not be executed twice or undone while not done.
    TCounterAction loose(f.editor, "L", f.counter, f.log);
    QVERIFY_THROWS_EXCEPTION(EAssertionFailure, loose.Undo());
    QVERIFY(loose.Execute());
    QVERIFY_THROWS_EXCEPTION(EAssertionFailure, loose.Execute());
    QCOMPARE(f.editor.History.UndoCount(), 0);
  }

  // A request from inside a running action would interleave two changes.
  void performFromInsideAnActionIsRefused() {
    TFixture f;
    struct TNesting : TCounterAction {
      using TCounterAction::TCounterAction;
      TFixture* Owner = nullptr;
      bool DoExecute() override {
        Owner->Perform("inner");
        return TCounterAction::DoExecute();
      }
    };
    auto outer = std::make_unique<TNesting>(f.editor, "outer", f.counter, f.log);
    outer->Owner = &f;
    QVERIFY_THROWS_EXCEPTION(EAssertionFailure, f.editor.History.Perform(std::move(outer)));
    QCOMPARE(f.editor.History.UndoCount(), 0);
    QVERIFY(!f.editor.History.Performing());
  }

  // What a transaction performed becomes one step on commit, or is taken back newest first (and
  // the redo list it put aside comes back) on a rollback or an error that ends its scope.
  void transactionCommitsOrRollsBack_data() {
    QTest::addColumn<int>("ending");  // 0 commit, 1 rollback, 2 an exception in its scope
    QTest::newRow("commit") << 0;
    QTest::newRow("rollback") << 1;
    QTest::newRow("exception") << 2;
  }
  void transactionCommitsOrRollsBack() {
    QFETCH(int, ending);
    TFixture f;
    f.Perform("A");
    f.editor.History.UndoLast();
    const auto run = [&] {
      TTransaction transaction(f.editor.History, "T");
      f.Perform("X");
      f.Perform("Y");
      QCOMPARE(f.counter, 2);
      QCOMPARE(f.editor.History.UndoCount(), 0);  // not a step yet
      QCOMPARE(f.editor.History.UndoDescription(), std::string("T"));
      if (ending == 0) transaction.Commit();
      if (ending == 1) f.editor.History.Rollback();
      if (ending == 2) throw ETerravelError("stop");
    };
    if (ending == 2) {
      QVERIFY_THROWS_EXCEPTION(ETerravelError, run());
    } else {
      run();
    }
    QVERIFY(!f.editor.History.InTransaction());
    f.log.clear();
    f.host.Clear();
    if (ending != 0) {
      QCOMPARE(f.counter, 0);
      QCOMPARE(f.editor.History.UndoCount(), 0);
      QCOMPARE(f.RedoNames(), (TNames{"A"}));
      return;
    }
    QCOMPARE(f.UndoNames(), (TNames{"T"}));
    QCOMPARE(f.editor.History.RedoCount(), 0);
    // Undo and redo take the parts back and apply them again, and tell the windows once.
    f.editor.History.UndoLast();
    QCOMPARE(f.counter, 0);
    QCOMPARE(f.host.Joined(), std::string("undoredo [|T] 0/1"));
    f.editor.History.RedoLast();
    QCOMPARE(f.counter, 2);
    QCOMPARE(f.log, (TLog{"prepare Y", "undo Y", "prepare X", "undo X", "changed X", "changed Y", "prepare X",
                          "execute X", "prepare Y", "execute Y", "changed X", "changed Y"}));
  }

  // An undo in the middle of a transaction commits it first and takes it back as one step; a
  // transaction that performed nothing records nothing.
  void undoInsideATransactionTakesItBack() {
    TFixture f;
    const long long serial = f.editor.History.Begin("T");
    f.Perform("X");
    f.Perform("Y");
    f.editor.History.UndoLast();
    QVERIFY(!f.editor.History.InTransaction(serial));
    QCOMPARE(f.counter, 0);
    QCOMPARE(f.RedoNames(), (TNames{"T"}));
    f.editor.History.Begin("empty");
    f.editor.History.Commit();
    QCOMPARE(f.RedoNames(), (TNames{"T"}));
    QCOMPARE(f.editor.History.UndoCount(), 0);
    f.editor.History.Begin("T2");
    QVERIFY_THROWS_EXCEPTION(EAssertionFailure, f.editor.History.Begin("nested"));
  }

  void clearHistoryDestroysRedoThenUndoOldestFirst() {
    TFixture f;
    for (const char* name : {"A", "B", "C", "D"}) f.Perform(name);
    f.editor.History.UndoLast();
    f.editor.History.UndoLast();
    f.log.clear();
    f.editor.History.ClearHistory();
    QCOMPARE(f.log, (TLog{"destroy D", "destroy C", "destroy A", "destroy B"}));
    QCOMPARE(f.editor.History.UndoCount(), 0);
    QCOMPARE(f.editor.History.RedoCount(), 0);
    QCOMPARE(f.editor.History.UndoDescription(), std::string());
    QCOMPARE(f.editor.History.RedoDescription(), std::string());
  }
};

TERRAVEL_TEST(TestHistory)
#include "tst_History.moc"
