// The start-with-the-desktop entry: the "Run" value kept in the registry store and, in step
// with it, the XDG autostart entry that really starts the program with the session.
#pragma once

#include "config/options.h"

namespace nimbalo {

inline constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class DesktopRunEntry : public RunEntry {
 public:
  // Neither reports anything: a failure leaves the entry as it was.
  void AddRunEntry(const std::string& name, const std::string& command) override;
  void RemoveRunEntry(const std::string& name) override;
};

}  // namespace nimbalo
