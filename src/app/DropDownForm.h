#pragma once
// The borderless drop-down of groups and textures beside the properties window; for now empty.
#include <QWidget>

namespace terravel {

class TDropDownForm : public QWidget {
 public:
  TDropDownForm() : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {}
};

}  // namespace terravel
