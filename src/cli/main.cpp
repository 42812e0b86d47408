// terravel-cli: convert and inspect Terravel projects in scripts, without a window.
#include <csignal>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "cli/Arguments.h"
#include "cli/CheckCommand.h"
#include "cli/Commands.h"
#include "cli/RenderCommand.h"
#include "cli/ShapingCommands.h"
#include "model/core/Errors.h"
#include "model/core/Version.h"

using namespace terravel;

int main(int argc, char** argv) {
  // Past a file-size limit a write must fail with an error, not end the process mid-save.
  std::signal(SIGXFSZ, SIG_IGN);
  std::vector<std::string> words(argv + 1, argv + argc);
  if (words.empty()) {
    std::cerr << cli::Usage();
    return 2;
  }
  const std::string command = words.front();
  words.erase(words.begin());
  if (command == "--help" || command == "-h" || command == "help") {
    std::cout << cli::Usage();
    return 0;
  }
  if (command == "--version") {
    std::cout << "terravel-cli " << kTerravelVersion << "\n";
    return 0;
  }
  using Runner = int (*)(const std::vector<std::string>&, std::ostream&);
  const std::map<std::string, Runner> commands = {
      {"info", cli::RunInfo}, {"export", cli::RunExport}, {"import", cli::RunImport}, {"new", cli::RunNew},
      {"render", cli::RunRender}, {"simplify", cli::RunSimplify}, {"smooth", cli::RunSmooth},
      {"triangulate", cli::RunTriangulate}, {"check", cli::RunCheck}};
  const auto it = commands.find(command);
  if (it != commands.end()) {
    for (const std::string& word : words) {
      if (word == "--help" || word == "-h") {
        std::cout << cli::CommandUsage(command);
        return 0;
      }
    }
  }
  try {
    if (it == commands.end()) throw cli::EUsageError("unknown command \"" + command + "\"");
    return it->second(words, std::cout);
  } catch (const cli::EUsageError& error) {
    std::cerr << "terravel-cli: " << error.what() << "\n\n" << cli::Usage();
    return 2;
  } catch (const ETerravelError& error) {
    std::cerr << error.what() << "\n";
    return 1;
  } catch (const std::exception& error) {
    std::cerr << error.what() << "\n";
    return 1;
  }
}
