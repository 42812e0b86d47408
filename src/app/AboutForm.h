#pragma once
// The about window; for now an empty window.
#include <QDialog>

namespace terravel {

class TAboutForm : public QDialog {
 public:
  TAboutForm() : QDialog(nullptr) { setWindowTitle(QStringLiteral("About Terravel")); }
};

}  // namespace terravel
