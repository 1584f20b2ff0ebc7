#include "config/options.h"

#include <ctime>
#include <functional>
#include <variant>
#include <vector>

#include "app/myutil.h"
#include "app/paths.h"
#include "config/ezcrypt.h"
#include "platform/folders.h"
#include "platform/local_time.h"
#include "platform/registry.h"

namespace nimbalo {

TOptions Options;
bool NewInstallation = false;

namespace {

// One stored setting in reading order. A text setting reads REG_SZ or REG_EXPAND_SZ, the
// others REG_DWORD.
using Field = std::variant<bool TOptions::*, std::int32_t TOptions::*, std::uint8_t TOptions::*,
                           std::string TOptions::*>;
struct Setting {
  const char* name;
  Field field;
};

// Steps between the groups of values: the default-template check and the "Font" value.
enum class Step { SigFileCheck, Font };
using ReadItem = std::variant<Setting, Step>;

const std::vector<ReadItem>& ReadingOrder() {
  static const std::vector<ReadItem> order = {
      Setting{"PreText", &TOptions::PreText},
      Setting{"Html", &TOptions::Html},
      Setting{"MailProgram", &TOptions::MailProgram},
      Setting{"SigUpdateInterval", &TOptions::SigUpdateInterval},
      Setting{"SigFolder", &TOptions::SigFolder},
      Setting{"CookieFile", &TOptions::CookieFile},
      Setting{"Cookies", &TOptions::Cookies},
      Setting{"PersonalSigOn", &TOptions::PersonalSigOn},
      Setting{"SigOnStart", &TOptions::SigOnStart},
      Setting{"PersonSig1", &TOptions::PersonSig1},
      Setting{"PersonSig2", &TOptions::PersonSig2},
      Setting{"PersonSig3", &TOptions::PersonSig3},
      Setting{"AutoUpdateSig", &TOptions::AutoUpdateSig},
      Setting{"CityState", &TOptions::CityState},
      Setting{"Sig_File", &TOptions::Sig_File},
      Step::SigFileCheck,
      Step::Font,
      Setting{"WeatherAutoUpdate", &TOptions::WeatherAutoUpdate},
      Setting{"UpdateInterval", &TOptions::UpdateInterval},
      Setting{"ConnectType", &TOptions::ConnectType},
      Setting{"ProxyPort", &TOptions::ProxyPort},
      Setting{"ProxyPassword", &TOptions::ProxyPassword},
      Setting{"ProxyUser", &TOptions::ProxyUser},
      Setting{"ProxyServer", &TOptions::ProxyServer},
      Setting{"StateIdx", &TOptions::StateIdx},
      Setting{"CityIdx", &TOptions::CityIdx},
      Setting{"International", &TOptions::International},
      Setting{"StationID", &TOptions::StationID},
      Setting{"Debug", &TOptions::Debug},
      Setting{"StartMin", &TOptions::StartMin},
      Setting{"LaunchStartUp", &TOptions::LaunchStartUp},
      Setting{"AutoUpdate", &TOptions::AutoUpdate},
      Setting{"CreatedBy", &TOptions::CreatedBy},
      Setting{"Measure", &TOptions::Measure},
  };
  return order;
}

// Reads one setting when it exists. False on a type mismatch, which ends the reading.
bool ReadSetting(const RegKey& key, const Setting& setting) {
  const auto value = key.Read(setting.name);
  if (!value) return true;
  const bool is_text = value->Type == RegType::Sz || value->Type == RegType::ExpandSz;
  const bool is_dword = value->Type == RegType::Dword;
  return std::visit(
      [&](auto member) {
        using T = std::remove_reference_t<decltype(Options.*member)>;
        if constexpr (std::is_same_v<T, std::string>) {
          if (!is_text) return false;
          // The enciphered password may hold zero bytes, so it is stored and read whole;
          // any other text ends at its first zero byte.
          const bool whole = member == &TOptions::ProxyPassword;
          Options.*member = whole ? value->Data : value->Data.substr(0, value->Data.find('\0'));
        } else {
          if (!is_dword) return false;
          const std::uint32_t number = value->AsDword();
          if constexpr (std::is_same_v<T, bool>) {
            Options.*member = number != 0;
          } else if constexpr (std::is_same_v<T, std::uint8_t>) {
            Options.*member = static_cast<std::uint8_t>(number & 0xFF);
          } else {
            Options.*member = static_cast<std::int32_t>(number);
          }
        }
        return true;
      },
      setting.field);
}

// The "Font" value: false when it is too long or not binary.
bool ReadFont(const RegKey& key) {
  const auto value = key.Read("Font");
  if (!value) return true;
  if (value->Type != RegType::Binary || value->Data.size() > kFontValueSize) return false;
  if (const auto font = DecodeFontValue(value->Data)) {
    if (!Options.Font) Options.Font = std::make_shared<StoredFont>();
    *Options.Font = *font;
  }
  return true;
}

void ReadStoredSettings(const RegKey& key) {
  NewInstallation = !key.ValueExists("CityState");
  for (const ReadItem& item : ReadingOrder()) {
    if (const auto* setting = std::get_if<Setting>(&item)) {
      if (!ReadSetting(key, *setting)) return;
    } else if (std::get<Step>(item) == Step::SigFileCheck) {
      if (!FileExists(TemplatesFolder() + Options.Sig_File)) Options.Sig_File = "nb_html.htm";
    } else if (!ReadFont(key)) {
      return;
    }
  }
}

std::uint32_t AsDword(std::int32_t v) {
  return static_cast<std::uint32_t>(v);
}

}  // namespace

std::string ShortDateToday() {
  return FormatLocalTime("%x");
}

void LoadSettings() {
  auto font = Options.Font;
  Options = TOptions{};
  Options.Font = std::move(font);
  Options.UpdateCheckDate = ShortDateToday();
  Options.SigFolder = DataFolder + "sigs/";
  Options.CookieFile = DataFolder + "cookies.txt";
  NewInstallation = true;
  try {
    const auto key = RegKey::Open(Hive::CurrentUser, kMainKey, /*create=*/true);
    if (key) ReadStoredSettings(*key);
  } catch (const RegistryError&) {
    // A hive that cannot be written leaves the defaults; loading never reports.
  }
}

namespace {

void WriteSettings(const SettingsControls& dialog) {
  auto key = RegKey::Open(Hive::CurrentUser, kMainKey, /*create=*/true);
  if (!key) throw RegistryError("Failed to create key '" + std::string(kMainKey) + "'");
  key->WriteDword("SigUpdateInterval", AsDword(dialog.UpDown1));
  key->WriteDword("PersonalSigOn", dialog.PersonalSigChk ? 1 : 0);
  key->WriteDword("SigOnStart", dialog.SigOnStartChk ? 1 : 0);
  key->WriteDword("AutoUpdateSig", dialog.SigIntervalChkbox ? 1 : 0);
  if (FolderExists(dialog.SigFolderEdit)) key->WriteString("SigFolder", dialog.SigFolderEdit);
  if (FileExists(dialog.CookieFileEdit)) key->WriteString("CookieFile", dialog.CookieFileEdit);
  key->WriteDword("Cookies", dialog.CookiesChk ? 1 : 0);
  key->WriteString("PersonSig1", dialog.PersonSig1Edit);
  key->WriteString("PersonSig2", dialog.PersonSig2Edit);
  key->WriteString("PersonSig3", dialog.PersonSig3Edit);
  key->WriteDword("Html", dialog.HtmlCheckbox ? 1 : 0);
  key->WriteString("CityState", dialog.CityState);
  if (dialog.Font) key->WriteBinary("Font", EncodeFontValue(*dialog.Font));
  key->WriteDword("WeatherAutoUpdate", dialog.AutoDownload ? 1 : 0);
  if (!dialog.UpdateBox.empty() && IsNumeric(dialog.UpdateBox) && std::stol(dialog.UpdateBox) > 0) {
    key->WriteDword("UpdateInterval",
                    AsDword(static_cast<std::int32_t>(std::stol(dialog.UpdateBox))));
  }
  key->WriteDword("ConnectType", AsDword(dialog.ConnectionCombo));
  if (!dialog.ProxyPortEdit.empty() && IsNumeric(dialog.ProxyPortEdit)) {
    key->WriteDword("ProxyPort",
                    AsDword(static_cast<std::int32_t>(std::stol(dialog.ProxyPortEdit))));
  }
  key->WriteString("ProxyPassword", EncryptText(dialog.ProxyPass, kPasswordKey));
  key->WriteString("ProxyUser", dialog.ProxyUserEdit);
  key->WriteString("ProxyServer", dialog.ProxyServerEdit);
  key->WriteDword("StateIdx", AsDword(dialog.CityBox1));
  key->WriteDword("CityIdx", AsDword(dialog.CityBox2));
  key->WriteDword("International", dialog.IntRadioBut ? 1 : 0);
  key->WriteString("StationID", dialog.StationID);
  key->WriteDword("StartMin", dialog.StartMinChk ? 1 : 0);
  key->WriteDword("LaunchStartUp", dialog.LaunchAtStartChk ? 1 : 0);
  key->WriteDword("AutoUpdate", dialog.AutoUpdateChk ? 1 : 0);
  key->WriteDword("CreatedBy", dialog.CreatedByChk ? 1 : 0);
  key->WriteDword("MailProgram", AsDword(dialog.MailProgBox));
  key->WriteString("PreText", dialog.PreText);
  key->WriteDword("Measure", dialog.USRadio ? 1 : (dialog.MetricRadio ? 2 : 3));
}

void UpdateRunEntry(const SettingsControls& dialog, RunEntry& runEntry) {
  if (dialog.LaunchAtStartChk == Options.LaunchStartUp) return;
  if (dialog.LaunchAtStartChk) {
    runEntry.AddRunEntry("Nimbalo", ProgramFolder + "nimbalo");
  } else {
    runEntry.RemoveRunEntry("Nimbalo");
  }
}

}  // namespace

void SaveSettings(const SettingsControls& dialog, RunEntry& runEntry) {
  try {
    WriteSettings(dialog);
  } catch (...) {
    // The start-up entry follows the check box even when a write failed; the error then
    // goes on to the caller.
    UpdateRunEntry(dialog, runEntry);
    throw;
  }
  UpdateRunEntry(dialog, runEntry);
}

void SaveSigFile() {
  auto key = RegKey::Open(Hive::CurrentUser, kMainKey, /*create=*/true);
  if (!key) throw RegistryError("Failed to set data for 'Sig_File'");
  key->WriteString("Sig_File", Options.Sig_File);
}

}  // namespace nimbalo
