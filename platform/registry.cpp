#include "platform/registry.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string_view>

#include "platform/encoding.h"
#include "platform/folders.h"
#include "platform/local_time.h"

namespace nimbalo {

namespace {

constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";

using Values = std::vector<std::pair<std::string, RegValue>>;

struct StoredKey {
  std::string path;  // as first created
  Values values;     // in creation order
};

// Keys by folded path (FoldPath), so that the map's order is the tree order, every key
// directly followed by its subkeys.
using HiveData = std::map<std::string, StoredKey>;

const char* RootName(Hive hive) {
  switch (hive) {
    case Hive::CurrentUser:
      return "HKEY_CURRENT_USER";
    case Hive::ClassesRoot:
      return "HKEY_CLASSES_ROOT";
    case Hive::LocalMachine:
      return "HKEY_LOCAL_MACHINE";
  }
  return "";
}

char FoldChar(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return FoldChar(x) == FoldChar(y);
         });
}

// Lower case, with the separator turned into a byte below every byte a key name may hold.
std::string FoldPath(std::string_view path) {
  std::string out(path);
  for (char& c : out)
    c = c == '\\' ? '\x01' : FoldChar(c);
  return out;
}

bool IsControl(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7F;
}

// The path without leading and trailing separators; empty optional when a key name in it
// is empty or holds a control character.
std::optional<std::string> NormalizePath(std::string_view path) {
  while (!path.empty() && path.front() == '\\')
    path.remove_prefix(1);
  while (!path.empty() && path.back() == '\\')
    path.remove_suffix(1);
  if (path.find("\\\\") != std::string_view::npos) return std::nullopt;
  if (std::any_of(path.begin(), path.end(), IsControl)) return std::nullopt;
  return std::string(path);
}

// The key and every parent up to the root, each created when missing.
StoredKey& EnsureKey(HiveData& hive, const std::string& path) {
  hive.try_emplace(std::string(), StoredKey{});
  for (std::size_t end = path.find('\\'); end != std::string::npos;
       end = path.find('\\', end + 1)) {
    const std::string parent = path.substr(0, end);
    hive.try_emplace(FoldPath(parent), StoredKey{parent, {}});
  }
  return hive.try_emplace(FoldPath(path), StoredKey{path, {}}).first->second;
}

template <class V>
auto FindValue(V& values, std::string_view name) {
  return std::find_if(values.begin(), values.end(),
                      [&](const auto& entry) { return SameName(entry.first, name); });
}

void SetValue(Values& values, const std::string& name, const RegValue& value) {
  const auto it = FindValue(values, name);
  if (it != values.end()) {
    it->second = value;
  } else {
    values.emplace_back(name, value);
  }
}

std::string DwordBytes(std::uint32_t n) {
  std::string data(4, '\0');
  for (std::size_t i = 0; i < 4; ++i)
    data[i] = static_cast<char>((n >> (8 * i)) & 0xFF);
  return data;
}

Values TakeValues(HiveData&& hive, const std::string& path) {
  const auto it = hive.find(FoldPath(path));
  return it != hive.end() ? std::move(it->second.values) : Values{};
}

// ---- File format ----

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
    s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
    s.remove_suffix(1);
  return s;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && SameName(s.substr(0, prefix.size()), prefix);
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  c = FoldChar(c);
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// 1 to 8 hex digits.
std::optional<std::uint32_t> ParseHexNumber(std::string_view s) {
  if (s.empty() || s.size() > 8) return std::nullopt;
  std::uint32_t n = 0;
  for (const char c : s) {
    const int d = HexDigit(c);
    if (d < 0) return std::nullopt;
    n = (n << 4) | static_cast<std::uint32_t>(d);
  }
  return n;
}

bool IsBlankOrComment(std::string_view rest) {
  rest = Trim(rest);
  return rest.empty() || rest.front() == ';';
}

// "01,02,ff" (a trailing comma and a trailing comment are accepted).
std::optional<std::string> ParseHexList(std::string_view s) {
  if (const std::size_t comment = s.find(';'); comment != std::string_view::npos) {
    s = s.substr(0, comment);
  }
  s = Trim(s);
  std::string out;
  while (!s.empty()) {
    const std::size_t comma = s.find(',');
    const std::string_view item = Trim(s.substr(0, comma));
    if (item.empty() || item.size() > 2) return std::nullopt;
    const auto byte = ParseHexNumber(item);
    if (!byte) return std::nullopt;
    out += static_cast<char>(*byte);
    if (comma == std::string_view::npos) break;
    s = Trim(s.substr(comma + 1));
  }
  return out;
}

