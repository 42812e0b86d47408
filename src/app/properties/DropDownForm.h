#pragma once
// TDropDownForm: the borderless list that opens below a Group or Texture value of the property
// grid and offers the groups or the textures in use. A click on an entry closes it and hands the
// entry's value to the editor; losing the focus closes it too.
#include <QWidget>

#include <string>
#include <vector>

#include "app/properties/GroupItems.h"

class QListView;
class QStandardItemModel;

namespace terravel {

class TGroupListModel;

class TDropDownForm : public QWidget {
  Q_OBJECT
 public:
  TDropDownForm();

  // Groups mode: the group filter's entries, the first one reading "(none)"; the entry named as
  // the current text (ignoring case) is preselected. The window opens at the top left of the area,
  // as wide as it, tall enough for at most 8 entries.
  void ShowGroups(const std::vector<TGroupItem>& items, const QString& current, const QRect& area);
  // Textures mode: "(undefined)" for the empty texture, then the given textures.
  void ShowTextures(const std::vector<std::string>& textures, const QRect& area);

  QListView* GroupList() const { return list_; }

 signals:
  // The value of the clicked entry: the group name (empty for "(none)") or the texture.
  void Chosen(const QString& value);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Open(int rows, int current, const QRect& area);
  void Choose(int row);

  QListView* list_ = nullptr;
  TGroupListModel* groups_ = nullptr;
  QStandardItemModel* textures_ = nullptr;
};

}  // namespace terravel
