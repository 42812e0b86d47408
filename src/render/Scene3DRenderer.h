#pragma once
// Draws the 3-D view with OpenGL 3.3 core into whatever framebuffer is bound: the editor's widget
// and the command line's offscreen context share it. It takes the GL entry points through a
// resolver, so it works the same under Qt's context and a bare EGL one, and keeps its buffers on
// the card: an update uploads only what the mesh says changed.
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "model/scene3d/Camera3D.h"
#include "model/scene3d/MeshBuffers.h"
#include "render/Scene3DStyle.h"

namespace terravel {

using TGLResolver = std::function<void*(const char* name)>;

// Whether the unselected nodes show as dots: when the style asks for them and they stand apart on
// screen (on average) in a mesh of that plan (its bounds) and number of vertices.
bool NodeDotsShown(const TCamera3D& camera, const TScene3DStyle& style, const TBox3& bounds, int vertices);

class TScene3DRenderer {
 public:
  TScene3DRenderer();
  ~TScene3DRenderer();
  TScene3DRenderer(const TScene3DRenderer&) = delete;
  TScene3DRenderer& operator=(const TScene3DRenderer&) = delete;

  // With the context current. False with a sentence why (missing entry point, old version,
  // shader error).
  bool Initialise(const TGLResolver& resolve, std::string& error);
  // With the context current; the gradient of the top view between MinZ and MaxZ colours heights.
  void Upload(const TMeshBuffers& mesh, const TMeshUpdate& update);
  void Draw(const TCamera3D& camera, const TScene3DStyle& style, int pixelWidth, int pixelHeight);
  // With the context current, before it goes.
  void Release();

  // Bytes handed to the card since the start.
  std::size_t UploadedBytes() const;
  // Waits until the card has drawn everything (benchmarks).
  void Finish();

 private:
  struct TImpl;
  std::unique_ptr<TImpl> impl_;
};

}  // namespace terravel
