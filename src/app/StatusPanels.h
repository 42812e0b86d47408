#pragma once
// The status bar's three panels: "Modified" (60 pixels, centred), the selection summary (all
// the room left) and the grid size (100 pixels).
#include <QStatusBar>

#include "app/DocumentHost.h"

class QLabel;

namespace terravel {

class TStatusPanels : public QStatusBar, public TDocumentView {
 public:
  enum TPanel { kModifiedPanel = 0, kSelectionPanel = 1, kGridPanel = 2 };

  explicit TStatusPanels(QWidget* parent);

  // The document's notifications that the panels show.
  void SetModified(bool modified) override;
  void SetSelectionStatus(const std::string& text) override;
  void SetGridStatus(const std::string& text) override;

  void SetPanelText(TPanel panel, const QString& text);
  QString PanelText(TPanel panel) const;

 private:
  QLabel* panels_[3] = {};
};

}  // namespace terravel
