#include "model/history/ChangeSet.h"

namespace terravel {

void TChangeSet::Add(const TChangeSet& other) {
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
  RecordValues = RecordValues || other.RecordValues;
  if (other.PropertyMode) PropertyMode = other.PropertyMode;
  Values = Values || other.Values;
  UnitFields = static_cast<std::uint8_t>(UnitFields | other.UnitFields);
  History = History || other.History;
  Modified = Modified || other.Modified;
}

}  // namespace terravel