// Quoted text starting at s[0] == '"'. Names also carry line breaks as \n and \r, which
// data never needs (it goes to hex(1) instead); an unknown escape stands for itself, so a
// hand-typed "C:\Temp" survives. Consumes the text up to the closing quote.
std::optional<std::string> ParseQuoted(std::string_view& s, bool name) {
  std::string out;
  for (std::size_t i = 1; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '"') {
      s.remove_prefix(i + 1);
      return Utf8ToCp1252(out);
    }
    if (c == '\\' && i + 1 < s.size()) {
      const char next = s[i + 1];
      if (next == '\\' || next == '"') {
        out += next;
        ++i;
        continue;
      }
      if (name && (next == 'n' || next == 'r')) {
        out += next == 'n' ? '\n' : '\r';
        ++i;
        continue;
      }
    }
    out += c;
  }
  return std::nullopt;
}

// UTF-16LE text of hex(1)/hex(2), usually with its terminating zero.
std::string DecodeWideText(std::string bytes) {
  if (bytes.size() >= 2 && bytes.size() % 2 == 0 && bytes[bytes.size() - 1] == '\0' &&
      bytes[bytes.size() - 2] == '\0') {
    bytes.resize(bytes.size() - 2);
  }
  return Utf16LeToCp1252(bytes);
}

std::optional<RegValue> ParseData(std::string_view s) {
  if (!s.empty() && s.front() == '"') {
    auto text = ParseQuoted(s, false);
    if (!text || !IsBlankOrComment(s)) return std::nullopt;
    return RegValue{RegType::Sz, std::move(*text)};
  }
  if (StartsWithNoCase(s, "dword:")) {
    s.remove_prefix(6);
    const std::size_t end = std::min(s.find(';'), s.size());
    const auto number = ParseHexNumber(Trim(s.substr(0, end)));
    if (!number) return std::nullopt;
    return RegValue{RegType::Dword, DwordBytes(*number)};
  }
  if (!StartsWithNoCase(s, "hex")) return std::nullopt;
  s.remove_prefix(3);
  std::uint32_t type = static_cast<std::uint32_t>(RegType::Binary);
  if (!s.empty() && s.front() == '(') {
    const std::size_t close = s.find(')');
    if (close == std::string_view::npos) return std::nullopt;
    const auto number = ParseHexNumber(s.substr(1, close - 1));
    if (!number) return std::nullopt;
    type = *number;
    s.remove_prefix(close + 1);
  }
  if (s.empty() || s.front() != ':') return std::nullopt;
  auto bytes = ParseHexList(s.substr(1));
  if (!bytes) return std::nullopt;
  const auto reg_type = static_cast<RegType>(type);
  if (reg_type == RegType::Sz || reg_type == RegType::ExpandSz) {
    return RegValue{reg_type, DecodeWideText(std::move(*bytes))};
  }
  return RegValue{reg_type, std::move(*bytes)};
}

// "[HKEY_CURRENT_USER\Software\X]" -> "Software\X".
std::optional<std::string> ParseKeyLine(std::string_view line, std::string_view root) {
  if (line.size() < 2 || line.back() != ']') return std::nullopt;
  line = line.substr(1, line.size() - 2);
  const std::size_t sep = line.find('\\');
  if (!SameName(line.substr(0, sep), root)) return std::nullopt;
  if (sep == std::string_view::npos) return std::string();
  const std::string path = Utf8ToCp1252(line.substr(sep + 1));
  auto normal = NormalizePath(path);
  if (!normal || *normal != path) return std::nullopt;
  return normal;
}

bool ParseValueLine(std::string_view line, StoredKey& key) {
  std::string name;
  if (line.front() == '@') {
    line.remove_prefix(1);
  } else {
    auto quoted = ParseQuoted(line, true);
    if (!quoted) return false;
    name = std::move(*quoted);
  }
  line = Trim(line);
  if (line.empty() || line.front() != '=') return false;
  const auto value = ParseData(Trim(line.substr(1)));
  if (!value) return false;
  SetValue(key.values, name, *value);
  return true;
}

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

bool IsComment(std::string_view trimmed) {
  return !trimmed.empty() && trimmed.front() == ';';
}

