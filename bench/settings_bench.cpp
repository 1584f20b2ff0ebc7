// LoadSettings and SaveSettings over a realistic hkcu.reg, in a private HOME.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "app/paths.h"
#include "config/options.h"

namespace nimbalo {
namespace {

class PrivateHome {
 public:
  PrivateHome() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "nimbalo-bench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    root_ = pattern;
    ::setenv("HOME", root_.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (root_ + "/.config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (root_ + "/.local/share").c_str(), 1);
    DataFolder = root_ + "/.local/share/Nimbalo/";
    std::filesystem::create_directories(DataFolder + "templates");
  }
  ~PrivateHome() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  PrivateHome(const PrivateHome&) = delete;
  PrivateHome& operator=(const PrivateHome&) = delete;

 private:
  std::string root_;
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
  PrivateHome home;
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
  PrivateHome home;
  NoRunEntry run;
  LoadSettings();
  const SettingsControls dialog = SampleDialog();
  for (auto _ : state)
    SaveSettings(dialog, run);
}
BENCHMARK(BM_SaveSettings)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace nimbalo
