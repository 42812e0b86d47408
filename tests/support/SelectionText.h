#pragma once
// The selection as a short text for comparisons in tests.
#include <QString>

namespace terravel {
class TEditor;
}

namespace terravel::test {

// "n0 p1": the selected nodes, then the selected polygons; "counts differ from the flags" when the
// selection counts do not match the flags.
QString SelectionText(const TEditor& editor);

}  // namespace terravel::test
