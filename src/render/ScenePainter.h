#pragma once
// The picture the user sees, drawn in one pass: clear, background picture, grid, origin marker,
// selection dots, polygon outlines with their labels or centre crosses, nodes with their labels,
// the position and scale readouts, and the focus frame.
#include <QImage>

namespace terravel {

class TEditor;
class TBackgroundPicture;
class TLabelPainter;
struct TViewFlags;

// The image must be Format_RGB32 and of the editor's viewport size.
void PaintScene(QImage& image, const TEditor& editor, const TViewFlags& flags,
                const TBackgroundPicture& background, TLabelPainter& labels);

}  // namespace terravel
