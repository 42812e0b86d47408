#pragma once
// The program's icon, the one the desktop entry names, built into the program for its windows.
#include <QIcon>

namespace terravel {

// The reverse-domain id shared by the desktop entry, the AppStream file and the icon.
inline constexpr const char* kDesktopId = "example.quillstone.Terravel";

// The 48 and 256 pixel renderings of the icon.
QIcon ProgramIcon();

}  // namespace terravel
