#pragma once
// Errors carry the text the user sees. Every command entered from the user interface runs
// inside one wrapper that shows the text in the standard error box.
#include <stdexcept>
#include <string>
#include <string_view>

namespace terravel {

class ETerravelError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A broken internal invariant: a programming error, never reachable through the request
// functions. The text begins "Assertion failure" and names the module.
class EAssertionFailure : public ETerravelError {
 public:
  EAssertionFailure(std::string_view module, std::string_view detail);
};

// The file could not be opened, created or replaced ("Datei %s kann nicht ...").
class EFileError : public ETerravelError {
 public:
  using ETerravelError::ETerravelError;
};

// A read or write inside an open file failed ("Stream-Read-Fehler", "Stream-Write-Fehler").
class EStreamError : public ETerravelError {
 public:
  using ETerravelError::ETerravelError;
};

// A file was read completely but its content cannot become a consistent document.
class EInvalidFileError : public ETerravelError {
 public:
  using ETerravelError::ETerravelError;
};

// A file that is no project at all: saving must not take its name.
class ENotAProjectError : public EInvalidFileError {
 public:
  using EInvalidFileError::EInvalidFileError;
};

// The Unreal text parser's two messages.
class EParseError : public ETerravelError {
 public:
  using ETerravelError::ETerravelError;
};

extern const char* const kStreamReadError;   // "Stream-Read-Fehler"
extern const char* const kStreamWriteError;  // "Stream-Write-Fehler"
std::string CannotOpenText(const std::string& path);    // "Datei %s kann nicht geöffnet werden"
std::string CannotCreateText(const std::string& path);  // "Datei %s kann nicht erstellt werden"

// Module names as they appear in assertion texts.
namespace modules {
inline constexpr std::string_view Buffers = "Buffers";
inline constexpr std::string_view Actions = "Actions";
inline constexpr std::string_view Undo = "Undo";
inline constexpr std::string_view FormatIE = "FormatIE";
inline constexpr std::string_view Main = "Main";
inline constexpr std::string_view Settings = "Settings";
inline constexpr std::string_view TextureReport = "TextureReport";
}  // namespace modules

// Raises EAssertionFailure unless the condition holds.
inline void Require(bool condition, std::string_view module, std::string_view what) {
  if (!condition) throw EAssertionFailure(module, what);
}

}  // namespace terravel
