#include "support/SelectionText.h"

#include <QStringList>

#include "model/editor/Editor.h"

namespace terravel::test {

QString SelectionText(const TEditor& editor) {
  QStringList parts;
  for (int i = 0; i < editor.Nodes.Count(); ++i)
    if (editor.Nodes[i].Selected) parts << QStringLiteral("n%1").arg(i);
  for (int i = 0; i < editor.Polygons.Count(); ++i)
    if (editor.Polygons[i].Selected) parts << QStringLiteral("p%1").arg(i);
  if (editor.State.SelectedNodeCount() + editor.State.SelectedPolygonCount() != parts.size())
    return QStringLiteral("counts differ from the flags");
  return parts.join(QLatin1Char(' '));
}

}  // namespace terravel::test
