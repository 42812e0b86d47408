#pragma once
// Local density: each chosen triangle splits into four at the midpoints of its edges, the new
// nodes at the mean of the edge's ends (heights too). A triangle left out that shares a cut edge
// splits too, into two, three or four by how many of its edges were cut, so that no node ends on
// the middle of another triangle's edge. Pieces keep their triangle's winding, group, texture,
// colour and selection; the first piece keeps the record itself, the others get new names. A new
// node is selected when both ends of its edge are.
#include "model/shaping/MeshEdit.h"

namespace terravel {

class TEditor;

// The chosen polygons (ShapingScope.h); polygons with a corner outside the node list or two equal
// corners are left as they are.
TMeshEdit SubdividePolygons(const TEditor& editor);

}  // namespace terravel
