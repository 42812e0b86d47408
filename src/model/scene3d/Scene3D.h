#pragma once
// Everything the 3-D view keeps of the document besides the pictures: the mesh buffers and the
// ray cast's grid, in step with each other. What lies under a pixel is answered as a TPickHit, so
// that a click in 3-D goes through the same click rules as one in the top view.
#include <string>

#include "model/interaction/PickHit.h"
#include "model/scene3d/Camera3D.h"
#include "model/scene3d/MeshBuffers.h"
#include "model/scene3d/TriangleGrid.h"

namespace terravel {

class TEditor;
struct TChangeSet;

// A node this near the pointer on screen (pixels) is hit before any polygon.
inline constexpr double kNodePickRadius = 5;

class TScene3D {
 public:
  // Takes the document's changes into the buffers and the grid.
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
  TRayHit Cast(const TRay& ray) const { return grid_.Cast(mesh_, ray); }

 private:
  TMeshBuffers mesh_;
  TTriangleGrid grid_;
  std::string note_;
};

}  // namespace terravel
