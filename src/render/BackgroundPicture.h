#pragma once
// The picture laid under the mesh for tracing: a file placed in world coordinates by the world
// position of its centre and the world units per picture pixel. It belongs to the running
// program, not to the project.
#include <QImage>

#include <string>

#include "model/view/ViewTransform.h"
#include "render/Raster.h"

namespace terravel {

class TEditor;

// Where the picture lands on the screen: the screen points of its top-left and bottom-right world
// corners (Right and Bottom are one past the last pixel; a negative scale turns them round).
struct TScreenRect {
  TScreenPoint TopLeft;
  TScreenPoint BottomRight;
};

// Pictures larger than this are refused before they are decoded.
inline constexpr int kLargestPictureSide = 16384;
inline constexpr qsizetype kLargestPictureBytes = qsizetype(256) * 1024 * 1024;

class TBackgroundPicture {
 public:
  // Replaces the picture by the file (PNG, JPEG, BMP); an empty name leaves no picture. The
  // origin and scale are stored when the name is empty or the file loads. A file that cannot be
  // decoded, or is too large, raises ETerravelError naming the file and changes nothing: the last
  // picture, origin and scale stay.
  void SetBackgroundImage(const std::string& fileName, float originX, float originY, float scaleW,
                          float scaleH);
  // Drops the picture; origin and scale stay.
  void ClearBackgroundImage() { picture_ = QImage(); }
  bool HasBackgroundImage() const { return !picture_.isNull(); }

  const QImage& Picture() const { return picture_; }
  float OriginX() const { return originX_; }
  float OriginY() const { return originY_; }
  float ScaleW() const { return scaleW_; }
  float ScaleH() const { return scaleH_; }

  // The world rectangle (OriginX - (PW div 2) * ScaleW, OriginY - (PH div 2) * ScaleH) to
  // (OriginX + (PW - PW div 2) * ScaleW, OriginY + (PH - PH div 2) * ScaleH) on the screen.
  TScreenRect ScreenRect(const TEditor& editor) const;

  // Stretches the picture into its screen rectangle (nearest pixel; a turned rectangle mirrors it).
  void Draw(TRaster& raster, const TEditor& editor) const;

 private:
  QImage picture_;  // RGB32; transparent parts already laid on the viewport's silver
  float originX_ = 0;
  float originY_ = 0;
  float scaleW_ = 1;
  float scaleH_ = 1;
};

}  // namespace terravel
