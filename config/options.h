// Every user setting, its default and its stored form under
// HKEY_CURRENT_USER\Software\Corvane\Nimbalo.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "config/logfont.h"

namespace nimbalo {

inline constexpr const char* kMainKey = "Software\\Corvane\\Nimbalo";
inline constexpr const char* kSigsKey = "Software\\Corvane\\Nimbalo\\Sigs";

struct TOptions {
  std::int32_t UpdateInterval = 10;
  std::int32_t SigUpdateInterval = 5;
  std::int32_t ConnectType = 0;
  std::int32_t ProxyPort = 8080;
  std::int32_t StateIdx = 0;
  std::int32_t CityIdx = 0;
  std::int32_t MailProgram = 0;
  // None until a load finds a valid "Font" value; then kept for the rest of the run.
  std::shared_ptr<StoredFont> Font;
  std::uint8_t Measure = 3;
  bool WeatherAutoUpdate = true;
  bool AutoUpdateSig = true;
  bool International = false;
  bool PersonalSigOn = false;
  bool SigOnStart = true;
  bool Cookies = true;
  bool Debug = false;
  bool StartMin = false;
  bool LaunchStartUp = true;
  bool AutoUpdate = true;
  bool CreatedBy = true;
  bool Html = true;
  std::string CityState = "Alabaster, Alabama";
  std::string ProxyPassword;  // enciphered (EZCrypt)
  std::string ProxyUser;
  std::string ProxyServer;
  std::string StationID = "KEET";
  std::string SigFolder;  // DataFolder + "sigs/"
  std::string PersonSig1 = "FirstName LastName (firstname.lastname@example.com)";
  std::string PersonSig2 = "(phone: 123-123-1234 | fax: 123-234-5478 | Cell:123-345-6789 )";
  std::string PersonSig3;
  std::string CookieFile;  // DataFolder + "cookies.txt"
  std::string UpdateCheckDate;
  std::string Sig_File = "nb_html.htm";
  std::string PreText = "Currently in";
};

extern TOptions Options;
// No "CityState" value was stored at the last load.
extern bool NewInstallation;

// Today's date in the user's short date format (the locale's).
std::string ShortDateToday();

// Defaults first, then whatever the registry holds, in the fixed reading order; a value of
// the wrong type ends the reading silently.
void LoadSettings();

// The settings dialog's control values, as SaveSettings needs them.
struct SettingsControls {
  std::int16_t UpDown1 = 5;
  bool PersonalSigChk = false;
  bool SigOnStartChk = true;
  bool SigIntervalChkbox = true;
  std::string SigFolderEdit;
  std::string CookieFileEdit;
  bool CookiesChk = true;
  std::string PersonSig1Edit, PersonSig2Edit, PersonSig3Edit;
  bool HtmlCheckbox = true;
  std::string CityState;
  // The font dialog's font; none when no font could be read from it.
  std::shared_ptr<StoredFont> Font;
  bool AutoDownload = true;
  std::string UpdateBox;
  std::int32_t ConnectionCombo = 0;
  std::string ProxyPortEdit;
  std::string ProxyPass;  // plain text
  std::string ProxyUserEdit, ProxyServerEdit;
  std::int32_t CityBox1 = -1;
  std::int32_t CityBox2 = -1;
  bool IntRadioBut = false;
  std::string StationID;
  bool StartMinChk = false;
  bool LaunchAtStartChk = true;
  bool AutoUpdateChk = true;
  bool CreatedByChk = true;
  std::int32_t MailProgBox = 0;
  std::string PreText;
  bool USRadio = false;
  bool MetricRadio = false;
};

// Adds or removes the start-with-the-desktop entry.
class RunEntry {
 public:
  virtual ~RunEntry() = default;
  virtual void AddRunEntry(const std::string& name, const std::string& command) = 0;
  virtual void RemoveRunEntry(const std::string& name) = 0;
};

// Writes the dialog's values to the main key; raises RegistryError on a failed write. Does
// not touch Options; the caller reloads.
void SaveSettings(const SettingsControls& dialog, RunEntry& runEntry);

// Writes Options.Sig_File as "Sig_File".
void SaveSigFile();

}  // namespace nimbalo
