#pragma once
// Every command entered from a menu, a button, a key or the mouse runs inside RunCommand: an error
// it raises is shown in the standard error box and the program goes on. Qt does not let
// exceptions cross its event loop, so nothing may escape a slot or an event handler.
#include <functional>

class QWidget;

namespace terravel {

// Runs the command; on an error shows its text (caption "Error", error icon) over the parent
// window and returns false.
bool RunCommand(QWidget* parent, const std::function<void()>& command);

// Shows the text of an error the way RunCommand does. "\r" in a message is a line break.
void ShowErrorText(QWidget* parent, const char* text);

}  // namespace terravel
