#include "platform/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <random>

namespace nimbalo {

namespace {

// The file a write to `path` should replace: the final target of a symbolic link, so that
// the link survives the rename.
std::string ReplacedFile(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) == nullptr) return path;
  return resolved;
}

// Creates a fresh hidden file beside `target`; -1 when none could be created.
int CreateTemporary(const std::string& target, std::string& name) {
  const auto slash = target.rfind('/');
  const std::string folder =
      slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
  static std::minstd_rand random{std::random_device{}()};
  static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = folder + "." + base + ".";
    for (int i = 0; i < 6; ++i)
      name += kLetters[random() % (sizeof kLetters - 1)];
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view bytes) {
  const std::string target = ReplacedFile(path);
  std::string temporary;
  const int fd = CreateTemporary(target, temporary);
  if (fd < 0) return false;

  bool ok = WriteAll(fd, bytes);
  struct stat old {};
  if (ok && ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode))
    ok = ::fchmod(fd, old.st_mode & 07777) == 0;
  ok = ::close(fd) == 0 && ok;
  ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
  if (!ok) ::unlink(temporary.c_str());
  return ok;
}

}  // namespace nimbalo
