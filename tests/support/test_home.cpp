#include "tests/support/test_home.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace nimbalo::test {

namespace fs = std::filesystem;

TestHome::TestHome() {
  std::string pattern = (fs::temp_directory_path() / "nimbalo-test-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  root_ = pattern;
  fs::create_directories(ConfigFolder());
  fs::create_directories(DataHome());
  fs::create_directories(RuntimeFolder());
  ::chmod(RuntimeFolder().c_str(), 0700);
  ::setenv("HOME", root_.c_str(), 1);
  ::setenv("XDG_CONFIG_HOME", ConfigFolder().c_str(), 1);
  ::setenv("XDG_DATA_HOME", DataHome().c_str(), 1);
  ::setenv("XDG_CACHE_HOME", (root_ + "/.cache").c_str(), 1);
  ::setenv("XDG_RUNTIME_DIR", RuntimeFolder().c_str(), 1);
}

TestHome::~TestHome() {
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

void WriteFile(const std::string& path, const std::string& bytes) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool FileExists(const std::string& path) {
  return fs::exists(path);
}

void MakeFolders(const std::string& path) {
  fs::create_directories(path);
}

}  // namespace nimbalo::test
