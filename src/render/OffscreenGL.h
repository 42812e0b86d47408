#pragma once
// An OpenGL 3.3 core context without any display: EGL on Mesa's surfaceless platform, drawing into
// a framebuffer object whose pixels are read back as a picture. The command line's 3-D pictures and
// the picture tests draw through it.
#include <QImage>

#include <functional>
#include <memory>
#include <string>

#include "render/Scene3DRenderer.h"

namespace terravel {

class TOffscreenGL {
 public:
  // Null with a sentence why when no context can be made.
  static std::unique_ptr<TOffscreenGL> Create(std::string& error);
  ~TOffscreenGL();
  TOffscreenGL(const TOffscreenGL&) = delete;
  TOffscreenGL& operator=(const TOffscreenGL&) = delete;

  TGLResolver Resolver() const;
  // Binds a framebuffer of that size, runs draw and reads the pixels back (top row first). The
  // context is current only meanwhile, so that a window's context (GLX) can be current on the same
  // thread between pictures.
  QImage Picture(int width, int height, const std::function<void()>& draw);

 private:
  struct TImpl;
  explicit TOffscreenGL(std::unique_ptr<TImpl> impl);
  std::unique_ptr<TImpl> impl_;
};

}  // namespace terravel
