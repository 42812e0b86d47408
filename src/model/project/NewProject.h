#pragma once
// Building a fresh document: blank, the single triangle, or a regular mesh. The main window adds
// what belongs to it (the save question, the file name and the title) around these.
namespace terravel {

class TEditor;

// Clears the document and the history, resets MinZ/MaxZ/PgInc and the view; with the triangle,
// adds Node1..Node3 and Polygon1 and zooms to fit. ShowZ keeps its value.
void NewProject(TEditor& editor, bool withTriangle);

// A blank project with an N x N mesh: (N+1)^2 nodes 256 units apart around the origin, all at
// Z 0, and 2 N^2 triangles, then zoom to fit.
void NewMesh(TEditor& editor, int n);

}  // namespace terravel
