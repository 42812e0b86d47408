#pragma once
// Everything the 3-D view keeps of the document besides the pictures: the mesh buffers, in step
// with the document. A ray is cast over the document's plan-view grid of polygons (the scene's
// plan is the world's mirrored in Y, heights only scale), the triangles met in the scene's own
// positions. What lies under a pixel is answered as a TPickHit, so that a click in 3-D goes through
// the same click rules as one in the top view.
#include <cstdint>
#include <string>
#include <vector>

#include "model/interaction/PickHit.h"
#include "model/scene3d/Camera3D.h"
#include "model/scene3d/MeshBuffers.h"
#include "model/scene3d/RayCast.h"

namespace terravel {

class TEditor;
struct TChangeSet;

// A node this near the pointer on screen (pixels) is hit before any polygon.
inline constexpr double kNodePickRadius = 5;

class TScene3D {
 public:
  // Takes the document's changes into the buffers. The editor must outlive the scene's casts.
  TMeshUpdate Sync(const TEditor& editor);
  // Takes one change set: the moved nodes' vertices and their normal ring, the selection when it
  // changed; a change of topology (or one that does not say) is a Sync.
  TMeshUpdate Apply(const TEditor& editor, const TChangeSet& changes);
  void SetExaggeration(float factor) { mesh_.SetExaggeration(factor); }

  const TMeshBuffers& Mesh() const { return mesh_; }
  // Empty, or what the view cannot show: "Not shown: the X coordinate of node 3 (Node4) is not a
  // finite number." Such a node and its polygons are left out of the bounds and the ray cast.
  const std::string& Note() const { return note_; }
  // The nearest visible node within the radius of the pixel, else the nearest polygon under it.
  TPickHit PickAt(const TCamera3D& camera, double x, double y, double nodeRadius = kNodePickRadius) const;
  // The nearest triangle the ray meets in front of its origin (borders included: a ray through an
  // edge or a corner meets the triangles there); among equals the later polygon.
  TRayHit Cast(const TRay& ray) const;

 private:
  // Marks the rewritten vertices the scene shows away from their node's plan position.
  void TakeDisplaced(const TEditor& editor, const TMeshUpdate& update);

  TMeshBuffers mesh_;
  std::string note_;
  const TEditor* editor_ = nullptr;  // the document last taken
  // Per vertex: shown away from its node's plan position (snapped while dragged).
  std::vector<std::uint8_t> displaced_;
  int displacedCount_ = 0;
};

}  // namespace terravel
