// Text files as the program reads them: bytes unchanged, lines ending at CR, LF or CR LF.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nimbalo {

// The text split into lines; a line ends at CR, at LF or at CR LF, and a break at the very
// end does not start another line ("" has no lines, "\r\n" one empty line).
std::vector<std::string> SplitLines(std::string_view text);
// The whole file; none when it cannot be read (errno then tells why).
std::optional<std::string> ReadFileBytes(const std::string& path);
// The lines of a file; none when it cannot be read.
std::vector<std::string> ReadLines(const std::string& path);

}  // namespace nimbalo
