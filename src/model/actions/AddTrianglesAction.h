#pragma once
// New polygons appended at the end of the list, each with the default texture, no group, the
// automatic colour and a new automatic name, unselected, inside the triangulation's transaction
// ("Triangulate 1,204 nodes"). The step keeps only their corners, 12 bytes a polygon; undo takes
// the last ones away again, and so does an error halfway through appending them.
#include <array>
#include <cstdint>
#include <vector>

#include "model/history/Action.h"

namespace terravel {

class TAddTrianglesAction : public TAction {
 public:
  TAddTrianglesAction(TEditor& editor, std::vector<std::array<std::int32_t, 3>> corners);

  std::size_t CapturedBytes() const override;

  // Polygons came or went; the properties window follows the selection that is left.
  void Changes(TChangeSet& changes) const override;

 protected:
  bool DoExecute() override;
  void DoUndo() override;

 private:
  std::vector<std::array<std::int32_t, 3>> corners_;
  int added_ = 0;
};

}  // namespace terravel
