// Starting the program with the desktop session: an XDG autostart entry,
// $XDG_CONFIG_HOME/autostart/<name>.desktop, that runs the program hidden in the tray.
#pragma once

#include <string>

namespace nimbalo {

// The entry's file: the autostart folder + `name` in lower case + ".desktop".
std::string AutostartEntryPath(const std::string& name);

// Writes (or replaces) the entry titled `name` that runs `program` with "/minimized",
// creating the autostart folder when needed. False when it could not be written.
bool WriteAutostartEntry(const std::string& name, const std::string& program);
// False when there was no entry or it could not be removed.
bool RemoveAutostartEntry(const std::string& name);

// One argument of an Exec line, quoted and escaped as desktop entries require (before the
// escaping of the value itself).
std::string DesktopExecArgument(const std::string& argument);

}  // namespace nimbalo
