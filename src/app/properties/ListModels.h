#pragma once
// The group filter and the object list as list models over the document: a rebuild fills one
// vector and resets the model, so that a project of 200,000 objects lists without inserting
// 200,000 items. The object list reads each name from the document when it is drawn.
#include <QAbstractListModel>

#include <vector>

#include "app/properties/GroupItems.h"

namespace terravel {

class TEditor;

// Roles the list painter reads beside the display text.
enum TListRole {
  kLettersRole = Qt::UserRole + 1,  // the bold kind letters ("N", "P", "NP")
  kIndentRole,                      // where the name starts, in pixels
};

class TGroupListModel : public QAbstractListModel {
 public:
  // firstCaption is how the all-groups entry reads ("(all)", "(none)").
  TGroupListModel(QString firstCaption, QObject* parent);

  void SetItems(std::vector<TGroupItem> items);
  const std::vector<TGroupItem>& Items() const { return items_; }
  const TGroupItem* ItemAt(int row) const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  QString firstCaption_;
  std::vector<TGroupItem> items_;
};

class TObjectListModel : public QAbstractListModel {
 public:
  TObjectListModel(const TEditor& editor, QObject* parent);

  void SetEntries(std::vector<TObjectRef> entries);
  const TObjectRef* EntryAt(int row) const;
  // The row of the object, or -1 when the list does not hold it.
  int RowOf(const TObjectRef& object) const;
  // The names are read when drawn: after a rename the views draw them again.
  void NamesChanged();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  const TEditor& editor_;
  std::vector<TObjectRef> entries_;
};

}  // namespace terravel
