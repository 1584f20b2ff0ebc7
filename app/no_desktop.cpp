// Linked instead of the desktop program when Nimbalo is built without its GUI.
#include <cstdio>

#include "app/desktop.h"

namespace nimbalo {

int RunDesktopProgram(int, char**) {
  std::fputs(
      "nimbalo: this build has no desktop interface (configured with NIMBALO_BUILD_GUI=OFF); "
      "only the command-line modes work (see --help)\n",
      stderr);
  return 1;
}

}  // namespace nimbalo
