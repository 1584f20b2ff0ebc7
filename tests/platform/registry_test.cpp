#include "platform/registry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "tests/support/test_home.h"

namespace nimbalo {
namespace {

using namespace std::string_literals;
namespace fs = std::filesystem;
using test::FileExists;
using test::ReadFile;
using test::WriteFile;

constexpr const char* kMainKey = "Software\\Corvane\\Nimbalo";

template <class F>
std::string ErrorOf(F action) {
  try {
    action();
  } catch (const RegistryError& e) {
    return e.what();
  }
  return "no error";
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

std::vector<std::string> CorruptCopies() {
  std::vector<std::string> found;
  for (const auto& entry : fs::directory_iterator(RegistryFolder())) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with("hkcu.reg.corrupt-")) found.push_back(entry.path().string());
  }
  return found;
}

class RegistryTest : public testing::Test {
 protected:
  RegKey MainKey() { return *RegKey::Open(Hive::CurrentUser, kMainKey, true); }
  std::string HiveText() { return ReadFile(HiveFile(Hive::CurrentUser)); }

  test::TestHome home_;
};

TEST_F(RegistryTest, TrickyNamesAndDataRoundTrip) {
  std::string all_bytes;
  for (int i = 0; i < 256; ++i)
    all_bytes += static_cast<char>(i);
  const std::vector<std::pair<std::string, RegValue>> table = {
      {"Plain", {RegType::Sz, "Currently in"}},
      {"", {RegType::Sz, "the default value"}},
      {"@", {RegType::Sz, "a name that is just an at sign"}},
      {"Quote\"d \"name\"", {RegType::Sz, "say \"hi\""}},
      {"back\\slash\\", {RegType::Sz, "C:\\Data\\"}},
      {"line\nbreak\r\nname", {RegType::Sz, "line 1\r\nline 2\n"}},
      {"Empty", {RegType::Sz, ""}},
      {"Zeros", {RegType::Sz, "enc\0ip\0"s}},
      {"Tab\tName", {RegType::Sz, "tab\there"}},
      {"semi;colon = [x]", {RegType::Sz, "a ; b = \"c\" ]"}},
      {"Caf\xe9 \x80\x9f\xff", {RegType::Sz, "\x80\x81\x8d\x8f\x90\x9d\xa0\xff"}},
      {"Expand", {RegType::ExpandSz, "%HOME%\\sigs \xe9"}},
      {"ExpandEmpty", {RegType::ExpandSz, ""}},
      {"Dword0", {RegType::Dword, "\0\0\0\0"s}},
      {"DwordMax", {RegType::Dword, "\xff\xff\xff\xff"}},
      {"AllBytes", {RegType::Binary, all_bytes}},
      {"BinaryEmpty", {RegType::Binary, ""}},
      {"ShortDword", {RegType::Dword, "\x01\x02"}},
      {"MultiSz", {static_cast<RegType>(7), "a\0\0\0b\0\0\0\0\0"s}},
      {"Qword", {static_cast<RegType>(11), "\x01\x02\x03\x04\x05\x06\x07\x08"}},
  };
  RegKey key = MainKey();
  for (const auto& [name, value] : table)
    key.Write(name, value);

  const auto reopened = RegKey::Open(Hive::CurrentUser, kMainKey, false);
  ASSERT_TRUE(reopened);
  std::vector<std::string> names;
  for (const auto& entry : table)
    names.push_back(entry.first);
  EXPECT_EQ(reopened->ValueNames(), names);
  for (const auto& [name, value] : table) {
    const auto read = reopened->Read(name);
    ASSERT_TRUE(read) << name;
    EXPECT_EQ(read->Type, value.Type) << name;
    EXPECT_EQ(read->Data, value.Data) << name;
  }
  for (const std::string& line : Lines(HiveText()))
    EXPECT_LE(line.size(), 80u) << line;
}

TEST_F(RegistryTest, FileIsARegeditExport) {
  RegKey key = MainKey();
  key.WriteDword("UpdateInterval", 10);
  key.WriteString("", "x");
  key.WriteString("PreText", "Caf\xe9 \\\"q\"");
  key.WriteString("Lines", "a\nb");
  key.WriteExpandString("Path", "%A%");
  key.WriteBinary("Font", "\x01\xfe");
  ASSERT_TRUE(RegKey::Open(Hive::CurrentUser, "Software\\Corvane\\Nimbalo\\Sigs", true));

  EXPECT_EQ(HiveText(),
            "Windows Registry Editor Version 5.00\n"
            "\n"
            "[HKEY_CURRENT_USER]\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software]\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software\\Corvane]\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software\\Corvane\\Nimbalo]\n"
            "\"UpdateInterval\"=dword:0000000a\n"
            "@=\"x\"\n"
            "\"PreText\"=\"Caf\xc3\xa9 \\\\\\\"q\\\"\"\n"
            "\"Lines\"=hex(1):61,00,0a,00,62,00,00,00\n"
            "\"Path\"=hex(2):25,00,41,00,25,00,00,00\n"
            "\"Font\"=hex:01,fe\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software\\Corvane\\Nimbalo\\Sigs]\n"
            "\n");
}

TEST_F(RegistryTest, EachHiveHasItsOwnFile) {
  struct Case {
    Hive hive;
    const char* file;
    const char* root;
  };
  for (const Case c : {Case{Hive::CurrentUser, "hkcu.reg", "HKEY_CURRENT_USER"},
                       {Hive::ClassesRoot, "hkcr.reg", "HKEY_CLASSES_ROOT"},
                       {Hive::LocalMachine, "hklm.reg", "HKEY_LOCAL_MACHINE"}}) {
    test::TestHome home;
    const std::string file = home.ConfigFolder() + "/nimbalo/" + c.file;
    EXPECT_EQ(HiveFile(c.hive), file);
    RegKey::Open(c.hive, "DuzOnlyOne", true)->WriteDword("Nimbalo", 42);
    EXPECT_NE(ReadFile(file).find("["s + c.root + "\\DuzOnlyOne]\n\"Nimbalo\"=dword:0000002a\n"),
              std::string::npos);
    for (const Hive other : {Hive::CurrentUser, Hive::ClassesRoot, Hive::LocalMachine}) {
      if (other != c.hive) {
        EXPECT_FALSE(RegKey::Open(other, "DuzOnlyOne", false)) << c.file;
      }
    }
  }
}

TEST_F(RegistryTest, FolderFollowsXdgConfigHome) {
  EXPECT_EQ(RegistryFolder(), home_.ConfigFolder() + "/nimbalo");
  ::setenv("XDG_CONFIG_HOME", (home_.Root() + "/elsewhere").c_str(), 1);
  EXPECT_EQ(HiveFile(Hive::CurrentUser), home_.Root() + "/elsewhere/nimbalo/hkcu.reg");
  ::unsetenv("XDG_CONFIG_HOME");
  EXPECT_EQ(RegistryFolder(), home_.Root() + "/.config/nimbalo");
}

TEST_F(RegistryTest, TypedReadsAndCaseInsensitiveNames) {
  RegKey key = MainKey();
  key.WriteDword("Html", 1);
  key.WriteString("CityState", "Alabaster, Alabama");
  key.WriteString("\xc9t\xe9", "upper");
  key.WriteString("\xe9t\xe9", "lower");

  const auto html = key.Read("HTML");
  ASSERT_TRUE(html);
  EXPECT_EQ(html->Type, RegType::Dword);
  EXPECT_EQ(html->AsDword(), 1u);
  EXPECT_EQ(key.Read("citystate")->Type, RegType::Sz);
  EXPECT_FALSE(key.Read("Missing"));
  EXPECT_FALSE(key.ValueExists("Missing"));
  // Only ASCII letters fold: these two are different names.
  EXPECT_EQ(key.Read("\xc9t\xe9")->Data, "upper");
  EXPECT_EQ(key.Read("\xe9t\xe9")->Data, "lower");

  key.WriteString("html", "now text");
  const auto reopened = RegKey::Open(Hive::CurrentUser, "SOFTWARE\\corvane\\NIMBALO", false);
  ASSERT_TRUE(reopened);
  EXPECT_EQ(reopened->ValueNames().front(), "Html");
  EXPECT_EQ(reopened->Read("Html")->Type, RegType::Sz);
  EXPECT_EQ(reopened->Read("Html")->Data, "now text");
  EXPECT_EQ((RegValue{RegType::Binary, "\x01\x02\x03"}.AsDword()), 0u);
  EXPECT_EQ((RegValue{RegType::Binary, "\x01\x02\x03\x04\x05"}.AsDword()), 0x04030201u);
}

TEST_F(RegistryTest, ValuesEnumerateInCreationOrder) {
  RegKey key = MainKey();
  for (const char* name : {"c", "a", "b"})
    key.WriteDword(name, 1);
  key.WriteDword("a", 2);
  EXPECT_EQ(key.ValueNames(), (std::vector<std::string>{"c", "a", "b"}));
  EXPECT_TRUE(key.DeleteValue("a"));
  key.WriteDword("A", 3);
  const std::vector<std::string> expected{"c", "b", "A"};
  EXPECT_EQ(key.ValueNames(), expected);
  EXPECT_EQ(RegKey::Open(Hive::CurrentUser, kMainKey, false)->ValueNames(), expected);
}

TEST_F(RegistryTest, DeleteValueAndKey) {
  RegKey key = MainKey();
  key.WriteString("Keep", "1");
  key.WriteString("Gone", "2");
  EXPECT_TRUE(key.DeleteValue("GONE"));
  EXPECT_FALSE(key.DeleteValue("Gone"));
  EXPECT_FALSE(key.ValueExists("Gone"));
  EXPECT_EQ(RegKey::Open(Hive::CurrentUser, kMainKey, false)->ValueNames(),
            std::vector<std::string>{"Keep"});

  for (const char* path : {"Sigs", "Sigs\\Deep\\Deeper", "Sigs2", "Sigs Old", "Sigsa"}) {
    RegKey::Open(Hive::CurrentUser, kMainKey + "\\"s + path, true)->WriteString("v", path);
  }
  EXPECT_TRUE(RegKey::DeleteKey(Hive::CurrentUser, "software\\CORVANE\\nimbalo\\sigs"));
  EXPECT_FALSE(RegKey::DeleteKey(Hive::CurrentUser, kMainKey + "\\Sigs"s));
  EXPECT_FALSE(RegKey::DeleteKey(Hive::CurrentUser, "No\\Such\\Key"));
  EXPECT_FALSE(RegKey::Open(Hive::CurrentUser, kMainKey + "\\Sigs"s, false));
  EXPECT_FALSE(RegKey::Open(Hive::CurrentUser, kMainKey + "\\Sigs\\Deep\\Deeper"s, false));
  for (const char* sibling : {"Sigs2", "Sigs Old", "Sigsa"}) {
    const auto kept = RegKey::Open(Hive::CurrentUser, kMainKey + "\\"s + sibling, false);
    ASSERT_TRUE(kept) << sibling;
    EXPECT_EQ(kept->Read("v")->Data, sibling);
  }
  EXPECT_EQ(RegKey::Open(Hive::CurrentUser, kMainKey, false)->ValueNames(),
            std::vector<std::string>{"Keep"});
}

TEST_F(RegistryTest, OpenWithAndWithoutCreate) {
  EXPECT_FALSE(RegKey::Open(Hive::CurrentUser, kMainKey, false));
  EXPECT_FALSE(FileExists(RegistryFolder()));  // reading alone creates nothing

  const auto created = RegKey::Open(Hive::CurrentUser, "\\Software\\Corvane\\Nimbalo\\", true);
  ASSERT_TRUE(created);
  EXPECT_EQ(created->Path(), kMainKey);
  EXPECT_TRUE(created->ValueNames().empty());
  struct stat st {};
  ASSERT_EQ(::stat(RegistryFolder().c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);

  // The empty key and its implied parents survive a reload.
  for (const char* path : {"Software", "Software\\Corvane", kMainKey, ""}) {
    EXPECT_TRUE(RegKey::Open(Hive::CurrentUser, path, false)) << path;
  }
  EXPECT_FALSE(RegKey::Open(Hive::CurrentUser, "Software\\Corv", false));

  for (const char* bad : {"Software\\\\Corvane", "Soft\nware"}) {
    EXPECT_FALSE(RegKey::Open(Hive::CurrentUser, bad, false)) << bad;
    EXPECT_EQ(ErrorOf([&] { RegKey::Open(Hive::CurrentUser, bad, true); }),
              "Failed to create key '"s + bad + "'");
  }
}

TEST_F(RegistryTest, KeyReadsItsSnapshotUntilItWrites) {
  RegKey first = MainKey();
  RegKey second = MainKey();
  second.WriteString("FromSecond", "2");
  EXPECT_FALSE(first.ValueExists("FromSecond"));
  first.WriteString("FromFirst", "1");
  EXPECT_EQ(first.ValueNames(), (std::vector<std::string>{"FromSecond", "FromFirst"}));

  // A key deleted behind an open key's back comes back with the next write.
  ASSERT_TRUE(RegKey::DeleteKey(Hive::CurrentUser, kMainKey));
  first.WriteString("Again", "3");
  EXPECT_EQ(first.ValueNames(), std::vector<std::string>{"Again"});
  EXPECT_TRUE(RegKey::Open(Hive::CurrentUser, kMainKey, false));
}

TEST_F(RegistryTest, HandEditedFileIsRead) {
  WriteFile(HiveFile(Hive::CurrentUser),
            "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
            "\r\n"
            "; settings typed by hand\r\n"
            "[hkey_current_user\\Software\\Corvane\\Nimbalo]   \r\n"
            "\"UpdateInterval\" = dword:0000001E\r\n"
            "  \"SigFolder\"=\"C:\\Temp\\\\sigs\\\\\"\r\n"
            "\"Font\"=hex:01,02,03,\\\r\n"
            "  04,05,\\\r\n"
            "; a comment inside the wrapped data\r\n"
            "  06\r\n"
            "\"Path\"=hex(2):25,00,41,00,25,00\r\n"
            "\"Multi\"=hex(7):61,00,00,00,00,00\r\n"
            "\"Short\"=dword:1f ; note\r\n"
            "\r\n"
            "\r\n"
            "[HKEY_CURRENT_USER\\Software\\Corvane\\Nimbalo\\Sigs]\n"
            "\"nb_html.htm\"=\"Default Signature\"\n"
            "[HKEY_CURRENT_USER\\Software\\Corvane\\Nimbalo]\n"
            "\"UPDATEINTERVAL\"=dword:00000005\n");

  auto key = RegKey::Open(Hive::CurrentUser, kMainKey, false);
  ASSERT_TRUE(key);
  EXPECT_EQ(key->ValueNames(), (std::vector<std::string>{"UpdateInterval", "SigFolder", "Font",
                                                         "Path", "Multi", "Short"}));
  EXPECT_EQ(key->Read("UpdateInterval")->AsDword(), 5u);  // the later line wins
  EXPECT_EQ(key->Read("SigFolder")->Data, "C:\\Temp\\sigs\\");
  EXPECT_EQ(key->Read("Font")->Data, "\x01\x02\x03\x04\x05\x06");
  EXPECT_EQ(key->Read("Path")->Type, RegType::ExpandSz);
  EXPECT_EQ(key->Read("Path")->Data, "%A%");
  EXPECT_EQ(key->Read("Multi")->Type, static_cast<RegType>(7));
  EXPECT_EQ(key->Read("Multi")->Data, "a\0\0\0\0\0"s);
  EXPECT_EQ(key->Read("Short")->AsDword(), 0x1Fu);
  const auto sigs = RegKey::Open(Hive::CurrentUser, kMainKey + "\\Sigs"s, false);
  ASSERT_TRUE(sigs);
  EXPECT_EQ(sigs->Read("nb_html.htm")->Data, "Default Signature");
  EXPECT_TRUE(RegKey::Open(Hive::CurrentUser, "Software", false));

  // Writing keeps everything that was there.
  key->WriteString("CityState", "Somewhere");
  const auto again = RegKey::Open(Hive::CurrentUser, kMainKey, false);
  EXPECT_EQ(again->ValueNames().size(), 7u);
  EXPECT_EQ(again->Read("Font")->Data, "\x01\x02\x03\x04\x05\x06");
  EXPECT_TRUE(RegKey::Open(Hive::CurrentUser, kMainKey + "\\Sigs"s, false));
}

TEST_F(RegistryTest, MissingOrEmptyFileIsAnEmptyHiveSilently) {
  testing::internal::CaptureStderr();
  EXPECT_FALSE(RegKey::Open(Hive::CurrentUser, kMainKey, false));
  test::MakeFolders(RegistryFolder());
  WriteFile(HiveFile(Hive::CurrentUser), "");
  EXPECT_FALSE(RegKey::Open(Hive::CurrentUser, kMainKey, false));
  MainKey().WriteDword("x", 1);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
  EXPECT_TRUE(CorruptCopies().empty());
}

TEST(RegistryCorruptFile, IsSetAsideReportedOnceAndTheHiveStartsEmpty) {
  const std::string header = "Windows Registry Editor Version 5.00\n\n";
  const std::vector<std::string> contents = {
      "not a registry file\n",
      "[HKEY_CURRENT_USER\\A]\n\"x\"=\"y\"\n",
      header + "\"x\"=\"value before any key\"\n",
      header + "[HKEY_CURRENT_USER\\A]\n\"x\"=\"unterminated\n",
      header + "[HKEY_CURRENT_USER\\A]\n\"x\"=hex:0g\n",
      header + "[HKEY_CURRENT_USER\\A]\n\"x\"=dword:123456789\n",
      header + "[HKEY_CURRENT_USER\\A]\n\"x\"=\"y\" trailing\n",
      header + "[HKEY_LOCAL_MACHINE\\A]\n",
      header + "[-HKEY_CURRENT_USER\\A]\n",
      header + "[HKEY_CURRENT_USER\\A]\njunk\n",
      header + "[HKEY_CURRENT_USER\\A]\n\\\n\n",
      "\xff\xfeW\0i\0n\0d\0o\0w\0s\0"s,
  };
  for (const std::string& content : contents) {
    test::TestHome home;
    const std::string file = HiveFile(Hive::CurrentUser);
    WriteFile(file, content);

    testing::internal::CaptureStderr();
    EXPECT_FALSE(RegKey::Open(Hive::CurrentUser, "A", false)) << content;
    const std::string report = testing::internal::GetCapturedStderr();
    const auto copies = CorruptCopies();
    ASSERT_EQ(copies.size(), 1u) << content;
    EXPECT_EQ(ReadFile(copies[0]), content);
    EXPECT_FALSE(FileExists(file));
    EXPECT_EQ(Lines(report).size(), 1u) << report;
    EXPECT_NE(report.find(copies[0]), std::string::npos) << report;

    testing::internal::CaptureStderr();
    RegKey::Open(Hive::CurrentUser, "A", true)->WriteString("x", "fresh");
    EXPECT_EQ(RegKey::Open(Hive::CurrentUser, "A", false)->Read("x")->Data, "fresh");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(CorruptCopies().size(), 1u);
  }
}

TEST_F(RegistryTest, TwoProcessesWritingNeverLoseValues) {
  constexpr int kWrites = 40;
  MainKey();
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    int status = 0;
    try {
      RegKey key = MainKey();
      for (int i = 0; i < kWrites; ++i)
        key.WriteDword("child" + std::to_string(i), i);
    } catch (...) {
      status = 1;
    }
    ::_exit(status);
  }
  RegKey key = MainKey();
  for (int i = 0; i < kWrites; ++i)
    key.WriteString("parent" + std::to_string(i), "p");
  int status = -1;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);

