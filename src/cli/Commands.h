#pragma once
// The commands of terravel-cli. Each returns the exit code; failures of the work itself arrive as
// ETerravelError (exit 1), wrong calls as EUsageError (exit 2).
#include <ostream>
#include <string>
#include <vector>

namespace terravel::cli {

int RunInfo(const std::vector<std::string>& words, std::ostream& out);
int RunExport(const std::vector<std::string>& words, std::ostream& out);
int RunImport(const std::vector<std::string>& words, std::ostream& out);
int RunNew(const std::vector<std::string>& words, std::ostream& out);

// The usage text, with the formats of the format table.
std::string Usage();
// The usage lines and the paragraph of one command, for "COMMAND --help".
std::string CommandUsage(const std::string& command);

}  // namespace terravel::cli
