// LoadSettings and SaveSettings over a realistic hkcu.reg, in a private HOME.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "app/paths.h"
#include "bench/private_home.h"
#include "config/options.h"

namespace nimbalo {
namespace {

// A private HOME with the data folder the settings refer to.
class SettingsHome : public bench::PrivateHome {
 public:
  SettingsHome() {
    DataFolder = Root() + "/.local/share/Nimbalo/";
    std::filesystem::create_directories(DataFolder + "templates");
  }
};

class NoRunEntry : public RunEntry {
 public:
  void AddRunEntry(const std::string&, const std::string&) override {}
  void RemoveRunEntry(const std::string&) override {}
};

SettingsControls SampleDialog() {
  SettingsControls d;
  d.UpdateBox = "15";
  d.ProxyPortEdit = "3128";
  d.PersonSig1Edit = "Jane Doe (jane.doe@example.com)";
  d.PersonSig2Edit = "(phone: 555-0100)";
  d.CityState = "Alabaster, Alabama";
  d.StationID = "KEET";
  d.PreText = "Currently in";
  d.ProxyPass = "secret";
  d.Font = std::make_shared<StoredFont>();
  d.Font->FaceName = "Verdana";
  return d;
}

void BM_LoadSettings(benchmark::State& state) {
  SettingsHome home;
  NoRunEntry run;
  LoadSettings();
  SaveSettings(SampleDialog(), run);
  for (auto _ : state) {
    LoadSettings();
    benchmark::DoNotOptimize(Options.StationID);
  }
}
BENCHMARK(BM_LoadSettings);

void BM_SaveSettings(benchmark::State& state) {
  SettingsHome home;
  NoRunEntry run;
  LoadSettings();
  const SettingsControls dialog = SampleDialog();
  for (auto _ : state)
    SaveSettings(dialog, run);
}
BENCHMARK(BM_SaveSettings)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace nimbalo
