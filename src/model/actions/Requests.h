#pragma once
// The request functions: the only way the rest of the program changes nodes, polygons, the
// selection and the history-tracked project values. Each checks its condition and, only when it
// holds, creates its action and hands it to the history; otherwise it does nothing at all.
#include <cstdint>
#include <string>

#include "model/document/Records.h"
#include "model/shaping/ShapingProgress.h"

namespace terravel {

class TEditor;
struct TSimplifyOptions;
struct TSimplifyResult;
struct TSmoothOptions;
struct TTriangulateOptions;
struct TTriangulateResult;

// The coordinate that DoSetNodeCoord changes.
enum class TNodeAxis { X, Y, Z };

// Selection (SelectionActions.cpp)
void DoSelectNode(TEditor& editor, int index, bool select);
void DoSelectPoly(TEditor& editor, int index, bool select);
void DoSelectAll(TEditor& editor, bool allNodes, bool allPolygons);
void DoSelectNothing(TEditor& editor);
void DoSelectSelectedPolyNodes(TEditor& editor);
void DoSelectTexture(TEditor& editor, const std::string& pattern);

// Nodes (NodeActions.cpp)
void DoAddNode(TEditor& editor, const T3DCoord& node);
void DoSetNodeName(TEditor& editor, const std::string& name);
void DoSetNodeGroup(TEditor& editor, const std::string& group);
void DoSetNodeCoord(TEditor& editor, TNodeAxis axis, float value);
void DoMoveNodes(TEditor& editor);
void DoChangeNodeZ(TEditor& editor, float delta);
void DoSnapNodesXY(TEditor& editor, bool snapX, bool snapY);
void DoSnapNodesZ(TEditor& editor);

// Polygons (PolygonActions.cpp)
void DoAddPolygon(TEditor& editor, const TPoly& polygon);
void DoSetPolyName(TEditor& editor, const std::string& name);
void DoSetPolyGroup(TEditor& editor, const std::string& group);
void DoSetPolyTexture(TEditor& editor, const std::string& texture);
void DoSetPolyNode(TEditor& editor, int corner, int nodeIndex);  // corner 1..3
void DoSetPolyColor(TEditor& editor, std::int32_t color);
void DoFlipPolygons(TEditor& editor);

// Removal (RemoveAction.cpp)
void DoRemove(TEditor& editor);

// Project values (ProjectValueActions.cpp)
void DoSetGridSize(TEditor& editor, int size);
void DoSetMinZ(TEditor& editor, float value);
void DoSetMaxZ(TEditor& editor, float value);
void DoSetPgInc(TEditor& editor, float value);

// Shaping (ShapingActions.cpp): one step each, on the selection or on everything when nothing is
// selected. Each returns how many records it changed (0: nothing was done).
int DoSmoothHeights(TEditor& editor, const TSmoothOptions& options, const TShapingProgress& progress = {});
// The result tells the counts and the largest height error; its Edit is left empty.
TSimplifyResult DoSimplify(TEditor& editor, const TSimplifyOptions& options, const TShapingProgress& progress = {});
// The result tells the polygons added and the triangles left out; its Triangles are left empty.
TTriangulateResult DoTriangulate(TEditor& editor, const TTriangulateOptions& options,
                                 const TShapingProgress& progress = {});
// The count is of the polygons split (those chosen and their neighbours on a cut edge).
int DoSubdivide(TEditor& editor);

}  // namespace terravel
