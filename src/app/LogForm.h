#pragma once
// The log window: a read-only list of the "LOG: ..." lines the commands write, below a banner.
#include <QWidget>

class QPlainTextEdit;

namespace terravel {

class TLogForm : public QWidget {
  Q_OBJECT
 public:
  explicit TLogForm(QWidget* parent = nullptr);

  // One more line at the end.
  void AppendLine(const QString& line);
  QString Text() const;

 signals:
  // Shown or hidden, also through the close box.
  void VisibilityChanged(bool visible);

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  QPlainTextEdit* memo_;
};

}  // namespace terravel
