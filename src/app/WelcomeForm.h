#pragma once
// The welcome window shown at start-up; for now an empty window.
#include <QDialog>

namespace terravel {

class TWelcomeForm : public QDialog {
 public:
  TWelcomeForm() : QDialog(nullptr) { setWindowTitle(QStringLiteral("Welcome to Terravel!")); }
};

}  // namespace terravel
