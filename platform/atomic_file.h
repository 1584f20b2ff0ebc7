// Replacing a file so that readers see either the old or the new content, never a part.
#pragma once

#include <string>
#include <string_view>

namespace nimbalo {

// Writes `bytes` to a temporary file in the target's folder and renames it over `path`. When
// `path` is a symbolic link, the file it points to is replaced and the link kept. A new file
// gets the usual permissions (0666 less the umask), a replaced one keeps its own. On any
// failure the temporary file is removed, the previous file is left as it was, and the
// result is false.
//
// The data is not forced to disk before the rename (that costs milliseconds per file): this
// is for files the program writes again anyway, such as the signatures of every run.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace nimbalo
