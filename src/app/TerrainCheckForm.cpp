#include "app/TerrainCheckForm.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/CommandGuard.h"
#include "model/editor/Editor.h"

namespace terravel {

namespace {

constexpr double kCheckGrid = 1;  // the map export's grid: whole units

}  // namespace

TTerrainCheckForm::TTerrainCheckForm(TEditor& editor, QWidget* parent) : QDialog(parent), editor_(editor) {
  setObjectName(QStringLiteral("TerrainCheckForm"));
  setWindowTitle(QStringLiteral("Check Terrain"));
  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("ProblemList"));
  closeButton_ = new QPushButton(QStringLiteral("&Close"), this);
  connect(list_, &QListWidget::itemClicked, this,
          [this](QListWidgetItem* item) { RowClicked(list_->row(item)); });
  connect(list_, &QListWidget::itemActivated, this,
          [this](QListWidgetItem* item) { RowClicked(list_->row(item)); });
  connect(closeButton_, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(closeButton_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(list_, 1);
  layout->addLayout(buttons);
  resize(640, 360);
}

void TTerrainCheckForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  RunCommand(this, [this] { Check(); });
}

void TTerrainCheckForm::Check() {
  list_->clear();
  check_ = CheckTerrain(editor_.Nodes, editor_.Polygons, kCheckGrid);
  for (const std::string& line : TerrainCheckLines(check_)) list_->addItem(QString::fromStdString(line));
}

void TTerrainCheckForm::RowClicked(int row) {
  if (row < 0 || static_cast<std::size_t>(row) >= check_.Problems.size()) return;
  RunCommand(this, [&] { SelectProblem(editor_, check_.Problems[static_cast<std::size_t>(row)]); });
}

}  // namespace terravel
