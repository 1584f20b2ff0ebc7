#include "config/options.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/paths.h"
#include "config/ezcrypt.h"
#include "platform/registry.h"
#include "tests/support/test_home.h"

namespace nimbalo {
namespace {

class RecordingRunEntry : public RunEntry {
 public:
  void AddRunEntry(const std::string& name, const std::string& command) override {
    calls += "add " + name + " " + command + ";";
  }
  void RemoveRunEntry(const std::string& name) override { calls += "remove " + name + ";"; }
  std::string calls;
};

class SettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    DataFolder = home_.DataHome() + "/Nimbalo/";
    ProgramFolder = "/opt/nimbalo/";
    test::MakeFolders(DataFolder + "templates");
    Options = TOptions{};
  }
  std::string HivePath() const { return home_.ConfigFolder() + "/nimbalo/hkcu.reg"; }
  void WriteHive(const std::string& values) {
    test::WriteFile(HivePath(),
                    "Windows Registry Editor Version 5.00\r\n\r\n"
                    "[HKEY_CURRENT_USER\\Software\\Corvane\\Nimbalo]\r\n" +
                        values);
  }
  RegKey MainKey() { return *RegKey::Open(Hive::CurrentUser, kMainKey, true); }
  // A dialog holding what a fresh load gives, as the settings dialog shows it.
  SettingsControls DialogFromOptions() {
    SettingsControls d;
    d.UpdateBox = std::to_string(Options.UpdateInterval);
    d.ProxyPortEdit = std::to_string(Options.ProxyPort);
    d.LaunchAtStartChk = Options.LaunchStartUp;
    d.CityState = Options.CityState;
    d.StationID = Options.StationID;
    d.PreText = Options.PreText;
    return d;
  }

  test::TestHome home_;
};

TEST_F(SettingsTest, EmptyHiveGivesDefaultsAndCreatesMainKey) {
  LoadSettings();
  EXPECT_TRUE(NewInstallation);
  EXPECT_EQ(Options.UpdateInterval, 10);
  EXPECT_EQ(Options.SigUpdateInterval, 5);
  EXPECT_EQ(Options.ProxyPort, 8080);
  EXPECT_EQ(Options.Measure, 3);
  EXPECT_TRUE(Options.WeatherAutoUpdate && Options.AutoUpdateSig && Options.SigOnStart &&
              Options.Cookies && Options.LaunchStartUp && Options.AutoUpdate && Options.CreatedBy &&
              Options.Html);
  EXPECT_FALSE(Options.International || Options.PersonalSigOn || Options.Debug || Options.StartMin);
  EXPECT_EQ(Options.CityState, "Alabaster, Alabama");
  EXPECT_EQ(Options.StationID, "KEET");
  EXPECT_EQ(Options.SigFolder, DataFolder + "sigs/");
  EXPECT_EQ(Options.CookieFile, DataFolder + "cookies.txt");
  EXPECT_EQ(Options.Sig_File, "nb_html.htm");
  EXPECT_EQ(Options.PreText, "Currently in");
  EXPECT_EQ(Options.UpdateCheckDate, ShortDateToday());
  EXPECT_EQ(Options.Font, nullptr);

  const std::string hive = test::ReadFile(HivePath());
  EXPECT_NE(hive.find("[HKEY_CURRENT_USER\\Software\\Corvane\\Nimbalo]"), std::string::npos);
  EXPECT_TRUE(RegKey::Open(Hive::CurrentUser, kMainKey, false)->ValueNames().empty());
}

TEST_F(SettingsTest, WrongTypeEndsReadingAndKeepsLaterDefaults) {
  WriteHive(
      "\"PreText\"=\"Now in\"\r\n"
      "\"CityState\"=\"Springfield, Illinois\"\r\n"
      "\"WeatherAutoUpdate\"=dword:00000000\r\n"
      "\"UpdateInterval\"=\"15\"\r\n"
      "\"ConnectType\"=dword:00000002\r\n"
      "\"Measure\"=dword:00000001\r\n");
  LoadSettings();
  EXPECT_FALSE(NewInstallation);
  EXPECT_EQ(Options.PreText, "Now in");
  EXPECT_EQ(Options.CityState, "Springfield, Illinois");
  EXPECT_FALSE(Options.WeatherAutoUpdate);  // read before the mismatch
  EXPECT_EQ(Options.UpdateInterval, 10);
  EXPECT_EQ(Options.ConnectType, 0);
  EXPECT_EQ(Options.Measure, 3);
}

