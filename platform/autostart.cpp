#include "platform/autostart.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "platform/atomic_file.h"
#include "platform/folders.h"

namespace nimbalo {

namespace {
std::string AutostartFolder() {
  return ConfigHomeFolder() + "/autostart";
}

// Escapes of a desktop entry's string value.
std::string StringValue(const std::string& text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '\\':
        escaped += "\\\\";
        break;
      case '\n':
        escaped += "\\n";
        break;
      case '\t':
        escaped += "\\t";
        break;
      case '\r':
        escaped += "\\r";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::string Lower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}
}  // namespace

std::string AutostartEntryPath(const std::string& name) {
  return AutostartFolder() + "/" + Lower(name) + ".desktop";
}

std::string DesktopExecArgument(const std::string& argument) {
  static const std::string reserved = " \t\n\"'\\><~|&;$*?#()`";
  const bool quote = argument.empty() || argument.find_first_of(reserved) != std::string::npos;
  std::string result;
  for (const char c : argument) {
    if (quote && (c == '"' || c == '`' || c == '$' || c == '\\')) result += '\\';
    if (c == '%') result += '%';  // "%" starts a field code
    result += c;
  }
  return quote ? "\"" + result + "\"" : result;
}

bool WriteAutostartEntry(const std::string& name, const std::string& program) {
  std::error_code error;
  std::filesystem::create_directories(AutostartFolder(), error);
  if (error) return false;
  const std::string entry =
      "[Desktop Entry]\n"
      "Type=Application\n"
      "Name=" +
      StringValue(name) +
      "\n"
      "Comment=Weather in your e-mail signature\n"
      "Exec=" +
      StringValue(DesktopExecArgument(program) + " /minimized") +
      "\n"
      "Icon=nimbalo\n"
      "Terminal=false\n"
      "X-GNOME-Autostart-enabled=true\n";
  return WriteFileAtomically(AutostartEntryPath(name), entry);
}

bool RemoveAutostartEntry(const std::string& name) {
  return std::remove(AutostartEntryPath(name).c_str()) == 0;
}

}  // namespace nimbalo
