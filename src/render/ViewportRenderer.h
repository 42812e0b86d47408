#pragma once
// The two off-screen pictures of the viewport and the redraw operations around them. The back
// buffer is what the user sees; the pick buffer holds every object in a colour that encodes its
// index, for hit testing. The main window owns one renderer and shows BackBuffer() when painting.
#include <QImage>

#include <functional>
#include <string>

#include "render/BackgroundPicture.h"
#include "render/LabelPainter.h"
#include "render/PickCodes.h"
#include "render/ViewFlags.h"

namespace terravel {

class TEditor;

class TViewportRenderer {
 public:
  // Buffers of the editor's viewport size.
  explicit TViewportRenderer(TEditor& editor);
  TViewportRenderer(const TViewportRenderer&) = delete;
  TViewportRenderer& operator=(const TViewportRenderer&) = delete;

  TViewFlags Flags;

  const QImage& BackBuffer() const { return back_; }
  const QImage& PickBuffer() const { return pick_; }

  // Draws the back buffer / the pick buffer from the document, the view and the flags.
  void RenderScene();
  void RenderPickBuffer();
  // What lies under a viewport pixel, read from the pick buffer as it was last drawn.
  TPickHit PickAt(int x, int y) const;

  // Full redraw (picture and pick buffer) or light redraw (picture only), then the picture is
  // presented; nothing while redrawing is suspended.
  void Redraw(bool full);
  // Suspensions nest: the last ResumeRedraw ends them and does a full redraw.
  void SuspendRedraw() { ++suspensions_; }
  void ResumeRedraw();
  bool RedrawSuspended() const { return suspensions_ > 0; }

  // Sets the viewport size of the editor and of both buffers, and draws both.
  void ResizeViewport(int width, int height);

  // Called after each Redraw to copy the back buffer to the screen (the window's update()).
  void SetPresenter(std::function<void()> present) { present_ = std::move(present); }

  // The background picture (see TBackgroundPicture); changing it asks for no redraw.
  void SetBackgroundImage(const std::string& fileName, float originX, float originY, float scaleW,
                          float scaleH) {
    background_.SetBackgroundImage(fileName, originX, originY, scaleW, scaleH);
  }
  void ClearBackgroundImage() { background_.ClearBackgroundImage(); }
  bool HasBackgroundImage() const { return background_.HasBackgroundImage(); }
  const TBackgroundPicture& Background() const { return background_; }

 private:
  // Makes both buffers the editor's viewport size when they are not.
  void FitBuffers();

  TEditor& editor_;
  QImage back_;
  QImage pick_;
  TLabelPainter labels_;
  TBackgroundPicture background_;
  int suspensions_ = 0;
  std::function<void()> present_;
};

}  // namespace terravel
