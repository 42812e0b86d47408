#pragma once
// The one route by which changes of the document reach the screen. The model reports every change
// to the host of its editor (actions, undo and redo, new and opened projects, imports, live drags);
// in the editor that host is a TDocumentHost, and every window that follows the document follows it
// here: the top view, the properties window, the status bar, the undo and redo commands, the log
// and the main window's title and gradient panel. A new view subscribes the same way.
#include <vector>

#include "model/document/Host.h"

namespace terravel {

// A window that follows the document: it overrides the notifications it shows and ignores the rest.
// A view that follows change sets (FollowsChanges) is handed every published change set through
// Changed and hears a redraw only when it comes from outside the history (a new or opened project,
// an import): it decides for itself what a change needs.
class TDocumentView : public TNullHost {
 public:
  virtual bool FollowsChanges() const { return false; }
  virtual void Changed(const TChangeSet&) {}
};

class TDocumentHost : public THost {
 public:
  // The view is told every notification from now on, after the views that came before it. It
  // must stay alive as long as the host, or leave with Unfollow.
  void Follow(TDocumentView& view);
  void Unfollow(TDocumentView& view);

  // The change set's notices go to every view as usual, except the redraws to the views that
  // follow change sets; those are handed the change set afterwards.
  void Publish(const TChangeSet& changes) override;
  void SetModified(bool modified) override;
  void SetSelectionStatus(const std::string& text) override;
  void SetGridStatus(const std::string& text) override;
  void Redraw(bool full) override;
  // Only to the views that do not follow change sets.
  void ViewChanged(bool full) override;
  void SuspendRedraw() override;
  void ResumeRedraw() override;
  void RefreshProperties() override;
  void SetPropertyMode(TPropertyMode mode) override;
  void RefreshLists() override;
  void RefreshUndoRedo() override;
  void ShowProjectValues() override;
  void ShowUnitValue(TUnitField field) override;
  void Log(const std::string& line) override;

 private:
  std::vector<TDocumentView*> views_;
  bool publishing_ = false;
};

}  // namespace terravel
