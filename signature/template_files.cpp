#include "signature/template_files.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>

#include "signature/template_converter.h"

namespace nimbalo {

namespace {

struct DirCloser {
  void operator()(DIR* dir) const { ::closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

std::string WithSlash(const std::string& folder) {
  return !folder.empty() && folder.back() == '/' ? folder : folder + "/";
}

}  // namespace

std::string ToCrLfLines(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32 + 2);
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      out.append(text.substr(start));
      break;
    }
    out.append(text.substr(start, end - start));
    out += "\r\n";
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  if (!out.empty() && out.back() != '\n') out += "\r\n";
  return out;
}

std::vector<std::string> ListTemplateFiles(const std::string& folder) {
  std::vector<std::string> names;
  const DirHandle dir(::opendir(folder.c_str()));
  if (!dir) return names;
  const std::string prefix = WithSlash(folder);
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name.empty() || name[0] == '.') continue;
    struct stat st {};
    if (::stat((prefix + name).c_str(), &st) == 0 && S_ISREG(st.st_mode)) names.push_back(name);
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const std::string ua = UpperCase1252(a);
    const std::string ub = UpperCase1252(b);
    return ua != ub ? ua < ub : a < b;
  });
  return names;
}

bool FolderIsEmpty(const std::string& path) {
  const DirHandle dir(::opendir(path.c_str()));
  if (!dir) return false;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") return false;
  }
  return true;
}

}  // namespace nimbalo
