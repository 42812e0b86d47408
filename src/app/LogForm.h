#pragma once
// The log window: a read-only list of the "LOG: ..." lines the commands write, below a banner.
#include <QWidget>

#include "app/DocumentHost.h"

class QPlainTextEdit;

namespace terravel {

class TLogForm : public QWidget, public TDocumentView {
  Q_OBJECT
 public:
  explicit TLogForm(QWidget* parent = nullptr);

  // The lines the document's commands log.
  void Log(const std::string& line) override { AppendLine(QString::fromLocal8Bit(line)); }

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
