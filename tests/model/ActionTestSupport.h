#pragma once
// Small documents and checks shared by the action tests.
#include <QString>
#include <QTest>

#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "model/core/Errors.h"
#include "model/editor/Editor.h"
#include "model/text/NumberText.h"
#include "support/RecordingHost.h"

namespace terravel::test {

// An editor that reports to a recorder.
struct TActionFixture {
  TRecordingHost host;
  TEditor editor{&host};

  // The calls since the last look, joined, and forgotten.
  QString Calls() {
    const QString joined = QString::fromStdString(host.Joined());
    host.Clear();
    return joined;
  }

  // What the action performed or redone last would publish now (the calls are forgotten, as
  // Calls does).
  TChangeSet DoneChanges() {
    host.Clear();
    return editor.History.UndoAt(editor.History.UndoCount() - 1).ChangeSet();
  }
  // The same for the action undone last.
  TChangeSet UndoneChanges() {
    host.Clear();
    return editor.History.RedoAt(editor.History.RedoCount() - 1).ChangeSet();
  }
};

// Nodes at (i, 10 i, 100 i) with no names given (Node1, Node2, ...).
inline void AddNodes(TEditor& editor, int count) {
  for (int i = 0; i < count; ++i) editor.Nodes.NewNode("", "", float(i), float(10 * i), float(100 * i));
}

// Selects exactly these nodes; the list keeps the count.
inline void SelectNodes(TEditor& editor, std::initializer_list<int> indices) {
  editor.Nodes.AssignSelected([&](int i, const T3DCoord&) { return std::ranges::count(indices, i) > 0; });
}

inline void SelectPolygons(TEditor& editor, std::initializer_list<int> indices) {
  editor.Polygons.AssignSelected([&](int i, const TPoly&) { return std::ranges::count(indices, i) > 0; });
}

inline std::vector<int> Corners(const TEditor& editor) {
  std::vector<int> corners;
  for (const TPoly& p : editor.Polygons) corners.insert(corners.end(), {p.Node1, p.Node2, p.Node3});
  return corners;
}

inline std::vector<std::string> NodeNames(const TEditor& editor) {
  std::vector<std::string> names;
  for (const T3DCoord& node : editor.Nodes) names.push_back(node.Name);
  return names;
}

inline QString UndoText(const TEditor& editor) {
  return QString::fromStdString(editor.History.UndoDescription());
}

// Sets the decimal separator for one test and puts the point back afterwards.
struct TSeparatorScope {
  explicit TSeparatorScope(char separator) { SetDecimalSeparator(separator); }
  ~TSeparatorScope() { SetDecimalSeparator('.'); }
  TSeparatorScope(const TSeparatorScope&) = delete;
  TSeparatorScope& operator=(const TSeparatorScope&) = delete;
};

// True when the call raises an internal error of the Actions module.
template <typename Function>
bool FailsWithActionsAssertion(Function function) {
  try {
    function();
  } catch (const EAssertionFailure& e) {
    return std::string(e.what()).starts_with("Assertion failure (Actions)");
  }
  return false;
}

}  // namespace terravel::test

namespace terravel {

// The change set in one line, for the messages of QCOMPARE.
inline char* toString(const TChangeSet& changes) {
  return qstrdup(test::Describe(changes).c_str());
}

}  // namespace terravel
