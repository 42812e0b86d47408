#pragma once
// The import/export format chooser; for now an empty window.
#include <QDialog>

namespace terravel {

class TFormatIEForm : public QDialog {
 public:
  TFormatIEForm() : QDialog(nullptr) { setWindowTitle(QStringLiteral("Choose File Format")); }
};

}  // namespace terravel
