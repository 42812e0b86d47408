#pragma once
// The vertex and index buffers of the 3-D view, kept in step with the document. One vertex per
// node (same index): its scene position with the vertical exaggeration, its own height for the
// gradient colour and a normal. Ground and sky triangles have an index list each; the selected
// triangles and nodes have theirs. An update compares with what was last taken and rewrites only
// the vertices of moved nodes (and the normals around them); the triangle index lists are rebuilt
// only when polygons are added, removed, rewired or turned over.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/scene3d/Vector3.h"

namespace terravel {

class TEditor;
class TMeshIndex;

struct TMeshVertex {
  float X = 0;
  float Y = 0;
  float Z = 0;  // exaggerated
  float Height = 0;
  float NX = 0;
  float NY = 0;
  float NZ = 1;
};

// Vertices [First, First + Count).
struct TVertexRun {
  int First = 0;
  int Count = 0;
  friend bool operator==(const TVertexRun&, const TVertexRun&) = default;
};

// What one update changed, for the buffers on the graphics card and the ray cast's grid.
struct TMeshUpdate {
  bool Rebuilt = false;             // every vertex and index list anew
  std::vector<TVertexRun> Vertices;  // rewritten vertices (all of them when rebuilt)
  std::vector<int> Polygons;         // polygons whose corners moved
  bool Triangles = false;            // ground and sky index lists
  bool Selection = false;            // selected triangles and nodes

  bool Empty() const { return !Rebuilt && Vertices.empty() && !Triangles && !Selection; }
  std::size_t VertexBytes() const;
};

inline constexpr float kMinExaggeration = 1;
inline constexpr float kMaxExaggeration = 10;

class TMeshBuffers {
 public:
  // Clamped to 1..10; the next update rewrites every vertex.
  void SetExaggeration(float factor);
  float Exaggeration() const { return exaggeration_; }

  TMeshUpdate Update(const TEditor& editor);
  // Rereads only the named nodes (and the selection when asked): what Update would find when
  // nothing else changed. A list that no longer matches the buffers' size is a full Update.
  TMeshUpdate UpdateNodes(const TEditor& editor, const std::vector<int>& nodes, bool selection);
  // Rereads the selected flag of the named records only (indices out of range are passed over):
  // what a look through every record would find when nothing else changed. True when the
  // selection buffers changed.
  bool UpdateSelection(const TEditor& editor, const std::vector<int>& nodes, const std::vector<int>& polygons);

  const std::vector<TMeshVertex>& Vertices() const { return vertices_; }
  const std::vector<std::uint32_t>& GroundIndices() const { return ground_; }
  const std::vector<std::uint32_t>& SkyIndices() const { return sky_; }
  const std::vector<std::uint32_t>& SelectedIndices() const { return selectedTriangles_; }
  const std::vector<std::uint32_t>& SelectedNodes() const { return selectedNodes_; }
  // Corner vertices of each polygon; -1 in the first for a polygon naming a missing node.
  const std::vector<std::array<int, 3>>& Corners() const { return corners_; }
  TVec3 Position(int vertex) const {
    const TMeshVertex& v = vertices_[static_cast<std::size_t>(vertex)];
    return {v.X, v.Y, v.Z};
  }
  TBox3 Bounds() const { return bounds_; }
  // Scene positions of the selected nodes and of the corners of the selected polygons; these and
  // the bounds leave out nodes that are no finite point.
  std::vector<TVec3> SelectionPoints() const;
  std::vector<TVec3> AllPoints() const;

 private:
  void Rebuild(const TEditor& editor, TMeshUpdate& update);
  void ReadNode(const TEditor& editor, int index, TMeshVertex& vertex) const;
  // From the polygons around the vertex in the document's mesh index, in their order.
  void ComputeNormal(const TMeshIndex& index, int vertex);
  // The polygon is in the buffers with all three corners.
  bool Shown(int polygon) const;
  bool ReadCorners(const TEditor& editor, std::vector<std::array<int, 3>>& corners) const;
  void BuildTriangles(const TEditor& editor);
  bool BuildSelection(const TEditor& editor);
  void ComputeBounds();
  // Reads the nodes; true when the vertex changed.
  bool TakeNode(const TEditor& editor, int index);
  // The positions of the moved vertices are taken: their polygons, normals, triangles and bounds follow.
  void TakeMoved(const TEditor& editor, const std::vector<int>& moved, TMeshUpdate& update);

  float exaggeration_ = 1;
  bool stale_ = true;
  std::vector<TMeshVertex> vertices_;
  std::vector<std::array<int, 3>> corners_;
  std::vector<bool> isGround_;
  std::vector<std::uint32_t> ground_;
  std::vector<std::uint32_t> sky_;
  std::vector<std::uint32_t> selectedTriangles_;
  std::vector<std::uint32_t> selectedNodes_;
  std::vector<int> selectedPolygons_;  // ascending; three entries each in selectedTriangles_
  TBox3 bounds_;
  // Marks of the polygons and vertices an update has already taken.
  std::uint32_t stamp_ = 0;
  std::vector<std::uint32_t> vertexStamps_;
  std::vector<std::uint32_t> polygonStamps_;
};

}  // namespace terravel
