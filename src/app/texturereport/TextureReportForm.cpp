#include "app/texturereport/TextureReportForm.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/CommandGuard.h"
#include "model/editor/Editor.h"

namespace terravel {

namespace {

// Where an item of the tree points into the texture tree.
constexpr int kPackageRole = Qt::UserRole;
constexpr int kTextureRole = Qt::UserRole + 1;
constexpr int kPolygonRole = Qt::UserRole + 2;

TTextureTreeItem ItemOf(const QTreeWidgetItem* item) {
  return {item->data(0, kPackageRole).toInt(), item->data(0, kTextureRole).toInt(),
          item->data(0, kPolygonRole).toInt()};
}

QTreeWidgetItem* MakeItem(const std::string& text, const QIcon& icon, TTextureTreeItem ref) {
  auto* item = new QTreeWidgetItem(QStringList{QString::fromLocal8Bit(text)});
  item->setIcon(0, icon);
  item->setData(0, kPackageRole, ref.Package);
  item->setData(0, kTextureRole, ref.Texture);
  item->setData(0, kPolygonRole, ref.Polygon);
  return item;
}

QIcon PolygonIcon() {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setPen(QColor(0, 96, 0));
  painter.setBrush(QColor(96, 192, 96));
  painter.drawPolygon(QPolygon{QPoint(2, 13), QPoint(8, 2), QPoint(14, 13)});
  return QIcon(pixmap);
}

// The images of the no-package group, a package, a texture and a polygon.
struct TReportIcons {
  QIcon NoPackage, Package, Texture, Polygon;
};

const TReportIcons& Icons(const QStyle* style) {
  // The group without a package is a greyed package.
  static const TReportIcons icons{QIcon(style->standardIcon(QStyle::SP_DirIcon).pixmap(16, QIcon::Disabled)),
                                  style->standardIcon(QStyle::SP_DirIcon),
                                  style->standardIcon(QStyle::SP_FileIcon), PolygonIcon()};
  return icons;
}

}  // namespace

TTextureReportForm::TTextureReportForm(TEditor& editor, QWidget* parent) : QDialog(parent), editor_(editor) {
  setObjectName(QStringLiteral("TextureReportForm"));
  setWindowTitle(QStringLiteral("Texture Report"));
  setModal(true);

  tree_ = new QTreeWidget(this);
  tree_->setObjectName(QStringLiteral("TextureTree"));
  tree_->setHeaderHidden(true);
  tree_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tree_->setSelectionMode(QAbstractItemView::SingleSelection);
  tree_->setUniformRowHeights(true);
  tree_->setMinimumSize(340, 360);
  connect(tree_, &QTreeWidget::itemSelectionChanged, this,
          [this] { selectButton_->setEnabled(!tree_->selectedItems().isEmpty()); });
  connect(tree_, &QTreeWidget::itemExpanded, this, &TTextureReportForm::AddPolygonRows);

  auto* group = new QGroupBox(QStringLiteral("Used textures by package"), this);
  (new QVBoxLayout(group))->addWidget(tree_);

  selectButton_ = new QPushButton(QStringLiteral("&Select"), this);
  selectButton_->setDefault(true);
  closeButton_ = new QPushButton(QStringLiteral("&Close"), this);
  connect(selectButton_, &QPushButton::clicked, this, &TTextureReportForm::SelectClick);
  connect(closeButton_, &QPushButton::clicked, this, &QDialog::reject);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(selectButton_);
  buttons->addWidget(closeButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TTextureReportForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  RunCommand(this, [this] { BuildTree(); });
}

void TTextureReportForm::BuildTree() {
  tree_->setUpdatesEnabled(false);
  tree_->clear();
  textures_ = BuildTextureTree(editor_.Polygons);
  const TReportIcons& icons = Icons(style());
  QList<QTreeWidgetItem*> packages;
  packages.reserve(qsizetype(textures_.Packages.size()));
  for (std::size_t p = 0; p < textures_.Packages.size(); ++p) {
    const TPackageNode& package = textures_.Packages[p];
    QTreeWidgetItem* packageItem =
        MakeItem(package.Text, package.NoPackage ? icons.NoPackage : icons.Package, {int(p), -1, -1});
    QList<QTreeWidgetItem*> textures;
    textures.reserve(qsizetype(package.Textures.size()));
    for (std::size_t t = 0; t < package.Textures.size(); ++t) {
      QTreeWidgetItem* textureItem = MakeItem(package.Textures[t].Text, icons.Texture, {int(p), int(t), -1});
      textureItem->setChildIndicatorPolicy(QTreeWidgetItem::ShowIndicator);
      textures << textureItem;
    }
    packageItem->addChildren(textures);
    packages << packageItem;
  }
  tree_->addTopLevelItems(packages);
  for (QTreeWidgetItem* package : packages) package->setExpanded(true);
  tree_->setUpdatesEnabled(true);
  selectButton_->setEnabled(false);
  tree_->setFocus();
}

void TTextureReportForm::AddPolygonRows(QTreeWidgetItem* textureItem) {
  const TTextureTreeItem ref = ItemOf(textureItem);
  if (ref.Texture < 0 || ref.Polygon >= 0 || textureItem->childCount() > 0) return;
  RunCommand(this, [&] {
    const TTextureNode& texture =
        textures_.Packages[std::size_t(ref.Package)].Textures[std::size_t(ref.Texture)];
    const std::vector<int> rows = PolygonsByName(editor_.Polygons, texture.Polygons);
    const QIcon& icon = Icons(style()).Polygon;
    QList<QTreeWidgetItem*> items;
    items.reserve(qsizetype(rows.size()));
    for (int index : rows)
      items << MakeItem(editor_.Polygons[index].Name, icon, {ref.Package, ref.Texture, index});
    textureItem->addChildren(items);
  });
}

void TTextureReportForm::SelectClick() {
  const QList<QTreeWidgetItem*> selected = tree_->selectedItems();
  if (selected.isEmpty()) return;
  const TTextureTreeItem item = ItemOf(selected.first());
  if (RunCommand(this, [&] { SelectTextureTreeItem(editor_, textures_, item); })) accept();
}

}  // namespace terravel
