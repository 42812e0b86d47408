#pragma once
// The properties window (a stay-on-top tool window); for now an empty window.
#include <QWidget>

namespace terravel {

class TPropertiesForm : public QWidget {
 public:
  TPropertiesForm() : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setWindowTitle(QStringLiteral("Properties"));
  }
};

}  // namespace terravel