TEST_F(SettingsTest, ValueForms) {
  RegKey key = MainKey();
  key.WriteDword("Measure", 259);
  key.WriteDword("Html", 7);
  key.WriteDword("ProxyPort", 0xFFFFFFFFu);
  key.WriteExpandString("PersonSig3", "%HOME%\\x");
  key.WriteString("CityState", std::string("Z\xFCrich\0tail", 11));
  key.WriteString("Sig_File", "gone.htm");
  key.WriteString("StationID", "LSZH");
  LoadSettings();
  EXPECT_EQ(Options.Measure, 3);
  EXPECT_TRUE(Options.Html);
  EXPECT_EQ(Options.ProxyPort, -1);
  EXPECT_EQ(Options.PersonSig3, "%HOME%\\x");  // not expanded
  EXPECT_EQ(Options.CityState, "Z\xFCrich");   // up to the first zero byte
  EXPECT_EQ(Options.Sig_File, "nb_html.htm");  // the template does not exist
  EXPECT_EQ(MainKey().Read("Sig_File")->Data, "gone.htm");
  EXPECT_EQ(Options.StationID, "LSZH");

  test::WriteFile(DataFolder + "templates/mine.htm", "x");
  MainKey().WriteString("Sig_File", "mine.htm");
  LoadSettings();
  EXPECT_EQ(Options.Sig_File, "mine.htm");
}

TEST_F(SettingsTest, FontValue) {
  StoredFont font;
  font.FaceName = "Georgia";
  font.Color = 0x0000FF;
  MainKey().WriteBinary("Font", EncodeFontValue(font));
  MainKey().WriteString("StationID", "EGLL");
  LoadSettings();
  ASSERT_NE(Options.Font, nullptr);
  EXPECT_EQ(Options.Font->FaceName, "Georgia");
  EXPECT_EQ(Options.Font->Color, 0x0000FFu);
  const auto first_font = Options.Font;

  MainKey().WriteBinary("Font", std::string(20, '\1'));  // too short: ignored
  LoadSettings();
  EXPECT_EQ(Options.Font, first_font);  // kept from the earlier load
  EXPECT_EQ(Options.StationID, "EGLL");

  MainKey().WriteBinary("Font", std::string(65, '\1'));  // too long: ends the reading
  LoadSettings();
  EXPECT_EQ(Options.StationID, "KEET");
  EXPECT_EQ(Options.Font->FaceName, "Georgia");
}

TEST_F(SettingsTest, SaveWritesControlsAndSkipsInvalidFields) {
  LoadSettings();
  MainKey().WriteDword("UpdateInterval", 30);
  MainKey().WriteDword("ProxyPort", 3128);
  MainKey().WriteString("SigFolder", "/kept/");
  test::WriteFile(home_.Root() + "/quotes.txt", "q");

  for (const char* interval : {"0", "abc", "", "-5", "2147483648"}) {
    SettingsControls d = DialogFromOptions();
    d.UpdateBox = interval;
    d.ProxyPortEdit = "";
    d.SigFolderEdit = home_.Root() + "/does-not-exist/";
    d.CookieFileEdit = home_.Root() + "/quotes.txt";
    d.UpDown1 = -2;
    d.USRadio = false;
    d.MetricRadio = true;
    d.CityBox2 = -1;
    RecordingRunEntry run;
    SaveSettings(d, run);
    EXPECT_EQ(run.calls, "");
    RegKey key = MainKey();
    EXPECT_EQ(key.Read("UpdateInterval")->AsDword(), 30u) << interval;
    EXPECT_EQ(key.Read("ProxyPort")->AsDword(), 3128u);
    EXPECT_EQ(key.Read("SigFolder")->Data, "/kept/");
    EXPECT_EQ(key.Read("CookieFile")->Data, home_.Root() + "/quotes.txt");
    EXPECT_EQ(key.Read("SigUpdateInterval")->AsDword(), 0xFFFFFFFEu);
    EXPECT_EQ(key.Read("Measure")->AsDword(), 2u);
    EXPECT_EQ(key.Read("CityIdx")->AsDword(), 0xFFFFFFFFu);
    EXPECT_FALSE(key.ValueExists("Sig_File"));
    EXPECT_FALSE(key.ValueExists("Debug"));
    EXPECT_FALSE(key.ValueExists("Font"));
  }

  SettingsControls d = DialogFromOptions();
  d.UpdateBox = "007";
  d.ProxyPortEdit = "8888";
  d.SigFolderEdit = home_.Root();
  SaveSettings(d, *std::make_unique<RecordingRunEntry>());
  LoadSettings();
  EXPECT_EQ(Options.UpdateInterval, 7);
  EXPECT_EQ(Options.ProxyPort, 8888);
  EXPECT_EQ(Options.SigFolder, home_.Root());
  EXPECT_EQ(Options.Measure, 3);
}

