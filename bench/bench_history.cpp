// What the unbounded history costs: memory per committed node move on a 16 x 16 mesh, and the
// time of removing everything and undoing it on meshes up to 256 x 256, which must grow linearly.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "model/actions/CapturedSize.h"
#include "model/actions/NodeActions.h"
#include "model/actions/Requests.h"
#include "model/actions/SelectionActions.h"
#include "model/editor/Editor.h"
#include "model/project/NewProject.h"

using namespace terravel;

namespace {

constexpr int kMoves = 10000;

// The object size of the action kinds a move session creates.
std::size_t ObjectBytes(const TAction& action) {
  if (dynamic_cast<const TMoveNodeAction*>(&action)) return sizeof(TMoveNodeAction);
  if (dynamic_cast<const TSelectNodeAction*>(&action)) return sizeof(TSelectNodeAction);
  if (dynamic_cast<const TSelectNothingAction*>(&action)) return sizeof(TSelectNothingAction);
  return sizeof(TAction);
}

// Object, captured data, description text and the history's pointer to it.
std::size_t HistoryBytes(const THistory& history, bool movesOnly) {
  std::size_t bytes = 0;
  for (int i = 0; i < history.UndoCount(); ++i) {
    const TAction& action = history.UndoAt(i);
    if (movesOnly && !dynamic_cast<const TMoveNodeAction*>(&action)) continue;
    bytes += ObjectBytes(action) + action.CapturedBytes() + HeapBytes(action.Description()) + sizeof(void*);
  }
  return bytes;
}

// The user clicks a node, drags it 10 units to the right and lets go; the history records the
// selection change and the move.
void BM_NodeMoves(benchmark::State& state) {
  std::size_t allBytes = 0, moveBytes = 0;
  for (auto _ : state) {
    state.PauseTiming();
    TEditor editor;
    NewMesh(editor, 16);
    editor.SnapToGrid = false;
    state.ResumeTiming();
    for (int m = 0; m < kMoves; ++m) {
      const int index = (m * 37) % editor.Nodes.Count();
      DoSelectNothing(editor);
      DoSelectNode(editor, index, true);
      editor.Nodes[index].X += 10;  // the live drag
      DoMoveNodes(editor);
    }
    state.PauseTiming();
    allBytes = HistoryBytes(editor.History, false);
    moveBytes = HistoryBytes(editor.History, true);
    state.ResumeTiming();
  }
  state.counters["history_bytes_per_moved_node"] = double(allBytes) / kMoves;
  state.counters["move_action_bytes_per_moved_node"] = double(moveBytes) / kMoves;
  state.SetItemsProcessed(state.iterations() * kMoves);
}
BENCHMARK(BM_NodeMoves)->Unit(benchmark::kMillisecond);

// Baseline: the same moves written straight into the records, without actions or history.
void BM_NodeMovesBaseline(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    TEditor editor;
    NewMesh(editor, 16);
    state.ResumeTiming();
    for (int m = 0; m < kMoves; ++m) {
      T3DCoord& node = editor.Nodes[(m * 37) % editor.Nodes.Count()];
      node.X += 10;
      node.BaseX = node.X;
      benchmark::DoNotOptimize(node);
    }
  }
  state.SetItemsProcessed(state.iterations() * kMoves);
}
BENCHMARK(BM_NodeMovesBaseline)->Unit(benchmark::kMillisecond);

void SelectEverything(TEditor& editor) {
  editor.Nodes.SetAllSelected(true);
  editor.Polygons.SetAllSelected(true);
}

// "Remove" of a select-all and its undo, on an N x N mesh: (N+1)^2 nodes and 2 N^2 polygons.
void BM_RemoveAllAndUndo(benchmark::State& state) {
  TEditor editor;
  NewMesh(editor, static_cast<int>(state.range(0)));
  SelectEverything(editor);
  const int records = editor.Nodes.Count() + editor.Polygons.Count();
  for (auto _ : state) {
    DoRemove(editor);
    editor.History.UndoLast();
    state.PauseTiming();
    if (editor.Nodes.Count() + editor.Polygons.Count() != records) state.SkipWithError("undo lost records");
    editor.History.ClearHistory();
    state.ResumeTiming();
  }
  state.counters["nodes"] = editor.Nodes.Count();
  state.SetComplexityN(records);
  state.SetItemsProcessed(state.iterations() * records);
}
BENCHMARK(BM_RemoveAllAndUndo)
    ->Arg(64)
    ->Arg(128)
    ->Arg(256)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// Baseline: moving every record out of the two lists and back, the least any removal and its
// undo can do.
void BM_RemoveAllAndUndoBaseline(benchmark::State& state) {
  TEditor editor;
  NewMesh(editor, static_cast<int>(state.range(0)));
  const int records = editor.Nodes.Count() + editor.Polygons.Count();
  for (auto _ : state) {
    std::vector<T3DCoord> nodes(std::make_move_iterator(editor.Nodes.begin()),
                                std::make_move_iterator(editor.Nodes.end()));
    std::vector<TPoly> polygons(std::make_move_iterator(editor.Polygons.begin()),
                                std::make_move_iterator(editor.Polygons.end()));
    benchmark::DoNotOptimize(nodes.data());
    benchmark::DoNotOptimize(polygons.data());
    std::move(nodes.begin(), nodes.end(), editor.Nodes.begin());
    std::move(polygons.begin(), polygons.end(), editor.Polygons.begin());
  }
  state.SetComplexityN(records);
  state.SetItemsProcessed(state.iterations() * records);
}
BENCHMARK(BM_RemoveAllAndUndoBaseline)
    ->Arg(64)
    ->Arg(128)
    ->Arg(256)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

}  // namespace

BENCHMARK_MAIN();
