#pragma once
#include "model/core/Errors.h"

namespace terravel {

// A heightmap that cannot become a terrain: an unreadable picture, a raw file of the wrong size,
// options out of range. Nothing in the document has changed when it is thrown.
class EHeightmapError : public ETerravelError {
 public:
  using ETerravelError::ETerravelError;
};

// The option that makes a heightmap import impossible; the command line and the options window
// name it in their own words.
enum class THeightmapField { CellSize, LowZ, HighZ, Step, MaxTriangles, MaxError };

class EHeightmapOptionError : public EHeightmapError {
 public:
  EHeightmapOptionError(THeightmapField field, const std::string& message) : EHeightmapError(message), Field(field) {}
  THeightmapField Field;
};

// The user cancelled a long import; nothing in the document has changed.
class EHeightmapCancelled : public ETerravelError {
 public:
  EHeightmapCancelled() : ETerravelError("The heightmap import was cancelled.") {}
};

}  // namespace terravel
