#pragma once
// The import/export options; for now an empty window.
#include <QDialog>

namespace terravel {

class TOptionsIEForm : public QDialog {
 public:
  TOptionsIEForm() : QDialog(nullptr) { setWindowTitle(QStringLiteral("Options")); }
};

}  // namespace terravel
