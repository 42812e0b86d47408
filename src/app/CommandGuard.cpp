#include "app/CommandGuard.h"

#include "app/UserDialogs.h"

#include <QString>

#include <exception>
#include <new>

namespace terravel {

void ShowErrorText(QWidget* parent, const char* text) {
  UserDialogs().Message(parent, QStringLiteral("Error"), QString::fromUtf8(text), QMessageBox::Critical,
                        QMessageBox::Ok);
}

bool RunCommand(QWidget* parent, const std::function<void()>& command) {
  try {
    command();
    return true;
  } catch (const std::bad_alloc&) {
    ShowErrorText(parent, "Out of memory.");
  } catch (const std::exception& error) {
    ShowErrorText(parent, error.what());
  }
  return false;
}

}  // namespace terravel
