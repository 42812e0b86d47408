#pragma once
// The pick buffer: every polygon outline (with a wide pen), label area or centre circle, then every
// node circle, each in the colour that encodes its index, on white. Later objects win.
#include <QImage>

namespace terravel {

class TEditor;
class TLabelPainter;
struct TViewFlags;

// The image must be Format_RGB32 and of the editor's viewport size.
void PaintPickBuffer(QImage& image, const TEditor& editor, const TViewFlags& flags,
                     const TLabelPainter& labels);

}  // namespace terravel
