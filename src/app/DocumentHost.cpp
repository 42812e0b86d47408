#include "app/DocumentHost.h"

#include <algorithm>

#include "model/history/ChangeSet.h"

namespace terravel {

void TDocumentHost::Follow(TDocumentView& view) {
  views_.push_back(&view);
}

void TDocumentHost::Unfollow(TDocumentView& view) {
  views_.erase(std::remove(views_.begin(), views_.end(), &view), views_.end());
}

void TDocumentHost::Publish(const TChangeSet& changes) {
  publishing_ = true;
  try {
    SendNotices(*this, changes.Notices);
  } catch (...) {
    publishing_ = false;
    throw;
  }
  publishing_ = false;
  for (TDocumentView* view : views_) {
    if (view->FollowsChanges()) view->Changed(changes);
  }
}

void TDocumentHost::SetModified(bool modified) {
  for (TDocumentView* view : views_) view->SetModified(modified);
}

void TDocumentHost::SetSelectionStatus(const std::string& text) {
  for (TDocumentView* view : views_) view->SetSelectionStatus(text);
}

void TDocumentHost::SetGridStatus(const std::string& text) {
  for (TDocumentView* view : views_) view->SetGridStatus(text);
}

void TDocumentHost::Redraw(bool full) {
  for (TDocumentView* view : views_) {
    if (!publishing_ || !view->FollowsChanges()) view->Redraw(full);
  }
}

void TDocumentHost::ViewChanged(bool full) {
  for (TDocumentView* view : views_) {
    if (!view->FollowsChanges()) view->Redraw(full);
  }
}

void TDocumentHost::SuspendRedraw() {
  for (TDocumentView* view : views_) view->SuspendRedraw();
}

void TDocumentHost::ResumeRedraw() {
  for (TDocumentView* view : views_) view->ResumeRedraw();
}

void TDocumentHost::RefreshProperties() {
  for (TDocumentView* view : views_) view->RefreshProperties();
}

void TDocumentHost::SetPropertyMode(TPropertyMode mode) {
  for (TDocumentView* view : views_) view->SetPropertyMode(mode);
}

void TDocumentHost::RefreshLists() {
  for (TDocumentView* view : views_) view->RefreshLists();
}

void TDocumentHost::RefreshUndoRedo() {
  for (TDocumentView* view : views_) view->RefreshUndoRedo();
}

void TDocumentHost::ShowProjectValues() {
  for (TDocumentView* view : views_) view->ShowProjectValues();
}

void TDocumentHost::ShowUnitValue(TUnitField field) {
  for (TDocumentView* view : views_) view->ShowUnitValue(field);
}

void TDocumentHost::Log(const std::string& line) {
  for (TDocumentView* view : views_) view->Log(line);
}

}  // namespace terravel