// The whole file; on failure `error_line` is the 1-based line that could not be parsed.
std::optional<HiveData> ParseHive(std::string_view text, Hive hive, std::size_t& error_line) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  const std::vector<std::string_view> lines = SplitLines(text);
  HiveData data;
  bool header_seen = false;
  StoredKey* current = nullptr;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    error_line = i + 1;
    const std::string_view first = Trim(lines[i]);
    if (first.empty()) continue;
    if (!header_seen) {
      if (first != kHeader) return std::nullopt;
      header_seen = true;
      continue;
    }
    if (IsComment(first)) continue;
    // Long hex data goes on over the next lines after a trailing backslash.
    std::string line(first);
    while (line.back() == '\\' && i + 1 < lines.size()) {
      line.pop_back();
      do {
        ++i;
      } while (i + 1 < lines.size() && IsComment(Trim(lines[i])));
      line += Trim(lines[i]);
      if (line.empty()) break;
    }
    if (line.empty()) return std::nullopt;
    if (line.front() == '[') {
      const auto path = ParseKeyLine(line, RootName(hive));
      if (!path) return std::nullopt;
      current = &EnsureKey(data, *path);
    } else if (line.front() == '@' || line.front() == '"') {
      if (current == nullptr || !ParseValueLine(line, *current)) return std::nullopt;
    } else {
      return std::nullopt;
    }
  }
  return data;
}

std::string Escape(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 2);
  for (const char c : text) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '"':
        out += "\\\"";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
  return out;
}

void AppendHexByte(std::string& out, unsigned char byte) {
  constexpr char kDigits[] = "0123456789abcdef";
  out += kDigits[byte >> 4];
  out += kDigits[byte & 0x0F];
}

// Comma-separated bytes, wrapped like regedit wraps them so that lines stay near 80 columns.
void AppendHexList(std::string& out, std::size_t column, std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    AppendHexByte(out, static_cast<unsigned char>(bytes[i]));
    column += 2;
    if (i + 1 == bytes.size()) break;
    out += ',';
    ++column;
    if (column > 75) {
      out += "\\\n  ";
      column = 2;
    }
  }
}

void AppendValue(std::string& out, const std::string& name, const RegValue& value) {
  const std::size_t start = out.size();
  if (name.empty()) {
    out += '@';
  } else {
    out += '"';
    out += Escape(Cp1252ToUtf8(name));
    out += '"';
  }
  out += '=';
  const std::string& data = value.Data;
  const bool plain_text = std::none_of(data.begin(), data.end(), IsControl);
  if (value.Type == RegType::Sz && plain_text) {
    out += '"';
    out += Escape(Cp1252ToUtf8(data));
    out += '"';
  } else if (value.Type == RegType::Dword && data.size() == 4) {
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08x", value.AsDword());
    out += "dword:";
    out += digits;
  } else if (value.Type == RegType::Binary) {
    out += "hex:";
    AppendHexList(out, out.size() - start, data);
  } else {
    char prefix[20];
    std::snprintf(prefix, sizeof prefix, "hex(%x):", static_cast<unsigned>(value.Type));
    out += prefix;
    const bool text = value.Type == RegType::Sz || value.Type == RegType::ExpandSz;
    AppendHexList(out, out.size() - start,
                  text ? Cp1252ToUtf16Le(data) + std::string(2, '\0') : data);
  }
  out += '\n';
}

std::string FormatHive(const HiveData& data, Hive hive) {
  std::string out(kHeader);
  out += "\n\n";
  for (const auto& [folded, key] : data) {
    out += '[';
    out += RootName(hive);
    if (!key.path.empty()) {
      out += '\\';
      out += Cp1252ToUtf8(key.path);
    }
    out += "]\n";
    for (const auto& [name, value] : key.values)
      AppendValue(out, name, value);
    out += '\n';
  }
  return out;
}

// ---- Files and locks ----

class HiveLock {
 public:
  // Opens the lock file beside `file`, creating it where the folder allows; a lock that
  // cannot be opened is not held.
  HiveLock(const std::string& file, int operation) : exclusive_(operation == LOCK_EX) {
    const std::string path = file + ".lock";
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd_ < 0) fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ >= 0 && !Flock(operation)) {
      ::close(fd_);
      fd_ = -1;
    }
  }
  ~HiveLock() {
    if (fd_ >= 0) ::close(fd_);
  }
  HiveLock(const HiveLock&) = delete;
  HiveLock& operator=(const HiveLock&) = delete;

  bool Held() const { return fd_ >= 0; }
  bool Exclusive() const { return Held() && exclusive_; }
  bool MakeExclusive() {
    exclusive_ = Held() && Flock(LOCK_EX);
    return exclusive_;
  }

 private:
  bool Flock(int operation) const {
    int rc;
    do {
      rc = ::flock(fd_, operation);
    } while (rc != 0 && errno == EINTR);
    return rc == 0;
  }

  int fd_ = -1;
  bool exclusive_;
};

