#pragma once
#include "model/document/RecordList.h"
#include "model/document/Records.h"

namespace terravel {

// The node list. Every node that enters it has its drag base set to its position.
class TCoordList : public TRecordList<T3DCoord> {
 public:
  explicit TCoordList(TNameIndex& names) : TRecordList(names, TNameIndex::kNodePattern) {}

  const T3DCoord* NodeAt(int index) const { return At(index); }
  T3DCoord* NodeAt(int index) { return At(index); }

  int AddNode(T3DCoord node) {
    node.BaseX = node.X;
    node.BaseY = node.Y;
    return Add(std::move(node));
  }
  int NewNode(std::string group, std::string name, float x, float y, float z) {
    T3DCoord node;
    node.Group = std::move(group);
    node.Name = std::move(name);
    node.X = x;
    node.Y = y;
    node.Z = z;
    return AddNode(std::move(node));
  }
  void InsertNode(int index, T3DCoord node) { Insert(index, std::move(node)); }
  T3DCoord DetachNode(int index) { return Detach(index); }
};

// The polygon list.
class TPolyList : public TRecordList<TPoly> {
 public:
  explicit TPolyList(TNameIndex& names) : TRecordList(names, TNameIndex::kPolygonPattern) {}

  const TPoly* PolygonAt(int index) const { return At(index); }
  TPoly* PolygonAt(int index) { return At(index); }

  int AddPolygon(TPoly polygon) { return Add(std::move(polygon)); }
  int NewPolygon(int node1, int node2, int node3, std::string texture, std::string group, std::string name) {
    TPoly polygon;
    polygon.Group = std::move(group);
    polygon.Name = std::move(name);
    polygon.Node1 = node1;
    polygon.Node2 = node2;
    polygon.Node3 = node3;
    polygon.Texture = std::move(texture);
    return Add(std::move(polygon));
  }
  TPoly DetachPolygon(int index) { return Detach(index); }
};

}  // namespace terravel