TEST_F(SettingsTest, EveryPasswordSurvivesSaveAndLoad) {
  // Find a password whose enciphered form holds a zero byte.
  std::string tricky;
  for (int a = 1; a < 256 && tricky.empty(); ++a) {
    for (int b = 1; b < 256; ++b) {
      const std::string candidate{static_cast<char>(a), static_cast<char>(b)};
      if (EncryptText(candidate, kPasswordKey).find('\0') != std::string::npos) {
        tricky = candidate;
        break;
      }
    }
  }
  ASSERT_FALSE(tricky.empty());
  for (const std::string& password : {tricky, std::string("plain pa\xDF")}) {
    SettingsControls d = DialogFromOptions();
    d.ProxyPass = password;
    RecordingRunEntry run;
    SaveSettings(d, run);
    LoadSettings();
    EXPECT_EQ(DecryptText(Options.ProxyPassword, kPasswordKey), password);
  }
}

TEST_F(SettingsTest, RunEntryFollowsCheckBoxEvenWhenWritingFails) {
  LoadSettings();
  ASSERT_TRUE(Options.LaunchStartUp);
  SettingsControls d = DialogFromOptions();
  RecordingRunEntry run;
  SaveSettings(d, run);
  EXPECT_EQ(run.calls, "");  // unchanged: nothing to do
  d.LaunchAtStartChk = false;
  SaveSettings(d, run);
  EXPECT_EQ(run.calls, "remove Nimbalo;");

  Options.LaunchStartUp = false;
  d.LaunchAtStartChk = true;
  run.calls.clear();
  // A file in place of the settings folder makes every write fail.
  std::filesystem::remove_all(home_.ConfigFolder() + "/nimbalo");
  test::WriteFile(home_.ConfigFolder() + "/nimbalo", "");
  EXPECT_THROW(SaveSettings(d, run), RegistryError);
  EXPECT_EQ(run.calls, "add Nimbalo /opt/nimbalo/nimbalo;");
}

TEST_F(SettingsTest, SaveSigFileWritesOnlyThatValue) {
  Options.Sig_File = "nb_text.txt";
  SaveSigFile();
  const RegKey key = MainKey();
  EXPECT_EQ(key.Read("Sig_File")->Data, "nb_text.txt");
  EXPECT_EQ(key.ValueNames().size(), 1u);
}

TEST_F(SettingsTest, GarbledHiveIsSetAsideAndDefaultsLoad) {
  test::WriteFile(HivePath(), "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\So");
  LoadSettings();
  EXPECT_TRUE(NewInstallation);
  EXPECT_EQ(Options.StationID, "KEET");
  bool set_aside = false;
  for (const auto& entry : std::filesystem::directory_iterator(home_.ConfigFolder() + "/nimbalo")) {
    if (entry.path().filename().string().find("hkcu.reg.") == 0 &&
        entry.path().filename().string().find(".lock") == std::string::npos) {
      set_aside = true;
    }
  }
  EXPECT_TRUE(set_aside);
  EXPECT_TRUE(RegKey::Open(Hive::CurrentUser, kMainKey, false).has_value());
}

}  // namespace
}  // namespace nimbalo
