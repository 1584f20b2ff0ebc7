// One weather refresh without a window, for the command-line modes.
#pragma once

#include <string>
#include <vector>

namespace nimbalo {

struct RefreshResult {
  bool Ok = false;
  // The status text a window would show; on failure, what went wrong.
  std::string Status;
  // The plain-text signature when signatures were generated.
  std::vector<std::string> Signature;
};

// Downloads the chosen station's report, stores and parses it, and with `makeSignatures`
// generates every signature. Messages that a window would show as boxes go to standard
// error and make the refresh fail.
RefreshResult RunHeadlessRefresh(bool makeSignatures);

}  // namespace nimbalo
