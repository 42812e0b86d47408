#pragma once
// A text label that opens a link when clicked: a web page, or a new mail with "mailto:". It shows
// its target as tool tip and a pointing hand, and may change its look while the pointer is over it.
#include <QColor>
#include <QFont>
#include <QLabel>

namespace terravel {

class TURLLabel : public QLabel {
  Q_OBJECT
 public:
  explicit TURLLabel(const QString& caption = QString(), QWidget* parent = nullptr);

  // What a click opens; when empty, the caption is opened.
  const QString& URL() const { return url_; }
  void SetURL(const QString& url);
  QString Target() const { return url_.isEmpty() ? text() : url_; }

  // Whether the look changes under the pointer (on by default). Turning it off while the pointer
  // is over the label ends the hover.
  void SetHoverEnabled(bool enabled);
  // True while the pointer is over the label.
  bool Hover() const { return hover_; }

  // The normal look, remembered and shown whenever the pointer is not over the label. An invalid
  // colour means the palette's text colour.
  const QFont& NormalFont() const { return normalFont_; }
  void SetNormalFont(const QFont& font, const QColor& color = QColor());
  // The look under the pointer; shown at once when the pointer is over the label.
  void SetHoverFont(const QFont& font, const QColor& color = QColor());

 signals:
  void StartHover();
  void EndHover();

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void ShowLook(const QFont& font, const QColor& color);
  void EndHovering();

  QString url_;
  bool hoverEnabled_ = true;
  bool hover_ = false;
  bool pressed_ = false;
  QFont normalFont_;
  QColor normalColor_;
  QFont hoverFont_;
  QColor hoverColor_;
};

}  // namespace terravel
