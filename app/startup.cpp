#include "app/startup.h"

#include "app/myutil.h"
#include "app/paths.h"
#include "config/options.h"
#include "platform/folders.h"
#include "platform/process.h"

namespace nimbalo {

void FixFolders() {
  ProgramFolder = ExecutableFolder();
  DataFolder = AppDataFolder() + "/Nimbalo/";
  // A fresh account may not have the XDG data folder itself yet, so parents are created too.
  if (!FolderExists(DataFolder)) CreateFolders(StripTrailing(DataFolder, '/'));
  TempFolder = PrivateTempFolder();
  if (TempFolder.empty()) TempFolder = StripTrailing(ProgramFolder, '/');
}

void InstallTemplatesOnFirstUse(const std::string& programFilesFolder, const ProgramRunner& run) {
  const std::string copyhelper = ProgramFolder + "copyhelper";
  const std::string tplpack = ProgramFolder + "tplpack";
  if (FolderExists(TemplatesFolder()) || !FileExists(tplpack) || !FileExists(copyhelper)) return;

  const std::string q = "\"";
  // Only trailing separators go: on Linux the leading "/" is part of the absolute path.
  const std::string data = StripTrailing(DataFolder, '/');
  if (!programFilesFolder.empty() && FolderExists(programFilesFolder + "/Nimbalo/templates/")) {
    run("open", copyhelper,
        "-cpf " + q + programFilesFolder + "/Nimbalo/templates" + q + " " + q + data + q + " ",
        true, SW_SHOW, DataFolder);
  }
  run("open", copyhelper, "-cp " + q + tplpack + q + " " + q + DataFolder + "tplpack" + q, true,
      SW_SHOW, DataFolder);
  run("open", DataFolder + "tplpack", "", true, SW_SHOW, DataFolder);
}

void PrepareProgram() {
  FixFolders();
  InstallTemplatesOnFirstUse(ProgramFilesFolder(), &RunAndWait);
  LoadSettings();
}

}  // namespace nimbalo
