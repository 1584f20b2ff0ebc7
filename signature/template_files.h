// Reading the templates folder: which files are templates, and a file as a list of lines.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text_file.h"

namespace nimbalo {

// The same text with every line followed by CR LF, the last one too: what joining
// SplitLines(text) with CR LF gives, in one pass.
std::string ToCrLfLines(std::string_view text);

// Names of the ordinary files in `folder` (symbolic links to them included; folders, hidden
// files and anything else left out), in case-insensitive order.
std::vector<std::string> ListTemplateFiles(const std::string& folder);

// True when the folder exists and holds no entry at all.
bool FolderIsEmpty(const std::string& path);

}  // namespace nimbalo
