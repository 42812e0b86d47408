#pragma once
// Tools > Check terrain: what would cut or hole UnrealEd's BSP, one line a problem, and what the
// Unreal map export would make of the terrain. A click on a problem selects its nodes or polygons.
// Checked afresh at every showing.
#include <QDialog>

#include "model/reports/TerrainCheck.h"

class QListWidget;
class QPushButton;

namespace terravel {

class TEditor;

class TTerrainCheckForm : public QDialog {
  Q_OBJECT
 public:
  explicit TTerrainCheckForm(TEditor& editor, QWidget* parent = nullptr);

  QListWidget* List() const { return list_; }
  QPushButton* CloseButton() const { return closeButton_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Check();
  void RowClicked(int row);

  TEditor& editor_;
  TTerrainCheck check_;
  QListWidget* list_ = nullptr;
  QPushButton* closeButton_ = nullptr;
};

}  // namespace terravel
