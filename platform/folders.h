// Where things live on a Linux desktop (XDG base directories).
#pragma once

#include <string>

namespace nimbalo {

// $HOME, or the password database's home folder when HOME is unset.
std::string HomeFolder();
// The application-data folder: $XDG_DATA_HOME, default ~/.local/share (no trailing "/").
std::string AppDataFolder();
// $XDG_CONFIG_HOME, default ~/.config (no trailing "/").
std::string ConfigHomeFolder();
// The install prefix's share folder when the running executable is installed under the
// prefix, else empty (a build tree has no earlier installation to look at).
std::string ProgramFilesFolder();
// Folder of the running executable, with a trailing "/".
std::string ExecutableFolder();

// The private per-user temporary folder: $XDG_RUNTIME_DIR/nimbalo, else $TMPDIR (or /tmp)
// + "/nimbalo-<uid>"; created with mode 0700. A candidate that is a symbolic link, is
// owned by another user or is open to others is refused (on Linux /tmp is shared) and the
// next candidate is tried. Returned without a trailing "/"; empty when none is usable.
std::string PrivateTempFolder();

bool FolderExists(const std::string& path);
bool FileExists(const std::string& path);
// Creates one folder level; false when it could not be created and does not exist.
bool CreateFolder(const std::string& path);
// Creates the folder and any missing parents; false when it does not exist afterwards.
bool CreateFolders(const std::string& path);

}  // namespace nimbalo
