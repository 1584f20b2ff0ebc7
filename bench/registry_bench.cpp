// Load and save of a realistic hkcu.reg: the settings key with its ~40 values and the
// signature list, as a user's file looks after a few months of use.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "bench/private_home.h"
#include "platform/registry.h"

namespace nimbalo {
namespace {

constexpr const char* kMainKey = "Software\\Corvane\\Nimbalo";

using bench::PrivateHome;

const PrivateHome kHome;

void WriteRealisticHive() {
  static bool written = false;
  if (written) return;
  written = true;
  auto key = RegKey::Open(Hive::CurrentUser, kMainKey, true);
  const char* dwords[] = {
      "SigUpdateInterval", "PersonalSigOn", "SigOnStart",        "AutoUpdateSig",
      "Cookies",           "Html",          "WeatherAutoUpdate", "UpdateInterval",
      "ConnectType",       "ProxyPort",     "StateIdx",          "CityIdx",
      "International",     "StartMin",      "LaunchStartUp",     "AutoUpdate",
      "CreatedBy",         "MailProgram",   "Measure",           "Debug",
      "ShowSigCreated",    "ShowSigCopied"};
  std::uint32_t n = 1;
  for (const char* name : dwords)
    key->WriteDword(name, n++);
  key->WriteString("PreText", "Currently in");
  key->WriteString("SigFolder", "/home/someone/.local/share/Nimbalo/sigs/");
  key->WriteString("CookieFile", "/home/someone/.local/share/Nimbalo/cookies.txt");
  key->WriteString("PersonSig1", "FirstName LastName (someone@example.com)");
  key->WriteString("PersonSig2", "(phone: 123-123-1234 | fax: 123-234-5478 | Cell:123-345-6789 )");
  key->WriteString("PersonSig3", "Caf\xe9 \"quoted\" \\ backslash");
  key->WriteString("CityState", "Alabaster, Alabama");
  key->WriteString("Sig_File", "nb_html.htm");
  key->WriteString("ProxyPassword", std::string("\x8f\x12\0\xa3", 4));
  key->WriteString("ProxyUser", "user");
  key->WriteString("ProxyServer", "proxy.example.com");
  key->WriteString("StationID", "KEET");
  key->WriteBinary("Font", std::string(64, '\x41'));
  auto sigs = RegKey::Open(Hive::CurrentUser, std::string(kMainKey) + "\\Sigs", true);
  for (const char* name :
       {"nb_html.htm", "nb_text.txt", "nb_rtf.rtf", "eyes-animated.htm", "nb_centered_html.htm"}) {
    sigs->WriteString(name, std::string("Signature ") + name);
  }
  RegKey::Open(Hive::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", true)
      ->WriteString("Nimbalo", "/usr/lib/nimbalo/nimbalo");
}

void BM_LoadHive(benchmark::State& state) {
  WriteRealisticHive();
  for (auto _ : state) {
    auto key = RegKey::Open(Hive::CurrentUser, kMainKey, false);
    benchmark::DoNotOptimize(key);
  }
}
BENCHMARK(BM_LoadHive);

void BM_SaveOneValue(benchmark::State& state) {
  WriteRealisticHive();
  auto key = RegKey::Open(Hive::CurrentUser, kMainKey, false);
  for (auto _ : state)
    key->WriteString("Sig_File", "nb_text.txt");
}
BENCHMARK(BM_SaveOneValue);

}  // namespace
}  // namespace nimbalo
