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
  for (TDocumentView* view : views_) view->Changed(changes);
}

void TDocumentHost::ViewChanged(bool full) {
  for (TDocumentView* view : views_) view->ViewChanged(full);
}

void TDocumentHost::SuspendRedraw() {
  for (TDocumentView* view : views_) view->SuspendRedraw();
}

void TDocumentHost::ResumeRedraw() {
  for (TDocumentView* view : views_) view->ResumeRedraw();
}

void TDocumentHost::Log(const std::string& line) {
  for (TDocumentView* view : views_) view->Log(line);
}

}  // namespace terravel
