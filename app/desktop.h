// The desktop program: start-up with splash, main window, tray. Implemented by the GUI.
#pragma once

namespace nimbalo {

int RunDesktopProgram(int argc, char** argv);

}  // namespace nimbalo
