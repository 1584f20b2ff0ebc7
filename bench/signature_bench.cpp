// Signature generation over a realistic templates folder (the five built-in templates, and
// a folder of 200 templates), next to plainly copying the same bytes from the templates
// to the signature folder, the floor any generator has to pay.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/paths.h"
#include "app/prompt.h"
#include "bench/private_home.h"
#include "config/options.h"
#include "signature/generator.h"
#include "signature/template_files.h"
#include "weather/weather.h"

namespace nimbalo {
namespace {

namespace fs = std::filesystem;

using bench::PrivateHome;

const PrivateHome kHome;

void Write(const std::string& path, const std::string& bytes) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string HtmlTemplate(const std::string& name, const std::string& colour) {
  return "<HTML>\r\n<HEAD>\r\n<META http-equiv=Content-Type content=\"text/html; "
         "charset=windows-1252\">\r\n<!-- NAME: " +
         name +
         " -->\r\n</HEAD>\r\n<BODY>\r\n"
         "<TABLE BORDER=\"2\" BORDERCOLOR=\"" +
         colour +
         "\" CELLPADDING=\"6\" CELLSPACING=\"0\" BGCOLOR=\"FFFFEE\">\r\n<TR>\r\n"
         "<TD VALIGN=\"TOP\"><IMG SRC=\"%IMAGEPATH%sun_cloud.gif\" WIDTH=\"64\" "
         "HEIGHT=\"64\" ALT=\"\"></TD>\r\n<TD>\r\n"
         "<FONT FACE=\"Arial\" SIZE=\"2\" COLOR=\"#000080\"><B>%WEATHER%</B></FONT><BR>\r\n"
         "<FONT FACE=\"Arial\" SIZE=\"2\" COLOR=\"#333333\">%PERSONAL_MSG1%</FONT><BR>\r\n"
         "<FONT FACE=\"Arial\" SIZE=\"2\" COLOR=\"#333333\">%PERSONAL_MSG2%</FONT><BR>\r\n"
         "<FONT FACE=\"Arial\" SIZE=\"2\" COLOR=\"#333333\">%PERSONAL_MSG3%</FONT><BR>\r\n"
         "<FONT FACE=\"Georgia\" SIZE=\"2\" COLOR=\"#666666\"><I>%COOKIE%</I></FONT><BR>\r\n"
         "<FONT FACE=\"Arial\" SIZE=\"1\" COLOR=\"#999999\">%DATETIME%</FONT><BR>\r\n"
         "<FONT FACE=\"Arial\" SIZE=\"1\">%SIGN_NIMBALO%</FONT>\r\n"
         "</TD>\r\n</TR>\r\n</TABLE>\r\n"
         "<BGSOUND SRC=\"%IMAGEPATH%chime.wav\" LOOP=\"1\" AUTOSTART=\"%AUTO%\">\r\n"
         "</BODY>\r\n</HTML>\r\n";
}

const std::string kTextTemplate =
    "%WEATHER%\r\n%PERSONAL_MSG1%\r\n%PERSONAL_MSG2%\r\n%PERSONAL_MSG3%\r\n\r\n%COOKIE%\r\n"
    "%DATETIME%\r\n%SIGN_NIMBALO%\r\n";
const std::string kRtfTemplate =
    "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\r\n"
    "{\\colortbl;\\red0\\green0\\blue128;\\red102\\green102\\blue102;}\r\n"
    "\\f0\\fs20\\cf1\\b %WEATHER%\\b0\\par\r\n\\cf0 %PERSONAL_MSG1%\\par\r\n"
    "%PERSONAL_MSG2%\\par\r\n%PERSONAL_MSG3%\\par\r\n\\cf2\\i %COOKIE%\\i0\\par\r\n"
    "%DATETIME%\\par\r\n%SIGN_NIMBALO%\\par\r\n}\r\n";

// A data folder holding `count` templates; built once per count.
std::string PrepareDataFolder(int count) {
  const std::string data = kHome.Root() + "/data" + std::to_string(count) + "/";
  if (fs::exists(data)) return data;
  const std::string templates = data + "templates/";
  fs::create_directories(templates + "images");
  fs::create_directories(data + "sigs");
  Write(templates + "nb_text.txt", kTextTemplate);
  Write(templates + "nb_rtf.rtf", kRtfTemplate);
  Write(templates + "nb_html.htm", HtmlTemplate("Default Signature", "336699"));
  Write(templates + "eyes-animated.htm", HtmlTemplate("Eyes animated", "993366"));
  Write(templates + "nb_centered_html.htm", HtmlTemplate("Centered Signature", "669933"));
  for (int i = 5; i < count; ++i) {
    const std::string name = "My Signature " + std::to_string(i);
    Write(templates + "sig" + std::to_string(i) + ".htm",
          HtmlTemplate(name, "00" + std::to_string(1000 + i)));
  }
  std::string cookies;
  for (int i = 0; i < 300; ++i)
    cookies += "Cookie number " + std::to_string(i) + ": a short saying of about fifty bytes.\r\n";
  Write(data + "cookies.txt", cookies);
  return data;
}

void UseDataFolder(int count) {
  DataFolder = PrepareDataFolder(count);
  Options = TOptions{};
  Options.SigFolder = DataFolder + "sigs/";
  Options.CookieFile = DataFolder + "cookies.txt";
  Options.PersonalSigOn = true;
  Options.PersonSig3 = "Caf\xE9 Nimbus, Main Street 1";
  CurrentWeather = TWeather{"KEET",
                            "Jun 30, 2013 - 10:53 AM EDT",
                            "NW-320\xB0 at 5mph",
                            "10 mile(s)",
                            "Mostly Cloudy",
                            "Light Rain",
                            "44\xB0"
                            "F(7\xB0"
                            "C)",
                            "42 F (6 C)",
                            "93%",
                            "30.01 in. Hg (1016 hPa)"};
}

class SilentPrompt : public Prompt {
 public:
  PromptResult MessageBox(const std::string&, const std::string&, PromptIcon,
                          PromptButtons) override {
    return PromptResult::Ok;
  }
};

void BM_GenerateSignatures(benchmark::State& state) {
  UseDataFolder(static_cast<int>(state.range(0)));
  DuzTextTemplateConverter converter;
  SilentPrompt prompt;
  for (auto _ : state)
    benchmark::DoNotOptimize(GenerateSignatures(converter, prompt));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_GenerateSignatures)->Arg(5)->Arg(200)->Unit(benchmark::kMicrosecond);

// The floor: read every template and write its bytes to the signature folder, plus the one
// default-file copy, with plain truncating writes.
void BM_PlainCopy(benchmark::State& state) {
  UseDataFolder(static_cast<int>(state.range(0)));
  const std::string templates = TemplatesFolder();
  const std::string& sigs = Options.SigFolder;
  for (auto _ : state) {
    for (const std::string& name : ListTemplateFiles(templates)) {
      const auto bytes = ReadFileBytes(templates + name);
      std::ofstream(sigs + "SIG_" + name, std::ios::binary | std::ios::trunc) << *bytes;
    }
    const auto chosen = ReadFileBytes(sigs + "SIG_nb_html.htm");
    std::ofstream(sigs + "SIG_nb_default.htm", std::ios::binary | std::ios::trunc) << *chosen;
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_PlainCopy)->Arg(5)->Arg(200)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace nimbalo
