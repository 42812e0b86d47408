#include "render/LabelPainter.h"

#include <QGuiApplication>
#include <QPainter>

#include <algorithm>
#include <cstring>

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

}  // namespace

QString DisplayText(const std::string& text) {
  return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(std::min(text.size(), kLongestLabel)));
}

TLabelPainter::TLabelPainter()
    : device_(MakeDevice()),
      regular_(ViewportFont(false)),
      bold_(ViewportFont(true)),
      regularMetrics_(regular_, &device_),
      boldMetrics_(bold_, &device_) {}

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

void TLabelPainter::DrawLabel(TRaster& raster, int x, int y, const std::string& text, QRgb color, bool bold) {
  if (planning_ || culling_) {
    const QSize size = TextSize(text, bold);
    if (!Shows(x, y, size.width(), size.height())) return;
  }
  raster.Blit(Label(text, color, bold), x, y);
}

void TLabelPainter::BeginPlan(int width, int height) {
  planning_ = true;
  culling_ = false;
  planWidth_ = width;
  planHeight_ = height;
  placed_.clear();
}

void TLabelPainter::EndPlan() {
  planning_ = false;
  hidden_.assign(placed_.size(), false);
  covered_.assign(static_cast<std::size_t>(planWidth_) * static_cast<std::size_t>(std::max(planHeight_, 0)),
                  0);
  // From the last label back: one is hidden when the labels after it cover every pixel of it
  // that lies in the picture (one wholly outside is copied nowhere anyway).
  for (std::size_t k = placed_.size(); k-- > 0;) {
    const TPlacedLabel& p = placed_[k];
    const int left = std::max(p.X, 0),
              right = static_cast<int>(std::min<long long>(1LL * p.X + p.Width, planWidth_));
    const int top = std::max(p.Y, 0),
              bottom = static_cast<int>(std::min<long long>(1LL * p.Y + p.Height, planHeight_));
    if (left >= right || top >= bottom) {
      hidden_[k] = true;
      continue;
    }
    const auto row = [&](int y) { return covered_.data() + static_cast<std::size_t>(y) * planWidth_; };
    bool open = false;
    for (int y = top; y < bottom && !open; ++y) open = std::memchr(row(y) + left, 0, right - left) != nullptr;
    if (!open) {
      hidden_[k] = true;
      continue;
    }
    for (int y = top; y < bottom; ++y) std::memset(row(y) + left, 1, static_cast<std::size_t>(right - left));
  }
  culling_ = true;
  next_ = 0;
}

void TLabelPainter::EndCulling() {
  culling_ = false;
}

bool TLabelPainter::Shows(int x, int y, int width, int height) {
  if (planning_) {
    placed_.push_back({x, y, width, height});
    return false;
  }
  // A label the plan did not see (it cannot happen) is drawn.
  return next_ >= hidden_.size() || !hidden_[next_++];
}

void TLabelPainter::DrawNumberLabel(TRaster& raster, int x, int y, long long value, QRgb color, bool bold) {
  if (planning_ || culling_) {
    const QSize size = TextSize(" " + std::to_string(value) + " ", bold);
    if (!Shows(x, y, size.width(), size.height())) return;
  }
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
        raster.Blit(*label, x, y);
        return;
      }
      numbers_.emplace(key, label);
    }
    slot = {key, label->constBits(), label->bytesPerLine(), label->width(), label->height()};
  }
  raster.Blit(slot.Bits, slot.Stride, slot.Width, slot.Height, x, y);
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
