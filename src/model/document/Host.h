#pragma once
// How the model tells the windows. Actions and project operations never call widgets: they publish
// what changed to this interface, which the main window implements (each window then decides what
// to redo) and tests replace with a recorder.
#include <string>

namespace terravel {

struct TChangeSet;

class THost {
 public:
  virtual ~THost() = default;

  // What one action, undo, redo, transaction or replaced document changed
  // (model/history/ChangeSet.h).
  virtual void Publish(const TChangeSet& changes) = 0;
  // The top view's own state changed (pan, zoom, a display switch): only the top view redraws,
  // with its pick buffer when full. The views that show the document from elsewhere are not told.
  virtual void ViewChanged(bool /*full*/) {}
  // Between the two, the views draw nothing; the last resume draws once.
  virtual void SuspendRedraw() {}
  virtual void ResumeRedraw() {}
  // A line of the log window ("LOG: ...").
  virtual void Log(const std::string& /*line*/) {}
};

// A host that shows nothing: the command-line tool and benchmarks use it.
class TNullHost : public THost {
 public:
  void Publish(const TChangeSet&) override {}
};

}  // namespace terravel
