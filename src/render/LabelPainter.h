#pragma once
// Text in the viewport: the default sans family at 8 points (at 96 dots per inch), regular or
// bold. Opaque labels (text on light grey) are made once and then copied, which keeps thousands
// of Z labels cheap.
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QRgb>
#include <QSize>

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "render/Raster.h"

namespace terravel {

// 96 dots per inch, in dots per metre: the resolution the buffers and labels are drawn at.
inline constexpr int kDotsPerMetre = 3780;

// The part of a label to copy, relative to its top-left corner: [Left, Right) x [Top, Bottom).
struct TLabelPart {
  int Left = 0;
  int Top = 0;
  int Right = 1 << 30;
  int Bottom = 1 << 30;
};

class TLabelPainter {
 public:
  TLabelPainter();

  const QFont& Font(bool bold) const { return bold ? bold_ : regular_; }
  // Width and height of a document text (8-bit, system code page); each text is measured once.
  QSize TextSize(const std::string& text, bool bold) const;
  // The height of a line of text ("X").
  int TextHeight(bool bold) const { return heights_[bold ? 1 : 0]; }

  // At least the width of a short text of printable ASCII characters, found without measuring
  // it; -1 for other texts.
  int WidthBound(const std::string& text, bool bold) const;
  // WidthBound is additive: kBoundBase plus each part's AdvanceBound, when none is negative (a
  // part that has no bound). The sum of the parts must stay below 64 characters.
  static constexpr int kBoundBase = 4;
  int AdvanceBound(std::string_view part, bool bold) const;

  // The label picture: the text in the colour on light grey, as wide and high as the text.
  const QImage& Label(const std::string& text, QRgb color, bool bold);
  // Copies Label(" %d " of the value) with its top-left corner at (x, y): the Z labels,
  // thousands per picture, found without building their text.
  void DrawNumberLabel(TRaster& raster, int x, int y, long long value, QRgb color, bool bold,
                       const TLabelPart& part = {});
  // Copies the label (or the part of it) with its top-left corner at (x, y).
  void DrawLabel(TRaster& raster, int x, int y, const std::string& text, QRgb color, bool bold,
                 const TLabelPart& part = {});
  // Copies the label with its top edge at y and its left edge at cx - width / 2.
  void DrawCentredLabel(TRaster& raster, int cx, int y, const std::string& text, QRgb color, bool bold);

  // Labels are opaque, so one that later labels cover entirely never shows, and neither does
  // any other shape they cover. A picture names its labels and shapes from the last drawn back to
  // the first, between BeginCulling and EndCulling, and draws only those found showing. A plain
  // ASCII text is measured only when a generous bound of its width leaves it uncovered, which
  // spares measuring the names of a big selection that pile up under one another.
  void BeginCulling(int width, int height);
  void EndCulling();
  // Whether a shape drawn within the box [left, right) x [top, bottom) shows: some of it lies in
  // the picture outside the labels named so far.
  bool ShapeShows(long long left, long long top, long long right, long long bottom) const;
  // Whether the label of the text with its top edge at y shows, its left edge at x or, centred,
  // at x - width / 2. When it shows, x becomes its left edge, the part holds all of it that the
  // labels named so far leave to see (the rest need not be copied), and it covers what is named
  // after.
  bool LabelShows(int& x, int y, const std::string& text, bool bold, bool centred, TLabelPart& part);
  // The same for the label " %d " of the value (not centred), measured once per value and weight.
  bool NumberLabelShows(int& x, int y, long long value, bool bold, TLabelPart& part);

  // Call before each picture: forgets the labels once they take too much memory.
  void TrimCache();

 private:
  QImage MakeLabel(const std::string& text, QRgb color, bool bold) const;
  // Cuts the box [left, right) x [top, bottom) to the picture; false when nothing is left.
  bool Clip(long long& left, long long& right, long long& top, long long& bottom) const;
  // Whether every pixel of the box that lies in the picture is covered (or none does).
  bool Covered(long long left, long long right, long long top, long long bottom) const;
  // Marks the pixels of the box that lie in the picture as covered.
  void Cover(long long left, long long right, long long top, long long bottom);
  // Whether the tiles [left, right) x [top, bottom) are all wholly covered.
  bool TilesCovered(long long left, long long right, long long top, long long bottom) const;
  // Whether every pixel of the tile that lies in the picture is covered.
  bool TileCovered(long long tx, long long ty) const;

  // Whether the label of the given width shows at its place, and covers it then.
  bool PlacedLabelShows(long long left, long long top, long long width, long long height, TLabelPart& part);
  // The box around the pixels of [left, right) x [top, bottom) in the picture not covered yet,
  // relative to (left, top); the box must have some.
  TLabelPart Uncovered(long long left, long long right, long long top, long long bottom) const;

  int cullWidth_ = 0;
  int cullHeight_ = 0;
  std::vector<std::uint64_t> covered_;  // one bit per pixel of the picture, rowWords_ words a row
  std::size_t rowWords_ = 0;
  // Per tile of kTile x kTile pixels, whether all of it (within the picture) is covered: most
  // shapes and labels of a big selection lie where everything is covered already.
  static constexpr int kTile = 8;
  std::vector<std::uint64_t> fullTiles_;  // one bit per tile, tileWords_ words a row of tiles
  std::size_t tileWords_ = 0;

  QImage device_;  // gives the metrics the buffers' resolution
  QFont regular_;
  QFont bold_;
  QFontMetrics regularMetrics_;
  QFontMetrics boldMetrics_;
  int heights_[2] = {0, 0};      // a line of text, regular and bold
  // Per character, regular and bold: its advance and 2 for printable ASCII, otherwise so negative
  // that no sum over a text WidthBound measures reaches 0 again.
  static constexpr int kNotPrintable = -1000000;
  int boundAdvance_[2][256] = {};
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
  // The widths of number labels by a hash of value and weight, the most recent in each slot.
  struct TNumberWidth {
    TNumberKey Key{};
    int Width = -1;  // -1: the slot is empty
  };
  std::vector<TNumberWidth> numberWidths_;
  std::string numberText_;
  std::string key_;
  qsizetype cachedPixels_ = 0;
  QImage uncached_;
};

// Converts a document text for display.
QString DisplayText(const std::string& text);

}  // namespace terravel
