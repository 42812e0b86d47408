#pragma once
#include "model/core/Errors.h"

namespace terravel {

// A heightmap that cannot become a terrain: an unreadable picture, a raw file of the wrong size,
// options out of range. Nothing in the document has changed when it is thrown.
class EHeightmapError : public ETerravelError {
 public:
  using ETerravelError::ETerravelError;
};

// The user cancelled a long import; nothing in the document has changed.
class EHeightmapCancelled : public ETerravelError {
 public:
  EHeightmapCancelled() : ETerravelError("The heightmap import was cancelled.") {}
};

}  // namespace terravel
