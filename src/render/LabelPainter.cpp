#include "render/LabelPainter.h"

#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cstdint>

#include "render/Colors.h"

namespace terravel {

namespace {

// Labels beyond this many pixels in all are drawn without being kept.
constexpr qsizetype kCacheLimit = 8 * 1024 * 1024;
// Nobody reads more of a label than this; longer texts are cut.
constexpr std::size_t kLongestLabel = 2048;
// Texts beyond this many are measured without being kept (the names of a 256 x 256 mesh's nodes
// and polygons fit).
constexpr std::size_t kMeasuredTexts = 400000;

QImage MakeDevice() {
  QImage device(1, 1, QImage::Format_RGB32);
  device.setDotsPerMeterX(kDotsPerMetre);
  device.setDotsPerMeterY(kDotsPerMetre);
  return device;
}

QFont ViewportFont(bool bold) {
  QFont font = QGuiApplication::font();
  font.setPointSize(8);
  font.setBold(bold);
  return font;
}

// Text, colour and weight; written into one reused string, so that a hit allocates nothing.
void MakeCacheKey(std::string& key, const std::string& text, QRgb color, bool bold) {
  key.assign(text, 0, kLongestLabel);
  key.push_back('\0');
  for (int shift = 0; shift < 32; shift += 8) key.push_back(static_cast<char>((color >> shift) & 0xFF));
  key.push_back(bold ? 'b' : 'r');
}

// The bits [from, to) of a 64-bit word, 0 <= from < to <= 64.
std::uint64_t BitRange(long long from, long long to) {
  const std::uint64_t upTo = to >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << to) - 1;
  return upTo & ~((std::uint64_t{1} << from) - 1);
}

// The bits [left, right) of a row of 64-bit words: the first and last word and their masks.
struct TBitSpan {
  TBitSpan(long long left, long long right)
      : First(static_cast<std::size_t>(left / 64)),
        Last(static_cast<std::size_t>((right - 1) / 64)),
        FirstMask(BitRange(left % 64, First == Last ? right - 64 * static_cast<long long>(First) : 64)),
        LastMask(BitRange(0, right - 64 * static_cast<long long>(Last))) {}
  std::size_t First, Last;
  std::uint64_t FirstMask, LastMask;  // with First == Last, FirstMask alone
};

// Whether the span's bits are set in each of the rows.
bool SpanSet(const std::uint64_t* row, std::size_t rowWords, long long rows, const TBitSpan& span) {
  for (; rows > 0; --rows, row += rowWords) {
    if ((row[span.First] & span.FirstMask) != span.FirstMask) return false;
    if (span.First == span.Last) continue;
    for (std::size_t w = span.First + 1; w < span.Last; ++w)
      if (row[w] != ~std::uint64_t{0}) return false;
    if ((row[span.Last] & span.LastMask) != span.LastMask) return false;
  }
  return true;
}

}  // namespace

QString DisplayText(const std::string& text) {
  return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(std::min(text.size(), kLongestLabel)));
}

TLabelPainter::TLabelPainter()
    : device_(MakeDevice()),
      regular_(ViewportFont(false)),
      bold_(ViewportFont(true)),
      regularMetrics_(regular_, &device_),
      boldMetrics_(bold_, &device_),
      heights_{regularMetrics_.height(), boldMetrics_.height()} {
  for (int c = 0; c < 256; ++c) {
    const bool printable = c >= ' ' && c <= '~';
    boundAdvance_[0][c] = printable ? regularMetrics_.horizontalAdvance(QChar(c)) + 2 : kNotPrintable;
    boundAdvance_[1][c] = printable ? boldMetrics_.horizontalAdvance(QChar(c)) + 2 : kNotPrintable;
  }
}

QSize TLabelPainter::TextSize(const std::string& text, bool bold) const {
  sizeKey_.assign(text, 0, kLongestLabel);
  sizeKey_.push_back(bold ? 'b' : 'r');
  const auto found = sizes_.find(sizeKey_);
  if (found != sizes_.end()) return found->second;
  const QFontMetrics& metrics = bold ? boldMetrics_ : regularMetrics_;
  const QSize size(metrics.horizontalAdvance(DisplayText(text)), metrics.height());
  if (sizes_.size() < kMeasuredTexts) sizes_.emplace(sizeKey_, size);
  return size;
}

