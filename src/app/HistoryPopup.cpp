#include "app/HistoryPopup.h"

#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionFrame>
#include <QStyleOptionMenuItem>

#include <algorithm>

namespace terravel {

namespace {

// The room between two columns; the bar is drawn in its middle.
constexpr int kColumnGap = 8;

// Menu items treat "&" as the mark of a mnemonic; the captions are plain texts.
QString MenuText(const QString& caption) {
  QString text = caption;
  return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

}  // namespace

THistoryPopup::THistoryPopup(QWidget* parent) : QWidget(parent, Qt::Popup) {
  setAttribute(Qt::WA_X11NetWmWindowTypePopupMenu);
  setMouseTracking(true);
  Relayout();
}

void THistoryPopup::SetEntries(const QStringList& captions) {
  captions_ = captions;
  current_ = -1;
  Relayout();
  resize(size_);
  update();
}

QRect THistoryPopup::EntryRect(int entry) const {
  if (entry < 0 || entry >= static_cast<int>(rects_.size())) return {};
  return rects_[static_cast<std::size_t>(entry)];
}

int THistoryPopup::EntryAt(QPoint point) const {
  for (std::size_t i = 0; i < rects_.size(); ++i) {
    if (rects_[i].contains(point)) return static_cast<int>(i);
  }
  return -1;
}

void THistoryPopup::SetCurrent(int entry) {
  if (entry < 0 || entry >= EntryCount()) entry = -1;
  if (entry == current_) return;
  update(EntryRect(current_));
  current_ = entry;
  update(EntryRect(current_));
}

void THistoryPopup::PopupAt(QPoint globalTopLeft) {
  Relayout();
  QScreen* screen = QGuiApplication::screenAt(globalTopLeft);
  if (screen == nullptr) screen = parentWidget() != nullptr ? parentWidget()->screen() : this->screen();
  QPoint position = globalTopLeft;
  if (screen != nullptr) {
    const QRect area = screen->availableGeometry();
    position.setX(std::max(area.left(), std::min(position.x(), area.right() + 1 - size_.width())));
    position.setY(std::max(area.top(), std::min(position.y(), area.bottom() + 1 - size_.height())));
  }
  current_ = -1;
  // The client area goes to the point, whatever frame the platform puts around a popup.
  setGeometry(QRect(position, size_));
  show();
}

QSize THistoryPopup::sizeHint() const {
  return size_;
}

int THistoryPopup::FrameWidth() const {
  return style()->pixelMetric(QStyle::PM_MenuPanelWidth, nullptr, this);
}

void THistoryPopup::InitItemOption(QStyleOptionMenuItem& option, int entry) const {
  option.initFrom(this);
  option.palette = palette();
  option.state = QStyle::State_None;
  if (window()->isActiveWindow()) option.state |= QStyle::State_Active;
  if (isEnabled()) {
    option.state |= QStyle::State_Enabled;
  } else {
    option.palette.setCurrentColorGroup(QPalette::Disabled);
  }
  if (entry == current_) option.state |= QStyle::State_Selected;
  option.font = font();
  option.fontMetrics = fontMetrics();
  option.menuItemType = QStyleOptionMenuItem::Normal;
  option.checkType = QStyleOptionMenuItem::NotCheckable;
  option.menuHasCheckableItems = false;
  option.maxIconWidth = 0;
  option.reservedShortcutWidth = shortcutWidth_;
  option.menuRect = rect();
  option.text = MenuText(EntryText(entry));
  if (const int digit = EntryDigit(entry)) option.text += QLatin1Char('\t') + QString::number(digit);
}

void THistoryPopup::Relayout() {
  const QFontMetrics metrics = fontMetrics();
  const int frame = FrameWidth();
  const int hmargin = style()->pixelMetric(QStyle::PM_MenuHMargin, nullptr, this);
  const int vmargin = style()->pixelMetric(QStyle::PM_MenuVMargin, nullptr, this);
  const int count = EntryCount();

  shortcutWidth_ = 0;
  for (int i = 0; i < std::min(count, kDigitEntries); ++i) {
    shortcutWidth_ = std::max(shortcutWidth_, metrics.horizontalAdvance(QString::number(EntryDigit(i))));
  }

  std::vector<QSize> sizes;
  sizes.reserve(static_cast<std::size_t>(count));
  int rowHeight = 0;
  for (int i = 0; i < count; ++i) {
    QStyleOptionMenuItem option;
    InitItemOption(option, i);
    const QString label = MenuText(EntryText(i));
    const QSize contents(
        metrics.boundingRect(QRect(), Qt::TextSingleLine | Qt::TextShowMnemonic, label).width(),
        metrics.height());
    sizes.push_back(style()->sizeFromContents(QStyle::CT_MenuItem, &option, contents, this));
    rowHeight = std::max(rowHeight, sizes.back().height());
  }

  rects_.clear();
  separators_.clear();
  const int top = frame + vmargin;
  int x = frame + hmargin;
  for (int first = 0; first < count; first += kColumnLength) {
    const int last = std::min(count, first + kColumnLength);
    int columnWidth = 0;
    for (int i = first; i < last; ++i)
      columnWidth = std::max(columnWidth, sizes[static_cast<std::size_t>(i)].width());
    for (int i = first; i < last; ++i)
      rects_.emplace_back(x, top + (i - first) * rowHeight, columnWidth, rowHeight);
    x += columnWidth;
    if (last < count) {
      separators_.push_back(x + kColumnGap / 2);
      x += kColumnGap;
    }
  }
  const int rows = std::min(count, kColumnLength);
  size_ = QSize(x + hmargin + frame, top + rows * rowHeight + vmargin + frame);
}

void THistoryPopup::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  QStyleOptionMenuItem panel;
  panel.initFrom(this);
  panel.state = QStyle::State_None;
  panel.checkType = QStyleOptionMenuItem::NotCheckable;
  panel.maxIconWidth = 0;
  panel.reservedShortcutWidth = 0;
  style()->drawPrimitive(QStyle::PE_PanelMenu, &panel, &painter, this);

