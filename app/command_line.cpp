#include "app/command_line.h"

#include "app/headless_refresh.h"
#include "app/paths.h"
#include "app/program_info.h"
#include "app/startup.h"
#include "config/options.h"
#include "platform/encoding.h"
#include "platform/folders.h"
#include "signature/template_files.h"
#include "signature/weather_line.h"
#include "weather/observation_parser.h"
#include "weather/weather.h"

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

int Weather(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  std::string file;
  int measure = 0;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--measure" && i + 1 < args.size() &&
        (args[i + 1] == "1" || args[i + 1] == "2" || args[i + 1] == "3")) {
      measure = args[++i][0] - '0';
    } else if (file.empty() && args[i].rfind("--", 0) != 0) {
      file = args[i];
    } else {
      err << "nimbalo: usage: nimbalo --weather [FILE] [--measure 1|2|3]\n";
      return 2;
    }
  }
  FixFolders();
  LoadSettings();
  if (measure != 0) Options.Measure = static_cast<std::uint8_t>(measure);
  if (file.empty()) {
    const RefreshResult result = RunHeadlessRefresh(/*makeSignatures=*/false);
    if (!result.Ok) {
      err << Cp1252ToUtf8(result.Status) << "\n";
      return 1;
    }
  } else {
    const auto report = ReadFileBytes(file);
    if (!report) {
      err << "nimbalo: cannot read " << file << "\n";
      return 1;
    }
    CurrentWeather = ParseObservationText(*report, Options.Measure);
  }
  out << Cp1252ToUtf8(WeatherLine(Options.PreText)) << "\n";
  return 0;
}

int MakeSig(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 1) {
    err << "nimbalo: --make-sig takes no arguments\n";
    return 2;
  }
  PrepareProgram();
  // The window creates the default signature folder at start-up; so does this mode.
  const std::string sigs = DataFolder + "sigs";
  if (!FolderExists(sigs) && !CreateFolder(sigs)) {
    err << "Cannot create " << Cp1252ToUtf8(sigs) << "\n";
    return 1;
  }
  if (!FolderExists(Options.SigFolder)) {
    err << "nimbalo: the signature folder " << Cp1252ToUtf8(Options.SigFolder)
        << " does not exist\n";
    return 1;
  }
  const RefreshResult result = RunHeadlessRefresh(/*makeSignatures=*/true);
  if (!result.Ok) {
    if (!result.Status.empty()) err << Cp1252ToUtf8(result.Status) << "\n";
    return 1;
  }
  for (const std::string& line : result.Signature)
    out << Cp1252ToUtf8(line) << "\n";
  return 0;
}

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
  if (mode == "--weather") return Weather(args, out, err);
  if (mode == "--make-sig") return MakeSig(args, out, err);
  if (mode.rfind("--", 0) == 0 && mode != "--minimized") {
    err << "nimbalo: unknown option '" << mode << "' (see --help)\n";
    return 2;
  }
  return std::nullopt;
}

}  // namespace nimbalo
