#include "app/ProgramIcon.h"

// The icons are compiled into the static app library; nothing else refers to them, so the linker
// keeps them only when asked to.
static void InitIconResources() {
  Q_INIT_RESOURCE(icons);
}

namespace terravel {

QIcon ProgramIcon() {
  InitIconResources();
  QIcon icon;
  icon.addFile(QStringLiteral(":/icons/terravel-48.png"), QSize(48, 48));
  icon.addFile(QStringLiteral(":/icons/terravel-256.png"), QSize(256, 256));
  return icon;
}

}  // namespace terravel
