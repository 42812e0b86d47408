#pragma once
// The texture report: the textures the polygons use, by package, texture and polygon, and a
// button that selects everything under the chosen node. Rebuilt at every showing.
#include <QDialog>

#include "model/reports/TextureTree.h"

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace terravel {

class TEditor;

class TTextureReportForm : public QDialog {
  Q_OBJECT
 public:
  explicit TTextureReportForm(TEditor& editor, QWidget* parent = nullptr);

  QTreeWidget* Tree() const { return tree_; }
  QPushButton* SelectButton() const { return selectButton_; }
  QPushButton* CloseButton() const { return closeButton_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void BuildTree();
  // A texture's polygon rows are made when it is first opened: a big project has far more
  // polygons than anyone looks at, and the report must open at once.
  void AddPolygonRows(QTreeWidgetItem* textureItem);
  void SelectClick();

  TEditor& editor_;
  TTextureTree textures_;
  QTreeWidget* tree_ = nullptr;
  QPushButton* selectButton_ = nullptr;
  QPushButton* closeButton_ = nullptr;
};

}  // namespace terravel