const QImage& TLabelPainter::Label(const std::string& text, QRgb color, bool bold) {
  MakeCacheKey(key_, text, color, bold);
  const auto found = cache_.find(key_);
  if (found != cache_.end()) return found->second;
  QImage label = MakeLabel(text, color, bold);
  const qsizetype pixels = qsizetype(label.width()) * label.height();
  if (cachedPixels_ + pixels > kCacheLimit) {
    uncached_ = std::move(label);
    return uncached_;
  }
  cachedPixels_ += pixels;
  return cache_.emplace(key_, std::move(label)).first->second;
}

namespace {

void BlitPart(TRaster& raster, const uchar* bits, qsizetype stride, int width, int height, int x, int y,
              const TLabelPart& part) {
  const int left = std::max(part.Left, 0), top = std::max(part.Top, 0);
  const int right = std::min(part.Right, width), bottom = std::min(part.Bottom, height);
  if (left >= right || top >= bottom) return;
  raster.Blit(bits + top * stride + left * qsizetype(sizeof(QRgb)), stride, right - left, bottom - top, x + left,
              y + top);
}

void BlitPart(TRaster& raster, const QImage& label, int x, int y, const TLabelPart& part) {
  BlitPart(raster, label.constBits(), label.bytesPerLine(), label.width(), label.height(), x, y, part);
}

}  // namespace

void TLabelPainter::DrawLabel(TRaster& raster, int x, int y, const std::string& text, QRgb color, bool bold,
                              const TLabelPart& part) {
  BlitPart(raster, Label(text, color, bold), x, y, part);
}

void TLabelPainter::DrawCentredLabel(TRaster& raster, int cx, int y, const std::string& text, QRgb color,
                                     bool bold) {
  raster.Blit(Label(text, color, bold), cx - TextSize(text, bold).width() / 2, y);
}

int TLabelPainter::WidthBound(const std::string& text, bool bold) const {
  constexpr std::size_t kLongestBound = 64;
  if (text.size() > kLongestBound) return -1;
  const int sum = AdvanceBound(text, bold);
  return sum < 0 ? -1 : kBoundBase + sum;
}

int TLabelPainter::AdvanceBound(std::string_view part, bool bold) const {
  // Each character's advance, with room for kerning and rounding; a character outside printable
  // ASCII makes the sum negative.
  const int* advance = boundAdvance_[bold ? 1 : 0];
  int sum = 0;
  for (const char c : part) sum += advance[static_cast<unsigned char>(c)];
  return sum < 0 ? -1 : sum;
}

void TLabelPainter::BeginCulling(int width, int height) {
  cullWidth_ = std::max(width, 0);
  cullHeight_ = std::max(height, 0);
  rowWords_ = (static_cast<std::size_t>(cullWidth_) + 63) / 64;
  covered_.assign(rowWords_ * static_cast<std::size_t>(cullHeight_), 0);
  tileWords_ = (static_cast<std::size_t>(cullWidth_) + 64 * kTile - 1) / (64 * kTile);
  fullTiles_.assign(tileWords_ * static_cast<std::size_t>((cullHeight_ + kTile - 1) / kTile), 0);
}

void TLabelPainter::EndCulling() {
  cullWidth_ = cullHeight_ = 0;
}

bool TLabelPainter::ShapeShows(long long left, long long top, long long right, long long bottom) const {
  // One wholly outside the picture is drawn nowhere anyway.
  return !Covered(left, right, top, bottom);
}

bool TLabelPainter::LabelShows(int& x, int y, const std::string& text, bool bold, bool centred, TLabelPart& part) {
  const long long top = y, bottom = 1LL * y + TextHeight(bold);
  const int bound = WidthBound(text, bold);
  // Covered at its widest, it is covered at its width; otherwise it is measured.
  if (bound >= 0) {
    const long long left = centred ? 1LL * x - bound / 2 : x;
    const long long right = centred ? 1LL * x + (bound + 1) / 2 : 1LL * x + bound;
    if (Covered(left, right, top, bottom)) return false;
  }
  const int width = TextSize(text, bold).width();
  const int left = centred ? x - width / 2 : x;
  if (!PlacedLabelShows(left, top, width, TextHeight(bold), part)) return false;
  x = left;
  return true;
}

