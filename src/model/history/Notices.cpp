#include "model/history/Notices.h"

namespace terravel {

namespace {

void Send(THost& host, TNotice notice, const TNotices& notices) {
  switch (notice) {
    case TNotice::UnitField:
      host.ShowUnitValue(notices.Field());
      return;
    case TNotice::Modified:
      host.SetModified(true);
      return;
    case TNotice::Lists:
    case TNotice::ListsAfterUndoRedo:
      host.RefreshLists();
      return;
    case TNotice::PropertyMode:
      host.SetPropertyMode(notices.Mode());
      return;
    case TNotice::Properties:
    case TNotice::PropertiesAfterRedraw:
      host.RefreshProperties();
      return;
    case TNotice::FullRedraw:
      host.Redraw(true);
      return;
    case TNotice::LightRedraw:
      host.Redraw(false);
      return;
    case TNotice::UndoRedo:
      host.RefreshUndoRedo();
      return;
  }
}

}  // namespace

void SendNotices(THost& host, const TNotices& notices) {
  for (unsigned i = 0; i <= static_cast<unsigned>(TNotice::Last); ++i) {
    const auto notice = static_cast<TNotice>(i);
    if (notices.Has(notice)) Send(host, notice, notices);
  }
}

}  // namespace terravel
