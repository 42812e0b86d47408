#pragma once
// Drawing back to front: which pixels of a picture have been set already. The pick buffer draws
// its objects from the last to the first through this, so each pixel is written once, by the
// object that would have been drawn last over it, however many objects overlap there.
#include <QRgb>

#include <vector>

namespace terravel {

class TCoverage {
 public:
  TCoverage(int width, int height);

  // Whether every pixel of the box (inclusive, within the picture) has been set.
  bool BoxSet(int left, int top, int right, int bottom);
  // Sets the pixels first..last (inclusive, within the row) of row y that are still free.
  void FillFree(QRgb* row, int y, int first, int last, QRgb color);

 private:
  // The first free pixel at or after x in row y (the row's width when none is).
  int NextFree(int y, int x);

  int width_;
  // Per row, width + 1 links: a free pixel links to itself, a set one to a later pixel; links
  // are shortened as they are followed.
  std::vector<int> next_;
};

}  // namespace terravel