bool TLabelPainter::PlacedLabelShows(long long left, long long top, long long width, long long height,
                                     TLabelPart& part) {
  if (Covered(left, left + width, top, top + height)) return false;
  part = Uncovered(left, left + width, top, top + height);
  Cover(left, left + width, top, top + height);
  return true;
}

TLabelPart TLabelPainter::Uncovered(long long left, long long right, long long top, long long bottom) const {
  const long long x0 = left, y0 = top;
  Clip(left, right, top, bottom);
  const TBitSpan span(left, right);
  long long minX = right, maxX = left - 1, minY = bottom, maxY = top - 1;
  // Word by word: the rows with open pixels, and the open pixels of all rows in one word.
  for (std::size_t w = span.First; w <= span.Last; ++w) {
    const std::uint64_t mask =
        w == span.First ? span.FirstMask : (w == span.Last ? span.LastMask : ~std::uint64_t{0});
    const std::uint64_t* row = covered_.data() + static_cast<std::size_t>(top) * rowWords_ + w;
    std::uint64_t open = 0;
    for (long long y = top; y < bottom; ++y, row += rowWords_) {
      const std::uint64_t here = ~*row & mask;
      if (here == 0) continue;
      open |= here;
      minY = std::min(minY, y);
      maxY = std::max(maxY, y);
    }
    if (open == 0) continue;
    const long long base = 64 * static_cast<long long>(w);
    minX = std::min(minX, base + std::countr_zero(open));
    maxX = std::max(maxX, base + 63 - std::countl_zero(open));
  }
  return {static_cast<int>(minX - x0), static_cast<int>(minY - y0), static_cast<int>(maxX + 1 - x0),
          static_cast<int>(maxY + 1 - y0)};
}

bool TLabelPainter::NumberLabelShows(int& x, int y, long long value, bool bold, TLabelPart& part) {
  char digits[24];
  char* end = std::to_chars(digits, digits + sizeof digits, value).ptr;
  numberText_.assign(" ").append(digits, static_cast<std::size_t>(end - digits)).append(" ");
  const int height = TextHeight(bold);
  const int bound = WidthBound(numberText_, bold);
  if (Covered(x, 1LL * x + bound, y, 1LL * y + height)) return false;
  constexpr int kSlotBits = 12;
  if (numberWidths_.empty()) numberWidths_.resize(std::size_t(1) << kSlotBits);
  const TNumberKey key{value, 0, bold};
  TNumberWidth& slot = numberWidths_[(TNumberHash()(key) * 0x9E3779B97F4A7C15ULL) >> (64 - kSlotBits)];
  if (slot.Width < 0 || !(slot.Key == key)) slot = {key, TextSize(numberText_, bold).width()};
  return PlacedLabelShows(x, y, slot.Width, height, part);
}


bool TLabelPainter::Clip(long long& left, long long& right, long long& top, long long& bottom) const {
  left = std::max(left, 0LL);
  right = std::min<long long>(right, cullWidth_);
  top = std::max(top, 0LL);
  bottom = std::min<long long>(bottom, cullHeight_);
  return left < right && top < bottom;
}


bool TLabelPainter::Covered(long long left, long long right, long long top, long long bottom) const {
  if (!Clip(left, right, top, bottom)) return true;
  // Within whole covered tiles it is covered; otherwise pixel by pixel.
  if (TilesCovered(left / kTile, (right - 1) / kTile + 1, top / kTile, (bottom - 1) / kTile + 1)) return true;
  return SpanSet(covered_.data() + static_cast<std::size_t>(top) * rowWords_, rowWords_, bottom - top,
                 TBitSpan(left, right));
}

