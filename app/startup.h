// The start-up steps that come before any window: the three folders and the first-run
// installation of the program's data into the user's data folder.
#pragma once

#include <functional>
#include <string>

namespace nimbalo {

// Same contract as RunAndWait (platform/process.h); replaceable for tests.
using ProgramRunner = std::function<int(const std::string& verb, const std::string& file,
                                        const std::string& parameters, bool wait, int showMode,
                                        const std::string& folder)>;

// Sets ProgramFolder, DataFolder (creating it, one level) and TempFolder.
void FixFolders();

// When the templates folder does not exist and both "tplpack" and "copyhelper" sit in
// ProgramFolder: copies an earlier installation's templates (only when
// `programFilesFolder` + "/Nimbalo/templates/" exists), copies tplpack into the data folder
// and runs it there. A templates folder that exists, even empty, installs nothing.
void InstallTemplatesOnFirstUse(const std::string& programFilesFolder, const ProgramRunner& run);

// FixFolders, InstallTemplatesOnFirstUse with the real programs, LoadSettings.
void PrepareProgram();

}  // namespace nimbalo
