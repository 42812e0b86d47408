#pragma once
// The status bar's three panels: "Modified" (60 pixels, centred), the selection summary (all
// the room left) and the grid size (100 pixels).
#include <QStatusBar>

#include "app/DocumentHost.h"

class QLabel;

namespace terravel {

class TEditor;

class TStatusPanels : public QStatusBar, public TDocumentView {
 public:
  enum TPanel { kModifiedPanel = 0, kSelectionPanel = 1, kGridPanel = 2 };

  TStatusPanels(const TEditor& editor, QWidget* parent);

  // The panels follow the modified state, the selection and the grid size.
  void Changed(const TChangeSet& changes) override;
  void SetModified(bool modified);
  void SetSelectionStatus(const std::string& text);
  void SetGridStatus(const std::string& text);

  void SetPanelText(TPanel panel, const QString& text);
  QString PanelText(TPanel panel) const;

 private:
  const TEditor& editor_;
  QLabel* panels_[3] = {};
};

}  // namespace terravel
