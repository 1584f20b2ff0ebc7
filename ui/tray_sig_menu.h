// What the tray's signature menu shows, read from the signature list
// (HKEY_CURRENT_USER\Software\Corvane\Nimbalo\Sigs: template file name -> display name).
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace nimbalo {

struct TraySigEntries {
  // Sorted without regard to case in the user's locale; names that differ only in case
  // appear once, as first read.
  std::vector<std::string> Names;
  // The display name of the template named by Options.Sig_File; empty when it has none.
  std::string Current;
};

// Creates the Sigs key when missing; no entries when it cannot be opened.
TraySigEntries ReadTraySigEntries();

// The template whose display name is exactly `displayName`, the last one read when several
// share it; nothing when none does or the list cannot be opened.
std::optional<std::string> SigFileForDisplayName(const std::string& displayName);

}  // namespace nimbalo
