#include "ui/run_entry.h"

#include "platform/autostart.h"
#include "platform/registry.h"

namespace nimbalo {

void DesktopRunEntry::AddRunEntry(const std::string& name, const std::string& command) {
  try {
    if (auto key = RegKey::Open(Hive::CurrentUser, kRunKey, /*create=*/true)) {
      key->WriteString(name, command);
    }
  } catch (const RegistryError&) {
  }
  WriteAutostartEntry(name, command);
}

void DesktopRunEntry::RemoveRunEntry(const std::string& name) {
  try {
    if (auto key = RegKey::Open(Hive::CurrentUser, kRunKey, /*create=*/false)) {
      key->DeleteValue(name);
    }
  } catch (const RegistryError&) {
  }
  RemoveAutostartEntry(name);
}

}  // namespace nimbalo
