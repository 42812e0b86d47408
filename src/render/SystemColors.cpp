// System colour values resolve to the platform's current palette.
#include <QGuiApplication>
#include <QPalette>

#include <array>

#include "render/Colors.h"

namespace terravel {

namespace {

// The palette role that plays each system colour, by its index.
constexpr std::array<QPalette::ColorRole, 31> kRoles = {
    QPalette::Button,           // 0 scroll bar
    QPalette::Dark,             // 1 desktop
    QPalette::Highlight,        // 2 active caption
    QPalette::Mid,              // 3 inactive caption
    QPalette::Window,           // 4 menu
    QPalette::Base,             // 5 window
    QPalette::Shadow,           // 6 window frame
    QPalette::WindowText,       // 7 menu text
    QPalette::Text,             // 8 window text
    QPalette::HighlightedText,  // 9 caption text
    QPalette::Button,           // 10 active border
    QPalette::Button,           // 11 inactive border
    QPalette::Mid,              // 12 application workspace
    QPalette::Highlight,        // 13 highlight
    QPalette::HighlightedText,  // 14 highlight text
    QPalette::Button,           // 15 button face
    QPalette::Dark,             // 16 button shadow
    QPalette::PlaceholderText,  // 17 grey text
    QPalette::ButtonText,       // 18 button text
    QPalette::WindowText,       // 19 inactive caption text
    QPalette::Light,            // 20 button highlight
    QPalette::Shadow,           // 21 3-D dark shadow
    QPalette::Midlight,         // 22 3-D light
    QPalette::ToolTipText,      // 23 tool tip text
    QPalette::ToolTipBase,      // 24 tool tip
    QPalette::Window,           // 25 (unused)
    QPalette::Link,             // 26 hot light
    QPalette::Highlight,        // 27 active caption gradient
    QPalette::Mid,              // 28 inactive caption gradient
    QPalette::Highlight,        // 29 menu highlight
    QPalette::Window,           // 30 menu bar
};

}  // namespace

QRgb SystemColor(int index) {
  const QPalette::ColorRole role = index >= 0 && index < static_cast<int>(kRoles.size())
                                       ? kRoles[static_cast<std::size_t>(index)]
                                       : QPalette::Window;
  // Without a GUI application a palette made from the classic button face stands in.
  const QPalette palette = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr
                               ? QGuiApplication::palette()
                               : QPalette(QColor(240, 240, 240));
  return palette.color(QPalette::Active, role).rgb() | 0xFF000000;
}

}  // namespace terravel
