#include "platform/folders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace nimbalo {

namespace {
std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? std::string(value) : std::string();
}

std::string StripSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/')
    path.pop_back();
  return path;
}

// An absolute XDG variable, or HOME + fallback.
std::string XdgFolder(const char* variable, const char* fallback) {
  const std::string value = Env(variable);
  if (!value.empty() && value.front() == '/') return StripSlash(value);
  return HomeFolder() + fallback;
}

// True when `path` is a real folder of ours that nobody else can use.
bool IsPrivateFolder(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0) return false;
  if (S_ISLNK(st.st_mode) || !S_ISDIR(st.st_mode)) return false;
  if (st.st_uid != ::getuid()) return false;
  return (st.st_mode & 0077) == 0;
}

// Creates `path` with mode 0700 when missing and checks it.
bool MakePrivateFolder(const std::string& path) {
  if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
  return IsPrivateFolder(path);
}
}  // namespace

std::string HomeFolder() {
  std::string home = Env("HOME");
  if (home.empty()) {
    if (const passwd* pw = ::getpwuid(::getuid()); pw != nullptr && pw->pw_dir != nullptr) {
      home = pw->pw_dir;
    }
  }
  return StripSlash(home);
}

std::string AppDataFolder() {
  return XdgFolder("XDG_DATA_HOME", "/.local/share");
}

std::string ConfigHomeFolder() {
  return XdgFolder("XDG_CONFIG_HOME", "/.config");
}

std::string ExecutableFolder() {
  char buffer[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return "./";
  std::string path(buffer, static_cast<std::size_t>(n));
  return path.substr(0, path.rfind('/') + 1);
}

std::string ProgramFilesFolder() {
  const std::string prefix = StripSlash(NIMBALO_INSTALL_PREFIX);
  const std::string installed = prefix + "/" + NIMBALO_INSTALL_LIBDIR + "/";
  if (ExecutableFolder() != installed) return {};
  return prefix + "/" + NIMBALO_INSTALL_DATADIR;
}

std::string PrivateTempFolder() {
  const std::string runtime = Env("XDG_RUNTIME_DIR");
  if (!runtime.empty() && runtime.front() == '/' && IsPrivateFolder(StripSlash(runtime))) {
    const std::string candidate = StripSlash(runtime) + "/nimbalo";
    if (MakePrivateFolder(candidate)) return candidate;
  }
  const std::string user = "/nimbalo-" + std::to_string(::getuid());
  std::string tmp = Env("TMPDIR");
  if (!tmp.empty() && tmp.front() == '/') {
    const std::string candidate = StripSlash(tmp) + user;
    if (MakePrivateFolder(candidate)) return candidate;
  }
  const std::string candidate = "/tmp" + user;
  if (MakePrivateFolder(candidate)) return candidate;
  return {};
}

bool FolderExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool CreateFolder(const std::string& path) {
  return ::mkdir(path.c_str(), 0755) == 0 || FolderExists(path);
}

bool CreateFolders(const std::string& path) {
  for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    CreateFolder(path.substr(0, slash));
  }
  return CreateFolder(path);
}

}  // namespace nimbalo
