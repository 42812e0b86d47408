#pragma once
// The one route by which changes of the document reach the screen. The model publishes a change
// set for every change (actions, undo and redo, transactions, new and opened projects, imports) to
// the host of its editor; in the editor that host is a TDocumentHost, which hands it to every
// window that follows the document: the top view, the 3-D view, the properties window, the status
// bar, the Undo and Redo commands and the main window's title and gradient panel. Each decides
// for itself what the change set needs. A new view subscribes the same way.
#include <string>
#include <vector>

#include "model/document/Host.h"

namespace terravel {

// A window that follows the document: it overrides what it shows and ignores the rest.
class TDocumentView {
 public:
  virtual ~TDocumentView() = default;
  // What one step changed (model/history/ChangeSet.h).
  virtual void Changed(const TChangeSet&) {}
  // The top view's own state changed (pan, zoom, a display switch).
  virtual void ViewChanged(bool /*full*/) {}
  virtual void SuspendRedraw() {}
  virtual void ResumeRedraw() {}
  virtual void Log(const std::string&) {}
};

class TDocumentHost : public THost {
 public:
  // The view is told everything from now on, after the views that came before it. It must stay
  // alive as long as the host, or leave with Unfollow.
  void Follow(TDocumentView& view);
  void Unfollow(TDocumentView& view);

  void Publish(const TChangeSet& changes) override;
  void ViewChanged(bool full) override;
  void SuspendRedraw() override;
  void ResumeRedraw() override;
  void Log(const std::string& line) override;

 private:
  std::vector<TDocumentView*> views_;
};

}  // namespace terravel
