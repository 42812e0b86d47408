#pragma once
// Draws one row of the property grid: the name part and the value part of a child row, category
// rows with their collapse box, message rows, and the dotted tree lines between them. Rows share
// their white border lines, which form the grid.
#include <QStyledItemDelegate>

namespace terravel {

class TPropertyEditor;

class TPropertyRowPainter : public QStyledItemDelegate {
 public:
  TPropertyRowPainter(const TPropertyEditor& grid, QObject* parent);

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  void PaintTreeLines(QPainter* painter, const QRect& r, int row) const;
  // True when a category row follows somewhere below the row.
  bool CategoryBelow(int row) const;

  const TPropertyEditor& grid_;
};

}  // namespace terravel
