// The three folders fixed at start-up and read by the whole program.
#pragma once

#include <string>

namespace nimbalo {

// Folder of the running executable, with a trailing "/".
extern std::string ProgramFolder;
// The user's data folder, $XDG_DATA_HOME/Nimbalo/, with a trailing "/".
extern std::string DataFolder;
// The private per-user temporary folder, without a trailing "/".
extern std::string TempFolder;

// DataFolder + "templates/" and DataFolder + "templates/images/".
std::string TemplatesFolder();
std::string ImagesFolder();

}  // namespace nimbalo
