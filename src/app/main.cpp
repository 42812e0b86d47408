// Terravel, the terrain brush editor.
#include "app/Startup.h"

int main(int argc, char** argv) {
  return terravel::RunTerravel(argc, argv);
}
