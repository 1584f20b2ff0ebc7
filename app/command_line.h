// The modes of the program that need no display.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace nimbalo {

// Runs the command-line mode that `args` (without the program name) ask for and returns
// its exit code; std::nullopt when the desktop program should start instead.
std::optional<int> RunCommandLine(const std::vector<std::string>& args, std::ostream& out,
                                  std::ostream& err);

}  // namespace nimbalo
