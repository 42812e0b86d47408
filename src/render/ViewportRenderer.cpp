#include "render/ViewportRenderer.h"

#include "model/editor/Editor.h"
#include "render/PickPainter.h"
#include "render/ScenePainter.h"

namespace terravel {

namespace {

QImage MakeBuffer(int width, int height) {
  if (width <= 0 || height <= 0) return QImage();
  QImage buffer(width, height, QImage::Format_RGB32);
  buffer.setDotsPerMeterX(kDotsPerMetre);
  buffer.setDotsPerMeterY(kDotsPerMetre);
  return buffer;
}

}  // namespace

TViewportRenderer::TViewportRenderer(TEditor& editor) : editor_(editor) {
  FitBuffers();
}

void TViewportRenderer::FitBuffers() {
  const TViewportSize& size = editor_.View.Size;
  const int width = std::max(size.Width, 0), height = std::max(size.Height, 0);
  if (back_.width() == width && back_.height() == height && pick_.size() == back_.size()) return;
  back_ = MakeBuffer(width, height);
  pick_ = MakeBuffer(width, height);
  if (!pick_.isNull()) pick_.fill(0xFF000000 | kPickNothing);
  pickStale_ = true;
}

void TViewportRenderer::RenderScene() {
  FitBuffers();
  PaintScene(back_, editor_, Flags, background_, labels_);
  pictureStale_ = false;
}

const QImage& TViewportRenderer::BackBuffer() {
  if (pictureStale_) RenderScene();
  return back_;
}

TViewportRenderer::TPickView TViewportRenderer::CurrentPickView() const {
  const TProjectValues& v = editor_.Values;
  const TViewState& view = editor_.View;
  return {view.Size.Width, view.Size.Height, v.GridX, v.GridY, editor_.Nodes.Count(),
          editor_.Polygons.Count(), view.Zoom, view.PanX, view.PanY, editor_.SnapToGrid, Flags.ShowPolygonNames,
          Flags.ShowTextureNames};
}

void TViewportRenderer::RenderPickBuffer() {
  FitBuffers();
  PaintPickBuffer(pick_, editor_, Flags, labels_);
  pickStale_ = false;
  pickView_ = CurrentPickView();
}

void TViewportRenderer::UpdatePickBuffer() {
  FitBuffers();
  if (!PickBufferCurrent()) RenderPickBuffer();
}

TPickHit TViewportRenderer::PickAt(int x, int y) {
  UpdatePickBuffer();
  if (!pick_.valid(x, y)) return {};
  return DecodePick(pick_.pixel(x, y));
}

void TViewportRenderer::Redraw(bool full) {
  if (RedrawSuspended()) return;
  pictureStale_ = true;
  if (full) pickStale_ = true;
  if (present_) present_();
}

void TViewportRenderer::ResumeRedraw() {
  if (suspensions_ > 0) --suspensions_;
  if (suspensions_ == 0) Redraw(true);
}

void TViewportRenderer::ResizeViewport(int width, int height) {
  editor_.View.Size.Width = std::max(width, 0);
  editor_.View.Size.Height = std::max(height, 0);
  FitBuffers();
  pictureStale_ = true;
  pickStale_ = true;
}

}  // namespace terravel
