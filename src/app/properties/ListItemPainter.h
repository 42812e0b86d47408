#pragma once
// Draws the entries of the group filter, the object list and the drop-down: the kind letters in
// bold at the left, then the name, shortened with "..." when it does not fit. TListCombo is a
// drop-down list whose closed box draws its current entry the same way.
#include <QComboBox>
#include <QStyledItemDelegate>

namespace terravel {

class TListItemPainter : public QStyledItemDelegate {
 public:
  explicit TListItemPainter(QObject* parent) : QStyledItemDelegate(parent) {}

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

  // Draws the entry into the rectangle; highlighted entries use the highlight colours.
  static void PaintEntry(QPainter* painter, const QRect& rect, const QModelIndex& index, const QFont& font,
                         const QPalette& palette, bool highlighted);
};

// The text cut from its end until it fits the width with "..." behind it.
QString ShortenedText(const QFontMetrics& metrics, const QString& text, int width);

inline constexpr int kListItemHeight = 16;

class TListCombo : public QComboBox {
 public:
  explicit TListCombo(QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

}  // namespace terravel