// The folder and its missing parents, each created with mode 0700.
bool MakeFolders(const std::string& folder) {
  if (FolderExists(folder)) return true;
  for (std::size_t end = folder.find('/', 1);; end = folder.find('/', end + 1)) {
    const std::string part = folder.substr(0, end);
    if (::mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
    if (end == std::string::npos) break;
  }
  return FolderExists(folder);
}

struct FileRead {
  std::optional<HiveData> data;  // empty when the file could not be read or parsed
  std::string problem;
};

FileRead ReadHiveFile(const std::string& file, Hive hive) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return {HiveData{}, {}};
    return {std::nullopt, std::strerror(errno)};
  }
  std::string text;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) {
      text.append(buffer, static_cast<std::size_t>(n));
    } else if (n == 0 || errno != EINTR) {
      if (n < 0) {
        const std::string problem = std::strerror(errno);
        ::close(fd);
        return {std::nullopt, problem};
      }
      break;
    }
  }
  ::close(fd);
  std::size_t error_line = 0;
  auto data = ParseHive(text, hive, error_line);
  if (!data) return {std::nullopt, "line " + std::to_string(error_line) + " cannot be parsed"};
  return {std::move(data), {}};
}

std::string Timestamp() {
  return FormatLocalTime("%Y%m%d-%H%M%S");
}

// Renames a hive file that cannot be used out of the way, so that it is never overwritten,
// and says so. False when it could not be moved (reported once per file and process).
bool SetAside(const std::string& file, const std::string& problem) {
  std::string aside = file + ".corrupt-" + Timestamp();
  struct stat st {};
  for (int n = 2; ::lstat(aside.c_str(), &st) == 0; ++n) {
    aside = file + ".corrupt-" + Timestamp() + "-" + std::to_string(n);
  }
  if (::rename(file.c_str(), aside.c_str()) == 0) {
    std::fprintf(stderr, "nimbalo: %s could not be read (%s); moved to %s, starting empty\n",
                 file.c_str(), problem.c_str(), aside.c_str());
    return true;
  }
  static std::mutex mutex;
  static std::set<std::string> reported;
  const std::string reason = std::strerror(errno);
  const std::lock_guard<std::mutex> guard(mutex);
  if (reported.insert(file).second) {
    std::fprintf(stderr,
                 "nimbalo: %s could not be read (%s) nor moved aside (%s); it is left "
                 "untouched and not used\n",
                 file.c_str(), problem.c_str(), reason.c_str());
  }
  return false;
}

struct Loaded {
  HiveData data;
  bool writable = true;  // false while an unusable file could not be moved aside
};

