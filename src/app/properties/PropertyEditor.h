#pragma once
// TPropertyEditor: the two-column grid of the properties window. A list of fixed-height rows
// chosen by a mode (its template), drawn as a small tree of category and child rows with the
// value column starting at the splitter. It only shows rows and values; its owner computes the
// values, lays its own editor over a value cell and applies the edits.
#include <QListWidget>
#include <QString>

#include <array>

#include "app/properties/PropertyRows.h"

namespace terravel {

class TPropertyEditor : public QListWidget {
  Q_OBJECT
 public:
  explicit TPropertyEditor(QWidget* parent = nullptr);

  TPropertyMode Mode() const { return mode_; }
  // Replaces the rows by the mode's template and emits ModeChanged; the same mode again does
  // nothing at all. The values stay: the owner refills them.
  void SetMode(TPropertyMode mode);

  int SplitterPos() const { return splitterPos_; }
  int ItemHeight() const { return itemHeight_; }

  void ClearValues();
  QString GetValue(int row) const;
  // Repaints only when the text differs from the stored one.
  void SetValue(int row, const QString& text);

  // The template line of the row, marker included (empty out of range).
  QString RowLine(int row) const;
  TPropertyRowKind RowKindAt(int row) const;

 signals:
  void ModeChanged();

 protected:
  void focusInEvent(QFocusEvent* event) override;

 private:
  TPropertyMode mode_ = TPropertyMode::pmNone;
  int splitterPos_ = 128;
  int itemHeight_ = 16;
  std::array<QString, kPropertyValueCount> values_;
};

}  // namespace terravel
