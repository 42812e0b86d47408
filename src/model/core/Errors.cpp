#include "model/core/Errors.h"

namespace terravel {

EAssertionFailure::EAssertionFailure(std::string_view module, std::string_view detail)
    : ETerravelError("Assertion failure (" + std::string(module) + "): " + std::string(detail)) {}

const char* const kStreamReadError = "Stream-Read-Fehler";
const char* const kStreamWriteError = "Stream-Write-Fehler";

std::string CannotOpenText(const std::string& path) {
  return "Datei " + path + " kann nicht ge\xC3\xB6" "ffnet werden";
}

std::string CannotCreateText(const std::string& path) { return "Datei " + path + " kann nicht erstellt werden"; }

}  // namespace terravel
