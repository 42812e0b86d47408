#pragma once
// What a shaping command works on: the selection, or everything when nothing is selected.
#include <string>
#include <vector>

namespace terravel {

class TEditor;

// One flag per node: the selected nodes and the corners of the selected polygons; every node when
// nothing is selected.
std::vector<bool> ChosenNodes(const TEditor& editor);
// One flag per polygon: the selected polygons and those whose three corners are selected nodes;
// every polygon when nothing is selected.
std::vector<bool> ChosenPolygons(const TEditor& editor);

int CountChosen(const std::vector<bool>& chosen);

// A count with thousands separated by commas: "1,204".
std::string FormatCount(long long count);

}  // namespace terravel