  const auto result = RegKey::Open(Hive::CurrentUser, kMainKey, false);
  ASSERT_TRUE(result);
  EXPECT_EQ(result->ValueNames().size(), 2u * kWrites);
  for (int i = 0; i < kWrites; ++i) {
    EXPECT_TRUE(result->ValueExists("parent" + std::to_string(i))) << i;
    const auto value = result->Read("child" + std::to_string(i));
    ASSERT_TRUE(value) << i;
    EXPECT_EQ(value->AsDword(), static_cast<std::uint32_t>(i));
  }
  for (const auto& entry : fs::directory_iterator(RegistryFolder())) {
    EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << entry.path();
  }
}

TEST(RegistryWriteFailure, RaisesTheProgramsMessage) {
  struct Case {
    const char* what;
    bool needs_permissions;  // a permission check means nothing to root
    void (*break_folder)(const std::string& folder);
  };
  const Case cases[] = {
      {"folder replaced by a file", false,
       [](const std::string& folder) {
         fs::rename(folder, folder + ".moved");
         WriteFile(folder, "not a folder");
       }},
      {"read-only folder", true,
       [](const std::string& folder) {
         fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
       }},
  };
  for (const Case& c : cases) {
    if (c.needs_permissions && ::geteuid() == 0) continue;
    test::TestHome home;
    auto key = RegKey::Open(Hive::CurrentUser, kMainKey, true);
    key->WriteDword("Html", 1);
    c.break_folder(RegistryFolder());

    EXPECT_EQ(ErrorOf([&] { key->WriteDword("Html", 0); }), "Failed to set data for 'Html'")
        << c.what;
    EXPECT_EQ(ErrorOf([&] { key->WriteString("PreText", "x"); }),
              "Failed to set data for 'PreText'")
        << c.what;
    EXPECT_EQ(ErrorOf([&] { RegKey::Open(Hive::CurrentUser, "Software\\New", true); }),
              "Failed to create key 'Software\\New'")
        << c.what;
    EXPECT_EQ(key->Read("Html")->AsDword(), 1u) << c.what;
    if (c.needs_permissions) {
      EXPECT_EQ(ErrorOf([&] { key->DeleteValue("Html"); }), "Failed to delete value 'Html'");
      EXPECT_EQ(RegKey::Open(Hive::CurrentUser, kMainKey, false)->Read("Html")->AsDword(), 1u);
      fs::permissions(RegistryFolder(), fs::perms::owner_all);
    }
  }
}

}  // namespace
}  // namespace nimbalo
