#include "model/history/ChangeSet.h"

#include "model/document/Host.h"

namespace terravel {

void TChangeSet::Add(const TChangeSet& other) {
  Notices = Notices.Plus(other.Notices);
  Everything = Everything || other.Everything;
  MovedNodes.insert(MovedNodes.end(), other.MovedNodes.begin(), other.MovedNodes.end());
  NodesAddedOrRemoved = NodesAddedOrRemoved || other.NodesAddedOrRemoved;
  PolygonsAddedOrRemoved = PolygonsAddedOrRemoved || other.PolygonsAddedOrRemoved;
  PolygonsRewired = PolygonsRewired || other.PolygonsRewired;
  // The selection stays listed only while every part that changed it named its records.
  SelectionListed = (!Selection || SelectionListed) && (!other.Selection || other.SelectionListed);
  SelectionNodes.insert(SelectionNodes.end(), other.SelectionNodes.begin(), other.SelectionNodes.end());
  SelectionPolygons.insert(SelectionPolygons.end(), other.SelectionPolygons.begin(), other.SelectionPolygons.end());
  Selection = Selection || other.Selection;
  Records = Records || other.Records;
  Values = Values || other.Values;
  History = History || other.History;
  Modified = Modified || other.Modified;
}

TChangeSet ChangesFromNotices(const TNotices& notices) {
  TChangeSet changes;
  changes.Notices = notices;
  changes.Everything = notices.Has(TNotice::FullRedraw);
  changes.Values = notices.Has(TNotice::LightRedraw) || notices.Has(TNotice::UnitField);
  changes.Records = notices.Has(TNotice::Lists) || notices.Has(TNotice::ListsAfterUndoRedo);
  changes.History = notices.Has(TNotice::UndoRedo);
  changes.Modified = notices.Has(TNotice::Modified);
  return changes;
}

void THost::Publish(const TChangeSet& changes) {
  SendNotices(*this, changes.Notices);
}

}  // namespace terravel