  for (int i = 0; i < EntryCount(); ++i) {
    const QRect area = EntryRect(i);
    if (!event->rect().intersects(area)) continue;
    QStyleOptionMenuItem option;
    InitItemOption(option, i);
    option.rect = area;
    painter.save();
    painter.setClipRect(area);
    style()->drawControl(QStyle::CE_MenuItem, &option, &painter, this);
    painter.restore();
  }

  // An etched bar between two columns, the height of the entries.
  if (!rects_.empty()) {
    const int top = rects_.front().top(),
              bottom = top + std::min(EntryCount(), kColumnLength) * rects_.front().height() - 1;
    for (int x : separators_) {
      painter.setPen(palette().color(QPalette::Mid));
      painter.drawLine(x, top, x, bottom);
      painter.setPen(palette().color(QPalette::Light));
      painter.drawLine(x + 1, top, x + 1, bottom);
    }
  }

  if (const int frame = FrameWidth()) {
    QStyleOptionFrame border;
    border.rect = rect();
    border.palette = palette();
    border.state = QStyle::State_None;
    border.lineWidth = frame;
    border.midLineWidth = 0;
    style()->drawPrimitive(QStyle::PE_FrameMenu, &border, &painter, this);
  }
}

void THistoryPopup::keyPressEvent(QKeyEvent* event) {
  const int count = EntryCount();
  const int key = event->key();
  // The digits of the main row and of the keypad, with no modifier held.
  const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if (plain && key >= Qt::Key_1 && key <= Qt::Key_9) {
    const int entry = key - Qt::Key_1;
    if (entry < count) Choose(entry);
    return;
  }
  if (count == 0) {
    if (key == Qt::Key_Escape) close();
    return;
  }
  const int column = current_ < 0 ? -1 : current_ / kColumnLength;
  switch (key) {
    case Qt::Key_Escape:
      close();
      break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
      if (current_ >= 0) Choose(current_);
      break;
    case Qt::Key_Up:
      SetCurrent(current_ <= 0 ? count - 1 : current_ - 1);
      break;
    case Qt::Key_Down:
      SetCurrent(current_ < 0 || current_ >= count - 1 ? 0 : current_ + 1);
      break;
    case Qt::Key_Home:
      SetCurrent(0);
      break;
    case Qt::Key_End:
      SetCurrent(count - 1);
      break;
    case Qt::Key_Left:
      SetCurrent(column < 0 ? 0 : column > 0 ? current_ - kColumnLength : current_);
      break;
    case Qt::Key_Right:
      SetCurrent(column < 0                   ? 0
                 : column + 1 < ColumnCount() ? std::min(current_ + kColumnLength, count - 1)
                                              : current_);
      break;
    default:
      break;
  }
}

void THistoryPopup::mouseMoveEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  if (rect().contains(point)) SetCurrent(EntryAt(point));
}

void THistoryPopup::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) return;
  const QPoint point = event->position().toPoint();
  // A release outside, such as the end of the press on the tool button, chooses nothing.
  const int entry = rect().contains(point) ? EntryAt(point) : -1;
  if (entry >= 0) Choose(entry);
}

void THistoryPopup::leaveEvent(QEvent* event) {
  SetCurrent(-1);
  QWidget::leaveEvent(event);
}

void THistoryPopup::changeEvent(QEvent* event) {
  if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange) {
    Relayout();
    updateGeometry();
    if (isVisible()) resize(size_);
  }
  QWidget::changeEvent(event);
}

void THistoryPopup::Choose(int entry) {
  close();
  emit EntryChosen(entry);
}

}  // namespace terravel