bool TLabelPainter::TilesCovered(long long left, long long right, long long top, long long bottom) const {
  return SpanSet(fullTiles_.data() + static_cast<std::size_t>(top) * tileWords_, tileWords_, bottom - top,
                 TBitSpan(left, right));
}

bool TLabelPainter::TileCovered(long long tx, long long ty) const {
  // A tile lies within one word of each row.
  const long long left = tx * kTile, right = std::min<long long>(left + kTile, cullWidth_);
  const long long top = ty * kTile, bottom = std::min<long long>(top + kTile, cullHeight_);
  const std::uint64_t mask = BitRange(left % 64, right - 64 * (left / 64));
  for (long long y = top; y < bottom; ++y) {
    if ((covered_[static_cast<std::size_t>(y) * rowWords_ + static_cast<std::size_t>(left / 64)] & mask) != mask)
      return false;
  }
  return true;
}

void TLabelPainter::Cover(long long left, long long right, long long top, long long bottom) {
  if (!Clip(left, right, top, bottom)) return;
  const TBitSpan span(left, right);
  std::uint64_t* row = covered_.data() + static_cast<std::size_t>(top) * rowWords_;
  for (long long y = top; y < bottom; ++y, row += rowWords_) {
    row[span.First] |= span.FirstMask;
    if (span.First == span.Last) continue;
    for (std::size_t w = span.First + 1; w < span.Last; ++w) row[w] = ~std::uint64_t{0};
    row[span.Last] |= span.LastMask;
  }
  for (long long ty = top / kTile; ty <= (bottom - 1) / kTile; ++ty) {
    std::uint64_t* tiles = fullTiles_.data() + static_cast<std::size_t>(ty) * tileWords_;
    for (long long tx = left / kTile; tx <= (right - 1) / kTile; ++tx) {
      const std::uint64_t bit = std::uint64_t{1} << (tx % 64);
      if ((tiles[tx / 64] & bit) == 0 && TileCovered(tx, ty)) tiles[tx / 64] |= bit;
    }
  }
}

void TLabelPainter::DrawNumberLabel(TRaster& raster, int x, int y, long long value, QRgb color, bool bold,
                                    const TLabelPart& part) {
  const TNumberKey key{value, color, bold};
  constexpr int kSlotBits = 13;
  if (numberSlots_.empty()) numberSlots_.resize(std::size_t(1) << kSlotBits);
  TNumberSlot& slot = numberSlots_[(TNumberHash()(key) * 0x9E3779B97F4A7C15ULL) >> (64 - kSlotBits)];
  if (slot.Bits == nullptr || !(slot.Key == key)) {
    const auto found = numbers_.find(key);
    const QImage* label = found != numbers_.end() ? found->second : nullptr;
    if (label == nullptr) {
      label = &Label(" " + std::to_string(value) + " ", color, bold);
      if (label == &uncached_) {
        BlitPart(raster, *label, x, y, part);
        return;
      }
      numbers_.emplace(key, label);
    }
    slot = {key, label->constBits(), label->bytesPerLine(), label->width(), label->height()};
  }
  BlitPart(raster, slot.Bits, slot.Stride, slot.Width, slot.Height, x, y, part);
}

void TLabelPainter::TrimCache() {
  if (cachedPixels_ < kCacheLimit) return;
  numbers_.clear();
  numberSlots_.clear();
  cache_.clear();
  cachedPixels_ = 0;
}

QImage TLabelPainter::MakeLabel(const std::string& text, QRgb color, bool bold) const {
  const QString display = DisplayText(text);
  const QFontMetrics& metrics = bold ? boldMetrics_ : regularMetrics_;
  const int width = metrics.horizontalAdvance(display), height = metrics.height();
  QImage label(std::max(width, 0), height, QImage::Format_RGB32);
  if (label.isNull()) return label;
  label.setDotsPerMeterX(kDotsPerMetre);
  label.setDotsPerMeterY(kDotsPerMetre);
  label.fill(colors::kLightGrey);
  QPainter painter(&label);
  painter.setFont(bold ? bold_ : regular_);
  painter.setPen(QColor::fromRgb(color));
  painter.drawText(0, metrics.ascent(), display);
  return label;
}

}  // namespace terravel
