#include "app/command_line.h"

#include "app/program_info.h"

namespace nimbalo {

namespace {
constexpr const char* kUsage =
    "Usage: nimbalo [OPTION]\n"
    "Keeps your e-mail signatures fresh with the current local weather.\n"
    "\n"
    "Without an option, the desktop program starts (in the notification area).\n"
    "  /minimized, --minimized   start hidden in the notification area\n"
    "  --weather [FILE] [--measure 1|2|3]\n"
    "                            print the weather line: from FILE (a stored observation\n"
    "                            report) or from a fresh download of the chosen station;\n"
    "                            1 = US units, 2 = metric, 3 = both\n"
    "  --make-sig                download the weather, regenerate every signature and\n"
    "                            print the plain-text signature\n"
    "  --help                    show this help and exit\n"
    "  --version                 show the version and exit\n"
    "\n"
    "Settings: ~/.config/nimbalo/hkcu.reg   Data and signatures: ~/.local/share/Nimbalo/\n";
}  // namespace

std::optional<int> RunCommandLine(const std::vector<std::string>& args, std::ostream& out,
                                  std::ostream& err) {
  if (args.empty()) return std::nullopt;
  const std::string& mode = args.front();
  if (mode == "--help" || mode == "-h") {
    out << kUsage;
    return 0;
  }
  if (mode == "--version") {
    out << ProgramTitle << " (" << NIMBALO_VERSION << ", released " << ReleaseDate << ")\n";
    return 0;
  }
  if (mode.rfind("--", 0) == 0 && mode != "--minimized") {
    err << "nimbalo: unknown option '" << mode << "' (see --help)\n";
    return 2;
  }
  return std::nullopt;
}

}  // namespace nimbalo
