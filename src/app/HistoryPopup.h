#pragma once
// The menu that pressing and holding the Undo or Redo tool button opens: the actions of one history
// list, newest first, in columns of 20 separated by a vertical bar. QMenu breaks into columns only
// where the screen ends, so this popup lays out and draws its entries itself, with the style's menu
// items. Entry i (counting from 0 at the top) stands for i + 1 steps; the first nine answer to the
// digit keys 1 to 9. The mouse or the arrow keys highlight an entry, a click, Return or a digit
// chooses it, Escape or a click outside closes the popup.
#include <QStringList>
#include <QWidget>

#include <vector>

class QStyleOptionMenuItem;

namespace terravel {

class THistoryPopup : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kColumnLength = 20;
  static constexpr int kDigitEntries = 9;

  // A popup window over the parent (which may be null).
  explicit THistoryPopup(QWidget* parent);

  // Replaces every entry; captions are plain texts, newest action first. Clears the highlight.
  void SetEntries(const QStringList& captions);
  int EntryCount() const { return static_cast<int>(captions_.size()); }
  QString EntryText(int entry) const { return captions_.value(entry); }
  // The digit key that chooses the entry, or 0 when it has none.
  static int EntryDigit(int entry) { return entry >= 0 && entry < kDigitEntries ? entry + 1 : 0; }
  int ColumnCount() const { return (EntryCount() + kColumnLength - 1) / kColumnLength; }
  // Where the entry is drawn, in the popup's coordinates; empty for no entry.
  QRect EntryRect(int entry) const;
  // The entry under a point in the popup's coordinates, or -1.
  int EntryAt(QPoint point) const;

  // The highlighted entry, or -1.
  int Current() const { return current_; }
  void SetCurrent(int entry);

  // Shows the popup with its top-left corner at the screen point, moved only as far as needed to
  // stay on the screen.
  void PopupAt(QPoint globalTopLeft);

  QSize sizeHint() const override;

 signals:
  // An entry was chosen; the popup has already closed.
  void EntryChosen(int entry);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void Choose(int entry);
  // The style option that draws one entry (its rect not yet set).
  void InitItemOption(QStyleOptionMenuItem& option, int entry) const;
  // Places every entry from the captions, the font and the style.
  void Relayout();
  int FrameWidth() const;

  QStringList captions_;
  std::vector<QRect> rects_;
  std::vector<int> separators_;  // x of each vertical bar
  QSize size_;
  int shortcutWidth_ = 0;
  int current_ = -1;
};

}  // namespace terravel
