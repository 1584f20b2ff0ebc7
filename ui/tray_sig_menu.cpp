#include "ui/tray_sig_menu.h"

#include <QCollator>
#include <algorithm>

#include "config/options.h"
#include "platform/registry.h"
#include "ui/qt_text.h"

namespace nimbalo {

namespace {
std::optional<RegKey> OpenSigs() {
  try {
    return RegKey::Open(Hive::CurrentUser, kSigsKey, /*create=*/true);
  } catch (const RegistryError&) {
    return std::nullopt;
  }
}

std::string Text(const RegKey& key, const std::string& name) {
  const auto value = key.Read(name);
  return value ? value->Data : std::string();
}
}  // namespace

TraySigEntries ReadTraySigEntries() {
  TraySigEntries entries;
  const auto key = OpenSigs();
  if (!key) return entries;

  QCollator collator;
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  std::vector<QString> sorted;
  for (const std::string& name : key->ValueNames()) {
    const std::string display = Text(*key, name);
    if (name == Options.Sig_File) entries.Current = display;
    const QString text = FromCp1252(display);
    const auto at = std::lower_bound(
        sorted.begin(), sorted.end(), text,
        [&](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
    if (at != sorted.end() && collator.compare(*at, text) == 0) continue;
    sorted.insert(at, text);
  }
  for (const QString& text : sorted)
    entries.Names.push_back(ToCp1252(text));
  return entries;
}

std::optional<std::string> SigFileForDisplayName(const std::string& displayName) {
  const auto key = OpenSigs();
  if (!key) return std::nullopt;
  std::optional<std::string> sigFile;
  for (const std::string& name : key->ValueNames()) {
    if (Text(*key, name) == displayName) sigFile = name;
  }
  return sigFile;
}

}  // namespace nimbalo
