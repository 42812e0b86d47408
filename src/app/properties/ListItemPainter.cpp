#include "app/properties/ListItemPainter.h"

#include <QListView>
#include <QPainter>
#include <QProxyStyle>
#include <QStylePainter>

#include "app/properties/ListModels.h"

namespace terravel {

QString ShortenedText(const QFontMetrics& metrics, const QString& text, int width) {
  if (metrics.horizontalAdvance(text) <= width) return text;
  const QString dots = QStringLiteral("...");
  QString cut = text;
  while (!cut.isEmpty() && metrics.horizontalAdvance(cut + dots) > width) cut.chop(1);
  return cut + dots;
}

void TListItemPainter::PaintEntry(QPainter* p, const QRect& r, const QModelIndex& index, const QFont& font,
                                  const QPalette& palette, bool highlighted) {
  p->save();
  p->fillRect(r, palette.color(highlighted ? QPalette::Highlight : QPalette::Base));
  p->setPen(palette.color(highlighted ? QPalette::HighlightedText : QPalette::Text));
  const QString letters = index.data(kLettersRole).toString();
  if (!letters.isEmpty()) {
    QFont bold = font;
    bold.setBold(true);
    p->setFont(bold);
    p->drawText(r.adjusted(1, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, letters);
  }
  p->setFont(font);
  const int indent = index.data(kIndentRole).toInt();
  const QRect nameRect = r.adjusted(indent, 0, 0, 0);
  p->drawText(nameRect, Qt::AlignLeft | Qt::AlignVCenter,
              ShortenedText(QFontMetrics(font), index.data(Qt::DisplayRole).toString(), nameRect.width()));
  p->restore();
}

void TListItemPainter::paint(QPainter* p, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
  const bool highlighted =
      option.state.testFlag(QStyle::State_Selected) || option.state.testFlag(QStyle::State_MouseOver);
  PaintEntry(p, option.rect, index, option.font, option.palette, highlighted);
}

QSize TListItemPainter::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
  return {option.rect.width() > 0 ? option.rect.width() : 100, kListItemHeight};
}

namespace {

// Opens the entries as a plain list below the box: a style that centres the list on the current
// entry first measures every entry's text, which takes half a second for 200,000 objects.
class TListComboStyle : public QProxyStyle {
 public:
  int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                QStyleHintReturn* returnData) const override {
    if (hint == QStyle::SH_ComboBox_Popup) return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
  }
};

}  // namespace

TListCombo::TListCombo(QWidget* parent) : QComboBox(parent) {
  auto* listStyle = new TListComboStyle;
  listStyle->setParent(this);
  setStyle(listStyle);
  setItemDelegate(new TListItemPainter(this));
  // Measuring every entry for the box's width would walk the whole document.
  setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  setMinimumContentsLength(4);
  if (auto* list = qobject_cast<QListView*>(view())) list->setUniformItemSizes(true);
}

void TListCombo::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionComboBox option;
  initStyleOption(&option);
  option.currentText.clear();
  option.currentIcon = QIcon();
  painter.drawComplexControl(QStyle::CC_ComboBox, option);
  const int current = currentIndex();
  if (current < 0 || model() == nullptr) return;
  const QRect field =
      style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
  QPalette palette = this->palette();
  if (!isEnabled()) palette.setCurrentColorGroup(QPalette::Disabled);
  TListItemPainter::PaintEntry(&painter, field, model()->index(current, modelColumn(), rootModelIndex()),
                               font(), palette, false);
}

}  // namespace terravel
