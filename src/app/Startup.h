#pragma once
// The program's start: the instance marker, the application object, the windows, the message loop.

namespace terravel {

// Runs the editor until its main window closes; returns the process exit code.
int RunTerravel(int argc, char** argv);

}  // namespace terravel
