#pragma once
// The background image settings; for now an empty window.
#include <QDialog>

namespace terravel {

class TBackgroundImageForm : public QDialog {
 public:
  TBackgroundImageForm() : QDialog(nullptr) { setWindowTitle(QStringLiteral("Background Image")); }
};

}  // namespace terravel
