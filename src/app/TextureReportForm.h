#pragma once
// The texture report; for now an empty window.
#include <QDialog>

namespace terravel {

class TTextureReportForm : public QDialog {
 public:
  TTextureReportForm() : QDialog(nullptr) { setWindowTitle(QStringLiteral("Texture Report")); }
};

}  // namespace terravel
