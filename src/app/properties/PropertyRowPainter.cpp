#include "app/properties/PropertyRowPainter.h"

#include <QPainter>
#include <QStyle>

#include "app/properties/PropertyEditor.h"

namespace terravel {

namespace {

const QColor kRowFill(224, 224, 224);
const QColor kBoxOutline(128, 128, 128);

constexpr int kChildTextX = 32;
constexpr int kMessageTextX = 2;
constexpr int kCategoryTextX = 20;
constexpr int kValueIndent = 2;

// A filled rectangle with its outline inside [left, right) x [top, bottom).
void Box(QPainter* p, int left, int top, int right, int bottom, const QColor& fill, const QColor& outline) {
  if (right <= left || bottom <= top) return;
  p->setPen(outline);
  p->setBrush(fill);
  p->drawRect(left, top, right - left - 1, bottom - top - 1);
}

// Every second pixel from the start up to (not including) the end; horizontal or vertical.
void Dotted(QPainter* p, int x1, int y1, int x2, int y2) {
  const int dx = x2 > x1 ? 1 : x2 < x1 ? -1 : 0;
  const int dy = y2 > y1 ? 1 : y2 < y1 ? -1 : 0;
  const int steps = std::max(std::abs(x2 - x1), std::abs(y2 - y1));
  for (int i = 0; i < steps; i += 2) p->drawPoint(x1 + i * dx, y1 + i * dy);
}

}  // namespace

TPropertyRowPainter::TPropertyRowPainter(const TPropertyEditor& grid, QObject* parent)
    : QStyledItemDelegate(parent), grid_(grid) {}

QSize TPropertyRowPainter::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
  return {option.rect.width(), grid_.ItemHeight()};
}

bool TPropertyRowPainter::CategoryBelow(int row) const {
  for (int r = row + 1; r < grid_.count(); ++r) {
    if (grid_.RowKindAt(r) == TPropertyRowKind::Category) return true;
  }
  return false;
}

void TPropertyRowPainter::paint(QPainter* p, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
  const int row = index.row();
  const QRect r = option.rect;
  const QString line = grid_.RowLine(row);
  const TPropertyRowKind kind = RowKind(line.toStdString());
  const QString caption = kind == TPropertyRowKind::Category ? line : line.mid(1);
  const int textX = kind == TPropertyRowKind::Child     ? kChildTextX
                    : kind == TPropertyRowKind::Message ? kMessageTextX
                                                        : kCategoryTextX;
  const bool selected = option.state.testFlag(QStyle::State_Selected);
  const QPalette& palette = option.palette;
  const QColor fill = selected ? palette.color(QPalette::Highlight) : kRowFill;
  const QColor outline = selected ? palette.color(QPalette::Highlight) : QColor(Qt::white);
  const QColor text =
      selected ? palette.color(QPalette::HighlightedText) : palette.color(QPalette::WindowText);

  p->save();
  p->setClipRect(r.adjusted(0, 0, 0, 1));
  p->setRenderHint(QPainter::Antialiasing, false);
  // Every row but the last reaches one pixel into the next, so neighbours share a border line.
  const int bottom = r.top() + r.height() + (row + 1 < grid_.count() ? 1 : 0);
  const int splitter = r.left() + grid_.SplitterPos();
  if (kind == TPropertyRowKind::Child) {
    Box(p, r.left(), r.top(), splitter, bottom, fill, outline);
    Box(p, splitter, r.top(), r.right() + 1, bottom, kRowFill, Qt::white);
  } else {
    Box(p, r.left(), r.top(), r.right() + 1, bottom, fill, outline);
  }

  p->setPen(text);
  const QRect nameRect(r.left() + textX, r.top(), std::max(0, splitter - r.left() - textX), r.height());
  p->drawText(kind == TPropertyRowKind::Child ? nameRect : r.adjusted(textX, 0, 0, 0),
              Qt::AlignLeft | Qt::AlignVCenter, caption);
  PaintTreeLines(p, r, row);

  if (kind != TPropertyRowKind::Message) {
    p->setPen(palette.color(QPalette::WindowText));
    p->drawText(QRect(splitter + kValueIndent, r.top(), r.right() - splitter - kValueIndent, r.height()),
                Qt::AlignLeft | Qt::AlignVCenter, grid_.GetValue(row));
  }
  if (option.state.testFlag(QStyle::State_HasFocus)) {
    QStyleOptionFocusRect focus;
    focus.initFrom(&grid_);
    focus.rect = r;
    focus.backgroundColor = fill;
    grid_.style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, p, &grid_);
  }
  p->restore();
}

void TPropertyRowPainter::PaintTreeLines(QPainter* p, const QRect& r, int row) const {
  const TPropertyRowKind kind = grid_.RowKindAt(row);
  if (kind == TPropertyRowKind::Message) return;
  const int x = r.left();
  const int y = r.top();
  const bool categoryBelow = CategoryBelow(row);
  if (kind == TPropertyRowKind::Category) {
    Box(p, x + 4, y + 4, x + 13, y + 13, kRowFill, kBoxOutline);
    p->setPen(grid_.palette().color(QPalette::WindowText));
    p->drawLine(x + 6, y + 8, x + 10, y + 8);
    Dotted(p, x + 13, y + 8, x + 19, y + 8);
    if (categoryBelow) {
      Dotted(p, x + 8, y + 12, x + 8, y + 16);
    } else {
      bool onlyChildren = true;
      for (int next = row + 1; next < grid_.count(); ++next) {
        if (!grid_.RowLine(next).isEmpty() && grid_.RowKindAt(next) != TPropertyRowKind::Child)
          onlyChildren = false;
      }
      if (onlyChildren) Dotted(p, x + 8, y, x + 8, y + 3);
    }
    return;
  }
  p->setPen(grid_.palette().color(QPalette::WindowText));
  const bool lastChild = grid_.RowKindAt(row + 1) != TPropertyRowKind::Child || row + 1 >= grid_.count();
  if (lastChild) {
    Dotted(p, x + 21, y, x + 21, y + 8);
  } else {
    const bool firstChild = row == 0 || grid_.RowKindAt(row - 1) != TPropertyRowKind::Child;
    Dotted(p, x + 21, y + (firstChild ? 1 : 0), x + 21, y + 17);
  }
  Dotted(p, x + 21, y + 8, x + 31, y + 8);
  if (categoryBelow) Dotted(p, x + 8, y, x + 8, y + 16);
}

}  // namespace terravel
