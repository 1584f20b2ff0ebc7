// Reading the templates folder: which files are templates, and a file as a list of lines.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace nimbalo {

// The text split into lines; a line ends at CR, at LF or at CR LF, and a break at the very
// end does not start another line ("" has no lines, "\r\n" one empty line).
std::vector<std::string> SplitLines(std::string_view text);
// The lines of a file; none when it cannot be read.
std::vector<std::string> ReadLines(const std::string& path);
// The same text with every line followed by CR LF, the last one too: what joining
// SplitLines(text) with CR LF gives, in one pass.
std::string ToCrLfLines(std::string_view text);
// The whole file; none when it cannot be read.
std::optional<std::string> ReadFileBytes(const std::string& path);

// Names of the ordinary files in `folder` (symbolic links to them included; folders, hidden
// files and anything else left out), in case-insensitive order.
std::vector<std::string> ListTemplateFiles(const std::string& folder);

// True when the folder exists and holds no entry at all.
bool FolderIsEmpty(const std::string& path);

}  // namespace nimbalo
