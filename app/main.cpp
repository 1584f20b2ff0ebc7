#include <clocale>
#include <iostream>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/desktop.h"

int main(int argc, char** argv) {
  // Dates and times follow the user's locale; numbers stay in the C form files expect.
  std::setlocale(LC_ALL, "");
  std::setlocale(LC_NUMERIC, "C");
  const std::vector<std::string> args(argv + 1, argv + argc);
  if (const auto code = nimbalo::RunCommandLine(args, std::cout, std::cerr)) return *code;
  return nimbalo::RunDesktopProgram(argc, argv);
}
