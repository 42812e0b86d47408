#pragma once
// terravel-cli's shaping commands: each opens a project, runs one shaping command on its selection
// (or on everything when nothing is selected) and saves the result under a new name.
#include <ostream>
#include <string>
#include <vector>

namespace terravel::cli {

int RunTriangulate(const std::vector<std::string>& words, std::ostream& out);
int RunSimplify(const std::vector<std::string>& words, std::ostream& out);
int RunSmooth(const std::vector<std::string>& words, std::ostream& out);

}  // namespace terravel::cli