// Reads the hive under `lock`. A file that cannot be used is moved aside under the
// exclusive lock, after a second look in case another process has already done so.
Loaded LoadHive(const std::string& file, Hive hive, HiveLock& lock) {
  FileRead read = ReadHiveFile(file, hive);
  if (!read.data && lock.Held() && !lock.Exclusive() && lock.MakeExclusive()) {
    read = ReadHiveFile(file, hive);
  }
  if (read.data) return {std::move(*read.data), true};
  return {HiveData{}, SetAside(file, read.problem)};
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Replaces the file atomically: a temporary file in the same folder, fsync, rename, and an
// fsync of the folder so that the rename itself survives a crash.
bool SaveHive(const std::string& file, Hive hive, const HiveData& data) {
  std::string temp = file + ".tmp-XXXXXX";
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return false;
  const bool written = WriteAll(fd, FormatHive(data, hive)) && ::fsync(fd) == 0;
  if (::close(fd) != 0 || !written || ::rename(temp.c_str(), file.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  const std::string folder_path = file.substr(0, file.rfind('/'));
  const int folder = ::open(folder_path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    // Some file systems cannot sync a folder; the file itself is already safe.
    ::fsync(folder);
    ::close(folder);
  }
  return true;
}

// The hive as it is now on disk, read under a shared lock.
HiveData ReadHive(Hive hive) {
  const std::string file = HiveFile(hive);
  if (!FolderExists(RegistryFolder())) return {};
  HiveLock lock(file, LOCK_SH);
  return LoadHive(file, hive, lock).data;
}

// Applies `change` to the hive as it is on disk, under the exclusive lock, and saves the
// result when `change` returns true. Returns the hive after the change.
HiveData UpdateHive(Hive hive, const std::string& failure,
                    const std::function<bool(HiveData&)>& change) {
  const std::string file = HiveFile(hive);
  MakeFolders(RegistryFolder());
  HiveLock lock(file, LOCK_EX);
  Loaded loaded = LoadHive(file, hive, lock);
  if (!change(loaded.data)) return std::move(loaded.data);
  if (!lock.Held() || !loaded.writable || !SaveHive(file, hive, loaded.data)) {
    throw RegistryError(failure);
  }
  return std::move(loaded.data);
}

}  // namespace

std::uint32_t RegValue::AsDword() const {
  if (Data.size() < 4) return 0;
  std::uint32_t n = 0;
  for (int i = 3; i >= 0; --i)
    n = (n << 8) | static_cast<unsigned char>(Data[i]);
  return n;
}

std::string RegistryFolder() {
  return ConfigHomeFolder() + "/nimbalo";
}

std::string HiveFile(Hive hive) {
  switch (hive) {
    case Hive::CurrentUser:
      return RegistryFolder() + "/hkcu.reg";
    case Hive::ClassesRoot:
      return RegistryFolder() + "/hkcr.reg";
    case Hive::LocalMachine:
      return RegistryFolder() + "/hklm.reg";
  }
  return {};
}

std::optional<RegKey> RegKey::Open(Hive hive, const std::string& path, bool create) {
  const auto normal = NormalizePath(path);
  if (!normal) {
    if (create) throw RegistryError("Failed to create key '" + path + "'");
    return std::nullopt;
  }
  const std::string folded = FoldPath(*normal);
  HiveData data = ReadHive(hive);
  if (!data.contains(folded)) {
    if (!create) return std::nullopt;
    data = UpdateHive(hive, "Failed to create key '" + *normal + "'", [&](HiveData& d) {
      const bool missing = !d.contains(folded);
      EnsureKey(d, *normal);
      return missing;
    });
  }
  RegKey key(hive, *normal);
  key.values_ = TakeValues(std::move(data), *normal);
  return key;
}

bool RegKey::DeleteKey(Hive hive, const std::string& path) {
  const auto normal = NormalizePath(path);
  if (!normal || normal->empty()) return false;
  const std::string folded = FoldPath(*normal);
  bool existed = false;
  UpdateHive(hive, "Failed to delete key '" + *normal + "'", [&](HiveData& d) {
    auto it = d.find(folded);
    existed = it != d.end();
    const std::string children = folded + '\x01';
    while (it != d.end() && (it->first == folded || it->first.starts_with(children))) {
      it = d.erase(it);
    }
    return existed;
  });
  return existed;
}

bool RegKey::ValueExists(const std::string& name) const {
  return FindValue(values_, name) != values_.end();
}

std::optional<RegValue> RegKey::Read(const std::string& name) const {
  const auto it = FindValue(values_, name);
  if (it == values_.end()) return std::nullopt;
  return it->second;
}

std::vector<std::string> RegKey::ValueNames() const {
  std::vector<std::string> names;
  names.reserve(values_.size());
  for (const auto& entry : values_)
    names.push_back(entry.first);
  return names;
}

void RegKey::Write(const std::string& name, const RegValue& value) {
  values_ = TakeValues(UpdateHive(hive_, "Failed to set data for '" + name + "'",
                                  [&](HiveData& d) {
                                    SetValue(EnsureKey(d, path_).values, name, value);
                                    return true;
                                  }),
                       path_);
}

void RegKey::WriteString(const std::string& name, const std::string& text) {
  Write(name, RegValue{RegType::Sz, text});
}

void RegKey::WriteExpandString(const std::string& name, const std::string& text) {
  Write(name, RegValue{RegType::ExpandSz, text});
}

void RegKey::WriteDword(const std::string& name, std::uint32_t value) {
  Write(name, RegValue{RegType::Dword, DwordBytes(value)});
}

void RegKey::WriteBinary(const std::string& name, const std::string& bytes) {
  Write(name, RegValue{RegType::Binary, bytes});
}

bool RegKey::DeleteValue(const std::string& name) {
  bool existed = false;
  values_ = TakeValues(UpdateHive(hive_, "Failed to delete value '" + name + "'",
                                  [&](HiveData& d) {
                                    const auto key = d.find(FoldPath(path_));
                                    if (key == d.end()) return false;
                                    Values& values = key->second.values;
                                    const auto it = FindValue(values, name);
                                    existed = it != values.end();
                                    if (existed) values.erase(it);
                                    return existed;
                                  }),
                       path_);
  return existed;
}

}  // namespace nimbalo
