// The registry store: the Windows registry model (hives, keys, typed values) kept in one
// regedit-export text file per hive under $XDG_CONFIG_HOME/nimbalo/ (hkcu.reg, hkcr.reg,
// hklm.reg), so that a person can read, back up, diff and hand-edit the settings.
//
// Key paths use "\" as separator ("Software\Corvane\Nimbalo"); key and value names are
// matched without regard to ASCII case, as on Windows, and keep the case they were
// created with. Names and string data are Windows-1252 bytes in memory and UTF-8 in the
// file.
//
// Every write locks the hive file (flock), re-reads it, applies the one change and
// replaces the file atomically (temporary file, fsync, rename), so two processes never
// lose each other's values. A hive file that cannot be parsed is renamed aside with a
// timestamp, reported once on standard error, and the hive starts empty.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace nimbalo {

enum class Hive { CurrentUser, ClassesRoot, LocalMachine };

enum class RegType : std::uint32_t {
  None = 0,
  Sz = 1,        // REG_SZ
  ExpandSz = 2,  // REG_EXPAND_SZ
  Binary = 3,    // REG_BINARY
  Dword = 4,     // REG_DWORD
};

struct RegValue {
  RegType Type = RegType::None;
  // Raw data: the text bytes for Sz/ExpandSz (no terminating zero), the bytes for Binary,
  // four little-endian bytes for Dword.
  std::string Data;

  std::uint32_t AsDword() const;  // little-endian read of the first 4 bytes (0 if shorter)
};

// A registry error carries the Windows-style message the program shows to the user,
// for example "Failed to set data for 'Html'".
class RegistryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// An open key. Reads come from the snapshot taken when the key was opened (or refreshed by
// the key's own writes); every write goes through to the hive file at once.
class RegKey {
 public:
  // Opens the key at `path` in `hive` ("" is the hive's root; leading and trailing "\" are
  // ignored). With `create`, a missing key (and its parents) is created and saved, and a
  // failure raises RegistryError ("Failed to create key '<path>'"); without it, a missing
  // key gives std::nullopt. Key names cannot hold control characters or be empty: such a
  // path is never found and cannot be created.
  static std::optional<RegKey> Open(Hive hive, const std::string& path, bool create);
  // Deletes the key, its values and its subkeys. False when it did not exist; raises
  // RegistryError ("Failed to delete key '<path>'") when the hive file cannot be written.
  static bool DeleteKey(Hive hive, const std::string& path);

  const std::string& Path() const { return path_; }

  bool ValueExists(const std::string& name) const;
  std::optional<RegValue> Read(const std::string& name) const;
  // Value names in a stable order: the order in which the values were first created.
  std::vector<std::string> ValueNames() const;

  // Writes raise RegistryError ("Failed to set data for '<name>'") when the hive file
  // cannot be written. A key deleted meanwhile by someone else is created again.
  void Write(const std::string& name, const RegValue& value);
  void WriteString(const std::string& name, const std::string& text);
  void WriteExpandString(const std::string& name, const std::string& text);
  void WriteDword(const std::string& name, std::uint32_t value);
  void WriteBinary(const std::string& name, const std::string& bytes);
  // False when the value did not exist. Raises RegistryError when the file cannot be
  // written ("Failed to delete value '<name>'").
  bool DeleteValue(const std::string& name);

 private:
  RegKey(Hive hive, std::string path) : hive_(hive), path_(std::move(path)) {}

  Hive hive_;
  std::string path_;
  std::vector<std::pair<std::string, RegValue>> values_;
};

// The folder that holds the hive files: $XDG_CONFIG_HOME/nimbalo (default
// ~/.config/nimbalo), without a trailing separator.
std::string RegistryFolder();
// The file of one hive, e.g. RegistryFolder() + "/hkcu.reg".
std::string HiveFile(Hive hive);

}  // namespace nimbalo
