// A private HOME with its own XDG folders for one test, removed afterwards.
#pragma once

#include <string>

namespace nimbalo::test {

class TestHome {
 public:
  TestHome();
  ~TestHome();
  TestHome(const TestHome&) = delete;
  TestHome& operator=(const TestHome&) = delete;

  const std::string& Root() const { return root_; }  // no trailing separator
  std::string ConfigFolder() const { return root_ + "/.config"; }
  std::string DataHome() const { return root_ + "/.local/share"; }
  std::string RuntimeFolder() const { return root_ + "/run"; }

 private:
  std::string root_;
};

// Small file helpers for fixtures.
void WriteFile(const std::string& path, const std::string& bytes);
std::string ReadFile(const std::string& path);
bool FileExists(const std::string& path);
void MakeFolders(const std::string& path);

}  // namespace nimbalo::test
