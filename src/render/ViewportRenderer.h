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

  // The picture, drawn first when a redraw or a resize asked for it since it was last drawn: the
  // redraws of one event cost one drawing, at the next paint.
  const QImage& BackBuffer();
  // The pick buffer as it was last drawn; UpdatePickBuffer makes it current.
  const QImage& PickBuffer() const { return pick_; }

  // Draws the back buffer / the pick buffer from the document, the view and the flags.
  void RenderScene();
  void RenderPickBuffer();
  // Draws the pick buffer when the scene may have changed since it was last drawn: a full redraw
  // or a resize since then, or another view (size, zoom, pan, snapping, label switches). Only hit
  // tests read the pick buffer, so redraws leave it to the next one.
  void UpdatePickBuffer();
  bool PickBufferCurrent() const { return !pickStale_ && pickView_ == CurrentPickView(); }
  // What lies under a viewport pixel: the pick buffer is brought up to date first.
  TPickHit PickAt(int x, int y);

  // Asks for the picture to be drawn again and presents it; nothing while redrawing is suspended.
  // A full redraw is asked for when geometry, selection or labels changed, and leaves the pick
  // buffer to be drawn again by the next hit test.
  void Redraw(bool full);
  // Suspensions nest: the last ResumeRedraw ends them and does a full redraw.
  void SuspendRedraw() { ++suspensions_; }
  void ResumeRedraw();
  bool RedrawSuspended() const { return suspensions_ > 0; }

  // Sets the viewport size of the editor and of both buffers; the picture follows on the next
  // paint and the pick buffer on the next hit test.
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
  // What the pick buffer depends on besides the document, which changes only with a full redraw.
  struct TPickView {
    int Width, Height, GridX, GridY, Nodes, Polygons;
    float Zoom, PanX, PanY;
    bool SnapToGrid, PolygonNames, TextureNames;
    friend bool operator==(const TPickView&, const TPickView&) = default;
  };
  TPickView CurrentPickView() const;

  // Makes both buffers the editor's viewport size when they are not.
  void FitBuffers();

  TEditor& editor_;
  QImage back_;
  QImage pick_;
  TLabelPainter labels_;
  TBackgroundPicture background_;
  int suspensions_ = 0;
  bool pictureStale_ = true;
  bool pickStale_ = true;
  TPickView pickView_{};
  std::function<void()> present_;
};

}  // namespace terravel
