// Terravel, the terrain brush editor.
#include <csignal>

#include "app/Startup.h"

int main(int argc, char** argv) {
  // Past a file-size limit a write must fail with an error, not end the process mid-save.
  std::signal(SIGXFSZ, SIG_IGN);
  return terravel::RunTerravel(argc, argv);
}
