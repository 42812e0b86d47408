#pragma once
// How the model tells the windows. Actions and project operations never call widgets; they call
// this interface, which the main window implements and tests replace with a recorder.
#include <string>

#include "model/document/PropertyMode.h"

namespace terravel {

struct TChangeSet;

// The three edit boxes of the gradient panel.
enum class TUnitField { MinZ, MaxZ, PgInc };

class THost {
 public:
  virtual ~THost() = default;

  // What one action, undo, redo or transaction changed (model/history/ChangeSet.h). By default
  // the host hears the change set's notices one by one, in their order; a host with views that
  // follow change sets hands it on.
  virtual void Publish(const TChangeSet& changes);

  // The modified flag of the main window ("Modified" in status panel 0, "*" in the title).
  virtual void SetModified(bool modified) = 0;
  // Status panel 1: the selection summary.
  virtual void SetSelectionStatus(const std::string& text) = 0;
  // Status panel 2: "Grid: %d unit%s".
  virtual void SetGridStatus(const std::string& text) = 0;
  // Full redraw (geometry, selection or labels changed: the pick buffer too) or light redraw
  // (grid, heights range or view: the picture only).
  virtual void Redraw(bool full) = 0;
  // The top view's own state changed (pan, zoom, a display switch): the views that show the document
  // from elsewhere (the 3-D view) are not told. By default a redraw.
  virtual void ViewChanged(bool full) { Redraw(full); }
  virtual void SuspendRedraw() = 0;
  virtual void ResumeRedraw() = 0;
  // When the properties window is showing: refill its values from the selection.
  virtual void RefreshProperties() = 0;
  // When the properties window is showing: switch its grid to the mode and refresh it.
  virtual void SetPropertyMode(TPropertyMode mode) = 0;
  // Rebuild the group filter and the object list of the properties window.
  virtual void RefreshLists() = 0;
  // Captions, hints and enabled states of Undo and Redo.
  virtual void RefreshUndoRedo() = 0;
  // Show MinZ, MaxZ, PgInc and ShowZ in the gradient panel without the display counting as an edit.
  virtual void ShowProjectValues() = 0;
  // Rewrite one edit box of the gradient panel from its value, without creating an action.
  virtual void ShowUnitValue(TUnitField field) = 0;
  // A line of the log window ("LOG: ...").
  virtual void Log(const std::string& line) = 0;
};

// A host that shows nothing: the command-line tool and benchmarks use it.
class TNullHost : public THost {
 public:
  void SetModified(bool) override {}
  void SetSelectionStatus(const std::string&) override {}
  void SetGridStatus(const std::string&) override {}
  void Redraw(bool) override {}
  void SuspendRedraw() override {}
  void ResumeRedraw() override {}
  void RefreshProperties() override {}
  void SetPropertyMode(TPropertyMode) override {}
  void RefreshLists() override {}
  void RefreshUndoRedo() override {}
  void ShowProjectValues() override {}
  void ShowUnitValue(TUnitField) override {}
  void Log(const std::string&) override {}
};

}  // namespace terravel
