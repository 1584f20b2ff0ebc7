// A bench's own HOME and XDG folders, so that it never reads or writes the user's files.
#pragma once

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace nimbalo::bench {

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
    ::setenv("XDG_CACHE_HOME", (root_ + "/.cache").c_str(), 1);
    ::unsetenv("XDG_RUNTIME_DIR");
  }
  ~PrivateHome() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  PrivateHome(const PrivateHome&) = delete;
  PrivateHome& operator=(const PrivateHome&) = delete;

  const std::string& Root() const { return root_; }

 private:
  std::string root_;
};

}  // namespace nimbalo::bench
