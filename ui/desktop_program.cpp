#include <cstdio>

#include "app/desktop.h"

namespace nimbalo {

int RunDesktopProgram(int, char**) {
  std::fputs("nimbalo: the desktop window is not built yet; use --help for the command line\n",
             stderr);
  return 1;
}

}  // namespace nimbalo
