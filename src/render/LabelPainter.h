#pragma once
// Text in the viewport: the default sans family at 8 points (at 96 dots per inch), regular or
// bold. Opaque labels (text on light grey) are made once and then copied, which keeps thousands
// of Z labels cheap.
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QRgb>
#include <QSize>

#include <string>
#include <unordered_map>
#include <vector>

#include "render/Raster.h"

namespace terravel {

// 96 dots per inch, in dots per metre: the resolution the buffers and labels are drawn at.
inline constexpr int kDotsPerMetre = 3780;

class TLabelPainter {
 public:
  TLabelPainter();

  const QFont& Font(bool bold) const { return bold ? bold_ : regular_; }
  // Width and height of a document text (8-bit, system code page); each text is measured once.
  QSize TextSize(const std::string& text, bool bold) const;
  // The height of a line of text ("X").
  int TextHeight(bool bold) const { return (bold ? boldMetrics_ : regularMetrics_).height(); }

  // The label picture: the text in the colour on light grey, as wide and high as the text.
  const QImage& Label(const std::string& text, QRgb color, bool bold);
  // Copies Label(" %d " of the value) with its top-left corner at (x, y): the Z labels,
  // thousands per picture, found without building their text.
  void DrawNumberLabel(TRaster& raster, int x, int y, long long value, QRgb color, bool bold);
  // Copies the label with its top-left corner at (x, y).
  void DrawLabel(TRaster& raster, int x, int y, const std::string& text, QRgb color, bool bold);

  // Labels are opaque, so one that later labels cover entirely never shows. A picture can name
  // its labels twice: between BeginPlan and EndPlan the two Draw functions only note where each
  // label goes (Planning() is true and nothing else should be drawn); until EndCulling they then
  // skip the labels found covered. The same labels must be drawn in the same order both times.
  void BeginPlan(int width, int height);
  bool Planning() const { return planning_; }
  void EndPlan();
  void EndCulling();

  // Call before each picture: forgets the labels once they take too much memory.
  void TrimCache();

 private:
  QImage MakeLabel(const std::string& text, QRgb color, bool bold) const;
  // While planning: notes the label and returns false. While culling: whether it shows.
  bool Shows(int x, int y, int width, int height);

  bool planning_ = false;
  bool culling_ = false;
  int planWidth_ = 0;
  int planHeight_ = 0;
  struct TPlacedLabel {
    int X, Y, Width, Height;
  };
  std::vector<TPlacedLabel> placed_;
  std::vector<bool> hidden_;
  std::size_t next_ = 0;
  std::vector<unsigned char> covered_;  // one byte per pixel of the picture

  QImage device_;  // gives the metrics the buffers' resolution
  QFont regular_;
  QFont bold_;
  QFontMetrics regularMetrics_;
  QFontMetrics boldMetrics_;
  std::unordered_map<std::string, QImage> cache_;
  // Measured texts by text and weight, up to a limit.
  mutable std::unordered_map<std::string, QSize> sizes_;
  mutable std::string sizeKey_;
  struct TNumberKey {
    long long Value;
    QRgb Color;
    bool Bold;
    friend bool operator==(const TNumberKey&, const TNumberKey&) = default;
  };
  struct TNumberHash {
    std::size_t operator()(const TNumberKey& key) const {
      return std::hash<long long>()(key.Value) * 31 + key.Color * 2 + (key.Bold ? 1 : 0);
    }
  };
  // A kept label with what copying it needs.
  struct TNumberSlot {
    TNumberKey Key{};
    const uchar* Bits = nullptr;  // null: the slot is empty
    qsizetype Stride = 0;
    int Width = 0;
    int Height = 0;
  };
  // Labels of cache_ by number (they stay where they are until the cache is trimmed), with the
  // most recent ones in slots by a hash of the key in front.
  std::unordered_map<TNumberKey, const QImage*, TNumberHash> numbers_;
  std::vector<TNumberSlot> numberSlots_;
  std::string key_;
  qsizetype cachedPixels_ = 0;
  QImage uncached_;
};

// Converts a document text for display.
QString DisplayText(const std::string& text);

}  // namespace terravel
