#include "app/properties/ListModels.h"

#include <algorithm>

#include "model/editor/Editor.h"

namespace terravel {

namespace {

constexpr int kGroupNameIndent = 25;
constexpr int kObjectNameIndent = 16;

QString Letters(const TGroupItem& item) {
  QString letters;
  if (item.Nodes) letters += QLatin1Char('N');
  if (item.Polygons) letters += QLatin1Char('P');
  return letters;
}

bool Before(const TObjectRef& a, const TObjectRef& b) {
  return a.Polygon != b.Polygon ? !a.Polygon : a.Index < b.Index;
}

}  // namespace

TGroupListModel::TGroupListModel(QString firstCaption, QObject* parent)
    : QAbstractListModel(parent), firstCaption_(std::move(firstCaption)) {}

void TGroupListModel::SetItems(std::vector<TGroupItem> items) {
  beginResetModel();
  items_ = std::move(items);
  endResetModel();
}

const TGroupItem* TGroupListModel::ItemAt(int row) const {
  return row >= 0 && row < static_cast<int>(items_.size()) ? &items_[static_cast<std::size_t>(row)] : nullptr;
}

int TGroupListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(items_.size());
}

QVariant TGroupListModel::data(const QModelIndex& index, int role) const {
  const TGroupItem* item = ItemAt(index.row());
  if (item == nullptr) return {};
  const bool first = index.row() == 0;
  switch (role) {
    case Qt::DisplayRole:
      return first ? firstCaption_ : QString::fromLocal8Bit(item->Name);
    case kLettersRole:
      return first ? QString() : Letters(*item);
    case kIndentRole:
      return first ? 1 : kGroupNameIndent;
    default:
      return {};
  }
}

TObjectListModel::TObjectListModel(const TEditor& editor, QObject* parent)
    : QAbstractListModel(parent), editor_(editor) {}

void TObjectListModel::SetEntries(std::vector<TObjectRef> entries) {
  beginResetModel();
  entries_ = std::move(entries);
  endResetModel();
}

const TObjectRef* TObjectListModel::EntryAt(int row) const {
  return row >= 0 && row < static_cast<int>(entries_.size()) ? &entries_[static_cast<std::size_t>(row)]
                                                             : nullptr;
}

int TObjectListModel::RowOf(const TObjectRef& object) const {
  // The entries stand in index order, nodes first.
  const auto at = std::lower_bound(entries_.begin(), entries_.end(), object, Before);
  return at != entries_.end() && *at == object ? static_cast<int>(at - entries_.begin()) : -1;
}

void TObjectListModel::NamesChanged() {
  if (!entries_.empty()) emit dataChanged(index(0), index(static_cast<int>(entries_.size()) - 1), {Qt::DisplayRole});
}

int TObjectListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

QVariant TObjectListModel::data(const QModelIndex& index, int role) const {
  const TObjectRef* entry = EntryAt(index.row());
  if (entry == nullptr) return {};
  switch (role) {
    case Qt::DisplayRole: {
      // Read at drawing time; an entry that outlived its object (until the next rebuild) reads empty.
      const std::string* name = nullptr;
      if (entry->Polygon) {
        if (const TPoly* polygon = editor_.Polygons.PolygonAt(entry->Index)) name = &polygon->Name;
      } else if (const T3DCoord* node = editor_.Nodes.NodeAt(entry->Index)) {
        name = &node->Name;
      }
      return name != nullptr ? QString::fromLocal8Bit(*name) : QString();
    }
    case kLettersRole:
      return entry->Polygon ? QStringLiteral("P") : QStringLiteral("N");
    case kIndentRole:
      return kObjectNameIndent;
    default:
      return {};
  }
}

}  // namespace terravel
