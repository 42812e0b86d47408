#include "render/OffscreenGL.h"

#include <EGL/egl.h>
#include <EGL/eglext.h>
#include <GL/glcorearb.h>

namespace terravel {

struct TOffscreenGL::TImpl {
  EGLDisplay display = EGL_NO_DISPLAY;
  EGLContext context = EGL_NO_CONTEXT;
  PFNGLGENFRAMEBUFFERSPROC GenFramebuffers = nullptr;
  PFNGLDELETEFRAMEBUFFERSPROC DeleteFramebuffers = nullptr;
  PFNGLBINDFRAMEBUFFERPROC BindFramebuffer = nullptr;
  PFNGLGENRENDERBUFFERSPROC GenRenderbuffers = nullptr;
  PFNGLDELETERENDERBUFFERSPROC DeleteRenderbuffers = nullptr;
  PFNGLBINDRENDERBUFFERPROC BindRenderbuffer = nullptr;
  PFNGLRENDERBUFFERSTORAGEPROC RenderbufferStorage = nullptr;
  PFNGLFRAMEBUFFERRENDERBUFFERPROC FramebufferRenderbuffer = nullptr;
  PFNGLCHECKFRAMEBUFFERSTATUSPROC CheckFramebufferStatus = nullptr;
  PFNGLREADPIXELSPROC ReadPixels = nullptr;
  PFNGLPIXELSTOREIPROC PixelStorei = nullptr;

  ~TImpl() {
    if (display == EGL_NO_DISPLAY) return;
    eglMakeCurrent(display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
    if (context != EGL_NO_CONTEXT) eglDestroyContext(display, context);
    // The display stays initialized for the rest of the process (EGL keeps one per platform):
    // terminating it unloads the driver, whose few allocations would then be stranded (leak
    // checkers report them), and the next picture would only load it again.
  }
};

namespace {

template <typename T>
bool Load(T& function, const char* name) {
  function = reinterpret_cast<T>(eglGetProcAddress(name));
  return function != nullptr;
}

}  // namespace

TOffscreenGL::TOffscreenGL(std::unique_ptr<TImpl> impl) : impl_(std::move(impl)) {}
TOffscreenGL::~TOffscreenGL() = default;

std::unique_ptr<TOffscreenGL> TOffscreenGL::Create(std::string& error) {
  auto impl = std::make_unique<TImpl>();
  const auto getPlatformDisplay =
      reinterpret_cast<PFNEGLGETPLATFORMDISPLAYEXTPROC>(eglGetProcAddress("eglGetPlatformDisplayEXT"));
  if (getPlatformDisplay) impl->display = getPlatformDisplay(EGL_PLATFORM_SURFACELESS_MESA, EGL_DEFAULT_DISPLAY, nullptr);
  if (impl->display == EGL_NO_DISPLAY) {
    error = "No OpenGL without a display here: EGL's surfaceless platform (Mesa) is missing.";
    return nullptr;
  }
  EGLint major = 0, minor = 0;
  if (!eglInitialize(impl->display, &major, &minor)) {
    impl->display = EGL_NO_DISPLAY;
    error = "No OpenGL without a display here: EGL does not start (is Mesa's libegl1 installed?).";
    return nullptr;
  }
  if (!eglBindAPI(EGL_OPENGL_API)) {
    error = "No OpenGL without a display here: EGL offers no desktop OpenGL.";
    return nullptr;
  }
  const EGLint configAttributes[] = {EGL_SURFACE_TYPE, EGL_PBUFFER_BIT, EGL_RENDERABLE_TYPE, EGL_OPENGL_BIT, EGL_NONE};
  EGLConfig config = nullptr;
  EGLint configs = 0;
  if (!eglChooseConfig(impl->display, configAttributes, &config, 1, &configs) || configs == 0) config = nullptr;
  const EGLint contextAttributes[] = {EGL_CONTEXT_MAJOR_VERSION, 3, EGL_CONTEXT_MINOR_VERSION, 3,
                                      EGL_CONTEXT_OPENGL_PROFILE_MASK, EGL_CONTEXT_OPENGL_CORE_PROFILE_BIT, EGL_NONE};
  impl->context = eglCreateContext(impl->display, config, EGL_NO_CONTEXT, contextAttributes);
  if (impl->context == EGL_NO_CONTEXT ||
      !eglMakeCurrent(impl->display, EGL_NO_SURFACE, EGL_NO_SURFACE, impl->context)) {
    error = "No OpenGL without a display here: EGL makes no OpenGL 3.3 core context.";
    return nullptr;
  }
  TImpl& d = *impl;
  if (!Load(d.GenFramebuffers, "glGenFramebuffers") || !Load(d.DeleteFramebuffers, "glDeleteFramebuffers") ||
      !Load(d.BindFramebuffer, "glBindFramebuffer") || !Load(d.GenRenderbuffers, "glGenRenderbuffers") ||
      !Load(d.DeleteRenderbuffers, "glDeleteRenderbuffers") || !Load(d.BindRenderbuffer, "glBindRenderbuffer") ||
      !Load(d.RenderbufferStorage, "glRenderbufferStorage") ||
      !Load(d.FramebufferRenderbuffer, "glFramebufferRenderbuffer") ||
      !Load(d.CheckFramebufferStatus, "glCheckFramebufferStatus") || !Load(d.ReadPixels, "glReadPixels") ||
      !Load(d.PixelStorei, "glPixelStorei")) {
    error = "No OpenGL without a display here: the context lacks framebuffer objects.";
    return nullptr;
  }
  eglMakeCurrent(d.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  return std::unique_ptr<TOffscreenGL>(new TOffscreenGL(std::move(impl)));
}

TGLResolver TOffscreenGL::Resolver() const {
  return [](const char* name) { return reinterpret_cast<void*>(eglGetProcAddress(name)); };
}

QImage TOffscreenGL::Picture(int width, int height, const std::function<void()>& draw) {
  TImpl& d = *impl_;
  eglMakeCurrent(d.display, EGL_NO_SURFACE, EGL_NO_SURFACE, d.context);
  GLuint framebuffer = 0;
  GLuint buffers[2] = {0, 0};
  d.GenFramebuffers(1, &framebuffer);
  d.BindFramebuffer(GL_FRAMEBUFFER, framebuffer);
  d.GenRenderbuffers(2, buffers);
  d.BindRenderbuffer(GL_RENDERBUFFER, buffers[0]);
  d.RenderbufferStorage(GL_RENDERBUFFER, GL_RGBA8, width, height);
  d.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_RENDERBUFFER, buffers[0]);
  d.BindRenderbuffer(GL_RENDERBUFFER, buffers[1]);
  d.RenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, width, height);
  d.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, buffers[1]);
  QImage image;
  if (d.CheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE) {
    draw();
    image = QImage(width, height, QImage::Format_RGBA8888);
    d.PixelStorei(GL_PACK_ALIGNMENT, 4);
    d.ReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, image.bits());
    image = image.mirrored(false, true).convertToFormat(QImage::Format_ARGB32);
  }
  d.BindFramebuffer(GL_FRAMEBUFFER, 0);
  d.DeleteRenderbuffers(2, buffers);
  d.DeleteFramebuffers(1, &framebuffer);
  eglMakeCurrent(d.display, EGL_NO_SURFACE, EGL_NO_SURFACE, EGL_NO_CONTEXT);
  return image;
}

}  // namespace terravel
