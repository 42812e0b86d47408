#include "app/properties/DropDownForm.h"

#include <QKeyEvent>
#include <QListView>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include <algorithm>

#include "app/properties/ListItemPainter.h"
#include "app/properties/ListModels.h"
#include "model/text/NumberText.h"

namespace terravel {

namespace {
constexpr int kMaxVisibleEntries = 8;
}  // namespace

TDropDownForm::TDropDownForm() : QWidget(nullptr, Qt::Popup | Qt::FramelessWindowHint) {
  setObjectName(QStringLiteral("DropDownForm"));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  // The window is exactly as tall as its entries: no minimum from the layout or the list.
  layout->setSizeConstraint(QLayout::SetNoConstraint);
  list_ = new QListView(this);
  list_->setMinimumSize(0, 0);
  list_->setObjectName(QStringLiteral("GroupList"));
  list_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  list_->setLineWidth(1);
  list_->setUniformItemSizes(true);
  list_->setMouseTracking(true);
  list_->viewport()->setMouseTracking(true);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  list_->setItemDelegate(new TListItemPainter(list_));
  QPalette white = list_->palette();
  white.setColor(QPalette::Base, Qt::white);
  list_->setPalette(white);
  layout->addWidget(list_);
  groups_ = new TGroupListModel(QStringLiteral("(none)"), this);
  textures_ = new QStandardItemModel(this);

  // Hovering highlights the entry under the pointer.
  connect(list_, &QListView::entered, this,
          [this](const QModelIndex& index) { list_->setCurrentIndex(index); });
  connect(list_, &QListView::clicked, this, [this](const QModelIndex& index) { Choose(index.row()); });
  list_->installEventFilter(this);
}

void TDropDownForm::ShowGroups(const std::vector<TGroupItem>& items, const QString& current,
                               const QRect& area) {
  groups_->SetItems(items);
  list_->setModel(groups_);
  const std::string wanted = current.toLocal8Bit().toStdString();
  int preselected = -1;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (SameTextIgnoringCase(items[i].Name, wanted)) {
      preselected = static_cast<int>(i);
      break;
    }
  }
  Open(static_cast<int>(items.size()), preselected, area);
}

void TDropDownForm::ShowTextures(const std::vector<std::string>& textures, const QRect& area) {
  textures_->clear();
  const auto add = [this](const QString& shown, const QString& value) {
    auto* item = new QStandardItem(shown);
    item->setData(value, Qt::UserRole);
    item->setData(1, kIndentRole);
    textures_->appendRow(item);
  };
  add(QStringLiteral("(undefined)"), QString());
  for (const std::string& texture : textures) {
    const QString name = QString::fromLocal8Bit(texture);
    add(name, name);
  }
  list_->setModel(textures_);
  Open(textures_->rowCount(), -1, area);
}

void TDropDownForm::Open(int rows, int current, const QRect& area) {
  const int shown = std::clamp(rows, 1, kMaxVisibleEntries);
  setGeometry(area.left(), area.top(), area.width(), shown * kListItemHeight + 2);
  if (current >= 0) list_->setCurrentIndex(list_->model()->index(current, 0));
  show();
  raise();
  activateWindow();
  list_->setFocus();
}

void TDropDownForm::Choose(int row) {
  QAbstractItemModel* model = list_->model();
  if (model == nullptr || row < 0 || row >= model->rowCount()) return;
  QString value;
  if (model == groups_) {
    if (const TGroupItem* item = groups_->ItemAt(row)) value = QString::fromLocal8Bit(item->Name);
  } else {
    value = model->index(row, 0).data(Qt::UserRole).toString();
  }
  close();
  emit Chosen(value);
}

bool TDropDownForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      Choose(list_->currentIndex().row());
      return true;
    }
    if (key == Qt::Key_Escape) {
      close();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace terravel
