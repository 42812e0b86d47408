#include "app/properties/PropertyEditor.h"

#include <QFocusEvent>

#include "app/properties/PropertyRowPainter.h"

namespace terravel {

TPropertyEditor::TPropertyEditor(QWidget* parent) : QListWidget(parent) {
  setObjectName(QStringLiteral("PE"));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setUniformItemSizes(true);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setFrameShape(QFrame::StyledPanel);
  setItemDelegate(new TPropertyRowPainter(*this, this));
  // Build the template of the starting mode without a notification.
  for (std::string_view line : PropertyTemplate(mode_)) {
    addItem(QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size())));
  }
}

void TPropertyEditor::SetMode(TPropertyMode mode) {
  if (mode == mode_) return;
  mode_ = mode;
  clear();
  for (std::string_view line : PropertyTemplate(mode)) {
    addItem(QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size())));
  }
  emit ModeChanged();
}

void TPropertyEditor::ClearValues() {
  for (QString& value : values_) value.clear();
}

QString TPropertyEditor::GetValue(int row) const {
  if (row < 0 || row >= kPropertyValueCount) return {};
  return values_[static_cast<std::size_t>(row)];
}

void TPropertyEditor::SetValue(int row, const QString& text) {
  if (row < 0 || row >= kPropertyValueCount) return;
  QString& value = values_[static_cast<std::size_t>(row)];
  if (value == text) return;
  value = text;
  viewport()->update();
}

QString TPropertyEditor::RowLine(int row) const {
  const QListWidgetItem* line = item(row);
  return line != nullptr ? line->text() : QString();
}

TPropertyRowKind TPropertyEditor::RowKindAt(int row) const {
  return RowKind(RowLine(row).toStdString());
}

void TPropertyEditor::focusInEvent(QFocusEvent* event) {
  QListWidget::focusInEvent(event);
  if (currentRow() < 0 && count() > 0) setCurrentRow(0);
}

}  // namespace terravel
