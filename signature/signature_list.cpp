#include "signature/signature_list.h"

#include <algorithm>

#include "app/myutil.h"
#include "app/paths.h"
#include "config/options.h"
#include "platform/registry.h"
#include "signature/template_files.h"

namespace nimbalo {

namespace {

const char* BuiltInName(const std::string& fileName) {
  struct BuiltIn {
    const char* file;
    const char* name;
  };
  static constexpr BuiltIn kBuiltIns[] = {{"nb_html.htm", "Default Signature"},
                                          {"nb_rtf.rtf", "Rich Text Format"},
                                          {"nb_text.txt", "Text Only"},
                                          {"eyes-animated.htm", "Eyes animated"},
                                          {"nb_centered_html.htm", "Centered Signature"}};
  for (const BuiltIn& b : kBuiltIns) {
    if (fileName == b.file) return b.name;
  }
  return nullptr;
}

// Blanks and control characters off both ends.
std::string Trim(const std::string& text) {
  const auto isSpace = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && isSpace(text[begin]))
    ++begin;
  while (end > begin && isSpace(text[end - 1]))
    --end;
  return text.substr(begin, end - begin);
}

bool HasLines(const std::string& fileName) {
  const auto bytes = ReadFileBytes(TemplatesFolder() + fileName);
  return bytes && !bytes->empty();
}

}  // namespace

std::string TemplateName(const std::string& fileName) {
  const auto bytes = ReadFileBytes(TemplatesFolder() + fileName);
  if (!bytes) return fileName;
  const auto lines = SplitLines(*bytes);
  if (lines.size() <= 4 || bytes->find("<!-- NAME:") == std::string::npos ||
      bytes->find("-->") == std::string::npos)
    return fileName;
  return Trim(ReplaceAll(ReplaceAll(lines[3], "<!-- NAME:", ""), "-->", ""));
}

void RefreshSignatureList() {
  const auto files = ListTemplateFiles(TemplatesFolder());
  try {
    auto key = RegKey::Open(Hive::CurrentUser, kSigsKey, /*create=*/true);
    if (!key) return;
    const auto listed = key->ValueNames();

    if (listed.empty()) {
      for (const std::string& f : files) {
        if (const char* name = BuiltInName(f))
          key->WriteString(f, name);
        else if (HasLines(f))
          key->WriteString(f, TemplateName(f));
      }
    }
    for (const std::string& name : listed) {
      if (std::find(files.begin(), files.end(), name) == files.end()) key->DeleteValue(name);
    }
    for (const std::string& f : files) {
      if (!key->ValueExists(f) && HasLines(f)) key->WriteString(f, TemplateName(f));
    }
  } catch (const RegistryError&) {
    // A store that cannot be written leaves the list as it is, like a key that cannot open.
  }
}

}  // namespace nimbalo
