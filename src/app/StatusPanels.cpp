#include "app/StatusPanels.h"

#include <QLabel>

#include "model/editor/Editor.h"
#include "model/history/ChangeSet.h"
#include "model/view/ViewTransform.h"

namespace terravel {

TStatusPanels::TStatusPanels(const TEditor& editor, QWidget* parent) : QStatusBar(parent), editor_(editor) {
  setObjectName(QStringLiteral("StatusBar"));
  setSizeGripEnabled(true);
  for (QLabel*& panel : panels_) {
    panel = new QLabel(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  }
  panels_[kModifiedPanel]->setFixedWidth(60);
  panels_[kModifiedPanel]->setAlignment(Qt::AlignCenter);
  panels_[kGridPanel]->setFixedWidth(100);
  addWidget(panels_[kModifiedPanel]);
  addWidget(panels_[kSelectionPanel], 1);
  addWidget(panels_[kGridPanel]);
}

void TStatusPanels::Changed(const TChangeSet& changes) {
  if (changes.Modified || changes.Everything) SetModified(editor_.Modified());
  if (changes.Selection || changes.Topology()) SetSelectionStatus(editor_.State.SelectionStatusText());
  if (changes.Values || changes.Everything) SetGridStatus(GridStatusText(editor_.Values.GridX));
}

void TStatusPanels::SetModified(bool modified) {
  SetPanelText(kModifiedPanel, modified ? QStringLiteral("Modified") : QString());
}

void TStatusPanels::SetSelectionStatus(const std::string& text) {
  SetPanelText(kSelectionPanel, QString::fromLocal8Bit(text));
}

void TStatusPanels::SetGridStatus(const std::string& text) {
  SetPanelText(kGridPanel, QString::fromLocal8Bit(text));
}

void TStatusPanels::SetPanelText(TPanel panel, const QString& text) {
  panels_[panel]->setText(text);
}

QString TStatusPanels::PanelText(TPanel panel) const {
  return panels_[panel]->text();
}

}  // namespace terravel
