#pragma once
// terravel-cli check: the terrain check of a project, as lines or as JSON; exit status 0 when it
// finds nothing, 1 otherwise.
#include <ostream>
#include <string>
#include <vector>

namespace terravel::cli {

int RunCheck(const std::vector<std::string>& words, std::ostream& out);

}  // namespace terravel::cli
